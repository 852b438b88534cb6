// Stand-ins for the start-up steps whose owners are not built yet (see
// ui/app/pending_startup.h). Grouped by owner; delete a group when its owner lands.
#include "ui/app/pending_startup.h"

#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/click_data.h"

// --- click-data dialog ---

void createClickDataDialog(ChartState *) {}
void addClickDataTips(Widget) {}
void freeClickDataPixmaps() {}

// --- tool bar, tool tips ---

Widget createToolbarForm(Widget, ChartState *)
{
    return nullptr;
}
void createToolbarButtons(ChartState *) {}
void toolbarRefreshAll(ChartState *) {}
void addToolbarTips(Widget) {}
void freeToolbarPixmaps() {}
Widget createTipShell(Widget)
{
    return nullptr;
}
Boolean XcgLiteClueDispatchEvent(Widget, XEvent *)
{
    return False;
}

// --- picking ---
// Nothing is picked: a click selects nothing, the second button finds no
// pictures and the pop-up menu gets no object buttons.

int clickDataSelect(ChartState *, int32_t)
{
    return 0;
}
int chartCountObjectsAtPoint(ChartState *, int32_t, ImageList *)
{
    return 0;
}
void openImageDialog(ImageList *items)
{
    imageListFree(items);
}
int popupFillObjectButtons(ChartState *, int32_t, Widget *, int)
{
    return 0;
}
