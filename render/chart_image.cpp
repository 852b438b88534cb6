#include "render/chart_image.h"

#include <cstdio>

#include "model/chart_state.h"
#include "model/env.h"
#include "render/surface.h"

int saveChartXpm(ChartState *chart, const char *path)
{
    ChartSurface *surface = chartSurface();
    Canvas *canvas = surface != nullptr ? surface->canvas() : nullptr;
    // chartRect.y is the status bar's band when the bar is shown, 0 when not.
    const int width = chart->chartRect.width;
    const int height = chart->chartRect.y + chart->chartRect.height;
    if (canvas == nullptr || width < 1 || chart->chartRect.height < 1)
        return 0;
    char temp[kEnvPathSize * 4 + 16];
    if (!envReplacementPath(temp, sizeof temp, path))
        return 0;
    // The image writer names its own file: the temporary is opened again
    // afterwards so that it is synced, given the old file's mode and renamed.
    const int ok = surface->saveImage(temp, width, height);
    std::FILE *written = std::fopen(temp, "r+");
    if (written == nullptr) {
        std::remove(temp);
        return 0;
    }
    return envFinishReplacement(written, ok, temp, path);
}
