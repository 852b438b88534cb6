#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "model/chart_state.h"
#include "render/palette.h"
#include "render/sky_colours.h"
#include "tests/support/test_chart.h"

namespace {

struct SkyLevelCase {
    const char *name;
    int daylight;
    int32_t mode;
    double sunAltDeg;
    double eclipseMag;
    int32_t level;
};

TEST(SkyLevel, FollowsSunAltitudeModeAndEclipse) {
    const SkyLevelCase cases[] = {
        {"sun 18 below is full night", 1, kModeHrz, -18.0, -1.0, 0},
        {"just above -18 truncates toward zero", 1, kModeHrz, -17.9, -1.0, 1},
        {"sun on the horizon", 1, kModeHrz, 0.0, -1.0, 36},
        {"sun 18 above is full day", 1, kModeHrz, 18.0, -1.0, 72},
        {"higher sun stays at 72", 1, kModeHrz, 30.0, -1.0, 72},
        {"far below the horizon stays at 0", 1, kModeHrz, -90.0, -1.0, 0},
        {"daylight off gives 0", 0, kModeHrz, 30.0, -1.0, 0},
        {"equatorial chart gives 0", 1, kModeEqt, 30.0, -1.0, 0},
        {"ecliptic chart gives 0", 1, kModeEcl, 30.0, -1.0, 0},
        {"planisphere is horizontal", 1, kModePlns, 0.0, -1.0, 36},
        {"partial eclipse below 0.5 changes nothing", 1, kModeHrz, 30.0, 0.4, 72},
        {"eclipse 0.5 darkens one step", 1, kModeHrz, 30.0, 0.5, 71},
        {"eclipse 0.97 with sun at 5 degrees", 1, kModeHrz, 5.0, 0.97, 30},
        {"deep eclipse is held at the total-eclipse sky", 1, kModeHrz, 30.0, 1.03, 26},
        {"deep eclipse with sun at 10 degrees held at 26", 1, kModeHrz, 10.0, 1.05, 26},
        // An eclipse never lights a sky that is already darker than totality.
        {"eclipse at night leaves night dark", 1, kModeHrz, -18.0, 0.5, 0},
        {"eclipse in twilight leaves twilight", 1, kModeHrz, -10.0, 1.05, 16},
        {"eclipse with sun at level 26 keeps 26", 1, kModeHrz, -5.0, 0.99, 26},
        {"eclipse in an equatorial chart gives 0", 1, kModeEqt, 10.0, 1.05, 0},
    };
    for (const SkyLevelCase &c : cases)
        EXPECT_EQ(skyLevelFor(c.daylight, c.mode, c.sunAltDeg, c.eclipseMag), c.level) << c.name;
}

TEST(SkyLevel, UpdateReadsTheChartState) {
    TestChart chart;
    chart->mode = kModeHrz;
    chart->skyFlags = kSkyDaylight;
    chart->sun.altitudeDeg = 0.0;
    chart->sun.eclipseMagnitude = -1.0;
    updateSkyLevel(chart.get());
    EXPECT_EQ(chart->skyLevel, 36);
    chart->skyFlags = 0;
    updateSkyLevel(chart.get());
    EXPECT_EQ(chart->skyLevel, 0);
}

TEST(SkyColours, SunColourReddensOnlyInTheHorizonCharts) {
    const struct {
        int32_t mode;
        double alt;
        int32_t colour;
    } cases[] = {
        {kModeHrz, 20.0, ColorStar3}, {kModeHrz, 15.0, ColorStar3}, {kModeHrz, 14.9, ColorStar4},
        {kModeHrz, 12.0, ColorStar5}, {kModeHrz, 9.0, ColorStar6},  {kModeHrz, 7.0, ColorStar7},
        {kModeHrz, 4.0, ColorStar8},  {kModeHrz, 2.0, ColorStar9},  {kModeHrz, -30.0, ColorStar9},
        {kModeEqt, 2.0, ColorStar3},  {kModePlns, 2.0, ColorStar9},
    };
    for (const auto &c : cases) {
        TestChart chart;
        chart->mode = c.mode;
        chart->sun.altitudeDeg = c.alt;
        EXPECT_EQ(sunColorForChart(chart.get()), c.colour) << c.mode << " " << c.alt;
    }
}

TEST(SkyColours, NineSlotsOfALevelAsRgb) {
    uint32_t out[9];
    skyColoursForLevel(0, 0xEFEFEF, out);
    const uint32_t night[9] = {0x000010, 0x000018, 0x000020, 0x000028, 0x000030,
                               0x2F2F3C, 0x5F5F69, 0x8F8F95, 0xBFBFC2};
    for (int k = 0; k < 9; k++) EXPECT_EQ(out[k], night[k]) << "slot " << k;

    // Level 60 reads row 48 of the first table, which has only 49 rows.
    skyColoursForLevel(60, 0xEFEFEF, out);
    EXPECT_EQ(out[0], 0x5080F0u);
    EXPECT_EQ(out[1], 0x7088E8u);
    EXPECT_EQ(out[2], 0x9090E0u);
    EXPECT_EQ(out[3], 0xB491B8u);
    EXPECT_EQ(out[4], 0xD99290u);
}

TEST(SkyColours, StepsTowardADimmerSunTruncateTowardZero) {
    uint32_t out[9];
    // Level 38 (sun at 1 degree): background 5E79BB toward ColorStar9 FFBF9F;
    // blue falls by 28 / 5, which truncates to 5 (floor would give 6).
    skyColoursForLevel(38, 0xFFBF9F, out);
    EXPECT_EQ(out[0], 0x5E79BBu);
    EXPECT_EQ(out[5], 0x7E87B6u);
}

std::vector<std::pair<int32_t, uint32_t>> stored;
void recordStore(int32_t cell, uint32_t rgb) { stored.emplace_back(cell, rgb); }

TEST(SkyColours, SetSkyColorsStoresIntoTheNineSlotsAfterThePalette) {
    TestChart chart;
    chart->mode = kModeHrz;
    chart->skyColourBase = kPaletteColourCount;
    chart->skyLevel = 38;
    chart->sun.altitudeDeg = 1.0;
    stored.clear();
    setPaletteStoreColour(recordStore);
    setSkyColors(chart.get());
    setPaletteStoreColour(nullptr);
    ASSERT_EQ(stored.size(), 9u);
    for (int k = 0; k < 9; k++) EXPECT_EQ(stored[k].first, 65 + k);
    EXPECT_EQ(stored[0].second, 0x5E79BBu);
    EXPECT_EQ(stored[5].second, 0x7E87B6u);
}

TEST(SkyColours, LevelsOutsideTheTablesAreClamped) {
    uint32_t low[9], high[9], zero[9], top[9];
    skyColoursForLevel(-5, 0, low);
    skyColoursForLevel(0, 0, zero);
    skyColoursForLevel(500, 0, high);
    skyColoursForLevel(72, 0, top);
    EXPECT_EQ(0, std::memcmp(low, zero, sizeof low));
    EXPECT_EQ(0, std::memcmp(high, top, sizeof high));
}

} // namespace
