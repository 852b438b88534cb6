// The Moon: accuracy against ERFA's moon98, detail levels, the topocentric
// place, libration and axis, phase, and the age.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

extern "C" {
#include <erfa.h>
}

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/vecmat.h"
#include "astro/sun_moon.h"
#include "tests/astro/sun_moon_context.h"

namespace {

const double kKmPerAu = 149597870.0;

void moonGeoVector(const MoonRecord &m, Vec3 *out) {
    const double lonLat[2] = {m.raGeoJ2000Deg, m.decGeoJ2000Deg};
    sphToVec(lonLat, out);
}

TEST(MoonTheory, SeriesPlaceAgreesWithMoon98Over1950To2060) {
    const int count = 240;
    double worst = 0.0, worstJd = 0.0, worstDistance = 0.0;
    for (int k = 0; k < count; ++k) {
        const double jd = bodyTestSeriesDate(k, count);
        const SkyContext ctx = bodyTestContext(jd);
        MoonRecord moon = {};
        ephemMoon(&ctx, &moon, 1);
        double pv[2][3];
        eraMoon98(bodyTestSeriesTt(jd), 0.0, pv);
        Vec3 v;
        moonGeoVector(moon, &v);
        const double d = bodyTestAngleDeg(v.x, v.y, v.z, pv[0][0], pv[0][1], pv[0][2]);
        if (d > worst) worst = d, worstJd = jd;
        const double r = std::sqrt(pv[0][0] * pv[0][0] + pv[0][1] * pv[0][1] + pv[0][2] * pv[0][2]) * kKmPerAu;
        worstDistance = std::fmax(worstDistance, std::fabs(moon.geoDistanceKm - r));
    }
    std::printf("Moon: worst %.5f deg at JD %.1f, distance %.1f km (%d dates)\n", worst, worstJd, worstDistance,
                count);
    EXPECT_LT(worst, 0.011);
    EXPECT_LT(worstDistance, 600.0); // the parallax series has 8 terms
}

TEST(MoonTheory, ClassicTheoryHoldsOutsideTheSeriesRange) {
    double worst = 0.0;
    for (int k = 0; k < 120; ++k) {
        const double jd = bodyTestFallbackDate(k);
        const SkyContext ctx = bodyTestContext(jd);
        MoonRecord moon = {};
        ephemMoon(&ctx, &moon, 1);
        double pv[2][3];
        eraMoon98(jd, 0.0, pv);
        Vec3 v;
        moonGeoVector(moon, &v);
        worst = std::fmax(worst, bodyTestAngleDeg(v.x, v.y, v.z, pv[0][0], pv[0][1], pv[0][2]));
    }
    std::printf("Moon classic theory 1800-1950, 2060-2200: worst %.3f deg\n", worst);
    EXPECT_LT(worst, 0.5);
}

TEST(MoonTheory, DetailLevelsUsePrefixesAndStrayLevelsMeanLevelOne) {
    const double t = 17.3;
    EXPECT_EQ(moonLongitude(t, 0), moonLongitude(t, 1));
    EXPECT_EQ(moonLongitude(t, 7), moonLongitude(t, 1));
    EXPECT_EQ(moonLatitude(t, -4), moonLatitude(t, 1));
    // Level 3: the leading 4 longitude terms and 3 latitude terms on top of the main term.
    const double A = 338.915 + 4771.9886 * t + 0.004 * sinDeg(93.8 - 1.33 * t) + 0.002 * sinDeg(248.6 - 19.34 * t) +
                     0.0006 * sinDeg(66.0 + 0.2 * t) + 0.0006 * sinDeg(249.0 - 19.3 * t);
    const double lon3 = 124.8754 + 4812.67881 * t + 6.2887 * sinDeg(A) + 1.274 * sinDeg(107.248 - 4133.3536 * t) +
                        0.6583 * sinDeg(51.668 + 8905.3422 * t) + 0.2136 * sinDeg(317.831 + 9543.9773 * t) +
                        0.1856 * sinDeg(176.531 + 359.9905 * t);
    EXPECT_NEAR(moonLongitude(t, 3), lon3, 1e-9);
    // Level 2 and 3 differ from level 1 only by the small terms they drop.
    EXPECT_NEAR(moonLongitude(t, 2), moonLongitude(t, 1), 0.06);
    EXPECT_NE(moonLongitude(t, 2), moonLongitude(t, 1));
    EXPECT_NEAR(moonLatitude(t, 3), moonLatitude(t, 1), 0.2);
}

TEST(MoonTheory, RangeEndsThemselvesUseTheClassicTheory) {
    for (double jd : {kSeriesFirstJd, kSeriesLastJd}) {
        const SkyContext ctx = bodyTestContext(jd);
        MoonRecord moon = {}, classic = {};
        moon.parallaxDeg = classic.parallaxDeg = -7.0;
        ephemMoon(&ctx, &moon, 1);
        moonClassic(jd, &classic);
        EXPECT_EQ(moon.eclLonDeg, classic.eclLonDeg);
        EXPECT_EQ(moon.geoDistanceKm, classic.geoDistanceKm);
        EXPECT_EQ(moon.parallaxDeg, -7.0) << "the classic theory keeps the parallax";
    }
}

TEST(MoonTheory, TopocentricPlaceDiffersByAtMostTheEarthRadius) {
    // A site in Japan, at several hours: the Moon above and far below the horizon.
    for (int h = 0; h < 24; h += 3) {
        const double jd = 2455000.5 + h / 24.0;
        const SkyContext ctx = bodyTestContext(jd, 35.0, 139.7, 40.0);
        MoonRecord moon = {};
        ephemMoon(&ctx, &moon, 1);
        const double diff = moon.distanceKm - moon.geoDistanceKm;
        EXPECT_LE(std::fabs(diff), 6380.0) << h;
        EXPECT_GT(std::fabs(diff), 0.0) << h;
        // Topocentric parallax moves the Moon by up to about one degree.
        const double a[2] = {moon.raJ2000Deg, moon.decJ2000Deg}, b[2] = {moon.raGeoJ2000Deg, moon.decGeoJ2000Deg};
        Vec3 va, vb;
        sphToVec(a, &va);
        sphToVec(b, &vb);
        EXPECT_LT(bodyTestAngleDeg(va.x, va.y, va.z, vb.x, vb.y, vb.z), 1.05) << h;
        EXPECT_NEAR(moon.semidiameterDeg, std::atan(1738.0 / moon.distanceKm) * 180.0 / M_PI, 1e-12);
        // Seen from the site the Moon is nearer when up, farther when down, and
        // always lower than the geocentric place (the parallax's sign).
        SunRecord sun = {};
        ephemSun(&ctx, &sun);
        ephemMoonWithPhase(&ctx, &moon, &sun, 1);
        double geoHrz[2];
        convertCoords(&ctx, COORD_EQT, b, COORD_HRZ, geoHrz);
        EXPECT_LT(moon.altitudeDeg, geoHrz[1]) << h;
        if (moon.altitudeDeg > 10.0) {
            EXPECT_LT(moon.distanceKm, moon.geoDistanceKm) << h;
        }
        if (moon.altitudeDeg < -10.0) {
            EXPECT_GT(moon.distanceKm, moon.geoDistanceKm) << h;
        }
    }
}

TEST(MoonTheory, LibrationAndAxisOfApril1992) {
    const SkyContext ctx = bodyTestContext(2448724.5);
    MoonRecord moon = {};
    ephemMoon(&ctx, &moon, 1);
    EXPECT_NEAR(moon.librationLonDeg, -1.206, 0.03);
    EXPECT_NEAR(moon.librationLatDeg, 4.194, 0.03);
    EXPECT_NEAR(moon.axisAngleDeg, 15.08, 0.05);
}

TEST(MoonTheory, LibrationIsZeroOutsideItsRange) {
    for (double jd : {1538798.0, 3364651.0, 1400000.0}) {
        const SkyContext ctx = bodyTestContext(jd);
        MoonRecord moon = {};
        moon.axisAngleDeg = moon.librationLonDeg = moon.librationLatDeg = 9.0;
        ephemMoon(&ctx, &moon, 1);
        EXPECT_EQ(moon.axisAngleDeg, 0.0) << jd;
        EXPECT_EQ(moon.librationLonDeg, 0.0) << jd;
        EXPECT_EQ(moon.librationLatDeg, 0.0) << jd;
    }
}

TEST(MoonTheory, PhaseFollowsTheElongation) {
    SunRecord sun = {};
    MoonRecord moon = {};
    // 2000-01-06 18:14 UT new moon, 2000-01-21 04:40 UT full moon (total eclipse).
    struct Case {
        double jd, phaseLow, phaseHigh;
    } cases[] = {{2451550.26, 0.0, 0.01}, {2451564.69, 0.99, 1.0}, {2451557.5, 0.4, 0.6}};
    for (const Case &c : cases) {
        const SkyContext ctx = bodyTestContext(c.jd, 35.0, 139.7, 0.0);
        ephemSun(&ctx, &sun);
        ephemMoonWithPhase(&ctx, &moon, &sun, 1);
        EXPECT_GE(moon.phase, c.phaseLow) << c.jd;
        EXPECT_LE(moon.phase, c.phaseHigh) << c.jd;
        EXPECT_EQ(moon.level, 1);
        EXPECT_EQ(moon.siteLongitudeDeg, 139.7);
        // The horizontal place is that of the topocentric J2000 place.
        const double eq[2] = {moon.raJ2000Deg, moon.decJ2000Deg};
        double hrz[2];
        convertCoords(&ctx, COORD_EQT, eq, COORD_HRZ, hrz);
        EXPECT_EQ(moon.azimuthDeg, hrz[0]);
        EXPECT_EQ(moon.altitudeDeg, hrz[1]);
    }
    // First quarter, 2000-01-14: the bright limb faces the Sun, west of the Moon.
    const SkyContext ctx = bodyTestContext(2451557.5, 35.0, 139.7, 0.0);
    ephemSun(&ctx, &sun);
    ephemMoonWithPhase(&ctx, &moon, &sun, 1);
    EXPECT_GT(moon.limbAngleDeg, 180.0 + 30.0 - 360.0);
    EXPECT_LT(moon.limbAngleDeg, -30.0);
}

TEST(MoonAge, StaysInsideOneLunationOverTheWholeRange) {
    SunRecord sun = {};
    MoonRecord moon = {};
    double lowest = 1e9, highest = -1e9;
    for (double jd = 1356173.0; jd <= 3547272.0; jd += 0.77) {
        const double age = moonAge(jd, &sun, &moon);
        lowest = std::fmin(lowest, age);
        highest = std::fmax(highest, age);
    }
    std::printf("moonAge over JD 1356173-3547272: %.3f to %.3f days\n", lowest, highest);
    EXPECT_GE(lowest, 0.0);
    EXPECT_LE(highest, 29.8);
}

TEST(MoonAge, JustAfterAnEarlyMeanNewMoonIsSmallNotAWholeLunation) {
    SunRecord sun = {};
    MoonRecord moon = {};
    for (double k : {-1000.0, -3.0, 0.0, 1236.0, 1500.0, 2017.0}) {
        const double nm = meanNewMoon(k);
        const double age = moonAge(nm + 0.01, &sun, &moon);
        EXPECT_NEAR(age, 0.01, 1e-6) << k;
    }
}

TEST(MoonAge, OutsideTheLunationRangeComesFromTheElongation) {
    SunRecord sun = {};
    MoonRecord moon = {};
    sun.eclLonDeg = 350.0;
    moon.eclLonDeg = 20.0;
    EXPECT_NEAR(moonAge(1356172.0, &sun, &moon), 30.0 / 12.190749056850848, 1e-12);
    EXPECT_NEAR(moonAge(3547273.0, &sun, &moon), 30.0 / 12.1907, 1e-4);
}

} // namespace
