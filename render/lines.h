// Lines between projected points that know about the whole-sky maps: a
// segment whose ends lie on opposite sides of a map's back meridian is split
// at the map's edge instead of being drawn straight across the map.
#pragma once

#include <cstdint>

#include "astro/types.h"
#include "model/chart_frame.h"
#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;

// Sets the chart's wrap setting (chart->frame.wrap) from its mode; the frame
// does so before the layers, the grid layer again before its lines.
void chartSetWrapMode(ChartState *chart);

// Draws a-b, split as the chart's wrap setting requires; a and b are not changed.
void chartDrawSegment(ChartState *chart, Canvas *canvas, const ProjectedPoint *a, const ProjectedPoint *b);

// The Aitoff map's test (against the wrap setting's meridian column) and
// split, exposed for tests.
int aitoffNeedsWrap(const ChartState *chart, const ProjectedPoint *a, const ProjectedPoint *b);
void aitoffDrawWrapped(ChartState *chart, Canvas *canvas, const ProjectedPoint *a, const ProjectedPoint *b);

// The pen of a polyline of sky directions: a culled point lifts the pen.
struct PolylineState {
    int32_t visible;     // result of the last projection
    ProjectedPoint last; // where it went
    Canvas *canvas;
    ChartState *chart;
};

PolylineState polylineStart(const Vec3Q14 *v, ChartState *chart, Canvas *canvas);
void polylineNext(const Vec3Q14 *v, PolylineState *pen);

// round(sin(k degrees) x 32767), k = 0..90.
extern const int32_t sineTable32767[91];

/*
 * limbOutlinePoints: a half circle (divisor 1) or a half ellipse half as high
 * (divisor 2) from its top over the left or right side to its bottom.
 * Given:    cx, cy        centre, pixels
 *           radius        pixels
 *           stepDegrees   a divisor of 90
 *           leftSide      non-zero: the left half
 *           capacity      size of pts in points
 * Returned: n = 180 / stepDegrees with n + 1 points in pts; 0 (nothing
 *           written) when the step does not divide 90 or pts is too small.
 */
int limbOutlinePoints(CanvasPoint *pts, int capacity, int cx, int cy, unsigned radius, int stepDegrees,
                      int leftSide, int divisor);

// Step (degrees) of the mask outlines for a chart w pixels wide.
int outlineStepForWidth(int w);
