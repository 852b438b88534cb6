// Wrap-aware segments, the polyline pen, outlines and the masks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/lines.h"
#include "render/masks.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "tests/render/chart_fixture.h"

namespace {

ProjectedPoint at(int x, int y, int depth = 0, int cosCentre = 0) { return ProjectedPoint{x, y, depth, cosCentre}; }

std::vector<CanvasCall> linesOf(const RecordingCanvas &c) { return c.callsOf(OpDrawLine); }

TEST(Lines, CylindricalSegmentsAcrossHalfTheMapAreSplitAtTheEdges) {
    ChartFixture f;
    f.view(kModeAll1Eqt, 801, 400);
    chartSetWrapMode(f.chart.get());
    ASSERT_EQ(401, f.chart->frame.wrap.half);
    struct {
        const char *name;
        int ax, bx;
        size_t pieces;
    } cases[] = {
        {"400 columns apart are joined directly", 100, 500, 1},
        {"401 columns apart leave the map at both edges", 100, 501, 2},
        {"the same from right to left", 501, 100, 2},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        RecordingCanvas canvas;
        const ProjectedPoint a = at(k.ax, 50), b = at(k.bx, 60);
        chartDrawSegment(f.chart.get(), &canvas, &a, &b);
        const auto lines = linesOf(canvas);
        ASSERT_EQ(k.pieces, lines.size());
        if (k.pieces == 2) {
            const int period = 802; // width + 1
            const int left = std::min(k.ax, k.bx), right = std::max(k.ax, k.bx);
            const int leftY = k.ax < k.bx ? 50 : 60, rightY = k.ax < k.bx ? 60 : 50;
            // One piece from each end, running off the map on the near side.
            bool fromLeft = false, fromRight = false;
            for (const CanvasCall &l : lines) {
                if ((l.a[0] == left && l.a[1] == leftY && l.a[2] == right - period) ||
                    (l.a[2] == left && l.a[3] == leftY && l.a[0] == right - period))
                    fromLeft = true;
                if ((l.a[2] == right && l.a[3] == rightY && l.a[0] == left + period) ||
                    (l.a[0] == right && l.a[1] == rightY && l.a[2] == left + period))
                    fromRight = true;
            }
            EXPECT_TRUE(fromLeft);
            EXPECT_TRUE(fromRight);
        }
    }
}

// The wrap setting belongs to its chart: a chart drawn after another chart
// was set up as a cylindrical map joins its points directly (a setting kept
// for the whole program split a later horizontal chart's comet tails).
TEST(Lines, EachChartKeepsItsOwnWrapSetting) {
    ChartFixture map, sky;
    map.view(kModeAll1Eqt, 801, 400);
    sky.view(kModeHrz, 801, 400);
    chartSetWrapMode(map.chart.get());
    const ProjectedPoint a = at(100, 50), b = at(600, 60);
    struct {
        const char *name;
        ChartState *chart;
        size_t pieces;
    } cases[] = {
        {"the map splits at its edges", map.chart.get(), 2},
        {"a chart never set up draws straight", sky.chart.get(), 1},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        RecordingCanvas canvas;
        chartDrawSegment(k.chart, &canvas, &a, &b);
        EXPECT_EQ(k.pieces, linesOf(canvas).size());
    }
    chartSetWrapMode(sky.chart.get());
    EXPECT_EQ(map.chart->frame.wrap.kind, kWrapCylindrical) << "setting one chart leaves the other's alone";
}

// The Aitoff projection of (lon, lat) in the map's own frame.
ProjectedPoint aitoff(ChartState *c, double lon, double lat) {
    const Vec3Q14 u = toQ14(unitVector(lon, lat));
    ProjectedPoint p{0, 0, 0, 0};
    projectAitoffRotated(c, &u, &p);
    return p;
}

TEST(Lines, AitoffSegmentsRoundTheBackAreDrawnToTheRim) {
    ChartFixture f;
    f.view(kModeAll2Eqt, 800, 400);
    ChartState *c = f.chart.get();
    chartSetWrapMode(c);
    struct {
        const char *name;
        double lonA, latA, lonB, latB;
        size_t pieces;
    } cases[] = {
        {"small longitudes either side of the central meridian", 5, 10, -5, 12, 1},
        {"+170 and -170 go round the back", 170, 10, -170, 20, 2},
        {"near the same pole", 170, 86, -170, 87, 1},
        {"on the same side", 100, 0, 170, 0, 1},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        const ProjectedPoint a = aitoff(c, k.lonA, k.latA), b = aitoff(c, k.lonB, k.latB);
        RecordingCanvas canvas;
        chartDrawSegment(c, &canvas, &a, &b);
        const auto lines = linesOf(canvas);
        ASSERT_EQ(k.pieces, lines.size());
        if (k.pieces == 2) {
            // Both pieces end on the rim at the same row, symmetric about centerX.
            EXPECT_EQ(lines[0].a[3], lines[1].a[3]);
            EXPECT_EQ(c->centerX - lines[0].a[2], lines[1].a[2] - c->centerX);
            // The rim at mean latitude 15 lies near the map's edge.
            EXPECT_NEAR(380, std::abs(lines[0].a[2] - c->centerX), 25);
        }
    }
}

TEST(Lines, PolylineLiftsThePenAtACulledPoint) {
    ChartFixture f;
    f.chart->centerMode[0] = 0.0;
    f.chart->centerMode[1] = 0.0;
    f.view(kModeEqt, 600, 600, 40.0);
    chartSetWrapMode(f.chart.get());
    const Vec3Q14 pts[] = {toQ14(unitVector(-10, 0)), toQ14(unitVector(-5, 0)), toQ14(unitVector(180, 0)),
                           toQ14(unitVector(5, 0)), toQ14(unitVector(10, 0))};
    RecordingCanvas canvas;
    PolylineState pen = polylineStart(&pts[0], f.chart.get(), &canvas);
    EXPECT_EQ(1, pen.visible);
    for (int i = 1; i < 5; i++) polylineNext(&pts[i], &pen);
    EXPECT_EQ(2u, linesOf(canvas).size()) << "nothing drawn to or from the culled middle point";
}

TEST(Lines, OutlineStepByChartWidth) {
    struct {
        int width, step;
    } cases[] = {{500, 9}, {501, 5}, {1000, 5}, {1001, 3}, {5000, 3}, {5001, 2}};
    for (const auto &k : cases) EXPECT_EQ(k.step, outlineStepForWidth(k.width)) << k.width;
}

TEST(Lines, LimbOutlineRunsFromTopOverTheSideToTheBottom) {
    ChartFixture f;
    CanvasPoint pts[40];
    const int n = limbOutlinePoints(pts, 40, 100, 200, 50, 9, 0, 1);
    ASSERT_EQ(20, n);
    EXPECT_EQ(100, pts[0].x);
    EXPECT_EQ(150, pts[0].y);
    EXPECT_EQ(150, pts[10].x) << "the two halves meet at the side point";
    EXPECT_EQ(200, pts[10].y);
    EXPECT_EQ(100, pts[20].x);
    EXPECT_EQ(250, pts[20].y);
    // A half ellipse is half as high; the left side mirrors the columns.
    limbOutlinePoints(pts, 40, 100, 200, 50, 9, 1, 2);
    EXPECT_EQ(175, pts[0].y);
    EXPECT_EQ(50, pts[10].x);
    EXPECT_EQ(0, limbOutlinePoints(pts, 20, 100, 200, 50, 9, 0, 1)) << "too small a buffer is refused";
    EXPECT_EQ(0, limbOutlinePoints(pts, 40, 100, 200, 50, 7, 0, 1)) << "a step that does not divide 90";
}

TEST(Masks, CylindricalBandsCoverBeyondLatitude70Only) {
    struct {
        const char *name;
        int width, height;
        size_t bands;
    } cases[] = {
        {"a tall map gets both bands", 720, 400, 2},
        {"a map lower than about 0.39 of its width gets none", 1000, 380, 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        ChartFixture f;
        f.view(kModeAll1Eqt, k.width, k.height);
        RecordingCanvas canvas;
        chartMaskCylindrical(f.chart.get(), &canvas);
        const auto fills = canvas.callsOf(OpFillRectangle);
        ASSERT_EQ(k.bands, fills.size());
        for (const CanvasCall &r : fills) EXPECT_EQ(chartPixel(ColorPlanisphereBack), r.pixel);
    }
}

// The map is equidistant, W pixels for 360 degrees, so latitude 70 lies
// 70 x W / 360 pixels from the map's equator; the bands start there and
// cover a point at latitude 71 but not one at 69, in each of the three maps.
TEST(Masks, CylindricalBandEdgesFallOnLatitude70InEveryMap) {
    struct {
        const char *name;
        int width, height, top;
    } sizes[] = {
        {"720 x 400", 720, 400, 0},
        {"801 x 451 below a status bar", 801, 451, 16},
        {"1440 x 900, coarser fixed point", 1440, 900, 0},
    };
    for (int mode : {kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal}) {
        for (const auto &k : sizes) {
            SCOPED_TRACE(std::string(k.name) + " mode " + std::to_string(mode));
            ChartFixture f;
            ChartState *c = f.chart.get();
            c->centerMode[0] = 40.0;
            c->centerMode[1] = 0.0;
            f.view(mode, k.width, k.height, 60.0, 0, k.top);
            RecordingCanvas canvas;
            chartMaskCylindrical(c, &canvas);
            const auto fills = canvas.callsOf(OpFillRectangle);
            ASSERT_EQ(2u, fills.size());
            const double edge = 70.0 * k.width / 360.0;
            // The map's equator: the row a point of latitude 0 lands on.
            const Vec3Q14 onEquator = toQ14(directionInSystem(c, chartModeSystem(mode), 60.0, 0.0));
            ProjectedPoint equator{0, 0, 0, 0};
            ASSERT_EQ(1, projectPoint(c, &onEquator, &equator));
            const double cy = equator.y;
            // The upper band runs from the chart's top to its edge row.
            EXPECT_EQ(k.top, fills[0].a[1]);
            EXPECT_NEAR(cy - edge, fills[0].a[1] + fills[0].a[3], 2.0); // a whole row, less one
            EXPECT_NEAR(cy + edge, fills[1].a[1], 2.0);
            EXPECT_EQ(cy - (fills[0].a[1] + fills[0].a[3]), fills[1].a[1] - cy) << "as far north as south";
            for (const CanvasCall &band : fills) {
                EXPECT_EQ(0, band.a[0]);
                EXPECT_EQ(k.width, band.a[2]);
            }
            EXPECT_EQ(k.top + k.height, fills[1].a[1] + fills[1].a[3]) << "the lower band reaches the last row";
            const struct {
                double lat;
                bool covered;
            } points[] = {{71.0, true}, {69.0, false}, {-71.0, true}, {-69.0, false}, {0.0, false}};
            for (const auto &pt : points) {
                const Vec3Q14 v = toQ14(directionInSystem(c, chartModeSystem(mode), 60.0, pt.lat));
                ProjectedPoint p{0, 0, 0, 0};
                ASSERT_EQ(1, projectPoint(c, &v, &p)) << pt.lat;
                bool covered = false;
                for (const CanvasCall &band : fills)
                    covered = covered || (p.y >= band.a[1] && p.y < band.a[1] + band.a[3]);
                EXPECT_EQ(pt.covered, covered) << "latitude " << pt.lat << " at row " << p.y;
            }
        }
    }
}

TEST(Masks, PlanisphereMaskLeavesTheDiscOpen) {
    ChartFixture f;
    f.view(kModePlns, 800, 600);
    ChartState *c = f.chart.get();
    RecordingCanvas canvas;
    chartMaskPlanisphere(c, &canvas);
    const auto polys = canvas.callsOf(OpFillPolygon);
    ASSERT_EQ(2u, polys.size());
    const int n = 180 / outlineStepForWidth(800);
    for (const CanvasCall &p : polys) {
        ASSERT_EQ(static_cast<size_t>(n + 3), p.points.size());
        EXPECT_EQ(PolygonComplex, p.a[1]);
        // Every outline point lies on the disc's rim.
        for (int i = 0; i <= n; i++) {
            const double dx = p.points[i].x - c->centerX, dy = p.points[i].y - c->centerY;
            EXPECT_NEAR(c->radius, std::sqrt(dx * dx + dy * dy), 1.5);
        }
    }
    EXPECT_EQ(c->chartRect.x + c->chartRect.width + 1, polys[0].points[n + 1].x);
    EXPECT_EQ(c->chartRect.x, polys[1].points[n + 1].x);
}

TEST(Masks, TinyChartsNeverAskForNegativeSizes) {
    for (int mode : {kModePlns, kModeAll2Eqt, kModeAll1Eqt}) {
        SCOPED_TRACE(mode);
        ChartFixture f;
        f.view(mode, 1, 1);
        RecordingCanvas canvas;
        chartMaskPlanisphere(f.chart.get(), &canvas);
        chartMaskAitoff(f.chart.get(), &canvas);
        chartMaskCylindrical(f.chart.get(), &canvas);
        chartDrawPlanisphereBackground(f.chart.get(), &canvas);
        chartDrawAitoffBackground(f.chart.get(), &canvas);
        for (const CanvasCall &call : canvas.calls) {
            if (call.op == OpFillRectangle || call.op == OpFillArc) {
                EXPECT_GE(call.a[2], 0);
                EXPECT_GE(call.a[3], 0);
            }
        }
    }
}

TEST(Masks, AitoffBackgroundIsTheEllipseInTheSkyColour) {
    ChartFixture f;
    f.view(kModeAll2Eqt, 802, 500);
    ChartState *c = f.chart.get();
    RecordingCanvas canvas;
    chartDrawAitoffBackground(c, &canvas);
    const auto arcs = canvas.callsOf(OpFillArc);
    ASSERT_EQ(1u, arcs.size());
    EXPECT_EQ(c->centerX - 400, arcs[0].a[0]);
    EXPECT_EQ(c->centerY - 200, arcs[0].a[1]);
    EXPECT_EQ(800, arcs[0].a[2]);
    EXPECT_EQ(400, arcs[0].a[3]);
    EXPECT_EQ(360 * 64, arcs[0].a[5]);
    EXPECT_EQ(chartPixel(c->skyColourBase), arcs[0].pixel);
}

} // namespace
