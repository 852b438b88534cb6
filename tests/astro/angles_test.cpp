#include "astro/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
}

// Rebuilding the table with double sin reproduces every entry, including the
// truncated 499999999 of sin 30 deg.
TEST(SinTable, EveryEntryIsTruncatedDoubleSine)
{
    for (int i = 0; i <= 900; ++i)
        ASSERT_EQ(sinTable[i], static_cast<int32_t>(std::sin(i * 0.1 * M_PI / 180.0) * 1e9)) << i;
    EXPECT_EQ(sinTable[0], 0);
    EXPECT_EQ(sinTable[1], 1745328);
    EXPECT_EQ(sinTable[300], 499999999);
    EXPECT_EQ(sinTable[900], 1000000000);
}

TEST(SinDeg, ExactValuesFromTable)
{
    struct Case {
        double deg, expected;
    } cases[] = {
        {90, 1.0},        {30, 0.499999999}, {0.1, 0.001745328}, {-90, -1.0}, {270, -1.0},
        {360, 0.0},       {-360, 0.0},       {0.00005, 0.0},     {180, 0.0},  {150, 0.499999999},
        {-30, -0.499999999},
    };
    for (const Case &c : cases)
        EXPECT_EQ(sinDeg(c.deg), c.expected) << c.deg;
    EXPECT_EQ(cosDeg(0), 1.0);
}

TEST(SinDeg, SignOfZeroJustBelowZeroAndAtNegativeTurns)
{
    EXPECT_TRUE(std::signbit(sinDeg(-0.00005)));
    EXPECT_TRUE(std::signbit(sinDeg(-360)));
    EXPECT_FALSE(std::signbit(sinDeg(0.00005)));
    EXPECT_FALSE(std::signbit(sinDeg(360)));
}

TEST(SinDeg, LargeArgumentsReduceThroughFmodOrIntegerRemainder)
{
    EXPECT_EQ(sinDeg(200000), sinDeg(200));
    EXPECT_EQ(sinDeg(-200000), sinDeg(-200));
    EXPECT_EQ(sinDeg(199990), sinDeg(190));
    EXPECT_EQ(sinDeg(-199990), sinDeg(-190));
    EXPECT_EQ(sinDeg(1e15 + 30), sinDeg(std::fmod(1e15 + 30, 360.0)));
}

// NaN and inf used to go into the integer index and read outside the table.
TEST(SinDeg, NonFiniteArgumentGivesNaNNotATableRead)
{
    for (double d : {kNaN, kInf, -kInf}) {
        EXPECT_TRUE(std::isnan(sinDeg(d)));
        EXPECT_TRUE(std::isnan(cosDeg(d)));
    }
}

TEST(SinDeg, WithinTwoMillionthsOfLibm)
{
    for (double d = -1000.0; d <= 1000.0; d += 0.01371) {
        ASSERT_NEAR(sinDeg(d), std::sin(d * M_PI / 180.0), 2.2e-6) << d;
        ASSERT_NEAR(cosDeg(d), std::cos(d * M_PI / 180.0), 2.2e-6) << d;
    }
}

TEST(SinDegInt, WholeDegreesMatchTableAndSinDeg)
{
    EXPECT_EQ(sinDegInt(-30), -0.499999999);
    EXPECT_EQ(cosDegInt(90), 0.0);
    EXPECT_EQ(cosDegInt(0), 1.0);
    for (int d = -800; d <= 800; ++d) {
        ASSERT_EQ(sinDegInt(d), sinDeg(d)) << d;
        ASSERT_EQ(cosDegInt(d), cosDeg(d)) << d;
    }
    // Extreme ints must neither overflow (deg + 90) nor index outside the table.
    EXPECT_EQ(cosDegInt(std::numeric_limits<int>::max()), cosDegInt(std::numeric_limits<int>::max() % 360));
    EXPECT_EQ(sinDegInt(std::numeric_limits<int>::min()), sinDegInt(std::numeric_limits<int>::min() % 360));
}

TEST(Wrap, TableOfCases)
{
    EXPECT_DOUBLE_EQ(wrap360(-10), 350);
    EXPECT_EQ(wrap360(720), 0);
    EXPECT_EQ(wrap360(0), 0);
    EXPECT_DOUBLE_EQ(wrap360(359.5), 359.5);
    EXPECT_DOUBLE_EQ(wrap24h(25), 1);
    EXPECT_EQ(wrap360Int(-10), 350);
    EXPECT_EQ(wrap360Int(720), 0);
    EXPECT_EQ(wrap360Int(-360), 0);
    EXPECT_EQ(wrap360Int(359), 359);
    EXPECT_EQ(clampLat(100), 90);
    EXPECT_EQ(clampLat(200), -90);
    EXPECT_DOUBLE_EQ(clampLat(-45), -45);
    EXPECT_EQ(atan2Safe(0, 0), 0);
    EXPECT_DOUBLE_EQ(atan2Safe(1, 0), M_PI / 2);
    EXPECT_TRUE(std::isnan(wrap360(kNaN)));
}

// A tiny negative angle used to come back as exactly 360, outside [0, 360).
TEST(Wrap, TinyNegativeInputsStayBelow360And24)
{
    for (double x : {-1e-300, -5e-324, -1e-20, -1e-17, -1e-14, -360.0 * (1 + 1e-16), -7.2e-15}) {
        const double a = wrap360(x);
        EXPECT_GE(a, 0.0) << x;
        EXPECT_LT(a, 360.0) << x;
        const double h = wrap24h(x);
        EXPECT_GE(h, 0.0) << x;
        EXPECT_LT(h, 24.0) << x;
    }
    // the largest double below 360 scales back to 24 hours unless folded
    EXPECT_LT(wrap24h(std::nextafter(24.0, 0.0)), 24.0);
}

TEST(Dms, SignDegreesMinutesSecondsAndRounding)
{
    Dms d;
    degToDms(-0.5, &d);
    EXPECT_EQ(d.sign, -1);
    EXPECT_EQ(d.degrees, 0);
    EXPECT_EQ(d.minutes, 30);
    EXPECT_EQ(d.seconds, 0.0);
    degToDmsRounded(10.9999, &d);
    EXPECT_EQ(d.sign, 1);
    EXPECT_EQ(d.degrees, 11);
    EXPECT_EQ(d.minutes, 0);
    degToDmsRounded(-10.9999, &d);
    EXPECT_EQ(d.sign, -1);
    EXPECT_EQ(d.degrees, 11);
    EXPECT_EQ(d.minutes, 0);
    degToDms(12.5125, &d); // 12 30' 45"
    EXPECT_EQ(d.degrees, 12);
    EXPECT_EQ(d.minutes, 30);
    EXPECT_NEAR(d.seconds, 45.0, 1e-9);
}

// Degrees beyond int32 and NaN are not left to an undefined conversion.
TEST(Dms, OutOfRangeDegreesSaturate)
{
    Dms d;
    degToDms(1e300, &d);
    EXPECT_EQ(d.degrees, std::numeric_limits<int32_t>::max());
    degToDms(-kInf, &d);
    EXPECT_EQ(d.sign, -1);
    EXPECT_EQ(d.degrees, std::numeric_limits<int32_t>::max());
    degToDms(kNaN, &d);
    EXPECT_EQ(d.degrees, 0);
    EXPECT_EQ(d.minutes, 0);
}

TEST(ToInt32Trunc, TruncatesTowardZeroAndSaturates)
{
    struct Case {
        double v;
        int32_t expected;
    } cases[] = {
        {1.9, 1},
        {-1.9, -1},
        {2147483647.5, 2147483647},
        {3e9, std::numeric_limits<int32_t>::max()},
        {-3e9, std::numeric_limits<int32_t>::min()},
        {-2147483648.0, std::numeric_limits<int32_t>::min()},
        {kInf, std::numeric_limits<int32_t>::max()},
        {kNaN, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(toInt32Trunc(c.v), c.expected) << c.v;
}

// The single-precision polynomials reach 4.3e-7 for sinh (at |x| = 1.4286, in
// the double-angle band) and 7.3e-7 for the double-angle cosh 2c^2 - 1; the
// bounds hold with a small margin and catch a wrong coefficient or band.
TEST(FastHyperbolic, RelativeErrorWithinPolynomialBoundOnMinus2To2)
{
    for (double x = -2.0; x <= 2.0; x += 0.0000731) {
        if (x == 0.0)
            continue;
        const double s = std::sinh(x), c = std::cosh(x);
        ASSERT_LT(std::fabs(fastSinh(x) - s) / std::fabs(s), 4.5e-7) << x;
        double fs, fc;
        fastSinhCosh(x, &fs, &fc);
        ASSERT_LT(std::fabs(fs - s) / std::fabs(s), 4.5e-7) << x;
        ASSERT_LT(std::fabs(fc - c) / c, 8e-7) << x;
    }
    double fs, fc;
    fastSinhCosh(5.0, &fs, &fc);
    EXPECT_EQ(fs, std::sinh(5.0));
    EXPECT_EQ(fc, std::cosh(5.0));
    EXPECT_EQ(fastSinh(-3.0), std::sinh(-3.0));
}
