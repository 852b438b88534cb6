// The labels beside a solar-system body: its name, magnitude and the chart's
// date, as its display byte asks. The Sun, the Moon, the planets, the comets,
// the minor planets and the Earth of the solar-system views all take them.
#pragma once

#include <cstdint>

#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;
struct SkyContext;

// The labels of body id (an ObjectId) drawn at p, which stands for a symbol
// or disc of `size` pixels: the magnitude below it (not in the solar-system
// views), the name and the date beside it.
void drawBodyLabels(ChartState *chart, Canvas *canvas, int id, uint8_t displayByte,
                    const ProjectedPoint *p, int size);
void drawBodyName(ChartState *chart, Canvas *canvas, int id, int x, int y);
// Returns the half-width the magnitude occupies.
int drawBodyMag(ChartState *chart, Canvas *canvas, int id, int x, int y);
void drawTraceDate(Canvas *canvas, const SkyContext *sky, int x, int y);
