// A parsed position or object reference, as commands, user-object files and
// the click-data file name a place on the sky.
#pragma once

#include <cstdint>

#include "model/lexing.h"
#include "model/position_kind.h"

struct PositionSpec {
    int32_t kind;  // PositionKind
    int32_t index;
    double value1, value2;
};

struct ChartState;
struct Vec3;

// The keywords of a PositionSpec (PositionKind codes), in the order
// the scene writer names them; stkKeywordName gives the text of a kind.
extern const KeywordEntry positionKeywords[];

// The longest coordinate text the equatorial HHMM.m rule reads; a longer one
// fails the parse.
constexpr int kPositionTextSize = 48;

/*
 * parsePositionSpec: a PositionSpec from a keyword or name and the
 * one or two texts after it.
 * Given:    word     the keyword or name; upper-cased in place
 *           lonText  the next text or null; latText the one after or null
 * Returned: 1 with kind, index, values and wordsUsed (1, 2 or 3 of word,
 *           lonText, latText taken); 0 when it is none.
 * Notes:    A bare Galilean moon's name switches the moons' display on.
 *           Equatorial right ascensions are hours: with more than two
 *           characters before the ".", lonText is HHMM.m and latText DDMM.m
 *           (-3015 is -30.25 degrees), else decimal hours and degrees. An
 *           omitted value keeps the view centre's. Values that are not
 *           finite, a latitude beyond 90 degrees, a pixel outside 16 bits or
 *           SCREEN without both numbers fail.
 */
int parsePositionSpec(ChartState *chart, char *word, const char *lonText, const char *latText, int32_t *kind,
                      int32_t *index, double values[2], int32_t *wordsUsed);

// parsePositionSpec, then the implicit kinds CONS, STAR, NEBULA, AD and
// SKYMARK with word as their argument (wordsUsed then counts word once).
int parsePositionSpecAny(ChartState *chart, char *word, const char *lonText, const char *latText, int32_t *kind,
                         int32_t *index, double values[2], int32_t *wordsUsed);

/*
 * resolvePositionSpec: the direction of a PositionSpec.
 * Returned: the coordinate system of out (1 to 6) with out = longitude,
 *           latitude in degrees; 58 for a screen point (out unchanged); 0 when
 *           the PositionSpec has no direction (out unchanged): an unknown
 *           kind or index, the Earth, the Galilean moons as bodies (ids 8 to
 *           11: kind 54 names them) or a user-object or sky-mark index past
 *           the loaded files.
 */
int resolvePositionSpec(ChartState *chart, int32_t kind, int32_t index, double value1, double value2, double out[2]);

struct UserObject;
struct UserObjectFileEntry;
struct Vec3Q14;

// The catalogue direction of a star (50), constellation label (52), deep-sky
// object (53), Galilean moon (54) or named point (56), J2000 Q14: 1, or 0 for
// another kind or an index out of range.
int positionObjectVector(const ChartState *chart, int32_t kind, int32_t index, Vec3Q14 *out);

// The row a running index names over loaded user-object or sky-mark files
// (each file's count subtracted in load order); null past the last file.
const UserObject *userObjectFileRow(const UserObjectFileEntry *files, int32_t fileCount, int32_t index);

// Moves the view centre to the LOOK/TRACK target (the frame's target step).
void updateViewCenterFromTarget(ChartState *chart);

// A pixel packed into one int as y x 65536 + x, both signed 16-bit, so a
// point left of or above the window keeps its sign. Every packer and
// unpacker uses these two.
int32_t screenPointPack(int32_t x, int32_t y);
void screenPointUnpack(int32_t xy, int32_t *x, int32_t *y);

/*
 * screenToSky: the J2000 unit vector under a chart pixel, for every chart
 * mode and orientation (the inverse of the projections).
 * Given:    xy  screenPointPack(x, y)
 * Returned: 1 and out; 0 when the pixel is off the map (outside the Aitoff
 *           ellipse, beyond the cylindrical map's poles or sides) or the
 *           mode has no projection.
 * Notes:    The equatorial whole-sky maps are drawn in the equator of date.
 */
int screenToSky(const ChartState *chart, int32_t xy, Vec3 *out);
