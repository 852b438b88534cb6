// Frame time per chart mode: whole frames of a fixed chart drawn into the
// off-screen pixmap on the X server named by DISPLAY. Each mode is run as
// repetitions and reported with its median (the _median row).
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <memory>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/x/x_surface.h"

namespace {

struct Bench {
    Display *display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    std::unique_ptr<ChartState> chart;
};

Bench *setUp() {
    static Bench *bench = nullptr;
    if (bench != nullptr) return bench->display != nullptr ? bench : nullptr;
    bench = new Bench();
    bench->display = XOpenDisplay(nullptr);
    if (bench->display == nullptr) return nullptr;
    Display *d = bench->display;
    const int screen = DefaultScreen(d);
    bench->window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, 1024, 768, 0, 0, 0);
    bench->gc = XCreateGC(d, bench->window, 0, nullptr);
    bench->surface.reset(new XSurface(d, bench->window, bench->gc, DefaultDepth(d, screen)));
    appData = &theAppData;
    appDataSetDefaults();
    appData->pixelAspect = 1.0;
    appData->dirFontHeight = 14;
    appData->initialising = 1; // frames only, no copies to the window
    bench->chart.reset(new ChartState());
    ChartState *c = bench->chart.get();
    chartStateSetDefaults(c);
    mat3Identity(&c->precessionMatrix);
    c->sky.latitudeDeg = 35.0;
    c->sky.siderealDeg = 80.0;
    c->sky.obliquityDeg = 23.44;
    c->skyColourBase = 65;
    c->statusBar = 0;
    c->modeChanged = 0;
    chartSetSurface(bench->surface.get());
    chartRefresh(c);
    return bench;
}

void BM_Frame(benchmark::State &state) {
    Bench *b = setUp();
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

const int kModes[] = {257, 260, 261, 262, 516, 517, 518, 772, 773, 774, 1028, 1029, 1030, 2049};

void registerModes(benchmark::internal::Benchmark *bm) {
    for (int mode : kModes) bm->Arg(mode);
}

} // namespace

BENCHMARK(BM_Frame)
    ->Apply(registerModes)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
