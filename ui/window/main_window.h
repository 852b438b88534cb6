// The main window: menu bar, tool bar, scroll bars and the drawing area on
// which the chart is shown.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// Builds the widget tree and stores mainWidget, drawingArea, hScroll and
// vScroll in the chart state and the tool bar in the application record.
void createMainWindow(ChartState *chart);

// The window's default width follows the tool bar: when the shown tool bar
// needs more than its share of the window, widens the top-level shell by what
// it lacks, so that every button shows whole; the chart keeps its default
// size where the tool bar fits. A width the user chose (a geometry from the
// option Geometry, -geometry or a resource; a chart width other than the
// fallback table's) is left as it is. Call once the buttons exist.
void mainWindowFitToolbar(ChartState *chart);

// The window manager's minimum size for the top-level shell.
void setMinWindowSize(Widget topLevel);
