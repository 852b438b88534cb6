// GRID, DISK_MAG, SOL_OFFSET and PERIOD: small view and time parameters;
// OUTLINE, REAL and DISK: the drawing style of the Sun, the Moon and the
// planets; LOAD and UNLOAD: user-object files and the click-data index.
#include <cstdio>
#include <cstring>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/click_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/ephemeris.h"
#include "model/object_names.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "model/body_names.h"

void stkCmdGrid(ChartState *chart, char **params)
{
    int32_t code;
    if (!stkParamKeyword(params[0], gridKeywords, &code))
        return;
    chart->gridNumberFlags = static_cast<uint8_t>((chart->gridNumberFlags & ~kGridSubdivisionMask) | code);
}

void stkCmdDiskMag(ChartState *chart, char **params)
{
    int32_t mag;
    if (stkParamIntInRange(params[0], 1, 500, &mag))
        chart->diskMag = mag;
}

void stkCmdSolOffset(ChartState *chart, char **params)
{
    if (strEqualNoCase(params[0], "OFF")) {
        chart->solOffset[0] = chart->solOffset[1] = chart->solOffset[2] = 0.0;
        return;
    }
    for (int i = 0; i < 3; i++)
        chart->solOffset[i] = stkParamReal(params[i]); // omitted: 0
}

void stkCmdPeriod(ChartState *chart, char **params)
{
    chart->period.year = stkParamInt(params[0]);
    chart->period.month = stkParamInt(params[1]);
    chart->period.day = stkParamInt(params[2]);
    chart->period.hour = stkParamInt(params[3]);
    chart->period.minute = stkParamInt(params[4]);
    chart->period.second = stkParamReal(params[5]);
}

namespace {

// What OUTLINE, REAL and DISK do to one named object; 0 when the command
// takes no such object.
using StyleStep = int (*)(ChartState *chart, int32_t id);

void setStyleBit(uint8_t *byte, int on)
{
    *byte = flagCombine(*byte, kBodyDisk, on ? kFlagShow : kFlagHide);
}

bool isPlanet(int32_t id) { return id >= kObjectMercury && id <= kObjectPluto; }

int outlineStep(ChartState *chart, int32_t id)
{
    if (id != kObjectSun && id != kObjectMoon)
        return 0;
    setStyleBit(id == kObjectSun ? &chart->sunFlags : &chart->moonFlags, 1);
    return 1;
}

int realStep(ChartState *chart, int32_t id)
{
    if (id == kObjectSun || id == kObjectMoon)
        setStyleBit(id == kObjectSun ? &chart->sunFlags : &chart->moonFlags, 0);
    else if (isPlanet(id))
        setStyleBit(&chart->planetFlags[id], 0);
    else if (id == kObjectGroupPlanets)
        for (uint8_t &f : chart->planetFlags)
            setStyleBit(&f, 0);
    else
        return 0;
    return 1;
}

// A planet drawn as a disc needs details the last computation skipped.
void diskPlanet(ChartState *chart, int32_t id)
{
    setStyleBit(&chart->planetFlags[id], 1);
    chart->planets[id].jd = kNeverJd;
}

int diskStep(ChartState *chart, int32_t id)
{
    if (isPlanet(id))
        diskPlanet(chart, id);
    else if (id == kObjectGroupPlanets)
        for (int32_t p = kObjectMercury; p <= kObjectPluto; p++)
            diskPlanet(chart, p);
    else
        return 0;
    return 1;
}

void styleNames(ChartState *chart, char **params, StyleStep step)
{
    if (!params[0]) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    for (int i = 0; i < kStkMaxParams; i++) {
        int32_t id;
        if (!params[i])
            continue;
        if (!findObjectByName(chart, params[i], &id) || !step(chart, id)) {
            stkSetError("stkErrorIllegalParam", params[i]);
            return;
        }
    }
}

// A user-object file with "~" expanded; a path that does not fit is
// refused, never cut (a cut path would name another file).
int userObjectPath(const char *file, char *path, int size)
{
    if (!envExpandTilde(file, path, size)) {
        stkSetError("stkErrorIllegalParam", file);
        return 0;
    }
    return 1;
}

} // namespace

void stkCmdOutline(ChartState *chart, char **params) { styleNames(chart, params, outlineStep); }

void stkCmdReal(ChartState *chart, char **params) { styleNames(chart, params, realStep); }

void stkCmdDisk(ChartState *chart, char **params) { styleNames(chart, params, diskStep); }

void stkCmdLoad(ChartState *chart, char **params)
{
    int32_t code;
    if (!stkParamKeyword(params[0], loadKeywords, &code))
        return;
    const char *file = params[1];
    char path[kPathSize];
    if (code == kLoadUserObjects) {
        if (!file) {
            stkSetError("stkErrorIllegalParam", params[0]);
            return;
        }
        // A bad line is this command's error, so a TCP client gets it as
        // its reply and no box opens on the server's display.
        if (userObjectPath(file, path, sizeof path))
            loadUserObjectFile(chart, path, &chart->userObjectFiles, &chart->userObjectFileCount,
                               kUserObjectReportCommand);
        return;
    }
    // The click-data path is used as given, without "~" expansion.
    if (!file) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    if (std::strlen(file) >= sizeof appData->clickDataFile) {
        stkSetError("stkErrorIllegalParam", file);
        return;
    }
    if (loadClickData(chart, file)) {
        std::snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s", file);
        uiHooks.updateClickDataButtons(chart);
    }
}

void stkCmdUnload(ChartState *chart, char **params)
{
    int32_t code;
    if (!stkParamKeyword(params[0], loadKeywords, &code) || code != kLoadUserObjects)
        return; // UNLOAD CLICKDATA does nothing
    if (!params[1]) {
        unloadUserObjects(chart);
        return;
    }
    char path[kPathSize];
    if (userObjectPath(params[1], path, sizeof path))
        unloadUserObjectFile(chart, path);
}
