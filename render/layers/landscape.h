// The landscape layer of the horizontal chart (the ground below the horizon
// and the direction names on it) and the planisphere's direction names.
#pragma once

#include <cstdint>

#include "render/canvas.h"

struct ChartState;

constexpr int kHorizonSidePoints = 27; // 0, 5, ..., 130 degrees
constexpr int kHorizonPolygonMax = 2 * kHorizonSidePoints + 1;

/*
 * horizonPolygon: the ground's outline in the horizontal chart.
 * Returned: the vertex count (2k + 1 for k horizon points on the chart), 0
 *           when not even the point below the view centre is visible.
 */
int horizonPolygon(ChartState *chart, CanvasPoint out[kHorizonPolygonMax]);

/*
 * horizonPolygonFromPoints: the polygon of k stored horizon points (P0 below
 * the view centre): the edge point under the mirror of the last, the
 * mirrors of P(k-1)..P1 about centreX, P0..P(k-1), the edge point under the
 * last. edgeY is the chart's bottom edge, or its top when turned.
 * Returned: 2k + 1, or 0 for k = 0.
 */
int horizonPolygonFromPoints(const CanvasPoint *pts, int k, int centreX, int edgeY, CanvasPoint *out);

void drawHorizonDirections(ChartState *chart, Canvas *canvas);
void chartDrawLandscape(ChartState *chart, Canvas *canvas);
void chartDrawPlanisphereDirections(ChartState *chart, Canvas *canvas);
