#include "astro/galilean.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/planets.h"
#include "astro/q14.h"
#include "astro/vecmat.h"

namespace {


// Mean longitude at J2000.0 (degrees), its rate (degrees per Julian century)
// and the orbit radius (AU).
struct GalileanMoonOrbit {
    double l0Deg;
    double rateDegPerCentury;
    double radiusAu;
};
const GalileanMoonOrbit galileanMoonTable[kGalileanMoonCount] = {
    {19.8, 7432435.4, 0.002820642967710703},   // Io
    {214.4, 3702713.1, 0.004486301843736144},  // Europa
    {221.8, 1837851.9, 0.007154219642298383},  // Ganymede
    {80.9, 787884.7, 0.01258550847014065},     // Callisto
};

} // namespace

double galileanMoonLongitude(int moon, double T) {
    if (moon < 0 || moon >= kGalileanMoonCount) return 0.0;
    return galileanMoonTable[moon].l0Deg + galileanMoonTable[moon].rateDegPerCentury * T;
}

void galileanMoonsCompute(const SkyContext *ctx, const SolarBodyRecord *jupiter, GalileanMoonRow out[4]) {
    Mat3 toDate;
    precessionMatrix(JD_J2000, ctx->jd, &toDate);
    Vec3 jDate;
    mat3MulVec(&jupiter->unit, &toDate, &jDate);
    double jPlace[2];
    vecToSph(&jDate, jPlace);
    const double T = (ctx->jd - JD_J2000) / 36525.0;
    const double inc = 25.5 + 0.01 * T;
    const double nodeOffset = 1.91 - 0.1 * T;
    // Separations shrink with Jupiter's distance; one never computed (0) puts
    // the moons on Jupiter instead of dividing by zero.
    const double perAu = jupiter->deltaAu > 0.0 ? kRadToDeg / jupiter->deltaAu : 0.0;
    for (int k = 0; k < kGalileanMoonCount; ++k) {
        const GalileanMoonOrbit &orbit = galileanMoonTable[k];
        const double lambda = galileanMoonLongitude(k, T);
        const Vec3 u = {cosDeg(lambda), sinDeg(lambda) * cosDeg(inc), sinDeg(lambda) * sinDeg(inc)};
        const double moonDir[2] = {atan2Safe(u.y, u.x) * kRadToDeg - nodeOffset,
                                   atan2Safe(u.z, std::sqrt(u.x * u.x + u.y * u.y)) * kRadToDeg};
        Vec3 w;
        relativeDirection(moonDir, jPlace, &w);
        const double pa = atan2Safe(w.y, w.x) * kRadToDeg;
        const double theta = atan2Safe(std::sqrt(w.x * w.x + w.y * w.y), w.z) * kRadToDeg;
        const double s = sinDeg(theta) * orbit.radiusAu * perAu;
        const double dec = jPlace[1] + s * cosDeg(pa);
        // Jupiter stays within 24 degrees of the equator, so the cosine is far from 0.
        const double ra = jPlace[0] + s * sinDeg(pa) / cosDeg((dec + jPlace[1]) / 2.0);
        const double place[2] = {ra, dec};
        Vec3 dateVec;
        sphToVec(place, &dateVec);
        mat3MulVec(&dateVec, &ctx->precessionToJ2000, &out[k].unit);
        vecToQ14(&out[k].unit, &out[k].unitQ14);
    }
}

void ephemGalileanMoons(const SkyContext *ctx, const SolarBodyRecord *jupiter, GalileanMoonRow out[4]) {
    galileanMoonsCompute(ctx, jupiter, out);
    out[0].jd = ctx->jd;
}
