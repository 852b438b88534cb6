// The default star layer: the built-in bright-star table. The symbols go
// out a group of one colour and class at a time, faintest class first, so
// that the bright stars lie on top; the labels follow them.
#pragma once

#include <cstdint>

struct ChartState;
struct Canvas;
struct BrightStar;

// The layer: nothing unless STAR is shown; stops at the chart's starLimit.
void drawBrightStars(ChartState *chart, Canvas *canvas);

// The walk of the layer over rows[last] down to rows[0] (a table sorted
// brightest first). Labels are drawn only for the built-in table.
void drawBrightStarRows(ChartState *chart, Canvas *canvas, const BrightStar *rows, int32_t last, int withLabels);
