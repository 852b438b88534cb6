// Start-up steps whose owners are not built yet. Each routine here has the
// name and the signature its owner will give it; the stand-ins themselves all
// live in ui/app/pending_startup.cpp, and an owner that lands deletes its rows
// there (and its declarations here) and includes its own header instead.
//
// A stand-in never pretends to have done the work: loaders report "nothing
// loaded", builders build nothing, and the few that must answer for start-up
// to go on (the font sets) say so where they are defined.
#pragma once

#include <cstdint>

#include <X11/Intrinsic.h>

struct ChartState;

// --- click-data dialog ---
void createClickDataDialog(ChartState *chart);
void addClickDataTips(Widget tipShell);
void freeClickDataPixmaps();

// --- tool bar, tool tips ---
// createToolbarForm: ui/window/toolbar.h
void createToolbarButtons(ChartState *chart);
void toolbarRefreshAll(ChartState *chart);
void addToolbarTips(Widget tipShell);
void freeToolbarPixmaps();
Widget createTipShell(Widget topLevel);                    // null when none is built
Boolean XcgLiteClueDispatchEvent(Widget tipShell, XEvent *event);

// --- picking ---
// What a click, the second button and the pop-up menu ask of the picking.
struct ImageList;
int clickDataSelect(ChartState *chart, int32_t xy);      // 1 when an object is selected
int chartCountObjectsAtPoint(ChartState *chart, int32_t xy, ImageList *list); // pictures added
void openImageDialog(ImageList *items);                  // takes the list
// Labels up to count buttons for the kinds of object at xy and gives each
// its activate callback; returns how many it filled (the caller manages them).
int popupFillObjectButtons(ChartState *chart, int32_t xy, Widget *buttons, int count);
