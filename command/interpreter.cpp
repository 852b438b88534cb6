#include "command/interpreter.h"

#include <cstdio>
#include <cstring>

#include "command/commands.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

const CommandEntry stkCommandTable[] = {
    {"INIT", stkCmdInit, 0, 0},
    {"DRIVE", stkCmdDrive, 0, 1},
    {"MODE", stkCmdMode, 1, 0},
    {"LOCATE", stkCmdLocate, 5, 0},
    {"DATE", stkCmdDate, 7, 1},
    {"STIME", stkCmdStime, 2, 1},
    {"INCTIME", stkCmdIncTime, 6, 1},
    {"DECTIME", stkCmdDecTime, 6, 1},
    {"PERIOD", stkCmdPeriod, 6, 1},
    {"TIMESYS", stkCmdTimeSys, 1, 1},
    {"CONTINUE", stkCmdContinue, 7, 1},
    {"REVERSE", stkCmdReverse, 7, 1},
    {"REALTIME", stkCmdRealTime, 3, 1},
    {"MAG", stkCmdMag, 2, 1},
    {"INCMAG", stkCmdIncMag, 2, 1},
    {"DECMAG", stkCmdDecMag, 2, 1},
    {"STARSIZE", stkCmdStarSize, 1, 1},
    {"STARDATA", stkCmdStarData, 1, 1},
    {"MIRROR", stkCmdMirror, 1, 1},
    {"VIEW", stkCmdView, -1, 0},
    {"ZOOM", stkCmdZoom, 2, 0},
    {"LOOK", stkCmdLook, 3, 0},
    {"TRACK", stkCmdTrack, 3, 0},
    {"BLINK", stkCmdBlink, 3, 1},
    {"SOL_OFFSET", stkCmdSolOffset, 3, 0},
    {"SHOW", stkCmdShow, -1, 1},
    {"HIDE", stkCmdHide, -1, 1},
    {"TOGGLE", stkCmdToggle, -1, 1},
    {"GRID", stkCmdGrid, 1, 1},
    {"LOAD", stkCmdLoad, 4, 1},
    {"UNLOAD", stkCmdUnload, 4, 1},
    {"INPUT", stkCmdInput, 1, 1},
    {"STL", stkCmdStl, 1, 0},
    {"REAL", stkCmdReal, -1, 1},
    {"OUTLINE", stkCmdOutline, -1, 1},
    {"DISK", stkCmdDisk, -1, 1},
    {"DISK_MAG", stkCmdDiskMag, 1, 1},
    {"GSAVE", stkCmdGsave, 2, 1},
    {"EXIT", stkCmdExit, 0, 0},
    {nullptr, nullptr, 0, 0},
};

const CommandEntry *stkCommands = stkCommandTable;

void (*stkExecuteCall)(ChartState *chart, const char *text) = stkExecute;

namespace {

bool isStatementSeparator(char c) { return c == '\n' || c == '\r' || c == ';'; }

} // namespace

// A text that does not fit is refused whole: running part of it could run a
// statement cut in the middle.
void stkReportTextTooLong(const char *text, size_t length)
{
    char start[32];
    std::snprintf(start, sizeof start, "%.24s...", text);
    char count[24];
    std::snprintf(count, sizeof count, "%zu", length);
    stkSetError("stkErrorTextTooLong", count);
    stkReportError(start);
}

const CommandEntry *stkFindCommand(const char *word)
{
    if (!word)
        return nullptr;
    for (const CommandEntry *row = stkCommands; row->name; row++)
        if (strEqualNoCase(word, row->name))
            return row;
    return nullptr;
}

void stkReportError(const char *word)
{
    if (appData->errorId[0] == '\0')
        return;
    if (!word)
        word = "";
    char format[512];
    getResourceFormat(appData->errorId, "ss", format, sizeof format);
    if (format[0] != '\0')
        std::snprintf(appData->errorMessage, sizeof appData->errorMessage, format, word,
                      appData->errorArg);
    else // an id without a message resource still names itself
        std::snprintf(appData->errorMessage, sizeof appData->errorMessage, "%s: %s %s", word,
                      appData->errorId, appData->errorArg);
    if (!appData->commandFromSocket)
        uiHooks.openMessageBox(appData->topLevel, appData->errorMessage, kMessageBoxWarning);
}

void stkDispatch(ChartState *chart, const char *word, char **params)
{
    const CommandEntry *row = stkFindCommand(word);
    if (!row) {
        stkSetError("stkErrorSyntax", word);
        return;
    }
    // The handler sees only the parameters its style takes.
    char *given[kStkMaxParams];
    const int taken = row->argumentStyle < 0 ? kStkMaxParams : row->argumentStyle;
    for (int i = 0; i < kStkMaxParams; i++)
        given[i] = (i < taken && params) ? params[i] : nullptr;
    row->handler(chart, given);
    if (row->viewLock == 0)
        chart->viewLocked = 0;
}

void stkExecuteStatement(ChartState *chart, const char *statement)
{
    if (!statement || strIsBlank(statement))
        return;
    const size_t length = std::strlen(statement);
    if (length >= static_cast<size_t>(kStkTextSize)) {
        stkReportTextTooLong(statement, length);
        return;
    }
    stkClearError();
    char *params[kStkMaxParams] = {};
    char buffer[kStkTextSize];
    std::memcpy(buffer, statement, length + 1);

    StkTokenizer tokens;
    char *word = stkNextTokenIn(&tokens, buffer, 0);
    for (int i = 0; i < kStkMaxParams; i++) {
        char *param = stkNextTokenIn(&tokens, nullptr, 1);
        if (!param)
            break;
        params[i] = (param[0] == '\0' || param[0] == ' ') ? nullptr : param;
    }
    if (word && word[0] != '\0')
        stkDispatch(chart, word, params);
    stkReportError(word);
}

namespace {

int executeDepth = 0; // stkExecute calls running, outermost included

// A handler that runs command text (INIT, REALTIME) is inside a statement
// whose error is reported when the handler returns. The inner statements
// report their own errors, so the outer statement must get its own unreported
// error back, neither losing it nor reporting an inner one a second time.
struct SavedError {
    char id[kErrorIdSize];
    char arg[kErrorArgSize];
};

void runStatements(ChartState *chart, char *p)
{
    while (*p) {
        while (isStatementSeparator(*p))
            p++;
        if (!*p)
            break;
        char *statement = p;
        while (*p && !isStatementSeparator(*p))
            p++;
        if (*p)
            *p++ = '\0';
        stkExecuteStatement(chart, statement);
    }
}

} // namespace

void stkExecute(ChartState *chart, const char *text)
{
    if (!text)
        return;
    const bool nested = executeDepth > 0;
    SavedError saved;
    if (nested) {
        std::memcpy(saved.id, appData->errorId, sizeof saved.id);
        std::memcpy(saved.arg, appData->errorArg, sizeof saved.arg);
    }
    // The error state describes this text only: an empty text leaves none
    // behind for the TCP client to be sent again.
    stkClearError();
    const size_t length = std::strlen(text);
    if (length >= static_cast<size_t>(kStkTextSize)) {
        stkReportTextTooLong(text, length);
    } else {
        // Each call has its own copy and position: handlers run stkExecute
        // again and modal questions nest event loops.
        char buffer[kStkTextSize];
        std::memcpy(buffer, text, length + 1);
        executeDepth++;
        runStatements(chart, buffer);
        executeDepth--;
    }
    if (nested) {
        std::memcpy(appData->errorId, saved.id, sizeof saved.id);
        std::memcpy(appData->errorArg, saved.arg, sizeof saved.arg);
    }
}
