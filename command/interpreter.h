// The command interpreter: statement splitting, the command table and the
// reporting of command errors (the lexing and the error record are model's).
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/lexing.h"

struct ChartState;

constexpr int kStkTextSize = 260;   // a command text or statement: 259 characters
constexpr int kStkMaxParams = 10;

// A handler gets the chart state and the parameter vector of kStkMaxParams
// texts, each a parameter or null (omitted). For a command of argument style
// n (1..10) only the first n can be non-null; for style 0 none; for style -1
// all ten. Texts may be changed in place (keyword look-up upper-cases them).
using StkHandler = void (*)(ChartState *chart, char **params);

struct CommandEntry {
    const char *name;
    StkHandler handler;
    int32_t argumentStyle; // 0 none, 1..10 the first n parameters, -1 all ten
    int32_t viewLock;      // 0: the chart's viewLocked is cleared after the command
};

// The command table in search order, ended by a row with a null name.
extern const CommandEntry stkCommandTable[];

// The table stkFindCommand searches: stkCommandTable; tests put their own.
extern const CommandEntry *stkCommands;

// The first row whose name equals word without regard to ASCII case; null
// when none does.
const CommandEntry *stkFindCommand(const char *word);

// Runs a command text: split at newline, carriage return and ';', each
// statement run and its error reported. A text longer than 259 characters
// runs nothing and is reported as an error. Afterwards errorId/errorArg hold
// the error of the text's last statement that was not blank (empty when it
// succeeded), and errorMessage its message: what the TCP server sends back.
// Re-entrant: a handler may call it; the handler's own statement then gets
// its unreported error back, the inner statements having reported theirs.
void stkExecute(ChartState *chart, const char *text);

// What dialogs, buttons and key bindings call to run command text. Points at
// stkExecute; tests put a recorder in its place.
extern void (*stkExecuteCall)(ChartState *chart, const char *text);

// Refuses a text of `length` characters as too long to run (its start shown
// in the message) and reports the error; the TCP server calls it for a line
// longer than its buffer.
void stkReportTextTooLong(const char *text, size_t length);

// Runs one statement and reports its error. A statement of blanks does
// nothing and keeps the error state of the statement before it.
void stkExecuteStatement(ChartState *chart, const char *statement);

// Looks word up and calls the handler with the parameters its style takes
// (params holds at least kStkMaxParams texts); errors are recorded, not
// reported. Used by stkExecuteStatement and the scene-file reader.
void stkDispatch(ChartState *chart, const char *word, char **params);

// Formats the unreported error for the statement of command word `word` into
// errorMessage and, unless the statement came from the TCP client, shows it
// in a warning box. Nothing when no error is waiting.
void stkReportError(const char *word);
