// Reading user-object and sky-mark files: LOAD AD, UNLOAD AD and the sky
// marks read at start-up.
#pragma once

#include <cstdint>

#include "model/user_object_records.h"

struct ChartState;

// ---- reading user-object and sky-mark files --------------------------------------

constexpr int kUserObjectLineMax = 79;    // characters of a line, without its end
constexpr int kUserObjectMaxWords = 20;
constexpr int32_t kUserObjectWhite = 15;  // the colour number every unknown colour reads as

// What a file's earlier lines set for the later ones.
struct UserObjectReadState {
    int32_t epoch;       // PositionKind of bare coordinates: kPosEqt at the start
    int32_t linePattern; // LINE dash pattern, 0xFFFF (solid) at the start
    int32_t lineColour;  // LINE colour number, white at the start
    int32_t colour;      // object colour number, 2 at the start
};
void userObjectReadStateInit(UserObjectReadState *state);

// Splits a line (changed in place) into at most kUserObjectMaxWords words
// with the command tokenizer; an empty word is absent (null), and an absent
// second word lets the later ones move up by one. Returns the number of
// places filled (absent ones included).
int userObjectSplitLine(char *line, char *words[kUserObjectMaxWords]);

// The result of one line: nothing (EPOCH), one entry, or malformed.
enum { kUserObjectLineMalformed = -1, kUserObjectLineNoEntry = 0, kUserObjectLineEntry = 1 };

// One line's words (null = absent; words may be changed in place): fills
// *out and updates *state. Names are looked up on chart (stars, constellations,
// deep-sky objects, loaded user objects and sky marks). Malformed: an unknown
// first word or position, a number that is not a finite value of its field
// ("1e30" as a class, "nan", a pattern beyond 32 bits) or a name that command
// text could not carry.
int userObjectParseWords(ChartState *chart, char *const words[], int count, UserObjectReadState *state,
                         UserObject *out);

// How a loader reports: as the running command's error (LOAD AD: the reply
// of a TCP client) or in a warning box (start-up).
enum UserObjectReport { kUserObjectReportBox = 0, kUserObjectReportCommand = 1 };

/*
 * loadUserObjectFile: reads the file at path and appends it to *list.
 * Returned: 1 when appended; 0 when the path is already among the chart's
 *           user-object files (nothing reported), when it cannot be read, or
 *           when a line is malformed (reported with the file and the 1-based
 *           line) or the file has no entry (reported): then nothing is added.
 * Notes:    The entry joins the list only when its table is complete, so a
 *           name looked up during the load never walks a half-built table.
 */
int loadUserObjectFile(ChartState *chart, const char *path, UserObjectFileEntry **list, int32_t *count,
                       UserObjectReport report);

// Removes the chart's user-object file with that path (exact comparison):
// its table is freed and later files move up. A pick or a LOOK/TRACK target of
// a user object is dropped, since the running indexes of the later files
// shift. 1 when a file was removed.
int unloadUserObjectFile(ChartState *chart, const char *path);

// Reads the sky-mark file of the application record (start-up); 1 when read.
int loadSkyMarks(ChartState *chart);

// Frees every user-object table of the chart and the list itself; the list
// and its count are then null and 0. The tables and the list are malloc'd.
// A user-object pick or target is dropped.
void unloadUserObjects(ChartState *chart);
