#include "ui/widgets/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "model/file_input.h"

namespace {

// The error manager: libjpeg's own, with the fatal-error hook jumping back
// to jpegDecode. Plain C data only: nothing with a destructor lives across
// the setjmp.
struct JpegErrors {
    jpeg_error_mgr pub;
    jmp_buf back;
    char *message;
    int messageSize;
    int warned;
};

void jpegErrorExit(j_common_ptr info)
{
    JpegErrors *e = reinterpret_cast<JpegErrors *>(info->err);
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    std::snprintf(e->message, static_cast<size_t>(e->messageSize), "%s", text);
    std::longjmp(e->back, 1);
}

void jpegOutputMessage(j_common_ptr info)
{
    JpegErrors *e = reinterpret_cast<JpegErrors *>(info->err);
    if (e->warned)
        return; // the first complaint is the one shown
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    std::snprintf(e->message, static_cast<size_t>(e->messageSize), "%s", text);
    e->warned = 1;
}

// Warnings (level -1) are what a truncated or slightly damaged file gives.
void jpegEmitMessage(j_common_ptr info, int level)
{
    if (level < 0)
        jpegOutputMessage(info);
}

} // namespace

void jpegPictureFree(JpegPicture *picture)
{
    std::free(picture->pixels);
    picture->pixels = nullptr;
    picture->width = picture->height = 0;
}

int jpegDecode(const char *path, int quantize, JpegPicture *out, char *message, int messageSize)
{
    std::memset(out, 0, sizeof *out);
    if (messageSize > 0)
        message[0] = '\0';
    FILE *file = openRegularFile(path);
    if (!file)
        return kJpegCannotOpen;

    // Everything the jump back must release is declared before the setjmp and
    // only assigned after it, through volatile where it changes.
    jpeg_decompress_struct info;
    JpegErrors errors;
    uint8_t *volatile pixels = nullptr;
    volatile int result = kJpegOk;
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jpegErrorExit;
    errors.pub.output_message = jpegOutputMessage;
    errors.pub.emit_message = jpegEmitMessage;
    errors.message = message;
    errors.messageSize = messageSize;
    errors.warned = 0;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        std::free(pixels);
        std::memset(out, 0, sizeof *out);
        return result == kJpegTooLarge ? kJpegTooLarge : kJpegError;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.image_width > static_cast<JDIMENSION>(kPictureMaxSide) ||
        info.image_height > static_cast<JDIMENSION>(kPictureMaxSide) ||
        static_cast<long long>(info.image_width) * info.image_height > kPictureMaxPixels) {
        out->width = static_cast<int>(info.image_width);
        out->height = static_cast<int>(info.image_height);
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        const int w = out->width, h = out->height;
        std::memset(out, 0, sizeof *out);
        out->width = w;
        out->height = h;
        return kJpegTooLarge;
    }
    info.out_color_space = JCS_RGB;
    if (quantize) {
        info.quantize_colors = TRUE;
        info.two_pass_quantize = TRUE;
        info.dither_mode = JDITHER_FS;
        info.desired_number_of_colors = kPictureColours;
    }
    jpeg_start_decompress(&info);
    const size_t width = info.output_width, height = info.output_height;
    const size_t perPixel = quantize ? 1 : static_cast<size_t>(info.output_components);
    if (!quantize && perPixel != 3)
        std::longjmp(errors.back, 1); // RGB was asked for
    pixels = static_cast<uint8_t *>(std::malloc(width * height * perPixel + 1));
    if (!pixels) {
        jpeg_destroy_decompress(&info);
        std::fclose(file);
        return kJpegNoMemory;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = pixels + static_cast<size_t>(info.output_scanline) * width * perPixel;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;
    }
    out->width = static_cast<int>(width);
    out->height = static_cast<int>(height);
    out->indexed = quantize ? 1 : 0;
    if (quantize) {
        const int n = info.actual_number_of_colors;
        out->colourCount = n < 0 ? 0 : n > 256 ? 256 : n;
        for (int i = 0; i < out->colourCount; ++i)
            for (int c = 0; c < 3; ++c)
                out->colourMap[i][c] = info.out_color_components >= 3 ? info.colormap[c][i] : info.colormap[0][i];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    out->pixels = pixels;
    return errors.warned ? kJpegWarning : kJpegOk;
}

int jpegBytesPerPixel(int depth)
{
    switch (depth) {
    case 8:
        return 1;
    case 16:
        return 2;
    case 24:
    case 32:
        return 4;
    default:
        return 0;
    }
}

int jpegPackPixels(const JpegPicture *picture, int depth, const unsigned long *cells, uint8_t *out)
{
    const int bytes = jpegBytesPerPixel(depth);
    if (!bytes || !picture->pixels || (depth == 8) != (picture->indexed != 0))
        return 0;
    const size_t count = static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height);
    const uint8_t *p = picture->pixels;
    if (depth == 8) {
        for (size_t i = 0; i < count; ++i)
            out[i] = static_cast<uint8_t>(p[i] < picture->colourCount ? cells[p[i]] : 0);
    } else if (depth == 16) {
        auto *o = reinterpret_cast<uint16_t *>(out);
        for (size_t i = 0; i < count; ++i, p += 3)
            o[i] = static_cast<uint16_t>((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3);
    } else {
        auto *o = reinterpret_cast<uint32_t *>(out);
        for (size_t i = 0; i < count; ++i, p += 3)
            o[i] = static_cast<uint32_t>(p[0]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
    return 1;
}
