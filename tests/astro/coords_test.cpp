#include "astro/coords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "astro/angles.h"
#include "astro/vecmat.h"

#if __has_include(<erfa.h>)
#include <erfa.h>
#define HAVE_ERFA 1
#endif

namespace {

const double kDeg = M_PI / 180.0;

// The derived fields as the chart keeps them current.
SkyContext context(double jd, double latDeg, double lonDeg)
{
    SkyContext c{};
    c.latitudeDeg = latDeg;
    c.longitudeDeg = lonDeg;
    c.jd = jd;
    skyContextDerive(&c);
    return c;
}

double separationDeg(const double a[2], const double b[2])
{
    double pa, sep;
    positionAngleAndSeparation(a, b, &pa, &sep);
    return sep;
}

double wrapDiff(double a, double b)
{
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::fmin(d, 360.0 - d);
}

} // namespace

TEST(Precession, IdentityForEqualDatesAndJ2050Motion)
{
    Mat3 p;
    precessionMatrix(2450000.5, 2450000.5, &p);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(p.m[i], i % 4 == 0 ? 1.0 : 0.0);
    precessionMatrix(JD_J2000, JD_J2000 + 50 * 365.25, &p);
    const double origin[2] = {0, 0};
    double moved[2];
    transformSph(origin, moved, &p);
    EXPECT_NEAR(moved[0], 0.6407, 2e-4);
    EXPECT_NEAR(moved[1], 0.2783, 2e-4);
}

#ifdef HAVE_ERFA
// Each of the three rotations takes its angle at the table's 0.0001-degree
// resolution (1.7e-6 rad); the elements reach 3.4e-6 (year 350).
TEST(Precession, AgreesWithIau1976MatrixForYears0To2050)
{
    for (double year = 0; year <= 2050; year += 25) {
        const double jd = JD_J2000 + (year - 2000) * 365.25;
        double r[3][3];
        eraPmat76(jd, 0.0, r); // V(date) = r V(J2000)
        Mat3 p, back;
        precessionMatrix(JD_J2000, jd, &p);
        precessionMatrix(jd, JD_J2000, &back);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                ASSERT_NEAR(p.m[3 * i + j], r[i][j], 5e-6) << year;
                ASSERT_NEAR(back.m[3 * j + i], r[i][j], 5e-6) << year;
            }
    }
}
#endif

// A start date beyond 30 centuries is computed through the opposite direction.
TEST(Precession, FarStartIsExactInverseOfOppositeDirection)
{
    const double pairs[][2] = {
        {JD_J2000 + 40 * 36525.0, JD_J2000 + 10 * 36525.0},
        {JD_J2000 - 50 * 36525.0, JD_J2000 - 5 * 36525.0},
        {JD_J2000 - 31 * 36525.0, JD_J2000 + 29 * 36525.0},
        {JD_J2000 + 100 * 36525.0, JD_J2000},
    };
    for (const auto &ab : pairs) {
        Mat3 forward, reverse, inverse;
        precessionMatrix(ab[0], ab[1], &forward);
        precessionMatrix(ab[1], ab[0], &reverse);
        mat3Inverse(&reverse, &inverse);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(forward.m[i], inverse.m[i]) << ab[0];
    }
}

TEST(Precession, LongTermExtensionAddsOneDegreePer72YearsAndJoinsTheSeries)
{
    const double e = meanObliquity(3547295.0);
    Mat3 l, toEcl;
    longTermPrecession(72 * 365.24 * 10, 3547295.0, &l);
    rotX(e, &toEcl);
    const double ecl[2] = {100, 20};
    Mat3 fromEcl;
    rotX(-e, &fromEcl);
    double eq[2], moved[2], eclOut[2];
    transformSph(ecl, eq, &fromEcl);
    transformSph(eq, moved, &l);
    transformSph(moved, eclOut, &toEcl);
    EXPECT_NEAR(eclOut[0], 110, 3e-4);
    EXPECT_NEAR(eclOut[1], 20, 3e-4);

    // the extension continues the series at 30 centuries without a jump
    Mat3 at, past;
    precessionMatrix(JD_J2000, 3547295.0, &at);
    precessionMatrix(JD_J2000, 3547295.0 + 1.0, &past);
    for (int i = 0; i < 9; ++i) // a day of precession is 7e-7 rad; a wrong join would be degrees
        EXPECT_NEAR(at.m[i], past.m[i], 4e-6);
}

TEST(ConvertCoords, HorizontalCardinalPointsAtLatitude45)
{
    SkyContext c = context(JD_J2000, 45, 0);
    c.siderealDeg = 0;
    struct Case {
        double az, alt, ra, dec;
    } cases[] = {
        {0, 0, 360, -45}, // south point on the meridian
        {90, 0, 270, 0},  // west point
        {0, 90, 360, 45}, // zenith
        {180, 0, 180, 45}, // north point
    };
    for (const Case &k : cases) {
        const double in[2] = {k.az, k.alt};
        double out[2];
        convertCoords(&c, COORD_HRZ, in, COORD_EQT, out);
        EXPECT_NEAR(out[1], k.dec, 1e-5) << k.az << " " << k.alt;
        if (std::fabs(k.dec) < 89) {
            EXPECT_NEAR(wrapDiff(out[0], k.ra), 0, 1e-4) << k.az;
        }
    }
}

TEST(ConvertCoords, GalacticPoleAndCentre)
{
    const SkyContext c = context(JD_J2000, 50, 10);
    double out[2];
    const double pole[2] = {0, 90}, centre[2] = {0, 0};
    convertCoords(&c, COORD_GAL, pole, COORD_EQT, out);
    EXPECT_NEAR(out[0], 192.85, 2e-3);
    EXPECT_NEAR(out[1], 27.133, 2e-3);
    convertCoords(&c, COORD_GAL, centre, COORD_EQT, out);
    EXPECT_NEAR(out[0], 266.40, 0.01);
    EXPECT_NEAR(out[1], -28.93, 0.01);
}

TEST(ConvertCoords, EclipticOfDatePoleAndSolstice)
{
    const SkyContext c = context(JD_J2000, 50, 10);
    double out[2];
    const double pole[2] = {0, 90}, solstice[2] = {90, 0};
    convertCoords(&c, COORD_ECL, pole, COORD_EQT_DATE, out);
    EXPECT_NEAR(out[0], 270, 1e-3);
    EXPECT_NEAR(out[1], 90 - c.obliquityDeg, 2e-4);
    convertCoords(&c, COORD_ECL, solstice, COORD_EQT_DATE, out);
    EXPECT_NEAR(out[0], 90, 2e-4);
    EXPECT_NEAR(out[1], c.obliquityDeg, 2e-4);
}

TEST(ConvertCoords, SameSystemReturnsInputUnchanged)
{
    const SkyContext c = context(2455000.5, 50, 10);
    for (int s = COORD_HRZ; s <= COORD_GAL; ++s)
        for (double lon : {0.0, 400.0, -20.0}) {
            double inout[2] = {lon, 12.5};
            convertCoords(&c, s, inout, s, inout);
            EXPECT_EQ(inout[0], lon);
            EXPECT_EQ(inout[1], 12.5);
        }
}

TEST(ConvertCoords, RoundTripBetweenAllSixSystemsAndRanges)
{
    const SkyContext c = context(2460000.5 + 0.3, -33.9, 18.4);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> lon(0, 360), z(-0.999, 0.999);
    for (int from = COORD_HRZ; from <= COORD_GAL; ++from)
        for (int to = COORD_HRZ; to <= COORD_GAL; ++to) {
            if (from == to)
                continue;
            for (int i = 0; i < 40; ++i) {
                const double in[2] = {lon(rng), std::asin(z(rng)) / kDeg};
                double mid[2], back[2];
                convertCoords(&c, from, in, to, mid);
                ASSERT_GT(mid[0], 0.0);
                ASSERT_LE(mid[0], 360.0);
                ASSERT_GE(mid[1], -90.0);
                ASSERT_LE(mid[1], 90.0);
                convertCoords(&c, to, mid, from, back);
                ASSERT_LT(separationDeg(in, back), 5e-4) << from << "->" << to;
            }
        }
}

#ifdef HAVE_ERFA
// ERFA counts azimuth from the north through the east; the system from the
// south through the west. Angles on a grid the sine table resolves exactly
// isolate the frame conventions from the table's 0.0001-degree resolution.
TEST(ConvertCoords, HorizontalAgreesWithErfaAzimuthTurnedBy180)
{
    SkyContext c = context(JD_J2000, 52.5, 0);
    for (double lst : {0.0, 77.25, 200.5})
        for (double ra = 0; ra < 360; ra += 22.5)
            for (double dec = -60; dec <= 80; dec += 17.5) {
                c.siderealDeg = lst;
                const double in[2] = {ra, dec};
                double out[2];
                convertCoords(&c, COORD_EQT_DATE, in, COORD_HRZ, out);
                double az, el;
                eraHd2ae((lst - ra) * kDeg, dec * kDeg, 52.5 * kDeg, &az, &el);
                ASSERT_NEAR(out[1], el / kDeg, 1e-4) << ra << " " << dec;
                if (std::fabs(el / kDeg) < 85) {
                    ASSERT_LT(wrapDiff(out[0], az / kDeg - 180.0), 1e-4) << ra << " " << dec;
                }
            }
}

// Any date, site and direction: the table's resolution bounds the agreement.
TEST(ConvertCoords, HorizontalAgreesWithErfaForAnyDateAndSite)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jd(2415020.5, 2488070.5), lat(-89, 89), lon(0, 360), z(-0.99, 0.99);
    for (int i = 0; i < 2000; ++i) {
        const SkyContext c = context(jd(rng), lat(rng), lon(rng) - 180);
        const double in[2] = {lon(rng), std::asin(z(rng)) / kDeg};
        double out[2];
        convertCoords(&c, COORD_EQT_DATE, in, COORD_HRZ, out);
        double az, el;
        eraHd2ae((c.siderealDeg - in[0]) * kDeg, in[1] * kDeg, c.latitudeDeg * kDeg, &az, &el);
        const double expected[2] = {az / kDeg - 180.0, el / kDeg};
        ASSERT_LT(separationDeg(out, expected), 5e-4) << i;
    }
}

TEST(ConvertCoords, GalacticAgreesWithErfaWithin002Degree)
{
    const SkyContext c = context(2455000.5, 50, 10);
    std::mt19937 rng(9);
    std::uniform_real_distribution<double> lon(0, 360), z(-1, 1);
    for (int i = 0; i < 2000; ++i) {
        const double in[2] = {lon(rng), std::asin(z(rng)) / kDeg};
        double out[2];
        convertCoords(&c, COORD_EQT, in, COORD_GAL, out);
        double l, b;
        eraIcrs2g(in[0] * kDeg, in[1] * kDeg, &l, &b);
        const double expected[2] = {l / kDeg, b / kDeg};
        ASSERT_LT(separationDeg(out, expected), 0.02) << in[0] << " " << in[1];
    }
}

TEST(PositionAngle, AgreesWithErfaAndRangeIsAbove0To360)
{
    std::mt19937 rng(13);
    std::uniform_real_distribution<double> lon(0, 360), z(-0.99, 0.99);
    for (int i = 0; i < 2000; ++i) {
        const double a[2] = {lon(rng), std::asin(z(rng)) / kDeg}, b[2] = {lon(rng), std::asin(z(rng)) / kDeg};
        double pa, sep;
        positionAngleAndSeparation(a, b, &pa, &sep);
        ASSERT_GT(pa, 0.0);
        ASSERT_LE(pa, 360.0);
        ASSERT_NEAR(sep, eraSeps(a[0] * kDeg, a[1] * kDeg, b[0] * kDeg, b[1] * kDeg) / kDeg, 1e-9);
        ASSERT_LT(wrapDiff(pa, eraPas(a[0] * kDeg, a[1] * kDeg, b[0] * kDeg, b[1] * kDeg) / kDeg), 1e-8);
    }
}
#endif

TEST(PositionAngle, NorthIs360EastIs90AndAntipodesSeparate180)
{
    double pa, sep;
    const double o[2] = {10, 0}, north[2] = {10, 1}, east[2] = {11, 0}, anti[2] = {190, 0};
    positionAngleAndSeparation(o, north, &pa, &sep);
    EXPECT_EQ(pa, 360.0);
    EXPECT_NEAR(sep, 1.0, 1e-12);
    positionAngleAndSeparation(o, east, &pa, &sep);
    EXPECT_NEAR(pa, 90.0, 1e-12);
    positionAngleAndSeparation(o, anti, &pa, &sep);
    EXPECT_NEAR(sep, 180.0, 1e-9);
    EXPECT_FALSE(std::isnan(sep));
}

TEST(TransformSph, LongitudeFrom0Below360)
{
    Mat3 id;
    mat3Identity(&id);
    const double in[2] = {0, 10};
    double out[2];
    transformSph(in, out, &id);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_NEAR(out[1], 10, 1e-7); // table sine to 1e-9
    Mat3 r;
    rotZ(30, &r);
    const double p[2] = {50, -20};
    transformSph(p, out, &r);
    EXPECT_NEAR(out[0], 20, 1e-6);
    EXPECT_NEAR(out[1], -20, 1e-6);
}
