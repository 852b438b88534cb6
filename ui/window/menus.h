// The seven pulldown menus of the main window and their callbacks. The items
// are tables of MenuItem rows; what an item shows and sends comes from the
// pure rules of ui/window/menu_state.h.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// Builds the pulldowns, their cascades on menuBar and the View menu's three
// sub-pulldowns, with every cascading callback. Returns the Help cascade,
// which the menu bar keeps at its right end.
Widget createMenus(Widget menuBar, ChartState *chart);

// The item widget named `name` (first of that name), or null before the
// menus are built.
Widget menuItemWidget(const char *name);

// Brings the items of the cascade button named cascadeName up to date, as
// its cascading callback does before the pulldown opens.
void menuRefreshCascade(const char *cascadeName, ChartState *chart);
