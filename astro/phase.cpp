#include "astro/phase.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"

namespace {
const double kAuPerFixedUnit = 25.0 / 1073741824.0; // 2^30 units per 25 AU
double clampUnit(double x) {
    if (x > 1.0) return 1.0;
    if (x < -1.0) return -1.0;
    return x;
}
} // namespace

double asinDegGuarded(double x) { return std::asin(clampUnit(x)) * kRadToDeg; }
double acosDegGuarded(double x) { return std::acos(clampUnit(x)) * kRadToDeg; }

void phaseAndLimbAngle(const double sun[2], double sunDistance, const double body[2],
                       double bodyDistance, double *phase, double *limbAngle) {
    const double a0 = sun[0], d0 = sun[1], a = body[0], d = body[1];
    const double sinD0 = sinDeg(d0), cosD0 = cosDeg(d0);
    const double sinD = sinDeg(d), cosD = cosDeg(d);
    const double sinDa = sinDeg(a0 - a), cosDa = cosDeg(a0 - a);
    *limbAngle = atan2Safe(cosD0 * sinDa, sinD0 * cosD - cosDa * sinD * cosD0) * kRadToDeg;
    // Rounding can push the cosine a hair past 1 for coincident places.
    const double e = acosDegGuarded(cosDa * cosD0 * cosD + sinD * sinD0);
    const double i = atan2Safe(sunDistance * sinDeg(e), bodyDistance - sunDistance * cosDeg(e)) * kRadToDeg;
    *phase = (1.0 + cosDeg(i)) / 2.0;
}

void packPositionFixed(const Vec3 *au, int32_t out[3]) {
    out[0] = toInt32Trunc(au->x / kAuPerFixedUnit);
    out[1] = toInt32Trunc(au->y / kAuPerFixedUnit);
    out[2] = toInt32Trunc(au->z / kAuPerFixedUnit);
}
