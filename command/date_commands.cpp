// DATE, INCTIME, DECTIME, STIME, TIMESYS, LOCATE and MODE: the chart's
// moment, clock, site and mode. The date and the site go through the chart's
// date routines (model/chart_date.h), never straight into the sky context.
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "astro/calendar.h"
#include "astro/coords.h"
#include "command/commands.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/command_error.h"
#include "model/lexing.h"
#include "model/star_limit.h"
#include "model/play_clock.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "model/time_lock.h"
#include "model/ui_hooks.h"
#include "model/view_geometry.h"

namespace {

// Zones and altitudes a site may have: a zone outside it would be written
// into a DATE line that isValidDate refuses.
constexpr double kZoneMaxHours = 24.0;
constexpr double kAltitudeMinM = -1000.0;
constexpr double kAltitudeMaxM = 100000.0;
constexpr int kOffsetTextSize = 64; // STIME looks at 63 characters of its offset

void illegal(const char *text) { stkSetError("stkErrorIllegalParam", text); }

// The zone the chart's clock shows in a time system.
double zoneOfTimeSystem(const ChartState *chart, int32_t system, double longitudeDeg)
{
    switch (system) {
    case kTimeSystemUt:
        return 0.0;
    case kTimeSystemLmt:
        return longitudeDeg / 15.0;
    default:
        return chart->zoneHours;
    }
}

// The same instant read in another zone; 0 when that leaves the year range.
int shiftDate(DateTime *d, double zoneHours)
{
    if (!timeShiftToZone(d, zoneHours))
        return 0;
    d->zone = zoneHours;
    return 1;
}

// A LOCATE angle: a trailing letter (W for the longitude, S for the
// latitude) negates it; a leading sign makes it relative to the current one.
double siteAngle(const char *text, char negating, double current)
{
    double v = stkParamReal(text);
    const size_t n = std::strlen(text);
    if (n > 0 && stkUpperAscii(text[n - 1]) == negating)
        v = -v;
    if (text[0] == '+' || text[0] == '-')
        v += current;
    return v;
}

// Into (-180, 180]: the whole turns go, however many.
double normaliseLongitude(double lon)
{
    lon = std::fmod(lon, 360.0);
    if (lon > 180.0)
        lon -= 360.0;
    else if (lon <= -180.0)
        lon += 360.0;
    return lon;
}

// At most size - 1 bytes of name, cut between characters of the locale's
// encoding: half a UTF-8 or EUC-JP character would show as garbage and be
// written so into scenes. A byte that is no character counts as one.
void copySiteName(char *dest, size_t size, const char *name)
{
    std::mbstate_t state{};
    size_t n = 0;
    while (name[n] != '\0') {
        size_t length = std::mbrlen(name + n, MB_LEN_MAX, &state);
        if (length == static_cast<size_t>(-1) || length == static_cast<size_t>(-2) || length == 0) {
            length = 1;
            state = std::mbstate_t{};
        }
        if (n + length > size - 1)
            break;
        n += length;
    }
    std::memcpy(dest, name, n);
    dest[n] = '\0';
}

// After a site or date change: a lock whose event does not happen that day
// at the new site is dropped, with a word to the user.
void checkTimeLock(ChartState *chart)
{
    if (chart->timeLockKind == kTimeLockNone)
        return;
    double jd;
    if (timeLockMoment(chart, &jd))
        return;
    char text[kErrorMessageSize];
    getResourceString(timeLockIsSunrise(chart->timeLockKind) ? "messageSunNotRise" : "messageSunNotSet",
                      text, sizeof text);
    uiHooks.openMessageBox(appData->topLevel, text, kMessageBoxWarning);
    chart->timeLockKind = kTimeLockNone;
}

} // namespace

void stkCmdDate(ChartState *chart, char **params)
{
    DateTime d = chart->sky.date;
    if (strEqualNoCase(params[0], "NOW")) {
        // The time system is not applied: the clock's own local time.
        timeNow(&d);
        chartSetDate(chart, &d);
        playRebaseClock(chart);
        return;
    }
    int32_t *fields[5] = {&d.year, &d.month, &d.day, &d.hour, &d.minute};
    for (int i = 0; i < 5; i++)
        if (params[i])
            *fields[i] = stkParamInt(params[i]);
    if (params[5])
        d.second = stkParamReal(params[5]);
    if (chart->timeSystem == kTimeSystemLst && params[6])
        d.zone = stkParamReal(params[6]);
    // A date that normalises beyond the year range is refused like an invalid one.
    if (!isValidDate(&d) || !timeNormalize(&d)) {
        illegal(nullptr);
        return;
    }
    chartSetDate(chart, &d);
    if (chart->timeSystem == kTimeSystemLst)
        chart->zoneHours = d.zone;
    playRebaseClock(chart);
}

void stkStepDate(ChartState *chart, char **params, int subtract)
{
    TimeStep step = {stkParamInt(params[0]), stkParamInt(params[1]), stkParamInt(params[2]),
                     stkParamInt(params[3]), stkParamInt(params[4]), stkParamReal(params[5])};
    DateTime d = chart->sky.date;
    // Beyond the year range the date stays as it is, without an error.
    if (timeAdd(&d, &step, subtract))
        chartSetDate(chart, &d);
    playRebaseClock(chart);
}

void stkCmdIncTime(ChartState *chart, char **params) { stkStepDate(chart, params, 0); }

void stkCmdDecTime(ChartState *chart, char **params) { stkStepDate(chart, params, 1); }

void stkCmdStime(ChartState *chart, char **params)
{
    const bool sunrise = strEqualNoCase(params[0], "SUNRISE");
    if (!sunrise && !strEqualNoCase(params[0], "SUNSET")) {
        if (strEqualNoCase(params[0], "NONE")) {
            chart->timeLockKind = kTimeLockNone;
            chart->timeLockValue = 0;
        } else {
            illegal(params[0]);
        }
        return;
    }
    const char *offset = params[1];
    int32_t kind = sunrise ? kTimeLockSunriseMinutes : kTimeLockSunsetMinutes;
    int32_t value = 0;
    if (offset) {
        char unit[kOffsetTextSize];
        std::snprintf(unit, sizeof unit, "%s", offset);
        strUpper(unit);
        if (std::strstr(unit, "DEG")) {
            kind = sunrise ? kTimeLockSunriseDegrees : kTimeLockSunsetDegrees;
        } else if (!std::strstr(unit, "MIN")) {
            chart->timeLockKind = kTimeLockNone;
            chart->timeLockValue = 0;
            illegal(offset);
            return;
        }
        value = stkParamInt(offset);
    }
    chart->timeLockKind = kind;
    chart->timeLockValue = value;
}

void stkCmdTimeSys(ChartState *chart, char **params)
{
    int32_t system;
    if (!stkParamKeyword(params[0], timesysKeywords, &system))
        return;
    // The instant stays; only its clock reading moves to the new zone.
    DateTime d = chart->sky.date;
    const double oldZone = d.zone;
    if (!shiftDate(&d, zoneOfTimeSystem(chart, system, chart->sky.longitudeDeg))) {
        illegal(params[0]);
        return;
    }
    chartSetDate(chart, &d);
    chart->timeSystem = system;
    playRebaseClockZone(chart, oldZone);
}

void stkCmdLocate(ChartState *chart, char **params)
{
    const char *lonText = params[0], *latText = params[1], *zoneText = params[2];
    const char *altText = params[3], *name = params[4];
    double lon = chart->sky.longitudeDeg, lat = chart->sky.latitudeDeg, alt = chart->sky.altitudeM;
    if (lonText)
        lon = normaliseLongitude(siteAngle(lonText, 'W', lon));
    if (latText)
        lat = std::fmin(90.0, std::fmax(-90.0, siteAngle(latText, 'S', lat)));

    // Everything is checked before anything changes: a refused LOCATE
    // leaves the site, the zone and the date as they were.
    const double zone = stkParamReal(zoneText);
    if (zoneText && !(std::fabs(zone) <= kZoneMaxHours)) {
        illegal(zoneText);
        return;
    }
    if (altText) {
        alt = stkParamReal(altText);
        if (!(alt >= kAltitudeMinM && alt <= kAltitudeMaxM)) {
            illegal(altText);
            return;
        }
    }
    // The name is written back between quotes into scene files.
    if (name && !isSendableName(name, std::strlen(name) + 1)) {
        illegal(name);
        return;
    }
    DateTime d = chart->sky.date;
    double zoneHours = chart->zoneHours;
    if (zoneText && chart->timeSystem == kTimeSystemLst) {
        if (!shiftDate(&d, zone)) {
            illegal(zoneText);
            return;
        }
        zoneHours = zone;
    }
    if (chart->timeSystem == kTimeSystemLmt && !shiftDate(&d, lon / 15.0)) {
        illegal(lonText);
        return;
    }

    chart->zoneHours = zoneHours;
    if (name)
        copySiteName(chart->siteName, sizeof chart->siteName, name);
    const double oldZone = chart->sky.date.zone;
    chartSetSite(chart, lat, lon, alt);
    chartSetDate(chart, &d);
    playRebaseClockZone(chart, oldZone);
    checkTimeLock(chart);
}

void stkCmdMode(ChartState *chart, char **params)
{
    int32_t mode;
    if (!stkParamKeyword(params[0], modeKeywords, &mode))
        return;
    // The same sky point stays at the centre, read in the new system.
    const int from = chartModeSystem(chart->mode);
    const int to = chartModeSystem(mode);
    if (to == COORD_HRZ) {
        if (from != COORD_HRZ)
            convertCoords(&chart->sky, from, chart->centerMode, COORD_HRZ, chart->centerHrz);
        if (chart->centerHrz[1] <= 0.0)
            chart->centerHrz[1] = 0.0;
    } else {
        const double *centre = from == COORD_HRZ ? chart->centerHrz : chart->centerMode;
        convertCoords(&chart->sky, from, centre, to, chart->centerMode);
    }
    chart->mode = mode;
    chart->modeChanged = 1;
    if (!appData->sceneLoading)
        viewClampFieldOfView(chart, 1);

    // A target the new view cannot show: the Moon in the solar system, the
    // Earth anywhere else. The lock-request bit is no part of the kind.
    const bool solar = chartModeKind(mode) == kKindSolar;
    if (chart->trackState != kTrackNone && (chart->trackKind & ~kTrackKindLockBit) == kPosBody &&
        ((solar && chart->trackIndex == kObjectMoon) || (!solar && chart->trackIndex == kObjectEarth)))
        chart->trackState = kTrackNone;
}
