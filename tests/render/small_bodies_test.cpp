// Comet heads and tails, minor planets, orbits and point symbols over a
// recording canvas, with bodies loaded and computed by the program's own
// routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "render/layers/grids.h"
#include "render/layers/small_bodies.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "render/layers/solar_bodies.h"
#include "render/star_symbols.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/element_rows.h"

namespace {

constexpr uint32_t pixel(int32_t index) { return 1000u + static_cast<uint32_t>(index); }

// A made-up long-period comet: q 1 AU, e 0.99 (aphelion 199 AU), perihelion
// in 1500, so in 1997 it is near aphelion, beyond 100 AU.
const char kFarComet[] =
    "C        X/1500 A1  Far Away                       1500 1 1.000000 0.99000000  1.00000000  30.000000 "
    " 40.000000  20.000000 2000.0   4.00                                                    X/1500 A1       ";

class SmallBodyDrawing : public ::testing::Test, public ChartFixture {
protected:
    RecordingCanvas canvas;

    void SetUp() override
    {
        solarBodyServices = kDefaultSolarBodyServices;
        appData->lineWidth = 1;
        chartSetSite(chart.get(), 35.0, 139.0, 0.0);
        const DateTime date{1997, 4, 1, 0, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
    }

    void load(const char *line)
    {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, line), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
    }
    void compute()
    {
        ephemUpdateAll(chart.get());
    }
    // A 90-degree equatorial chart centred on comet 0.
    void viewComet()
    {
        chart->centerMode[0] = chart->cometPositions[0].raJ2000;
        chart->centerMode[1] = chart->cometPositions[0].decJ2000;
        view(kModeEqt, 800, 800, 90.0);
    }
    int linesIn(int32_t colour) const
    {
        int n = 0;
        for (const CanvasCall &c : canvas.calls)
            if ((c.op == OpDrawLine || c.op == OpDrawLines) && c.pixel == pixel(colour))
                ++n;
        return n;
    }
    bool drewIn(int32_t colour) const
    {
        for (const CanvasCall &c : canvas.calls)
            if (c.op != OpSetForeground && c.op != OpSetLineAttributes && c.op != OpNote && c.pixel == pixel(colour))
                return true;
        return false;
    }
};

TEST_F(SmallBodyDrawing, TailsShortenAsTheSkyBrightens)
{
    load(kHaleBoppElements);
    compute();
    viewComet();
    ASSERT_EQ(chart->cometTails[0].dustCount, 10);
    ASSERT_EQ(chart->cometTails[0].ionCount, 10);
    // Samples drawn: 10, 10, 9, 4, 1, 0, none. A dust tail of c samples is
    // the first rung and two edges and a rung per further sample; an ion tail
    // of d points has d - 1 segments.
    struct Case {
        int level, samples;
    } cases[] = {{0, 10}, {3, 10}, {4, 9}, {8, 4}, {11, 1}, {12, 0}, {13, 0}};
    for (const Case &c : cases) {
        chart->skyLevel = c.level;
        canvas.clear();
        chartDrawComets(chart.get(), &canvas, 1);
        EXPECT_EQ(linesIn(ColorCometDulstTail), c.samples > 0 ? 1 + 3 * (c.samples - 1) : 0) << c.level;
        EXPECT_EQ(linesIn(ColorCometIonTail), std::max(c.samples - 1, 0)) << c.level;
    }
}

TEST_F(SmallBodyDrawing, EachTailFollowsItsOwnBit)
{
    load(kHaleBoppElements);
    compute();
    viewComet();
    chart->skyLevel = 0;
    struct Case {
        uint8_t flags;
        bool dust, ion;
    } cases[] = {
        {kBodyShown | kCometDustTail, true, false},
        {kBodyShown | kCometIonTail, false, true},
        {kBodyShown | kCometDustTail | kCometIonTail, true, true},
        {kCometDustTail | kCometIonTail, false, false}, // not shown
    };
    for (const Case &c : cases) {
        chart->cometFlags[0] = c.flags;
        canvas.clear();
        chartDrawComets(chart.get(), &canvas, 1);
        EXPECT_EQ(linesIn(ColorCometDulstTail) > 0, c.dust) << int(c.flags);
        EXPECT_EQ(linesIn(ColorCometIonTail) > 0, c.ion) << int(c.flags);
        EXPECT_FALSE(drewIn(ColorStar0)) << "pass 1 draws no head";
    }
}

TEST_F(SmallBodyDrawing, IonTailPointsAwayFromTheSun)
{
    load(kHaleBoppElements);
    compute();
    const CometTail &t = chart->cometTails[0];
    const Vec3 &sun = chart->sun.unit, &head = chart->cometPositions[0].geoUnit;
    auto angle = [&](const Vec3 &v) { return std::acos(v.x * sun.x + v.y * sun.y + v.z * sun.z); };
    EXPECT_GT(angle(t.ionGeo[t.ionCount - 1]), angle(head) + 1e-3);
}

TEST_F(SmallBodyDrawing, HeadIsNeverBrighterThanTwoMagnitudesAboveTheStarLimit)
{
    load(kHaleBoppElements);
    compute();
    viewComet();
    chart->starLimit = 60;
    const ProjectedPoint p = [&] {
        ProjectedPoint q{};
        EXPECT_TRUE(solarBodyServices.objectScreenPosition(chart.get(), kObjectCometBase, &q));
        return q;
    }();
    struct Case {
        int32_t own, drawnAs;
    } cases[] = {{20, 40}, {50, 50}, {40, 40}};
    for (const Case &c : cases) {
        chart->cometPositions[0].magnitude10 = c.own;
        chart->cometFlags[0] = kBodyShown;
        canvas.clear();
        chartDrawComets(chart.get(), &canvas, 0);
        RecordingCanvas star;
        starDrawSymbolColored(chart.get(), &star, p.x, p.y, p.depth, p.cosCentre, c.drawnAs, 0);
        ASSERT_FALSE(star.calls.empty());
        ASSERT_EQ(canvas.calls.size(), star.calls.size()) << c.own;
        for (size_t k = 0; k < star.calls.size(); ++k) {
            EXPECT_EQ(canvas.calls[k].op, star.calls[k].op) << c.own;
            EXPECT_EQ(std::vector<int>(canvas.calls[k].a, canvas.calls[k].a + 6),
                      std::vector<int>(star.calls[k].a, star.calls[k].a + 6))
                << c.own;
        }
    }
}

TEST_F(SmallBodyDrawing, SolarSystemViewDropsBodiesBeyondOneHundredAuButKeepsTheirOrbits)
{
    load(kFarComet);
    load(kHaleBoppElements);
    compute();
    ASSERT_GT(chart->cometPositions[0].sunDistance, 100.0);
    ASSERT_LT(chart->cometPositions[1].sunDistance, 100.0);
    ASSERT_GT(chart->cometPositions[0].outlineCount, 0);
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 90.0;
    chart->solScale = 400.0;
    view(kModeSol1, 800, 800, 90.0);
    chart->starLimit = 60;
    chart->cometFlags[1] = kBodyShown; // Hale-Bopp: head only
    canvas.clear();
    chartDrawSolarSystem(chart.get(), &canvas, 0);
    EXPECT_EQ(linesIn(ColorOrbitComet), 1) << "the far comet's orbit, one run";
    // Heads: nothing for the far comet, a symbol for Hale-Bopp.
    chart->cometFlags[1] = 0;
    canvas.clear();
    chartDrawComets(chart.get(), &canvas, 0);
    EXPECT_TRUE(canvas.calls.empty()) << "the far comet drew a head";
    chart->cometFlags[1] = kBodyShown;
    canvas.clear();
    chartDrawComets(chart.get(), &canvas, 0);
    EXPECT_FALSE(canvas.callsOf(OpDrawPoints).empty() && canvas.callsOf(OpDrawPoint).empty()) << "no head";
    canvas.clear();
    chartDrawComets(chart.get(), &canvas, 1);
    EXPECT_EQ(linesIn(ColorCometIonTail) + linesIn(ColorCometDulstTail), 0) << "tails in a solar-system view";
}

TEST_F(SmallBodyDrawing, PointSymbolsPixelByPixel)
{
    using Pixels = std::set<std::pair<int, int>>;
    const Pixels block2{{10, 20}, {11, 20}, {10, 21}, {11, 21}};
    Pixels block3, plus{{10, 20}, {9, 20}, {11, 20}, {10, 19}, {10, 21}};
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            block3.insert({10 + dx, 20 + dy});
    Pixels sun = block3;
    sun.insert({{8, 20}, {12, 20}, {10, 18}, {10, 22}});
    struct Case {
        int id;
        int32_t colour;
        int size;
        Pixels pixels;
    } cases[] = {
        {-3, ColorEarth, 2, block2},       {-2, ColorPlanet, 5, sun},       {0, ColorPlanet, 2, block2},
        {1, ColorPlanet, 2, block2},       {2, ColorMarsDisk, 2, block2},   {3, ColorJupiterDisk, 4, block3},
        {4, ColorSaturnDisk, 4, block3},   {5, ColorOuterPlanetsDisk, 3, plus}, {6, ColorOuterPlanetsDisk, 3, plus},
        {7, ColorOuterPlanetsDisk, 3, plus}, {-1, 0, 0, {}},                {8, 0, 0, {}},
    };
    for (const Case &c : cases) {
        canvas.clear();
        EXPECT_EQ(drawPointSymbol(chart.get(), &canvas, 10, 20, c.id), c.size) << c.id;
        Pixels got;
        for (const CanvasCall &call : canvas.calls) {
            if (call.op == OpDrawPoints || call.op == OpDrawPoint) {
                EXPECT_EQ(call.pixel, pixel(c.colour)) << c.id;
                for (const CanvasPoint &pt : call.points)
                    got.insert({pt.x, pt.y});
                if (call.op == OpDrawPoint)
                    got.insert({call.a[0], call.a[1]});
            } else if (call.op != OpSetForeground) {
                ADD_FAILURE() << c.id << ": not a point";
            }
        }
        EXPECT_EQ(got, c.pixels) << c.id;
        if (c.size == 0) {
            EXPECT_TRUE(canvas.calls.empty()) << c.id;
        }
    }
}

TEST(AxisTicks, StrokesThirtyDegreesEitherSideOfTheLine)
{
    // Worked by hand: 9 cos 150 = -7.79, 9 sin 150 = 4.5, truncated.
    struct Case {
        int x0, y0, x1, y1;
        std::set<std::vector<int>> lines;
    } cases[] = {
        {0, 0, 100, 0, {{100, 0, 93, 4}, {100, 0, 93, -4}}},
        {50, 100, 50, 0, {{50, 0, 54, 7}, {50, 0, 46, 7}}},
        {5, 5, 5, 5, {}},
    };
    for (const Case &c : cases) {
        RecordingCanvas canvas;
        drawAxisTicks(&canvas, c.x0, c.y0, c.x1, c.y1);
        std::set<std::vector<int>> got;
        for (const CanvasCall &call : canvas.callsOf(OpDrawLine))
            got.insert({call.a[0], call.a[1], call.a[2], call.a[3]});
        EXPECT_EQ(got, c.lines) << c.x1 << "," << c.y1;
    }
}

// An orbit is drawn for a body that is shown and has _OBT: a hidden body's
// orbit stays off the solar-system view whatever its _OBT says, and a shown
// body's orbit needs its _OBT.
TEST_F(SmallBodyDrawing, AnOrbitNeedsBothTheShownBitAndObt)
{
    load(kHaleBoppElements);
    compute();
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 90.0;
    chart->solScale = 80.0;
    view(kModeSol1, 800, 800, 90.0);
    uint8_t none = 0;
    struct Case {
        const char *name;
        uint8_t *flags;
        uint8_t value;
        int32_t colour;
        bool drawn;
    } cases[] = {
        {"Jupiter shown with _OBT", &chart->planetFlags[kObjectJupiter], kBodyShown | kBodyOrbit, ColorOrbit, true},
        {"Jupiter hidden with _OBT", &chart->planetFlags[kObjectJupiter], kBodyOrbit, ColorOrbit, false},
        {"Jupiter shown without _OBT", &chart->planetFlags[kObjectJupiter], kBodyShown, ColorOrbit, false},
        {"the Earth shown with _OBT", &chart->earthFlags, kBodyShown | kBodyOrbit, ColorOrbit, true},
        {"the Earth hidden with _OBT", &chart->earthFlags, kBodyOrbit, ColorOrbit, false},
        {"a comet shown with _OBT", &chart->cometFlags[0], kBodyShown | kBodyOrbit, ColorOrbitComet, true},
        {"a comet hidden with _OBT", &chart->cometFlags[0], kBodyOrbit, ColorOrbitComet, false},
        {"a comet shown without _OBT", &chart->cometFlags[0], kBodyShown, ColorOrbitComet, false},
        {"nothing shown", &none, 0, ColorOrbit, false},
    };
    for (const Case &c : cases) {
        for (uint8_t &f : chart->planetFlags)
            f = 0;
        chart->earthFlags = 0;
        chart->cometFlags[0] = 0;
        *c.flags = c.value;
        canvas.clear();
        chartDrawOrbits(chart.get(), &canvas);
        EXPECT_EQ(linesIn(c.colour) > 0, c.drawn) << c.name;
        EXPECT_EQ(linesIn(ColorOrbit) + linesIn(ColorOrbitComet) > 0, c.drawn) << c.name << ": no other orbit";
    }
}

TEST_F(SmallBodyDrawing, PlanetOrbitsAreRedoneOnlyAfterAThousandYears)
{
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 90.0;
    chart->solScale = 80.0;
    view(kModeSol1, 800, 800, 90.0);
    chart->planetFlags[3] = kBodyShown | kBodyOrbit; // Jupiter
    const double jd0 = chart->sky.jd;
    chartDrawOrbits(chart.get(), &canvas);
    EXPECT_EQ(chart->orbitJd, jd0);
    EXPECT_GE(linesIn(ColorOrbit), 1);
    const Vec3 first = chart->planetOrbits[4][0];
    struct Case {
        double days;
        double stamped; // days after jd0
    } cases[] = {{365252.0, 0.0}, {-365252.0, 0.0}, {365252.5, 365252.5}};
    for (const Case &c : cases) {
        chartSetJd(chart.get(), jd0 + c.days, 0.0);
        chartDrawOrbits(chart.get(), &canvas);
        EXPECT_EQ(chart->orbitJd, jd0 + c.stamped) << c.days;
    }
    EXPECT_NE(chart->planetOrbits[4][0].x, first.x) << "outlines not recomputed";
}

} // namespace

namespace {

TEST_F(SmallBodyDrawing, SolarSystemAxesWithTicksAndTheEclipticPoleUprightInTheEclipticView)
{
    chart->otherGridFlags = kSolGrid;
    chart->solScale = 10.0;
    struct Case {
        int mode;
        bool upright;
    } cases[] = {{kModeSol1, false}, {kModeSol2, true}};
    for (const Case &c : cases) {
        // Seen obliquely: no axis along the line of sight.
        chart->centerMode[0] = 30.0;
        chart->centerMode[1] = 30.0;
        view(c.mode, 800, 800, 90.0);
        canvas.clear();
        chartDrawOrbits(chart.get(), &canvas);
        std::vector<CanvasCall> axis;
        for (const CanvasCall &call : canvas.callsOf(OpDrawLine))
            if (call.pixel == pixel(ColorSolarAxis))
                axis.push_back(call);
        // Per axis: the line to its end, two ticks there, the line to the opposite end.
        ASSERT_EQ(axis.size(), 8u) << c.mode;
        const int sunX = axis[0].a[0], sunY = axis[0].a[1];
        for (int k : {0, 3, 4, 7}) {
            EXPECT_EQ(axis[static_cast<size_t>(k)].a[0], sunX) << "lines start at the Sun " << k;
            EXPECT_EQ(axis[static_cast<size_t>(k)].a[1], sunY) << k;
        }
        // Ticks start at the end of the line they mark.
        EXPECT_EQ(axis[1].a[0], axis[0].a[2]);
        EXPECT_EQ(axis[2].a[1], axis[0].a[3]);
        if (c.upright) {
            EXPECT_EQ(axis[0].a[2], sunX) << "ecliptic pole axis upright";
            EXPECT_EQ(axis[3].a[2], sunX);
        }
    }
    chart->otherGridFlags = 0;
    canvas.clear();
    chartDrawOrbits(chart.get(), &canvas);
    EXPECT_EQ(linesIn(ColorSolarAxis), 0);
}

} // namespace
