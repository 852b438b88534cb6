#include "model/almanac.h"

#include <cmath>
#include <cstdio>

#include "astro/body_records.h"
#include "astro/calendar.h"
#include "astro/rise_set.h"
#include "astro/sun_moon.h"
#include "model/chart_state.h"
#include "model/resource_text.h"

const char kAlmanacNoTime[] = "--:--";

namespace {

constexpr double kMjdOffset = 2400000.5;
constexpr double kTwilightAltitudeDeg = -18.0;

void setText(char *out, int size, const char *text) { std::snprintf(out, static_cast<size_t>(size), "%s", text); }

void fillEvents(const ChartState *chart, const RiseSetDay *day, int kind, AlmanacEvents *out)
{
    todayEventTime(out->rise, kAlmanacTextSize, chart, day, kind, kRiseEvent, 0.0);
    todayEventTime(out->meridian, kAlmanacTextSize, chart, day, kind, kTransitEvent, 0.0);
    todayEventTime(out->set, kAlmanacTextSize, chart, day, kind, kSetEvent, 0.0);
}

void resetEvents(AlmanacEvents *out)
{
    setText(out->rise, kAlmanacTextSize, kAlmanacNoTime);
    setText(out->meridian, kAlmanacTextSize, kAlmanacNoTime);
    setText(out->set, kAlmanacTextSize, kAlmanacNoTime);
}

// The name cell: exactly kAlmanacNameWidth characters, blank-padded.
void nameCell(char *out, const char *name)
{
    std::snprintf(out, kAlmanacTextSize, "%-*.*s", kAlmanacNameWidth, kAlmanacNameWidth, name);
}

} // namespace

void eventClockTime(double jd, double zoneHours, int *hour, int *minute)
{
    DateTime t{};
    jdToDate(jd + zoneHours / 24.0, &t);
    int h = t.hour, m = t.minute;
    if (t.second >= 30.0)
        ++m;
    if (m > 59) {
        m = 0;
        ++h;
    }
    *hour = h;
    *minute = m;
}

void almanacDateText(const ChartState *chart, char *out, int size)
{
    const DateTime &d = chart->sky.date;
    char era[32];
    int year = d.year;
    if (year < 1) {
        year = 1 - year;
        getResourceString("messageYearBC", era, sizeof era);
    } else {
        getResourceString("messageYearAD", era, sizeof era);
    }
    switch (chart->dateStyle) {
    case kDateStyleJapanese:
        std::snprintf(out, static_cast<size_t>(size), "%s %5d/%2d/%2d", era, year, d.month, d.day);
        break;
    case kDateStyleEuropean:
        std::snprintf(out, static_cast<size_t>(size), "%2d/%2d/%5d %s", d.day, d.month, year, era);
        break;
    default: {
        char name[24], month[32];
        std::snprintf(name, sizeof name, "messageMonth%02d", d.month >= 1 && d.month <= 12 ? d.month : 1);
        getResourceString(name, month, sizeof month);
        std::snprintf(out, static_cast<size_t>(size), "%s %d, %d (%2.2s)", month, d.day, year, era);
        break;
    }
    }
}

void todayEventTime(char *out, int size, const ChartState *chart, const RiseSetDay *day, int kind,
                    int event, double altitude)
{
    const void *object = nullptr;
    if (kind >= kObjectMinorPlanetBase) {
        const int32_t i = kind - kObjectMinorPlanetBase;
        if (i >= chart->minorPlanetCount || !chart->minorPlanetElements) {
            setText(out, size, kAlmanacNoTime);
            return;
        }
        object = &chart->minorPlanetElements[i];
    } else if (kind >= kObjectCometBase) {
        const int32_t i = kind - kObjectCometBase;
        if (i >= chart->cometCount || !chart->cometElements) {
            setText(out, size, kAlmanacNoTime);
            return;
        }
        object = &chart->cometElements[i];
    }
    double jd = 0.0;
    if (!riseSetTime(day, kind, object, event, altitude, &jd)) {
        setText(out, size, kAlmanacNoTime);
        return;
    }
    int h, m;
    eventClockTime(jd, chart->sky.date.zone, &h, &m);
    std::snprintf(out, static_cast<size_t>(size), "%2d:%02d", h, m);
}

void almanacFill(const ChartState *chart, AlmanacValues *out)
{
    const SkyContext &sky = chart->sky;
    const DateTime &d = sky.date;
    almanacDateText(chart, out->date, kAlmanacTextSize);
    const double jd0 = calendarToJd(d.year, d.month, d.day);
    std::snprintf(out->jd, kAlmanacTextSize, "%9.1f", jd0);
    std::snprintf(out->mjd, kAlmanacTextSize, "%9.1f", jd0 - kMjdOffset);
    char ew[16], ns[16];
    getResourceString(sky.longitudeDeg >= 0 ? "messageDirectionE" : "messageDirectionW", ew, sizeof ew);
    getResourceString(sky.latitudeDeg >= 0 ? "messageDirectionN" : "messageDirectionS", ns, sizeof ns);
    std::snprintf(out->site, kAlmanacTextSize, "%6.2f%s %5.2f%s", std::fabs(sky.longitudeDeg), ew,
                  std::fabs(sky.latitudeDeg), ns);
    const double noon = calendarToJd(d.year, d.month, d.day + 0.5) - d.zone / 24.0;
    std::snprintf(out->moonAge, kAlmanacTextSize, "%4.1f", moonAge(noon, &chart->sun, &chart->moon));

    const RiseSetSite site = {sky.latitudeDeg, sky.longitudeDeg, sky.altitudeM};
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    todayEventTime(out->dawn, kAlmanacTextSize, chart, &day, kObjectSun, kRiseEvent, kTwilightAltitudeDeg);
    todayEventTime(out->dusk, kAlmanacTextSize, chart, &day, kObjectSun, kSetEvent, kTwilightAltitudeDeg);
    fillEvents(chart, &day, kObjectSun, &out->sun);
    fillEvents(chart, &day, kObjectMoon, &out->moon);
    for (int p = 0; p < kPlanetCount; ++p)
        fillEvents(chart, &day, p, &out->planets[p]);

    for (int row = 0; row < kAlmanacSmallBodyRows; ++row) {
        nameCell(out->smallBodyNames[row], "");
        resetEvents(&out->smallBodies[row]);
    }
    int row = 0;
    for (int32_t i = 0; i < chart->cometCount && chart->cometElements && row < kAlmanacSmallBodyRows; ++i, ++row) {
        nameCell(out->smallBodyNames[row], chart->cometElements[i].name);
        fillEvents(chart, &day, kObjectCometBase + i, &out->smallBodies[row]);
    }
    for (int32_t i = 0; i < chart->minorPlanetCount && chart->minorPlanetElements && row < kAlmanacSmallBodyRows;
         ++i, ++row) {
        nameCell(out->smallBodyNames[row], chart->minorPlanetElements[i].name);
        fillEvents(chart, &day, kObjectMinorPlanetBase + i, &out->smallBodies[row]);
    }
}
