// Frame time with the stars of the catalogue file: the whole-sky map at
// limit 9.5 from the file, the same chart from the bright-star table, and the
// horizontal chart at 6.5 with every grid and line on. Whole frames are
// drawn into a 1024 x 768 off-screen pixmap on the X server named by DISPLAY;
// each case reports min, median and max of its repetitions and the stars
// read and drawn per frame.
//
//     bench_catalog_stars [path of tavik.sao]   (default: the shipped data/tavik.sao)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/x_frame_bench.h"
#include "command/interpreter.h"
#include "model/star_limit.h"
#include "model/ui_hooks.h"
#include "render/layers/sao_stars.h"

namespace {

std::string catalogPath = benchDataFile("tavik.sao");

FrameBench *setUp() {
    FrameBench *bench = frameBenchSetUp();
    if (bench == nullptr) return nullptr;
    appData->commandFromSocket = 1; // a refused command formats its message, shows no box
    std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", catalogPath.c_str());
    uiHooksRecordMessages();
    return bench;
}

// The display bits are set in the chart record (settings, like SHOW and HIDE set them).
void frames(benchmark::State &state, int32_t mode, const char *commands, void (*display)(ChartState *)) {
    FrameBench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart;
    stkExecute(c, "INIT");
    c->statusBar = 0;
    c->mode = mode; // a setting, as MODE writes it
    stkExecute(c, commands);
    display(c);
    chartDrawFrame(c, b->canvas()); // applies the limit
    XSync(b->display, False);
    for (auto _ : state) {
        chartDrawFrame(c, b->canvas());
        XSync(b->display, False);
    }
    state.counters["starLimit"] = c->starLimit;
    if (c->starFlags & 0x20) {
        const SaoFrameStats &s = c->frame.sao;
        state.counters["recordsRead"] = s.recordsRead;
        state.counters["starsDrawn"] = s.starsDrawn;
        state.counters["zonesRead"] = s.zonesRead;
    } else {
        int32_t last = 0;
        state.counters["rowsWalked"] = starLastIndexForLimit(c, &last) ? last + 1 : 0; // bright-table rows
    }
}

void starsOnly(ChartState *c) {
    c->milkyWayFlags = 0;
    c->constellationFlags = 0;
}

void everyGrid(ChartState *c) {
    starsOnly(c);
    c->gridNumberFlags = 0xFC | 3; // every number, subdivision MODE3
    c->horizonGridFlags = 0x07;
    c->equatorialGridFlags = 0x3F;
    c->otherGridFlags = 0x0F;
    c->lineNumberFlags = 0x3F;
}

void catalogFileWholeSky(benchmark::State &state) { frames(state, kModeAll2Eqt, "STARDATA SAO; MAG STAR 9.5", starsOnly); }
void brightTableWholeSky(benchmark::State &state) { frames(state, kModeAll2Eqt, "STARDATA BSC; MAG STAR 9.5", starsOnly); }
void horizontalEveryGrid(benchmark::State &state) { frames(state, kModeHrz, "STARDATA BSC; MAG STAR 6.5", everyGrid); }

double minOf(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double maxOf(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

void configure(benchmark::internal::Benchmark *bm) {
    bm->Repetitions(15)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", minOf)
        ->ComputeStatistics("max", maxOf)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(catalogFileWholeSky)->Apply(configure);
BENCHMARK(brightTableWholeSky)->Apply(configure);
BENCHMARK(horizontalEveryGrid)->Apply(configure);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) catalogPath = argv[1];
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
