// The layer order of a chart frame and the cull band of each step.
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "render/layers/bright_stars.h"
#include "render/frame.h"
#include "render/layers/constellations.h"
#include "render/layers/deep_sky.h"
#include "render/layers/grids.h"
#include "render/layers/gsc_stars.h"
#include "render/layers/landscape.h"
#include "render/masks.h"
#include "render/layers/picture_marks.h"
#include "render/layers/sao_stars.h"
#include "render/layers/small_bodies.h"
#include "render/layers/solar_bodies.h"
#include "render/layers/user_objects.h"

namespace {

int whenAitoff(const ChartState *chart) { return isAitoffMode(chart->mode); }
int whenCylindrical(const ChartState *chart) { return isCylindricalMode(chart->mode); }
int whenHorizontal(const ChartState *chart) { return chart->mode == kModeHrz; }
int whenPlanisphere(const ChartState *chart) { return chart->mode == kModePlns; }

// The catalogue file wins over the Guide Star Catalog when both bits are set;
// an unusable catalogue file draws the bright stars in its place.
int whenCatalogFileStars(const ChartState *chart) { return (chart->starFlags & kStarsFromCatalogFile) != 0; }
int whenGscStars(const ChartState *chart) {
    return (chart->starFlags & kStarsFromCatalogFile) == 0 && (chart->starFlags & kStarsFromGsc) != 0;
}
int whenBrightStars(const ChartState *chart) {
    return (chart->starFlags & (kStarsFromCatalogFile | kStarsFromGsc)) == 0;
}

void drawStatusBarLayer(ChartState *chart, Canvas *canvas) {
    ChartRect r{0, 0, 0, 0};
    chartFrameServices.statusBarRect(chart, &r);
    chartFrameServices.drawStatusBar(chart, canvas, &r);
}

} // namespace

// Widening and depth limits in Q14: 2048 = 0.125; -8192 = -0.5, 30 degrees
// below the horizon plane; -16384 = -1.0, no depth limit.
const ChartBand chartBands[] = {
    {'a', 1, 2048, -8192},
    {'b', 1, 2048, -8192},
    {'c', 1, 4096, -16384},
    {'d', 0, 0, 0},
    {'e', 1, 2048, -8192},
    {'f', 1, 4096, -16384},
    {'g', 1, 1024, -8192},
    {'h', 1, 4096, -16384},
    {'i', 0, 0, 0},
    {'j', 0, 0, 0},
};
const int chartBandCount = sizeof chartBands / sizeof chartBands[0];

const ChartLayer chartLayers[] = {
    {'a', "chartDrawMilkyWay", chartDrawMilkyWay, nullptr},
    {'b', "chartDrawComets", drawCometTailsLayer, nullptr}, // pass 1: the tails
    {'b', "chartMaskAitoff", chartMaskAitoff, whenAitoff},
    {'b', "chartDrawGrids", chartDrawGrids, nullptr},
    {'b', "chartDrawConstBorders", chartDrawConstBorders, nullptr},
    {'b', "chartDrawConstLines", chartDrawConstLines, nullptr},
    {'c', "chartDrawSkyMarkLines", chartDrawSkyMarkLines, nullptr},
    {'c', "chartDrawUserObjectLines", chartDrawUserObjectLines, nullptr},
    {'d', "chartDrawSaoStars", drawCatalogFileStars, whenCatalogFileStars},
    {'d', "drawGscStars", drawGscStars, whenGscStars},
    {'d', "drawBrightStars", drawBrightStars, whenBrightStars},
    {'d', "chartDrawConstNames", chartDrawConstNames, nullptr},
    {'d', "chartDrawNebulae", chartDrawNebulae, nullptr},
    {'e', "chartDrawSolarSystem", drawSolarSystemLayer, nullptr}, // shadow offset 0
    {'f', "chartDrawSkyMarkLabels", chartDrawSkyMarkLabels, nullptr},
    {'f', "chartDrawUserObjectLabels", chartDrawUserObjectLabels, nullptr},
    {'g', "chartDrawLandscape", chartDrawLandscape, whenHorizontal},
    {'g', "chartMaskCylindrical", chartMaskCylindrical, whenCylindrical},
    {'g', "chartMaskPlanisphere", chartMaskPlanisphere, whenPlanisphere},
    {'g', "chartDrawPlanisphereDirections", chartDrawPlanisphereDirections, whenPlanisphere},
    {'h', "chartDrawSkyMarkHrzLabels", chartDrawSkyMarkHrzLabels, nullptr},
    {'h', "chartDrawUserObjectHrzLabels", chartDrawUserObjectHrzLabels, nullptr},
    {'i', "chartDrawPictureMarks", chartDrawPictureMarks, nullptr},
    {'j', "chartDrawStatusBar", drawStatusBarLayer, nullptr},
};
const int chartLayerCount = sizeof chartLayers / sizeof chartLayers[0];
