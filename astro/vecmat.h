// Double-precision vectors and 3x3 matrices: products, frame rotations,
// inverse, spherical <-> Cartesian.
#pragma once

#include "astro/types.h"

/*
 * mat3Identity: the unit matrix.
 * Returned: out  Mat3
 */
void mat3Identity(Mat3 *out);

/*
 * mat3Mul: matrix product.
 * Given:    a, b  Mat3
 * Returned: out   Mat3  a x b (may alias a or b)
 */
void mat3Mul(const Mat3 *a, const Mat3 *b, Mat3 *out);

/*
 * rotX, rotY, rotZ: frame rotations about one axis.
 * Given:    deg   double  angle (degrees)
 * Returned: out   Mat3
 *           rotX rows (1, 0, 0), (0, c, s), (0, -s, c)
 *           rotY rows (c, 0, -s), (0, 1, 0), (s, 0, c)
 *           rotZ rows (c, s, 0), (-s, c, 0), (0, 0, 1)
 * Notes:    They turn the frame, not the vector, by +deg: a vector at
 *           longitude L comes out at L - deg after rotZ(deg). c and s come
 *           from cosDeg and sinDeg.
 */
void rotX(double deg, Mat3 *out);
void rotY(double deg, Mat3 *out);
void rotZ(double deg, Mat3 *out);

/*
 * rotZY: rotY(yDeg) x rotZ(zDeg) (first about z, then about the new y).
 */
void rotZY(double zDeg, double yDeg, Mat3 *out);

/*
 * mat3Inverse: inverse by cofactors over the determinant.
 * Given:    m    Mat3  (a rotation; a singular matrix gives an unspecified result)
 * Returned: out  Mat3  (may alias m)
 */
void mat3Inverse(const Mat3 *m, Mat3 *out);

/*
 * mat3MulVec: matrix times column vector.
 * Given:    v    Vec3
 *           m    Mat3
 * Returned: out  Vec3  m x v (may alias v)
 * Notes:    The vector comes first in the argument list.
 */
void mat3MulVec(const Vec3 *v, const Mat3 *m, Vec3 *out);

/*
 * vecScale: out = s v.  vecSub: out = a - b.  vecLength: |v|.
 * The outputs may alias the inputs.
 */
void vecScale(const Vec3 *v, double s, Vec3 *out);
void vecSub(const Vec3 *a, const Vec3 *b, Vec3 *out);
double vecLength(const Vec3 *v);

/*
 * sphToVec: unit vector of a longitude/latitude pair.
 * Given:    lonLat  double[2]  longitude, latitude (degrees)
 * Returned: out     Vec3       (cos lon cos lat, sin lon cos lat, sin lat)
 *                              through cosDeg/sinDeg
 */
void sphToVec(const double lonLat[2], Vec3 *out);

/*
 * vecToSph: longitude/latitude of a unit vector.
 * Given:    v       Vec3       a direction (meant as a unit vector)
 * Returned: lonLat  double[2]  longitude in (0, 360] (longitude 0 yields 360),
 *                              latitude in [-90, 90]
 * Notes:    The latitude is atan2(z, sqrt(x^2 + y^2)), equal to asin(z) for a
 *           unit vector but exact near the poles for vectors built from the
 *           table sines, and the direction's latitude for any length.
 */
void vecToSph(const Vec3 *v, double lonLat[2]);
