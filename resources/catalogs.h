// The built-in catalogue tables: bright stars with their designations and
// names, constellations, the Milky Way, the deep-sky catalogues and the zones
// of the star catalogue file. Defined in resources/catalog_*.cpp, which
// tools/gen_catalogues.py writes from public catalogues (data/SOURCES.md).
#pragma once

#include <cstdint>

#include "astro/types.h"

// ---- bright stars -------------------------------------------------------

// One bright star: J2000 equatorial unit vector in Q14 and a packed word:
// bits 8..31 magnitude x 10 + 20, bits 4..7 colour class 0..9, bit 3 the star
// has a proper name (a starNames row), bits 0..2 zero. The row number is the
// star index that names, designations and position specifications use.
struct BrightStar {
    int32_t x, y, z;
    uint32_t packed;
};

constexpr int32_t brightStarCount = 9120;
extern const BrightStar brightStars[brightStarCount]; // brightest first

constexpr uint32_t brightStarHasName = 0x08;
inline int32_t brightStarMag10(const BrightStar &s) { return static_cast<int32_t>(s.packed >> 8) - 20; }
inline int32_t brightStarColourClass(const BrightStar &s) { return static_cast<int32_t>((s.packed >> 4) & 15); }

// Designation bit map: word w covers star indices 16w..16w+15, most
// significant bit first; countBefore is the number of set bits in all earlier
// words, so a star's entry is countBefore + (set bits up to its own) - 1.
struct DesignationWord {
    uint16_t bits;
    uint16_t countBefore;
};

constexpr int32_t designationWordCount = 1214; // star indices 0..19423
extern const DesignationWord designationWords[designationWordCount];

// Entries of 3 bytes: byte 0 Greek letter (1 alpha .. 24 omega) in bits 7..3
// and bits 3..1 of the superscript number in bits 2..0; byte 1 bit 0 of the
// superscript in bit 7 and the constellation row (0..87) in bits 6..0; byte 2
// the Flamsteed number (0 none).
extern const int32_t designationEntryCount;
extern const uint8_t designationEntries[][3];

// Number of bright stars not fainter than each limit 0.0 .. 6.4 (tenths).
constexpr int32_t starLimitCountSize = 65;
extern const int32_t starLimitCounts[starLimitCountSize];

// Proper names; localName is filled from the star-name file at start-up.
struct StarNameEntry {
    int32_t index;           // row of brightStars
    char *localName;         // owned once loaded; null before
    const char *builtinName;
};

constexpr int32_t starNameCount = 249;
extern StarNameEntry starNames[starNameCount + 1]; // ends with a null row

// ---- constellations and the Milky Way -------------------------------------

struct ConstellationEntry {
    Vec3Q14 point;           // J2000 label point
    const char *abbreviation;
    char *localName;         // from the constellation-name file; null before
    const char *latinName;
};

// 88 constellations and a second "Ser" (Serpens Cauda) as row 88; look-ups
// by name search rows 0..87 only. An all-zero row ends the table.
constexpr int32_t constellationCount = 89;
constexpr int32_t constellationSearchCount = 88;
extern ConstellationEntry constellations[constellationCount + 1];

// Stick figures: rows of brightStars; bit 15 starts a polyline (pen up).
constexpr int32_t constLinePenUp = 0x8000;
extern const int32_t constLineStarCount;
extern const int32_t constLineStars[];

// Boundaries: flag > 0 starts a polyline at the point (the flag is the
// outlined constellation's row + 1; Serpens Cauda is row 88), 0 continues it,
// < 0 ends the table. Every polyline is closed (its last point is its first).
struct ConstBorderPoint {
    int32_t flag;
    Vec3Q14 point;
};

extern const int32_t constBorderCount; // point records before the end record
extern const ConstBorderPoint constBorders[];

// Six outlines, each ended by a (0, 0, 0) point.
constexpr int32_t milkyWayOutlineCount = 6;
extern const int32_t milkyWayPointCount; // including the six end points
extern const Vec3Q14 milkyWayOutlines[];

// ---- deep-sky objects -----------------------------------------------------

// bits 8..31 magnitude x 10 (255 unknown), bits 0..7 type; number: catalogue
// number in bits 0..12 with the catalogue flags; size in arcminutes x 10
// (65535 unknown).
struct NebulaRecord {
    uint32_t magType;
    int32_t number;
    int32_t size;
};

enum NebulaType : int32_t {
    nebulaPlanetary = 0,
    nebulaDiffuse = 1,
    nebulaOpenCluster = 2,
    nebulaGlobular = 3,
    nebulaGalaxy = 4,
    nebulaCompound = 5,
};

constexpr int32_t nebulaFlagMessier = 0x8000;
constexpr int32_t nebulaFlagNgc = 0x4000;
constexpr int32_t nebulaFlagIc = 0x2000;
constexpr int32_t nebulaNumberMask = 0x1FFF;
constexpr int32_t nebulaMagUnknown = 255;
constexpr int32_t nebulaSizeUnknown = 65535;

// Messier 0..106, NGC 107..7146, IC 7147..10008; each sorted by magnitude,
// unknown magnitudes last.
constexpr int32_t nebulaCatalogCount = 3;
constexpr int32_t nebulaCounts[nebulaCatalogCount] = {107, 7040, 2862};
constexpr int32_t nebulaFirst[nebulaCatalogCount] = {0, 107, 107 + 7040};
constexpr int32_t nebulaTotalCount = 107 + 7040 + 2862;
constexpr char nebulaCatalogLetters[] = "MNI";
extern const NebulaRecord nebulaRecords[nebulaTotalCount];
extern const Vec3Q14 nebulaPositions[nebulaTotalCount];

inline int32_t nebulaMag10(const NebulaRecord &r) { return static_cast<int32_t>(r.magType >> 8); }
inline int32_t nebulaType(const NebulaRecord &r) { return static_cast<int32_t>(r.magType & 0xFF); }

// ---- star catalogue file ----------------------------------------------------

// The file: the 16-byte magic (no terminator), then 12-byte little-endian
// records {int16 x, y, z (Q14); uint16 packed (high byte magnitude x 10 + 20,
// bits 4..7 colour class); int32 catalogue number}, zone after zone, each
// zone brightest first.
constexpr char saoMagic[] = "TAVIK  30 SAO 10";
constexpr int32_t saoMagicSize = 16;
constexpr int32_t saoRecordSize = 12;

struct SaoZone {
    int32_t offset;  // file offset of the zone's first record
    double raDeg;    // zone centre, J2000
    double decDeg;
    double radiusDeg;
};

// 54 zones and an end row holding the file's end offset.
constexpr int32_t saoZoneCount = 54;
extern const SaoZone saoZones[saoZoneCount + 1];
