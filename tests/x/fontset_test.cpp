// The 17 font sets and the symbol font from the fallback resources, in the
// two locales the program runs in.
#include <clocale>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/resource_text.h"
#include "render/palette.h"
#include "render/layers/status_bar.h"
#include "render/x/font_sets.h"
#include "tests/support/x_server.h"

namespace {

struct FontNames {
    char text[kFontSetRowCount][128];
    const char *names[kFontSetRowCount];
    char bayer[128];
    FontNames() {
        for (int i = 0; i < kFontSetRowCount; i++)
            names[i] = fallbackResourceString(fontSetRows[i].resource, text[i], sizeof text[i]);
        fallbackResourceString(kStarBayerFontResource, bayer, sizeof bayer);
    }
};

struct FontSets : ::testing::Test {
    XServer server{800, 600, 24};
    void SetUp() override {
        ASSERT_TRUE(server.ok()) << server.why();
        appDataSetDefaults();
        appData->display = server.display();
    }
    void TearDown() override {
        freeFontSets();
        std::setlocale(LC_ALL, "C");
    }
};

TEST_F(FontSets, AllSeventeenLoadInBothLocales) {
    for (const char *locale : {"en_US.ISO-8859-1", "C"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
        ASSERT_TRUE(XSupportsLocale()) << locale;
        FontNames f;
        EXPECT_EQ(loadFontSetsFrom(server.display(), f.names, f.bayer), 1) << locale;
        for (int i = 0; i < kFontSetRowCount; i++) {
            EXPECT_NE(appData->fontSets[i], nullptr) << fontSetRows[i].resource << " in " << locale;
            EXPECT_GT(appData->fontSetExtents[i].maxLogicalExtent.height, 0) << fontSetRows[i].resource;
        }
        EXPECT_GT(dirFontHeight(), 0);
        EXPECT_EQ(statusBarHeight(), appData->fontSetExtents[StatusFontset].maxLogicalExtent.height * 12 / 10);
        EXPECT_GT(statusBarHeight(), 0);
        ASSERT_NE(bayerFontStruct(), nullptr);
        EXPECT_EQ(appData->bayerFont.fid, bayerFontStruct()->fid);
        EXPECT_EQ(appData->bayerFont.ascent, bayerFontStruct()->ascent);
        EXPECT_EQ(appData->bayerFont.maxBounds.width, bayerFontStruct()->max_bounds.width);
        freeFontSets();
        EXPECT_EQ(appData->fontSets[0], nullptr);
        EXPECT_EQ(appData->bayerFont.fid, 0u);
    }
}

TEST_F(FontSets, EmptyOrUnknownNameFailsWithoutAborting) {
    ASSERT_NE(std::setlocale(LC_ALL, "en_US.ISO-8859-1"), nullptr);
    FontNames f;
    f.names[StatusFontset] = ""; // the X library aborts on an empty base-font list
    EXPECT_EQ(loadFontSetsFrom(server.display(), f.names, f.bayer), 0);
    EXPECT_EQ(appData->fontSets[StatusFontset], nullptr);
    EXPECT_EQ(appData->fontSetExtents[StatusFontset].maxLogicalExtent.height, 0);
    EXPECT_NE(appData->fontSets[StarNameFontset], nullptr);

    FontNames g;
    g.names[GridNumFontset] = "-nosuchfoundry-nosuchfamily-*";
    EXPECT_EQ(loadFontSetsFrom(server.display(), g.names, g.bayer), 0);
    EXPECT_EQ(appData->fontSetExtents[GridNumFontset].maxLogicalExtent.height, 0);

    FontNames h;
    EXPECT_EQ(loadFontSetsFrom(server.display(), h.names, ""), 0);
    EXPECT_EQ(loadFontSetsFrom(server.display(), h.names, "-nosuch-symbol-*"), 0);
    EXPECT_EQ(bayerFontStruct(), nullptr);
}

} // namespace
