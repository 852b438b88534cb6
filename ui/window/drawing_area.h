// The drawing area's callbacks: an expose or a new size refreshes the chart.
#pragma once

#include <X11/Intrinsic.h>

// The expose callback and the structure-notify handler; client data is the
// chart state.
void chartExposeCallback(Widget w, XtPointer client, XtPointer call);
void chartConfigureHandler(Widget w, XtPointer client, XEvent *event, Boolean *goOn);
