// Statement splitting, dispatch and error reporting, through a recording
// command table so each case sees exactly what a handler received.
#include "command/interpreter.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

std::vector<std::string> calls; // "WORD p1|p2|-|..." per handler call, "-" for null

void record(const char *name, char **params)
{
    std::string line = name;
    int last = kStkMaxParams - 1;
    while (last >= 0 && !params[last])
        last--;
    for (int i = 0; i <= last; i++)
        line += std::string(i == 0 ? " " : "|") + (params[i] ? params[i] : "-");
    calls.push_back(line);
}

void recMode(ChartState *, char **p) { record("MODE", p); }
void recDrive(ChartState *, char **p) { record("DRIVE", p); }
void recDate(ChartState *, char **p) { record("DATE", p); }
void recShow(ChartState *, char **p) { record("SHOW", p); }
void recLook(ChartState *, char **p) { record("LOOK", p); }
void recFail(ChartState *, char **p)
{
    record("FAIL", p);
    stkSetError("stkErrorIllegalParam", p[0]);
}
void recInner(ChartState *, char **p) { record("INNER", p); }
void recNest(ChartState *chart, char **p)
{
    record("NEST", p);
    stkExecute(chart, "INNER a; INNER b");
}

void recNestFail(ChartState *chart, char **p)
{
    record("NESTFAIL", p);
    stkExecute(chart, "nope");
}
void recFailThenNest(ChartState *chart, char **p)
{
    record("FAILNEST", p);
    stkSetError("stkErrorIllegalParam", "outer");
    stkExecute(chart, "INNER ok");
}

const CommandEntry kRecordingTable[] = {
    {"NESTFAIL", recNestFail, 0, 1},
    {"FAILNEST", recFailThenNest, 0, 1},
    {"MODE", recMode, 1, 0},
    {"DRIVE", recDrive, 0, 1},
    {"DATE", recDate, 7, 1},
    {"SHOW", recShow, -1, 1},
    {"LOOK", recLook, 3, 0},
    {"FAIL", recFail, 1, 1},
    {"INNER", recInner, 1, 1},
    {"NEST", recNest, 0, 1},
    {nullptr, nullptr, 0, 0},
};

class Interpreter : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        stkCommands = kRecordingTable;
        calls.clear();
    }
    void TearDown() override
    {
        stkCommands = stkCommandTable;
        uiHooksReset();
        setResourceStringProvider(nullptr);
        appData->commandFromSocket = 0;
        delete chart;
    }
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> texts;
        for (int i = 0; i < uiHooksRecordedMessageCount(); i++)
            texts.push_back(uiHooksRecordedMessageText(i));
        return texts;
    }
    ChartState *chart = nullptr;
};

struct DispatchCase {
    const char *name;
    const char *text;
    std::vector<std::string> calls;
};

const DispatchCase kDispatchCases[] = {
    {"lower-case words are commands", "mode hrz; drive", {"MODE hrz", "DRIVE"}},
    {"mixed case", "dRiVe", {"DRIVE"}},
    {"newline separates", "MODE EQT\nDRIVE", {"MODE EQT", "DRIVE"}},
    {"carriage return separates", "MODE EQT\rDRIVE", {"MODE EQT", "DRIVE"}},
    {"runs of separators give no empty statements", ";;\n\r;DRIVE;;\n", {"DRIVE"}},
    {"omitted parameter between commas", "DATE 2000,,15", {"DATE 2000|-|15"}},
    {"comma after the word omits the first", "LOOK , 5", {"LOOK -|5"}},
    {"quoted parameter keeps its blank", "LOOK \"a b\",c", {"LOOK a b|c"}},
    {"quoted blank start counts as omitted", "LOOK \" a\",c", {"LOOK -|c"}},
    {"more than ten parameters pass ten", "SHOW 1 2 3 4 5 6 7 8 9 10 11 12",
     {"SHOW 1|2|3|4|5|6|7|8|9|10"}},
    {"style n passes only n", "MODE HRZ EXTRA", {"MODE HRZ"}},
    {"style 0 passes none", "DRIVE NOW", {"DRIVE"}},
    {"style 3 drops the fourth", "LOOK HRZ 180 30 40", {"LOOK HRZ|180|30"}},
    {"blank statement runs nothing", "   ;\t", {}},
    {"failing statement does not stop the next", "FAIL x; DRIVE", {"FAIL x", "DRIVE"}},
};

TEST_F(Interpreter, DispatchTable)
{
    for (const DispatchCase &c : kDispatchCases) {
        calls.clear();
        stkExecute(chart, c.text);
        EXPECT_EQ(calls, c.calls) << c.name;
    }
}

TEST_F(Interpreter, UnknownWordShowsItTwiceAndLaterStatementsRun)
{
    stkExecute(chart, "foo; DRIVE");
    EXPECT_EQ(boxes(), std::vector<std::string>{"foo: Syntax Error: foo"});
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_EQ(calls, std::vector<std::string>{"DRIVE"});
    EXPECT_STREQ(appData->errorMessage, "foo: Syntax Error: foo");
}

TEST_F(Interpreter, OneWarningBoxPerFailingStatement)
{
    stkExecute(chart, "FAIL a; DRIVE; FAIL b\nbar");
    EXPECT_EQ(boxes(), (std::vector<std::string>{"FAIL: Illegal Parameter: a",
                                                 "FAIL: Illegal Parameter: b",
                                                 "bar: Syntax Error: bar"}));
}

TEST_F(Interpreter, TcpLineShowsNoBoxAndKeepsTheLastMessage)
{
    appData->commandFromSocket = 1;
    stkExecute(chart, "FAIL a; nope");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
    EXPECT_STREQ(appData->errorMessage, "nope: Syntax Error: nope");
    EXPECT_STREQ(appData->errorId, "stkErrorSyntax");
}

TEST_F(Interpreter, TrailingBlankStatementKeepsThePreviousError)
{
    appData->commandFromSocket = 1;
    stkExecute(chart, "nope;   ");
    EXPECT_STREQ(appData->errorId, "stkErrorSyntax");
    EXPECT_STREQ(appData->errorArg, "nope");
}

TEST_F(Interpreter, SuccessfulStatementClearsTheError)
{
    stkExecute(chart, "nope");
    stkExecute(chart, "DRIVE");
    EXPECT_STREQ(appData->errorId, "");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1);
}

// Exactly sized heap copies, so AddressSanitizer sees any read past the end.
char *exactCopy(const std::string &s)
{
    char *p = static_cast<char *>(std::malloc(s.size() + 1));
    std::memcpy(p, s.c_str(), s.size() + 1);
    return p;
}

TEST_F(Interpreter, TextOf259CharactersRuns)
{
    std::string text = "SHOW " + std::string(254, 'A');
    ASSERT_EQ(text.size(), 259u);
    char *p = exactCopy(text);
    stkExecute(chart, p);
    std::free(p);
    EXPECT_EQ(calls, std::vector<std::string>{"SHOW " + std::string(254, 'A')});
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(Interpreter, TextOf260CharactersIsRefusedWhole)
{
    std::string text = "DRIVE;SHOW " + std::string(249, 'A');
    ASSERT_EQ(text.size(), 260u);
    char *p = exactCopy(text);
    stkExecute(chart, p);
    std::free(p);
    EXPECT_TRUE(calls.empty()) << "no statement of a refused text may run";
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_STREQ(appData->errorId, "stkErrorTextTooLong");
    EXPECT_NE(std::string(uiHooksRecordedMessageText(0)).find("260"), std::string::npos);
}

TEST_F(Interpreter, LongStatementGivenDirectlyIsRefused)
{
    char *p = exactCopy("SHOW " + std::string(400, 'B'));
    stkExecuteStatement(chart, p);
    std::free(p);
    EXPECT_TRUE(calls.empty());
    EXPECT_STREQ(appData->errorId, "stkErrorTextTooLong");
}

TEST_F(Interpreter, NestedExecuteLeavesTheOuterTextIntact)
{
    stkExecute(chart, "NEST; MODE after; DRIVE");
    EXPECT_EQ(calls, (std::vector<std::string>{"NEST", "INNER a", "INNER b", "MODE after", "DRIVE"}));
}

TEST_F(Interpreter, InnerErrorIsReportedOnceAndNotByTheOuterStatement)
{
    stkExecute(chart, "NESTFAIL");
    EXPECT_EQ(boxes(), std::vector<std::string>{"nope: Syntax Error: nope"});
    EXPECT_STREQ(appData->errorId, "") << "the outer statement itself succeeded";
}

TEST_F(Interpreter, OuterErrorSurvivesASuccessfulInnerText)
{
    stkExecute(chart, "FAILNEST");
    EXPECT_EQ(boxes(), std::vector<std::string>{"FAILNEST: Illegal Parameter: outer"});
}

TEST_F(Interpreter, EmptyTextLeavesNoOldErrorForTheTcpClient)
{
    appData->commandFromSocket = 1;
    stkExecute(chart, "nope");
    stkExecute(chart, "");
    EXPECT_STREQ(appData->errorId, "");
    stkExecute(chart, "nope");
    stkExecute(chart, " ; \t");
    EXPECT_STREQ(appData->errorId, "");
}

TEST_F(Interpreter, ViewLockClearedOnlyAfterCommandsWithFlagZero)
{
    chart->viewLocked = 1;
    stkExecute(chart, "DRIVE");
    EXPECT_EQ(chart->viewLocked, 1);
    stkExecute(chart, "MODE HRZ");
    EXPECT_EQ(chart->viewLocked, 0);
    chart->viewLocked = 1;
    stkExecute(chart, "unknown");
    EXPECT_EQ(chart->viewLocked, 1) << "an unknown word runs no command";
}

TEST_F(Interpreter, ErrorTextsAreCutToTheirFields)
{
    const std::string longText(300, 'x');
    stkSetError("stkErrorIllegalParamWithAnIdFarTooLongToKeep", longText.c_str());
    EXPECT_EQ(std::strlen(appData->errorId), 31u);
    EXPECT_EQ(std::strlen(appData->errorArg), 39u);
    stkSetError("stkErrorSyntax", nullptr);
    EXPECT_STREQ(appData->errorArg, "");
}

TEST_F(Interpreter, MessageIsBoundedByItsBuffer)
{
    appData->commandFromSocket = 1;
    std::string word(250, 'W');
    stkExecute(chart, word.c_str());
    EXPECT_EQ(std::strlen(appData->errorMessage), 255u);
}

char *hostileProvider(const char *name, char *buf, int len)
{
    // A user's resource file could say anything.
    std::snprintf(buf, static_cast<size_t>(len), "%s", std::strcmp(name, "stkErrorSyntax") == 0
                                                           ? "%s %s %s %n"
                                                           : "");
    return buf;
}

TEST_F(Interpreter, UntrustedMessageResourceFallsBackToTheBuiltInText)
{
    setResourceStringProvider(hostileProvider);
    stkExecute(chart, "zap");
    EXPECT_EQ(boxes(), std::vector<std::string>{"zap: Syntax Error: zap"});
}

void unknownIdHandler(ChartState *, char **) { stkSetError("stkErrorNoSuchMessage", "arg"); }

TEST_F(Interpreter, ErrorWithoutMessageResourceNamesItsId)
{
    static const CommandEntry table[] = {{"ODD", unknownIdHandler, 0, 1}, {nullptr, nullptr, 0, 0}};
    stkCommands = table;
    stkExecute(chart, "ODD");
    EXPECT_EQ(boxes(), std::vector<std::string>{"ODD: stkErrorNoSuchMessage arg"});
}

TEST_F(Interpreter, ExecuteSeamCanBeReplaced)
{
    static std::vector<std::string> seen;
    seen.clear();
    stkExecuteCall = [](ChartState *, const char *text) { seen.push_back(text); };
    stkExecuteCall(chart, "MODE EQT; DRIVE");
    stkExecuteCall = stkExecute;
    EXPECT_EQ(seen, std::vector<std::string>{"MODE EQT; DRIVE"});
    EXPECT_TRUE(calls.empty());
}

} // namespace
