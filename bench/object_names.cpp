// Name look-ups as commands and scene files use them: the faintest star by
// designation, the last IC object, a constellation by Latin name.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "model/star_names.h"
#include "model/deep_sky_names.h"
#include "resources/catalogs.h"

static void BM_ParseBayerNameFaintStar(benchmark::State &state)
{
    char text[32];
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "theta1Ori");
        int32_t star;
        benchmark::DoNotOptimize(parseStarName(text, &star));
    }
}
BENCHMARK(BM_ParseBayerNameFaintStar);

static void BM_ParseCommonStarName(benchmark::State &state)
{
    char text[32];
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "Asterope");
        int32_t star;
        benchmark::DoNotOptimize(parseStarName(text, &star));
    }
}
BENCHMARK(BM_ParseCommonStarName);

static void BM_ParseNebulaNameLastIc(benchmark::State &state)
{
    char text[16];
    int32_t last = nebulaRecords[nebulaTotalCount - 1].number & nebulaNumberMask;
    std::snprintf(text, sizeof text, "IC%d", last);
    for (auto _ : state) {
        int32_t index;
        benchmark::DoNotOptimize(parseNebulaName(text, &index));
    }
}
BENCHMARK(BM_ParseNebulaNameLastIc);

static void BM_FindConstellationLatin(benchmark::State &state)
{
    char text[32];
    for (auto _ : state) {
        std::snprintf(text, sizeof text, "Vulpecula");
        benchmark::DoNotOptimize(findConstellation(text));
    }
}
BENCHMARK(BM_FindConstellationLatin);
