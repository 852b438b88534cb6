// A sky context for a Julian date and site, filled the way the chart keeps it
// current, for the body-theory tests.
#pragma once

#include <cmath>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/coords.h"
#include "astro/types.h"

inline SkyContext bodyTestContext(double jd, double latitudeDeg = 0.0, double longitudeDeg = 0.0,
                                  double altitudeM = 0.0) {
    SkyContext ctx = {};
    jdToDate(jd, &ctx.date);
    ctx.date.zone = 0.0;
    ctx.latitudeDeg = latitudeDeg;
    ctx.longitudeDeg = longitudeDeg;
    ctx.altitudeM = altitudeM;
    ctx.jd = jd;
    skyContextDerive(&ctx);
    return ctx;
}

// Angle between two directions (degrees); the vectors need not be unit.
inline double bodyTestAngleDeg(double ax, double ay, double az, double bx, double by, double bz) {
    const double cx = ay * bz - az * by, cy = az * bx - ax * bz, cz = ax * by - ay * bx;
    const double cross = std::sqrt(cx * cx + cy * cy + cz * cz);
    const double dot = ax * bx + ay * by + az * bz;
    return std::atan2(cross, dot) * 180.0 / M_PI;
}

// Terrestrial time of a UT Julian date as the series mean it: yearsFrom1975
// carries its own delta T, so t years stand for TT = 2442412.5 + 365.25 t.
inline double bodyTestSeriesTt(double jd) { return 2442412.5 + 365.25 * yearsFrom1975(jd); }

// Date k of count spread strictly inside the open series range.
inline double bodyTestSeriesDate(int k, int count) {
    return 2433282.5 + (k + 0.5) * (2473459.5 - 2433282.5) / count;
}

// Date k of 120 outside the series range: 1800-1950 for k < 60, then 2060-2200.
inline double bodyTestFallbackDate(int k) {
    return k < 60 ? 2378496.5 + k * 913.0 : 2473460.5 + (k - 60) * 850.0;
}
