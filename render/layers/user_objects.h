// The user-object and sky-mark layers: lines between places, star symbols
// and labels from the files loaded with LOAD AD and the sky-mark file.
#pragma once

#include <cstdint>

#include "model/view_geometry.h"

struct ChartState;
struct Canvas;
struct UserObject;

// The palette row of a user-object colour number (0..15; any other is white).
int32_t userObjectPaletteColour(int32_t colourNumber);

// The lines of a table (up to its end marker): a LINE row sets the colour and
// dashes, the rows up to END are its vertices, an invisible vertex breaks it.
void userObjectDrawLines(ChartState *chart, Canvas *canvas, const UserObject *records);

// Star symbols and labels of the rows of type star, nebula, mark and point;
// the celestial pass draws rows whose position is not horizontal, the other
// pass the horizontal ones.
void userObjectDrawLabels(ChartState *chart, Canvas *canvas, const UserObject *records, int labelsOn,
                          int celestial);

void chartDrawUserObjectLines(ChartState *chart, Canvas *canvas);
void chartDrawUserObjectLabels(ChartState *chart, Canvas *canvas);
void chartDrawUserObjectHrzLabels(ChartState *chart, Canvas *canvas);
void chartDrawSkyMarkLines(ChartState *chart, Canvas *canvas);
void chartDrawSkyMarkLabels(ChartState *chart, Canvas *canvas);
void chartDrawSkyMarkHrzLabels(ChartState *chart, Canvas *canvas);
