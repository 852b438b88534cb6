#include "ui/app/play_loop.h"

#include <X11/Intrinsic.h>

#include "command/play.h"
#include "model/app_data.h"
#include "model/chart_state.h"

namespace {

Boolean playWorkProc(XtPointer data) { return playStep(static_cast<ChartState *>(data)) ? True : False; }

void playTimeout(XtPointer data, XtIntervalId *) { playTimer(static_cast<ChartState *>(data)); }

XtAppContext appContext() { return XtWidgetToApplicationContext(appData->topLevel); }

} // namespace

void setPlayWorkProc(ChartState *chart, int on)
{
    if (chart->playWorkProc != 0)
        XtRemoveWorkProc(chart->playWorkProc);
    chart->playWorkProc = on ? XtAppAddWorkProc(appContext(), playWorkProc, chart) : 0;
}

void setPlayTimer(ChartState *chart, long long ms)
{
    if (chart->playTimerId != 0)
        XtRemoveTimeOut(chart->playTimerId);
    chart->playTimerId = 0;
    if (ms >= 0)
        chart->playTimerId = XtAppAddTimeOut(appContext(), static_cast<unsigned long>(ms), playTimeout, chart);
}
