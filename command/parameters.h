// Reading command parameters: numbers as the handlers take them.
#pragma once

#include <cstdint>

// A decimal integer: leading blanks skipped, reading stops at the first
// character that does not fit, no digits gives 0; clamped to the int32 range.
int32_t stkParamInt(const char *text);

// A decimal number read the same way; no number gives 0.0.
double stkParamReal(const char *text);

// A magnitude typed in a command as tenths: 10 x the number, truncated toward
// zero (4.5 gives 45, -0.55 gives -5), clamped to the int32 range.
int32_t stkParamTenths(const char *text);

// A required integer parameter in lo..hi: 1 and *value, or 0 after
// stkErrorIllegalParam (no text when it is missing, else with the text).
int stkParamIntInRange(const char *text, int32_t lo, int32_t hi, int32_t *value);

struct KeywordEntry;

// A keyword parameter looked up on a copy (stkLookupKeywordCopy), so that an
// error shows the word as typed. 1 and *code, or 0 after stkErrorIllegalParam
// with the text (no text when it is missing).
int stkParamKeyword(const char *text, const KeywordEntry *table, int32_t *code);
