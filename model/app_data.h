// The application record: X connection, main widgets, paths, options, palette
// and font sets, the unreported command error and the TCP server's state.
// One object with static storage for the whole run, reached through appData.
#pragma once

#include <cstdint>

#include "model/x_handles.h"

constexpr int kPathSize = 256;            // every path field, NUL included
constexpr int kErrorIdSize = 32;          // 31 characters
constexpr int kErrorArgSize = 40;         // the offending text is cut to 39
constexpr int kErrorMessageSize = 256;
constexpr int kPaletteSlots = 256;
constexpr int kBodyNameCount = 13;        // nine planets (Earth included), four Galilean moons
constexpr int kSiteNameSize = 64;
constexpr int kSocketAddressSize = 256;   // option SocketAddress: any options value fits

struct GscRegionTable;      // the Guide Star Catalog layer's loaded region table
struct UserObjectFileEntry; // model/user_object_records.h
struct KeyboardMappingCopy; // ui/app/keyboard_mapping.h

struct AppData {
    int32_t sceneLoading;          // 1 while STL runs a scene file
    char geometryOption[40];       // option Geometry; empty = none
    char localeOption[64];         // option Locale; empty = none
    char localeName[64];           // the locale actually set
    char languageCode[3];          // first two letters of the locale
    char tzOption[65];             // option TZ; empty = none

    Display *display;
    int32_t screen;                // screen number (what DefaultScreen gives)
    Widget topLevel;               // application shell, parent of every dialog
    Widget toolBar, stepBox, todayDialog, commandDialog, tipShell; // null until built
    KeyboardMappingCopy *keyboardMapping; // start-up's copy of the key map; null after it

    int32_t dynamicVisual;         // 1 when the root visual has writable colour cells
    int32_t lineWidth;
    double pixelAspect;            // vertical scale of a pixel
    int32_t dirFontHeight;
    int32_t minDiskRadius;         // pixels
    double siteZoneHours;          // zone of the default site, hours
    int32_t blinkTime;             // number of blink flashes, at least 1

    char errorId[kErrorIdSize];    // unreported command error, e.g. "stkErrorIllegalParam"
    char errorArg[kErrorArgSize];  // its offending text, may be empty
    char errorMessage[kErrorMessageSize]; // the last formatted error message

    char rcPath[kPathSize];        // userDir + "/tavikrc"; empty when userDir is not known
    char userDir[kPathSize];       // home + "/.tavik"; empty = not known, nothing saved at quit
    char cometFile[kPathSize], cometIndexFile[kPathSize];
    char minorPlanetFile[kPathSize], minorPlanetIndexFile[kPathSize];
    char constNameFile[kPathSize], starNameFile[kPathSize];
    char siteFile[kPathSize];
    char saoFile[kPathSize];
    char gscRegionTableFile[kPathSize];
    char gscPath[kPathSize];
    GscRegionTable *gscRegionTable;
    uint32_t gscRegionTableLoads;      // tables loaded so far: names the one a visible set was made from

    UserObjectFileEntry *skyMarkFiles; // loaded once at start-up
    int32_t skyMarkFileCount;
    char skyMarkFile[kPathSize];
    char clickDataFile[kPathSize];     // LOAD CLICKDATA replaces it
    char clickImagePath[kPathSize];
    char imageViewerCommand[kPathSize];

    int32_t initialising;          // 1 from just after the main window is built until the first DRIVE
    int32_t saveHistory;           // command-history lines kept
    int32_t confirmQuit, confirmInit;
    char siteName[kSiteNameSize];  // option SiteName; empty = none
    char stlFileIoPath[kPathSize], saveImagePath[kPathSize], userObjectFilePath[kPathSize];

    char *bodyNames[kBodyNameCount]; // localized names, owned

    Pixel pixels[kPaletteSlots];   // by palette index
    XFontSet fontSets[kFontSetCount];
    FontSetExtents fontSetExtents[kFontSetCount]; // zero where a font set missed a charset
    BayerFont bayerFont;           // symbol font of Bayer letters

    int32_t installColormap;       // 1 when -i was given
    Colormap colormap;             // private colormap when installed
    int32_t runStartupScript;      // 1 unless -q was given

    int32_t commandFromSocket;     // 1 while a TCP line runs
    int32_t socketPort;            // option SocketPort; 0 = no server
    char socketAddress[kSocketAddressSize]; // option SocketAddress; empty = 127.0.0.1
    // TCP server state. Descriptors are -1 when closed: 0 is a valid
    // descriptor when standard input is closed.
    int32_t listenFd;
    XtInputId listenInputId;       // 0 = none
    int32_t clientFd;
    XtInputId clientInputId;
};

extern AppData *appData;

// The one object appData points at (main sets the pointer before anything runs).
extern AppData theAppData;

// First step of start-up: the defaults of the fields that have no other owner
// yet. Also what tests call to start from a known record.
void appDataSetDefaults();
