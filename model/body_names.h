// Names of the bodies, comets, minor planets, user objects, sky marks and
// named points, and their look-up over the chart's loaded tables.
#pragma once

#include <cstdint>

#include "astro/body_records.h"
#include "astro/types.h"

struct ChartState;
struct OrbitalElements;

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

// The ordinal (1 for the first) of row i among the rows of that type; 0 when
// row i is of another type.
int32_t ordinalOfRow(const OrbitalElements *rows, int32_t i, char type);
