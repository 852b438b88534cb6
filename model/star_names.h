// Star designations and proper names, and constellation names.
#pragma once

#include <cstdint>

// Greek letter names, entry 0 empty, then "alpha" .. "omega".
extern const char *const greekLetterNames[25];

// 1 with the designation entry of a bright-table row and whether it has a
// proper name; 0 when it has no entry or the index is out of range.
int starDesignationIndex(int32_t star, int32_t *designation, int32_t *hasCommonName);

// Splits a designation entry. Out-of-range entries give all zero.
void starDesignationUnpack(int32_t designation, uint8_t *bayerLetter, uint8_t *bayerNumber,
                           uint8_t *flamsteed, uint8_t *constellation);

struct StarNameEntry;
// A star-name row's name: the local one once the name file is read, else the
// built-in one.
const char *starNameText(const StarNameEntry &e);

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
