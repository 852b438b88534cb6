// Comets and minor planets: building the name index of the minor-planet
// file, looking every body up (a gdbm open each), OK of all 7,098 bodies and
// their update at a new date; then whole frames through the X canvas with
// the program's own set-up (bench/x_frame_bench.h): the solar-system view
// (SOL1) with every minor planet and its orbit beside the same view with
// none, steady and with the date a day on each frame, and the one-day step
// of two night charts with every comet, with their tails hidden, with the
// shipped element file's tails and with long tails (a copy of the file with
// every comet's dust tail 0.3 AU and ion tail 0.5 AU), beside the step with
// no comet. Each frame case reports the X requests per frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/x_frame_bench.h"
#include "ui/dialogs/element_dialogs.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ephemeris.h"

namespace {

std::string scratchDir()
{
    static std::string path = [] {
        char dir[] = "/tmp/tavik-bench-XXXXXX";
        const std::string made = mkdtemp(dir) ? dir : "/tmp";
        std::atexit([] { std::system(("rm -rf " + scratchDir()).c_str()); });
        return made;
    }();
    return path;
}

std::string scratchIndex() { return scratchDir() + "/mp.dbm"; }

void noRun(ChartState *, const char *) {}

// A chart holding every minor planet, computed for 2024-03-20, without X.
struct Loaded {
    std::unique_ptr<ChartState> chart{new ChartState()};
    ElementList list{};
    Loaded()
    {
        if (appData == nullptr) {
            appData = &theAppData;
            appDataSetDefaults();
        }
        chartStateSetDefaults(chart.get());
        chartSetSite(chart.get(), 35.0, 139.0, 0.0);
        const DateTime date{2024, 3, 20, 0, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
        const std::string mp = benchDataFile("mp.elm");
        catalogIndexBuildTo(mp.c_str(), scratchIndex().c_str(), nullptr);
        elementListLoad(&list, mp.c_str());
        elementListResetFlags(&list, kMinorPlanetDialog, chart.get());
        for (int i = 0; i < list.count; ++i)
            list.entries[i].flags |= kEntryChosen;
        void (*run)(ChartState *, const char *) = stkExecuteCall;
        stkExecuteCall = noRun;
        elementDialogOk(chart.get(), &list, kMinorPlanetDialog, mp.c_str(), scratchIndex().c_str());
        stkExecuteCall = run;
        ephemUpdateAll(chart.get());
    }
};

Loaded &loaded()
{
    static Loaded l;
    return l;
}

void BM_IndexBuild(benchmark::State &state)
{
    const std::string mp = benchDataFile("mp.elm");
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogIndexBuildTo(mp.c_str(), scratchIndex().c_str(), nullptr));
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

void BM_LookUpEveryMinorPlanet(benchmark::State &state)
{
    Loaded &l = loaded();
    const std::string mp = benchDataFile("mp.elm");
    for (auto _ : state) {
        int found = 0;
        for (int i = 0; i < l.list.count; ++i) {
            OrbitalElements el;
            found += readElementRecord(l.list.entries[i].key, 0, &el, mp.c_str(), scratchIndex().c_str());
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_LookUpEveryMinorPlanet)->Unit(benchmark::kMillisecond);

void BM_OkOfEveryMinorPlanet(benchmark::State &state)
{
    Loaded &l = loaded();
    const std::string mp = benchDataFile("mp.elm");
    void (*run)(ChartState *, const char *) = stkExecuteCall;
    stkExecuteCall = noRun;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            elementDialogOk(l.chart.get(), &l.list, kMinorPlanetDialog, mp.c_str(), scratchIndex().c_str()));
    stkExecuteCall = run;
    ephemUpdateAll(l.chart.get());
}
BENCHMARK(BM_OkOfEveryMinorPlanet)->Unit(benchmark::kMillisecond);

void BM_UpdateAtANewDate(benchmark::State &state)
{
    Loaded &l = loaded();
    double jd = l.chart->sky.jd;
    for (auto _ : state) {
        jd += 1.0;
        chartSetJd(l.chart.get(), jd, 0.0);
        ephemUpdateAll(l.chart.get());
    }
}
BENCHMARK(BM_UpdateAtANewDate)->Unit(benchmark::kMillisecond);

// ---- whole frames on the X server ------------------------------------------

// The shipped comet file with every comet's tail lengths set: dust in
// columns 143-146, ion in 148-151.
std::string longTailCometFile()
{
    static std::string path;
    if (!path.empty())
        return path;
    path = scratchDir() + "/comet-long-tails.elm";
    std::ifstream in(benchDataFile("comet.elm"));
    std::ofstream out(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() >= 152 && line[0] == 'C') {
            line.replace(143, 4, "0.30");
            line.replace(148, 4, "0.50");
        }
        out << line << '\n';
    }
    return path;
}

// Every body of the element file into the chart's table through the
// dialog's OK, with the dialog's default display choices (comets: shown,
// orbit and both tails; minor planets: shown and orbit); an empty path
// empties the table.
void loadEvery(ChartState *chart, ElementDialogKind kind, const std::string &file)
{
    if (file.empty()) {
        if (kind == kCometDialog)
            clearComets(chart);
        else
            clearMinorPlanets(chart);
        return;
    }
    const std::string index = scratchDir() + (kind == kCometDialog ? "/comet-" : "/mp-") +
                              std::to_string(std::hash<std::string>()(file)) + ".dbm";
    catalogIndexBuildTo(file.c_str(), index.c_str(), nullptr);
    ElementList list{};
    elementListLoad(&list, file.c_str());
    elementListResetFlags(&list, kind, chart);
    for (int i = 0; i < list.count; ++i)
        list.entries[i].flags = static_cast<uint8_t>(elementDefaultFlags(kind) | kEntryChosen);
    elementDialogOk(chart, &list, kind, file.c_str(), index.c_str());
    elementListFree(&list);
    stkClearError();
}

FrameBench *frameSetUp()
{
    FrameBench *b = frameBenchSetUp();
    if (b != nullptr)
        appData->commandFromSocket = 1; // a refused command formats its message, shows no box
    return b;
}

void timeFrames(benchmark::State &state, FrameBench *b, bool dayStep)
{
    ChartState *c = b->chart;
    chartDrawFrame(c, b->canvas()); // the update at this date, the sky colours
    XSync(b->display, False);
    const unsigned long first = NextRequest(b->display);
    for (auto _ : state) {
        if (dayStep)
            chartSetJd(c, c->sky.jd + 1.0, c->sky.date.zone);
        chartDrawFrame(c, b->canvas());
        XSync(b->display, False);
    }
    if (state.iterations() > 0)
        state.counters["requests"] = double(NextRequest(b->display) - first) / double(state.iterations());
}

// SOL1, the default solar-system scale, with every minor planet (range 1)
// or none (0).
void solarSystemFrames(benchmark::State &state, bool dayStep)
{
    FrameBench *b = frameSetUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart;
    loadEvery(c, kCometDialog, "");
    loadEvery(c, kMinorPlanetDialog, state.range(0) ? benchDataFile("mp.elm") : "");
    stkExecute(c, "MODE SOL1");
    chartSetDate(c, &kBenchNight);
    state.counters["minorPlanets"] = c->minorPlanetCount;
    timeFrames(state, b, dayStep);
}

void BM_SolarSystemFrame(benchmark::State &state) { solarSystemFrames(state, false); }
void BM_SolarSystemFrameDayStep(benchmark::State &state) { solarSystemFrames(state, true); }

// The night chart a day a frame: range 0 no comet, 1 every comet with its
// tails hidden, 2 every comet with the shipped file's tails, 3 every comet
// with long tails; second range 0 the horizontal chart of start-up, 1 a
// 30-degree equatorial chart on the ecliptic opposite the Sun.
void BM_CometDayStep(benchmark::State &state)
{
    FrameBench *b = frameSetUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart;
    const int64_t kind = state.range(0);
    loadEvery(c, kMinorPlanetDialog, "");
    loadEvery(c, kCometDialog, kind == 0 ? "" : kind == 3 ? longTailCometFile() : benchDataFile("comet.elm"));
    if (kind == 1)
        stkExecute(c, "HIDE DUSTTAIL;HIDE IONTAIL");
    stkExecute(c, state.range(1) == 0 ? "MODE HRZ;VIEW ANGLE 120;LOOK HRZ 180,0"
                                      : "MODE EQT;VIEW ANGLE 30;LOOK EQT 7.8,21.3");
    stkClearError();
    chartSetDate(c, &kBenchNight);
    state.counters["comets"] = c->cometCount;
    timeFrames(state, b, true);
}

void configureFrames(benchmark::internal::Benchmark *bm)
{
    bm->Iterations(60)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SolarSystemFrame)->Arg(0)->Arg(1)->Apply(configureFrames);
BENCHMARK(BM_SolarSystemFrameDayStep)->Arg(0)->Arg(1)->Apply(configureFrames);
BENCHMARK(BM_CometDayStep)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Apply(configureFrames);

} // namespace
