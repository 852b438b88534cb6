#include "ui/dialogs/click_data_dialog.h"

#include <cstdio>

#include "model/chart_state.h"
#include "model/position.h"
#include "model/position_text.h"
#include "model/ui_hooks.h"
#include "render/hit_test.h"

namespace {

void add(ClickDataPlan *plan, const char *format, const char *name = nullptr)
{
    if (plan->count < kClickPlanMaxCommands)
        std::snprintf(plan->commands[plan->count++], kStkTextSize, format, name);
}

} // namespace

int clickDataPickIsTracked(const ChartState *chart)
{
    return chart->trackState == kTrackTarget && (chart->trackKind & ~kTrackKindLockBit) == chart->hitKind &&
           chart->trackIndex == chart->hitIndex;
}

int clickDataButtonPlan(ChartState *chart, int button, ClickDataPlan *plan)
{
    plan->count = 0;
    plan->starTargetAfter = -1;
    if (!hitPickIsValid(chart))
        return 0;
    char name[kStkTextSize - 16];
    if (!formatPositionSpec(chart, chart->hitKind, chart->hitIndex, name, sizeof name))
        return 0;
    const bool star = chart->hitKind == kPosStar;
    switch (button) {
    case kClickDataBlink:
        add(plan, "BLINK %s", name);
        return 1;
    case kClickDataCenter:
        if (chart->trackState == kTrackTarget)
            add(plan, "TRACK");
        add(plan, "LOOK %s", name);
        if (star)
            plan->starTargetAfter = plan->count - 1;
        add(plan, "DRIVE");
        return 1;
    case kClickDataTrack:
        if (chart->trackState == kTrackTarget) {
            const bool same = clickDataPickIsTracked(chart) != 0;
            add(plan, "TRACK OFF");
            if (same) {
                add(plan, "DRIVE");
                return 1;
            }
        }
        add(plan, "TRACK %s", name);
        if (star)
            plan->starTargetAfter = plan->count - 1;
        add(plan, "DRIVE");
        return 1;
    default:
        return 0;
    }
}

void clickDataRunPlan(ChartState *chart, const ClickDataPlan *plan)
{
    const int32_t kind = chart->hitKind, index = chart->hitIndex;
    for (int i = 0; i < plan->count; ++i) {
        if (i == plan->count - 1)
            uiHooks.updateClickDataButtons(chart);
        stkExecuteCall(chart, plan->commands[i]);
        if (i == plan->starTargetAfter && kind == kPosStar && chart->trackState != kTrackNone) {
            chart->trackKind = kPosStar | (chart->trackKind & kTrackKindLockBit);
            chart->trackIndex = index;
        }
    }
}
