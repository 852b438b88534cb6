#include "astro/q14.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "astro/vecmat.h"

namespace {

const int32_t kMax = std::numeric_limits<int32_t>::max();
const int32_t kMin = std::numeric_limits<int32_t>::min();

std::vector<int32_t> buildTable(int n, double (*f)(double), int base, int step)
{
    std::vector<int32_t> t;
    for (int k = 0; k < n; ++k)
        t.push_back(static_cast<int32_t>(f((base + step * k) / 16384.0) * 16384.0));
    return t;
}

double libAcos(double x) { return std::acos(x); }
double libSqrt(double x) { return std::sqrt(x); }

// Tables rebuilt here with double libm, and the interpolation written out in
// 64-bit arithmetic, reading the next entry only when it exists.
struct Reference {
    std::vector<int32_t> coarse = buildTable(112, libAcos, 0, 128);
    std::vector<int32_t> fine = buildTable(136, libAcos, 14208, 16);
    std::vector<int32_t> nearOne = buildTable(16, libAcos, 16369, 1);
    std::vector<int32_t> low = buildTable(65, libSqrt, 0, 16);
    std::vector<int32_t> high = buildTable(121, libSqrt, 1024, 128);

    static int64_t next(const std::vector<int32_t> &t, size_t k) { return k + 1 < t.size() ? t.at(k + 1) : t.at(k); }

    int64_t acos(int x) const
    {
        if (x > 16383)
            return 0;
        if (x <= -16384)
            return 51471;
        const int a = std::abs(x);
        int64_t v;
        if (a <= 14207)
            v = coarse.at(a / 128) + (next(coarse, a / 128) - coarse.at(a / 128)) * (a % 128) / 128;
        else if (a <= 16368)
            v = fine.at(a / 16 - 888) + (next(fine, a / 16 - 888) - fine.at(a / 16 - 888)) * (a % 16) / 16;
        else
            v = nearOne.at(a - 16369);
        return x < 0 ? 51471 - v : v;
    }

    int64_t sqrt(int x) const
    {
        if (x > 16384)
            return 16384;
        if (x < 0)
            return 0;
        if (x < 1024)
            return low.at(x / 16) + (next(low, x / 16) - low.at(x / 16)) * (x % 16) / 16;
        const size_t k = (x - 1024) / 128;
        return high.at(k) + (next(high, k) - high.at(k)) * (x % 128) / 128;
    }
};

} // namespace

TEST(Q14Tables, EveryEntryIsTruncatedLibmValue)
{
    const Reference ref;
    for (int k = 0; k < 112; ++k)
        ASSERT_EQ(acosTableCoarse[k], ref.coarse[k]) << k;
    for (int k = 0; k < 136; ++k)
        ASSERT_EQ(acosTableFine[k], ref.fine[k]) << k;
    for (int k = 0; k < 65; ++k)
        ASSERT_EQ(sqrtTableLow[k], ref.low[k]) << k;
    for (int k = 0; k < 121; ++k)
        ASSERT_EQ(sqrtTableHigh[k], ref.high[k]) << k;
    const int32_t nearOne[16] = {701, 677, 652, 627, 600, 572, 543, 512, 478, 443, 404, 362, 313, 256, 181, 0};
    for (int k = 0; k < 16; ++k) {
        ASSERT_EQ(acosTableNearOne[k], nearOne[k]) << k;
        ASSERT_EQ(acosTableNearOne[k], ref.nearOne[k]) << k;
    }
    EXPECT_EQ(acosTableCoarse[0], 25735);
    EXPECT_EQ(acosTableCoarse[111], 8540);
    EXPECT_EQ(acosTableFine[0], 8540);
    EXPECT_EQ(acosTableFine[135], 724);
    const int32_t lowStart[5] = {0, 512, 724, 886, 1024};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(sqrtTableLow[k], lowStart[k]);
    EXPECT_EQ(sqrtTableLow[64], 4096);
    EXPECT_EQ(sqrtTableHigh[0], 4096);
    EXPECT_EQ(sqrtTableHigh[1], 4344);
    EXPECT_EQ(sqrtTableHigh[2], 4579);
    EXPECT_EQ(sqrtTableHigh[118], 16255);
    EXPECT_EQ(sqrtTableHigh[119], 16319);
    EXPECT_EQ(sqrtTableHigh[120], 16384);
}

// |x| = 16368 and sqrtQ14(16384) used to read one entry past their tables
// (ASan reports the read; the reference clamps the neighbour instead).
TEST(Q14ArcCosine, ExhaustiveSweepMatchesRebuiltTablesAndIsMonotonic)
{
    const Reference ref;
    int32_t previous = acosQ14(-16385);
    for (int x = -16386; x <= 16386; ++x) {
        const int32_t v = acosQ14(x);
        ASSERT_EQ(v, ref.acos(x)) << x;
        ASSERT_GE(v, 0);
        ASSERT_LE(v, 51471);
        if (x > -16386) {
            ASSERT_LE(v, previous) << x;
        }
        previous = v;
        const AsinAcosQ14 p = asinAcosQ14(x);
        ASSERT_EQ(p.arcCosine, v);
        ASSERT_EQ(p.arcSine, 25735 - v);
    }
    struct Case {
        int32_t x, expected;
    } cases[] = {{16384, 0}, {0, 25735}, {-16384, 51471}, {16375, 543}, {-16375, 50928},
                 {16368, 724}, {-16368, 51471 - 724}, {kMax, 0}, {kMin, 51471}};
    for (const Case &c : cases)
        EXPECT_EQ(acosQ14(c.x), c.expected) << c.x;
}

TEST(Q14SquareRoot, ExhaustiveSweepMatchesRebuiltTablesAndEdges)
{
    const Reference ref;
    int32_t previous = 0;
    for (int x = -100; x <= 20000; ++x) {
        const int32_t v = sqrtQ14(x);
        ASSERT_EQ(v, ref.sqrt(x)) << x;
        ASSERT_GE(v, previous) << x;
        previous = v;
    }
    struct Case {
        int32_t x, expected;
    } cases[] = {{16384, 16384}, {4096, 8192}, {-5, 0}, {20000, 16384}, {kMax, 16384}, {kMin, 0}, {1024, 4096}};
    for (const Case &c : cases)
        EXPECT_EQ(sqrtQ14(c.x), c.expected) << c.x;
}

TEST(Q14Arithmetic, ShiftRoundsDownAndDivisionTruncates)
{
    EXPECT_EQ(mulQ14(-1, 1), -1);
    EXPECT_EQ(mulQ14(16384, 16384), 16384);
    EXPECT_EQ(mulQ14(-16384, 8192), -8192);
    EXPECT_EQ(mulQ14(-3, 16383), -3);
    EXPECT_EQ(divQ14(1, 3), 5461);
    EXPECT_EQ(divQ14(-1, 3), -5461);
    EXPECT_EQ(divQ14(8192, 16384), 8192);
    EXPECT_EQ(divQ14(16384, 8192), 32768);
}

// The 32-bit products and quotients are defined for every input: no signed
// overflow, no division by zero.
TEST(Q14Arithmetic, OutOfRangeResultsSaturateOrWrapAsDefined)
{
    EXPECT_EQ(mulQ14(kMax, kMax), kMax);
    EXPECT_EQ(mulQ14(kMin, kMax), kMin);
    EXPECT_EQ(mulQ14(1 << 20, 1 << 20), 1 << 26);   // product beyond 32 bits, result inside
    EXPECT_EQ(divQ14(1 << 17, 1), kMin);            // numerator wraps to 2^31 -> INT32_MIN
    EXPECT_EQ(divQ14((1 << 18) + 5, 1), 5 * 16384); // the wrap keeps the low 32 bits
    EXPECT_EQ(divQ14(-(1 << 17), -1), kMax);        // INT32_MIN / -1
    EXPECT_EQ(divQ14(5, 0), kMax);
    EXPECT_EQ(divQ14(-5, 0), kMin);
    EXPECT_EQ(divQ14(0, 0), 0);
}

TEST(Q14Conversion, TruncatesTowardZeroAndSaturates)
{
    const Vec3 v{0.99999, -0.99999, 1e12};
    Vec3Q14 q;
    vecToQ14(&v, &q);
    EXPECT_EQ(q.x, 16383);
    EXPECT_EQ(q.y, -16383);
    EXPECT_EQ(q.z, kMax);
    Mat3 m{{1, -1, 0.5, std::nan(""), -1e12, 0, 0, 0, 1}};
    Mat3Q14 mq;
    mat3ToQ14(&m, &mq);
    EXPECT_EQ(mq.m[0], 16384);
    EXPECT_EQ(mq.m[1], -16384);
    EXPECT_EQ(mq.m[2], 8192);
    EXPECT_EQ(mq.m[3], 0);
    EXPECT_EQ(mq.m[4], kMin);
    const double ll[2] = {90, 0};
    sphToVecQ14(ll, &q);
    EXPECT_EQ(q.x, 0);
    EXPECT_EQ(q.y, 16384);
    EXPECT_EQ(q.z, 0);
}

TEST(Q14Spherical, LongitudeFromZeroAndLatitudeNormalised)
{
    double ll[2];
    const Vec3Q14 x{16384, 0, 0};
    vecQ14ToSph(&x, ll);
    EXPECT_EQ(ll[0], 0);
    EXPECT_EQ(ll[1], 0);
    const Vec3Q14 diag{3, 0, 3};
    vecQ14ToSph(&diag, ll);
    EXPECT_NEAR(ll[1], 45, 1e-12);
    const Vec3Q14 south{0, -5, -5};
    vecQ14ToSph(&south, ll);
    EXPECT_DOUBLE_EQ(ll[0], 270);
    EXPECT_NEAR(ll[1], -45, 1e-12);
    const Vec3Q14 big{kMax, kMax, kMax};
    vecQ14ToSph(&big, ll);
    EXPECT_NEAR(ll[1], 35.26438968, 1e-6);
}

// Each product is shifted on its own before the sum.
TEST(Q14Products, EachTermShiftedBeforeTheSum)
{
    const Mat3Q14 m{{1, 1, 1, 16384, 0, 0, 0, 8192, 8192}};
    const Vec3Q14 v{-1, -1, -1};
    Vec3Q14 out;
    mat3MulVecQ14(&v, &m, &out);
    EXPECT_EQ(out.x, -3); // shifting the sum would give -1
    EXPECT_EQ(out.y, -1);
    EXPECT_EQ(out.z, -2);
    EXPECT_EQ(mat3MulVecQ14Z(&v, &m), out.z);
    Vec3Q14 yz{777, 0, 0};
    mat3MulVecQ14YZ(&v, &m, &yz);
    EXPECT_EQ(yz.x, 777);
    EXPECT_EQ(yz.y, out.y);
    EXPECT_EQ(yz.z, out.z);
    const Vec3Q14 a{16384, 8192, -4096}, b{8192, 8192, 8192};
    EXPECT_EQ(dotQ14(&a, &b), 8192 + 4096 - 2048);
    const Mat3Q14 huge{{kMax, kMax, kMax, 0, 0, 0, 0, 0, 0}};
    const Vec3Q14 hv{kMax, kMax, kMax};
    mat3MulVecQ14(&hv, &huge, &out);
    EXPECT_EQ(out.x, kMax);
}

TEST(Q14Products, RotationMatchesDoubleWithinAFewUnits)
{
    Mat3 r;
    rotZY(33, -21, &r);
    Mat3Q14 rq;
    mat3ToQ14(&r, &rq);
    for (double lon = 0; lon < 360; lon += 29)
        for (double lat = -80; lat <= 80; lat += 20) {
            const double ll[2] = {lon, lat};
            Vec3 v, w;
            sphToVec(ll, &v);
            mat3MulVec(&v, &r, &w);
            Vec3Q14 vq, wq;
            sphToVecQ14(ll, &vq);
            mat3MulVecQ14(&vq, &rq, &wq);
            // three truncated components and three floored products
            ASSERT_NEAR(wq.x, w.x * 16384, 7);
            ASSERT_NEAR(wq.y, w.y * 16384, 7);
            ASSERT_NEAR(wq.z, w.z * 16384, 7);
        }
}

TEST(Q14Angle, SmallRadiusGivesZeroArcSine)
{
    const AsinAcosQ14 tiny = angleQ14(50, 30);
    EXPECT_EQ(tiny.arcSine, 0);
    const AsinAcosQ14 up = angleQ14(16384, 0);
    EXPECT_EQ(up.arcSine, 25735);
    const AsinAcosQ14 half = angleQ14(8192, 14189); // 30 degrees
    EXPECT_NEAR(half.arcSine, M_PI / 6 * 16384, 8);
    const AsinAcosQ14 neg = angleQ14(-8192, 14189);
    EXPECT_NEAR(neg.arcSine, -M_PI / 6 * 16384, 8);
    const AsinAcosQ14 extreme = angleQ14(kMax, kMin); // no overflow in the sum of squares
    EXPECT_GE(extreme.arcSine, -25736);
    EXPECT_LE(extreme.arcSine, 25735);
}
