// Coordinate grids, the landscape and the direction labels, on the
// recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "render/layers/grids.h"
#include "render/layers/landscape.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/test_chart.h"

namespace {

// A chart whose date and site go through the program's own setters.
struct GridChart : ChartFixture {
    explicit GridChart(double latitude = 50.0) {
        chartSetSite(chart.get(), latitude, 10.0, 0.0);
        chartSetJd(chart.get(), JD_J2000, 0.0);
        chart->gridNumberFlags = 0;
        chart->horizonGridFlags = 0;
        chart->equatorialGridFlags = 0;
        chart->otherGridFlags = 0;
        chart->lineNumberFlags = 0;
    }
};

// Every grid segment sets its line style first, so the style calls count
// the segments (a segment split at a map's edge is still one).
int segmentCount(const RecordingCanvas &c) { return static_cast<int>(c.callsOf(OpSetLineAttributes).size()); }

std::vector<std::string> texts(const RecordingCanvas &c) {
    std::vector<std::string> out;
    for (const CanvasCall &call : c.callsOf(OpDrawString)) out.push_back(call.text);
    return out;
}

// ---- tables ------------------------------------------------------------------

TEST(GridTables, LatitudeSinesPoleBarsAndHorizonSinesAreTheWorkedValues) {
    // sin(80 - 10 i) x 16384, truncated.
    const int32_t z[kGridLatitudes] = {16135, 15395, 14188, 12550, 10531, 8191, 5603, 2845, 0};
    for (int i = 0; i < kGridLatitudes; i++) EXPECT_EQ(gridLatitudeZ[i], z[i]) << i;
    // 1 degree from the pole: sin 1 = 0.017452 -> 285, cos 1 = 0.999848 -> 16381.
    EXPECT_EQ(gridPoleBars[0][0].x, 285);
    EXPECT_EQ(gridPoleBars[0][0].z, 16381);
    EXPECT_EQ(gridPoleBars[0][1].x, -285);
    EXPECT_EQ(gridPoleBars[1][0].y, 285);
    EXPECT_EQ(gridPoleBars[3][1].y, -285);
    EXPECT_EQ(gridPoleBars[3][1].z, -16381);
    // sin 0, 30, 45 (k = 9), 90 degrees.
    EXPECT_EQ(horizonSineQ14[0], 0);
    EXPECT_EQ(horizonSineQ14[6], 8191);
    EXPECT_EQ(horizonSineQ14[9], 11585);
    EXPECT_EQ(horizonSineQ14[18], 16384);
}

TEST(GridTables, HourMeridiansPastSixMirrorTheirRowAndOctantsFlipSigns) {
    // Meridian 9 (67.5 degrees) is meridian 3 (22.5) with x and y exchanged.
    Vec3Q14 a, b;
    gridPoint(0, 0, 9, 4, &a);
    gridPoint(0, 0, 3, 4, &b);
    EXPECT_EQ(a.x, b.y);
    EXPECT_EQ(a.y, b.x);
    EXPECT_EQ(a.z, 10531);
    gridPoint(0, 0, 12, 8, &a); // 6h on the equator: the y axis
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 16384);

    struct Case {
        int octant, sx, sy, sz;
    } cases[] = {{0, 1, 1, 1},   {1, -1, 1, 1},  {2, -1, -1, 1}, {3, 1, -1, 1},
                 {4, 1, 1, -1},  {5, -1, 1, -1}, {6, -1, -1, -1}, {7, 1, -1, -1}};
    Vec3Q14 base;
    gridPoint(1, 0, 3, 4, &base); // 30 degrees, latitude 40
    ASSERT_GT(base.x, 0);
    ASSERT_GT(base.y, 0);
    for (const Case &c : cases) {
        Vec3Q14 v;
        gridPoint(1, c.octant, 3, 4, &v);
        EXPECT_EQ(v.x, c.sx * base.x) << c.octant;
        EXPECT_EQ(v.y, c.sy * base.y) << c.octant;
        EXPECT_EQ(v.z, c.sz * base.z) << c.octant;
    }
}

// ---- labels --------------------------------------------------------------------

TEST(GridLabels, TextsOfEachOctantStyleAndMode) {
    resetTestAppData();
    struct Case {
        const char *name;
        int32_t mode;
        int degree, style, octant, j, i;
        const char *text; // null: no label
    } cases[] = {
        {"3h at +40", kModeEqt, 0, 1, 0, 6, 4, "3h+40\260"},
        {"3h at -40 (southern octant)", kModeEqt, 0, 1, 4, 6, 4, "3h-40\260"},
        {"3h on the equator", kModeEqt, 0, 1, 0, 6, 8, "3h00\260"},
        {"half hour unlabelled", kModeEqt, 0, 1, 0, 5, 4, nullptr},
        {"hour octant 1: 12 - j/2", kModeEqt, 0, 1, 1, 4, 0, "10h+80\260"},
        {"hour octant 2: 12 + j/2", kModeEqt, 0, 1, 2, 4, 0, "14h+80\260"},
        {"hour octant 3: 24 - j/2", kModeEqt, 0, 1, 3, 4, 0, "22h+80\260"},
        {"hour octant 7 at 0h: 0, not 24", kModeEqt, 0, 1, 7, 0, 1, "0h-70\260"},
        {"hour octant 5", kModeEqt, 0, 1, 5, 2, 7, "11h-10\260"},
        {"degree octant 0", kModeEcl, 1, 1, 0, 3, 5, "30\260+30\260"},
        {"degree octant 1: 180 - 10 j", kModeEcl, 1, 1, 1, 3, 5, "150\260+30\260"},
        {"degree octant 2: 180 + 10 j", kModeEcl, 1, 1, 2, 3, 5, "210\260+30\260"},
        {"degree octant 3: 360 - 10 j", kModeEcl, 1, 1, 3, 3, 5, "330\260+30\260"},
        {"degree octant 3 at 0: 0, not 360", kModeEcl, 1, 1, 3, 0, 5, "0\260+30\260"},
        {"degree octant 6 southern", kModeGal, 1, 1, 6, 9, 2, "270\260-60\260"},
        {"great circle hours", kModeEqt, 0, 0, 1, 2, 8, "11h"},
        {"great circle degrees", kModeEcl, 1, 0, 2, 9, 8, "270\260"},
        {"great circle odd hour", kModeEqt, 0, 0, 0, 3, 8, nullptr},
        {"horizontal: 360 - g", kModeEqt, 1, 2, 0, 3, 5, "330\260+30\260"},
        {"horizontal: 0 stays 0", kModeEqt, 1, 2, 3, 0, 4, "0\260+40\260"},
        {"horizontal octant 1: 180 - 10 j -> 190", kModeEqt, 1, 2, 1, 1, 6, "190\260+20\260"},
        {"horizontal horizon labelled in a sky chart", kModeEqt, 1, 2, 0, 3, 8, "330\26000\260"},
        {"horizontal horizon unlabelled in HRZ", kModeHrz, 1, 2, 0, 3, 8, nullptr},
        {"horizontal horizon unlabelled in PLNS", kModePlns, 1, 2, 2, 3, 8, nullptr},
        {"horizontal above the horizon in HRZ", kModeHrz, 1, 2, 0, 3, 7, "330\260+10\260"},
    };
    for (const Case &c : cases) {
        char buf[64] = "unchanged";
        const int has = gridLabelFormat(c.mode, c.degree, c.style, c.octant, c.j, c.i, buf, sizeof buf);
        if (c.text == nullptr) {
            EXPECT_EQ(has, 0) << c.name;
        } else {
            EXPECT_EQ(has, 1) << c.name;
            EXPECT_STREQ(buf, c.text) << c.name;
        }
    }
}

TEST(GridLines, DashedBySubdivisionAndModeExceptTheEquator) {
    struct Case {
        int subdivision, equator, dashed;
    } cases[] = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {3, 1, 0}};
    for (const Case &c : cases)
        EXPECT_EQ(gridLineDashed(c.subdivision, c.equator), c.dashed) << c.subdivision << "/" << c.equator;
    const int32_t wholeSky[] = {kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal, kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal};
    for (int32_t mode : wholeSky) EXPECT_EQ(gridEffectiveSubdivision(mode, 3), 0) << mode;
    const int32_t others[] = {kModeHrz, kModeEqt, kModeEcl, kModeGal, kModePlns};
    for (int32_t mode : others) EXPECT_EQ(gridEffectiveSubdivision(mode, 2), 2) << mode;
}

// ---- segment counts ----------------------------------------------------------------

// Whole sphere on the Aitoff map (every point projects): per octant 8
// segments of meridian 0, then per meridian j the 80-degree parallel and
// for each of the 8 lower latitudes a meridian and a parallel segment
// (hour grids: meridians of whole hours only), and 4 pole bars.
// Degree: 8 x (8 + 9 x 17) + 4 = 1292. Hour: 8 x (8 + 12 x 9 + 6 x 8) + 4 = 1316.
TEST(GridSegments, WholeSkyMapDrawsEveryCellAndIgnoresTheSubdivision) {
    for (int s = 0; s <= 3; s++) {
        GridChart f;
        f.view(kModeAll2Eqt, 800, 400, 360.0);
        f.chart->gridNumberFlags = static_cast<uint8_t>(s);
        RecordingCanvas c;
        f.chart->equatorialGridFlags = kEqtGrid2000;
        chartDrawGrids(f.chart.get(), &c);
        EXPECT_EQ(segmentCount(c), 1316) << "hour grid, subdivision " << s;
        c.clear();
        f.chart->equatorialGridFlags = 0;
        f.chart->otherGridFlags = kGalGrid;
        chartDrawGrids(f.chart.get(), &c);
        EXPECT_EQ(segmentCount(c), 1292) << "degree grid, subdivision " << s;
    }
}

// The horizontal grid on the planisphere: the whole upper hemisphere is on
// the chart, 4 octants of 9 x 8 = 72 cells. Subdivision c = 2, 5, 10 adds
// c - 1 sub-meridians and c - 1 sub-parallels per cell.
TEST(GridSegments, SubdivisionsAddTheirLinesPerCell) {
    const int base = 4 * (8 + 9 * 17) + 2; // 646: north pole bars only
    const int expected[4] = {base, base + 288 * 2, base + 288 * 8, base + 288 * 18};
    for (int s = 0; s <= 3; s++) {
        GridChart f;
        f.view(kModePlns, 600, 600, 180.0);
        f.chart->horizonGridFlags = kHrzGrid;
        f.chart->gridNumberFlags = static_cast<uint8_t>(s);
        RecordingCanvas c;
        chartDrawGrids(f.chart.get(), &c);
        EXPECT_EQ(segmentCount(c), expected[s]) << "subdivision " << s;
        int dashed = 0;
        for (const CanvasCall &call : c.callsOf(OpSetLineAttributes)) dashed += call.a[1] == LineStyleOnOffDash;
        // Subdivision 0: all but the 36 horizon segments and the 2 bars are
        // dashed; otherwise exactly the subdivision lines are.
        EXPECT_EQ(dashed, s == 0 ? base - 36 - 2 : expected[s] - base) << "subdivision " << s;
    }
}

// The equatorial grid seen from the north pole on the planisphere: the
// celestial hemisphere above the horizon is the whole northern half.
TEST(GridSegments, HourGridSubdivisionDrawsHalfHoursAndMinuteLines) {
    // Per northern octant 12 x 8 = 96 cells; s = 1 adds the half-hour
    // meridian in the 48 odd cells and one sub-parallel in each; s = 2 two
    // sub-meridians per half hour and 4 sub-parallels; s = 3 five and 9.
    const int cells = 4 * 96, odd = 4 * 48;
    const int extra[4] = {0, odd + cells, odd + cells * (2 + 4), odd + cells * (5 + 9)};
    int base = 0;
    for (int s = 0; s <= 3; s++) {
        GridChart f(90.0);
        f.view(kModePlns, 600, 600, 180.0);
        f.chart->equatorialGridFlags = kEqtGrid2000;
        f.chart->gridNumberFlags = static_cast<uint8_t>(s);
        RecordingCanvas c;
        chartDrawGrids(f.chart.get(), &c);
        if (s == 0) base = segmentCount(c);
        EXPECT_EQ(segmentCount(c) - base, extra[s]) << "subdivision " << s;
    }
    // The northern half alone: 4 x (8 + 12 x 9 + 6 x 8) + 2 bars; the
    // southern octants add at most their equator segments (on the horizon).
    EXPECT_GE(base, 4 * (8 + 12 * 9 + 6 * 8) + 2);
    EXPECT_LE(base, 4 * (8 + 12 * 9 + 6 * 8) + 2 + 4 * 12);
}

TEST(GridSegments, BothViewMatricesAreRestoredBitForBit) {
    const int32_t modes[] = {kModeHrz, kModeEqt, kModeEcl, kModeGal, kModeAll1Eqt, kModeAll2Gal, kModePlns};
    for (int32_t mode : modes) {
        GridChart f;
        chartSetJd(f.chart.get(), 2460390.5, 0.0); // not J2000: the date grids really rotate
        f.view(mode, 640, 480, 90.0);
        f.chart->horizonGridFlags = kHrzGrid | kMeridian;
        f.chart->equatorialGridFlags = 0x3F;
        f.chart->otherGridFlags = kEclGrid | kEcl | kGalGrid | kGal;
        f.chart->gridNumberFlags = 0xFE;
        f.chart->lineNumberFlags = 0x3F;
        const ChartState before = *f.chart;
        RecordingCanvas c;
        chartDrawGrids(f.chart.get(), &c);
        EXPECT_GT(segmentCount(c), 0) << mode;
        EXPECT_EQ(std::memcmp(&before.viewMatrix, &f.chart->viewMatrix, sizeof before.viewMatrix), 0) << mode;
        EXPECT_EQ(std::memcmp(&before.horizonMatrix, &f.chart->horizonMatrix, sizeof before.horizonMatrix), 0) << mode;
        EXPECT_EQ(std::memcmp(&before.viewMatrixQ14, &f.chart->viewMatrixQ14, sizeof before.viewMatrixQ14), 0) << mode;
        EXPECT_EQ(std::memcmp(&before.horizonMatrixQ14, &f.chart->horizonMatrixQ14, sizeof before.horizonMatrixQ14), 0)
            << mode;
    }
}

TEST(GridSegments, EachSystemUsesItsColourInTheFixedOrder) {
    GridChart f;
    f.view(kModeAll2Eqt, 800, 400, 360.0);
    f.chart->horizonGridFlags = kHrzGrid | kMeridian;
    f.chart->equatorialGridFlags = kEqtGrid2000 | kEqt2000;
    f.chart->otherGridFlags = kEclGrid | kEcl | kGalGrid | kGal;
    RecordingCanvas c;
    chartDrawGrids(f.chart.get(), &c);
    std::vector<uint32_t> order;
    for (const CanvasCall &call : c.callsOf(OpSetForeground))
        if (order.empty() || order.back() != call.pixel) order.push_back(call.pixel);
    const PaletteIndex expected[] = {ColorHorizontalGrid, ColorEquatorialGrid, ColorEclipticGrid, ColorGalacticGrid,
                                     ColorMeridianLine,   ColorEquatorialLine, ColorEclipticLine,  ColorGalacticLine};
    ASSERT_EQ(order.size(), sizeof expected / sizeof expected[0]);
    for (size_t k = 0; k < order.size(); k++) EXPECT_EQ(order[k], appData->pixels[expected[k]]) << k;
}

// ---- labels on the chart ---------------------------------------------------------------

TEST(GridLabelsDrawn, HorizonCrossingsOfTheHorizontalGridAreUnlabelledInHrz) {
    GridChart f;
    f.chart->centerHrz[0] = 0.0;
    f.chart->centerHrz[1] = 30.0;
    f.view(kModeHrz, 800, 600, 120.0);
    f.chart->horizonGridFlags = kHrzGrid;
    f.chart->gridNumberFlags = kHrzGridNum;
    RecordingCanvas c;
    chartDrawGrids(f.chart.get(), &c);
    const std::vector<std::string> t = texts(c);
    ASSERT_FALSE(t.empty());
    for (const std::string &s : t) EXPECT_EQ(s.find("\26000\260"), std::string::npos) << s;
    // The south point's meridian at 10 degrees: azimuth 0.
    EXPECT_NE(std::find(t.begin(), t.end(), std::string("0\260+10\260")), t.end());
}

// The planisphere shows the whole meridian from the south to the north point
// (and draws it through the horizon frame's rotation from J2000).
TEST(GridLabelsDrawn, MeridianAltitudesRightAlignedAboveTheirPoints) {
    GridChart f;
    f.view(kModePlns, 600, 600, 180.0);
    f.chart->horizonGridFlags = kMeridian;
    f.chart->lineNumberFlags = kMeridianNum;
    RecordingCanvas c;
    chartDrawGrids(f.chart.get(), &c);
    const std::vector<std::string> t = texts(c);
    // 10..80 south, 90 at the zenith, 80..10 north; the horizon points none.
    const char *expected[] = {"10\260", "20\260", "30\260", "40\260", "50\260", "60\260", "70\260", "80\260",
                              "90\260", "80\260", "70\260", "60\260", "50\260", "40\260", "30\260", "20\260",
                              "10\260"};
    ASSERT_EQ(t.size(), sizeof expected / sizeof expected[0]);
    for (size_t k = 0; k < t.size(); k++) EXPECT_EQ(t[k], expected[k]) << k;
    EXPECT_EQ(segmentCount(c), 18);
    for (const CanvasCall &call : c.callsOf(OpSetLineAttributes)) EXPECT_EQ(call.a[1], LineStyleSolid);
    // South at the bottom: the labels climb to the zenith at the centre,
    // each right-aligned (its width, 6 per character, left of the point).
    const std::vector<CanvasCall> s = c.callsOf(OpDrawString);
    for (size_t k = 1; k < 9; k++) EXPECT_LT(s[k].a[2], s[k - 1].a[2]) << k;
    // The zenith "90\260" (3 characters) at the centre, within the
    // projection's pixel of rounding.
    EXPECT_NEAR(s[8].a[1], f.chart->centerX - 18, 1);
    EXPECT_NEAR(s[8].a[2], f.chart->centerY - 2, 1);
}

// ---- landscape and directions -----------------------------------------------------------

TEST(Landscape, PolygonFromProjectedPointsMirrorsAboutTheCentre) {
    const CanvasPoint pts[] = {{300, 400}, {340, 390}, {380, 370}};
    CanvasPoint out[kHorizonPolygonMax];
    ASSERT_EQ(horizonPolygonFromPoints(pts, 3, 300, 500, out), 7);
    const CanvasPoint expected[] = {{220, 500}, {220, 370}, {260, 390}, {300, 400}, {340, 390}, {380, 370}, {380, 500}};
    for (int k = 0; k < 7; k++) {
        EXPECT_EQ(out[k].x, expected[k].x) << k;
        EXPECT_EQ(out[k].y, expected[k].y) << k;
    }
    EXPECT_EQ(horizonPolygonFromPoints(pts, 0, 300, 500, out), 0);
}

TEST(Landscape, GroundBelowTheHorizonAndNoneAtTheZenith) {
    GridChart f;
    f.chart->skyFlags |= kHorizonShown;
    f.chart->centerHrz[0] = 0.0;
    f.chart->centerHrz[1] = 10.0;
    f.view(kModeHrz, 640, 480, 60.0);
    RecordingCanvas c;
    chartDrawLandscape(f.chart.get(), &c);
    std::vector<CanvasCall> fills = c.callsOf(OpFillPolygon);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].pixel, appData->pixels[ColorLandscape]);
    const int n = fills[0].a[0];
    EXPECT_EQ(n % 2, 1);
    EXPECT_GT(n, 3);
    EXPECT_EQ(fills[0].points.front().y, 480); // the bottom edge
    EXPECT_EQ(fills[0].points.back().y, 480);

    // Altitude 80 with a 20-degree field: the horizon is far off the chart.
    GridChart g;
    g.chart->skyFlags |= kHorizonShown;
    g.chart->centerHrz[1] = 80.0;
    g.view(kModeHrz, 640, 480, 20.0);
    RecordingCanvas d;
    chartDrawLandscape(g.chart.get(), &d);
    EXPECT_TRUE(d.callsOf(OpFillPolygon).empty());
    CanvasPoint out[kHorizonPolygonMax];
    EXPECT_EQ(horizonPolygon(g.chart.get(), out), 0);

    // Turned through 180 degrees: the ground hangs from the top edge.
    GridChart m;
    m.chart->skyFlags |= kHorizonShown;
    m.chart->centerHrz[1] = 10.0;
    m.view(kModeHrz, 640, 480, 60.0, 1);
    RecordingCanvas t;
    chartDrawLandscape(m.chart.get(), &t);
    fills = t.callsOf(OpFillPolygon);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].points.front().y, 0);
    EXPECT_EQ(fills[0].points.back().y, 0);

    // HORIZON off: nothing.
    f.chart->skyFlags &= static_cast<uint8_t>(~kHorizonShown);
    c.clear();
    chartDrawLandscape(f.chart.get(), &c);
    EXPECT_TRUE(c.calls.empty());
}

TEST(Directions, SixteenInTheHorizontalChartWithTheWholeHorizonOnIt) {
    GridChart f;
    f.chart->skyFlags |= kHorizonShown;
    f.chart->horizonGridFlags = kDirectionLabels;
    // The HRZ chart's projection centre sits near its bottom edge: looking
    // this high puts it near the zenith, with the whole horizon around it.
    f.chart->centerHrz[1] = 120.0;
    f.view(kModeHrz, 800, 800, 100.0);
    RecordingCanvas c;
    chartDrawLandscape(f.chart.get(), &c);
    const std::vector<CanvasCall> strings = c.callsOf(OpDrawString);
    const char *names[] = {"S", "SSE", "SE", "ESE", "E", "ENE", "NE", "NNE",
                           "N", "NNW", "NW", "WNW", "W", "WSW", "SW", "SSW"};
    ASSERT_EQ(strings.size(), 16u);
    for (int k = 0; k < 16; k++) {
        EXPECT_EQ(strings[k].text, names[k]) << k;
        EXPECT_EQ(strings[k].a[0], DirNameFontset);
        EXPECT_EQ(strings[k].pixel, appData->pixels[k % 4 == 0 ? ColorDirection1Font : ColorDirection2Font]) << k;
    }
}

TEST(Directions, FourAroundThePlanisphereAtTheirPlaces) {
    GridChart f;
    f.chart->centerHrz[0] = 0.0;
    f.view(kModePlns, 400, 400, 180.0);
    RecordingCanvas c; // font height f = 13, widest glyph 6
    chartDrawPlanisphereDirections(f.chart.get(), &c);
    const std::vector<CanvasCall> s = c.callsOf(OpDrawString);
    ASSERT_EQ(s.size(), 4u);
    // R = (400 - trunc(1.1 x 13)) / 2 = 193; angle -90 - 90 i:
    // S below (-90), E at -180 (left), N above, W at -360 (right).
    const int cx = f.chart->centerX, cy = f.chart->centerY;
    struct Where {
        const char *text;
        int x, y;
    } expected[] = {{"S", cx - 3, cy + 6 + 193}, {"E", cx - 193 - 3, cy + 6}, {"N", cx - 3, cy + 6 - 193},
                    {"W", cx + 193 - 3, cy + 6}};
    for (int k = 0; k < 4; k++) {
        EXPECT_EQ(s[k].text, expected[k].text) << k;
        EXPECT_EQ(s[k].a[1], expected[k].x) << k;
        EXPECT_EQ(s[k].a[2], expected[k].y) << k;
        EXPECT_EQ(s[k].pixel, appData->pixels[ColorDirection1Font]);
    }
}

} // namespace

// Every grid with its labels and subdivisions drawn on one chart through a
// run of views, each frame against a fresh chart's first: the kept points
// of each system are made anew by whatever moves that system on the chart
// (centre, field, mirror, window, mode, the date for the date's equator and
// the horizon, the site for the horizon).
TEST(GridsKept, EachFrameDrawsWhatAFreshChartDraws) {
    const struct {
        const char *name;
        int mode;
        double ra, dec, field;
        int mirror, width;
        double jd, latitude;
    } views[] = {
        {"equatorial", kModeEqt, 85.0, 20.0, 90.0, 0, 800, JD_J2000, 50.0},
        {"the same again", kModeEqt, 85.0, 20.0, 90.0, 0, 800, JD_J2000, 50.0},
        {"centre moved", kModeEqt, 86.0, 20.0, 90.0, 0, 800, JD_J2000, 50.0},
        {"field narrowed", kModeEqt, 86.0, 20.0, 60.0, 0, 800, JD_J2000, 50.0},
        {"mirrored", kModeEqt, 86.0, 20.0, 60.0, 2, 800, JD_J2000, 50.0},
        {"window wider", kModeEqt, 86.0, 20.0, 60.0, 2, 900, JD_J2000, 50.0},
        {"a century on", kModeEqt, 86.0, 20.0, 60.0, 2, 900, JD_J2000 + 36525.0, 50.0},
        {"horizontal", kModeHrz, 180.0, 30.0, 120.0, 0, 800, JD_J2000, 50.0},
        {"horizontal an hour on", kModeHrz, 180.0, 30.0, 120.0, 0, 800, JD_J2000 + 1.0 / 24.0, 50.0},
        {"horizontal further south", kModeHrz, 180.0, 30.0, 120.0, 0, 800, JD_J2000 + 1.0 / 24.0, -30.0},
        {"ecliptic", kModeEcl, 40.0, 0.0, 90.0, 0, 800, JD_J2000, 50.0},
        {"whole sky", kModeAll2Eqt, 0.0, 0.0, 360.0, 0, 800, JD_J2000, 50.0},
        {"cylindrical", kModeAll1Gal, 0.0, 0.0, 360.0, 0, 800, JD_J2000, 50.0},
        {"planisphere", kModePlns, 0.0, 90.0, 360.0, 0, 800, JD_J2000, 50.0},
    };
    auto showAll = [](ChartState *c) {
        c->horizonGridFlags = kHrzGrid | kMeridian;
        c->equatorialGridFlags = kEqtGrid2000 | kEqtGridDate | kEqtGrid1950 | kEqt2000 | kEqtDate | kEqt1950;
        c->otherGridFlags = kEclGrid | kGalGrid | kEcl | kGal;
        c->gridNumberFlags = kHrzGridNum | kEqtGrid2000Num | kEqtGridDateNum | kEqtGrid1950Num | kEclGridNum |
                             kGalGridNum | 2;
        c->lineNumberFlags = kMeridianNum | kEqt2000Num | kEqtDateNum | kEqt1950Num | kEclNum | kGalNum;
    };
    GridChart kept;
    showAll(kept.chart.get());
    for (const auto &v : views) {
        SCOPED_TRACE(v.name);
        GridChart fresh(v.latitude);
        showAll(fresh.chart.get());
        for (GridChart *g : {&fresh, &kept}) {
            ChartState *c = g->chart.get();
            chartSetSite(c, v.latitude, 10.0, 0.0);
            chartSetJd(c, v.jd, 0.0);
            c->centerMode[0] = v.ra;
            c->centerMode[1] = v.dec;
            g->view(v.mode, v.width, 600, v.field, v.mirror);
        }
        RecordingCanvas a, b;
        chartDrawGrids(fresh.chart.get(), &a);
        chartDrawGrids(kept.chart.get(), &b);
        EXPECT_GT(a.callsOf(OpDrawLine).size(), 50u);
        EXPECT_GT(a.callsOf(OpDrawString).size(), 10u);
        EXPECT_TRUE(sameCalls(a, b));
    }
}
