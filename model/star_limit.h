// The automatic star limit, the last bright star it admits, and the
// field-of-view limits of the sky charts.
#pragma once

#include <cstdint>

struct ChartState;

// The automatic star limit (tenths) for the chart's field and sky.
int32_t viewAutoStarLimit(ChartState *chart);
// Before each frame: a fixed limit becomes an offset to the automatic one.
void viewApplyStarLimit(ChartState *chart);
// Sky charts only: caps the vertical field at 110 degrees (HRZ) or 180.
int viewClampFieldOfView(ChartState *chart, int apply);
// The widest field the chart allows, degrees, rounded to 0.1.
double viewMaxFieldOfView(ChartState *chart);

// The last bright-table row not fainter than the chart's starLimit; 0 when
// the limit is below -1.5 (no stars), else 1.
int starLastIndexForLimit(ChartState *chart, int32_t *last);
