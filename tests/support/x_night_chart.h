// A chart on a surface, set up for a night sky as the program sets one up:
// its defaults, the sky-colour slots after the palette, the surface and the
// frame services registered, a January night in Tokyo given through the
// date and site routines, MAG STAR 6.5 through the command interpreter, then
// the first refresh (the pixmap and a frame).
#pragma once

#include <X11/Xlib.h>

struct ChartState;
struct ChartSurface;

void setUpNightChart(ChartState *chart, ChartSurface *surface, bool statusBar);

// The application record for drawing on d as start-up fills it: the Latin-1
// locale, the defaults, the fallback palette and font sets, the direction
// font's height.
void setUpChartDisplay(Display *d);
