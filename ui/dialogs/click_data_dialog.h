// What the click-data dialog's buttons send: command texts built from the
// pick and the tracking state, without X.
#pragma once

#include "command/interpreter.h"

struct ChartState;

// The buttons, left to right.
enum ClickDataButton : int {
    kClickDataClose = 0,
    kClickDataBlink = 1,
    kClickDataCenter = 2,
    kClickDataTrack = 3,
    kClickDataImage = 4,
    kClickDataButtonCount = 5,
};

constexpr int kClickPlanMaxCommands = 3;

// The texts one press sends, in order. A star's catalogue row is set as the
// target right after the command at index starTargetAfter (-1: not at all),
// so the exact entry stays the target whatever its name resolves to.
struct ClickDataPlan {
    int count;
    char commands[kClickPlanMaxCommands][kStkTextSize];
    int starTargetAfter;
};

// 1 when the pick is tracked now (TRACK target equal to it).
int clickDataPickIsTracked(const ChartState *chart);

/*
 * clickDataButtonPlan: the texts of Blink, Center or Track.
 * Returned: 1 with the plan; 0 when the button sends nothing (Close and
 *           Image are no texts, a pick that names nothing on the chart, or
 *           one without a command-language name).
 */
int clickDataButtonPlan(ChartState *chart, int button, ClickDataPlan *plan);

// Runs a plan: each text through stkExecuteCall, the star target set where
// the plan says, the dialog's buttons refreshed before the last text.
void clickDataRunPlan(ChartState *chart, const ClickDataPlan *plan);
