// What a frame shows of the built-in catalogues: the rules the layers and
// picking share, so that what can be picked is what is drawn.
#pragma once

struct ChartState;
struct NebulaRecord;

// 1 when the record passes the chart's limit (when on), type and catalogue
// switches; with no type bit set every type passes.
int nebulaIsShown(const ChartState *chart, const NebulaRecord *record);

// 1 when the chart's star limit reaches magnitude 4.0.
int chartLimitMagAtLeast4(const ChartState *chart);
