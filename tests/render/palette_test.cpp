#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "model/resource_text.h"
#include "render/palette.h"

namespace {

TEST(Palette, ResourceNamesKeepTheSpellingUsersFilesCarry) {
    EXPECT_STREQ(paletteRows[ColorCometDulstTail].resource, "ColorCometDulstTail");
    EXPECT_STREQ(paletteRows[ColorNabulaNameFont].resource, "ColorNabulaNameFont");
    EXPECT_STREQ(paletteRows[0].resource, "ColorWhite");
    EXPECT_STREQ(paletteRows[kPaletteColourCount - 1].resource, "ColorPictureMark");
    EXPECT_EQ(ColorPictureMark, 64);
    EXPECT_EQ(ColorStatusFont, 57);
}

TEST(Palette, EveryColourAndFontSetHasAFallbackResource) {
    char buf[128];
    for (const PaletteRow &row : paletteRows) {
        fallbackResourceString(row.resource, buf, sizeof buf);
        uint32_t rgb = 0;
        EXPECT_TRUE(parseHexColour(buf, &rgb)) << row.resource << " = '" << buf << "'";
    }
    for (const FontSetRow &row : fontSetRows)
        EXPECT_NE(fallbackResourceString(row.resource, buf, sizeof buf)[0], '\0') << row.resource;
    EXPECT_STREQ(fallbackResourceString(kStarBayerFontResource, buf, sizeof buf), "-*-symbol-medium-r-normal-*-14-*");
}

TEST(Palette, FallbackDiffersFromTableDefaultOnlyWhereDocumented) {
    char buf[128];
    for (int i = 0; i < kPaletteColourCount; i++) {
        fallbackResourceString(paletteRows[i].resource, buf, sizeof buf);
        if (i == ColorSatelliteNameFont)
            EXPECT_STREQ(buf, "#00CC00");
        else if (i == ColorPlanisphereBack)
            EXPECT_STREQ(buf, "#000830");
        else
            EXPECT_STREQ(buf, paletteRows[i].tableDefault) << paletteRows[i].resource;
    }
}

TEST(Palette, JunkColourFallsBackToTheBuiltInRgb) {
    const struct {
        int32_t row;
        const char *value;
        uint32_t rgb;
    } cases[] = {
        {ColorSaturnRingA, "no such colour", 0xFFE5B7}, // the rings' built-ins are swapped
        {ColorSaturnRingB, "", 0xC2AF85},
        {ColorSatelliteNameFont, "#12", 0xFFFF00},
        {ColorPlanisphereBack, nullptr, 0x000058},
        {ColorStar5, "#GGGGGG", 0xF9F9CF},
        {ColorStar5, "#010203", 0x010203},
        {ColorWhite, "#FFF", 0xFFFFFF},
        {ColorWhite, "#111222333", 0x112233},
        {ColorWhite, "#FFFF0000FFFF", 0xFF00FF},
        {ColorWhite, "  #102030  ", 0x102030},
    };
    for (const auto &c : cases)
        EXPECT_EQ(paletteRowRgb(c.row, c.value), c.rgb) << (c.value ? c.value : "(null)");
}

TEST(Palette, LabelColourOfEachFontSet) {
    EXPECT_EQ(labelColourOf(StarNameFontset), ColorStarNameFont);
    EXPECT_EQ(labelColourOf(NebulaNameFontset), ColorNabulaNameFont);
    EXPECT_EQ(labelColourOf(DirNameFontset), ColorDirection1Font);
    EXPECT_EQ(labelColourOf(MoonAgeFontset), ColorStatusFont);
    EXPECT_EQ(labelColourOf(ClickDataFontset), ColorWhite);
    EXPECT_EQ(labelColourOf(-1), ColorWhite);
    EXPECT_EQ(labelColourOf(17), ColorWhite);
}

TEST(Palette, ColourClassFromAFileIsClampedBeforeIndexing) {
    EXPECT_EQ(clampPaletteIndex(-3, 0, 9), 0);
    EXPECT_EQ(clampPaletteIndex(15, 0, 9), 9);
    EXPECT_EQ(clampPaletteIndex(4, 0, 9), 4);
}

} // namespace
