// The Grid dialog without X: the lines, grids and grid scales of six
// coordinate systems, the grid spacing and the solar-system axis, sent as
// SHOW/HIDE statements, one GRID statement and "DRIVE".
#pragma once

#include <cstdint>

#include "ui/dialogs/dialog_kit.h"

constexpr int kGridDialogRows = 6;     // Equ.(2000), Equ.(1950), Equ.(Date), Ecliptic, Galactic, Horizontal
constexpr int kGridDialogModes = 4;    // 10, 5, 2 and 1 degrees

struct GridDialogValues {
    ToggleValue line[kGridDialogRows], grid[kGridDialogRows], scale[kGridDialogRows];
    ToggleValue mode[kGridDialogModes]; // RadioMode10 .. RadioMode01: exactly one set
    ToggleValue solGrid;
    int32_t solarView;                  // 1 in the solar-system view: the axis can be switched
};

extern const DialogSpec kGridDialog;

// The number 0..3 of the first set radio toggle, or -1.
int gridDlgSelectedMode(const GridDialogValues *v);
// Radio toggle n pressed: it alone is set.
void gridDlgModeChanged(GridDialogValues *v, int n);
