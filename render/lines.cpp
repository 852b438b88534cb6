#include "render/lines.h"

#include <cstdlib>

#include "astro/q14.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/projection.h"

const int32_t sineTable32767[91] = {
    0, 572, 1144, 1715, 2286, 2856, 3425, 3993, 4560, 5126, 5690, 6252, 6813,
    7371, 7927, 8481, 9032, 9580, 10126, 10668, 11207, 11743, 12275, 12803, 13328, 13848,
    14364, 14876, 15383, 15886, 16383, 16876, 17364, 17846, 18323, 18794, 19260, 19720, 20173,
    20621, 21062, 21497, 21925, 22347, 22762, 23170, 23571, 23964, 24351, 24730, 25101, 25465,
    25821, 26169, 26509, 26841, 27165, 27481, 27788, 28087, 28377, 28659, 28932, 29196, 29451,
    29697, 29934, 30162, 30381, 30591, 30791, 30982, 31163, 31335, 31498, 31650, 31794, 31927,
    32051, 32165, 32269, 32364, 32448, 32523, 32587, 32642, 32687, 32722, 32747, 32762, 32767
};

namespace {

void line(Canvas *canvas, int x1, int y1, int x2, int y2) { canvas->drawLine(x1, y1, x2, y2); }

} // namespace

void chartSetWrapMode(ChartState *chart) {
    WrapSetting &wrap = chart->frame.wrap;
    wrap = WrapSetting{kWrapNone, 0, 0, 0, 0};
    if (isCylindricalMode(chart->mode)) {
        wrap.kind = kWrapCylindrical;
        wrap.left = chart->chartRect.x;
        wrap.right = chart->chartRect.x + chart->chartRect.width + 1;
        wrap.half = (chart->chartRect.width + 1) / 2;
    } else if (isAitoffMode(chart->mode)) {
        wrap.kind = kWrapAitoff;
        wrap.meridianColumn = chart->centerX;
    }
}

int aitoffNeedsWrap(const ChartState *chart, const ProjectedPoint *a, const ProjectedPoint *b) {
    const int32_t m = chart->frame.wrap.meridianColumn;
    if ((a->x < m && b->x < m) || (a->x > m && b->x > m)) return 0;
    // Both within about 5.07 degrees of the same pole.
    const int32_t nearPole = 16320 * 65536;
    if ((a->depth > nearPole && b->depth > nearPole) || (a->depth < -nearPole && b->depth < -nearPole)) return 0;
    if (a->x != m && b->x != m) {
        // The half-longitudes add up to more than 90 degrees: the shorter way
        // runs round the back of the sphere.
        return acosQ14(a->cosCentre >> 16) + acosQ14(b->cosCentre >> 16) > Q14_HALF_PI;
    }
    const int32_t farSide = 2048 * 65536; // half-longitude about 82.8 degrees or more
    return a->cosCentre <= farSide || b->cosCentre <= farSide;
}

void aitoffDrawWrapped(ChartState *chart, Canvas *canvas, const ProjectedPoint *pa, const ProjectedPoint *pb) {
    ProjectedPoint a = *pa, b = *pb;
    if (a.x > b.x) {
        const ProjectedPoint t = a;
        a = b;
        b = t;
    }
    // Where the back meridian crosses the ellipse's rim at the mean height.
    const int32_t c = (b.depth >> 16) / 2 + (a.depth >> 16) / 2;
    const Vec3Q14 back{-sqrtQ14(16384 - mulQ14(c, c)), 0, c};
    ProjectedPoint rim{0, 0, 0, 0};
    projectAitoffRotated(chart, &back, &rim);
    const int32_t e = std::abs(rim.x - chart->centerX);
    line(canvas, a.x, a.y, chart->centerX - e, rim.y);
    line(canvas, b.x, b.y, chart->centerX + e, rim.y);
}

void chartDrawSegment(ChartState *chart, Canvas *canvas, const ProjectedPoint *pa, const ProjectedPoint *pb) {
    const ProjectedPoint a = *pa, b = *pb;
    const WrapSetting &wrap = chart->frame.wrap;
    switch (wrap.kind) {
    case kWrapCylindrical:
        if (std::abs(a.x - b.x) >= wrap.half) {
            // Across the map's edge: one piece leaves each side; the X server
            // clips what falls outside the drawable.
            const int32_t period = wrap.right - wrap.left;
            if (a.x < b.x) {
                line(canvas, a.x, a.y, b.x - period, b.y);
                line(canvas, a.x + period, a.y, b.x, b.y);
            } else {
                line(canvas, a.x - period, a.y, b.x, b.y);
                line(canvas, a.x, a.y, b.x + period, b.y);
            }
            return;
        }
        break;
    case kWrapAitoff:
        if (aitoffNeedsWrap(chart, &a, &b)) {
            aitoffDrawWrapped(chart, canvas, &a, &b);
            return;
        }
        break;
    default:
        break;
    }
    line(canvas, a.x, a.y, b.x, b.y);
}

PolylineState polylineStart(const Vec3Q14 *v, ChartState *chart, Canvas *canvas) {
    PolylineState pen;
    pen.last = ProjectedPoint{0, 0, 0, 0};
    pen.canvas = canvas;
    pen.chart = chart;
    pen.visible = projectPoint(chart, v, &pen.last);
    return pen;
}

void polylineNext(const Vec3Q14 *v, PolylineState *pen) {
    ProjectedPoint next = pen->last;
    const int visible = projectPoint(pen->chart, v, &next);
    if (visible && pen->visible) chartDrawSegment(pen->chart, pen->canvas, &pen->last, &next);
    pen->visible = visible;
    pen->last = next;
}

int limbOutlinePoints(CanvasPoint *pts, int capacity, int cx, int cy, unsigned radius, int stepDegrees,
                      int leftSide, int divisor) {
    if (pts == nullptr || stepDegrees <= 0 || 90 % stepDegrees != 0 || divisor <= 0) return 0;
    const int n = 180 / stepDegrees;
    if (capacity < n + 1) return 0;
    const double aspect = appData != nullptr && appData->pixelAspect > 0.0 ? appData->pixelAspect : 1.0;
    for (int k = 90, i = 0; k >= 0; k -= stepDegrees, i++) {
        const unsigned dx = static_cast<unsigned>(static_cast<uint64_t>(radius) * sineTable32767[90 - k] / 32767);
        const unsigned rows = static_cast<unsigned>(static_cast<uint64_t>(radius) * sineTable32767[k] / 32767);
        const int dy = static_cast<int>(rows * aspect) / divisor;
        const int x = leftSide ? cx - static_cast<int>(dx) : cx + static_cast<int>(dx);
        pts[i] = CanvasPoint{static_cast<int16_t>(x), static_cast<int16_t>(cy - dy)};
        pts[n - i] = CanvasPoint{static_cast<int16_t>(x), static_cast<int16_t>(cy + dy)};
    }
    return n;
}

int outlineStepForWidth(int w) {
    if (w > 5000) return 2;
    if (w > 1000) return 3;
    if (w > 500) return 5;
    return 9;
}
