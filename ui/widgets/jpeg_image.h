// Pictures of objects: JPEG files decoded with libjpeg into RGB pixels or,
// for 8-bit displays, into indices of a 64-colour map; and the pixels packed
// for an X image of the display's depth. No X here.
#pragma once

#include <cstddef>
#include <cstdint>

// Largest picture taken: each side and the whole area.
constexpr int kPictureMaxSide = 32767;
constexpr long long kPictureMaxPixels = 8192LL * 8192LL;
constexpr int kPictureColours = 64;        // colours of a picture on an 8-bit display
constexpr int kPictureMessageSize = 256;

struct JpegPicture {
    int width, height;
    int indexed;               // 1: one colour index a pixel; 0: R, G, B bytes
    int colourCount;           // indexed: entries of colourMap
    uint8_t colourMap[256][3];
    uint8_t *pixels;           // malloc'd, width x height x (indexed ? 1 : 3)
};

// What went wrong, for the message box.
enum JpegResult {
    kJpegOk = 0,
    kJpegWarning = 1,   // decoded, but libjpeg complained (a truncated file): shown as far as read
    kJpegCannotOpen = 2,
    kJpegError = 3,     // libjpeg gave up (not a JPEG, corrupted)
    kJpegTooLarge = 4,
    kJpegNoMemory = 5,
};

/*
 * jpegDecode: a whole JPEG file.
 * Given:    path, quantize (1: two-pass quantizing to kPictureColours colours)
 * Returned: a JpegResult; on kJpegOk and kJpegWarning out holds the picture
 *           (free it with jpegPictureFree), else out is empty. message gets
 *           libjpeg's text of an error or warning.
 * Notes:    The size is checked before anything is allocated for the pixels.
 */
int jpegDecode(const char *path, int quantize, JpegPicture *out, char *message, int messageSize);
void jpegPictureFree(JpegPicture *picture);

// Bytes of one packed pixel at a display depth: 1 (8), 2 (16), 4 (24, 32);
// 0 for any other depth.
int jpegBytesPerPixel(int depth);

/*
 * jpegPackPixels: the picture's pixels as an X image of depth wants them.
 * Given:    cells  for depth 8: the pixel of each colour index (colourCount)
 * Returned: out  width x height x jpegBytesPerPixel(depth) bytes in the
 *                host's byte order: 8 bits the cell, 16 bits 5-6-5 RGB,
 *                24/32 bits R << 16 | G << 8 | B as uint32_t
 *           1, or 0 when depth is none of those or the picture does not
 *           fit the depth (RGB pixels at depth 8, indices elsewhere)
 */
int jpegPackPixels(const JpegPicture *picture, int depth, const unsigned long *cells, uint8_t *out);
