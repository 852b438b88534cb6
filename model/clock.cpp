// Wall clock and date stepping.
#include "model/clock.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "astro/calendar.h"
#include "model/app_data.h"

static ClockSource clockSource = nullptr;

void setClockSource(ClockSource source) { clockSource = source; }

int clockFromEnvironment(const char *text, std::time_t *out)
{
    // Years 1 to 9999 keep localtime_r and the date fields in range.
    const long long kFirst = -62135596800LL, kLast = 253402300799LL;
    if (!text || !*text || std::strlen(text) > 20)
        return 0;
    char *end = nullptr;
    errno = 0;
    long long seconds = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || seconds < kFirst || seconds > kLast)
        return 0;
    *out = static_cast<std::time_t>(seconds);
    return 1;
}

void timeNow(DateTime *d)
{
    std::time_t now = 0;
    if (clockSource)
        now = clockSource();
    else if (!clockFromEnvironment(std::getenv("TAVIK_CLOCK"), &now))
        now = std::time(nullptr);
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
