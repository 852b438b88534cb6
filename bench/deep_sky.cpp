// Frame time with the deep-sky objects, user objects, sky marks and picture
// marks: each layer shown, in the whole-sky map and the horizontal chart,
// beside the same frame with it hidden. The sample user-object file is loaded
// with LOAD AD; the sky marks and the shipped click data come with the
// program's own set-up (bench/x_frame_bench.h). Whole frames are drawn into a 1024 x 768 off-screen pixmap
// on the X server named by DISPLAY; each case reports min, median and max of
// its repetitions and the X requests per frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/x_frame_bench.h"
#include "command/interpreter.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"

namespace {

// Every layer of this bench hidden; a case shows its own.
const char *const kAllHidden = "HIDE NEBULA;HIDE AD;HIDE SKYMARK;HIDE PICTUREMARK";

FrameBench *setUp()
{
    static bool loaded = false;
    FrameBench *bench = frameBenchSetUp();
    if (bench == nullptr || loaded) return bench;
    loaded = true;
    appData->commandFromSocket = 1; // a refused command formats its message, shows no box
    uiHooksRecordMessages();
    ChartState *c = bench->chart;
    stkExecute(c, ("LOAD AD \"" + benchDataFile("adf/sample.adf") + "\"").c_str());
    if (c->userObjectFileCount != 1 || appData->skyMarkFileCount != 1)
        std::fprintf(stderr, "deep_sky bench: a data file did not load\n");
    return bench;
}

// The commands set the display bits as SHOW and HIDE do.
void frames(benchmark::State &state, const char *commands)
{
    FrameBench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart;
    c->mode = static_cast<int32_t>(state.range(0)); // a setting, as MODE writes it
    stkExecute(c, "MAG NEBULALIMIT 1");
    stkExecute(c, kAllHidden);
    stkExecute(c, commands);
    chartDrawFrame(c, b->canvas());
    XSync(b->display, False);
    const unsigned long first = NextRequest(b->display);
    for (auto _ : state) {
        chartDrawFrame(c, b->canvas());
        XSync(b->display, False);
    }
    // X requests per frame: shows that the layer drew.
    if (state.iterations() > 0)
        state.counters["requests"] = double(NextRequest(b->display) - first) / double(state.iterations());
}

void layersHidden(benchmark::State &state) { frames(state, ""); }
void nebulaDefaultLimit(benchmark::State &state) { frames(state, "SHOW NEBULA"); }
void nebulaNoLimit(benchmark::State &state) { frames(state, "SHOW NEBULA;MAG NEBULALIMIT 0"); }
void userObjects(benchmark::State &state) { frames(state, "SHOW AD"); }
void skyMarks(benchmark::State &state) { frames(state, "SHOW SKYMARK"); }
void pictureMarks(benchmark::State &state) { frames(state, "SHOW PICTUREMARK"); }
void everyLayer(benchmark::State &state)
{
    frames(state, "SHOW NEBULA;SHOW AD;SHOW SKYMARK;SHOW PICTUREMARK");
}

double minOf(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double maxOf(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

void configure(benchmark::internal::Benchmark *bm)
{
    bm->Arg(kModeAll2Eqt)
        ->Arg(kModeHrz)
        ->Repetitions(15)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", minOf)
        ->ComputeStatistics("max", maxOf)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(layersHidden)->Apply(configure);
BENCHMARK(nebulaDefaultLimit)->Apply(configure);
BENCHMARK(nebulaNoLimit)->Apply(configure);
BENCHMARK(userObjects)->Apply(configure);
BENCHMARK(skyMarks)->Apply(configure);
BENCHMARK(pictureMarks)->Apply(configure);
BENCHMARK(everyLayer)->Apply(configure);
