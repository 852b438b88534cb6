// The name GSAVE writes: an "xpm" extension of any case is kept, anything
// else gets ".xpm" after it.
#include <gtest/gtest.h>

#include <string>

#include "command/scene_files.h"

namespace {

TEST(ChartImageName, EndsInAnXpmExtension) {
    const struct {
        const char *name, *expected;
    } cases[] = {
        {"chart", "chart.xpm"},
        {"chart.xpm", "chart.xpm"},
        {"chart.XPM", "chart.XPM"},             // case of the extension kept
        {"image.Xpm", "image.Xpm"},
        {"chart.png", "chart.png.xpm"},         // another extension is no xpm
        {"dir.d/chart", "dir.d/chart.xpm"},     // a dot of a directory is no extension
        {"dir.xpm/chart", "dir.xpm/chart.xpm"},
        {"chart.xpmx", "chart.xpmx.xpm"},       // an extension merely beginning with xpm
        {"/tmp/a.b.xpm", "/tmp/a.b.xpm"},
    };
    for (const auto &c : cases) {
        char out[64];
        ASSERT_EQ(1, chartImageName(c.name, out, sizeof out)) << c.name;
        EXPECT_STREQ(c.expected, out) << c.name;
    }
}

TEST(ChartImageName, ANameThatDoesNotFitIsRefusedNotCut) {
    char out[10];
    EXPECT_EQ(1, chartImageName("abcde", out, sizeof out)); // "abcde.xpm" is 9
    EXPECT_STREQ("abcde.xpm", out);
    EXPECT_EQ(0, chartImageName("abcdef", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0, chartImageName("abcdefghij.xpm", out, sizeof out));
    EXPECT_STREQ("", out);
}

} // namespace
