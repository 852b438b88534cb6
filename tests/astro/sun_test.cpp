// The Sun: accuracy against ERFA's epv00, the physical ephemeris, theory
// switching at the ends of the series range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

extern "C" {
#include <erfa.h>
}

#include "astro/angles.h"
#include "astro/sun_moon.h"
#include "tests/astro/sun_moon_context.h"

namespace {

TEST(SunTheory, SeriesPlaceAgreesWithEpv00Over1950To2060) {
    const int count = 240;
    double worst = 0.0, worstJd = 0.0, worstDistance = 0.0;
    for (int k = 0; k < count; ++k) {
        const double jd = bodyTestSeriesDate(k, count);
        const SkyContext ctx = bodyTestContext(jd);
        SunRecord sun = {};
        ephemSun(&ctx, &sun);
        double pvh[2][3], pvb[2][3];
        eraEpv00(bodyTestSeriesTt(jd), 0.0, pvh, pvb);
        const double d = bodyTestAngleDeg(sun.unit.x, sun.unit.y, sun.unit.z, -pvh[0][0], -pvh[0][1], -pvh[0][2]);
        if (d > worst) worst = d, worstJd = jd;
        const double r = std::sqrt(pvh[0][0] * pvh[0][0] + pvh[0][1] * pvh[0][1] + pvh[0][2] * pvh[0][2]);
        worstDistance = std::fmax(worstDistance, std::fabs(sun.distanceAu - r));
    }
    std::printf("Sun: worst %.5f deg at JD %.1f, distance %.6f AU (%d dates)\n", worst, worstJd, worstDistance,
                count);
    EXPECT_LT(worst, 0.008);
    EXPECT_LT(worstDistance, 0.0001);
}

TEST(SunTheory, LowPrecisionTheoryHoldsOutsideTheSeriesRange) {
    // The older theory serves the fallback dates; 1800-1950 and 2060-2200.
    double worst = 0.0;
    for (int k = 0; k < 120; ++k) {
        const double jd = bodyTestFallbackDate(k);
        const SkyContext ctx = bodyTestContext(jd);
        SunRecord sun = {};
        ephemSun(&ctx, &sun);
        double pvh[2][3], pvb[2][3];
        eraEpv00(jd, 0.0, pvh, pvb);
        worst = std::fmax(worst, bodyTestAngleDeg(sun.unit.x, sun.unit.y, sun.unit.z, -pvh[0][0], -pvh[0][1],
                                                  -pvh[0][2]));
    }
    std::printf("Sun fallback 1800-1950, 2060-2200: worst %.4f deg\n", worst);
    EXPECT_LT(worst, 0.03);
}

TEST(SunTheory, WorkedValuesAtJ2000) {
    double lonLat[2], r;
    sunSeries(yearsFrom1975(2451545.0), lonLat, &r);
    EXPECT_NEAR(lonLat[0], 280.3744, 0.00015);
    EXPECT_EQ(lonLat[1], 0.0);
    EXPECT_NEAR(r, 0.98331, 0.000006);
    sunLowPrecision(2451545.0, lonLat, &r);
    EXPECT_NEAR(lonLat[0], 280.3825, 0.00015);
    EXPECT_NEAR(r, 0.98331, 0.000006);
}

TEST(SunTheory, PhysicalEphemerisOfOctober1992) {
    const SkyContext ctx = bodyTestContext(2448908.5);
    SunRecord sun = {};
    ephemSun(&ctx, &sun);
    EXPECT_NEAR(sun.pDeg, 26.27, 0.01);
    EXPECT_NEAR(sun.b0Deg, 5.99, 0.01);
    // The chart's dates are UT and the classic value is for dynamical time:
    // the Carrington longitude turns 14.2 degrees a day, 0.01 in a minute.
    EXPECT_NEAR(sun.l0Deg, 238.63, 0.025);
}

TEST(SunTheory, RangeEndsThemselvesUseTheLowPrecisionTheory) {
    struct Case {
        double jd;
        int series;
    } cases[] = {
        {kSeriesFirstJd, 0}, {kSeriesFirstJd + 0.01, 1}, {kSeriesLastJd - 0.01, 1}, {kSeriesLastJd, 0},
    };
    for (const Case &c : cases) {
        const SkyContext ctx = bodyTestContext(c.jd);
        SunRecord sun = {};
        ephemSun(&ctx, &sun);
        double lonLat[2], r;
        if (c.series)
            sunSeries(ctx.yearsFrom1975, lonLat, &r);
        else
            sunLowPrecision(c.jd, lonLat, &r);
        EXPECT_EQ(bodySeriesInRange(c.jd), c.series) << c.jd;
        EXPECT_EQ(sun.eclLonDeg, lonLat[0]) << c.jd;
        EXPECT_EQ(sun.distanceAu, r) << c.jd;
    }
}

TEST(SunTheory, RecordHoldsNoEclipseAndTheEarthOppositeTheSun) {
    const SkyContext ctx = bodyTestContext(2455000.5);
    SunRecord sun = {};
    sun.eclipseMagnitude = 0.7;
    sun.eclipsePositionAngleDeg = 123.0;
    ephemSun(&ctx, &sun);
    EXPECT_EQ(sun.eclipseMagnitude, -1.0);
    EXPECT_EQ(sun.eclipsePositionAngleDeg, 123.0);
    EXPECT_EQ(sun.eclLatDeg, 0.0);
    EXPECT_NEAR(sun.earthHelio.x, -sun.unit.x * sun.distanceAu, 1e-15);
    EXPECT_NEAR(sun.earthHelio.z, -sun.unit.z * sun.distanceAu, 1e-15);
    EXPECT_EQ(sun.earthFixed[0], static_cast<int32_t>(sun.earthHelio.x / 25.0 * 1073741824.0));
    EXPECT_NEAR(sun.semidiameterDeg, std::atan(696000.0 / (sun.distanceAu * 149597870.0)) * 180.0 / M_PI, 1e-12);
    EXPECT_NEAR(sun.unitQ14.x, sun.unit.x * 16384.0, 1.0);
    // The J2000 place is the place of date carried through the precession.
    double lonLat[2] = {sun.raDateDeg, sun.decDateDeg}, j2000[2];
    transformSph(lonLat, j2000, &ctx.precessionToJ2000);
    EXPECT_NEAR(sun.raJ2000Deg, j2000[0], 1e-9);
    EXPECT_NEAR(sun.decJ2000Deg, j2000[1], 1e-9);
}

} // namespace
