// Names of sky objects in the command language and their look-up: bodies,
// comets and minor planets, stars (designations and proper names),
// constellations, deep-sky objects, user objects, sky marks and named points;
// a position (PositionSpec) written back as command text; the automatic star
// limit; the flag helper the command handlers share. The text helpers are in
// model/lexing.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/types.h"
#include "model/lexing.h"

struct ChartState;
struct OrbitalElements;

// ---- flag helpers ----------------------------------------------------------

// Display-bit operations: op 1 (SHOW) sets bits, op 0 (HIDE) clears them,
// op 2 (TOGGLE) sets them when none is set, else clears them all.
enum : int { kFlagHide = 0, kFlagShow = 1, kFlagToggle = 2 };
uint8_t flagCombine(uint8_t value, uint8_t bits, int op);

// ---- body names -------------------------------------------------------------

// ObjectId values.
enum : int32_t {
    kObjectEarth = -3,
    kObjectSun = -2,
    kObjectMoon = -1,
    kObjectMercury = 0,
    kObjectPluto = 7,
    kObjectIo = 8,
    kObjectCallisto = 11,
    kObjectCometBase = 10000,
    kObjectMinorPlanetBase = 20000,
    kObjectGroupPlanets = 100,
    kObjectGroupComets = 101,
    kObjectGroupMinorPlanets = 102,
};

// Name of body id into buf (size len, always terminated): a loaded comet or
// minor planet gives its element record's name field; any other id the
// command-language name ("EARTH" for unknown ids) when commandForm is set,
// else the localized resource text. Returns buf.
char *objectName(ChartState *chart, int32_t id, int commandForm, char *buf, int len);

// The command-language name of a body that is not a comet or minor planet.
const char *bodyCommandName(int32_t id);

// IO, EUROPA, GANYMEDE, CALLISTO or CALLIST (any case) give 0..3; 1 when found.
int findSatelliteByName(ChartState *chart, const char *name, int32_t *moon);

// Object-name forms of the display commands: a body name with an optional
// suffix (_NAME 0x04, _MAG 0x08, _DATE 0x10, _OBT 0x20; SUN_SPOT 0x40),
// COMETn / MINORPLANETn (the n-th loaded comet of type 'C' / minor planet of
// type 'M'), the groups PLANET, COMET, MINORPLANET (ids 100..102) and
// DUSTTAIL / IONTAIL [n] (0x40 / 0x80). A plain name gives bits 0x02.
// Returns 1 with id and bits, 0 when word is no object name.
int parseObjectName(ChartState *chart, const char *word, int32_t *id, uint8_t *bits);

// The inverse of parseObjectName for one bit, in a static 256-byte buffer
// (overwritten by the next call); null when the bit has no name.
const char *objectDisplayName(ChartState *chart, int32_t id, uint8_t bit);

// A body named without a display suffix, else a comet, else a minor planet.
int findObjectByName(ChartState *chart, const char *name, int32_t *id);

// Over the loaded comets (rows of type 'C') / minor planets (rows not of type
// 'N'): the name padded to each field's width is compared, ignoring case, with
// the extension, id, designation and name fields in that order.
int findCometByName(ChartState *chart, const char *name, int32_t *id);
int findMinorPlanetByName(ChartState *chart, const char *name, int32_t *id);

// The first of name, extension, id and designation holding a non-blank
// character, or null.
const char *pickNameField(const OrbitalElements *e);

// The first object of that name (ignoring case; empty names skipped) over the
// chart's user-object files / the application's sky-mark files; index counts
// every record of the files passed, in load order.
int findUserObjectByName(ChartState *chart, const char *name, int32_t *index);
int findSkyMarkByName(ChartState *chart, const char *name, int32_t *index);

// The named sky points.
struct NamedPoint {
    Vec3Q14 point; // J2000 unit vector, Q14
    const char *name;
};
constexpr int32_t namedPointCount = 2;
extern const NamedPoint namedPoints[namedPointCount];

// "LMC" or "SMC", ignoring case: index 0 or 1.
int findTwoEntryName(const char *name, int32_t *index);

// ---- writing an object as command text ---------------------------------------

// 1 when name may go into command text that is room bytes long, NUL
// included: it holds no double quote (it would end a quoted name), no ";",
// CR or LF (they would end the statement) and fits. Every name or path
// written into command text passes it first; null gives 0.
int isSendableName(const char *name, size_t room);

// The text parsePositionSpec reads back, into buf (size len). Returns 1, or
// 0 when kind is not 50..56, the index is out of range, the object cannot be
// named, or the text would not fit.
int formatPositionSpec(ChartState *chart, int32_t kind, int32_t index, char *buf, int len);

// ---- stars ------------------------------------------------------------------

// Greek letter names, entry 0 empty, then "alpha" .. "omega".
extern const char *const greekLetterNames[25];

// 1 with the designation entry of a bright-table row and whether it has a
// proper name; 0 when it has no entry or the index is out of range.
int starDesignationIndex(int32_t star, int32_t *designation, int32_t *hasCommonName);

// Splits a designation entry. Out-of-range entries give all zero.
void starDesignationUnpack(int32_t designation, uint8_t *bayerLetter, uint8_t *bayerNumber,
                           uint8_t *flamsteed, uint8_t *constellation);

// The local proper name of a star (the built-in one before the name file is
// read), or null.
const char *starCommonNameLookup(int32_t star);

// Bayer or Flamsteed designation ("alphaOri", "alpha1Cen", "58Ori"), else a
// proper name. text is upper-cased in place. 1 with the bright-table row.
int parseStarName(char *text, int32_t *star);
int parseBayerName(char *text, int32_t *star);
int parseCommonStarName(char *text, int32_t *star);

// Row 0..87 of constellations by abbreviation, local or Latin name (any
// case), or -1. text is upper-cased in place; null gives -1.
int findConstellation(char *text);

// The last bright-table row not fainter than the chart's starLimit; 0 when
// the limit is below -1.5 (no stars), else 1.
int starLastIndexForLimit(ChartState *chart, int32_t *last);

// ---- deep-sky objects -------------------------------------------------------

// "M31", "NGC224", "N224", "IC434", "I434" (any case; trailing text ignored):
// 1 with the combined nebula index.
int parseNebulaName(const char *text, int32_t *index);
int nebulaCount();
// J2000 right ascension and declination, degrees; 0 for an index out of range.
int nebulaPosition(int32_t index, double out[2]);
// The localized name of a deep-sky type; "" for an unknown type. Returns buf.
char *nebulaTypeName(int32_t type, char *buf, int32_t len);

// ---- star limit and field of view -----------------------------------------------

// The automatic star limit (tenths) for the chart's field and sky.
int32_t viewAutoStarLimit(ChartState *chart);
// Before each frame: a fixed limit becomes an offset to the automatic one.
void viewApplyStarLimit(ChartState *chart);
// Sky charts only: caps the vertical field at 110 degrees (HRZ) or 180.
int viewClampFieldOfView(ChartState *chart, int apply);
// The widest field the chart allows, degrees, rounded to 0.1.
double viewMaxFieldOfView(ChartState *chart);
