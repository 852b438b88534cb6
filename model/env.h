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

// The built-in locale, used when nothing names one and as the fallback.
extern const char kEnvDefaultLocale[];

// The locale to use, into buf[len] (at most len - 1 characters): the first
// argument beginning with "--lang=" or "-l=", else `localeOption` when
// non-empty, else the first of TAVIK_LOCALE, LC_CTYPE, LC_ALL and LANG that
// is set and non-empty, else kEnvDefaultLocale.
void envChooseLocaleFrom(char *buf, int len, int argc, char **argv, const char *localeOption);

// The same with the option Locale read into the application record's
// localeOption first.
void envChooseLocale(char *buf, int len, int argc, char **argv);

// Sets `chosen` for character classification. On failure prints
// "tavik: can't set locale %s." on err, and when kEnvDefaultLocale can be set
// instead, switches to it and adds " Fallback to default (%s)."; the line
// ends with a newline. Returns the name in effect (the fallback when it was
// taken, else `chosen`).
const char *envSetCharLocale(const char *chosen, FILE *err);

// Exports `name` as LANG (overwriting) and stores it as the application
// record's localeName with its languageCode.
void envStoreLocale(const char *name);

// The first two letters of `localeName` when it has at least three
// characters and an underscore as its third, else empty ("ja_JP.eucJP"
// gives "ja"; "C", "C.UTF-8" and "ja" give "").
void languageCode(const char *localeName, char code[3]);

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

