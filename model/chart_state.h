// The chart state: everything that defines and caches one sky chart.
// One object with static storage for the whole run, reached through currentChart;
// every command handler receives it as its first argument.
#pragma once

#include <cstdint>

#include "astro/body_records.h"
#include "astro/orbit_records.h"
#include "astro/types.h"
#include "model/user_objects.h"
#include "model/x_handles.h"

// ChartMode: chart kind << 8 | coordinate system.
enum : int32_t {
    kModeHrz = 257,
    kModeEqt = 260,
    kModeEcl = 261,
    kModeGal = 262,
    kModeSol1 = 516,
    kModeSol2 = 517,
    kModeSol3 = 518,
    kModeAll1Eqt = 772,
    kModeAll1Ecl = 773,
    kModeAll1Gal = 774,
    kModeAll2Eqt = 1028,
    kModeAll2Ecl = 1029,
    kModeAll2Gal = 1030,
    kModePlns = 2049,
};

// playKind values.
enum : int32_t { kPlayByPeriod = 0, kPlayClock = 1, kPlayClockFromBase = 2 };

// timeSystem values: the clock the chart's date is read in.
enum : int32_t { kTimeSystemLst = 0, kTimeSystemUt = 1, kTimeSystemLmt = 2 };

inline int32_t chartModeKind(int32_t mode) { return mode >> 8; }
inline int32_t chartModeSystem(int32_t mode) { return mode & 0xff; }

// The range of every magnitude limit, in tenths: brighter than the Sun and
// fainter than any catalogue, and far enough from the int32 bounds that a
// step or an offset computed in 64 bits and clamped back cannot overflow.
constexpr int32_t kLimitTenthsMin = -300;
constexpr int32_t kLimitTenthsMax = 300;
inline int32_t chartClampLimit(int64_t tenths)
{
    return tenths < kLimitTenthsMin ? kLimitTenthsMin
           : tenths > kLimitTenthsMax ? kLimitTenthsMax
                                      : static_cast<int32_t>(tenths);
}

// A cached Julian date that means "never computed": the next frame computes it.
constexpr double kNeverJd = 40000000.0;

constexpr int kClickTextSize = 2048;   // a whole "@TEXT" word of a click-data line

struct ChartState {
    // Widgets and mode
    Widget mainWidget, drawingArea, hScroll, vScroll;
    int32_t mode;                  // ChartMode
    int32_t modeChanged;           // set by MODE, cleared by the canvas refresh
    int32_t mirror;                // 0 normal, 1 turned through 180 degrees, 2 flipped

    // Date, site and time
    SkyContext sky;
    Mat3 precessionMatrix;
    char siteName[64];
    TimeStep period;
    int32_t playReverse;
    int32_t dateStyle;             // 0 English, 1 Japanese, 2 European
    int32_t timeSystem;            // TIMESYS code: 0 LST, 1 UT, 2 LMT
    double zoneHours;              // the site's zone, hours
    double lastEphemerisJd;
    XtWorkProcId playWorkProc;     // 0 = none
    XtIntervalId playTimerId;      // 0 = none
    int32_t playing;
    int32_t playEndKind;           // 1 until playEndJd, 2 no end
    int32_t playKind;              // 0 by period, 1 clock, 2 clock from a base
    DateTime playBaseDate;
    double playBaseJd;
    double playEndJd;
    int32_t realTimeMode;
    int32_t realTimeImmediate;
    int32_t realTimeInterval;      // seconds
    int32_t timeLockKind;          // 0 none, 1/2 sunrise/sunset + n min, 3/4 at n degrees
    int32_t timeLockValue;

    // View
    ChartRect chartRect;           // the chart inside the drawing area
    double centerHrz[2];           // azimuth, altitude of the view centre, degrees
    double centerMode[2];          // longitude, latitude in the mode's system
    double fieldWidth, fieldHeight; // degrees
    double solScale;               // width of the solar-system views, AU
    double zoomFactor;             // factor of one ZOOM step
    double minField;               // degrees
    Mat3Q14 viewMatrixQ14, horizonMatrixQ14, rotationMatrixQ14;
    int32_t scaleX, scaleY;
    int32_t cullCosQ14, cullDepthQ14;
    int16_t centerX, centerY;
    int32_t radius;
    Mat3 viewMatrix, horizonMatrix, rotationMatrix;
    double pixelsPerRadianX, pixelsPerRadianY;
    double cullCos, cullDepth;
    double projScale[4];

    // Limits (magnitudes in tenths; every limit stays in kLimitTenthsMin..Max)
    int32_t starSize;
    int32_t starLimit;
    int32_t starLimitSet;          // the user's offset to the automatic limit
    int32_t fixedLimitOn;
    int32_t fixedLimit;
    int32_t catalogLimit;
    int32_t starNameLimit;
    int32_t faintStarColour;
    int32_t nebulaMin;             // faint limit
    int32_t nebulaMax;             // bright limit
    int32_t nebulaLimitOn;

    // Bodies
    SunRecord sun;
    MoonRecord moon;
    SolarBodyRecord planets[kPlanetCount]; // Mercury .. Pluto
    int32_t diskMag;
    double solOffset[3];
    GalileanMoonRow galileanMoons[kGalileanMoonCount]; // Io, Europa, Ganymede, Callisto
    // The comet and minor-planet tables have count rows each and are
    // allocated with malloc/realloc; a position row owns its outline.
    int32_t cometCount;
    BodyPosition *cometPositions;
    OrbitalElements *cometElements;
    CometTail *cometTails;
    int32_t minorPlanetCount;
    BodyPosition *minorPlanetPositions;
    OrbitalElements *minorPlanetElements;
    double orbitJd;                // Julian date of the drawn orbit outlines
    PlanetOrbitOutlines planetOrbits;

    // Tracking, hit and display flags
    double trackValues[2];
    int32_t trackKind;             // PositionKind, bit 0x8000 = lock request
    int32_t trackIndex;
    int32_t trackState;            // 0 none, 1 LOOK target, 2 TRACK target
    int32_t skyLevel;              // 0..72
    uint8_t starFlags, starLabelFlags, constellationFlags, milkyWayFlags;
    uint8_t nebulaFlags, nebulaTypeFlags, nebulaCatalogFlags, skyFlags;
    uint8_t gridNumberFlags, horizonGridFlags, equatorialGridFlags, otherGridFlags;
    uint8_t lineNumberFlags, userObjectFlags, skyMarkFlags, pictureMarkFlags;
    int32_t clickFlags;
    int32_t hitKind, hitIndex;
    int16_t clickPointX, clickPointY;
    char clickText[kClickTextSize];
    uint8_t traceFlags;
    uint8_t sunFlags, moonFlags, earthFlags;
    uint8_t planetFlags[kPlanetCount]; // Mercury .. Pluto
    uint8_t jupiterMoonFlags;
    uint8_t *cometFlags;           // one byte per loaded comet
    uint8_t *minorPlanetFlags;     // one byte per loaded minor planet

    // Canvas
    int32_t redrawNeeded;
    int32_t sizeChanged;
    int32_t skyColourBase;         // index of the first sky colour (65)
    Pixmap backPixmap;             // kNoXid until the first refresh
    GC gc;
    uint8_t statusBar;             // bit 0x01 = shown
    int32_t viewLocked;
    UserObjectFileEntry *userObjectFiles;
    int32_t userObjectFileCount;
    ClickDataEntry *clickDataIndex; // ends with kind -1; null when empty
    char sceneFilePath[256];
};

extern ChartState *currentChart;

// The one object currentChart points at.
extern ChartState theChartState;

// Every default of the chart state; at start-up and again by INIT.
void chartStateSetDefaults(ChartState *chart);

// Frees the comet and minor-planet tables (positions, elements, tails, display
// bytes) and each body's orbit outline; the pointers become null and the
// counts 0, so that no count ever describes a freed table.
void chartStateFreeTables(ChartState *chart);

// Copies the palette's colour count into skyColourBase, sets backPixmap to
// none and creates gc for the drawing area's window. Needs X: defined in
// render/x/, not in model/ (model links without X).
void chartCreateGC(ChartState *chart);
