// Comets and minor planets: building the name index of the minor-planet
// file, looking every body up (a gdbm open each), OK of all 7,098 bodies,
// their update at a new date, and the solar-system layer with all of them in
// an equatorial chart and in the solar-system view with orbits.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "ui/dialogs/element_dialogs.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "model/view_geometry.h"
#include "render/layers/small_bodies.h"
#include "render/recording_canvas.h"

namespace {

std::string dataFile(const char *name)
{
    std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/../data/" + name;
}

std::string scratchIndex()
{
    static std::string path = [] {
        char dir[] = "/tmp/tavik-bench-XXXXXX";
        return std::string(mkdtemp(dir)) + "/mp.dbm";
    }();
    return path;
}

void noRun(ChartState *, const char *) {}

// A chart holding every minor planet, computed for 2024-03-20.
struct Loaded {
    std::unique_ptr<ChartState> chart{new ChartState()};
    ElementList list{};
    Loaded()
    {
        appData = &theAppData;
        appDataSetDefaults();
        chartStateSetDefaults(chart.get());
        chartSetSite(chart.get(), 35.0, 139.0, 0.0);
        const DateTime date{2024, 3, 20, 0, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
        const std::string mp = dataFile("mp.elm");
        catalogIndexBuildTo(mp.c_str(), scratchIndex().c_str(), nullptr);
        elementListLoad(&list, mp.c_str());
        elementListResetFlags(&list, kMinorPlanetDialog, chart.get());
        for (int i = 0; i < list.count; ++i)
            list.entries[i].flags |= kEntryChosen;
        stkExecuteCall = noRun;
        elementDialogOk(chart.get(), &list, kMinorPlanetDialog, mp.c_str(), scratchIndex().c_str());
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
    const std::string mp = dataFile("mp.elm");
    for (auto _ : state)
        benchmark::DoNotOptimize(catalogIndexBuildTo(mp.c_str(), scratchIndex().c_str(), nullptr));
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

void BM_LookUpEveryMinorPlanet(benchmark::State &state)
{
    Loaded &l = loaded();
    const std::string mp = dataFile("mp.elm");
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
    const std::string mp = dataFile("mp.elm");
    for (auto _ : state)
        benchmark::DoNotOptimize(
            elementDialogOk(l.chart.get(), &l.list, kMinorPlanetDialog, mp.c_str(), scratchIndex().c_str()));
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

void BM_SolarSystemLayer(benchmark::State &state)
{
    Loaded &l = loaded();
    ChartState *c = l.chart.get();
    c->mode = static_cast<int32_t>(state.range(0));
    c->chartRect = ChartRect{0, 0, 1024, 768};
    c->centerMode[0] = 0.0;
    c->centerMode[1] = c->mode == kModeSol1 ? 90.0 : 0.0;
    c->fieldWidth = 90.0;
    updateViewScale(c);
    updateViewMatrix(c);
    RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.clear();
        chartDrawSolarSystem(c, &canvas, 0);
    }
}
BENCHMARK(BM_SolarSystemLayer)->Arg(kModeEqt)->Arg(kModeSol1)->Unit(benchmark::kMillisecond);

} // namespace
