// Overlap of two sky discs and the solar-eclipse test of the chart's Sun and Moon.
#pragma once

#include "astro/body_records.h"

/*
 * discsOverlap: whether two discs on the sky overlap.
 * Given:    a, b        double[2]  (right ascension, declination) of the centres, degrees
 *           radiusSum   double     sum of the two radii, degrees
 * Returned: positionAngle  double  of b seen from a, degrees (0, 360]
 *           separation     double  degrees
 *           int            1 when separation <= radiusSum
 * Notes:    A quick box test first: when the centres lie farther apart than
 *           1.1 x radiusSum in longitude or latitude, 0 is returned and
 *           nothing is written. Inside the box both outputs are written even
 *           when the discs miss each other. The longitude difference is
 *           wrapped into (-180, 180] (no jump at 0h) and measured on the sky
 *           at the higher of the two latitudes, so that the box never cuts
 *           off discs that do touch.
 */
int discsOverlap(const double a[2], const double b[2], double radiusSum, double *positionAngle,
                 double *separation);

/*
 * eclipseMagnitude: the solar-eclipse test of the topocentric Moon against the Sun.
 * Given:    moon  MoonRecord  raJ2000Deg, decJ2000Deg, semidiameterDeg
 *           sun   SunRecord   raJ2000Deg, decJ2000Deg, semidiameterDeg
 * Returned: sun   eclipseMagnitude: (radiusSum - separation) / (2 x Sun's radius)
 *                 on overlap, else -1.0; eclipsePositionAngleDeg whenever the
 *                 discs fall inside the box of discsOverlap
 *           int   1 when the discs overlap
 */
int eclipseMagnitude(const MoonRecord *moon, SunRecord *sun);
