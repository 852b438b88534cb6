// VIEW, ZOOM, LOOK and TRACK: the view's field and scale, and its target;
// BLINK: a mark flashed on a target.
#include <cmath>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/parameters.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/lexing.h"
#include "model/star_limit.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "model/view_geometry.h"
#include "render/blink.h"
#include "render/frame.h"
#include "render/object_screen.h"

namespace {

// The solar-system views' width, AU, as ZOOM may set it.
constexpr double kSolScaleMin = 2.0;
constexpr double kSolScaleMax = 150.0;

double clampTo(double v, double lo, double hi) { return v < lo ? lo : v > hi ? hi : v; }

// A required positive number: 1 and *value, else the error with the text.
int positiveParam(const char *text, double *value)
{
    const double v = stkParamReal(text); // not finite: 0, refused below
    if (!(v > 0.0)) {
        stkSetError("stkErrorIllegalParam", text);
        return 0;
    }
    *value = v;
    return 1;
}

struct ParsedTarget {
    int32_t kind, index;
    double values[2];
};

// parsePositionSpecAny on the texts; the error names the first as typed (the
// parser upper-cases it in place).
int parseTarget(ChartState *chart, char *text1, char *text2, char *text3, ParsedTarget *out)
{
    char typed[kStkWordSize];
    strCopyBounded(typed, sizeof typed, text1);
    int32_t used;
    if (!text1 || !parsePositionSpecAny(chart, text1, text2, text3, &out->kind, &out->index, out->values, &used)) {
        stkSetError("stkErrorIllegalParam", text1 ? typed : nullptr);
        return 0;
    }
    return 1;
}

void setTarget(ChartState *chart, const ParsedTarget &t, int32_t state)
{
    chart->trackState = state;
    chart->trackKind = t.kind;
    chart->trackIndex = t.index;
    chart->trackValues[0] = t.values[0];
    chart->trackValues[1] = t.values[1];
}

void refreshTrackingControls(ChartState *chart)
{
    uiHooks.toolbarRefreshOne(chart, 0, 0, kToolbarLookHrz);
    uiHooks.updateClickDataButtons(chart);
}

} // namespace

int setLookTarget(ChartState *chart, char *text1, char *text2, char *text3)
{
    if (!text2 && !text3 && strEqualNoCase(text1, "HRZ")) {
        // Lock the view's vertical placement, keeping its target.
        if (chart->trackState != kTrackTarget) {
            if (chart->trackState == kTrackNone)
                chart->trackKind = kPosScreen;
            chart->trackKind |= kTrackKindLockBit;
            chart->trackState = kTrackLook;
        }
        return 1;
    }
    ParsedTarget target;
    if (!parseTarget(chart, text1, text2, text3, &target))
        return 0;
    if (chart->trackState != kTrackTarget) // while tracking a LOOK target is ignored
        setTarget(chart, target, kTrackLook);
    return 1;
}

void stkCmdView(ChartState *chart, char **params)
{
    const char *keyword = params[0];
    if (!keyword || !params[1]) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    if (strEqualNoCase(keyword, "ANGLE")) {
        double angle;
        // No upper bound: the cut-off stops at 180 degrees, whatever the field.
        if (positiveParam(params[1], &angle))
            chart->fieldWidth = angle;
    } else if (strEqualNoCase(keyword, "SOL")) {
        double scale;
        if (positiveParam(params[1], &scale))
            chart->solScale = scale;
    } else if (strEqualNoCase(keyword, "CENTER")) {
        setLookTarget(chart, params[1], params[2], params[3]);
    } else {
        stkSetError("stkErrorSyntax", keyword);
    }
}

void stkCmdZoom(ChartState *chart, char **params)
{
    if (!params[0]) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    const char direction = stkUpperAscii(params[0][0]);
    if (direction != 'U' && direction != 'D')
        return;
    const bool in = direction == 'U';
    const double amount = stkParamReal(params[1]); // missing or not finite: 0, one factor step
    double *value;
    double lo, hi;
    switch (chartModeKind(chart->mode)) {
    case kKindSky:
        value = &chart->fieldWidth;
        lo = chart->minField;
        hi = viewMaxFieldOfView(chart);
        break;
    case kKindSolar:
        value = &chart->solScale;
        lo = kSolScaleMin;
        hi = kSolScaleMax;
        break;
    default: // the whole-sky maps and the planisphere have one size
        return;
    }
    double v;
    if (amount != 0.0)
        v = in ? *value - amount : *value + amount;
    else
        v = in ? *value / chart->zoomFactor : *value * chart->zoomFactor;
    // Both bounds hold whichever way: a negative amount must not step past them.
    *value = clampTo(v, lo, hi);
}

void stkCmdLook(ChartState *chart, char **params)
{
    if (!params[0]) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    chart->viewLocked = 0;
    if (!setLookTarget(chart, params[0], params[1], params[2]))
        return;
    chart->redrawNeeded = 1;
    chartRefresh(chart);
}

void stkCmdTrack(ChartState *chart, char **params)
{
    if (!params[0] || strEqualNoCase(params[0], "OFF")) {
        if (chart->trackState != kTrackTarget)
            return; // not tracking: nothing at all, no refresh
        chart->trackState = kTrackNone;
        refreshTrackingControls(chart);
        return;
    }
    ParsedTarget target;
    if (!parseTarget(chart, params[0], params[1], params[2], &target))
        return;
    setTarget(chart, target, kTrackTarget);
    refreshTrackingControls(chart);
}

void stkCmdBlink(ChartState *chart, char **params)
{
    ParsedTarget target;
    if (!parseTarget(chart, params[0], params[1], params[2], &target))
        return;
    // A place off the chart, or a sky mark (no screen position), blinks nothing.
    ProjectedPoint p;
    if (targetScreenPosition(chart, target.kind, target.index, target.values, &p))
        blinkAt(chart, p.x, p.y);
}
