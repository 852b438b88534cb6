// Stand-ins for the start-up steps whose owners are not built yet (see
// ui/pending_startup.h). Grouped by owner; delete a group when its owner lands.
#include "ui/pending_startup.h"

#include <cstdio>
#include <cstdlib>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/env.h"
#include "model/settings.h"

// --- the X side of the settings (locale, palette and body names, resources) ---

void envSetLocale(int argc, char **argv)
{
    char chosen[64];
    envChooseLocale(chosen, sizeof chosen, argc, argv);
    const char *name = envSetCharLocale(chosen, stderr);
    if (!XSupportsLocale())
        std::fprintf(stderr, "tavik: X does not support locale %s.\n", name);
    if (!XSetLocaleModifiers(""))
        std::fprintf(stderr, "tavik: can't XSetLocaleModifiers.\n");
    envStoreLocale(name);
}

// No palette is allocated yet; the names are.
void envLoadBodyNames()
{
    if (!envCopyBodyNames()) {
        std::fprintf(stderr, "tavik: insufficient memory.\n");
        std::exit(1);
    }
}

// The data paths keep their empty defaults until the resources are read.
void envLoadResources(ChartState *) {}

// --- palette, font sets and name files ---

void loadStarNames() {}
void loadConstNames() {}
void freeStarNames() {}
void freeConstNames() {}
// No font set is made yet, and none is used: nothing draws text on the chart.
int loadFontSets()
{
    return 1;
}
void freeFontSets() {}
int dirFontHeight()
{
    return 0;
}
int isDynamicVisual()
{
    return 0;
}

// --- canvas ---

// Until the chart frame is drawn, the drawing area shows its background.
void chartRefresh(ChartState *chart)
{
    if (chart->drawingArea && XtIsRealized(chart->drawingArea) && !appData->initialising)
        XClearWindow(XtDisplay(chart->drawingArea), XtWindow(chart->drawingArea));
}

void chartCreateGC(ChartState *chart)
{
    chart->skyColourBase = 65;
    chart->backPixmap = kNoXid;
    chart->gc = XCreateGC(XtDisplay(chart->drawingArea), XtWindow(chart->drawingArea), 0, nullptr);
}

// --- tool bar, step box, command dialog, click-data dialog, tool tips ---

Widget createToolbarForm(Widget, ChartState *)
{
    return nullptr;
}
void createToolbarButtons(ChartState *) {}
void toolbarRefreshAll(ChartState *) {}
void addToolbarTips(Widget) {}
void freeToolbarPixmaps() {}
void stepBoxCreate(ChartState *) {}
void stepBoxShow(ChartState *, int) {}
void toggleCommandDialog(ChartState *) {}
void historySave() {}
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

// --- main window decorations ---

void installIcon(ChartState *) {}

// --- sky marks, click data, TCP server ---

int loadSkyMarks()
{
    return 0;
}
void loadClickData(ChartState *, const char *) {}
void socketServerStart() {}
void socketServerStop() {}
