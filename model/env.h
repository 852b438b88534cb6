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

// User files are replaced through a temporary "<file>.$NEW$" beside the
// file that the path finally names (a symbolic link's target, so the link
// stays a link), renamed over it once it is whole.
// The longest target a chain of links may name.
constexpr int kEnvLinkTargetSize = kEnvPathSize * 4;
struct EnvReplacement {
    char temp[kEnvLinkTargetSize + 8]; // the target + ".$NEW$"
    FILE *out;                         // the temporary, open for writing
};

// Makes r->temp and creates the temporary (r->out). 0 (nothing made, r->out
// null) when the path does not fit, when the file exists and may not be
// replaced (it is not a regular file, or the user cannot read it: its
// contents were never in force and would be lost; or cannot write it: a
// read-only file stays as it is, for root too), or when the temporary
// cannot be created.
int envStartReplacement(EnvReplacement *r, const char *path);

// Gives the temporary the old file's mode and, where possible, its owner,
// flushes, syncs and closes r->out and, when `ok` and all of that worked,
// renames the temporary over the file; otherwise it removes the temporary
// and the file keeps its old text. Returns 1 when the file holds the new
// text. Whatever else wrote the temporary (through its own descriptor) must
// have closed it first: the sync then covers its bytes too.
int envFinishReplacement(EnvReplacement *r, int ok);

// Room for the start of a line that envRewriteLines hands to its editor.
constexpr int kEnvLineStartSize = 512;

enum EnvLineFate { kEnvLineKeep, kEnvLineDrop, kEnvLineReplace };

// How envRewriteLines edits a text file.
struct EnvLineRewrite {
    // Written before the first line; null for nothing.
    const char *head;
    // The fate of line `number` (from 1), whose first bytes (up to
    // kEnvLineStartSize - 1, the line end among them when it fit) are in
    // `start`: kept byte for byte, dropped, or replaced by *replacement
    // (a whole line, its line end included).
    EnvLineFate (*edit)(void *context, const char *start, long number, const char **replacement);
    // After the last line: 0 leaves the file as it was; else *append (null
    // for nothing) is written last. May be null.
    int (*finish)(void *context, const char **append);
    void *context;
};

// Rewrites the text file `path` through its temporary: every line is copied
// byte for byte (however long, NUL bytes and all) unless `edit` drops or
// replaces it. A missing file reads as empty when missingIsEmpty. Returns 1
// when the file holds the new text, 0 with the old file as it was and no
// temporary left.
int envRewriteLines(const char *path, int missingIsEmpty, const EnvLineRewrite *rewrite);
