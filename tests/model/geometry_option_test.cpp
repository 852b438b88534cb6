// The Geometry rule that start-up and the Environment dialog share.
#include "model/geometry_option.h"

#include <gtest/gtest.h>

namespace {

TEST(GeometryOption, StoredSizesThatTheWindowCanTake)
{
    struct Case {
        const char *text;
        int valid, width, height;
    } cases[] = {
        {"800x600", 1, 800, 600},
        {"120x160", 1, 120, 160},           // the window's minimum
        {"32767x32767", 1, 32767, 32767},   // the largest X side
        {"0x600", 0, 0, 0},                 // once a window one pixel wide
        {"119x600", 0, 0, 0},
        {"800x159", 0, 0, 0},
        {"99999x600", 0, 0, 0},             // once an X error at every start
        {"60000x60000", 0, 0, 0},
        {"32768x600", 0, 0, 0},
        {"99999999999999999999x600", 0, 0, 0}, // would overflow an int
        {"800x600+10+10", 0, 0, 0},         // digits only
        {"-800x600", 0, 0, 0},
        {"800X600", 0, 0, 0},
        {" 800x600", 0, 0, 0},
        {"800x", 0, 0, 0},
        {"x600", 0, 0, 0},
        {"800x600x1", 0, 0, 0},
        {"800", 0, 0, 0},
        {"", 0, 0, 0},
        {"000800x600", 0, 0, 0},            // more than five digits
        {"0800x0600", 1, 800, 600},
    };
    for (const Case &c : cases) {
        int w = -1, h = -1;
        EXPECT_EQ(geometryOptionValid(c.text, &w, &h), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(w, c.width) << c.text;
            EXPECT_EQ(h, c.height) << c.text;
        }
    }
    EXPECT_EQ(geometryOptionValid(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(geometryOptionValid("800x600", nullptr, nullptr), 1);
}

TEST(GeometryOption, TwoFieldsAsTheDialogHasThem)
{
    struct Case {
        const char *width, *height;
        int valid;
    } cases[] = {
        {"800", "600", 1}, {"800", "", 0}, {"", "600", 0}, {"8 0", "600", 0},
        {"800", "6e2", 0}, {nullptr, "600", 0}, {"120", "160", 1}, {"32767", "32768", 0},
    };
    for (const Case &c : cases) {
        int w = 0, h = 0;
        EXPECT_EQ(geometrySizeValid(c.width, c.height, &w, &h), c.valid)
            << (c.width ? c.width : "(null)") << " x " << c.height;
    }
}

} // namespace
