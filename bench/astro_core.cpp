// Speed of the per-star and per-point routines: table sine, Q14 products,
// coordinate conversion.
#include <benchmark/benchmark.h>

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/q14.h"
#include "astro/vecmat.h"

static void BM_sinDeg(benchmark::State &state)
{
    double deg = -720.0;
    double sum = 0.0;
    for (auto _ : state) {
        sum += sinDeg(deg);
        deg += 0.7371;
        if (deg > 720.0)
            deg = -720.0;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_sinDeg);

static void BM_cosDeg(benchmark::State &state)
{
    double deg = 0.0;
    double sum = 0.0;
    for (auto _ : state) {
        sum += cosDeg(deg);
        deg += 0.0137;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_cosDeg);

// A frame's worth of catalogue vectors through the view matrix.
static void BM_mat3MulVecQ14(benchmark::State &state)
{
    const int n = 4096;
    static Vec3Q14 stars[4096];
    for (int i = 0; i < n; ++i) {
        const double ll[2] = {i * 0.0879, (i % 170) - 85.0};
        sphToVecQ14(ll, &stars[i]);
    }
    Mat3 r;
    rotZY(31.0, -47.0, &r);
    Mat3Q14 m;
    mat3ToQ14(&r, &m);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int i = 0; i < n; ++i) {
            Vec3Q14 out;
            mat3MulVecQ14(&stars[i], &m, &out);
            sum += out.x + out.y + out.z;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_mat3MulVecQ14);

static void BM_angleQ14(benchmark::State &state)
{
    int32_t a = -16000;
    int64_t sum = 0;
    for (auto _ : state) {
        sum += angleQ14(a, 9000).arcSine;
        a = a > 16000 ? -16000 : a + 37;
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_angleQ14);

// One pick or grid label: equatorial of the date to horizontal and back.
static void BM_convertCoords(benchmark::State &state)
{
    SkyContext c{};
    c.jd = 2460000.5;
    c.latitudeDeg = 48.2;
    c.siderealDeg = localSiderealDeg(c.jd, 16.4);
    c.obliquityDeg = meanObliquity(c.jd);
    double in[2] = {10.0, 20.0};
    for (auto _ : state) {
        double out[2];
        convertCoords(&c, COORD_EQT_DATE, in, COORD_HRZ, out);
        convertCoords(&c, COORD_HRZ, out, COORD_GAL, in);
        benchmark::DoNotOptimize(in);
    }
}
BENCHMARK(BM_convertCoords);
