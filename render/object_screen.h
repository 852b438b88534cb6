// Screen positions of the solar-system bodies for the current chart mode.
#pragma once

#include "model/view_geometry.h"

struct ChartState;

// ObjectId ranges of the comets and minor planets.
constexpr int kCometIdBase = 10000;
constexpr int kMinorPlanetIdBase = 20000;

/*
 * objectScreenPosition: where a body stands on the chart.
 * Given:    id  ObjectId: -3 Earth, -2 Sun, -1 Moon, 0..7 planets,
 *               10000 + i comet i, 20000 + i minor planet i
 * Returned: 1 and out when the body is shown (display bit 0x02) and lands on
 *           the chart; 0 otherwise. The Moon has no place in the
 *           solar-system views, the Earth only there.
 */
int objectScreenPosition(ChartState *chart, int id, ProjectedPoint *out);
