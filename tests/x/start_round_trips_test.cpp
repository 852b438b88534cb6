// What start-up no longer asks the server, on private servers: on a
// TrueColor visual of 8-bit components the palette and the XPM pictures
// take their pixels from the visual's masks, the pixels the server gives
// (XAllocColor is the oracle) and the pictures libXpm makes when it asks;
// at depth 16 they are still asked and still the same; the font-set rows of
// one name share one font set.
#include <clocale>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/Xutil.h>
#include <X11/xpm.h>

#include "model/app_data.h"
#include "model/resource_text.h"
#include "render/palette.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "render/x/x_traffic.h"
#include "resources/fallback.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_xpm.h"
#include "ui/widgets/xpm_picture.h"

namespace {

struct Shell {
    XtAppContext app = nullptr;
    Widget shell = nullptr;
    explicit Shell(const std::string &display) {
        XtToolkitInitialize();
        app = XtCreateApplicationContext();
        XtAppSetFallbackResources(app, fallbackResources);
        char arg0[] = "tavik";
        char *argv[] = {arg0, nullptr};
        int argc = 1;
        Display *d = XtOpenDisplay(app, display.c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv);
        if (d != nullptr) shell = XtAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, d, nullptr, 0);
    }
    ~Shell() {
        if (app != nullptr) closeToolkit(app, shell);
    }
};

const char *const kPicture[] = {
    "6 3 5 1", ". c None", "k c #000000", "y c #f0c000", "b c #2050c0", "w c #fefdfc",
    ".kyb.w", "wbyk..", "..kkyy",
};

class StartRoundTrips : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        appDataSetDefaults();
        appData->installColormap = 0;
    }
    void TearDown() override { setPaletteStoreColour(nullptr); }
};

TEST_P(StartRoundTrips, PaletteAndPicturesHaveTheServersPixelsAskingOnlyWhereTheyMust) {
    const int depth = GetParam();
    XServer server(640, 480, depth);
    ASSERT_TRUE(server.ok()) << server.why();
    Shell tk(server.name());
    ASSERT_NE(tk.shell, nullptr);
    Display *d = XtDisplay(tk.shell);
    appData->topLevel = tk.shell;
    appData->display = d;
    appData->screen = DefaultScreen(d);
    const Colormap cmap = DefaultColormap(d, appData->screen);
    const bool asks = depth != 24;

    const char *colours[kPaletteColourCount] = {};
    XSync(d, False);
    {
        XTrafficMeter meter(d);
        ASSERT_EQ(allocPaletteFrom(d, appData->screen, colours, 0), 1);
        if (asks)
            EXPECT_GT(meter.read().replies, 0u);
        else
            EXPECT_EQ(meter.read().replies, 0u);
    }
    for (int i = 0; i < kPaletteColourCount; i++) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%06x", paletteRows[i].builtinRgb);
        XColor c;
        ASSERT_TRUE(XParseColor(d, cmap, hex, &c));
        ASSERT_TRUE(XAllocColor(d, cmap, &c));
        EXPECT_EQ(appData->pixels[i], c.pixel) << paletteRows[i].resource;
    }

    XpmAttributes plain{};
    Pixmap expected = 0;
    ASSERT_EQ(XpmCreatePixmapFromData(d, RootWindowOfScreen(XtScreen(tk.shell)), const_cast<char **>(kPicture),
                                      &expected, nullptr, &plain),
              XpmSuccess);
    XSync(d, False);
    Pixmap picture = 0;
    {
        XTrafficMeter meter(d);
        picture = xpmPicture(kPicture, BlackPixel(d, appData->screen));
        if (asks)
            EXPECT_GT(meter.read().replies, 0u);
        else
            EXPECT_EQ(meter.read().replies, 0u);
    }
    ASSERT_NE(picture, 0u);
    const std::vector<unsigned long> got = drawablePixels(d, picture, 6, 3), want = drawablePixels(d, expected, 6, 3);
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < got.size(); k++)
        if (kPicture[5 + k / 6][k % 6] != '.') {
            EXPECT_EQ(got[k], want[k]) << "pixel " << k;
        }
    XFreePixmap(d, picture);
    XFreePixmap(d, expected);
    XpmFreeAttributes(&plain);
}

INSTANTIATE_TEST_SUITE_P(Depths, StartRoundTrips, ::testing::Values(24, 16));

TEST(StartFontSets, RowsOfOneNameShareOneFontSetFreedOnce) {
    XServer server(640, 480, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    ASSERT_NE(std::setlocale(LC_ALL, "en_US.ISO-8859-1"), nullptr);
    appDataSetDefaults();
    appData->display = server.display();
    char text[kFontSetCount][128], bayer[128];
    const char *names[kFontSetCount];
    std::set<std::string> distinct;
    for (int i = 0; i < kFontSetCount; i++) {
        names[i] = fallbackResourceString(fontSetRows[i].resource, text[i], sizeof text[i]);
        distinct.insert(names[i]);
    }
    fallbackResourceString(kStarBayerFontResource, bayer, sizeof bayer);
    ASSERT_LT(distinct.size(), static_cast<size_t>(kFontSetCount)) << "the fallback names repeat";
    for (int round = 0; round < 2; round++) { // freed once, loaded again
        ASSERT_EQ(loadFontSetsFrom(server.display(), names, bayer), 1);
        std::set<XFontSet> sets;
        for (int i = 0; i < kFontSetCount; i++) {
            sets.insert(appData->fontSets[i]);
            for (int j = 0; j < i; j++)
                EXPECT_EQ(appData->fontSets[i] == appData->fontSets[j], std::string(names[i]) == names[j])
                    << fontSetRows[i].resource << " and " << fontSetRows[j].resource;
        }
        EXPECT_EQ(sets.size(), distinct.size());
        freeFontSets();
    }
    std::setlocale(LC_ALL, "C");
}

} // namespace
