#include "astro/eclipse.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/coords.h"

int discsOverlap(const double a[2], const double b[2], double radiusSum, double *positionAngle,
                 double *separation)
{
    double box = 1.1 * radiusSum;
    // Right-ascension degrees shrink towards the poles: without the cosine a
    // partial lunar eclipse at declination 28 degrees would be cut off.
    double higherLat = std::fmax(std::fabs(a[1]), std::fabs(b[1]));
    double dLon = clampLat(a[0] - b[0]) * cosDeg(std::fmin(higherLat, 90.0));
    double dLat = clampLat(a[1] - b[1]);
    if (std::fabs(dLon) > box || std::fabs(dLat) > box)
        return 0;
    double pa = 0.0, sep = 0.0;
    positionAngleAndSeparation(a, b, &pa, &sep);
    *positionAngle = pa;
    *separation = sep;
    return sep <= radiusSum ? 1 : 0;
}

int eclipseMagnitude(const MoonRecord *moon, SunRecord *sun)
{
    double sunPos[2] = {sun->raJ2000Deg, sun->decJ2000Deg};
    double moonPos[2] = {moon->raJ2000Deg, moon->decJ2000Deg};
    double radiusSum = sun->semidiameterDeg + moon->semidiameterDeg;
    double separation = 0.0;
    if (discsOverlap(sunPos, moonPos, radiusSum, &sun->eclipsePositionAngleDeg, &separation) &&
        sun->semidiameterDeg > 0.0) {
        sun->eclipseMagnitude = (radiusSum - separation) / (2.0 * sun->semidiameterDeg);
        return 1;
    }
    sun->eclipseMagnitude = -1.0;
    return 0;
}
