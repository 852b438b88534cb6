// Decoding the shipped object pictures and damaged files with libjpeg, and
// packing pixels for each display depth.
#include "ui/widgets/jpeg_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <dirent.h>
#include <set>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace {

std::vector<std::string> shippedPictures()
{
    std::vector<std::string> files;
    const std::string dir = std::string(TAVIK_SOURCE_DIR) + "/data/image";
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d)) {
            const std::string name = e->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".jpg") == 0)
                files.push_back(dir + "/" + name);
        }
        closedir(d);
    }
    return files;
}

TEST(JpegImage, EveryShippedPictureDecodesAndPacksAtEachDepth)
{
    const std::vector<std::string> files = shippedPictures();
    ASSERT_FALSE(files.empty());
    unsigned long cells[kPictureColours];
    for (int i = 0; i < kPictureColours; ++i)
        cells[i] = 100 + 2 * static_cast<unsigned long>(i); // cells need not be the indices
    const std::set<unsigned long> cellSet(cells, cells + kPictureColours);
    for (const std::string &file : files) {
        char message[kPictureMessageSize];
        JpegPicture rgb;
        ASSERT_EQ(jpegDecode(file.c_str(), 0, &rgb, message, sizeof message), kJpegOk) << file << message;
        ASSERT_GT(rgb.width, 0);
        const size_t n = static_cast<size_t>(rgb.width) * rgb.height;
        for (int depth : {16, 24, 32}) {
            std::vector<uint8_t> out(n * jpegBytesPerPixel(depth));
            ASSERT_EQ(jpegPackPixels(&rgb, depth, nullptr, out.data()), 1) << file << depth;
        }
        EXPECT_EQ(jpegPackPixels(&rgb, 8, cells, nullptr), 0) << "RGB pixels are not for depth 8";
        jpegPictureFree(&rgb);

        JpegPicture indexed;
        ASSERT_EQ(jpegDecode(file.c_str(), 1, &indexed, message, sizeof message), kJpegOk) << file;
        EXPECT_LE(indexed.colourCount, kPictureColours);
        EXPECT_GT(indexed.colourCount, 1);
        std::vector<uint8_t> out(n);
        ASSERT_EQ(jpegPackPixels(&indexed, 8, cells, out.data()), 1);
        for (uint8_t p : out)
            ASSERT_TRUE(cellSet.count(p)) << file << ": pixel " << int(p) << " is no colour cell";
        jpegPictureFree(&indexed);
    }
}

TEST(JpegImage, PixelsPackAsEachDepthWantsThem)
{
    uint8_t rgb[] = {0xff, 0x80, 0x08, 0x00, 0x00, 0xff};
    JpegPicture p{};
    p.width = 2;
    p.height = 1;
    p.pixels = rgb;
    uint16_t out16[2];
    ASSERT_EQ(jpegPackPixels(&p, 16, nullptr, reinterpret_cast<uint8_t *>(out16)), 1);
    EXPECT_EQ(out16[0], 0xfc01); // 11111 100000 00001
    EXPECT_EQ(out16[1], 0x001f);
    uint32_t out32[2];
    ASSERT_EQ(jpegPackPixels(&p, 24, nullptr, reinterpret_cast<uint8_t *>(out32)), 1);
    EXPECT_EQ(out32[0], 0xff8008u);
    EXPECT_EQ(out32[1], 0x0000ffu);
    EXPECT_EQ(jpegBytesPerPixel(15), 0);
    EXPECT_EQ(jpegPackPixels(&p, 12, nullptr, reinterpret_cast<uint8_t *>(out32)), 0);
}

std::string shipped(const char *name) { return readFile(std::string(TAVIK_SOURCE_DIR) + "/data/image/" + name); }

TEST(JpegImage, DamagedFilesGiveAMessageAndNoPictureOrWhatWasRead)
{
    TempDir dir;
    const std::string whole = shipped("jupiter.jpg");
    ASSERT_GT(whole.size(), 1000u);
    std::string corrupted = whole;
    for (size_t i = 300; i < 340; ++i)
        corrupted[i] = static_cast<char>(0xff);
    struct Case {
        const char *name;
        std::string bytes;
        int result;
    } cases[] = {
        {"truncated.jpg", whole.substr(0, whole.size() / 2), kJpegWarning},
        {"text.jpg", "this is not a picture\n", kJpegError},
        {"empty.jpg", "", kJpegError},
    };
    for (const Case &c : cases) {
        const std::string path = dir.write(c.name, c.bytes);
        for (int quantize : {0, 1}) {
            JpegPicture p;
            char message[kPictureMessageSize];
            EXPECT_EQ(jpegDecode(path.c_str(), quantize, &p, message, sizeof message), c.result) << c.name;
            EXPECT_NE(message[0], '\0') << c.name << ": libjpeg's text for the box";
            EXPECT_EQ(p.pixels != nullptr, c.result == kJpegWarning) << c.name;
            jpegPictureFree(&p);
        }
    }
    // Damage inside the data: libjpeg warns or gives up, never crashes.
    const std::string path = dir.write("corrupted.jpg", corrupted);
    JpegPicture p;
    char message[kPictureMessageSize];
    const int r = jpegDecode(path.c_str(), 1, &p, message, sizeof message);
    EXPECT_TRUE(r == kJpegWarning || r == kJpegError) << r;
    EXPECT_NE(message[0], '\0');
    jpegPictureFree(&p);
    EXPECT_EQ(jpegDecode(dir.file("missing.jpg").c_str(), 0, &p, message, sizeof message), kJpegCannotOpen);
}

TEST(JpegImage, AHugeHeaderIsRefusedBeforeAllocating)
{
    std::string bytes = shipped("jupiter.jpg");
    size_t sof = 0;
    for (size_t i = 0; i + 9 < bytes.size(); ++i)
        if (static_cast<uint8_t>(bytes[i]) == 0xff && (static_cast<uint8_t>(bytes[i + 1]) & 0xfe) == 0xc0) {
            sof = i;
            break;
        }
    ASSERT_GT(sof, 0u);
    // Height, then width, big-endian after the length and precision.
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(65500 >> 8);
    bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(65500 & 0xff);
    TempDir dir;
    const std::string path = dir.write("huge.jpg", bytes);
    JpegPicture p;
    char message[kPictureMessageSize];
    ASSERT_EQ(jpegDecode(path.c_str(), 0, &p, message, sizeof message), kJpegTooLarge);
    EXPECT_EQ(p.width, 65500);
    EXPECT_EQ(p.height, 65500);
    EXPECT_EQ(p.pixels, nullptr);
}

} // namespace
