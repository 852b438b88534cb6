#include "tests/support/x_night_chart.h"

#include "command/interpreter.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/surface.h"

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
