// The set-up the frame benchmarks share: a 1024 x 768 window and its
// off-screen pixmap on the X server named by DISPLAY, and one chart whose
// date and site go through the chart's own setters. Each bench/*.cpp is its
// own program, so this header is included once per program.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/x/x_surface.h"

struct FrameBench {
    Display *display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    std::unique_ptr<ChartState> chart;
};

// The bench, made on the first call; null when there is no display.
inline FrameBench *frameBenchSetUp() {
    static FrameBench *bench = nullptr;
    if (bench != nullptr) return bench->display != nullptr ? bench : nullptr;
    bench = new FrameBench();
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
    chartSetSite(c, 35.0, 139.7, 0.0);
    chartSetJd(c, 2460390.5, 9.0);
    c->skyColourBase = 65;
    c->statusBar = 0;
    c->modeChanged = 0;
    chartSetSurface(bench->surface.get());
    chartRefresh(c);
    return bench;
}
