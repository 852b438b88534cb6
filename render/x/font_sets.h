// The 17 font sets of chart labels and the core symbol font of Bayer
// letters, created from their resources (rows in render/palette.h).
#pragma once

#include <X11/Xlib.h>

#include "render/palette.h"

// The charsets the font sets missed, gathered instead of printed, so that
// the locale fallback can say once what it falls back from: each name once,
// blank-separated, cut to the buffer.
struct MissingCharsets {
    char names[256];
    int count;          // above 0 when any charset was missing
};

// Fetches the font-set names and StarBayerFont from the top-level widget's
// resources and loads them; 1 when every font set has all its charsets and
// the symbol font loaded. Missing charsets are printed on standard error, or
// only gathered into *quiet when it is given.
int loadFontSets(MissingCharsets *quiet = nullptr);

// The loading itself from given names (tests; null or empty names count as
// missing without asking the X library, which aborts on an empty name).
int loadFontSetsFrom(Display *display, const char *const names[kFontSetCount], const char *bayerFontName,
                     MissingCharsets *quiet = nullptr);

// Frees the font sets and unloads the symbol font (quit path).
void freeFontSets();

// Largest logical height of DirNameFontset (0 when it did not load).
int dirFontHeight();

// The loaded symbol font, or null.
XFontStruct *bayerFontStruct();
