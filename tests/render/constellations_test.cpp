// Constellation figures, boundaries and names and the Milky Way on the
// recording canvas.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>

#include "astro/calendar.h"
#include "astro/constants.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "render/layers/constellations.h"
#include "render/lines.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "render/shown_objects.h"
#include "resources/catalogs.h"
#include "tests/render/chart_fixture.h"

namespace {

struct ConsChart : ChartFixture {
    ConsChart(int mode, double ra, double dec, double field) {
        chartSetJd(chart.get(), JD_J2000, 0.0);
        chart->centerMode[0] = ra;
        chart->centerMode[1] = dec;
        view(mode, 800, 600, field);
    }
};

using Segment = std::tuple<int, int, int, int>;

// Orion and its neighbours: every figure line drawn joins two stars of one
// figure, and a pen-up entry is never joined to the entry before it.
TEST(ConstLines, FiguresBreakAtEveryPenUpEntry) {
    ConsChart f(kModeEqt, 85.0, 0.0, 90.0);
    f.chart->constellationFlags = kConsLine;
    RecordingCanvas c;
    chartDrawConstLines(f.chart.get(), &c);
    std::set<Segment> drawn;
    for (const CanvasCall &call : c.callsOf(OpDrawLine)) {
        drawn.insert(Segment{call.a[0], call.a[1], call.a[2], call.a[3]});
        drawn.insert(Segment{call.a[2], call.a[3], call.a[0], call.a[1]});
    }
    ASSERT_GT(drawn.size(), 40u);
    int joins = 0, breaks = 0;
    for (int k = 1; k < constLineStarCount; k++) {
        const BrightStar &a = brightStars[constLineStars[k - 1] & ~constLinePenUp];
        const BrightStar &b = brightStars[constLineStars[k] & ~constLinePenUp];
        const Vec3Q14 va{a.x, a.y, a.z}, vb{b.x, b.y, b.z};
        ProjectedPoint pa{0, 0, 0, 0}, pb{0, 0, 0, 0};
        if (!projectPoint(f.chart.get(), &va, &pa) || !projectPoint(f.chart.get(), &vb, &pb)) continue;
        if (pa.x == pb.x && pa.y == pb.y) continue;
        const bool isDrawn = drawn.count(Segment{pa.x, pa.y, pb.x, pb.y}) > 0;
        if (constLineStars[k] & constLinePenUp) {
            // Two figures may share a star pair; only a pair that no figure
            // joins is a true break.
            breaks++;
        } else {
            EXPECT_TRUE(isDrawn) << "entry " << k;
            joins++;
        }
    }
    EXPECT_GT(joins, 40);
    EXPECT_GT(breaks, 5);
    EXPECT_EQ(static_cast<int>(c.callsOf(OpDrawLine).size()), joins);
    for (const CanvasCall &call : c.callsOf(OpSetForeground)) EXPECT_EQ(call.pixel, appData->pixels[ColorConstLine]);

    f.chart->constellationFlags = kConsName1 | kConsLimit; // no CONS_LINE: no figures
    c.clear();
    chartDrawConstLines(f.chart.get(), &c);
    EXPECT_TRUE(c.calls.empty());
}

TEST(ConstBorders, DashedThenSolidForTheLayersAfter) {
    ConsChart f(kModeEqt, 85.0, 0.0, 90.0);
    f.chart->constellationFlags = kConsLimit;
    RecordingCanvas c;
    chartDrawConstBorders(f.chart.get(), &c);
    const std::vector<CanvasCall> styles = c.callsOf(OpSetLineAttributes);
    ASSERT_EQ(styles.size(), 2u);
    EXPECT_EQ(styles.front().a[1], LineStyleOnOffDash);
    EXPECT_EQ(styles.back().a[1], LineStyleSolid);
    EXPECT_EQ(c.calls.back().op, OpSetLineAttributes);
    EXPECT_GT(c.callsOf(OpDrawLine).size(), 50u);
}

// The boundaries drawn from points kept by an earlier frame are the
// boundaries a chart that never drew them projects afresh, call for call:
// one chart is taken through views that each change one input of the
// projection (and twice through the same view), each against a new chart.
TEST(ConstBorders, KeptPointsDrawWhatAFreshProjectionDraws) {
    // A point of the boundaries, for a field where the projection works in doubles.
    const Vec3Q14 &on = constBorders[1].point;
    const double onRa = std::atan2(on.y, on.x) * kRadToDeg, onDec = std::asin(on.z / 16384.0) * kRadToDeg;
    const struct {
        const char *name;
        int mode;
        double ra, dec, field;
        int mirror, width;
        double jd;
    } views[] = {
        {"equatorial", kModeEqt, 85.0, 0.0, 90.0, 0, 800, JD_J2000},
        {"the same again", kModeEqt, 85.0, 0.0, 90.0, 0, 800, JD_J2000},
        {"centre moved", kModeEqt, 86.0, 0.0, 90.0, 0, 800, JD_J2000},
        {"field narrowed", kModeEqt, 86.0, 0.0, 60.0, 0, 800, JD_J2000},
        {"mirrored", kModeEqt, 86.0, 0.0, 60.0, 2, 800, JD_J2000},
        {"window wider", kModeEqt, 86.0, 0.0, 60.0, 2, 900, JD_J2000},
        {"past the precise scale, on a boundary", kModeEqt, onRa, onDec, 4.0, 0, 900, JD_J2000},
        {"horizontal", kModeHrz, 180.0, 30.0, 120.0, 0, 800, JD_J2000},
        {"horizontal an hour on", kModeHrz, 180.0, 30.0, 120.0, 0, 800, JD_J2000 + 1.0 / 24.0},
        {"horizontal turned", kModeHrz, 180.0, 30.0, 120.0, 1, 800, JD_J2000 + 1.0 / 24.0},
        {"whole sky", kModeAll2Eqt, 0.0, 0.0, 360.0, 0, 800, JD_J2000},
        {"cylindrical", kModeAll1Gal, 0.0, 0.0, 360.0, 0, 800, JD_J2000},
        {"planisphere", kModePlns, 0.0, 90.0, 360.0, 0, 800, JD_J2000},
    };
    ConsChart kept(kModeEqt, 85.0, 0.0, 90.0);
    kept.chart->constellationFlags = kConsLimit;
    for (const auto &v : views) {
        SCOPED_TRACE(v.name);
        ConsChart fresh(v.mode, v.ra, v.dec, v.field);
        chartSetJd(fresh.chart.get(), v.jd, 0.0);
        fresh.view(v.mode, v.width, 600, v.field, v.mirror);
        fresh.chart->constellationFlags = kConsLimit;
        chartSetJd(kept.chart.get(), v.jd, 0.0);
        kept.chart->centerMode[0] = v.ra;
        kept.chart->centerMode[1] = v.dec;
        kept.view(v.mode, v.width, 600, v.field, v.mirror);
        for (auto *f : {&fresh, &kept}) chartSetWrapMode(f->chart.get());
        RecordingCanvas a, b;
        chartDrawConstBorders(fresh.chart.get(), &a);
        chartDrawConstBorders(kept.chart.get(), &b);
        EXPECT_GT(a.callsOf(OpDrawLine).size(), 5u);
        EXPECT_TRUE(sameCalls(a, b));
    }
}

// One name alone is centred on its label point; with both, the local name
// stands above the abbreviation and the pair is centred. The recording
// canvas's font: 6 pixels a character, ascent 10, descent 3.
TEST(ConstNames, CentredOnTheLabelPoint) {
    for (uint8_t flags : {kConsName1, kConsName2, static_cast<uint8_t>(kConsName1 | kConsName2)}) {
        ConsChart f(kModeEqt, 85.0, 0.0, 90.0);
        f.chart->constellationFlags = flags;
        RecordingCanvas c;
        chartDrawConstNames(f.chart.get(), &c);
        const std::vector<CanvasCall> s = c.callsOf(OpDrawString);
        const bool both = flags == (kConsName1 | kConsName2);
        size_t k = 0, shown = 0;
        for (int row = 0; row < constellationCount; row++) {
            ProjectedPoint p{0, 0, 0, 0};
            if (!projectPoint(f.chart.get(), &constellations[row].point, &p)) continue;
            shown++;
            ASSERT_LT(k, s.size());
            const CanvasCall &first = s[k++];
            const int width = static_cast<int>(first.text.size()) * 6;
            EXPECT_LE(std::abs(first.a[1] + width / 2 - p.x), 1) << row;
            if (!both) {
                // Box from baseline - 10 to baseline + 3: its middle on y.
                EXPECT_LE(std::abs(2 * (first.a[2] - 10) + 13 - 2 * p.y), 2) << row << " " << first.text;
                EXPECT_EQ(first.text, flags == kConsName1 ? constellations[row].abbreviation
                                                          : constellations[row].latinName);
                continue;
            }
            ASSERT_LT(k, s.size());
            const CanvasCall &second = s[k++];
            EXPECT_EQ(first.text, constellations[row].latinName) << "local name first";
            EXPECT_EQ(second.text, constellations[row].abbreviation);
            EXPECT_EQ(second.a[2], first.a[2] + 13) << "one line below";
            // Two lines, from first baseline - 10 to second baseline + 3.
            EXPECT_LE(std::abs((first.a[2] - 10) + (second.a[2] + 3) - 2 * p.y), 2) << row;
        }
        EXPECT_EQ(k, s.size());
        EXPECT_GT(shown, 10u);
    }
}

TEST(MilkyWay, HiddenInABrightSkyOrByItsBit) {
    struct Case {
        const char *name;
        uint8_t flags;
        int skyLevel;
        bool drawn;
    } cases[] = {
        {"shown in a dark sky", 0x04 | 0x01, 0, true},
        {"sky level 4", 0x04, 4, true},
        {"sky level 5 is too bright", 0x04, 5, false},
        {"sky level 72", 0x04, 72, false},
        {"bit 0x02 hides it", 0x04 | 0x02, 0, false},
        {"MILKYWAY off", 0x01, 0, false},
    };
    for (const Case &c : cases) {
        ConsChart f(kModeAll2Gal, 0.0, 0.0, 360.0);
        f.chart->milkyWayFlags = c.flags;
        f.chart->skyLevel = c.skyLevel;
        RecordingCanvas canvas;
        chartDrawMilkyWay(f.chart.get(), &canvas);
        if (c.drawn) {
            // Every outline point but the first of each projects on the map.
            EXPECT_GE(static_cast<int>(canvas.callsOf(OpDrawLine).size()),
                      milkyWayPointCount - 2 * milkyWayOutlineCount) << c.name;
            EXPECT_EQ(canvas.callsOf(OpSetForeground).front().pixel, appData->pixels[ColorMilkyWayLine]);
        } else {
            EXPECT_TRUE(canvas.calls.empty()) << c.name;
        }
    }
}

TEST(StarLimit, MagnitudeFourReached) {
    TestChart chart;
    for (auto [limit, expected] : {std::pair{39, 0}, std::pair{40, 1}, std::pair{65, 1}}) {
        chart->starLimit = limit;
        EXPECT_EQ(chartLimitMagAtLeast4(chart.get()), expected) << limit;
    }
}

} // namespace
