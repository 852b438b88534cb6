#include "render/layers/bright_stars.h"

#include "model/chart_state.h"
#include "model/star_limit.h"
#include "model/view_geometry.h"
#include "render/projection.h"
#include "render/star_symbols.h"
#include "resources/catalogs.h"

void drawBrightStarRows(ChartState *chart, Canvas *canvas, const BrightStar *rows, int32_t last, int withLabels) {
    static StarSymbolBatch batch;
    batch.clear();
    const bool nearHorizonDims = chart->mode == kModeHrz || chart->mode == kModePlns;
    const bool labelled = withLabels && chart->starLabelFlags != 0;
    // Stars outside the view's band of declinations are not projected at all.
    int32_t zLow = 0, zHigh = 0;
    projectionZBand(chart, &zLow, &zHigh);
    for (int32_t i = last; i >= 0; i--) {
        const BrightStar &star = rows[i];
        if (star.z < zLow || star.z > zHigh) continue;
        const Vec3Q14 v{star.x, star.y, star.z};
        ProjectedPoint p{0, 0, 0, 0};
        if (!projectPoint(chart, &v, &p)) continue;
        const int mag10 = brightStarMag10(star);
        int drawnMag = mag10;
        int cls = brightStarColourClass(star);
        if (nearHorizonDims && p.depth <= kExtinctionDepthQ14) {
            starHorizonExtinction(p.depth, &drawnMag, &cls);
            if (drawnMag > chart->starLimit) continue;
        }
        const int size = batch.add(chart, p.x, p.y, drawnMag, cls);
        if (labelled && mag10 <= chart->starNameLimit) batch.addTableLabels(i, p, mag10, size);
    }
    // Labels over the symbols, in the same faint-to-bright order.
    batch.flush(chart, canvas);
}

void drawBrightStars(ChartState *chart, Canvas *canvas) {
    if ((chart->starFlags & kStarShown) == 0) return;
    int32_t last = 0;
    if (!starLastIndexForLimit(chart, &last)) return;
    if (last >= brightStarCount) last = brightStarCount - 1;
    drawBrightStarRows(chart, canvas, brightStars, last, 1);
}
