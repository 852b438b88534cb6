// Cost of the body theories: everything the chart computes for one date, and
// the many-date loop of the rise-and-set searches at each detail level.
#include <benchmark/benchmark.h>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/coords.h"
#include "astro/galilean.h"
#include "astro/planets.h"
#include "astro/sun_moon.h"
#include "tests/astro/sun_moon_context.h"

namespace {

SkyContext contextAt(double jd) { return bodyTestContext(jd, 35.0, 139.7, 0.0); }

// Sun, Moon with phase and age, the eight planets and the Galilean moons.
void BM_AllBodiesOneDate(benchmark::State &state) {
    const SkyContext ctx = contextAt(2460000.5);
    SunRecord sun;
    MoonRecord moon;
    SolarBodyRecord planets[kPlanetCount];
    GalileanMoonRow moons[kGalileanMoonCount];
    for (auto _ : state) {
        ephemSun(&ctx, &sun);
        ephemMoonWithPhase(&ctx, &moon, &sun, 1);
        moon.ageDays = moonAge(ctx.jd, &sun, &moon);
        for (int p = 0; p < kPlanetCount; ++p) ephemPlanet(p, &ctx, &sun, &planets[p], 1);
        ephemGalileanMoons(&ctx, &planets[3], moons);
        benchmark::DoNotOptimize(moons[3].unit.x);
    }
}
BENCHMARK(BM_AllBodiesOneDate);

void BM_OrbitOutlines(benchmark::State &state) {
    const SkyContext ctx = contextAt(2460000.5);
    static PlanetOrbitOutlines outlines;
    for (auto _ : state) benchmark::DoNotOptimize(planetOrbitOutlines(&ctx, outlines));
}
BENCHMARK(BM_OrbitOutlines);

// 10,000 dates of one planet's heliocentric place at level 1, 2 or 3; the
// contexts are made beforehand, as the searches keep theirs.
void BM_TenThousandDates(benchmark::State &state) {
    const int planet = static_cast<int>(state.range(0));
    const int level = static_cast<int>(state.range(1));
    static SkyContext contexts[10000];
    for (int k = 0; k < 10000; ++k) contexts[k] = contextAt(2440000.5 + k * 3.1);
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k < 10000; ++k) {
            double lonLat[2], r;
            ephemPlanetHelio(planet, &contexts[k], lonLat, &r, level);
            sum += lonLat[0];
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TenThousandDates)->ArgsProduct({{0, 2, 3, 5}, {1, 2, 3}})->ArgNames({"planet", "level"});

void BM_TenThousandMoonDates(benchmark::State &state) {
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        double sum = 0.0;
        for (int k = 0; k < 10000; ++k) sum += moonLongitude(-20.0 + k * 0.0085, level);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_TenThousandMoonDates)->Arg(1)->Arg(2)->Arg(3)->ArgName("level");

} // namespace
