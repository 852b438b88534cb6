// Position specifications: the grammar as a table of worked examples, the
// round trip through the name writer, the directions they resolve to and the
// view's recentring on its target.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "astro/coords.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/body_names.h"
#include "model/position_text.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "model/view_geometry.h"
#include "resources/catalogs.h"
#include "tests/support/catalog_rows.h"

namespace {

constexpr double kJ2000Jd = 2451545.0;
constexpr double kNightJd = 2460325.375; // 2024-01-15 21:00 UTC

int32_t consRow(const char *abbreviation)
{
    for (int32_t i = 0; i < constellationSearchCount; ++i)
        if (std::strcmp(constellations[i].abbreviation, abbreviation) == 0)
            return i;
    return -1;
}

class Position : public ::testing::Test {
protected:
    std::unique_ptr<ChartState> owner{new ChartState{}};
    ChartState *chart = owner.get();

    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        appData->pixelAspect = 1.0;
        appData->dirFontHeight = 12; // the horizontal chart's centre row depends on it
        chartStateSetDefaults(chart);
        chartSetSite(chart, 51.4769, 0.0, 0.0); // Greenwich
        ephemerisTheories = kEphemerisTheoriesDefault;
    }
    void TearDown() override { chartStateFreeTables(chart); }

    // At J2000.0 the equator of date is the J2000 equator, so the centre's
    // place needs no conversion to be known.
    void equatorialChartAtJ2000(double ra, double dec)
    {
        chartSetJd(chart, kJ2000Jd, 0.0);
        chart->mode = kModeEqt;
        chart->centerMode[0] = ra;
        chart->centerMode[1] = dec;
    }

    void view(int mode, int width, int height, double field)
    {
        chart->mode = mode;
        chart->chartRect = ChartRect{0, 0, static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
        chart->fieldWidth = field;
        updateViewScale(chart);
        updateViewMatrix(chart);
    }
};

struct ParseCase {
    const char *name;
    const char *word, *lon, *lat;
    int ok;
    int32_t kind, index;  // index -1: not checked
    double value1, value2; // NAN: not checked
    int32_t used;
};

TEST_F(Position, ParseTable)
{
    equatorialChartAtJ2000(100.0, 20.0);
    const ParseCase cases[] = {
        {"HHMM.m and DDMM.m", "EQT", "0530.5", "-6930", 1, kPosEqt, -1, 82.625, -69.5, 3},
        {"decimal hours and degrees", "EQT", "5.5", "-69.5", 1, kPosEqt, -1, 82.5, -69.5, 3},
        {"declination follows the RA's form", "EQT", "123.4", "5", 1, kPosEqt, -1, 20.85, 5.0 / 60.0, 3},
        {"DDMM.m below a degree is negative", "EQT", "0000", "-3015", 1, kPosEqt, -1, 0.0, -30.25, 3},
        {"one value keeps the centre's declination", "EQT", "5.5", nullptr, 1, kPosEqt, -1, 82.5, 20.0, 3},
        {"no value keeps the centre", "eqt", nullptr, nullptr, 1, kPosEqt, -1, 100.0, 20.0, 3},
        {"EQT_DATE reads hours too", "EQT_DATE", "6", "-10", 1, kPosEqtDate, -1, 90.0, -10.0, 3},
        {"HRZ in degrees", "HRZ", "180", "30", 1, kPosHrz, -1, 180.0, 30.0, 3},
        {"ECL in degrees, not hours", "ECL", "123.4", "5", 1, kPosEcl, -1, 123.4, 5.0, 3},
        {"a latitude past the pole is refused", "GAL", "10", "95", 0, 0, -1, NAN, NAN, 0},
        {"an infinite value is refused", "EQT", "1e999", "0", 0, 0, -1, NAN, NAN, 0},
        {"a value beyond the 47-character copy is refused", "EQT",
         "0530.50000000000000000000000000000000000000000000", "0", 0, 0, -1, NAN, NAN, 0},
        {"a constellation's abbreviation is CONS", "Ori", nullptr, nullptr, 1, kPosCons, consRow("Ori"), NAN, NAN, 1},
        {"CONS keyword", "CONS", "orion", nullptr, 1, kPosCons, consRow("Ori"), NAN, NAN, 2},
        {"a bare Messier number is NEBULA", "M31", nullptr, nullptr, 1, kPosNebula, messierRow(31), NAN, NAN, 1},
        {"a bare designation is STAR", "alphaOri", "x", nullptr, 1, kPosStar, starNamed("Betelgeuse"), NAN, NAN,
         1},
        {"STAR keyword", "STAR", "alphaOri", nullptr, 1, kPosStar, starNamed("Betelgeuse"), NAN, NAN, 2},
        {"STAR needs a name", "STAR", nullptr, nullptr, 0, 0, -1, NAN, NAN, 0},
        {"lmc in any case", "lmc", nullptr, nullptr, 1, kPosNamedPoint, 0, NAN, NAN, 1},
        {"SMC", "Smc", "5", "6", 1, kPosNamedPoint, 1, NAN, NAN, 1},
        {"a body", "mars", "1", "2", 1, kPosBody, kObjectMercury + 2, NAN, NAN, 1},
        {"the Earth is a body", "EARTH", nullptr, nullptr, 1, kPosBody, kObjectEarth, NAN, NAN, 1},
        {"io", "io", nullptr, nullptr, 1, kPosJupiterMoon, 0, NAN, NAN, 1},
        {"CALLISTO", "CALLISTO", nullptr, nullptr, 1, kPosJupiterMoon, 3, NAN, NAN, 1},
        {"CALLIST", "callist", nullptr, nullptr, 1, kPosJupiterMoon, 3, NAN, NAN, 1},
        {"the planet group is no position", "PLANET", nullptr, nullptr, 0, 0, -1, NAN, NAN, 0},
        {"SCREEN", "SCREEN", "10.7", "-20", 1, kPosScreen, -1, 10.7, -20.0, 3},
        {"SCREEN needs both numbers", "SCREEN", "10", nullptr, 0, 0, -1, NAN, NAN, 0},
        {"SCREEN beyond 16 bits", "SCREEN", "40000", "1", 0, 0, -1, NAN, NAN, 0},
        {"VIEW_CENTER is never parsed", "VIEW_CENTER", nullptr, nullptr, 0, 0, -1, NAN, NAN, 0},
        {"nothing of that name", "NOSUCH", nullptr, nullptr, 0, 0, -1, NAN, NAN, 0},
    };
    for (const ParseCase &c : cases) {
        char word[300];
        std::snprintf(word, sizeof word, "%s", c.word);
        int32_t kind = -7, index = -7, used = -7;
        double values[2] = {NAN, NAN};
        const int ok = parsePositionSpecAny(chart, word, c.lon, c.lat, &kind, &index, values, &used);
        ASSERT_EQ(ok, c.ok) << c.name;
        if (!ok)
            continue;
        EXPECT_EQ(kind, c.kind) << c.name;
        EXPECT_EQ(used, c.used) << c.name;
        if (c.index != -1) {
            EXPECT_EQ(index, c.index) << c.name;
        }
        // The precession of J2000.0 to itself is identity to about 1e-7 degrees.
        if (!std::isnan(c.value1)) {
            EXPECT_NEAR(values[0], c.value1, 1e-6) << c.name;
        }
        if (!std::isnan(c.value2)) {
            EXPECT_NEAR(values[1], c.value2, 1e-6) << c.name;
        }
    }
}

TEST_F(Position, AGalileanMoonsNameSwitchesTheMoonsOn)
{
    chart->jupiterMoonFlags = 0;
    char word[] = "Io";
    int32_t kind, index, used;
    double values[2];
    ASSERT_TRUE(parsePositionSpec(chart, word, nullptr, nullptr, &kind, &index, values, &used));
    EXPECT_EQ(chart->jupiterMoonFlags & kJmoonShown, kJmoonShown);
    EXPECT_STREQ(word, "IO") << "the word is upper-cased in place";
}

// Every object the name writer can name reads back as itself. Components of
// a double star are written with one name (Castor A and B are both
// alphaGem): that name reads back as the first of them.
TEST_F(Position, WrittenNamesReadBack)
{
    chartSetJd(chart, kNightJd, 0.0);
    struct Range {
        int32_t kind, first, last;
    } ranges[] = {
        {kPosStar, 0, brightStarCount - 1},
        {kPosCons, 0, constellationSearchCount - 1},
        {kPosNebula, 0, nebulaTotalCount - 1},
        {kPosBody, kObjectEarth, kObjectPluto},
        {kPosJupiterMoon, 0, 3},
        {kPosNamedPoint, 0, namedPointCount - 1},
    };
    std::map<std::string, int32_t> firstWithText;
    for (int32_t i = 0; i < brightStarCount; ++i) {
        char text[96];
        if (formatPositionSpec(chart, kPosStar, i, text, sizeof text))
            firstWithText.emplace(text, i);
    }
    int checked = 0;
    for (const Range &r : ranges) {
        for (int32_t i = r.first; i <= r.last; ++i) {
            char text[96];
            if (!formatPositionSpec(chart, r.kind, i, text, sizeof text))
                continue;
            if (r.kind == kPosStar && std::strncmp(text, "STAR ", 5) != 0)
                continue; // a star without a designation is written as coordinates
            // Split as the tokenizer would: a keyword and its name, or a name.
            char word[96], arg[96];
            const int n = std::sscanf(text, "%95s %95s", word, arg);
            ASSERT_GE(n, 1) << text;
            int32_t kind = -1, index = -1, used = 0;
            double values[2];
            ASSERT_TRUE(parsePositionSpecAny(chart, word, n == 2 ? arg : nullptr, nullptr, &kind, &index, values,
                                             &used))
                << text;
            EXPECT_EQ(kind, r.kind) << text;
            // Rows written with the same name read back as the first of them.
            const auto first = firstWithText.find(text);
            const int32_t expected = first != firstWithText.end() ? first->second : i;
            EXPECT_EQ(index, expected) << text;
            ++checked;
        }
    }
    EXPECT_GT(checked, 9000);
}

TEST_F(Position, ResolvedDirections)
{
    chartSetJd(chart, kNightJd, 0.0);
    // Betelgeuse, J2000: 5h 55m 10.31s, +7 24' 25.4".
    double out[2] = {-1, -1};
    ASSERT_EQ(resolvePositionSpec(chart, kPosStar, starNamed("Betelgeuse"), 0, 0, out), COORD_EQT);
    EXPECT_NEAR(out[0], 88.7930, 0.02);
    EXPECT_NEAR(out[1], 7.4071, 0.02);
    // M31, J2000: 0h 42m 44.3s, +41 16' 9".
    ASSERT_EQ(resolvePositionSpec(chart, kPosNebula, messierRow(31), 0, 0, out), COORD_EQT);
    EXPECT_NEAR(out[0], 10.685, 0.1);
    EXPECT_NEAR(out[1], 41.269, 0.1);

    struct NoDirection {
        const char *name;
        int32_t kind, index;
        int result;
    } cases[] = {
        {"the Earth", kPosBody, kObjectEarth, 0},
        {"Io as a body", kPosBody, 8, 0},
        {"Callisto as a body", kPosBody, 11, 0},
        {"a comet not loaded", kPosBody, kObjectCometBase, 0},
        {"a user object without files", kPosUserObject, 0, 0},
        {"a sky mark without files", kPosSkyMark, 0, 0},
        {"a star past the table", kPosStar, brightStarCount, 0},
        {"VIEW_CENTER", kPosViewCenter, 0, 0},
        {"a screen point", kPosScreen, 0, kPosScreen},
    };
    for (const NoDirection &c : cases) {
        double kept[2] = {12.0, 34.0};
        EXPECT_EQ(resolvePositionSpec(chart, c.kind, c.index, 5.0, 6.0, kept), c.result) << c.name;
        EXPECT_EQ(kept[0], 12.0) << c.name << ": out stays unset";
        EXPECT_EQ(kept[1], 34.0) << c.name;
    }
}

TEST_F(Position, UserObjectsResolveThroughTheirFiles)
{
    UserObject a[2] = {}, b[2] = {};
    a[0].kind = kPosEqt, a[0].value1 = 10.0, a[0].value2 = 20.0;
    a[1].type = kUserObjectTableEnd;
    b[0].kind = kPosGal, b[0].value1 = 30.0, b[0].value2 = -5.0;
    b[1].type = kUserObjectTableEnd;
    UserObjectFileEntry files[2] = {{1, "a", a}, {1, "b", b}};
    chart->userObjectFiles = files;
    chart->userObjectFileCount = 2;
    double out[2];
    EXPECT_EQ(resolvePositionSpec(chart, kPosUserObject, 1, 0, 0, out), kPosGal) << "second file's first row";
    EXPECT_EQ(out[0], 30.0);
    EXPECT_EQ(resolvePositionSpec(chart, kPosUserObject, 2, 0, 0, out), 0) << "past the last file";
    b[0].kind = kPosUserObject, b[0].index = 1; // a row naming itself
    EXPECT_EQ(resolvePositionSpec(chart, kPosUserObject, 1, 0, 0, out), 0);
    chart->userObjectFiles = nullptr;
    chart->userObjectFileCount = 0;
}

// ---- the target step --------------------------------------------------------

void target(ChartState *chart, int32_t kind, int32_t index, double v1, double v2, int state)
{
    chart->trackKind = kind;
    chart->trackIndex = index;
    chart->trackValues[0] = v1;
    chart->trackValues[1] = v2;
    chart->trackState = state;
}

TEST_F(Position, BelowTheHorizonCentresAtAltitudeZero)
{
    chartSetJd(chart, kNightJd, 0.0);
    view(kModeHrz, 600, 400, 90.0);
    chart->viewLocked = 0;
    target(chart, kPosHrz, 0, 135.0, -30.0, 1);
    updateViewCenterFromTarget(chart);
    EXPECT_DOUBLE_EQ(chart->centerHrz[0], 135.0);
    EXPECT_EQ(chart->centerHrz[1], 0.0);
    // An equatorial target below the horizon too: the south celestial pole.
    target(chart, kPosEqt, 0, 0.0, -90.0, 1);
    updateViewCenterFromTarget(chart);
    EXPECT_EQ(chart->centerHrz[1], 0.0);
}

// The lock puts the horizon on the projection centre row: the view frame's
// x axis (which lands on that row) then has altitude 0.
TEST_F(Position, LockedViewPutsTheHorizonOnTheCentreRow)
{
    chartSetJd(chart, kNightJd, 0.0);
    view(kModeHrz, 600, 400, 90.0);
    chart->centerHrz[0] = 200.0;
    chart->centerHrz[1] = 40.0;
    target(chart, kPosScreen | kTrackKindLockBit, 0, 0, 0, 1);
    updateViewCenterFromTarget(chart);
    EXPECT_EQ(chart->viewLocked, 1);
    EXPECT_EQ(chart->trackKind, kPosScreen) << "the lock request is cleared";
    EXPECT_DOUBLE_EQ(chart->centerHrz[0], 200.0) << "a screen target keeps the azimuth";
    updateViewScale(chart);
    updateViewMatrix(chart);
    const Mat3 &h = chart->horizonMatrix, &v = chart->viewMatrix;
    // altitude of the view frame's x axis: horizon row z . (viewMatrix^T (1,0,0))
    const double sinAlt = h.m[6] * v.m[0] + h.m[7] * v.m[1] + h.m[8] * v.m[2];
    EXPECT_NEAR(sinAlt, 0.0, 2e-6) << "the precession matrix is orthonormal to about 3e-7";
    EXPECT_GT(chart->centerHrz[1], 0.0) << "the middle of the window is above the horizon";
}

TEST_F(Position, SolarViewFollowsABodyByItsOrigin)
{
    chartSetJd(chart, kNightJd, 0.0);
    chart->mode = kModeSol2;
    ephemUpdateAll(chart);
    target(chart, kPosBody, kObjectMercury + 2, 0, 0, 2); // Mars
    const double centre[2] = {chart->centerMode[0], chart->centerMode[1]};
    updateViewCenterFromTarget(chart);
    const double r = std::sqrt(chart->solOffset[0] * chart->solOffset[0] + chart->solOffset[1] * chart->solOffset[1] +
                               chart->solOffset[2] * chart->solOffset[2]);
    EXPECT_GT(r, 1.38) << "Mars's perihelion distance";
    EXPECT_LT(r, 1.67) << "Mars's aphelion distance";
    EXPECT_EQ(chart->centerMode[0], centre[0]) << "nothing else changes";
    target(chart, kPosBody, kObjectSun, 0, 0, 2);
    updateViewCenterFromTarget(chart);
    EXPECT_EQ(chart->solOffset[0], 0.0);
    EXPECT_EQ(chart->solOffset[2], 0.0);
}

TEST_F(Position, TargetsWithoutADirectionChangeNothing)
{
    chartSetJd(chart, kNightJd, 0.0);
    chart->mode = kModeEqt;
    chart->centerMode[0] = 123.0;
    chart->centerMode[1] = -45.0;
    ephemUpdateAll(chart);
    target(chart, kPosBody, kObjectEarth, 0, 0, 1);
    updateViewCenterFromTarget(chart);
    EXPECT_EQ(chart->centerMode[0], 123.0) << "LOOK EARTH";
    EXPECT_EQ(chart->centerMode[1], -45.0);

    // A TRACK on a user object whose table is then emptied.
    UserObject rows[2] = {};
    rows[0].kind = kPosEqt, rows[0].value1 = 10.0, rows[0].value2 = 10.0;
    rows[1].type = kUserObjectTableEnd;
    UserObjectFileEntry file = {1, "f", rows};
    chart->userObjectFiles = &file;
    chart->userObjectFileCount = 1;
    target(chart, kPosUserObject, 0, 0, 0, 2);
    file.count = 0;
    updateViewCenterFromTarget(chart);
    EXPECT_EQ(chart->centerMode[0], 123.0) << "emptied user-object table";
    EXPECT_EQ(chart->centerMode[1], -45.0);
    chart->userObjectFiles = nullptr;
    chart->userObjectFileCount = 0;
}

// A hidden body is not computed by the ephemeris update unless it is the
// target; the view must centre on its place of this date, the same place a
// chart that shows Mars computes.
TEST_F(Position, HiddenTargetIsComputed)
{
    chartSetJd(chart, kNightJd, 0.0);
    chart->mode = kModeEqt;
    chart->viewLocked = 0; // as LOOK leaves it
    for (uint8_t &flags : chart->planetFlags)
        flags = static_cast<uint8_t>(flags & ~kBodyShown);
    target(chart, kPosBody, kObjectMercury + 2, 0, 0, 1);
    ephemUpdateAll(chart);
    updateViewCenterFromTarget(chart);

    std::unique_ptr<ChartState> shownOwner(new ChartState{});
    ChartState *shown = shownOwner.get();
    chartStateSetDefaults(shown);
    chartSetSite(shown, 51.4769, 0.0, 0.0);
    chartSetJd(shown, kNightJd, 0.0);
    shown->planetFlags[2] |= kBodyShown;
    ephemUpdateAll(shown);
    const double mars[2] = {shown->planets[2].raDeg, shown->planets[2].decDeg};
    double ofDate[2];
    convertCoords(&shown->sky, COORD_EQT, mars, COORD_EQT_DATE, ofDate);
    EXPECT_NEAR(chart->centerMode[0], ofDate[0], 1e-9);
    EXPECT_NEAR(chart->centerMode[1], ofDate[1], 1e-9);
    EXPECT_NE(mars[0], 0.0);
    chartStateFreeTables(shown);

    // A Galilean moon as the target brings Jupiter and the moons with it.
    chart->jupiterMoonFlags = 0;
    target(chart, kPosJupiterMoon, 1, 0, 0, 2);
    ephemUpdateAll(chart);
    EXPECT_EQ(chart->galileanMoons[0].jd, chart->sky.jd);
    EXPECT_EQ(chart->planets[3].jd, chart->sky.jd);
}

TEST(ScreenPoint, PackedPixelsKeepTheirSign)
{
    struct Case {
        int32_t x, y;
    } cases[] = {{0, 0}, {5, 7}, {-1, 0}, {0, -1}, {-3, -4}, {32767, -32768}, {1279, 1023}};
    for (const Case &c : cases) {
        int32_t x = 0, y = 0;
        screenPointUnpack(screenPointPack(c.x, c.y), &x, &y);
        EXPECT_EQ(x, c.x);
        EXPECT_EQ(y, c.y);
    }
    EXPECT_EQ(screenPointPack(5, 7), 7 * 65536 + 5);
    int32_t x, y;
    screenPointUnpack(65535, &x, &y); // x = -1 on row 0, not pixel 65535
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, 0);
}

} // namespace
