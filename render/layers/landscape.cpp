// The ground below the horizon in the horizontal chart and the direction
// labels of the horizontal chart and the planisphere.
#include "render/layers/landscape.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/angles.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "render/layers/grids.h"
#include "render/palette.h"
#include "render/projection.h"

namespace {

constexpr int kDirectionCount = 16;
constexpr int kDirectionTextMax = 6;

int16_t toCanvas(int32_t v) {
    return static_cast<int16_t>(v > INT16_MAX ? INT16_MAX : (v < INT16_MIN ? INT16_MIN : v));
}

// Horizon point at a = 5k degrees (k = 0..26) from the table of sin(5k).
Vec3Q14 horizonPoint(int k) {
    if (k <= 18) return Vec3Q14{horizonSineQ14[18 - k], horizonSineQ14[k], 0};
    return Vec3Q14{-horizonSineQ14[k - 18], horizonSineQ14[36 - k], 0};
}

void directionName(int index, char *buf, int len) {
    char name[32];
    std::snprintf(name, sizeof name, "messageDirection%02d", index);
    getResourceString(name, buf, len);
}

} // namespace

int horizonPolygonFromPoints(const CanvasPoint *pts, int k, int centreX, int edgeY, CanvasPoint *out) {
    if (k <= 0) return 0;
    int n = 0;
    const CanvasPoint &last = pts[k - 1];
    out[n++] = CanvasPoint{toCanvas(2 * centreX - last.x), toCanvas(edgeY)};
    for (int m = k - 1; m >= 1; m--) out[n++] = CanvasPoint{toCanvas(2 * centreX - pts[m].x), pts[m].y};
    for (int m = 0; m < k; m++) out[n++] = pts[m];
    out[n++] = CanvasPoint{last.x, toCanvas(edgeY)};
    return n;
}

int horizonPolygon(ChartState *chart, CanvasPoint out[kHorizonPolygonMax]) {
    const ChartRect &rect = chart->chartRect;
    const int h = rect.height > 0 ? rect.height : 1;
    const int bottom = rect.y + rect.height;
    const int below = h / 2 - (bottom - chart->centerY);
    const double b = -(chart->centerHrz[1] - chart->fieldHeight * (static_cast<double>(below) / h));
    Mat3 axes;
    Mat3Q14 axesQ14;
    rotZY(0.0, b, &axes);
    mat3ToQ14(&axes, &axesQ14);

    CanvasPoint side[kHorizonSidePoints];
    int k = 0;
    int previousVisible = 1; // the first point counts as following a visible one
    for (int a = 0; a < kHorizonSidePoints; a++) {
        const Vec3Q14 v = horizonPoint(a);
        ProjectedPoint p{0, 0, 0, 0};
        const int visible = projectPointAxes(&axesQ14, chart, &v, &p);
        if (!visible && !previousVisible) break;
        if (visible && previousVisible) side[k++] = CanvasPoint{toCanvas(p.x), toCanvas(p.y)};
        previousVisible = visible;
        if (visible && (p.x < rect.x - 10 || p.x > rect.x + rect.width + 10)) break;
    }
    const int edgeY = chart->mirror == kMirrorTurned ? rect.y : bottom;
    return horizonPolygonFromPoints(side, k, chart->centerX, edgeY, out);
}

void chartDrawLandscape(ChartState *chart, Canvas *canvas) {
    if ((chart->skyFlags & kHorizonShown) == 0) return;
    CanvasPoint pts[kHorizonPolygonMax];
    const int n = horizonPolygon(chart, pts);
    if (n > 0) {
        canvas->setForeground(chartPixel(ColorLandscape));
        canvas->fillPolygon(pts, n, PolygonNonconvex);
    }
    if (chart->horizonGridFlags & kDirectionLabels)
        drawInHorizonFrame(chart, canvas, drawHorizonDirections);
}

void drawHorizonDirections(ChartState *chart, Canvas *canvas) {
    if (chart->mode != kModeHrz) return;
    const CanvasTextExtent e = canvas->fontSetMaxExtent(DirNameFontset);
    const int lift = chart->mirror == kMirrorTurned ? appData->dirFontHeight : 0;
    for (int q = 0; q < 4; q++)
        for (int i = 0; i < 4; i++) {
            const int index = i + 4 * q;
            Vec3 d;
            const double lonLat[2] = {22.5 * i + 90.0 * q, 0.0};
            sphToVec(lonLat, &d);
            Vec3Q14 v;
            vecToQ14(&d, &v);
            ProjectedPoint p{0, 0, 0, 0};
            if (!projectPoint(chart, &v, &p)) continue;
            char text[kDirectionTextMax + 1];
            directionName(index, text, sizeof text);
            const int len = static_cast<int>(std::strlen(text));
            canvas->setForeground(chartPixel(index % 4 == 0 ? ColorDirection1Font : ColorDirection2Font));
            canvas->drawString(DirNameFontset, p.x - len * e.width / 2, p.y - 1 + e.height - lift, text, len);
        }
}

void chartDrawPlanisphereDirections(ChartState *chart, Canvas *canvas) {
    const CanvasTextExtent e = canvas->fontSetMaxExtent(DirNameFontset);
    const ChartRect &rect = chart->chartRect;
    const int f = e.height;
    const int side = rect.width < rect.height ? rect.width : rect.height;
    const int r = (side - static_cast<int>(1.1 * f)) / 2;
    canvas->setForeground(chartPixel(ColorDirection1Font));
    for (int i = 0; i < 4; i++) {
        const double a = -chart->centerHrz[0] - 90.0 - 90.0 * i;
        const int x = chart->centerX + static_cast<int>(r * cosDeg(a)) - e.width / 2;
        const int y = chart->centerY + f / 2 - static_cast<int>(r * sinDeg(a));
        char text[kDirectionTextMax + 1];
        directionName(4 * i, text, sizeof text);
        canvas->drawString(DirNameFontset, x, y, text, static_cast<int>(std::strlen(text)));
    }
}
