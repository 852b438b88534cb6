// The picture marks: a small mark on every object the click-data file gives
// a picture ("@IMAGE" line), so the user sees where a click shows one.
#pragma once

#include <cstdint>
#include <cstdio>

#include "model/view_geometry.h"

struct ChartState;
struct Canvas;

// The mark, 9 x 9 pixels drawn with its top-left corner at (x - 4, y - 4):
// rows top to bottom, bit c the pixel of column c.
extern const uint16_t kPictureMarkRows[9];

// Where the mark of click-data entry `entry` (row of the chart's index)
// stands, when its object is drawn on this chart: coordinates always; a
// star, body, deep-sky object, Galilean moon, user object or named point
// only while the chart shows it. 1 with out; 0 for no mark.
int pictureMarkPosition(ChartState *chart, int entry, ProjectedPoint *out);

// The mark of entry `entry`, when it has a place.
void drawPictureMark(ChartState *chart, Canvas *canvas, int entry);

// Walks the index over the open click-data file: each entry that has an
// "@IMAGE" line before the next ":" line gets one mark.
void scanImageEntries(ChartState *chart, Canvas *canvas, FILE *file);

// The layer: nothing unless PICTUREMARK is on and an index is loaded; an
// unreadable click-data file draws nothing and says nothing.
void chartDrawPictureMarks(ChartState *chart, Canvas *canvas);
