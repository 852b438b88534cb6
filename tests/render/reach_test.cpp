// What the comet and orbit layers leave out because it cannot reach the
// chart, checked against the shipped element files: a comet whose tails the
// layer does not compute has, once they are computed anyway, no tail point
// the projection accepts; an orbit outline the layer does not draw has no
// point and no segment on the pixmap. Each case also shows that something
// is left out, so the check is not empty.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "astro/coords.h"
#include "model/chart_date.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "render/frame.h"
#include "render/layers/small_bodies.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "tests/render/chart_fixture.h"

namespace {

std::vector<std::string> elementLines(const char *file, size_t most)
{
    std::ifstream in(std::string(TAVIK_SOURCE_DIR) + "/data/" + file);
    std::vector<std::string> lines;
    std::string line;
    while (lines.size() < most && std::getline(in, line))
        if (line.size() > 160)
            lines.push_back(line + "\n");
    return lines;
}

// The comet's line with longer tails and a weaker dust parameter, whose
// second grain size is pushed farther than the grain the tail search
// follows: columns 143-146 dust, 148-151 ion, 153-155 the parameter.
std::string longTails(std::string line)
{
    line.replace(143, 4, "0.30");
    line.replace(148, 4, "0.50");
    line.replace(153, 3, "0.3");
    return line;
}

class Reach : public ::testing::Test, public ChartFixture {
protected:
    void SetUp() override
    {
        const DateTime date{2024, 3, 20, 22, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
    }
};

TEST_F(Reach, ACometWhoseTailsAreLeftOutHasNoTailPointOnTheChart)
{
    struct Case {
        const char *name;
        bool longTails;
        int mode;
        double lon, lat, field;
        int leftOutAtLeast; // of 419 comets
    } cases[] = {
        {"equatorial 60 degrees, shipped tails", false, kModeEqt, 30.0, 10.0, 60.0, 300},
        {"equatorial 60 degrees near the Sun, long tails", true, kModeEqt, 0.0, 0.0, 60.0, 300},
        {"equatorial 20 degrees, long tails", true, kModeEqt, 200.0, -20.0, 20.0, 350},
        {"horizontal chart, long tails", true, kModeHrz, 180.0, 40.0, 90.0, 100},
    };
    // Every ninth comet of the shipped file.
    std::vector<std::string> lines;
    const std::vector<std::string> all = elementLines("comet.elm", 100000);
    for (size_t i = 0; i < all.size(); i += 9)
        lines.push_back(all[i]);
    ASSERT_GT(lines.size(), 400u);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clearComets(chart.get());
        for (const std::string &text : lines) {
            OrbitalElements el;
            ASSERT_EQ(parseElementLine(&el, (c.longTails ? longTails(text) : text).c_str()), 1);
            ASSERT_EQ(addComet(chart.get(), &el), 1);
        }
        ephemUpdateAll(chart.get()); // every tail, for the check
        if (c.mode == kModeHrz) {
            chart->centerHrz[0] = c.lon;
            chart->centerHrz[1] = c.lat;
        } else {
            chart->centerMode[0] = c.lon;
            chart->centerMode[1] = c.lat;
        }
        view(c.mode, 800, 600, c.field);
        chart->skyLevel = 0;
        CullBandSave save;
        chartPushCullBand(2048, -8192, chart.get(), &save); // the tails' band
        int leftOut = 0;
        for (int i = 0; i < chart->cometCount; ++i) {
            if (cometTailsCanReachChart(chart.get(), i))
                continue;
            ++leftOut;
            const CometTail &t = chart->cometTails[i];
            ProjectedPoint p;
            for (int k = 0; k < t.ionCount; ++k)
                EXPECT_EQ(projectPointPrecise(chart.get(), &t.ionGeo[k], &p), 0) << "comet " << i << " ion " << k;
            for (int k = 0; k < 2 * t.dustCount; ++k)
                EXPECT_EQ(projectPointPrecise(chart.get(), &t.dustGeo[k], &p), 0) << "comet " << i << " dust " << k;
        }
        chartPopCullBand(chart.get(), &save);
        EXPECT_GE(leftOut, c.leftOutAtLeast);
    }
}

// Hale-Bopp with long tails, near the Sun in April 1997 with its dust tail
// hidden (the ion tail's bound), and 25 AU out in 2007 with both tails (the
// dust tail's bound; there it reaches about a tenth of a degree): views
// centred farther and farther along the tail, to the first whose cone leaves
// the head out but holds a tail point; there the tails must be computed.
TEST_F(Reach, AHeadJustOffTheChartWhoseTailReachesIntoItKeepsItsTails)
{
    struct Case {
        const char *name;
        DateTime date;
        const char *dust, *ion;
        bool dustShown;
        double step, last; // radians
    } cases[] = {
        {"near the Sun, ion tail", {1997, 4, 1, 0, 0, 0.0, 0.0}, "0.10", "0.20", false, 0.005, 1.5},
        {"25 AU out, both tails", {2007, 1, 1, 0, 0, 0.0, 0.0}, "0.30", "0.50", true, 0.00002, 0.6},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        clearComets(chart.get());
        chartSetDate(chart.get(), &k.date);
        std::string line =
            "C        C/1995 O1  Hale-Bopp                      1997 330.937848 0.99496070  0.91741434 130.662021 "
            "282.948754  89.217090 2000.0   4.00                                                    C/1995 O1       \n";
        line.replace(143, 4, k.dust);
        line.replace(148, 4, k.ion);
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, line.c_str()), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
        if (!k.dustShown)
            chart->cometFlags[0] &= static_cast<uint8_t>(~kCometDustTail);
        ephemUpdateAll(chart.get());
        double ionSpread, dustSpread;
        ephemCometTailSpread(chart.get(), 0, &ionSpread, &dustSpread);
        ASSERT_LT(k.dustShown ? dustSpread : ionSpread, chart->cometPositions[0].earthDistance) << "the tail is bounded";
        const CometTail &t = chart->cometTails[0];
        ASSERT_EQ(t.ionCount, kTailAges);
        std::vector<Vec3> points(t.ionGeo, t.ionGeo + t.ionCount);
        if (k.dustShown) {
            ASSERT_EQ(t.dustCount, kTailAges);
            points.insert(points.end(), t.dustGeo, t.dustGeo + 2 * t.dustCount);
        }
        // The point of the tail farthest from the head.
        const Vec3 h = chart->cometPositions[0].geoUnit;
        Vec3 far = points[0];
        for (const Vec3 &v : points)
            if (h.x * v.x + h.y * v.y + h.z * v.z < h.x * far.x + h.y * far.y + h.z * far.z)
                far = v;
        // The unit vector at angle a from the head on the great circle through that point.
        const double hf = h.x * far.x + h.y * far.y + h.z * far.z;
        Vec3 n{far.x - h.x * hf, far.y - h.y * hf, far.z - h.z * hf};
        const double nl = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        ASSERT_GT(nl, 1e-4) << "the tail leaves its head";
        bool found = false;
        for (double a = 0.0; a < k.last && !found; a += k.step) {
            const Vec3 c{h.x * std::cos(a) + n.x / nl * std::sin(a), h.y * std::cos(a) + n.y / nl * std::sin(a),
                         h.z * std::cos(a) + n.z / nl * std::sin(a)};
            const double j2000[2] = {std::atan2(c.y, c.x) * 180.0 / M_PI, std::asin(c.z) * 180.0 / M_PI};
            convertCoords(&chart->sky, COORD_EQT, j2000, COORD_EQT_DATE, chart->centerMode);
            view(kModeEqt, 800, 600, 20.0);
            CullBandSave save;
            chartPushCullBand(2048, -8192, chart.get(), &save);
            ProjectedPoint p;
            if (!projectPointPrecise(chart.get(), &h, &p)) {
                bool tailSeen = false;
                for (const Vec3 &v : points)
                    tailSeen = tailSeen || projectPointPrecise(chart.get(), &v, &p);
                if (tailSeen) {
                    found = true;
                    EXPECT_TRUE(cometTailsCanReachChart(chart.get(), 0)) << "centre " << a * 180.0 / M_PI << " degrees out";
                }
            }
            chartPopCullBand(chart.get(), &save);
        }
        EXPECT_TRUE(found) << "no view leaves the head out and holds the tail";
    }
}

TEST_F(Reach, TailsAreLeftOutWhereTheyAreNeverDrawnAndKeptOnTheWholeSkyMaps)
{
    const std::vector<std::string> lines = elementLines("comet.elm", 40);
    for (const std::string &text : lines) {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, text.c_str()), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
    }
    ephemUpdateAll(chart.get());
    struct Case {
        const char *name;
        int mode, level;
        uint8_t flags;
        bool reach;
    } cases[] = {
        {"whole-sky map", kModeAll2Eqt, 0, kBodyShown | kCometIonTail, true},
        {"planisphere", kModePlns, 0, kBodyShown | kCometDustTail, true},
        {"solar-system view", kModeSol1, 0, kBodyShown | kCometIonTail | kCometDustTail, false},
        {"above sky level 12", kModeAll2Eqt, 13, kBodyShown | kCometIonTail | kCometDustTail, false},
        {"no tail bit", kModeAll2Eqt, 0, kBodyShown, false},
    };
    for (const Case &c : cases) {
        view(c.mode, 800, 600, 60.0);
        chart->skyLevel = c.level;
        for (int i = 0; i < chart->cometCount; ++i) {
            chart->cometFlags[i] = c.flags;
            EXPECT_EQ(cometTailsCanReachChart(chart.get(), i), c.reach) << c.name << " comet " << i;
        }
    }
}

// Whether the segment a-b meets the rectangle [0, w] x [0, h].
bool segmentMeets(CanvasPoint a, CanvasPoint b, int w, int h)
{
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(a.x), static_cast<double>(w - a.x), static_cast<double>(a.y),
                         static_cast<double>(h - a.y)};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return false;
            continue;
        }
        const double r = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, r);
        else
            t1 = std::min(t1, r);
        if (t0 > t1)
            return false;
    }
    return true;
}

TEST_F(Reach, AnOrbitLeftOutHasNoPointOrSegmentOnThePixmap)
{
    // The origin moved as SOL_OFFSET x,y,z moves it: far from the Sun the
    // inner orbits lie wholly off the chart.
    struct Case {
        const char *name;
        double solScale, offset[3];
        int leftOutAtLeast; // of 1500
    } cases[] = {{"a third of an AU wide, 5 AU out", 0.3, {-5.0, 1.0, 0.0}, 1000},
                 {"two AU wide, 4 AU out", 2.0, {0.0, 4.0, 0.5}, 300},
                 {"twelve AU wide about the Sun", 12.0, {0.0, 0.0, 0.0}, 0}};
    for (const std::string &text : elementLines("mp.elm", 1500)) {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, text.c_str()), 1);
        ASSERT_EQ(addMinorPlanet(chart.get(), &el), 1);
    }
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        chart->solScale = c.solScale;
        for (int k = 0; k < 3; ++k)
            chart->solOffset[k] = c.offset[k];
        chart->centerMode[0] = 0.0;
        chart->centerMode[1] = 90.0;
        view(kModeSol1, 600, 400, 90.0);
        RecordingCanvas canvas;
        chartDrawOrbits(chart.get(), &canvas);
        using Run = std::vector<std::pair<int, int>>;
        std::set<Run> drawn;
        for (const CanvasCall &call : canvas.callsOf(OpDrawLines))
            if (call.pixel == 1000u + ColorOrbitMinorPlanet) {
                Run run;
                for (const CanvasPoint &p : call.points)
                    run.push_back({p.x, p.y});
                drawn.insert(run);
            }
        int leftOut = 0;
        for (int i = 0; i < chart->minorPlanetCount; ++i) {
            const BodyPosition &row = chart->minorPlanetPositions[i];
            ASSERT_GT(row.outlineCount, 0);
            // The runs of consecutive projected points, as the layer would
            // draw them (an open outline repeats its last point).
            std::vector<Run> runs(1);
            bool meets = false;
            for (int k = 0; k <= row.outlineCount; ++k) {
                ProjectedPoint p;
                if (!projectSolarSystemPoint(chart.get(), &row.outline[std::min(k, row.outlineCount - 1)], &p)) {
                    if (!runs.back().empty())
                        runs.emplace_back();
                    continue;
                }
                const CanvasPoint q{static_cast<int16_t>(p.x), static_cast<int16_t>(p.y)};
                if (!runs.back().empty()) {
                    const CanvasPoint last{static_cast<int16_t>(runs.back().back().first),
                                           static_cast<int16_t>(runs.back().back().second)};
                    meets = meets || segmentMeets(last, q, 600, 400);
                }
                runs.back().push_back({p.x, p.y});
            }
            Run first;
            for (const Run &r : runs)
                if (r.size() >= 2 && first.empty())
                    first = r;
            const bool isDrawn = !first.empty() && drawn.count(first) > 0;
            EXPECT_TRUE(isDrawn || !meets) << "minor planet " << i << " reaches the chart and was left out";
            leftOut += !first.empty() && !isDrawn ? 1 : 0;
        }
        EXPECT_GE(leftOut, c.leftOutAtLeast);
    }
}

} // namespace
