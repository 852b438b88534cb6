#include "render/frame.h"

#include <cstdio>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "model/view_geometry.h"
#include "render/lines.h"
#include "render/palette.h"
#include "render/masks.h"
#include "render/surface.h"

namespace {

constexpr int32_t kDarkSkyLevel = 20;    // sky levels up to this count as dark

ChartSurface *surface = nullptr;

int statusBarHeight() {
    const int h = chartFrameServices.statusBarHeight != nullptr ? chartFrameServices.statusBarHeight() : 0;
    return h > 0 ? h : 0;
}

int clampInt(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Largest side of the chart's pixmap, pixels: beyond any screen, and its
// pixmap (256 MB at 32 bits a pixel) still one a server can give.
constexpr int kChartSideMax = 8192;

// Said once a run, on standard error: the window is larger than the chart.
void reportChartSizeLimited(int width, int height) {
    static bool said = false;
    if (said) return;
    said = true;
    char format[256];
    getResourceFormat("messageChartSizeLimited", "dd", format, sizeof format);
    std::fprintf(stderr, format, width, height);
    std::fputc('\n', stderr);
}

void drawBackground(ChartState *chart, Canvas *canvas) {
    if ((chart->traceFlags & kTraceOn) != 0 && chart->sizeChanged == 0) return;
    if (chart->mode == kModePlns) {
        chartDrawPlanisphereBackground(chart, canvas);
    } else if (isAitoffMode(chart->mode)) {
        chartDrawAitoffBackground(chart, canvas);
    } else {
        canvas->setForeground(chartPixel(chart->skyColourBase));
        canvas->fillRectangle(chart->chartRect.x, chart->chartRect.y, chart->chartRect.width,
                              chart->chartRect.height);
    }
}

} // namespace

void chartSetSurface(ChartSurface *s) { surface = s; }
ChartSurface *chartSurface() { return surface; }

void chartPushCullBand(int widenQ14, int depthMinQ14, ChartState *chart, CullBandSave *save) {
    save->cullCos = chart->cullCos;
    save->cullDepth = chart->cullDepth;
    save->cullCosQ14 = chart->cullCosQ14;
    save->cullDepthQ14 = chart->cullDepthQ14;
    int64_t widened = static_cast<int64_t>(chart->cullCosQ14) - widenQ14;
    if (widened < kCullCosQ14Floor) widened = kCullCosQ14Floor;
    chart->cullCosQ14 = static_cast<int32_t>(widened);
    chart->cullCos = chart->cullCosQ14 / 16384.0;
    chart->cullDepthQ14 = depthMinQ14;
    chart->cullDepth = depthMinQ14 / 16384.0;
}

void chartPopCullBand(ChartState *chart, const CullBandSave *save) {
    chart->cullCos = save->cullCos;
    chart->cullDepth = save->cullDepth;
    chart->cullCosQ14 = save->cullCosQ14;
    chart->cullDepthQ14 = save->cullDepthQ14;
}

void chartDrawLayers(ChartState *chart, Canvas *canvas, const ChartBand *bands, int bandCount,
                     const ChartLayer *layers, int layerCount) {
    for (int b = 0; b < bandCount; b++) {
        CullBandSave save{};
        if (bands[b].banded) chartPushCullBand(bands[b].widenQ14, bands[b].depthMinQ14, chart, &save);
        for (int i = 0; i < layerCount; i++) {
            const ChartLayer &row = layers[i];
            if (row.step != bands[b].step) continue;
            if (row.applies != nullptr && !row.applies(chart)) continue;
            row.draw(chart, canvas);
        }
        if (bands[b].banded) chartPopCullBand(chart, &save);
    }
}

void chartApplyTimeLock(ChartState *chart) {
    chartFrameServices.skyContextFromChart(chart);
    if (chart->timeLockKind == kTimeLockNone) return;
    const double jd = chartFrameServices.timeLockJd(chart);
    if (jd != 0.0) chartFrameServices.skyContextFromJd(chart, jd);
}

void chartApplyTracking(ChartState *chart) {
    if (chart->viewLocked && chart->mode == kModeHrz) chart->trackState = kTrackLook;
    if (chart->trackState == kTrackNone) return;
    if (chart->mode != kModeHrz) chart->trackKind &= ~kTrackKindLockBit;
    chartFrameServices.updateViewCenterFromTarget(chart);
    uiHooks.viewUpdateScrollBars(chart);
    if (chart->trackState == kTrackLook) chart->trackState = kTrackNone; // a one-shot recentring
}

void chartDrawFrameWithLayers(ChartState *chart, Canvas *canvas, const ChartLayer *layers, int layerCount) {
    chartApplyTimeLock(chart);
    updateViewScale(chart);
    chartFrameServices.ephemUpdateAll(chart);
    chart->lastEphemerisJd = chart->sky.jd;
    chartApplyTracking(chart);
    updateViewMatrix(chart);
    chartFrameServices.updateSkyLevel(chart);
    chart->faintStarColour = chart->skyLevel <= kDarkSkyLevel ? ColorDarkStar : chart->skyColourBase;
    // On a static visual the sky colour must be allocated before anything is
    // painted with it; a writable cell is rewritten after the frame instead.
    const bool writableColours = appData != nullptr && appData->dynamicVisual == 1;
    if (!writableColours) chartFrameServices.setSkyColors(chart);
    chartFrameServices.viewApplyStarLimit(chart);
    drawBackground(chart, canvas);
    chartSetWrapMode(chart);
    chartDrawLayers(chart, canvas, chartBands, chartBandCount, layers, layerCount);
    if (writableColours) chartFrameServices.setSkyColors(chart);
}

void chartDrawFrame(ChartState *chart, Canvas *canvas) {
    chartDrawFrameWithLayers(chart, canvas, chartLayers, chartLayerCount);
}

void chartRedraw(ChartState *chart) {
    if (surface == nullptr) return;
    if (chart->redrawNeeded) {
        Canvas *canvas = surface->canvas();
        if (canvas != nullptr) chartDrawFrame(chart, canvas);
        uiHooks.repaintClickData(chart);
        uiHooks.refreshTodayDialog(chart);
        chart->redrawNeeded = 0;
    }
    if (appData != nullptr && appData->initialising) return;
    surface->copyToWindow(chart->chartRect.width, chart->chartRect.height + statusBarHeight());
}

void chartRefresh(ChartState *chart) {
    if (chart->modeChanged) {
        uiHooks.toolbarRefreshChanged(chart);
        uiHooks.viewUpdateScrollBars(chart); // clears modeChanged
    }
    if (surface == nullptr) return;
    int width = 0, height = 0;
    if (!surface->windowSize(&width, &height)) return;

    // The chart rectangle is 16-bit; a drawing area shorter than the status
    // bar would underflow its height, and a zero-sized pixmap is an X error
    // that ends the process: every side is at least 1 pixel.
    const int bar = clampInt(statusBarHeight(), 0, kChartSideMax - 1);
    ChartRect r{0, 0, 0, 0};
    if (chart->statusBar & kStatusBarShown) {
        r.y = static_cast<int16_t>(bar);
        height -= bar;
    }
    // A window far larger than any screen (-geometry 60000x60000) would ask
    // the server for a pixmap of gigabytes, and its refusal ends the program:
    // the chart is drawn in the window's top-left kChartSideMax square.
    r.width = static_cast<uint16_t>(clampInt(width, 1, kChartSideMax));
    r.height = static_cast<uint16_t>(clampInt(height, 1, kChartSideMax - bar));
    if (width > r.width || height > r.height) reportChartSizeLimited(r.width, r.height);

    chart->sizeChanged = 0;
    if (r.x != chart->chartRect.x || r.y != chart->chartRect.y || r.width != chart->chartRect.width ||
        r.height != chart->chartRect.height) {
        chart->chartRect = r;
        chart->redrawNeeded = 1;
        // The status bar's band is part of the pixmap, shown or not.
        surface->recreate(r.width, r.height + bar);
        chart->sizeChanged = 1;
    }
    chartRedraw(chart);
}
