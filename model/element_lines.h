// The lines of comet and minor-planet element files: fixed columns, one body
// a line, their parsing into OrbitalElements and their name keys.
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
