#include "render/masks.h"

#include <cmath>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/lines.h"
#include "render/palette.h"

namespace {

// Room for the finest outline (step 2: 91 points) and its two corners.
constexpr int kOutlineCapacity = 96;

void fillBand(Canvas *canvas, int x, int y, int width, int height) {
    if (width > 0 && height > 0) canvas->fillRectangle(x, y, width, height);
}

void fillChartRect(const ChartState *chart, Canvas *canvas) {
    fillBand(canvas, chart->chartRect.x, chart->chartRect.y, chart->chartRect.width, chart->chartRect.height);
}

// One side of an outline mask: the half outline closed by two corner points.
void fillSide(Canvas *canvas, int cx, int cy, unsigned radius, int step, int leftSide, int divisor, int cornerX,
              int cornerBelowY, int cornerAboveY) {
    CanvasPoint pts[kOutlineCapacity];
    const int n = limbOutlinePoints(pts, kOutlineCapacity - 2, cx, cy, radius, step, leftSide, divisor);
    if (n == 0) return;
    pts[n + 1] = CanvasPoint{static_cast<int16_t>(cornerX), static_cast<int16_t>(cornerBelowY)};
    pts[n + 2] = CanvasPoint{static_cast<int16_t>(cornerX), static_cast<int16_t>(cornerAboveY)};
    canvas->fillPolygon(pts, n + 3, PolygonComplex);
}

// Half axis of the Aitoff ellipse across; never negative on a tiny chart.
int aitoffHalfWidth(const ChartState *chart) {
    const int a = (chart->chartRect.width - 2) / 2;
    return a > 0 ? a : 0;
}

} // namespace

void chartDrawPlanisphereBackground(ChartState *chart, Canvas *canvas) {
    canvas->setForeground(chartPixel(ColorPlanisphereBack));
    fillChartRect(chart, canvas);
    const int r = chart->radius > 0 ? chart->radius : 0;
    canvas->setForeground(chartPixel(chart->skyColourBase));
    canvas->fillArc(chart->centerX - r, chart->centerY - r, 2 * r, 2 * r, 0, kFullCircle);
}

void chartDrawAitoffBackground(ChartState *chart, Canvas *canvas) {
    if (chart->traceFlags != 0) return;
    canvas->setForeground(chartPixel(ColorPlanisphereBack));
    fillChartRect(chart, canvas);
    const int a = aitoffHalfWidth(chart);
    canvas->setForeground(chartPixel(chart->skyColourBase));
    canvas->fillArc(chart->centerX - a, chart->centerY - a / 2, 2 * a, a, 0, kFullCircle);
}

void chartMaskPlanisphere(ChartState *chart, Canvas *canvas) {
    const int left = chart->chartRect.x, right = left + chart->chartRect.width;
    const int top = chart->chartRect.y, bottom = top + chart->chartRect.height;
    const int width = chart->chartRect.width;
    const int r = chart->radius > 0 ? chart->radius : 0;
    const int cx = chart->centerX, cy = chart->centerY;
    canvas->setForeground(chartPixel(ColorPlanisphereBack));
    fillBand(canvas, left, top, width, cy - r - top);
    fillBand(canvas, left, cy + r, width, bottom - (cy + r));
    const int step = outlineStepForWidth(width);
    fillSide(canvas, cx, cy, static_cast<unsigned>(r), step, 0, 1, right + 1, cy + r, cy - r);
    fillSide(canvas, cx, cy, static_cast<unsigned>(r), step, 1, 1, left, cy + r, cy - r);
}

void chartMaskAitoff(ChartState *chart, Canvas *canvas) {
    const int left = chart->chartRect.x, right = left + chart->chartRect.width;
    const int top = chart->chartRect.y, bottom = top + chart->chartRect.height;
    const int width = chart->chartRect.width;
    const int a = aitoffHalfWidth(chart), b = a / 2;
    const int cx = chart->centerX, cy = chart->centerY;
    canvas->setForeground(chartPixel(ColorPlanisphereBack));
    if (top < cy - b) fillBand(canvas, left, top, width, cy - b - top);
    if (cy + b < bottom + 1) fillBand(canvas, left, cy + b, width, bottom - (cy + b));
    const int step = outlineStepForWidth(width);
    fillSide(canvas, cx, cy, static_cast<unsigned>(a), step, 0, 2, right, cy + b, cy - b);
    fillSide(canvas, cx, cy, static_cast<unsigned>(a), step, 1, 2, left, cy + b, cy - b);
}

void chartMaskCylindrical(ChartState *chart, Canvas *canvas) {
    // Rows of latitude 70 from the map's equator, less one: the projection
    // culls only beyond about 79.86 degrees, the band between is covered here.
    const int f = static_cast<int>(M_PI * chart->pixelsPerRadianY * 0.5 * 70.0 / 90.0) - 1;
    const int h = chart->chartRect.height / 2 - f;
    canvas->setForeground(chartPixel(ColorPlanisphereBack));
    fillBand(canvas, chart->chartRect.x, chart->chartRect.y, chart->chartRect.width, h);
    // Down to the chart's last row: on a chart of odd height that is one row
    // more than the band above, which would otherwise show the sky colour.
    const int below = chart->centerY + f;
    fillBand(canvas, chart->chartRect.x, below, chart->chartRect.width,
             chart->chartRect.y + chart->chartRect.height - below);
}
