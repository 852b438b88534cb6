// The Star and Nebula/Galaxy dialogs of the Object menu, pure halves: what
// they show of the chart, which controls can be used, what the arrows do and
// the command texts OK sends.
#pragma once

#include "ui/dialogs/dialog_kit.h"

constexpr int kStarDlgLimitSize = 5; // 4 characters, as the fields take
constexpr int kStarDlgPathSize = 256;

struct StarDialogValues {
    ToggleValue star;                       // ToggleStar: STAR
    char magLimit[kStarDlgLimitSize];       // EditMagLimit
    ToggleValue starName, starMag, bayer, flamsteed;
    char nameMagLimit[kStarDlgLimitSize];   // EditNameMagLimit
    ToggleValue catalogStd, catalogSao, catalogGsc;
    char gscPath[kStarDlgPathSize];         // TextGscPath
    // Fill inputs, not controls: whether the SAO file and the Guide Star
    // Catalog can be used (their buttons are sensitive only then).
    int32_t saoExists, gscUsable;
};

struct NebulaDialogValues {
    ToggleValue nebula, label, mag;
    ToggleValue messier, ngc, ic;
    ToggleValue globular, planetary, openCluster, diffuse, galaxy, compound;
    ToggleValue limit;                      // ToggleNebulaLimit
    char minLimit[kStarDlgLimitSize];       // EditMagMinLimit: the faint end
    char maxLimit[kStarDlgLimitSize];       // EditMagMaxLimit: the bright end
};

extern const DialogSpec kStarDialog;
extern const DialogSpec kNebulaDialog;

// The star fill with the catalogue availability given (kStarDialog's fill asks
// saoFileExists and gscAvailable).
void starDlgFill(const ChartState *chart, const AppData *app, int saoExists, int gscUsable, StarDialogValues *v);

// An arrow of either dialog (its table row): steps its field by 0.1 up or
// down, clamped (stars -2.0 to 10.0, deep-sky limits -2.0 to 15.0).
void starDlgSpin(void *values, int control);
void nebulaDlgArrow(void *values, int control);

// The nebula refusals.
extern const char kNebulaLimitMinMax[]; // "messageNebulaLimitMinMax"
extern const char kNebulaLimitRange[];  // "messageNebulaLimitRange": %.1f and %.1f
constexpr double kNebulaLimitLowest = -2.0, kNebulaLimitHighest = 18.0;
