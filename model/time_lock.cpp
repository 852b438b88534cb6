#include "model/time_lock.h"

#include "astro/rise_set.h"
#include "model/chart_state.h"

constexpr double kMinutesPerDay = 1440.0;

int timeLockIsSunrise(int kind)
{
    return kind == kTimeLockSunriseMinutes || kind == kTimeLockSunriseDegrees;
}

int timeLockMoment(const ChartState *chart, double *jd)
{
    const SkyContext *sky = &chart->sky;
    const RiseSetSite site = {sky->latitudeDeg, sky->longitudeDeg, sky->altitudeM};
    double event = 0.0;
    int found = 0;
    switch (chart->timeLockKind) {
    case kTimeLockSunriseMinutes:
        found = sunriseTime(sky, &site, &event);
        break;
    case kTimeLockSunsetMinutes:
        found = sunsetTime(sky, &site, &event);
        break;
    case kTimeLockSunriseDegrees:
        found = sunriseAtAltitude(sky, &site, &event, chart->timeLockValue);
        break;
    case kTimeLockSunsetDegrees:
        found = sunsetAtAltitude(sky, &site, &event, chart->timeLockValue);
        break;
    default:
        return 0;
    }
    if (!found)
        return 0;
    if (chart->timeLockKind == kTimeLockSunriseMinutes || chart->timeLockKind == kTimeLockSunsetMinutes)
        event += chart->timeLockValue / kMinutesPerDay;
    *jd = event;
    return 1;
}

double timeLockJd(ChartState *chart)
{
    double jd = 0.0;
    return timeLockMoment(chart, &jd) ? jd : 0.0;
}
