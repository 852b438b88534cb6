// The chart state: everything that defines and caches one sky chart.
// One object with static storage for the whole run, reached through currentChart;
// every command handler receives it as its first argument.
#pragma once

#include <cstdint>

#include "astro/body_records.h"
#include "astro/coords.h"
#include "astro/orbit_records.h"
#include "astro/types.h"
#include "model/chart_frame.h"
#include "model/position_kind.h"
#include "model/x_handles.h"

struct UserObjectFileEntry; // model/user_object_records.h
struct ClickDataEntry;

// Chart kinds: the high byte of a ChartMode.
enum : int32_t {
    kKindSky = 1,          // azimuthal sky charts
    kKindSolar = 2,        // solar-system views
    kKindCylindrical = 3,  // whole-sky cylindrical map
    kKindAitoff = 4,       // whole-sky Aitoff map
    kKindPlanisphere = 8,
};

// The mode's system byte: the low byte of a ChartMode. The values are the
// coordinate-system numbers of astro/coords.h, but the equatorial charts are
// drawn on the equator of the date (COORD_EQT_DATE), not of J2000 (COORD_EQT),
// so the byte has names of its own.
enum : int32_t {
    kModeSystemHrz = COORD_HRZ,
    kModeSystemEqt = COORD_EQT_DATE,
    kModeSystemEcl = COORD_ECL,
    kModeSystemGal = COORD_GAL,
};

constexpr int32_t chartModeCode(int32_t kind, int32_t system) { return kind << 8 | system; }

// ChartMode: chart kind << 8 | system byte. These fourteen are all the modes
// a chart can be in.
enum : int32_t {
    kModeHrz = chartModeCode(kKindSky, kModeSystemHrz),
    kModeEqt = chartModeCode(kKindSky, kModeSystemEqt),
    kModeEcl = chartModeCode(kKindSky, kModeSystemEcl),
    kModeGal = chartModeCode(kKindSky, kModeSystemGal),
    kModeSol1 = chartModeCode(kKindSolar, kModeSystemEqt),
    kModeSol2 = chartModeCode(kKindSolar, kModeSystemEcl),
    kModeSol3 = chartModeCode(kKindSolar, kModeSystemGal),
    kModeAll1Eqt = chartModeCode(kKindCylindrical, kModeSystemEqt),
    kModeAll1Ecl = chartModeCode(kKindCylindrical, kModeSystemEcl),
    kModeAll1Gal = chartModeCode(kKindCylindrical, kModeSystemGal),
    kModeAll2Eqt = chartModeCode(kKindAitoff, kModeSystemEqt),
    kModeAll2Ecl = chartModeCode(kKindAitoff, kModeSystemEcl),
    kModeAll2Gal = chartModeCode(kKindAitoff, kModeSystemGal),
    kModePlns = chartModeCode(kKindPlanisphere, kModeSystemHrz),
};

// The numbered states of the fields below: the values are those stored in
// the records, written into scenes and read from commands and resources.

// mirror: the orientation of the sky charts and of the horizon.
enum : int32_t {
    kMirrorNormal = 0,
    kMirrorTurned = 1,   // turned through 180 degrees
    kMirrorFlipped = 2,  // left and right swapped
};

// dateStyle (resource DateStyle): the order a date is written in.
enum : int32_t { kDateStyleEnglish = 0, kDateStyleJapanese = 1, kDateStyleEuropean = 2 };

// timeSystem: the clock the chart's date is read in.
enum : int32_t { kTimeSystemLst = 0, kTimeSystemUt = 1, kTimeSystemLmt = 2 };

// playKind, and realTimeMode (the kind a bare CONTINUE plays; any other
// number there plays by the period).
enum : int32_t { kPlayByPeriod = 0, kPlayClock = 1, kPlayClockFromBase = 2 };

// playEndKind.
enum : int32_t { kPlayUntilEnd = 1, kPlayNoEnd = 2 };

// timeLockKind (STIME): sunrise or sunset moved by timeLockValue minutes, or
// the Sun rising or setting through timeLockValue degrees of altitude.
enum : int32_t {
    kTimeLockNone = 0,
    kTimeLockSunriseMinutes = 1,
    kTimeLockSunsetMinutes = 2,
    kTimeLockSunriseDegrees = 3,
    kTimeLockSunsetDegrees = 4,
};

// trackState: what the view centre follows.
enum : int32_t {
    kTrackNone = 0,   // nothing: the view stays where it is
    kTrackLook = 1,   // the LOOK target, once, at the next frame
    kTrackTarget = 2, // the TRACK target, at every frame
};

// hitKind: the PositionKind of the pick, or this when nothing is picked.
constexpr int32_t kHitKindNone = -1;

inline int32_t chartModeKind(int32_t mode) { return mode >> 8; }
inline int32_t chartModeSystem(int32_t mode) { return mode & 0xff; }

// The system bytes the equatorial, ecliptic and galactic charts use.
inline bool isSkySystem(int32_t system) { return system >= kModeSystemEqt && system <= kModeSystemGal; }

// Each of these holds for the listed modes only, never for a code outside them.
inline bool isCylindricalMode(int32_t mode)
{
    return chartModeKind(mode) == kKindCylindrical && isSkySystem(chartModeSystem(mode));
}
inline bool isAitoffMode(int32_t mode)
{
    return chartModeKind(mode) == kKindAitoff && isSkySystem(chartModeSystem(mode));
}
// The azimuthal sky charts but the horizontal one, and the solar-system views
// (the sky routines).
inline bool isSkyRoutineMode(int32_t mode)
{
    const int32_t kind = chartModeKind(mode);
    return (kind == kKindSky || kind == kKindSolar) && isSkySystem(chartModeSystem(mode));
}
// The solar-system views: the kind alone decides.
inline bool isSolarMode(int32_t mode) { return chartModeKind(mode) == kKindSolar; }
// The charts drawn on the horizon (the horizontal chart and the planisphere):
// the system byte alone decides.
inline bool isHorizonMode(int32_t mode) { return chartModeSystem(mode) == kModeSystemHrz; }

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

// catalogLimit of each star source STARDATA chooses, tenths of a magnitude.
constexpr int32_t kCatalogLimitBrightTable = 65; // the built-in bright-star table
constexpr int32_t kCatalogLimitCatalogFile = 95; // the star catalogue file
constexpr int32_t kCatalogLimitGsc = 170;        // the Guide Star Catalog

// A cached Julian date that means "never computed": the next frame computes it.
constexpr double kNeverJd = 40000000.0;
// A body record's detail level coarser than any the ephemeris asks for, with
// the same meaning.
constexpr int32_t kLevelNeverComputed = 9;

constexpr int kClickTextSize = 2048;   // a whole "@TEXT" word of a click-data line

struct ChartState {
    // Widgets and mode
    Widget mainWidget, drawingArea, hScroll, vScroll;
    int32_t mode;                  // ChartMode
    int32_t modeChanged;           // set by MODE, cleared by the canvas refresh
    int32_t mirror;                // kMirror*

    // Date, site and time
    SkyContext sky;
    Mat3 precessionMatrix;
    char siteName[64];
    TimeStep period;
    int32_t playReverse;
    int32_t dateStyle;             // kDateStyle*
    int32_t timeSystem;            // TIMESYS code, kTimeSystem*
    double zoneHours;              // the site's zone, hours
    double lastEphemerisJd;
    XtWorkProcId playWorkProc;     // 0 = none
    XtIntervalId playTimerId;      // 0 = none
    int32_t playing;
    int32_t playEndKind;           // kPlayUntilEnd (playEndJd) or kPlayNoEnd
    int32_t playKind;              // kPlay*
    DateTime playBaseDate;
    double playBaseJd;
    double playEndJd;
    DateTime playEndDate;          // the end date as given, in the zone it was given in
    int32_t realTimeMode;          // REALTIME's first number: kPlay*, or any other
    int32_t realTimeImmediate;
    int32_t realTimeInterval;      // seconds
    int32_t timeLockKind;          // kTimeLock*
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
    int32_t trackKind;             // PositionKind, with kTrackKindLockBit
    int32_t trackIndex;
    int32_t trackState;            // kTrack*
    int32_t skyLevel;              // 0..72
    // The display bytes SHOW, HIDE and TOGGLE set: the keyword group of each
    // byte and its bits are in command/keywords.cpp; the bits the program
    // reads are named below the fields.
    uint8_t starFlags, starLabelFlags, constellationFlags, milkyWayFlags;
    uint8_t nebulaFlags, nebulaTypeFlags, nebulaCatalogFlags, skyFlags;
    uint8_t gridNumberFlags, horizonGridFlags, equatorialGridFlags, otherGridFlags;
    uint8_t lineNumberFlags, userObjectFlags, skyMarkFlags, pictureMarkFlags;
    int32_t clickFlags;            // the pick's quarter and kClick* bits, 0 = no pick shown
    int32_t hitKind, hitIndex;     // PositionKind or kHitKindNone, and its index
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
    uint8_t statusBar;             // kStatusBarShown
    int32_t viewLocked;
    UserObjectFileEntry *userObjectFiles;
    int32_t userObjectFileCount;
    ClickDataEntry *clickDataIndex; // ends with kind kClickDataEnd; null when empty
    char sceneFilePath[256];

    // What the frames keep for the layers (model/chart_frame.h).
    ChartFrameState frame;
};

// ---- bits of the flag fields above ----------------------------------------

// clickFlags: the quarter of the chart the click fell in (1..4) in the low
// byte, and what the click-data file holds for the pick.
constexpr int32_t kClickQuarterMask = 0xff;
constexpr int32_t kClickHasText = 0x100;
constexpr int32_t kClickHasImage = 0x200;

// trackKind: asks the next view-centre update to lock the view's vertical
// placement (the horizontal chart only); cleared there.
constexpr int32_t kTrackKindLockBit = 0x8000;

// starFlags (keyword group 0x0A, STAR).
constexpr uint8_t kStarShown = 0x01;            // STAR
constexpr uint8_t kStarsFromCatalogFile = 0x20; // stars from the catalogue file
constexpr uint8_t kStarsFromGsc = 0x40;         // stars from the Guide Star Catalog
constexpr uint8_t kStarFlagsDefault = kStarShown;
// starLabelFlags (keyword group 0x19).
constexpr uint8_t kStarLabelName = 0x01;        // STARNAME
constexpr uint8_t kStarLabelBayer = 0x02;       // BAYER
constexpr uint8_t kStarLabelFlamsteed = 0x04;   // FLAMSTEED
constexpr uint8_t kStarLabelMag = 0x08;         // STAR_MAG
constexpr uint8_t kStarLabelVariable = 0x10;    // VARIABLE
// skyFlags (keyword group 0x0F).
constexpr uint8_t kSkyDaylight = 0x01;          // DAYLIGHT
constexpr uint8_t kSkyTwilight = 0x02;          // TWILIGHT, GROUNDLIGHT
constexpr uint8_t kSkyMeteors = 0x08;           // METEOR: switches both kinds below
constexpr uint8_t kSkyShowerMeteors = 0x10;     // SWMETEOR
constexpr uint8_t kSkySporadicMeteors = 0x20;   // SCMETEOR
constexpr uint8_t kHorizonShown = 0x40;         // HORIZON
constexpr uint8_t kSkyFlagsDefault =
    kSkyDaylight | kSkyTwilight | kSkyShowerMeteors | kSkySporadicMeteors | kHorizonShown;
// nebulaFlags (keyword group 0x0C).
constexpr uint8_t kNebulaShown = 0x01;          // NEBULA
constexpr uint8_t kNebulaName = 0x02;           // NEBULA_NAME
constexpr uint8_t kNebulaMag = 0x04;            // NEBULA_MAG
// nebulaCatalogFlags (keyword group 0x0E).
constexpr uint8_t kNebulaMessier = 0x01;        // MESSIER
constexpr uint8_t kNebulaNgc = 0x02;            // NGC
constexpr uint8_t kNebulaIc = 0x04;             // IC
constexpr uint8_t kNebulaAllCatalogs = kNebulaMessier | kNebulaNgc | kNebulaIc;
constexpr uint8_t kNebulaCatalogFlagsDefault = kNebulaAllCatalogs;
// The catalogue bit of each deep-sky table: Messier, NGC, IC.
constexpr uint8_t kNebulaCatalogBits[3] = {kNebulaMessier, kNebulaNgc, kNebulaIc};
// nebulaTypeFlags (keyword group 0x0D).
constexpr uint8_t kNebulaPlanetary = 0x01;      // PLANETARY
constexpr uint8_t kNebulaDiffuse = 0x02;        // DIFFUSE
constexpr uint8_t kNebulaTypeSpare = 0x04;      // set by default; names no type
constexpr uint8_t kNebulaGlobular = 0x08;       // GLOBE
constexpr uint8_t kNebulaOpen = 0x10;           // OPEN
constexpr uint8_t kNebulaGalaxy = 0x20;         // GALAXY
constexpr uint8_t kNebulaCompound = 0x40;       // COMPOUND: cluster with nebula
constexpr uint8_t kNebulaAllTypes =
    kNebulaPlanetary | kNebulaDiffuse | kNebulaGlobular | kNebulaOpen | kNebulaGalaxy | kNebulaCompound;
constexpr uint8_t kNebulaTypeAllBits = kNebulaAllTypes | kNebulaTypeSpare;
constexpr uint8_t kNebulaTypeFlagsDefault = kNebulaTypeAllBits;
// The type bit of each deep-sky record type 0..5.
constexpr uint8_t kNebulaTypeBits[6] = {kNebulaPlanetary, kNebulaDiffuse, kNebulaOpen,
                                        kNebulaGlobular,  kNebulaGalaxy,  kNebulaCompound};
// constellationFlags (keyword group 0x0B).
constexpr uint8_t kConsName1 = 0x01;            // CONS_NAME1: abbreviation
constexpr uint8_t kConsName2 = 0x02;            // CONS_NAME2: local name
constexpr uint8_t kConsLine = 0x08;             // CONS_LINE
constexpr uint8_t kConsLimit = 0x20;            // CONS_LIMIT: boundaries
// A scene file writes constellationFlags with this bit set, against this default.
constexpr uint8_t kConsSceneBit = 0x40;
// milkyWayFlags (keyword group 0x1A).
constexpr uint8_t kMilkyWayHidden = 0x02;
constexpr uint8_t kMilkyWayShown = 0x04;        // MILKYWAY
constexpr uint8_t kMilkyWayLowBits = 0x03;      // not written to a scene file
constexpr uint8_t kMilkyWayFlagsDefault = 0x01 | kMilkyWayShown;
// gridNumberFlags (keyword group 0x10): the low two bits hold the GRID mode.
constexpr uint8_t kGridSubdivisionMask = 0x03;  // GRID NORMAL, MODE1..3
constexpr uint8_t kHrzGridNum = 0x04;           // HRZ_GRID_NUM
constexpr uint8_t kEqtGrid2000Num = 0x08;
constexpr uint8_t kEqtGrid1950Num = 0x10;
constexpr uint8_t kEqtGridDateNum = 0x20;
constexpr uint8_t kEclGridNum = 0x40;
constexpr uint8_t kGalGridNum = 0x80;
// horizonGridFlags (keyword group 0x11).
constexpr uint8_t kHrzGrid = 0x01;              // HRZ_GRID
constexpr uint8_t kDirectionLabels = 0x02;      // DIR
constexpr uint8_t kMeridian = 0x04;             // MERIDIAN
constexpr uint8_t kHorizonGridFlagsDefault = kDirectionLabels;
// equatorialGridFlags (keyword group 0x12).
constexpr uint8_t kEqtGrid2000 = 0x01;          // EQT_GRID_2000
constexpr uint8_t kEqtGrid1950 = 0x02;
constexpr uint8_t kEqtGridDate = 0x04;
constexpr uint8_t kEqt2000 = 0x08;              // EQT_2000
constexpr uint8_t kEqt1950 = 0x10;
constexpr uint8_t kEqtDate = 0x20;
// otherGridFlags (keyword group 0x13).
constexpr uint8_t kEclGrid = 0x01;              // ECL_GRID
constexpr uint8_t kEcl = 0x02;                  // ECL
constexpr uint8_t kGalGrid = 0x04;              // GAL_GRID
constexpr uint8_t kGal = 0x08;                  // GAL
constexpr uint8_t kSolGrid = 0x10;              // the solar-system views' axes
// lineNumberFlags (keyword group 0x14).
constexpr uint8_t kMeridianNum = 0x01;          // MRD_NUM
constexpr uint8_t kEqt2000Num = 0x02;
constexpr uint8_t kEqt1950Num = 0x04;
constexpr uint8_t kEqtDateNum = 0x08;
constexpr uint8_t kEclNum = 0x10;
constexpr uint8_t kGalNum = 0x20;
// traceFlags (keyword group 0x16).
constexpr uint8_t kTraceOn = 0x01;              // TRACE: keep the previous frame
// statusBar (keyword group 0x18).
constexpr uint8_t kStatusBarShown = 0x01;       // STATUSBAR
constexpr uint8_t kStatusBarDefault = kStatusBarShown;
// pictureMarkFlags (keyword group 0x1D).
constexpr uint8_t kPictureMarkShown = 0x01;       // PICTUREMARK
// jupiterMoonFlags (keyword group 0x05).
constexpr uint8_t kJmoonShown = 0x01;           // JMOON
constexpr uint8_t kJmoonName = 0x02;            // JMOON_NAME
constexpr uint8_t kJmoonNo = 0x04;              // JMOON_NO
constexpr uint8_t kJmoonFlagsDefault = kJmoonShown;
// The body bytes: sunFlags, moonFlags, earthFlags, planetFlags, cometFlags,
// minorPlanetFlags (set through the object names, not a keyword group).
constexpr uint8_t kBodyDisk = 0x01;             // planets: drawn as a disc; Sun and Moon: OUTLINE
constexpr uint8_t kBodyShown = 0x02;            // the plain name
constexpr uint8_t kBodyName = 0x04;             // _NAME
constexpr uint8_t kBodyMag = 0x08;              // _MAG
constexpr uint8_t kBodyDate = 0x10;             // _DATE
constexpr uint8_t kBodyOrbit = 0x20;            // _OBT
constexpr uint8_t kSunSpots = 0x40;             // SUN_SPOT
constexpr uint8_t kCometDustTail = 0x40;        // DUSTTAIL
constexpr uint8_t kCometIonTail = 0x80;         // IONTAIL
// The defaults a scene file writes each body byte against.
constexpr uint8_t kSunMoonSceneDefault = kBodyDisk | kBodyShown;
constexpr uint8_t kPlanetSceneDefault = kBodyDisk | kBodyShown | kBodyOrbit;
// A comet's and a minor planet's are their bytes when added but with the
// shown bit clear, so that a shown body always gets its SHOW line.
constexpr uint8_t kCometSceneDefault = kBodyDisk | kBodyOrbit | kCometDustTail | kCometIonTail;
constexpr uint8_t kMinorPlanetSceneDefault = kBodyDisk | kBodyOrbit;
constexpr uint8_t kEarthFlagsDefault = kBodyShown | kBodyOrbit;
// userObjectFlags (keyword group 0x17) and skyMarkFlags (keyword group 0x1C).
constexpr uint8_t kUserObjectShownBit = 0x01;   // AD, SKYMARK
constexpr uint8_t kUserObjectNameBit = 0x02;    // AD_NAME, SKYMARK_NAME
constexpr uint8_t kUserObjectFlagsDefault = kUserObjectShownBit | kUserObjectNameBit;

extern ChartState *currentChart;

// The one object currentChart points at.
extern ChartState theChartState;

// Every default of the chart state; at start-up and again by INIT.
void chartStateSetDefaults(ChartState *chart);

// Frees the comet and minor-planet tables (positions, elements, tails, display
// bytes) and each body's orbit outline; the pointers become null and the
// counts 0, so that no count ever describes a freed table.
void chartStateFreeTables(ChartState *chart);
// Each half of it: frees every row's outline and the table; the count becomes 0.
void clearComets(ChartState *chart);
void clearMinorPlanets(ChartState *chart);

// Copies the palette's colour count into skyColourBase, sets backPixmap to
// none and creates gc for the drawing area's window. Needs X: defined in
// render/x/, not in model/ (model links without X).
void chartCreateGC(ChartState *chart);
