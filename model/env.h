// The user's environment: home directories, "~" expansion, the per-user
// directory, file copies, the PATH search and the choice of the locale.
// No X here; the X side of the locale lives in ui/env_resources.
#pragma once

#include <cstdio>

// Size of every path buffer of the application record.
constexpr int kEnvPathSize = 256;

// Looks up the home directory of `user` (null: the current user) into
// dst[len]. Returns 1, or 0 with dst empty when the user is unknown or the
// directory does not fit.
using EnvHomeLookup = int (*)(const char *user, char *dst, int len);

// Replaces the user-database look-up; null restores it. Tests point it at a
// table so that they never see the real home directories.
void envSetHomeLookup(EnvHomeLookup lookup);

// Home directory of `user`, or of the current user when `user` is null.
// Returns 1, or 0 with dst empty when the user is not in the user database.
// Notes: the current user's home comes from the user database, not from
// $HOME; the environment variable TAVIK_HOME, when set and non-empty, stands
// in for it (so test runs and scripted runs keep away from ~/.tavik).
int envHomeDir(char *dst, int len, const char *user);

// Copies `path` into out[outSize], expanding a leading "~" (alone or before
// "/": the current user's home) or "~name" (up to the next "/": that user's
// home). A "~name" of an unknown user is left as it is.
// Returns out, or null with out empty when the expansion does not fit:
// a cut path must never be opened or written in place of the one meant.
char *envExpandTilde(const char *path, char *out, int outSize);

// Fills dir (home + "/.tavik") and rcPath (dir + "/tavikrc") and creates the
// directory with mode 0755. Returns 1 when it exists or was made, else 0 with
// both paths empty.
int envMakeUserDir(char *dir, int dirSize, char *rcPath, int rcSize);

// Copies `from` to `to` in blocks of 16384 bytes, through "<to>.$NEW$" renamed
// over `to` at the end. Returns 1, or 0 when either file cannot be opened or
// a block is not read or written whole (the partial copy is removed and `to`
// is left as it was).
int envCopyFile(const char *from, const char *to);

// 1 when the first word of `commandLine` (up to the first blank) names an
// executable regular file in one of the directories of PATH (a word with a
// "/" in it is taken as it stands).
int envProgramOnPath(const char *commandLine);

// Appends "." and `code` to path[len] when `code` is non-empty, the result
// fits and that file is readable; otherwise path is left as it is.
void envLocalizedPathFor(char *path, int len, const char *code);

// envLocalizedPathFor with the application record's languageCode.
void envLocalizedPath(char *path, int len);

// dst = a + b into dst[size]. Returns 1, or 0 with dst empty when it does
// not fit.
int envJoinPath(char *dst, int size, const char *a, const char *b);

// User files are replaced through a temporary. envReplacementPath gives the
// temporary "<file>.$NEW$" beside the file that `path` finally names (a
// symbolic link's target, so the link stays a link); 0 with dst empty when it
// does not fit, or when the file exists and may not be replaced: it is not a
// regular file, or the user cannot read it (its contents were never in force
// and would be lost) or write it (a read-only file stays as it is, for root
// too). envFinishReplacement gives the temporary the old file's mode and,
// where possible, its owner, flushes, syncs and closes `out` (the
// temporary's stream) and, when `ok` and all of that worked, renames it over
// that file; otherwise it removes the temporary and the file keeps its old
// text. Returns 1 when the file holds the new text.
int envReplacementPath(char *dst, int size, const char *path);
int envFinishReplacement(FILE *out, int ok, const char *temp, const char *path);

