// Where the status bar stands: a band across the top of the drawing area, as
// high as its font set needs. The frame places the chart below it and
// picking leaves it out; drawing the bar is its layer's
// (render/layers/status_bar.h).
#pragma once

#include <cstdint>

#include "model/x_handles.h"

struct ChartState;

// Height of the bar: the StatusFontset's largest logical height x 12 / 10.
int statusBarHeight();
// (0, 0, the drawing area's width, statusBarHeight()).
void statusBarRect(ChartState *chart, ChartRect *out);
// 1 when the bar is shown and the point (x in the low, y in the high 16 bits,
// signed) lies in statusBarRect (right and bottom edges excluded).
int statusBarContains(ChartState *chart, int32_t packedPoint);
