// Reference frames: precession, position angle and separation, and conversion
// of longitude/latitude pairs between the six coordinate systems.
#pragma once

#include "astro/calendar.h"
#include "astro/types.h"

// Coordinate systems of the command language (position kinds 1 to 6).
const int COORD_HRZ = 1;       // horizontal: azimuth from the south through the west, altitude
const int COORD_EQT = 2;       // equatorial of J2000.0
const int COORD_EQT_B1950 = 3; // equatorial of B1950.0 (JD 2433282.0)
const int COORD_EQT_DATE = 4;  // equatorial of the equinox of the date
const int COORD_ECL = 5;       // ecliptic of the date
const int COORD_GAL = 6;       // galactic

/*
 * positionAngleAndSeparation: direction and distance from one sky point to another.
 * Given:    a, b           double[2]  (longitude, latitude), degrees
 * Returned: positionAngle  double     degrees in (0, 360], at a from the
 *                                     direction of increasing latitude toward
 *                                     increasing longitude
 *           separation     double     degrees (haversine form)
 */
void positionAngleAndSeparation(const double a[2], const double b[2], double *positionAngle, double *separation);

/*
 * precessionMatrix: IAU 1976 precession with a long-term extension.
 * Given:    fromJd, toJd  double  equinoxes as Julian dates
 * Returned: out           Mat3    V(toJd) = out x V(fromJd)
 * Notes:    Agrees with the IAU 1976 matrix to about 3e-6 within +/-30
 *           centuries of J2000.0; beyond, one degree of ecliptic longitude
 *           per 72 years is added. A start date beyond +/-30 centuries is
 *           computed as the inverse of the opposite direction, so
 *           precessionMatrix(a, b) is exactly mat3Inverse(precessionMatrix(b, a)).
 */
void precessionMatrix(double fromJd, double toJd, Mat3 *out);

/*
 * skyContextDerive: the derived fields of a SkyContext from its Julian date
 * and longitude: sidereal time, years from 1975, centuries from J2000,
 * obliquity with its sine and cosine, precession to J2000.
 * Given/Returned: ctx  SkyContext*  (jd and longitudeDeg read; the rest written)
 * Notes: jd is taken as it stands, not recomputed from the date.
 */
void skyContextDerive(SkyContext *ctx);

/*
 * longTermPrecession: turn about the ecliptic pole.
 * Given:    days         double  time span (days)
 *           obliquityJd  double  date of the obliquity of the ecliptic used
 * Returned: out          Mat3    adds days / 365.24 / 72 degrees of ecliptic longitude
 */
void longTermPrecession(double days, double obliquityJd, Mat3 *out);

/*
 * transformSph: longitude/latitude pair through a matrix.
 * Given:    in   double[2]  degrees
 *           m    Mat3
 * Returned: out  double[2]  longitude in [0, 360), latitude (degrees, as vecToSph) of
 *                           m x sphToVec(in); may alias in
 */
void transformSph(const double in[2], double out[2], const Mat3 *m);

/*
 * convertCoords: longitude/latitude from one coordinate system to another.
 * Given:    ctx         SkyContext  reads latitudeDeg, siderealDeg, jd, obliquityDeg
 *           fromSystem  int         COORD_HRZ .. COORD_GAL
 *           in          double[2]   longitude first (azimuth, right ascension
 *                                   in degrees, ...), latitude second
 *           toSystem    int         COORD_HRZ .. COORD_GAL
 * Returned: out         double[2]   longitude in (0, 360] (0 comes out as 360),
 *                                   latitude in [-90, 90]; may alias in
 * Notes:    Horizontal azimuth counts from the south through the west.
 *           Every conversion passes through J2000.0 equatorial. With equal
 *           systems, or a system number outside 1..6, out is a copy of in.
 */
void convertCoords(const SkyContext *ctx, int fromSystem, const double in[2], int toSystem, double out[2]);
