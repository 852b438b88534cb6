// View geometry: from the chart state's view settings (mode, centre, field,
// orientation, chart rectangle) to the pixel scales, the projection centre,
// the cut-off around it and the rotations from J2000 into the view frame.
//
// The view frame: x to the projection centre, y to the left of the chart,
// z up; a view-frame vector (x, y, z) lands at (centerX - y s, centerY - z s)
// before the orientation setting is applied. The horizon frame: x to the
// south point, y to the east point, z to the zenith. Azimuths count from the
// south through the west.
#pragma once

#include <cstdint>

#include "astro/types.h"

struct ChartState;

// Where a projection put a point. Which fields a routine writes is part of
// its contract; the others keep what the caller had there.
struct ProjectedPoint {
    int32_t x, y;      // pixel column and row
    int32_t depth;     // azimuthal charts: height above the horizon plane, Q14;
                       // whole-sky maps: view-frame z << 16
    int32_t cosCentre; // azimuthal charts: cosine of the distance to the centre, Q14;
                       // Aitoff map: cosine of half the map longitude << 16
};

// Pixels per degree from which the azimuthal projections work in doubles.
constexpr double kPreciseScalePixelsPerDeg = 80.0;

// Solar-system points farther than this from the centre (pixels) are cut off.
constexpr double kSolarSystemMaxOffsetPx = 20000.0;

/*
 * updateViewScale: fieldHeight, the pixel scales, projScale, centerX/centerY,
 * radius (planisphere) and the cut-off cosine, from mode, chartRect,
 * fieldWidth, solScale and the pixel aspect.
 * Notes:    A chart rectangle of zero width or height is taken as 1 pixel, so
 *           no scale is ever infinite or NaN. cullCosQ14 is the Q14 cosine
 *           lowered by 5; below -16344 it becomes -16343 (near the antipode the
 *           fixed-point radial factor would divide by zero).
 */
void updateViewScale(ChartState *chart);

/*
 * updateViewMatrix: the horizon matrix and the view matrix of the chart's
 * coordinate system, double and Q14 (elements x 16384 truncated).
 * Notes:    Must run after updateViewScale: the horizontal chart's rotation
 *           uses centerY and fieldHeight.
 */
void updateViewMatrix(ChartState *chart);

// The steps of updateViewMatrix, each replacing viewMatrix and its Q14 copy.
void updateHorizonMatrix(ChartState *chart);
void updateEquatorialViewMatrix(ChartState *chart);
void updateEclipticViewMatrix(ChartState *chart);
void updateGalacticViewMatrix(ChartState *chart);

/*
 * projectSolarSystemPoint: screen point of a heliocentric position in the
 * solar-system views.
 * Given:    helio  Vec3  heliocentric position, AU
 * Returned: 1 and out x, y (depth and cosCentre 0); 0 when it lies more than
 *           10 solScale behind the plane through the origin or more than 20000
 *           pixels from the centre along either axis.
 */
int projectSolarSystemPoint(const ChartState *chart, const Vec3 *helio, ProjectedPoint *out);
