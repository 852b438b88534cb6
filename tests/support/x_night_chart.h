// A chart on a surface, set up for a night sky as the program sets one up:
// its defaults, the sky-colour slots after the palette, the surface and the
// frame services registered, a January night in Tokyo given through the
// date and site routines, MAG STAR 6.5 through the command interpreter, then
// the first refresh (the pixmap and a frame).
#pragma once

#include <memory>

#include <X11/Xlib.h>

#include "render/x/x_surface.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_server.h"

struct ChartState;
struct ChartSurface;

void setUpNightChart(ChartState *chart, ChartSurface *surface, bool statusBar);

// The application record for drawing on d as start-up fills it: the Latin-1
// locale, the defaults, the fallback palette and font sets, the direction
// font's height.
void setUpChartDisplay(Display *d);

// A night chart drawn on a mapped window of a private server of the given
// depth, as setUpChartDisplay and setUpNightChart make it; everything it set
// up is undone when it goes. server.ok() is false when the server did not
// start, and nothing else is set up then.
struct NightChartWindow {
    XServer server;
    Display *d = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    OwnedChart chart;

    NightChartWindow(int depth, bool statusBar);
    ~NightChartWindow();
    NightChartWindow(const NightChartWindow &) = delete;
    NightChartWindow &operator=(const NightChartWindow &) = delete;
};
