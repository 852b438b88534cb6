// The chart's graphics context and the surface the chart refresh draws on.
#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/palette.h"
#include "render/x/x_surface.h"

namespace {

XSurface *chartXSurface = nullptr;

} // namespace

// Also builds the surface on the drawing area's window and registers it for
// the chart refresh; the pixmap itself is made by the first refresh.
void chartCreateGC(ChartState *chart) {
    chart->skyColourBase = kPaletteColourCount; // the first sky-colour slot follows the palette
    chart->backPixmap = kNoXid;
    Display *display = appData->display;
    const Window window = XtWindow(chart->drawingArea);
    chart->gc = XCreateGC(display, window, 0, nullptr);
    delete chartXSurface;
    chartXSurface = new XSurface(display, window, chart->gc, DefaultDepth(display, appData->screen));
    chartXSurface->pixmapField = &chart->backPixmap;
    if (appData->installColormap) chartXSurface->colormap = appData->colormap;
    chartXSurface->drawer.fontSets = appData->fontSets;
    chartXSurface->drawer.symbolFont = &appData->bayerFont.fid;
    chartSetSurface(chartXSurface);
}
