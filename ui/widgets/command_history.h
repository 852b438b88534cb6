// The command dialog's history between runs: the file "history" in the
// per-user directory, one command per line, oldest first. No X here; the
// list itself lives in the command dialog while the program runs.
#pragma once

#include <cstddef>

constexpr int kHistoryLineSize = 512; // a line is read up to 511 characters

// userDir + "/history" into dst[len]; 0 when userDir is empty or the path
// does not fit.
int historyPathIn(const char *userDir, char *dst, int len);

// Calls add for each line of the file at path in file order, newline cut
// off. A line longer than 511 characters gives its first 511 and the rest
// is skipped, never read as another command. Returns the number of lines;
// 0 when the file cannot be opened.
int historyReadFile(const char *path, void (*add)(void *context, const char *line), void *context);

// Replaces the file at path by the last `keep` of the count items (all of
// them when there are fewer), oldest first, one per line; keep of 0 or less
// removes the file. Returns 1 when the file holds what was asked.
int historyWriteFile(const char *path, const char *const *items, int count, int keep);

// What OK does with the text in the command dialog's field.
enum CommandOkAction {
    kCommandIgnore,     // empty or only white space: nothing
    kCommandTooLong,    // over 259 characters: refused, the text stays to edit
    kCommandRunAppend,  // a new command: appended to the history and run
    kCommandRunAgain,   // the same as the last history item: run only
};
// lastItem: the history's last item, null when the history is empty.
CommandOkAction commandOkAction(const char *text, const char *lastItem);
