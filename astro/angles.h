// Angles in degrees: the table of sines, wrapping, degrees-minutes-seconds,
// saturating conversions and the fast hyperbolic functions of the orbit solvers.
#pragma once

#include <cstdint>

#include "astro/types.h"

// sin(i x 0.1 deg) x 1e9 truncated toward zero, i = 0..900 (double libm values:
// entry 300 is 499999999).
extern const int32_t sinTable[901];

/*
 * sinDeg: sine of an angle from the table of sines.
 * Given:    deg     double  angle (degrees)
 * Returned: double  sine
 * Notes:    The argument is truncated to 0.0001 degree; linear interpolation
 *           between tenth-degree entries, good to about 2e-6 against libm.
 *           Only |deg| >= 200000 is reduced with fmod. -0.0001 < deg < 0
 *           gives -0.0. A non-finite argument gives NaN.
 */
double sinDeg(double deg);

/*
 * cosDeg: cosine through sinDeg(deg + 90).
 * Given:    deg     double  angle (degrees)
 * Returned: double  cosine
 */
double cosDeg(double deg);

/*
 * sinDegInt, cosDegInt: sine and cosine of whole degrees, straight from the
 * table (no interpolation).
 * Given:    deg     int  angle (degrees, any value)
 * Returned: double
 */
double sinDegInt(int deg);
double cosDegInt(int deg);

/*
 * wrap360: angle folded into [0, 360).
 * Given:    deg     double  degrees
 * Returned: double  in [0, 360); NaN for a non-finite argument
 * Notes:    Tiny negative inputs fold to 0, never to 360.
 */
double wrap360(double deg);

/*
 * wrap360Int: whole degrees folded into [0, 360).
 */
int wrap360Int(int deg);

/*
 * wrap24h: hours folded into [0, 24), through wrap360.
 */
double wrap24h(double hours);

/*
 * clampLat: latitude from any angle.
 * Given:    deg     double  degrees
 * Returned: double  wrap360, minus 360 above 180, then clamped to [-90, 90]
 *           (200 becomes -160, then -90).
 */
double clampLat(double deg);

/*
 * atan2Safe: library atan2, but 0 when both arguments are 0.
 * Returned: radians
 */
double atan2Safe(double y, double x);

/*
 * degToDms: degrees to sign, degrees, minutes, seconds.
 * Given:    deg     double  degrees (or hours)
 * Returned: out     Dms     sign +1 for deg >= 0 else -1; degrees = floor|deg|,
 *                           minutes = floor(fmod(60|deg|, 60)),
 *                           seconds = fmod(3600|deg|, 60)
 * Notes:    Degrees beyond the int32 range saturate; NaN gives all zero.
 */
void degToDms(double deg, Dms *out);

/*
 * degToDmsRounded: degToDms of deg moved 30 arc seconds away from zero, so
 * that whole minutes come out rounded to the nearest minute.
 */
void degToDmsRounded(double deg, Dms *out);

/*
 * toInt32Trunc: double to int32, truncated toward zero.
 * Notes:    Saturates at the int32 limits; NaN gives 0. Every conversion of a
 *           value that may be out of range goes through here.
 */
int32_t toInt32Trunc(double v);

/*
 * saturateInt32: int64 to int32, clamped at the int32 limits.
 * Notes:    In the header: every fixed-point product of every star goes through it.
 */
inline int32_t saturateInt32(int64_t v)
{
    if (v > INT32_MAX)
        return INT32_MAX;
    if (v < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

/*
 * fastSinh: hyperbolic sine.
 * Given:    x       double
 * Returned: double  single-precision polynomial for |x| <= 1, its double-angle
 *                   form for |x| <= 2 (relative error at most 4.3e-7), libm beyond.
 */
double fastSinh(double x);

/*
 * fastSinhCosh: hyperbolic sine and cosine together, same ranges as fastSinh.
 * Returned: sinhOut, coshOut  double
 */
void fastSinhCosh(double x, double *sinhOut, double *coshOut);
