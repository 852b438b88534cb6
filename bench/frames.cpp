// Frame time per chart mode on the X server named by DISPLAY: the program's
// own frame, set up as start-up sets it (toolkit resources, palette, font
// sets, the status bar shown), MAG STAR 6.5 given to the command
// interpreter, a fixed night date and site, the ephemeris updated in every
// frame. Three variants: a steady frame into the pixmap, the date advancing a
// minute a frame (through two hours of the night, again and again), and the
// frame copied to the mapped window. Besides time, each reports the X
// requests and the replies waited for per frame (render/x/x_traffic.h),
// counted over the frame alone: the XSync after each frame, in the time, is
// the benchmark's own round trip. BM_Floor is a plain Xlib frame of comparable work
// (9,120 points with a colour change each and a dozen filled discs into a
// 1024x768 pixmap), run in the same process on the same server so the ratio
// frame/floor is measured side by side. bench/frames.sh runs it all on one
// Xvfb and prints the table.
#include <benchmark/benchmark.h>

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <Xm/DrawingA.h>
#include <Xm/Xm.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/surface.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "render/x/x_traffic.h"
#include "resources/fallback.h"
#include "ui/app/env_resources.h"

namespace {

constexpr int kChartWidth = 1024;
constexpr int kChartHeight = 768;

// A winter night in Tokyo: the Sun 50 degrees below the horizon.
constexpr DateTime kNight{2025, 1, 15, 22, 0, 0.0, 9.0};
constexpr double kLatitude = 35.68, kLongitude = 139.77, kAltitude = 40.0;

// The display, waiting up to five seconds for a server that is still
// coming up: one repetition skipped for want of it would end the run.
Display *openDisplayWaiting() {
    for (int i = 0; i < 100; i++) {
        if (Display *d = XOpenDisplay(nullptr)) return d;
        usleep(50000);
    }
    return nullptr;
}

struct Bench {
    XtAppContext context = nullptr;
    Display *display = nullptr;
    XTrafficMeter *meter = nullptr;
    ChartState *chart = nullptr;
};

// The steps of start-up that the frame depends on, in start-up's order.
Bench *setUp() {
    static Bench *bench = nullptr;
    if (bench != nullptr) return bench->display != nullptr ? bench : nullptr;
    bench = new Bench();
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    Display *probe = openDisplayWaiting();
    if (probe == nullptr) return nullptr;
    XCloseDisplay(probe);
    // The font sets need a locale with ISO 8859-1 text.
    if (std::setlocale(LC_ALL, "en_US.ISO-8859-1") == nullptr) std::setlocale(LC_ALL, "C");
    XSetLocaleModifiers("");

    appData = &theAppData;
    appDataSetDefaults();
    currentChart = &theChartState;
    ChartState *chart = currentChart;
    static char name[] = "tavik";
    static char *argv[] = {name, nullptr};
    int argc = 1;
    appData->topLevel = XtAppInitialize(&bench->context, "TAvik", nullptr, 0, &argc, argv, fallbackResources,
                                        nullptr, 0);
    envUseToolkitResources();
    appData->display = XtDisplay(appData->topLevel);
    appData->screen = DefaultScreen(appData->display);
    appData->initialising = 1;
    chartStateSetDefaults(chart);

    envLoadBodyNames(); // the palette
    if (!loadFontSets()) {
        std::fprintf(stderr, "frames: font sets missing; the frame would draw no text\n");
        return nullptr;
    }
    appData->dirFontHeight = dirFontHeight();
    appData->minDiskRadius = 7;
    appData->dynamicVisual = isDynamicVisual();
    appData->pixelAspect = 1.0;

    // The drawing area holds the status bar's band above the chart.
    const Dimension bar = static_cast<Dimension>(appData->fontSetExtents[StatusFontset].maxLogicalExtent.height * 12 / 10);
    Arg args[2];
    XtSetArg(args[0], XmNwidth, kChartWidth);
    XtSetArg(args[1], XmNheight, kChartHeight + bar);
    chart->drawingArea = XmCreateDrawingArea(appData->topLevel, const_cast<char *>("DrawingArea"), args, 2);
    XtManageChild(chart->drawingArea);
    XtRealizeWidget(appData->topLevel);
    chartCreateGC(chart);
    envLoadResources(chart);

    chartSetSite(chart, kLatitude, kLongitude, kAltitude);
    chartSetDate(chart, &kNight);
    stkExecute(chart, "MAG STAR 6.5");
    chart->statusBar = 1;

    // Wait until the window is on the screen, so the copies reach it.
    XSync(appData->display, False);
    XEvent event;
    while (XtAppPending(bench->context)) {
        XtAppNextEvent(bench->context, &event);
        XtDispatchEvent(&event);
    }
    chart->modeChanged = 0;
    chartRefresh(chart); // the pixmap; first frame
    XSync(appData->display, False);
    bench->display = appData->display;
    bench->chart = chart;
    bench->meter = new XTrafficMeter(bench->display);
    return bench;
}

enum Variant { kSteady, kAdvancing, kCopied };

// The advancing variant keeps to the two hours from kNight: a minute a
// frame for thousands of frames would reach the day.
constexpr int kAdvancingFrames = 120;

void frame(Bench *b, Variant variant, int n) {
    ChartState *c = b->chart;
    if (variant == kAdvancing) {
        if (n % kAdvancingFrames == 0)
            chartSetDate(c, &kNight);
        else
            chartSetJd(c, c->sky.jd + 1.0 / 1440.0, c->sky.date.zone);
    }
    if (variant == kCopied) {
        c->redrawNeeded = 1;
        chartRedraw(c);
    } else {
        chartDrawFrame(c, chartSurface()->canvas());
    }
}

void runFrames(benchmark::State &state, Variant variant) {
    Bench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    ChartState *c = b->chart;
    c->mode = static_cast<int32_t>(state.range(0));
    appData->initialising = variant == kCopied ? 0 : 1;
    chartSetDate(c, &kNight);
    frame(b, variant, 0); // a mode's first frame stores its sky colours
    XSync(b->display, False);
    unsigned long requests = 0, replies = 0;
    int n = 1;
    for (auto _ : state) {
        b->meter->start();
        frame(b, variant, n++);
        const XTraffic t = b->meter->read();
        requests += t.requests;
        replies += t.replies;
        XSync(b->display, False);
    }
    state.counters["requests"] = benchmark::Counter(static_cast<double>(requests), benchmark::Counter::kAvgIterations);
    state.counters["replies"] = benchmark::Counter(static_cast<double>(replies), benchmark::Counter::kAvgIterations);
    appData->initialising = 1;
}

void BM_Frame(benchmark::State &state) { runFrames(state, kSteady); }
void BM_FrameAdvancing(benchmark::State &state) { runFrames(state, kAdvancing); }
void BM_FrameCopied(benchmark::State &state) { runFrames(state, kCopied); }

// The floor: what a plain Xlib program pays for the same amount of drawing.
void BM_Floor(benchmark::State &state) {
    static Display *d = openDisplayWaiting(); // one connection for every repetition
    if (d == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    const int screen = DefaultScreen(d);
    const Pixmap pixmap = XCreatePixmap(d, RootWindow(d, screen), kChartWidth, kChartHeight,
                                        static_cast<unsigned>(DefaultDepth(d, screen)));
    const GC gc = XCreateGC(d, pixmap, 0, nullptr);
    // 9,120 points spread over the pixmap, a colour change before each.
    constexpr int kPoints = 9120;
    XTrafficMeter meter(d);
    unsigned long requests = 0, replies = 0;
    for (auto _ : state) {
        meter.start();
        XSetForeground(d, gc, 0x000010);
        XFillRectangle(d, pixmap, gc, 0, 0, kChartWidth, kChartHeight);
        unsigned seed = 12345;
        for (int i = 0; i < kPoints; i++) {
            seed = seed * 1103515245u + 12345u;
            XSetForeground(d, gc, 0x808080u + (i & 1) * 0x3F3F3Fu);
            XDrawPoint(d, pixmap, gc, static_cast<int>((seed >> 8) % kChartWidth),
                       static_cast<int>((seed >> 20) % kChartHeight));
        }
        for (int i = 0; i < 12; i++) {
            XSetForeground(d, gc, 0xFFE0A0u - static_cast<unsigned>(i) * 0x0A0A00u);
            XFillArc(d, pixmap, gc, 60 + 75 * i, 300, 24, 24, 0, 360 * 64);
        }
        const XTraffic t = meter.read();
        requests += t.requests;
        replies += t.replies;
        XSync(d, False);
    }
    state.counters["requests"] = benchmark::Counter(static_cast<double>(requests), benchmark::Counter::kAvgIterations);
    state.counters["replies"] = benchmark::Counter(static_cast<double>(replies), benchmark::Counter::kAvgIterations);
    XFreeGC(d, gc);
    XFreePixmap(d, pixmap);
}

const int kModes[] = {kModeHrz,     kModeEqt,     kModeEcl,     kModeGal,     kModeSol1,
                      kModeSol2,    kModeSol3,    kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal,
                      kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal, kModePlns};

void registerModes(benchmark::internal::Benchmark *bm) {
    for (int mode : kModes) bm->Arg(mode);
}

} // namespace

// Fixed iteration counts: every repetition runs the same number of frames,
// so the medians compare like with like on a busy machine.
BENCHMARK(BM_Floor)->Iterations(60)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame)
    ->Apply(registerModes)
    ->Iterations(400)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameAdvancing)
    ->Apply(registerModes)
    ->Iterations(400)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameCopied)
    ->Apply(registerModes)
    ->Iterations(400)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    
    ->Unit(benchmark::kMicrosecond);
