// What the menus show and send, as functions of the chart state: the toggle
// states and sensitivity each cascading callback sets before its pulldown
// opens, and the command texts of the items that run commands. No X here, so
// the rules are tested without a display.
#pragma once

#include <cstdint>

struct ChartState;

// What a cascading callback reads besides the chart state.
struct MenuFacts {
    bool cometFileReadable;
    bool minorPlanetFileReadable;
    bool stepBoxShown;
    bool todayDialogShown;
    bool commandDialogShown;
};

// The pulldowns whose cascading callbacks bring items up to date.
enum MenuCascade {
    kCascadeSettings,
    kCascadeView,
    kCascadeRotate,
    kCascadeObject,
    kCascadeCenter,
    kCascadeOption,
    kCascadeNone, // File, Help: nothing to bring up to date
};

// The cascade of a cascade button's widget name ("MenuView", "MenuViewRotate").
MenuCascade menuCascadeOfButton(const char *cascadeName);

// What a cascading callback sets on one item; -1 leaves that side alone.
struct MenuItemState {
    const char *item; // widget name
    int8_t sensitive;
    int8_t set;
};
constexpr int kMenuStatesMax = 8;

// The item states of one cascade; returns how many were written to out.
int menuCascadeStates(MenuCascade cascade, const ChartState *chart, const MenuFacts &facts,
                      MenuItemState out[kMenuStatesMax]);

// The command texts an item runs, each through its own stkExecute call.
constexpr int kMenuTextsMax = 2;
constexpr int kMenuTextSize = 64;
struct MenuTexts {
    int count;
    char text[kMenuTextsMax][kMenuTextSize];
};

// The texts of the item named `item` in the chart's present state (count 0
// where the item does nothing in this mode). Returns 0 for an item that runs
// no command of its own (one that opens a dialog, say).
int menuItemCommands(const char *item, const ChartState *chart, MenuTexts *out);

// The Width and Direction items: "VIEW ANGLE %.1f;DRIVE" in the azimuthal sky
// charts; "VIEW CENTER HRZ %.2f,0;" then "LOOK HRZ" in the horizontal chart
// or "DRIVE" in the planisphere. Both write nothing (count 0) elsewhere.
void menuViewWidthCmd(const ChartState *chart, double widthDeg, MenuTexts *out);
void menuViewDirCmd(const ChartState *chart, double azimuthDeg, MenuTexts *out);
