// Moving the view without a dialog: the scroll bars, the arrow keys, dragging
// with the first button, the second button's pictures and the third
// button's pop-up menu. Every move becomes command text run by stkExecuteCall.
#pragma once

#include <cstdint>

#include <X11/Intrinsic.h>

struct ChartState;
struct Vec3;

// action: kScrollStepBack .. kScrollDrag (ui/window/navigation_rules.h);
// value is the slider for a drag.
void viewScrollHorizontal(ChartState *chart, int action, int value);
void viewScrollVertical(ChartState *chart, int action, int value);

// Both bars from the view (ranges, values; the vertical one unmapped in the
// whole-sky maps and the planisphere);
// clears modeChanged.
void viewUpdateScrollBars(ChartState *chart);

// Adds the ten scroll-bar callbacks (five a bar) with chart as client data.
void addScrollBarCallbacks(ChartState *chart);

void viewPanByPixels(ChartState *chart, XPoint from, XPoint delta);

// The drawing area's handlers: button press, release and button-1 motion;
// key release. Client data: the chart state.
void chartPointerHandler(Widget w, XtPointer client, XEvent *event, Boolean *goOn);
void chartKeyHandler(Widget w, XtPointer client, XEvent *event, Boolean *goOn);

// 1 and the J2000 direction when the pixel xy (screenPointPack) is on the
// sky and, in the charts drawn on the horizon, not below it; else 0.
int chartObjectAtPoint(ChartState *chart, int32_t xy, Vec3 *direction);

// Fills the pop-up menu's position labels for direction; returns 3 or 4.
int popupFillPositionLabels(ChartState *chart, const Vec3 *direction, Widget *labels);
