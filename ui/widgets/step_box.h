// The step box: ten rows of minus and plus buttons that step the chart's
// time back and forth by a fixed amount, repeating while a button is held.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// One step button: the command text it runs (years, months, days, hours,
// minutes, seconds) for the chart it steps.
struct StepButton {
    const char *command;
    ChartState *chart;
};

// The ten rows top to bottom: the label's suffix (the widget names are
// "ButtonMinus<suffix>", "Label<suffix>", "ButtonPlus<suffix>") and the
// minus and plus commands.
struct StepRow {
    const char *suffix;
    const char *minusCommand;
    const char *plusCommand;
};
constexpr int kStepRowCount = 10;
extern const StepRow kStepRows[kStepRowCount];

// Builds the hidden "StepBox" on the top-level (appData->stepBox).
void stepBoxCreate(ChartState *chart);

// Manages the step box when show is non-zero, else unmanages it.
void stepBoxShow(ChartState *chart, int show);

// The buttons' arm and disarm callbacks (client data: the StepButton) and
// the repeat timer behind them: one auto-repeat for all twenty buttons.
void stepBoxArmCallback(Widget w, XtPointer client, XtPointer call);
void stepBoxDisarmCallback(Widget w, XtPointer client, XtPointer call);
void stepBoxRepeatTimer(XtPointer client, XtIntervalId *id);
