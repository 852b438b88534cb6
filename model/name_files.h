// The localised constellation-name and star-name files: one name a line, in
// the order of the built-in tables (resources/catalogs.h). Read once at
// start-up; a row without a line keeps its built-in name.
#pragma once

#include <cstdio>

// Longest name kept from a line, in bytes; the rest of a longer line is
// skipped, so it never shifts the later names by a row.
constexpr int kNameLineSize = 128; // 127 characters and the terminator

// Longest line a name file may have, in bytes: a file with a longer one is
// not a name file (a file without line ends, /dev/zero), and is read no
// further, so that start-up never hangs on it.
constexpr int kNameLineReadMax = 4096;

// Reads one line of f into buf (size len, len >= 1), without its newline and
// cut to len - 1 characters; the rest of an over-long line is read and
// dropped. 0 at the end of the file (buf empty), -1 when no line end came
// within kNameLineReadMax bytes (buf holds the cut name), else 1.
int readNameLine(std::FILE *f, char *buf, int len);

// From appData->constNameFile / starNameFile (the built-in names when the
// file cannot be opened).
void loadConstNames();
void loadStarNames();
// The same from a given path (tests; start-up uses the two above).
void loadConstNamesFrom(const char *path);
void loadStarNamesFrom(const char *path);

// Free every local name read from a file; the rows go back to none.
void freeConstNames();
void freeStarNames();
