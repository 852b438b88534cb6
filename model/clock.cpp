// Wall clock and date stepping.
#include "model/clock.h"

#include <cmath>

#include "astro/calendar.h"
#include "model/app_data.h"

static ClockSource clockSource = nullptr;

void setClockSource(ClockSource source) { clockSource = source; }

void timeNow(DateTime *d)
{
    std::time_t now = clockSource ? clockSource() : std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    d->year = local.tm_year + 1900;
    d->month = local.tm_mon + 1;
    d->day = local.tm_mday;
    d->hour = local.tm_hour;
    d->minute = local.tm_min;
    d->second = local.tm_sec;
    d->zone = appData ? appData->siteZoneHours : 0.0;
}

int timeAdd(DateTime *d, const TimeStep *step, int subtract)
{
    DateTime before = *d;
    dateAddPeriod(d, step, subtract);
    if (d->year < DATE_YEAR_MIN || d->year > DATE_YEAR_MAX) {
        *d = before;
        return 0;
    }
    return 1;
}

int timeShiftToZone(DateTime *d, double zoneHours)
{
    // Zones of half and quarter hours: the shift goes in as seconds.
    TimeStep step = {0, 0, 0, 0, 0, (zoneHours - d->zone) * 3600.0};
    if (!std::isfinite(step.second))
        return 0;
    return timeAdd(d, &step, 0);
}

int timeNormalize(DateTime *d) { return timeShiftToZone(d, d->zone); }
