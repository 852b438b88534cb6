// Projection of J2000 unit vectors to chart pixels, per chart mode.
//
// projectPoint takes Q14 vectors (16384 = 1.0) and works in 32-bit fixed
// point below 80 pixels per degree (projScale[3]); from 80 on the azimuthal
// charts switch to doubles, where Q14 steps (about 0.0035 degrees) would show.
// projectPointPrecise takes double vectors (Moon, satellites, comet tails).
// Each routine returns 1 when the point is to be drawn (x, y set), 0 when it is
// culled or the mode has no such projection. Fields a routine does not write
// keep the caller's values; a culled point may have cosCentre or depth written.
#pragma once

#include <cstdint>

#include "astro/types.h"
#include "model/chart_frame.h"
#include "model/view_geometry.h"

struct ChartState;

// Screen coordinates of points far off the chart are held to +-2^29 pixels:
// far outside any drawable (X coordinates are 16-bit), with room left for
// the offsets and differences the layers work out in int.
constexpr int32_t kFarOffChart = 1 << 29;

// floor(16384 t / sin t) - 16384 for the Q14 cosines c = 16129..16384
// (entry c - 16129), t = acos(c / 16384): 85 down to 0.
extern const int8_t thetaOverSineTable[256];

/*
 * radialFactorQ14: the azimuthal-equidistant factor t / sin t.
 * Given:    cosQ14    int   Q14 cosine of the distance t from the centre
 * Returned: factor    int   Q14 factor divided by divisor
 *           divisor   int   1, 10 or 100: near the antipode the factor grows
 *                           without bound, and the divisor keeps the later
 *                           fixed-point products inside 32 bits
 */
void radialFactorQ14(int cosQ14, int *factor, int *divisor);

int projectPoint(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);

/*
 * projectionZBand: a coarse cull before projectPoint. Vectors whose z (the
 * sine of the declination, Q14) lies outside [*zLow, *zHigh] are rejected by
 * projectPoint under the chart's present cull values: outside the cone of the
 * view, or in the horizontal charts below the depth limit. The band is a
 * little wider than the cones, never narrower; in modes that cull nothing it
 * is the whole sphere.
 */
void projectionZBand(const ChartState *chart, int32_t *zLow, int32_t *zHigh);
int projectPointPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out);

// The fields projectPoint reads, zero-filled between them so that two
// records compare byte for byte; a routine that comes to read another field
// adds it here.
void projectionInputs(const ChartState *chart, ProjectionInputs *out);

// Screen pixels from (x0, y0) to (x1, y1), both included.
struct ScreenSpan {
    int32_t x0, y0, x1, y1;
};

/*
 * projectSpanPrecise: the pixels projectPointPrecise can give for any unit
 * vector within radiusRad of v, in the sky charts (azimuthal, the double
 * path). The continuous map moves a point at most its angle from v times
 * the pixels per radian, stretched across the radius by theta / sin theta at
 * the angle theta from the centre; truncation then keeps the order. Points
 * the chart culls are in the span too as if they were drawn. 0 in other
 * modes or orientations, or when the neighbourhood reaches within 0.1 rad of
 * the point opposite the centre (out untouched).
 */
int projectSpanPrecise(const ChartState *chart, const Vec3 *v, double radiusRad, ScreenSpan *out);

/*
 * projectPointAxes: the azimuthal projection with a caller-given rotation in
 * place of the view matrix (the landscape layer). Writes x, y and cosCentre;
 * culls on cullCosQ14 only; the orientation setting applies in every mode.
 */
int projectPointAxes(const Mat3Q14 *axes, ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);

// The routines projectPoint dispatches to, for tests and for callers that
// already know the mode.
int projectAzimuthalHrz(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
int projectAzimuthalSky(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
int projectAzimuthalHrzD(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
int projectAzimuthalSkyD(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
int projectAzimuthalHrzPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out);
int projectAzimuthalSkyPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out);
int projectCylindrical(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
int projectAitoff(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out);
// The Aitoff map of a vector already in the view frame; always 1.
int projectAitoffRotated(const ChartState *chart, const Vec3Q14 *u, ProjectedPoint *out);

/*
 * projectBodyByMode: the routine of the mode's projection kind for a body
 * with three position forms: kind 1 projectPointPrecise on geoUnit, kind 2
 * projectSolarSystemPoint on helio, kinds 3, 4 and 8 projectPoint on
 * geoUnitQ14; 0 in any other kind.
 */
int projectBodyByMode(ChartState *chart, const Vec3 *geoUnit, const Vec3Q14 *geoUnitQ14, const Vec3 *helio,
                      ProjectedPoint *out);
