// CONTINUE, REVERSE and REALTIME, and the steps of playing.
#include "command/play.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "astro/calendar.h"
#include "command/commands.h"
#include "command/interpreter.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/command_error.h"
#include "model/play_clock.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

void takeBase(ChartState *chart)
{
    chart->playBaseJd = playClockJd(chart);
    chart->playBaseDate = chart->sky.date;
}

// The end date from year, month, day, hour, minute and second texts;
// omitted fields keep the chart date's.
void setEndDate(ChartState *chart, char **fields)
{
    DateTime end = chart->sky.date;
    int32_t *parts[] = {&end.year, &end.month, &end.day, &end.hour, &end.minute};
    for (int i = 0; i < 5; i++)
        if (fields[i])
            *parts[i] = stkParamInt(fields[i]);
    if (fields[5])
        end.second = stkParamInt(fields[5]);
    chart->playEndDate = end;
    chart->playEndJd = dateToJd(&end);
    chart->playEndKind = kPlayUntilEnd;
}

bool anyGiven(char **params, int from, int to)
{
    for (int i = from; i <= to; i++)
        if (params[i])
            return true;
    return false;
}

void refreshPlayButtons(ChartState *chart)
{
    uiHooks.toolbarRefreshOne(chart, 0, 0, kToolbarReverse);
    uiHooks.toolbarRefreshOne(chart, 0, 0, kToolbarStopPlay);
    uiHooks.toolbarRefreshOne(chart, 0, 0, kToolbarContinue);
}

void stopOutOfDate(ChartState *chart)
{
    stkExecute(chart, "CONTINUE");
    char text[256];
    getResourceString("messageContinueOutOfDate", text, sizeof text);
    uiHooks.openMessageBox(appData->topLevel, text, kMessageBoxWarning);
}

// Kinds 1 and 2: the date the clock gives. 0 when it leaves the date range.
int followClock(ChartState *chart, DateTime *date)
{
    if (chart->playKind == kPlayClock) {
        // The local time moved into the chart date's zone.
        timeNow(date);
        const int ok = timeShiftToZone(date, chart->sky.date.zone);
        date->zone = chart->sky.date.zone;
        return ok;
    }
    // Julian dates carry some ten microseconds of rounding; the clock counts
    // whole seconds, so the elapsed time is taken to the millisecond.
    const double elapsed = std::round((playClockJd(chart) - chart->playBaseJd) * 86400000.0) / 1000.0;
    *date = chart->playBaseDate;
    TimeStep step{0, 0, 0, 0, 0, elapsed < 0 ? -elapsed : elapsed};
    return timeAdd(date, &step, elapsed < 0);
}

bool reachedEnd(const ChartState *chart, double jd)
{
    if (chart->playEndKind != kPlayUntilEnd)
        return false;
    return chart->playReverse && chart->playKind == kPlayByPeriod ? jd <= chart->playEndJd
                                                                   : jd >= chart->playEndJd;
}

void redraw(ChartState *chart)
{
    chart->redrawNeeded = 1;
    uiHooks.chartRefresh(chart);
}

} // namespace

void playStartStop(ChartState *chart, char **params)
{
    const bool wasPlaying = chart->playing != 0;
    if (wasPlaying) {
        if (chart->playWorkProc)
            uiHooks.setPlayWorkProc(chart, 0);
        if (chart->playTimerId)
            uiHooks.setPlayTimer(chart, -1);
        chart->playWorkProc = 0;
        chart->playTimerId = 0;
        chart->playing = 0;
    } else {
        chart->playing = 1;
    }
    chart->playEndJd = 0;
    chart->playKind = kPlayByPeriod;

    if (anyGiven(params, 0, 4)) {
        const char *p1 = params[0];
        if (strEqualNoCase(p1, "REALTIME1")) {
            chart->playKind = kPlayClock;
            chart->playEndKind = kPlayNoEnd;
        } else if (strEqualNoCase(p1, "REALTIME2")) {
            chart->playKind = kPlayClockFromBase;
            chart->playEndKind = kPlayNoEnd;
            takeBase(chart);
        } else if (p1 && !std::isdigit(static_cast<unsigned char>(p1[0])) && p1[0] != '-' && p1[0] != '+') {
            stkSetError("stkErrorIllegalParam", p1);
            // A start refused is undone; a stop stays a stop.
            chart->playing = 0;
        } else {
            setEndDate(chart, params);
            chart->playKind = kPlayByPeriod;
        }
    } else {
        if (chart->realTimeMode == kPlayClock) {
            chart->playKind = kPlayClock;
        } else if (chart->realTimeMode == kPlayClockFromBase) {
            chart->playKind = kPlayClockFromBase;
            takeBase(chart);
        }
        chart->playEndKind = kPlayNoEnd;
    }
    if (chart->playKind != kPlayByPeriod && anyGiven(params, 1, 6))
        setEndDate(chart, params + 1);
    refreshPlayButtons(chart);

    if (!chart->playing)
        return;
    if (chart->playKind != kPlayByPeriod && chart->realTimeImmediate)
        playTimer(chart);
    else
        uiHooks.setPlayWorkProc(chart, 1);
}

int playStep(ChartState *chart)
{
    DateTime date = chart->sky.date;
    int ok;
    if (chart->playKind == kPlayByPeriod)
        ok = timeAdd(&date, &chart->period, chart->playReverse);
    else
        ok = followClock(chart, &date);
    if (!ok) {
        stopOutOfDate(chart);
        return 1;
    }
    const bool atEnd = reachedEnd(chart, dateToJd(&date));
    // The end date exactly, shown in the chart's zone.
    if (atEnd && chart->playKind == kPlayByPeriod)
        date = playEndDateInChartZone(chart);
    chartSetDate(chart, &date);
    // The end date itself is drawn before playing stops.
    redraw(chart);
    if (atEnd) {
        stkExecute(chart, "CONTINUE");
        return 1;
    }
    return 0;
}

void playTimer(ChartState *chart)
{
    chart->playTimerId = 0;
    if (chart->playKind != kPlayByPeriod) {
        DateTime date;
        if (!followClock(chart, &date)) {
            stopOutOfDate(chart);
            return;
        }
        chartSetDate(chart, &date);
    }
    stkExecute(chart, "DRIVE");
    if (reachedEnd(chart, chart->sky.jd)) {
        stkExecute(chart, "CONTINUE");
        return;
    }
    // Seconds as milliseconds in 64 bits: a long interval must not wrap.
    uiHooks.setPlayTimer(chart, static_cast<long long>(chart->realTimeInterval) * 1000);
}

void stkCmdContinue(ChartState *chart, char **params)
{
    chart->playReverse = 0;
    playStartStop(chart, params);
}

void stkCmdReverse(ChartState *chart, char **params)
{
    chart->playReverse = 1;
    playStartStop(chart, params);
}

void stkCmdRealTime(ChartState *chart, char **params)
{
    const bool wasPlaying = chart->playing != 0;
    if (wasPlaying)
        stkExecute(chart, "CONTINUE");
    chart->realTimeMode = params[0] ? stkParamInt(params[0]) : 0;
    if (chart->realTimeMode < 0)
        chart->realTimeMode = kPlayByPeriod;
    if (params[1])
        chart->realTimeImmediate = stkParamInt(params[1]) == 1 && stkParamReal(params[1]) == 1.0 ? 1 : 0;
    if (params[2]) {
        chart->realTimeInterval = stkParamInt(params[2]);
        if (chart->realTimeInterval < 0)
            chart->realTimeInterval = 0;
    }
    if (wasPlaying)
        stkExecute(chart, "CONTINUE");
}
