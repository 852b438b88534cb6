// The real command table and the keyword helpers.
#include "command/interpreter.h"
#include "command/keywords.h"

#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/ui_hooks.h"

namespace {

struct Row {
    const char *name;
    int style, viewLock;
};

// The commands in their search order with argument style and view-lock flag.
const Row kRows[] = {
    {"INIT", 0, 0},     {"DRIVE", 0, 1},      {"MODE", 1, 0},     {"LOCATE", 5, 0},
    {"DATE", 7, 1},     {"STIME", 2, 1},      {"INCTIME", 6, 1},  {"DECTIME", 6, 1},
    {"PERIOD", 6, 1},   {"TIMESYS", 1, 1},    {"CONTINUE", 7, 1}, {"REVERSE", 7, 1},
    {"REALTIME", 3, 1}, {"MAG", 2, 1},        {"INCMAG", 2, 1},   {"DECMAG", 2, 1},
    {"STARSIZE", 1, 1}, {"STARDATA", 1, 1},   {"MIRROR", 1, 1},   {"VIEW", -1, 0},
    {"ZOOM", 2, 0},     {"LOOK", 3, 0},       {"TRACK", 3, 0},    {"BLINK", 3, 1},
    {"SOL_OFFSET", 3, 0}, {"SHOW", -1, 1},    {"HIDE", -1, 1},    {"TOGGLE", -1, 1},
    {"GRID", 1, 1},     {"LOAD", 4, 1},       {"UNLOAD", 4, 1},   {"INPUT", 1, 1},
    {"STL", 1, 0},      {"REAL", -1, 1},      {"OUTLINE", -1, 1}, {"DISK", -1, 1},
    {"DISK_MAG", 1, 1}, {"GSAVE", 2, 1},      {"EXIT", 0, 0},
};

TEST(CommandTable, EveryCommandInOrderWithStyleAndViewLock)
{
    size_t i = 0;
    for (const CommandEntry *row = stkCommandTable; row->name; row++, i++) {
        ASSERT_LT(i, sizeof kRows / sizeof kRows[0]) << "extra row " << row->name;
        EXPECT_STREQ(row->name, kRows[i].name);
        EXPECT_EQ(row->argumentStyle, kRows[i].style) << row->name;
        EXPECT_EQ(row->viewLock, kRows[i].viewLock) << row->name;
        EXPECT_NE(row->handler, nullptr) << row->name;
    }
    EXPECT_EQ(i, sizeof kRows / sizeof kRows[0]) << "missing rows";
}

TEST(CommandTable, LookupIgnoresCaseAndNeedsTheWholeWord)
{
    EXPECT_STREQ(stkFindCommand("sol_offset")->name, "SOL_OFFSET");
    EXPECT_STREQ(stkFindCommand("Disk_Mag")->name, "DISK_MAG");
    EXPECT_STREQ(stkFindCommand("DISK")->name, "DISK");
    EXPECT_EQ(stkFindCommand("DIS"), nullptr);
    EXPECT_EQ(stkFindCommand("DRIVEX"), nullptr);
    EXPECT_EQ(stkFindCommand(""), nullptr);
    EXPECT_EQ(stkFindCommand(nullptr), nullptr);
}

TEST(CommandTable, CommandWithoutItsParametersReportsAnError)
{
    // Every command needs a parameter but these; a stand-in for a command
    // not built yet must say so too, never look as if it had worked.
    static const std::set<std::string> kFineWithout = {
        "INIT", "DRIVE", "PERIOD", "CONTINUE", "REVERSE", "REALTIME",
        "STARDATA", "TRACK", "SOL_OFFSET", "EXIT",
        "LOCATE", "INCTIME", "DECTIME"}; // omitted values keep the site, step by 0
    appDataSetDefaults();
    appData->initialising = 1;
    uiHooksRecordMessages();
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    for (const CommandEntry *row = stkCommandTable; row->name; row++) {
        if (kFineWithout.count(row->name))
            continue;
        stkClearError();
        char *params[kStkMaxParams] = {};
        stkDispatch(chart, row->name, params);
        EXPECT_STRNE(appData->errorId, "") << row->name << " did nothing and said nothing";
    }
    uiHooksReset();
    delete chart;
}

TEST(Keywords, LookupUpperCasesInPlaceAndMatchesExactly)
{
    char word[] = "all1_ecl";
    int32_t code = 0;
    EXPECT_EQ(stkLookupKeyword(word, modeKeywords, &code), 1);
    EXPECT_EQ(code, kModeAll1Ecl);
    EXPECT_STREQ(word, "ALL1_ECL");

    char partial[] = "ALL1";
    EXPECT_EQ(stkLookupKeyword(partial, modeKeywords, &code), 0);
    EXPECT_EQ(stkLookupKeyword(nullptr, modeKeywords, &code), 0);

    // Bytes above 127 are left alone by the upper-casing.
    char high[] = "\xb1\xa1x";
    EXPECT_EQ(stkLookupKeyword(high, modeKeywords, &code), 0);
    EXPECT_STREQ(high, "\xb1\xa1X");
}

TEST(Keywords, NameOfACodeIsItsFirstRow)
{
    static const KeywordEntry table[] = {{"TOOLBOX", 7}, {"TOOLBAR", 7}, {nullptr, 0}};
    EXPECT_STREQ(stkKeywordName(table, 7), "TOOLBOX");
    EXPECT_EQ(stkKeywordName(table, 8), nullptr);
    EXPECT_STREQ(stkKeywordName(modeKeywords, kModePlns), "PLNS");
    EXPECT_STREQ(stkKeywordName(positionKeywords, 58), "SCREEN");
}

TEST(Keywords, DisplayItemsNameEachCodeByItsFirstRow)
{
    int rows = 0;
    for (const KeywordEntry *row = displayItemKeywords; row->keyword; row++)
        rows++;
    EXPECT_EQ(rows, 139);
    struct {
        int32_t code;
        const char *name;
    } names[] = {{0x1901, "STARNAME_J"}, {0x0F02, "TWILIGHT"}, {0x1502, "TOOLBOX"},
                 {0x1504, "STEPBOX"},    {0x1601, "TRACE"},    {0x0C01, "NEBULA"},
                 {0x1D01, "PICTUREMARK"}};
    for (const auto &n : names)
        EXPECT_STREQ(stkKeywordName(displayItemKeywords, n.code), n.name);
}

TEST(Keywords, JapaneseAliasAndEnglishWordSetTheSameBits)
{
    int32_t english = 0, japanese = 0, lower = 0;
    char word[] = "STAR_MAG";
    char alias[] = "\271\261\300\261\305\371\265\351"; // the EUC-JP bytes of the alias
    char lowerWord[] = "star_mag";
    EXPECT_EQ(stkLookupKeyword(word, displayItemKeywords, &english), 1);
    EXPECT_EQ(stkLookupKeyword(alias, displayItemKeywords, &japanese), 1);
    EXPECT_EQ(stkLookupKeyword(lowerWord, displayItemKeywords, &lower), 1);
    EXPECT_EQ(english, 0x1908);
    EXPECT_EQ(japanese, 0x1908);
    EXPECT_EQ(lower, 0x1908);
}

TEST(Keywords, EveryTableHasUniqueKeywordsInUpperCase)
{
    for (const KeywordEntry *table : {modeKeywords, timesysKeywords, gridKeywords, loadKeywords,
                                      inputKeywords, positionKeywords, displayItemKeywords}) {
        std::set<std::string> seen;
        for (const KeywordEntry *row = table; row->keyword; row++) {
            // NEBULA and NEBULA_NAME stand twice in the display items on purpose.
            const bool twice = table == displayItemKeywords &&
                               (std::strcmp(row->keyword, "NEBULA") == 0 ||
                                std::strcmp(row->keyword, "NEBULA_NAME") == 0);
            EXPECT_TRUE(seen.insert(row->keyword).second || twice) << row->keyword;
            for (const char *p = row->keyword; *p; p++)
                EXPECT_FALSE(*p >= 'a' && *p <= 'z') << row->keyword << " never matches";
        }
    }
}

} // namespace
