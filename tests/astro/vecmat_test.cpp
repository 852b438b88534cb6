#include "astro/vecmat.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/angles.h"

namespace {

void expectMatNear(const Mat3 &a, const Mat3 &b, double tol)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(a.m[i], b.m[i], tol) << "element " << i;
}

Vec3 apply(const Mat3 &m, const Vec3 &v)
{
    Vec3 out;
    mat3MulVec(&v, &m, &out);
    return out;
}

} // namespace

// Frame rotations: the frame turns by +deg, so longitudes drop by deg.
TEST(Rotations, RotZTurnsLongitude50Into20)
{
    Mat3 r;
    rotZ(30, &r);
    const double in[2] = {50, 10};
    Vec3 v;
    sphToVec(in, &v);
    double out[2];
    const Vec3 w = apply(r, v);
    vecToSph(&w, out);
    EXPECT_NEAR(out[0], 20, 1e-5);
    EXPECT_NEAR(out[1], 10, 1e-5);
}

TEST(Rotations, RowsUseTableSineAndCosine)
{
    const double c = cosDeg(37), s = sinDeg(37);
    Mat3 x, y, z;
    rotX(37, &x);
    rotY(37, &y);
    rotZ(37, &z);
    const Mat3 ex{{1, 0, 0, 0, c, s, 0, -s, c}};
    const Mat3 ey{{c, 0, -s, 0, 1, 0, s, 0, c}};
    const Mat3 ez{{c, s, 0, -s, c, 0, 0, 0, 1}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(x.m[i], ex.m[i]);
        EXPECT_EQ(y.m[i], ey.m[i]);
        EXPECT_EQ(z.m[i], ez.m[i]);
    }
}

// rotZY is z first, then y: the product rotY x rotZ, not rotZ x rotY.
TEST(Rotations, RotZYAppliesZThenY)
{
    Mat3 zy, y, z;
    rotZY(30, 40, &zy);
    rotY(40, &y);
    rotZ(30, &z);
    const Vec3 v{0.3, -0.5, 0.81};
    const Vec3 a = apply(zy, v);
    const Vec3 b = apply(y, apply(z, v));
    EXPECT_NEAR(a.x, b.x, 1e-15);
    EXPECT_NEAR(a.y, b.y, 1e-15);
    EXPECT_NEAR(a.z, b.z, 1e-15);
    const Vec3 wrongOrder = apply(z, apply(y, v));
    EXPECT_GT(std::fabs(wrongOrder.x - a.x) + std::fabs(wrongOrder.y - a.y), 0.01);
}

TEST(Matrices, InverseAndProductIncludingAliasedOutput)
{
    Mat3 a{{2, 1, 0, 0, 3, 1, 1, 0, 4}}; // det = 25
    Mat3 inv, prod, id;
    mat3Inverse(&a, &inv);
    mat3Mul(&a, &inv, &prod);
    mat3Identity(&id);
    expectMatNear(prod, id, 1e-15);
    EXPECT_DOUBLE_EQ(inv.m[0], 12.0 / 25);
    EXPECT_DOUBLE_EQ(inv.m[1], -4.0 / 25);
    EXPECT_DOUBLE_EQ(inv.m[2], 1.0 / 25);

    Mat3 r;
    rotZY(123, -40, &r);
    Mat3 rinv = r;
    mat3Inverse(&rinv, &rinv);
    Mat3 back = r;
    mat3Mul(&back, &rinv, &back);
    expectMatNear(back, id, 1e-14);

    Vec3 v{1, 2, 3};
    mat3MulVec(&v, &id, &v);
    EXPECT_EQ(v.x, 1);
    EXPECT_EQ(v.z, 3);
}

TEST(Vectors, ScaleSubLength)
{
    const Vec3 a{3, 4, 12}, b{1, 1, 1};
    Vec3 s, d;
    vecScale(&a, 2, &s);
    vecSub(&a, &b, &d);
    EXPECT_EQ(s.z, 24);
    EXPECT_EQ(d.x, 2);
    EXPECT_EQ(d.y, 3);
    EXPECT_EQ(vecLength(&a), 13);
}

TEST(Spherical, LongitudeRangeIsZeroExclusiveTo360Inclusive)
{
    double ll[2];
    const Vec3 x{1, 0, 0};
    vecToSph(&x, ll);
    EXPECT_EQ(ll[0], 360);
    EXPECT_EQ(ll[1], 0);
    const Vec3 over{0, 0, 1.0000001};
    vecToSph(&over, ll);
    EXPECT_EQ(ll[1], 90);
    const Vec3 under{0, 0, -1.0000001};
    vecToSph(&under, ll);
    EXPECT_EQ(ll[1], -90);
    const Vec3 zero{0, 0, 0};
    vecToSph(&zero, ll);
    EXPECT_EQ(ll[0], 360);

    for (double lon = 5; lon < 360; lon += 17)
        for (double lat = -85; lat <= 85; lat += 17) {
            const double in[2] = {lon, lat};
            Vec3 v;
            sphToVec(in, &v);
            vecToSph(&v, ll);
            ASSERT_NEAR(ll[0], lon, 1e-6);
            ASSERT_NEAR(ll[1], lat, 1e-6);
        }
}

// The table sines leave sphToVec a few 1e-6 off unit length; asin(z) turned
// that into latitude errors of up to 0.025 degree within a degree of the poles.
TEST(Spherical, LatitudeNearThePolesSurvivesTheRoundTrip)
{
    for (double lat = 89.0; lat < 90.0; lat += 0.000731)
        for (double lon = 0.37; lon < 360; lon += 37.3)
            for (double sign : {1.0, -1.0}) {
                const double in[2] = {lon, sign * lat};
                Vec3 v;
                sphToVec(in, &v);
                double out[2];
                vecToSph(&v, out);
                ASSERT_NEAR(out[1], sign * lat, 2e-4) << lon << " " << lat;
            }
}
