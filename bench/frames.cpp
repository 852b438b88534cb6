// Frame time per chart mode: whole frames of a fixed chart drawn into the
// off-screen pixmap on the X server named by DISPLAY. Each mode is run as
// repetitions and reported with its median (the _median row).
#include <benchmark/benchmark.h>

#include "bench/x_frame_bench.h"

namespace {

void BM_Frame(benchmark::State &state) {
    FrameBench *b = frameBenchSetUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart.get();
    c->mode = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        chartDrawFrame(c, b->surface->canvas());
        XSync(b->display, False);
    }
}

const int kModes[] = {kModeHrz,     kModeEqt,     kModeEcl,     kModeGal,     kModeSol1,
                      kModeSol2,    kModeSol3,    kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal,
                      kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal, kModePlns};

void registerModes(benchmark::internal::Benchmark *bm) {
    for (int mode : kModes) bm->Arg(mode);
}

} // namespace

BENCHMARK(BM_Frame)
    ->Apply(registerModes)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
