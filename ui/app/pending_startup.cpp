// Stand-ins for the start-up steps whose owners are not built yet (see
// ui/app/pending_startup.h). Grouped by owner; delete a group when its owner lands.
#include "ui/app/pending_startup.h"

#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"

// --- tool bar, click-data dialog, tool tips ---

Widget createToolbarForm(Widget, ChartState *)
{
    return nullptr;
}
void createToolbarButtons(ChartState *) {}
void toolbarRefreshAll(ChartState *) {}
void addToolbarTips(Widget) {}
void freeToolbarPixmaps() {}
void createClickDataDialog(ChartState *) {}
void addClickDataTips(Widget) {}
void freeClickDataPixmaps() {}
Widget createTipShell(Widget)
{
    return nullptr;
}
Boolean XcgLiteClueDispatchEvent(Widget, XEvent *)
{
    return False;
}

// --- navigation ---

void viewUpdateScrollBars(ChartState *) {}
void viewScrollHorizontal(ChartState *, int, int) {}
void viewScrollVertical(ChartState *, int, int) {}
