// Constellation figures, boundaries and names, and the Milky Way outline:
// built-in tables of fixed directions drawn with the polyline pen.
#pragma once

#include <cstdint>

struct ChartState;
struct Canvas;

// Sky levels from this one up are too bright for the Milky Way.
constexpr int32_t kMilkyWayMaxSkyLevel = 5;

void chartDrawConstLines(ChartState *chart, Canvas *canvas);
// Stick figures of constLineStars entries from .. to - 1; bit 15 lifts the pen.
void drawStarPolyline(ChartState *chart, Canvas *canvas, int from, int to);
void chartDrawConstBorders(ChartState *chart, Canvas *canvas);

/*
 * constNameBaselines: where the names of one constellation stand.
 * Given:    y        the label point's row
 *           ascent   minus the y of ConstNameFontset's logical extent
 *           height   the extent's height
 *           flags    constellationFlags
 * Returned: the number of lines (0..2); baselines[0] the first line's
 *           (local name when kConsName2), baselines[1] the second's.
 * Notes:    The block of lines is centred on y: its top is y - lines x height / 2.
 */
int constNameBaselines(int y, int ascent, int height, uint8_t flags, int baselines[2]);

void chartDrawConstNames(ChartState *chart, Canvas *canvas);
void chartDrawMilkyWay(ChartState *chart, Canvas *canvas);
void drawMilkyWayOutline(ChartState *chart, Canvas *canvas);
