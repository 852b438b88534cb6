#include "tests/support/x_night_chart.h"

#include <clocale>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/surface.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "tests/support/test_chart.h"

void setUpNightChart(ChartState *chart, ChartSurface *surface, bool statusBar) {
    chartStateSetDefaults(chart);
    chart->skyColourBase = kPaletteColourCount;
    chart->statusBar = statusBar ? 1 : 0;
    chart->modeChanged = 0;
    chartSetSurface(surface);
    chartFrameServices = kFrameServices;
    chartSetSite(chart, 35.68, 139.77, 40.0);
    const DateTime night{2025, 1, 15, 22, 0, 0.0, 9.0};
    chartSetDate(chart, &night);
    stkExecute(chart, "MAG STAR 6.5");
    chartRefresh(chart);
}

void setUpChartDisplay(Display *d) {
    std::setlocale(LC_ALL, "en_US.ISO-8859-1");
    resetTestAppData();
    appData->display = d;
    appData->screen = DefaultScreen(d);
    appData->minDiskRadius = 7;
    appData->initialising = 1;
    const char *colours[kPaletteColourCount] = {};
    allocPaletteFrom(d, appData->screen, colours, 0);
    appData->dynamicVisual = isDynamicVisual();
    char text[kFontSetCount][128], bayer[128];
    const char *names[kFontSetCount];
    for (int i = 0; i < kFontSetCount; i++)
        names[i] = fallbackResourceString(fontSetRows[i].resource, text[i], sizeof text[i]);
    fallbackResourceString(kStarBayerFontResource, bayer, sizeof bayer);
    loadFontSetsFrom(d, names, bayer);
    appData->dirFontHeight = dirFontHeight();
}

NightChartWindow::NightChartWindow(int depth, bool statusBar) : server(900, 700, depth) {
    if (!server.ok()) return;
    d = server.display();
    setUpChartDisplay(d);
    window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 640, 480, 0, 0, 0);
    XMapWindow(d, window);
    gc = XCreateGC(d, window, 0, nullptr);
    surface.reset(new XSurface(d, window, gc, DefaultDepth(d, appData->screen)));
    surface->drawer.fontSets = appData->fontSets;
    surface->drawer.symbolFont = &appData->bayerFont.fid;
    setUpNightChart(chart.get(), surface.get(), statusBar);
}

NightChartWindow::~NightChartWindow() {
    if (!d) return;
    chartSetSurface(nullptr);
    setPaletteStoreColour(nullptr);
    freeFontSets();
    surface.reset();
    if (gc != nullptr) XFreeGC(d, gc);
    std::setlocale(LC_ALL, "C");
}
