#include "render/layers/bright_stars.h"

#include "model/chart_state.h"
#include "model/star_limit.h"
#include "model/view_geometry.h"
#include "render/projection.h"
#include "render/star_symbols.h"
#include "resources/catalogs.h"

void drawBrightStarRows(ChartState *chart, Canvas *canvas, const BrightStar *rows, int32_t last, int withLabels) {
    const bool nearHorizonDims = chart->mode == kModeHrz || chart->mode == kModePlns;
    for (int32_t i = last; i >= 0; i--) {
        const BrightStar &star = rows[i];
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
        const int size = starDrawSymbolColored(chart, canvas, p.x, p.y, p.depth, p.cosCentre, drawnMag, cls);
        if (withLabels && chart->starLabelFlags != 0)
            starDrawLabels(chart, canvas, i, p.x, p.y, p.depth, p.cosCentre, mag10, size, 1);
    }
}

void drawBrightStars(ChartState *chart, Canvas *canvas) {
    if ((chart->starFlags & kStarShown) == 0) return;
    int32_t last = 0;
    if (!starLastIndexForLimit(chart, &last)) return;
    if (last >= brightStarCount) last = brightStarCount - 1;
    drawBrightStarRows(chart, canvas, brightStars, last, 1);
}
