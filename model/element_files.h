// Element files of comets and minor planets: fixed-column lines, one body a
// line, their parsing into OrbitalElements, reading a body by name through
// the name index, finding a body's line in a scene's ORBIT block, and the
// chart's comet and minor-planet tables.
//
// Line columns (from 0): 0 type C/M/N; 2-7 id; 9-18 designation; 20-49 name;
// 51-54 perihelion year, 55-56 month, 57-65 day; 67-76 e; 78-88 q (AU);
// 90-99 argument of perihelion, 101-110 node, 112-121 inclination (degrees);
// optional 123-128 equinox (2000), 130-135 H (6), 137-141 K (10), 143-146
// dust-tail length (0.01), 148-151 ion-tail length (0.01), 153-155 dust
// parameter (1); 188-202 extension name. A line ends at its newline (a
// carriage return before it is dropped); columns past its end are blank.
#pragma once

#include <cstdint>
#include <cstdio>

#include "astro/orbit_records.h"
#include "model/chart_state.h"

struct ChartState;

// Characters of a line that count (a 205-byte line holds 204 and '\n').
constexpr int kElementLineChars = kElementLineSize - 2;
// A line must reach the inclination's last column.
constexpr int kElementLineMinChars = 122;

// The four key fields of a line, in the order they are stored.
enum ElementKeyField { kKeyExtension, kKeyDesignation, kKeyId, kKeyName, kElementKeyFields };
// A key holds at most 30 characters (the name) and its terminator.
constexpr int kElementKeySize = 31;

/*
 * parseElementLine: one element line into a record.
 * Given:    line  text of one line, with or without its newline (a carriage
 *                 return or newline ends it; characters after column 203 are
 *                 not read)
 * Returned: out   every field; lineText the line exactly as given, cut at its
 *                 carriage return or newline (at most 204 characters), the
 *                 text a scene's ORBIT block carries
 *           int   1; 0 when the type is not C, M or N, the line ends before
 *                 column 122, a required number is missing or not finite, an
 *                 optional one is not a finite number, q <= 0, e < 0 or the
 *                 month is outside 1..12 (out then unspecified)
 */
int parseElementLine(OrbitalElements *out, const char *line);

// A line in its fixed columns: cut at its carriage return or newline,
// blank-padded to 204 characters, '\n', terminator. Two lines are the same
// body's when these agree (a scene of older versions padded its lines).
void elementLineColumns(const char *line, char text[kElementLineSize]);

// Field `field` of a line cut to its columns, blanks trimmed at both ends and
// upper-cased in ASCII (the locale's case rules never apply) into key; an
// empty field gives "". `line` is in its fixed columns (elementLineColumns).
void elementLineKey(const char *line, ElementKeyField field, char key[kElementKeySize]);

// The next whole line of an element file in its fixed columns (see
// elementLineColumns; the rest of a longer line is skipped). *bytes is its
// length in the file with its line end. 0 at the end of the file.
int readElementFileLine(FILE *f, char text[kElementLineSize], int64_t *bytes);

// The same normalisation for a name typed by a user or read from a scene.
void elementNormaliseKey(const char *text, char key[kElementKeySize]);

// Reads the line that starts at byte `offset` of elementFile and parses it;
// 1 on success.
int readElementRecordAt(const char *elementFile, int64_t offset, OrbitalElements *out);

/*
 * readElementRecord: the body whose line has `key` among its four keys.
 * Given:    key  in its stored form (trimmed, upper case); reserved 0
 * Returned: out  the record; 1 found, 0 not found or unreadable
 *           offsetOut (when not null) the line's offset
 * Notes:    An index whose answer is not a line carrying the key (or that
 *           cannot be read) is rebuilt once per run and asked again.
 */
int readElementRecord(const char *key, int reserved, OrbitalElements *out, const char *elementFile,
                      const char *indexFile, int64_t *offsetOut = nullptr);

// A scene's first ORBIT block, read once for a whole STL: every element
// line under its header's name, in file order.
struct OrbitBlock;

/*
 * readOrbitBlock: the first ORBIT block of a scene file.
 * Given:    scene  an open scene file; read from its start, its position is
 *                  restored
 * Returned: the block (freeOrbitBlock frees it), null when memory runs out
 * Notes:    A block begins at a line "BLOCK" + blanks + "ORBIT" and ends at
 *           "END" + blanks + "BLOCK" (any case). A line beginning with ":"
 *           is a header; the line after it is its element line. Lines are
 *           cut at their carriage return or newline; other lines (the empty
 *           ones older versions wrote) are skipped.
 */
OrbitBlock *readOrbitBlock(FILE *scene);
void freeOrbitBlock(OrbitBlock *block);

/*
 * findOrbitBlockLine: a body's element line in a scene's ORBIT block.
 * Given:    block  as readOrbitBlock gave it
 *           name   the body's name; compared whole, blanks trimmed, any case
 *           type   'C' or 'M': only headers whose element line has this type count
 *           occurrence  1 for the first header of that name and type, 2 for
 *                  the second ...
 * Returned: buf[size] the element line without its line end; 1 found, else 0
 */
int findOrbitBlockLine(const OrbitBlock *block, const char *name, char type, int occurrence, char *buf, int size);

// Adds a body to the chart's comet (minor-planet) table: display byte 0xE2
// (0x22), stamps cleared, orbit outline made. 1; 0 when memory runs out,
// and then the whole table is emptied.
int addComet(ChartState *chart, const OrbitalElements *el);
int addMinorPlanet(ChartState *chart, const OrbitalElements *el);

// Frees every row's outline and the table; the count becomes 0.
void clearComets(ChartState *chart);
void clearMinorPlanets(ChartState *chart);

// Display bytes of a body just added.
constexpr uint8_t kCometAddedFlags = kBodyShown | kBodyOrbit | kCometDustTail | kCometIonTail;
constexpr uint8_t kMinorPlanetAddedFlags = kBodyShown | kBodyOrbit;
