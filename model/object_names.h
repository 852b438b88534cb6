// The flag helper of the display commands and the digit reader the name
// look-ups share; the text helpers are in model/lexing.h.
#pragma once

#include <cstdint>

#include "model/lexing.h"

// Display-bit operations: op 1 (SHOW) sets bits, op 0 (HIDE) clears them,
// op 2 (TOGGLE) sets them when none is set, else clears them all.
enum : int { kFlagHide = 0, kFlagShow = 1, kFlagToggle = 2 };
uint8_t flagCombine(uint8_t value, uint8_t bits, int op);

// Reads the decimal digits at p (at least one, the value held below 10^9);
// end points past them. 0 when p holds no digit.
int readNumber(const char *p, long *n, const char **end);
