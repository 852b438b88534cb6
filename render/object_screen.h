// Screen positions of the solar-system bodies for the current chart mode.
#pragma once

#include <cstdint>

#include "model/view_geometry.h"

struct ChartState;
struct UserObject;

/*
 * objectScreenPosition: where a body stands on the chart.
 * Given:    id  ObjectId: -3 Earth, -2 Sun, -1 Moon, 0..7 planets,
 *               10000 + i comet i, 20000 + i minor planet i
 * Returned: 1 and out when the body is shown (display bit 0x02) and lands on
 *           the chart; 0 otherwise. The Moon has no place in the
 *           solar-system views, the Earth only there.
 */
int objectScreenPosition(ChartState *chart, int id, ProjectedPoint *out);

// The cosine field of a screen point that is no sky direction (SCREEN,
// VIEW_CENTER): 0xc000.
constexpr int32_t kScreenPointCosCentre = 49152;

/*
 * targetScreenPosition: where a PositionSpec stands on the chart.
 * Given:    kind, index, values  a PositionSpec (model/position.h)
 * Returned: 1 and out when the place is on the chart; 0 otherwise. A user
 *           object (kind 55) is its file row's position; a sky mark (60) has
 *           no screen position here. A screen point is the pixel itself and
 *           VIEW_CENTER the middle of the chart, with depth 0 and cosCentre
 *           kScreenPointCosCentre.
 */
int targetScreenPosition(ChartState *chart, int32_t kind, int32_t index, const double values[2], ProjectedPoint *out);

// Where a user-object or sky-mark row stands on the chart: targetScreenPosition
// of its position.
int userObjectScreenPos(ChartState *chart, const UserObject *record, ProjectedPoint *out);
