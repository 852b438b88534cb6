#include "model/play_clock.h"

#include "astro/calendar.h"
#include "model/chart_state.h"
#include "model/clock.h"

double playClockJd(const ChartState *chart)
{
    DateTime now;
    timeNow(&now);
    now.zone = chart->sky.date.zone;
    return dateToJd(&now);
}

void playRebaseClock(ChartState *chart)
{
    // The play kind decides, not realTimeMode: "CONTINUE REALTIME2" plays
    // from a base whatever REALTIME last chose.
    if (!chart->playing || chart->playKind != kPlayClockFromBase)
        return;
    chart->playBaseJd = playClockJd(chart);
    chart->playBaseDate = chart->sky.date;
}

void playRebaseClockZone(ChartState *chart, double oldZone)
{
    const double zone = chart->sky.date.zone;
    if (!chart->playing || chart->playKind != kPlayClockFromBase || zone == oldZone)
        return;
    // The clock's reading is its local time taken in the chart's zone, so it
    // moves by the zone difference; the base moves with it.
    chart->playBaseJd -= (zone - oldZone) / 24.0;
    timeShiftToZone(&chart->playBaseDate, zone);
    chart->playBaseDate.zone = zone;
}

DateTime playEndDateInChartZone(const ChartState *chart)
{
    DateTime end = chart->playEndDate;
    // A Julian date turned back into fields would land microseconds early,
    // so the fields themselves are kept and only moved when the zone moved.
    if (end.zone != chart->sky.date.zone) {
        timeShiftToZone(&end, chart->sky.date.zone);
        end.zone = chart->sky.date.zone;
    }
    return end;
}
