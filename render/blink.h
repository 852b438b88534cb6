// BLINK's mark: an eight-ray cross flashed on the chart window.
#pragma once

#include <cstdint>

struct ChartState;

// Side of the square the cross covers, pixels, centred on the point.
constexpr int kBlinkSquare = 19;
// Each flash of the cross lasts this long in white and again in black.
constexpr int kBlinkPhaseMs = 100;

/*
 * blinkCross: the eight rays around (x, y), each from 5 to 9 pixels out
 * (4 to 7 on the diagonals), drawn on the chart window in pixel and flushed.
 */
void blinkCross(ChartState *chart, int x, int y, unsigned long pixel);

/*
 * blinkAt: flashes the cross at window point (x, y) (BlinkTime + 1) / 2
 * times, white then black, kBlinkPhaseMs each, then puts the square back
 * from the off-screen pixmap. Blocks for the whole time.
 * Notes:    The square comes back from the pixmap, not from a copy of the
 *           window: where another window covered the chart a copy would
 *           hold undefined pixels.
 */
void blinkAt(ChartState *chart, int x, int y);

// The pause between flashes; tests put a counter in its place.
extern void (*blinkWait)(int milliseconds);
