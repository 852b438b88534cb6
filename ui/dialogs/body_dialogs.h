// The Object menu's body dialogs without X: Planet, Jovian Satellite,
// Constellation, Sun and Moon. Each turns its toggles into SHOW/HIDE
// statements (and DISK/REAL, OUTLINE/REAL, DISK_MAG) ending with "DRIVE";
// none changes the chart itself.
#pragma once

#include <cstdint>

#include "ui/dialogs/dialog_kit.h"

// The planet list's rows: Mercury, Venus, Earth, Mars .. Pluto.
constexpr int kPlanetDialogRows = 9;
constexpr int kPlanetDialogEarthRow = 2;
extern const int32_t kPlanetDialogIds[kPlanetDialogRows];
struct AppData;
// The list item of a row: the localized name of the application record
// (whose body names start with the same nine), else the command name.
const char *planetDialogItem(const AppData *app, int row);

// The columns of the planet flag table, the toggles' order.
enum PlanetDialogColumn {
    kPlanetColShown,
    kPlanetColName,
    kPlanetColDate,
    kPlanetColMag,
    kPlanetColOrbit,
    kPlanetColDisk,
    kPlanetDialogColumns
};

struct PlanetDialogValues {
    uint32_t selected;                                 // PlanetList: bit r for row r
    ToggleValue toggles[kPlanetDialogColumns];         // ToggleShow .. ToggleDisk
    char diskMag[4];                                   // EditDiskMag, 3 characters
    // The flag table: loaded at opening, changed by the toggles, sent by OK.
    int8_t rows[kPlanetDialogRows][kPlanetDialogColumns];
    uint8_t sensitive[kPlanetDialogColumns];           // kept while nothing is selected
};

struct JoviSatDialogValues {
    ToggleValue show, name, number;
};

struct ConstDialogValues {
    ToggleValue line, abbreviation, name, boundary;
};

// The Sun and Moon dialogs are twins.
struct SunMoonDialogValues {
    ToggleValue show, name, date, outline;
    int32_t solarView;  // 1 in the solar-system view: Outline cannot be used
};

extern const DialogSpec kPlanetDialog;
extern const DialogSpec kJoviSatDialog;
extern const DialogSpec kConstDialog;
extern const DialogSpec kSunDialog;
extern const DialogSpec kMoonDialog;

// The planet table's rules, for the tests: the list's selection or a toggle
// (its column) changed; the toggles and their sensitivity follow.
void planetDlgSelectionChanged(PlanetDialogValues *v);
void planetDlgToggleChanged(PlanetDialogValues *v, int column);
