// The chart frame: the canvas refresh, the redraw and the fixed order in
// which a frame is built, each group of layers inside a cull band.
#pragma once

#include <cstdint>

#include "model/x_handles.h"
#include "render/canvas.h"

struct ChartState;

// The four cull values a band saves and restores.
struct CullBandSave {
    double cullCos;
    double cullDepth;
    int32_t cullCosQ14;
    int32_t cullDepthQ14;
};

// Lowest cullCosQ14 a band may open: below it the fixed-point radial factor
// near the antipode would divide by zero.
constexpr int32_t kCullCosQ14Floor = -16344;

/*
 * chartPushCullBand: saves the cull values into save, then widens the cut-off
 * by widenQ14 (never below kCullCosQ14Floor) and replaces the depth limit by
 * depthMinQ14 (Q14: -8192 is 30 degrees below the horizon plane, -16384 no
 * limit).
 */
void chartPushCullBand(int widenQ14, int depthMinQ14, ChartState *chart, CullBandSave *save);
void chartPopCullBand(ChartState *chart, const CullBandSave *save);

// One layer of the frame; applies (null = always) decides per frame whether
// the row runs.
typedef void (*ChartLayerDraw)(ChartState *chart, Canvas *canvas);
typedef int (*ChartLayerApplies)(const ChartState *chart);

struct ChartLayer {
    char step;          // the band it belongs to ('a' .. 'j')
    const char *name;   // the layer's routine by its own name (tests note the order by it)
    ChartLayerDraw draw;
    ChartLayerApplies applies;
};

struct ChartBand {
    char step;
    int32_t banded;     // 0: drawn with the frame's own cull values
    int32_t widenQ14;
    int32_t depthMinQ14;
};

// The layer order and the bands (render/layers/frame_layers.cpp): the frame
// runs the layers without including them.
extern const ChartLayer chartLayers[];
extern const int chartLayerCount;
extern const ChartBand chartBands[];
extern const int chartBandCount;

// Runs the rows of each band in table order inside the band.
void chartDrawLayers(ChartState *chart, Canvas *canvas, const ChartBand *bands, int bandCount,
                     const ChartLayer *layers, int layerCount);

/*
 * chartRefresh: follows the drawing area's size (the status bar, when shown,
 * takes a band at the top of the same pixmap), recreates the pixmap when the
 * chart rectangle changed and marks a redraw, then chartRedraw. After a mode
 * change it first refreshes the tool bar and the scroll bars.
 * Notes:    The chart's width and height are at least 1 pixel, even when the
 *           drawing area is shorter than the status bar.
 */
void chartRefresh(ChartState *chart);

// Draws a frame when redrawNeeded, then copies the pixmap to the window
// unless start-up is still running.
void chartRedraw(ChartState *chart);

// One complete frame into canvas (always the pixmap's).
void chartDrawFrame(ChartState *chart, Canvas *canvas);
// The same with a caller's layer table (tests).
void chartDrawFrameWithLayers(ChartState *chart, Canvas *canvas, const ChartLayer *layers, int layerCount);

void chartApplyTimeLock(ChartState *chart);
void chartApplyTracking(ChartState *chart);

// Services of a frame that other parts of the system provide, wired in
// render/layers/frame_services.cpp. Tests replace fields to watch the order.
struct ChartFrameServices {
    void (*skyContextFromChart)(ChartState *chart);   // first step of the time lock
    double (*timeLockJd)(ChartState *chart);          // the locked moment, 0 = none
    void (*skyContextFromJd)(ChartState *chart, double jd);
    void (*ephemUpdateAll)(ChartState *chart);
    void (*updateViewCenterFromTarget)(ChartState *chart);
    void (*updateSkyLevel)(ChartState *chart);
    void (*setSkyColors)(ChartState *chart);
    void (*viewApplyStarLimit)(ChartState *chart);
    int (*statusBarHeight)();
    void (*statusBarRect)(ChartState *chart, ChartRect *out);
    void (*drawStatusBar)(ChartState *chart, Canvas *canvas, const ChartRect *r);
};

extern ChartFrameServices chartFrameServices;
// The wiring chartFrameServices starts with, for tests that put it back.
extern const ChartFrameServices kFrameServices;
