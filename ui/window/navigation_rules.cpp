#include "ui/window/navigation_rules.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/vecmat.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

struct ScrollSteps {
    double hStep, hPage, vStep, vPage;
};

// The azimuthal and solar-system charts step by a share of their field; the
// whole-sky maps and the planisphere by fixed angles. A field may be any
// positive double: the diagonal is taken without squaring and the page
// divided before it is multiplied, so neither overflows.
ScrollSteps scrollSteps(const ChartState *chart)
{
    const int32_t kind = chartModeKind(chart->mode);
    if (kind == kKindSky || kind == kKindSolar) {
        const double diagonal = std::hypot(chart->fieldWidth, chart->fieldHeight);
        return {diagonal / 15.0, chart->fieldWidth / 10.0 * 9.0, diagonal / 15.0,
                chart->fieldHeight / 10.0 * 9.0};
    }
    return {12.0, 45.0, 12.0, 30.0};
}

// +1 for the actions that step forward or page forward, -1 back; 0 for a drag.
double actionDelta(int action, double step, double page)
{
    switch (action) {
    case kScrollStepBack: return -step;
    case kScrollStepForward: return step;
    case kScrollPageBack: return -page;
    case kScrollPageForward: return page;
    default: return 0.0;
    }
}

int clampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

// The horizontal slider of an azimuth: south (0) in the middle.
int azimuthSlider(double azimuth)
{
    const int t = static_cast<int>((azimuth + 180.0) * 10.0);
    return t + 1 > 3600 ? t - 3599 : t + 1;
}

// The horizontal slider of a sky longitude, which grows to the left.
int longitudeSlider(double longitude) { return 3601 - static_cast<int>(longitude * 10.0); }

int roundTenths(double deg) { return static_cast<int>(std::lround(deg * 10.0)); }

const char *systemKeyword(int32_t system)
{
    const char *word = stkKeywordName(positionKeywords, system);
    return word ? word : "";
}

// "LOOK <system> lon, lat" for the sky systems: right ascensions in hours.
void lookSkyCommand(int32_t system, double lon, double lat, char *command, int size)
{
    if (system == kModeSystemEqt)
        lon /= 15.0;
    std::snprintf(command, static_cast<size_t>(size), "LOOK %s %f, %f", systemKeyword(system), lon, lat);
}

void lookHrzCommand(double az, double alt, char *command, int size)
{
    std::snprintf(command, static_cast<size_t>(size), "LOOK %s %7.3f, %7.3f", systemKeyword(kModeSystemHrz),
                  az, alt);
}

// Degrees and rounded minutes of |deg|, a count of 60 minutes carried.
void degreesMinutes(double deg, int *d, int *m)
{
    const double a = std::fabs(deg);
    *d = static_cast<int>(a);
    *m = static_cast<int>(std::lround((a - *d) * 60.0));
    if (*m >= 60) {
        *d += 1;
        *m = 0;
    }
}

// The sign of a latitude as shown: blank when it shows as 0 degrees 00'.
int latitudeSign(double deg, int d, int m)
{
    if (d == 0 && m == 0)
        return ' ';
    return deg < 0.0 ? '-' : '+';
}

} // namespace

int scrollValueClamped(int value, int minimum, int maximum, int slider)
{
    return clampInt(value, minimum, maximum - slider);
}

void scrollHorizontalCommand(const ChartState *chart, int action, int value, char *command, int size,
                             int *slider)
{
    command[0] = '\0';
    const ScrollSteps s = scrollSteps(chart);
    const int32_t system = chartModeSystem(chart->mode);
    if (system == kModeSystemHrz) {
        double az = chart->centerHrz[0] + actionDelta(action, s.hStep, s.hPage);
        if (action == kScrollDrag) {
            az = (clampInt(value, 1, 3600) - 1801) / 10.0;
            if (az < 0.0)
                az += 360.0;
        }
        az = wrap360(az);
        *slider = azimuthSlider(az);
        lookHrzCommand(az, chart->centerHrz[1], command, size);
    } else if (isSkySystem(system)) {
        // Back (left) is towards larger longitudes.
        double lon = chart->centerMode[0] - actionDelta(action, s.hStep, s.hPage);
        if (action == kScrollDrag)
            lon = (clampInt(value, 1, 3600) - 1) / -10.0;
        lon = wrap360(lon);
        *slider = longitudeSlider(lon);
        lookSkyCommand(system, lon, chart->centerMode[1], command, size);
    }
}

void scrollVerticalCommand(const ChartState *chart, int action, int value, char *command, int size,
                           int *slider)
{
    command[0] = '\0';
    const ScrollSteps s = scrollSteps(chart);
    const int32_t system = chartModeSystem(chart->mode);
    // Back (up) raises the centre.
    const double delta = -actionDelta(action, s.vStep, s.vPage);
    if (system == kModeSystemHrz) {
        double alt = chart->centerHrz[1] + delta;
        if (action == kScrollDrag)
            alt = (900 - value) / 10.0;
        // Clamped here rather than folded: a page up from near the zenith
        // would otherwise come out below the horizon.
        alt = alt < 0.0 ? 0.0 : alt > 90.0 ? 90.0 : alt;
        *slider = 900 - roundTenths(alt);
        lookHrzCommand(chart->centerHrz[0], alt, command, size);
    } else if (isSkySystem(system)) {
        double lat = chart->centerMode[1] + delta;
        if (action == kScrollDrag)
            lat = value / -10.0;
        lat = lat < -90.0 ? -90.0 : lat > 90.0 ? 90.0 : lat;
        *slider = -roundTenths(lat);
        lookSkyCommand(system, chart->centerMode[0], lat, command, size);
    }
}

ScrollBarSettings scrollBarSettings(const ChartState *chart)
{
    ScrollBarSettings b{};
    const int32_t mode = chart->mode;
    const int32_t system = chartModeSystem(mode);
    b.vSlider = system == kModeSystemHrz ? 50 : 100;
    if (isCylindricalMode(mode) || isAitoffMode(mode)) {
        b.hValue = longitudeSlider(chart->centerMode[0]);
    } else if (mode == kModePlns) {
        b.hValue = azimuthSlider(chart->centerHrz[0]);
    } else if (isSkyRoutineMode(mode)) {
        b.verticalShown = 1;
        b.vMinimum = -900;
        b.vMaximum = 901 + b.vSlider;
        b.vValue = -roundTenths(chart->centerMode[1]);
        b.hValue = longitudeSlider(chart->centerMode[0]);
    } else {
        b.verticalShown = 1;
        b.vMinimum = 0;
        b.vMaximum = 900 + b.vSlider;
        b.vValue = 900 - roundTenths(chart->centerHrz[1]);
        b.hValue = azimuthSlider(chart->centerHrz[0]);
    }
    b.hValue = scrollValueClamped(b.hValue, kHScrollMinimum, kHScrollMaximum, kHScrollSlider);
    if (b.verticalShown)
        b.vValue = scrollValueClamped(b.vValue, b.vMinimum, b.vMaximum, b.vSlider);
    return b;
}

int panCommand(const ChartState *chart, int x, int y, int dx, int dy, char *command, int size)
{
    command[0] = '\0';
    const int32_t system = chartModeSystem(chart->mode);
    Vec3 v1, v2;
    if (!screenToSky(chart, screenPointPack(x, y), &v1) ||
        !screenToSky(chart, screenPointPack(x + dx, y + dy), &v2))
        return 0;
    double p1[2], p2[2];
    vecToSph(&v1, p1);
    vecToSph(&v2, p2);
    convertCoords(&chart->sky, COORD_EQT, p1, system, p1);
    convertCoords(&chart->sky, COORD_EQT, p2, system, p2);
    const double *centre = system == kModeSystemHrz ? chart->centerHrz : chart->centerMode;
    double lon = centre[0] + (p1[0] - p2[0]);
    double lat = centre[1] + (p1[1] - p2[1]);
    // Past a pole the centre comes down the other side, half a turn round.
    if (lat > 90.0) {
        lat = 180.0 - lat;
        lon += 180.0;
    } else if (lat < -90.0) {
        lat = -180.0 - lat;
        lon += 180.0;
    }
    lon = wrap360(lon);
    if (system == kModeSystemEqt)
        lon /= 15.0;
    std::snprintf(command, static_cast<size_t>(size), "TRACK OFF;LOOK %s %9.5f,%8.4f", systemKeyword(system),
                  lon, lat);
    return 1;
}

void formatEquatorialPosition(char *out, int size, const char *format, const char *name, double raDeg,
                              double decDeg)
{
    const double hoursExact = wrap360(raDeg) / 15.0;
    int hours = static_cast<int>(hoursExact);
    int tenths = static_cast<int>(std::lround((hoursExact - hours) * 600.0));
    if (tenths >= 600) { // 59.95 minutes or more show as the next hour
        hours = (hours + 1) % 24;
        tenths = 0;
    }
    int d, m;
    degreesMinutes(decDeg, &d, &m);
    std::snprintf(out, static_cast<size_t>(size), format, name, hours, tenths / 10.0,
                  latitudeSign(decDeg, d, m), d, m);
}

void formatEclipticPosition(char *out, int size, const char *format, const char *name, double lonDeg,
                            double latDeg)
{
    int ld, lm;
    degreesMinutes(wrap360(lonDeg), &ld, &lm);
    if (ld >= 360)
        ld -= 360;
    int d, m;
    degreesMinutes(latDeg, &d, &m);
    std::snprintf(out, static_cast<size_t>(size), format, name, ld, lm, latitudeSign(latDeg, d, m), d, m);
}

void formatHorizontalPosition(char *out, int size, const char *format, const char *name, double azDeg,
                              double altDeg)
{
    // Neither shows as 360.0 or as -0.0.
    if (azDeg >= 359.95)
        azDeg = 0.0;
    if (std::fabs(altDeg) < 0.1)
        altDeg = 0.0;
    std::snprintf(out, static_cast<size_t>(size), format, name, azDeg, altDeg);
}

int positionLabelTexts(const ChartState *chart, const Vec3 *dir, char texts[4][kPositionLabelSize])
{
    double eqt[2], out[2];
    vecToSph(dir, eqt);
    char name[32], format[256];

    getResourceFormat("messageMousePosEqtFormat", "sdfddd", format, sizeof format);
    getResourceString("messageMousePosEqt2000", name, sizeof name);
    formatEquatorialPosition(texts[0], kPositionLabelSize, format, name, eqt[0], eqt[1]);
    convertCoords(&chart->sky, COORD_EQT, eqt, COORD_EQT_DATE, out);
    getResourceString("messageMousePosEqtDate", name, sizeof name);
    formatEquatorialPosition(texts[1], kPositionLabelSize, format, name, out[0], out[1]);

    getResourceFormat("messageMousePosEclFormat", "sddddd", format, sizeof format);
    getResourceString("messageMousePosEcl", name, sizeof name);
    convertCoords(&chart->sky, COORD_EQT, eqt, COORD_ECL, out);
    formatEclipticPosition(texts[2], kPositionLabelSize, format, name, out[0], out[1]);
    if (isSolarMode(chart->mode))
        return 3;

    getResourceFormat("messageMousePosHrzFormat", "sff", format, sizeof format);
    getResourceString("messageMousePosHrz", name, sizeof name);
    convertCoords(&chart->sky, COORD_EQT, eqt, COORD_HRZ, out);
    formatHorizontalPosition(texts[3], kPositionLabelSize, format, name, out[0], out[1]);
    return 4;
}

int32_t toolbarButtonMode(int button)
{
    switch (button) {
    case kToolbarModeHrz: return kModeHrz;
    case kToolbarModeEqt: return kModeEqt;
    case kToolbarModeAll1: return kModeAll1Eqt;
    case kToolbarModeAll2: return kModeAll2Eqt;
    case kToolbarModeSol: return kModeSol2;
    case kToolbarModePlns: return kModePlns;
    default: return 0;
    }
}

ToolbarButtonState toolbarButtonState(int button, const ChartState *chart)
{
    const int32_t mode = chart->mode;
    const int32_t kind = chartModeKind(mode);
    const bool playing = chart->playing != 0;
    const bool reverse = chart->playReverse != 0;
    switch (button) {
    case kToolbarFileOpen:
    case kToolbarFileSave: return {-1, 1};
    case kToolbarSetDate:
    case kToolbarSetPlace:
    case kToolbarSetStep: return {-1, -1};
    case kToolbarLookHrz: return {-1, mode == kModeHrz && chart->trackState != kTrackTarget};
    case kToolbarDaylight:
        return {(chart->skyFlags & kSkyDaylight) != 0, chartModeSystem(mode) == kModeSystemHrz};
    case kToolbarZoomUp:
    case kToolbarZoomDown: return {-1, kind == kKindSky || kind == kKindSolar};
    case kToolbarConsline: return {(chart->constellationFlags & kConsLine) != 0, 1};
    case kToolbarConsname: return {(chart->constellationFlags & kConsName2) != 0, 1};
    case kToolbarPlanetname: {
        bool all = (chart->earthFlags & kBodyName) != 0;
        for (int i = 0; i < kPlanetCount; i++)
            all = all && (chart->planetFlags[i] & kBodyName) != 0;
        return {all, 1};
    }
    case kToolbarNebula: return {(chart->nebulaFlags & kNebulaShown) != 0, 1};
    case kToolbarMilkyway: return {(chart->milkyWayFlags & kMilkyWayShown) != 0, 1};
    case kToolbarPicMark: return {(chart->pictureMarkFlags & kPictureMarkShown) != 0, 1};
    case kToolbarGridHrz: return {(chart->horizonGridFlags & kHrzGrid) != 0, 1};
    case kToolbarGridEqt: return {(chart->equatorialGridFlags & kEqtGridDate) != 0, 1};
    case kToolbarTrace: return {(chart->traceFlags & kTraceOn) != 0, 1};
    case kToolbarReverse: return {playing && reverse, !playing};
    case kToolbarStopPlay: return {-1, playing};
    case kToolbarContinue: return {playing && !reverse, !playing};
    default: break;
    }
    const int32_t buttonMode = toolbarButtonMode(button);
    if (buttonMode)
        return {mode == buttonMode, 1};
    return {-1, -1};
}
