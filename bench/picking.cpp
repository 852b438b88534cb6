// What runs after every frame while the panels are shown: the almanac's
// refill (one rise/set day and up to 59 event searches) and the info box's
// lines; and a click's hit test over the whole bright-star table.
#include <benchmark/benchmark.h>

#include "model/almanac.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "model/view_geometry.h"
#include "render/hit_test.h"
#include "render/info_box.h"
#include "render/recording_canvas.h"

namespace {

const char kHaleBopp[] =
    "C        C/1995 O1  Hale-Bopp                      1997 330.937848 0.99496070  0.91741434 130.662021 "
    "282.948754  89.217090 2000.0   4.00                                                    C/1995 O1       ";

// Greenwich, 2026-01-15 22:00 UT, eight comets loaded.
ChartState *benchChart()
{
    static ChartState chart{};
    static bool ready = false;
    if (!ready) {
        appData = &theAppData;
        appDataSetDefaults();
        chartStateSetDefaults(&chart);
        chartSetSite(&chart, 51.4779, 0.0, 0.0);
        const DateTime date{2026, 1, 15, 22, 0, 0.0, 0.0};
        chartSetDate(&chart, &date);
        for (int i = 0; i < 8; ++i) {
            OrbitalElements el;
            if (parseElementLine(&el, kHaleBopp))
                addComet(&chart, &el);
        }
        chart.lastEphemerisJd = kNeverJd;
        ephemUpdateAll(&chart);
        chart.mode = kModeHrz;
        chart.chartRect = ChartRect{0, 0, 800, 600};
        chart.fieldWidth = 90.0;
        updateViewScale(&chart);
        updateViewMatrix(&chart);
        ready = true;
    }
    return &chart;
}

void BM_AlmanacRefill(benchmark::State &state)
{
    ChartState *chart = benchChart();
    AlmanacValues v;
    for (auto _ : state) {
        almanacFill(chart, &v);
        benchmark::DoNotOptimize(v.planets[7].set[0]);
    }
}
BENCHMARK(BM_AlmanacRefill)->Unit(benchmark::kMicrosecond);

void BM_InfoBoxRepaintJupiter(benchmark::State &state)
{
    ChartState *chart = benchChart();
    chart->hitKind = kPosBody;
    chart->hitIndex = 3;
    RecordingCanvas canvas;
    for (auto _ : state) {
        canvas.clear();
        benchmark::DoNotOptimize(drawInfoBox(chart, &canvas, nullptr, nullptr));
    }
}
BENCHMARK(BM_InfoBoxRepaintJupiter)->Unit(benchmark::kMicrosecond);

void BM_HitTestEmptySky(benchmark::State &state)
{
    ChartState *chart = benchChart();
    chart->starLimit = 65;
    for (auto _ : state) {
        chart->hitKind = -1;
        benchmark::DoNotOptimize(hitTest(chart, screenPointPack(400, 100)));
    }
}
BENCHMARK(BM_HitTestEmptySky)->Unit(benchmark::kMicrosecond);

} // namespace
