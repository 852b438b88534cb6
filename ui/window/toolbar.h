// The tool bar: a row of 27 picture buttons in the main window's command
// area, each running a fixed command text; toggles show the chart's state by
// their shadow, and each button has a tool tip.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// One button: the widget name is also its resource name.
struct ToolbarButton {
    const char *name;
    WidgetClass *widgetClass;  // the address of the class variable
    const char *command;
    int leftGap;               // pixels to the previous button
    int toggle;                // shows a state by its shadow
    const char *tipResource;
};
extern const ToolbarButton toolbarButtons[];  // kToolbarButtonCount rows (model/ui_hooks.h)

// The form "Toolbar" on the main window (not managed here).
Widget createToolbarForm(Widget parent, ChartState *chart);
// The pictures and the 27 buttons in the form; needs the top-level realised.
void createToolbarButtons(ChartState *chart);
// The button widget, or null before the buttons exist.
Widget toolbarButtonWidget(int button);

void toolbarSetButtonState(int button, ChartState *chart);
// The three refreshes do nothing while the tool bar is not managed.
void toolbarRefreshAll(ChartState *chart);
void toolbarRefreshChanged(ChartState *chart);
void toolbarRefreshOne(ChartState *chart, int changed, int bit, int button);

void toolbarActivateCb(Widget w, XtPointer client, XtPointer call);
void zoomArmCb(Widget w, XtPointer client, XtPointer call);
void zoomDisarmCb(Widget w, XtPointer client, XtPointer call);
void zoomRepeatTimerCb(XtPointer client, XtIntervalId *id);

// The zoom buttons' repeat machine; tests put a fake timer in its seam.
struct AutoRepeat;
extern AutoRepeat toolbarZoomRepeat;

// Tips of the 27 buttons on the tip shell (nothing when it is null);
// removeToolbarTips takes them off appData->tipShell.
void addToolbarTips(Widget tipShell);
void removeToolbarTips();
// At quit: the tips off and every picture freed.
void freeToolbarPixmaps();
