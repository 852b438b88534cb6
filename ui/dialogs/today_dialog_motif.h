// "TodayDialog" ("What's Today"): the almanac panel, refilled after every
// frame while it is shown.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// After a frame: fills the panel while it is shown.
void refreshTodayDialog(ChartState *chart);
// Fills every value label from the chart.
void todayDlgFill(ChartState *chart);
// 1 while the panel is shown (the menu toggle's state).
int todayDialogShown();
// Sets a label's text from a localized compound string.
void setLabelText(Widget w, const char *text);
// A widget of the panel by name (tests); null before it is built.
Widget todayDialogWidget(const char *name);
