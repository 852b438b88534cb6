// The seven pulldown menus of the main window and their callbacks. The items
// are tables of MenuItem rows; what an item shows and sends comes from the
// pure rules of ui/window/menu_state.h.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// One row of a menu table; the widget name is also its resource name. A
// table ends with a row whose name is null.
struct MenuItem {
    const char *name;
    const char *callbackName;     // null for cascades and separators
    XtCallbackProc callback;      // gets the chart state as client data
    WidgetClass *widgetClass;     // the address of the class variable
    Widget widget;                // filled in when the menu is built
};

// A pulldown menu named `name` on parent with one item per table row.
Widget createPulldown(const char *name, Widget parent, MenuItem *table, ChartState *chart);

// A cascade button named `name` on parent opening `pulldown` (may be null).
Widget createCascade(const char *name, Widget parent, Widget pulldown);

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
