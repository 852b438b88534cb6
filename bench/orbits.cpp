// Comets and minor planets per chart time: Kepler solutions, places, tails,
// outlines (once per body) and the rise/set searches of the almanac.
#include <cstdlib>
#include <cstring>

#include <benchmark/benchmark.h>

#include "astro/calendar.h"
#include "astro/comet_tails.h"
#include "astro/orbits.h"
#include "astro/rise_set.h"

namespace {

OrbitalElements elementsOf(double q, double e)
{
    OrbitalElements el;
    std::memset(&el, 0, sizeof el);
    el.type = 'C';
    el.perihelionJd = 2450539.6375;
    el.eccentricity = e;
    el.perihelionDistance = q;
    el.argPerihelion = 130.6;
    el.ascendingNode = 282.5;
    el.inclination = 89.4;
    el.equinox = 2000;
    el.absMagnitude = 5;
    el.slope = 10;
    el.dustTailLength = 0.1;
    el.ionTailLength = 0.2;
    el.dustParameter = 1;
    return el;
}

// Dates spread over years, so every branch of a solver is visited.
void solveOver(benchmark::State &state, double q, double e)
{
    OrbitalElements el = elementsOf(q, e);
    OrbitState st;
    double jd = el.perihelionJd - 1500;
    for (auto _ : state) {
        benchmark::DoNotOptimize(keplerSolve(jd, &el, &st, 1));
        jd += 0.7;
        if (jd > el.perihelionJd + 1500)
            jd = el.perihelionJd - 1500;
    }
}

void BM_KeplerFixedPoint(benchmark::State &state) { solveOver(state, 2.5, 0.08); }
void BM_KeplerNewton(benchmark::State &state) { solveOver(state, 1.0, 0.55); }
void BM_KeplerHighEccentricity(benchmark::State &state) { solveOver(state, 0.59, 0.967); }
void BM_KeplerNearParabolic(benchmark::State &state) { solveOver(state, 0.91, 0.995); }
void BM_KeplerParabolic(benchmark::State &state) { solveOver(state, 1.2, 1.0); }
void BM_KeplerHyperbolic(benchmark::State &state) { solveOver(state, 0.26, 1.2); }

void BM_SmallBodyPosition(benchmark::State &state)
{
    OrbitalElements el = elementsOf(2.5, 0.08);
    el.type = 'M';
    Vec3 earth = {-0.98, -0.17, -0.07};
    BodyPosition pos;
    double jd = 2451545.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(smallBodyPosition(jd, &el, &earth, 1.0, 2451545.0, &pos));
        jd += 1.3;
    }
}

void BM_SmallBodyOrbitOutline(benchmark::State &state)
{
    OrbitalElements el = elementsOf(0.59, 0.967);
    for (auto _ : state) {
        Vec3 *pts = smallBodyOrbitOutline(&el, kSmallBodyOutlineSegments);
        if (pts)
            benchmark::DoNotOptimize(pts[80].x);
        std::free(pts);
    }
}

void tail(benchmark::State &state, int (*compute)(double, const OrbitalElements *, const Vec3 *, CometTail *))
{
    OrbitalElements el = elementsOf(0.914142, 0.995068);
    Vec3 earth = {-0.98, -0.17, -0.07};
    CometTail out;
    for (auto _ : state)
        benchmark::DoNotOptimize(compute(2450530.5, &el, &earth, &out));
}

void BM_IonTail(benchmark::State &state) { tail(state, computeIonTail); }
void BM_DustTail(benchmark::State &state) { tail(state, computeDustTail); }

// One almanac line: prepare the day, then rise, transit and set of a body.
void riseTransitSet(benchmark::State &state, int kind)
{
    RiseSetSite site = {48.2, 16.4, 190};
    SkyContext sky;
    std::memset(&sky, 0, sizeof sky);
    sky.date = {2026, 3, 20, 12, 0, 0.0, 1.0};
    riseSetContextAt(dateToJd(&sky.date), 1.0, &site, &sky);
    for (auto _ : state) {
        const RiseSetDay day = riseSetPrepare(&sky, &site);
        double jd;
        for (int event = kRiseEvent; event <= kSetEvent; ++event)
            benchmark::DoNotOptimize(riseSetTime(&day, kind, nullptr, event, 0, &jd));
    }
}

void BM_RiseSetSun(benchmark::State &state) { riseTransitSet(state, -2); }
void BM_RiseSetMoon(benchmark::State &state) { riseTransitSet(state, -1); }
void BM_RiseSetJupiter(benchmark::State &state) { riseTransitSet(state, 3); }

} // namespace

BENCHMARK(BM_KeplerFixedPoint);
BENCHMARK(BM_KeplerNewton);
BENCHMARK(BM_KeplerHighEccentricity);
BENCHMARK(BM_KeplerNearParabolic);
BENCHMARK(BM_KeplerParabolic);
BENCHMARK(BM_KeplerHyperbolic);
BENCHMARK(BM_SmallBodyPosition);
BENCHMARK(BM_SmallBodyOrbitOutline);
BENCHMARK(BM_IonTail);
BENCHMARK(BM_DustTail);
BENCHMARK(BM_RiseSetSun);
BENCHMARK(BM_RiseSetMoon);
BENCHMARK(BM_RiseSetJupiter);
