// The options file in the per-user directory: lines "Key = Value".
//
// Reading: a line matches a key when it begins with the key (any case),
// then optional white space and "="; white space after "=" and at the end of
// the value (CR and LF included) is dropped. Lines are read up to 255
// characters; the tail of a longer line is skipped, never read as a line of
// its own. The first matching line counts.
//
// Writing one option replaces every line the reader would match (so the
// value set is the value read back), keeps every other byte, and appends the
// key when no line has it. Writing the whole file puts the keys in their fixed
// order. Both go through "<file>.$NEW$", check every write and the
// close, and only then rename it over the old file.
#pragma once

#include <cstdio>

// Longest options line read, without the newline.
constexpr int kOptionsLineMax = 255;

// The value of `key` in `file` (read from its current position) into
// dst[len]. Returns 1, or 0 with dst empty when the key is missing or its
// value has len or more characters.
int optionsFindValue(FILE *file, const char *key, char *dst, int len);

// The options file of a per-user directory: userDir + "/options" into
// dst[len]. Returns 0 (dst empty) when userDir is empty or the path does not
// fit.
int optionsFilePathIn(char *dst, int len, const char *userDir);

// Getters on a named options file: a missing file or key gives the default.
// Bool: "TRUE"/"YES" 1, "FALSE"/"NO" 0 (any case); ints are whole decimal
// values; both take values of at most 31 characters.
int optionsFileGetBool(const char *path, const char *key, int dflt);
int optionsFileGetInt(const char *path, const char *key, int dflt);
int optionsFileGetString(const char *path, const char *key, char *dst, int len);

// Writes `key` = `value` into the options file at `path` (created when
// missing). Returns 1, or 0 with the old file untouched when the temporary
// cannot be made or written, or when the value holds a line break.
int optionsFileSet(const char *path, const char *key, const char *value);

// Everything the whole options file records, in writing order.
struct OptionValues {
    int toolbarShown;               // Toolbar
    int tipHelp;                    // TipHelp
    int confirmQuit;                // ConfirmQuit
    int confirmInit;                // ConfirmInit
    const char *stlFileIoPath;      // StlFileIoPath
    const char *saveImagePath;      // SaveImagePath
    const char *userObjectFilePath; // UserObjectFilePath
    const char *gscPath;            // GscDataPath
    const char *siteName;           // SiteName, written only when non-empty
    const char *geometry;           // Geometry, the same
    const char *locale;             // Locale, the same
    const char *tz;                 // TZ, the same
    int socketPort;                 // SocketPort
    const char *socketAddress;      // SocketAddress, written only when non-empty
};

// Writes the whole options file at `path`. Returns 1, or 0 with the old
// file untouched.
int optionsWriteFile(const char *path, const OptionValues *values);

// The same on the options file of the application record's userDir.
int optionsFilePath(char *dst, int len);
int optionGetBool(const char *key, int dflt);
int optionGetInt(const char *key, int dflt);
int optionGetString(const char *key, char *dst, int len);
int optionSet(const char *key, const char *value);
// Writes the whole file from the application record; 0 when userDir is
// empty or the file cannot be written.
int optionsWriteAll();
