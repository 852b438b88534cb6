// Start-up steps whose owners are not built yet. Each routine here has the
// name and the signature its owner will give it; the stand-ins themselves all
// live in ui/app/pending_startup.cpp, and an owner that lands deletes its rows
// there (and its declarations here) and includes its own header instead.
//
// A stand-in never pretends to have done the work: loaders report "nothing
// loaded", builders build nothing, and the few that must answer for start-up
// to go on (the font sets) say so where they are defined.
#pragma once

#include <X11/Intrinsic.h>

#include "ui/window/toolbar.h"

struct ChartState;

// --- tool bar, click-data dialog, tool tips ---
// createToolbarForm: ui/window/toolbar.h
void createToolbarButtons(ChartState *chart);
void toolbarRefreshAll(ChartState *chart);
void addToolbarTips(Widget tipShell);
void freeToolbarPixmaps();
void createClickDataDialog(ChartState *chart);
void addClickDataTips(Widget tipShell);
void freeClickDataPixmaps();
Widget createTipShell(Widget topLevel);                    // null when none is built
Boolean XcgLiteClueDispatchEvent(Widget tipShell, XEvent *event);

// --- navigation ---
void viewUpdateScrollBars(ChartState *chart);
void viewScrollHorizontal(ChartState *chart, int action, int value);
void viewScrollVertical(ChartState *chart, int action, int value);
