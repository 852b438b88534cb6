// The Center menu's dialogs without X: a star, a deep-sky object, a planet,
// a comet, a minor planet, a Galilean moon, a constellation, a user object or
// a sky mark is chosen and OK turns the chart to it with one LOOK text (most
// followed by a BLINK of the same object, no "DRIVE": LOOK draws).
//
// Names from name files and user files travel inside quotes, where a '"'
// would end the name and a ";" the statement: a list offers only names that
// are not empty, pass isSendableName and leave the dialog's whole text short
// enough for one command text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/dialogs/dialog_kit.h"

struct UserObjectFileEntry;

// Every dialog but the deep-sky one: the chosen list position (1 for the
// first item, 0 for none).
constexpr int kCenterKeptItemSize = 48; // a comet or minor-planet item, "%-15.15s %-30.30s"
struct CenterListValues {
    int32_t position;
    // Kept from the last OK that chose: its position (0: none yet, the first
    // item), and for comets and minor planets its item's text, by which it
    // is found again wherever the table now holds it.
    int32_t keptPosition;
    char keptItem[kCenterKeptItemSize];
};

constexpr int kCenterNebulaCatalogs = 3; // M, NGC, IC
struct CenterNebulaValues {
    ToggleValue catalog[kCenterNebulaCatalogs]; // ToggleTypeM, ToggleTypeNGC, ToggleTypeIC
    char number[6];                             // EditNumber, 5 digits
    // Kept from the last OK that was sent: its catalogue (0: M) and number
    // (0 before any: 1).
    int32_t keptCatalog;
    int32_t keptNumber;
};

extern const DialogSpec kCenterStarDialog;
extern const DialogSpec kCenterNebulaDialog;
extern const DialogSpec kCenterPlanetDialog;
extern const DialogSpec kCenterCometDialog;
extern const DialogSpec kCenterMPlanetDialog;
extern const DialogSpec kCenterJoviSatDialog;
extern const DialogSpec kCenterConstDialog;
extern const DialogSpec kCenterUserObjectDialog;
extern const DialogSpec kCenterSkyMarkDialog;

// qsort comparators of two name pointers: plain byte order.
int compareStarNames(const void *a, const void *b);
int compareConstNames(const void *a, const void *b);

// 1 when name may stand for each "%s" of format (one or two) in one command
// text: not empty, sendable, and the whole text fits.
int centerNameSendable(const char *format, const char *name);

// Appends the names of the named records of count user-object or sky-mark
// files, file by file, records in file order, that can stand in format;
// returns the number appended.
int userObjectListFill(const UserObjectFileEntry *files, int count, const char *format,
                       std::vector<std::string> *items);
