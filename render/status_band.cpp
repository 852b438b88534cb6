#include "render/status_band.h"

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "render/palette.h"
#include "render/surface.h"

int statusBarHeight() {
    if (appData == nullptr) return 0;
    return appData->fontSetExtents[StatusFontset].maxLogicalExtent.height * 12 / 10;
}

void statusBarRect(ChartState *, ChartRect *out) {
    int width = 0, height = 0;
    ChartSurface *surface = chartSurface();
    if (surface == nullptr || !surface->windowSize(&width, &height)) width = 0;
    const int h = statusBarHeight();
    *out = ChartRect{0, 0, static_cast<uint16_t>(width < 0 ? 0 : (width > 65535 ? 65535 : width)),
                     static_cast<uint16_t>(h > 65535 ? 65535 : h)};
}

int statusBarContains(ChartState *chart, int32_t packedPoint) {
    if ((chart->statusBar & kStatusBarShown) == 0) return 0;
    int32_t x, y;
    screenPointUnpack(packedPoint, &x, &y);
    ChartRect r{0, 0, 0, 0};
    statusBarRect(chart, &r);
    return x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height;
}
