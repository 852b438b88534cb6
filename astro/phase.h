// Small helpers of the body theories: phase and bright limb of a disc, and the
// fixed-point form of a heliocentric position.
#pragma once

#include <cstdint>

#include "astro/types.h"

/*
 * phaseAndLimbAngle: illuminated fraction and bright-limb position angle of a
 * body lit by the Sun.
 * Given:    sun          double[2]  Sun's right ascension, declination (degrees)
 *           sunDistance  double     Sun's distance from the Earth (AU)
 *           body         double[2]  body's right ascension, declination (degrees)
 *           bodyDistance double     body's distance from the Earth (AU)
 * Returned: phase        double     illuminated fraction, 0 to 1
 *           limbAngle    double     position angle of the bright limb's midpoint,
 *                                   degrees in (-180, 180], from north through east
 * Notes:    Both places must be in the same frame (the chart uses J2000.0).
 *           Coincident places give the elongation 0: a full disc for a body
 *           beyond the Sun, a new one for a body nearer than the Sun.
 */
void phaseAndLimbAngle(const double sun[2], double sunDistance, const double body[2],
                       double bodyDistance, double *phase, double *limbAngle);

/*
 * asinDegGuarded, acosDegGuarded: arc sine and arc cosine in degrees with the
 * argument first limited to [-1, 1], so that rounding just past 1 never
 * gives NaN.
 */
double asinDegGuarded(double x);
double acosDegGuarded(double x);

/*
 * packPositionFixed: a position in AU as three int32, each coordinate / 25 x 2^30
 * truncated toward zero.
 * Given:    au   Vec3      position (AU)
 * Returned: out  int32[3]
 * Notes:    Representable: +/-50 AU (25 AU packs to 1073741824). Beyond that the
 *           coordinate saturates at the int32 limits instead of wrapping; NaN packs to 0.
 */
void packPositionFixed(const Vec3 *au, int32_t out[3]);
