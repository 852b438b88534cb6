// Scene files with many bodies: STL of a scene holding the first N minor
// planets of the shipped data/mp.elm (its ORBIT block one line a body), and
// the writing of the scene with all 7,098. Loading must grow with N, not N^2.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ui_hooks.h"

namespace {

constexpr int kAllMinorPlanets = 7098;

ChartState *newChart()
{
    appDataSetDefaults();
    appData->initialising = 1; // INIT keeps the site and says nothing of it
    uiHooksRecordMessages();
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    return chart;
}

// The shipped minor-planet file, beside this source.
std::string minorPlanetFile()
{
    const std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/mp.elm";
}

// The first n minor planets of the shipped file, added as the scene reader adds them.
void addMinorPlanets(ChartState *chart, int n)
{
    std::FILE *f = std::fopen(minorPlanetFile().c_str(), "r");
    char line[512];
    for (int i = 0; f != nullptr && i < n && std::fgets(line, sizeof line, f); i++) {
        OrbitalElements e;
        if (parseElementLine(&e, line))
            addMinorPlanet(chart, &e);
    }
    if (f != nullptr)
        std::fclose(f);
}

long minorPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// A scene of chart in a temporary file; its path.
std::string writeSceneTemp(ChartState *chart)
{
    char path[] = "/tmp/tavik-bench-XXXXXX";
    const int fd = mkstemp(path);
    std::FILE *out = fd >= 0 ? fdopen(fd, "w") : nullptr;
    if (out == nullptr)
        return "";
    writeSceneFile(chart, out, 0);
    std::fclose(out);
    return path;
}

void stlMinorPlanets(benchmark::State &state)
{
    ChartState *chart = newChart();
    addMinorPlanets(chart, static_cast<int>(state.range(0)));
    const std::string path = writeSceneTemp(chart);
    const std::string command = "STL \"" + path + "\"";
    // INIT frees the tables and the C library gives the memory back, so each
    // load touches fresh pages: their faults are part of the time (on some
    // virtual machines most of it) and counted apart.
    long faults = 0;
    for (auto _ : state) {
        state.PauseTiming();
        stkExecute(chart, "INIT");
        const long before = minorPageFaults();
        state.ResumeTiming();
        stkExecute(chart, command.c_str());
        state.PauseTiming();
        faults += minorPageFaults() - before;
        state.ResumeTiming();
    }
    state.counters["page_faults"] = benchmark::Counter(static_cast<double>(faults), benchmark::Counter::kAvgIterations);
    if (chart->minorPlanetCount != state.range(0))
        state.SkipWithError("the scene did not load every body");
    state.counters["bodies"] = chart->minorPlanetCount;
    std::remove(path.c_str());
    uiHooksReset();
    chartStateFreeTables(chart);
    delete chart;
}
BENCHMARK(stlMinorPlanets)->Arg(1000)->Arg(4000)->Arg(kAllMinorPlanets)->Unit(benchmark::kMillisecond);

void writeSceneOfAllMinorPlanets(benchmark::State &state)
{
    ChartState *chart = newChart();
    addMinorPlanets(chart, kAllMinorPlanets);
    std::FILE *out = std::fopen("/dev/null", "w");
    for (auto _ : state)
        benchmark::DoNotOptimize(writeSceneFile(chart, out, 0));
    std::fclose(out);
    state.counters["bodies"] = chart->minorPlanetCount;
    uiHooksReset();
    chartStateFreeTables(chart);
    delete chart;
}
BENCHMARK(writeSceneOfAllMinorPlanets)->Unit(benchmark::kMillisecond);

} // namespace
