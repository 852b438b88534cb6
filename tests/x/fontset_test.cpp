// The 17 font sets and the symbol font from the fallback resources, in the
// two locales the program runs in.
#include <clocale>
#include <set>
#include <sstream>
#include <string>

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
    char text[kFontSetCount][128];
    const char *names[kFontSetCount];
    char bayer[128];
    FontNames() {
        for (int i = 0; i < kFontSetCount; i++)
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
        for (int i = 0; i < kFontSetCount; i++) {
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

// A UTF-8 locale's font sets ask for charsets (the Asian ones) few servers
// have fonts for. Start-up gathers them quietly, to say once that it falls
// back, instead of 17 groups of messages: each charset named once.
TEST_F(FontSets, MissingCharsetsAreGatheredOnceEachWithoutAWord) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr) << "tools/setup-common.sh makes C.UTF-8";
    // Latin-1 fonts alone, so that charsets are missing whatever else is installed.
    FontNames f;
    const char latin1[] = "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1";
    for (const char *&name : f.names) name = latin1;
    MissingCharsets missing;
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadFontSetsFrom(server.display(), f.names, f.bayer, &missing), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_GT(missing.count, 0);
    std::istringstream words(missing.names);
    std::set<std::string> seen;
    for (std::string w; words >> w;) EXPECT_TRUE(seen.insert(w).second) << w << " named twice in " << missing.names;
    EXPECT_FALSE(seen.empty());
    EXPECT_EQ(seen.count("ISO8859-1"), 0u) << "the font given has that one";
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
