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
