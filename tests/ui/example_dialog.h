// A small dialog that exists only for the tests of the dialog kit: one of
// each control kind, a sensitivity rule, a refusal and several commands.
#pragma once

#include "ui/dialogs/dialog_kit.h"

struct ExampleDialogValues {
    ToggleValue fixedLimit;   // "ToggleFixedLimit": a limit of the user's own
    char starLimit[8];        // "TextStarLimit": magnitude, sensitive with the toggle
    ToggleValue statusBar;    // "ToggleStatusBar"
    ToggleValue planetNames;  // "TogglePlanetNames": mixed when the planets differ
    int32_t gridMode;         // "ListGrid": NORMAL, MODE1, MODE2, MODE3
};

extern const DialogSpec kExampleDialog;
