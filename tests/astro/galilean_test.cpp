// The Galilean moons: uniform circles in Jupiter's equatorial plane.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/galilean.h"
#include "astro/planets.h"
#include "astro/sun_moon.h"
#include "astro/vecmat.h"
#include "tests/astro/planet_reference_data.h"
#include "tests/astro/sun_moon_context.h"

namespace {

const double kRadiusAu[4] = {0.002820642967710703, 0.004486301843736144, 0.007154219642298383,
                             0.01258550847014065};
const double kRateDegPerDay[4] = {7432435.4 / 36525, 3702713.1 / 36525, 1837851.9 / 36525, 787884.7 / 36525};

struct JupiterAndMoons {
    SkyContext ctx;
    SolarBodyRecord jupiter;
    GalileanMoonRow moons[4];
};

JupiterAndMoons computeAt(double jd) {
    JupiterAndMoons s = {};
    s.ctx = bodyTestContext(jd);
    SunRecord sun = {};
    ephemSun(&s.ctx, &sun);
    ephemPlanet(3, &s.ctx, &sun, &s.jupiter, 1);
    ephemGalileanMoons(&s.ctx, &s.jupiter, s.moons);
    return s;
}

// Separation (deg) and position angle (deg, north through east) of a moon from Jupiter.
void offsetFromJupiter(const JupiterAndMoons &s, int k, double *separation, double *positionAngle) {
    double j[2], m[2];
    vecToSph(&s.jupiter.unit, j);
    vecToSph(&s.moons[k].unit, m);
    Vec3 w;
    relativeDirection(m, j, &w);
    *separation = std::atan2(std::sqrt(w.x * w.x + w.y * w.y), w.z) * 180.0 / M_PI;
    *positionAngle = std::atan2(w.y, w.x) * 180.0 / M_PI;
}

TEST(GalileanMoons, LongitudesStartAtTheTableAndAdvanceAtTheirRates) {
    EXPECT_DOUBLE_EQ(galileanMoonLongitude(0, 0.0), 19.8);
    EXPECT_NEAR(galileanMoonLongitude(0, 1.0 / 36525.0) - 19.8, 203.49, 0.005);
    EXPECT_DOUBLE_EQ(galileanMoonLongitude(3, 0.0), 80.9);
    EXPECT_EQ(galileanMoonLongitude(4, 1.0), 0.0);
}

TEST(GalileanMoons, AllFourLieAlongJupitersEquatorLine) {
    for (int d = 0; d < 30; ++d) {
        const JupiterAndMoons s = computeAt(2451545.0 + d * 123.4);
        double pole[2];
        jupiterPoleAngles(&s.ctx, &s.jupiter, pole);
        const double lineAngle = pole[0] + 90.0;
        const double edgeOn = std::fabs(std::cos(pole[1] * M_PI / 180.0));
        for (int k = 0; k < 4; ++k) {
            double sep, pa;
            offsetFromJupiter(s, k, &sep, &pa);
            const double across = sep * std::fabs(std::sin((pa - lineAngle) * M_PI / 180.0));
            const double elongation = kRadiusAu[k] / s.jupiter.deltaAu * 180.0 / M_PI;
            EXPECT_LE(across, elongation * (edgeOn + 0.01)) << d << " moon " << k;
            EXPECT_LE(sep, elongation * 1.0001) << d << " moon " << k;
        }
        EXPECT_EQ(s.moons[0].jd, s.ctx.jd);
        EXPECT_NEAR(s.moons[2].unitQ14.y, s.moons[2].unit.y * 16384.0, 1.0);
    }
}

TEST(GalileanMoons, CallistoLargestElongationAtFourPointTwoAu) {
    SkyContext ctx = bodyTestContext(2451545.0);
    SolarBodyRecord jupiter = {};
    const double place[2] = {40.0, 12.0};
    sphToVec(place, &jupiter.unit);
    jupiter.deltaAu = 4.2;
    double largest = 0.0;
    for (double day = 0.0; day < 17.0; day += 0.02) {
        ctx = bodyTestContext(2451545.0 + day);
        GalileanMoonRow moons[4] = {};
        galileanMoonsCompute(&ctx, &jupiter, moons);
        const double a[2] = {40.0, 12.0};
        double m[2];
        vecToSph(&moons[3].unit, m);
        Vec3 w;
        relativeDirection(m, a, &w);
        largest = std::fmax(largest, std::atan2(std::sqrt(w.x * w.x + w.y * w.y), w.z) * 180.0 / M_PI);
    }
    std::printf("Callisto largest elongation at 4.2 AU: %.5f deg\n", largest);
    EXPECT_NEAR(largest, 0.1717, 0.0005);
}

TEST(GalileanMoons, AJupiterNeverComputedKeepsTheMoonsOnIt) {
    const SkyContext ctx = bodyTestContext(2451545.0);
    SolarBodyRecord jupiter = {};
    jupiter.unit = Vec3{0.0, 1.0, 0.0};
    GalileanMoonRow moons[4] = {};
    moons[0].jd = 77.0;
    galileanMoonsCompute(&ctx, &jupiter, moons);
    EXPECT_EQ(moons[0].jd, 77.0) << "only ephemGalileanMoons stamps the set";
    for (const GalileanMoonRow &m : moons) {
        EXPECT_TRUE(std::isfinite(m.unit.x));
        EXPECT_NEAR(m.unit.y, 1.0, 1e-6);
    }
}

TEST(GalileanMoons, SeparationsAgreeWithEphemWithinTheMissingLightTime) {
    double worst[4] = {};
    for (int k = 0; k < galileanMoonReferencesCount; ++k) {
        const PlanetReferenceRow &ref = galileanMoonReferences[k];
        const JupiterAndMoons s = computeAt(ref.jd);
        double sep, pa;
        offsetFromJupiter(s, ref.body, &sep, &pa);
        // Light time (ephem's moons are seen where they were) plus the circular
        // model's own error of about a degree along the orbit.
        const double lightDays = ref.c * 0.0057755;
        const double alongOrbitRad = (kRateDegPerDay[ref.body] * lightDays + 1.5) * M_PI / 180.0;
        const double allowed = kRadiusAu[ref.body] / ref.c * alongOrbitRad * 180.0 / M_PI;
        const double diff = std::fabs(sep - ref.a);
        worst[ref.body] = std::fmax(worst[ref.body], diff / allowed);
        EXPECT_LE(diff, allowed) << ref.jd << " moon " << ref.body;
    }
    std::printf("Galilean moons vs ephem, worst share of the allowance: %.2f %.2f %.2f %.2f\n", worst[0], worst[1],
                worst[2], worst[3]);
}

} // namespace
