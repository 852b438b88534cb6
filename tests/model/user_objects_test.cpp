// User-object and sky-mark files: the line grammar as a table of lines and
// the rows they make, then whole files read, refused, reported and unloaded.
#include "model/command_error.h"
#include "model/user_objects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "resources/catalogs.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/temp_dir.h"

namespace {

class UserObjects : public ::testing::Test {
protected:
    std::unique_ptr<ChartState> owner{new ChartState{}};
    ChartState *chart = owner.get();

    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        chartStateSetDefaults(chart);
        chartSetSite(chart, 51.4769, 0.0, 0.0);
        chartSetJd(chart, 2451545.0, 0.0);
        uiHooksReset();
        uiHooksRecordMessages();
        stkClearError();
    }
    void TearDown() override
    {
        unloadUserObjects(chart);
        for (int32_t i = 0; i < appData->skyMarkFileCount; ++i)
            std::free(appData->skyMarkFiles[i].table);
        std::free(appData->skyMarkFiles);
        appData->skyMarkFiles = nullptr;
        appData->skyMarkFileCount = 0;
        chartStateFreeTables(chart);
        uiHooksReset();
        stkClearError();
    }

    // Parses the lines in order with one reader state; the last line's result.
    int parseLines(std::initializer_list<const char *> lines, UserObject *row)
    {
        UserObjectReadState state;
        userObjectReadStateInit(&state);
        int result = kUserObjectLineMalformed;
        for (const char *text : lines) {
            char line[256];
            strCopyBounded(line, sizeof line, text);
            char *words[kUserObjectMaxWords];
            int n = userObjectSplitLine(line, words);
            result = userObjectParseWords(chart, words, n, &state, row);
        }
        return result;
    }

    int load(const std::string &path, UserObjectReport report = kUserObjectReportBox)
    {
        return loadUserObjectFile(chart, path.c_str(), &chart->userObjectFiles, &chart->userObjectFileCount, report);
    }
};

TEST_F(UserObjects, LinesMakeTheirRows)
{
    const int32_t vega = starNamed("Vega");
    ASSERT_GE(vega, 0);
    struct Case {
        std::initializer_list<const char *> lines;
        int type, kind, index;
        double v1, v2;
        int param1, param2;
        const char *name;
        int colour;
    } cases[] = {
        // 12.5 h is 187.5 degrees.
        {{"12.5 30 STAR 3.5 2 Vega 4"}, kUserObjectStar, kPosEqt, 0, 187.5, 30, 35, 2, "Vega", 4},
        {{"EPOCH DATE", "12.5 30 STAR 3.5 2 Vega 4"}, kUserObjectStar, kPosEqtDate, 0, 187.5, 30, 35, 2, "Vega", 4},
        {{"epoch b1950", "12.5 30 STAR 3.5 2 Vega 4"}, kUserObjectStar, kPosEqtB1950, 0, 187.5, 30, 35, 2, "Vega", 4},
        {{"EPOCH DATE", "EPOCH NOW", "12.5 30"}, kUserObjectPoint, kPosEqtDate, 0, 187.5, 30, 0, 0, "", 2},
        // HHMM.m and DDMM.m: 5 h 35.3 min and -5 deg 23 min.
        {{"0535.3 -0523 MARK 1 Trapezium 2"}, kUserObjectMark, kPosEqt, 0, 83.825, -5.0 - 23.0 / 60, 1, 0,
         "Trapezium", 2},
        {{"EQT 18.0 66.5607 MARK 0 \"North ecliptic pole\" 7"}, kUserObjectMark, kPosEqt, 0, 270, 66.5607, 0, 0,
         "North ecliptic pole", 7},
        {{"GAL 0 90 MARK"}, kUserObjectMark, kPosGal, 0, 0, 90, -1, 0, "", 2},
        {{"STAR Vega"}, kUserObjectPoint, kPosStar, vega, 0, 0, 0, 0, "", 2},
        {{"NEBULA M42 NEBULA 2 \"Orion Nebula\" 3"}, kUserObjectNebula, kPosNebula, messierRow(42), 0, 0, 1, 0,
         "Orion Nebula", 3},
        {{"M42 NEBULA"}, kUserObjectNebula, kPosNebula, messierRow(42), 0, 0, -1, 0, "", 2},
        {{"12.5 30 STAR"}, kUserObjectStar, kPosEqt, 0, 187.5, 30, 0, 0, "", 2},
        {{"12.5 30 star -1.46 100 Sirius"}, kUserObjectStar, kPosEqt, 0, 187.5, 30, -14, 9, "Sirius", 2},
        {{"12.5 30 STAR 1 -4 X"}, kUserObjectStar, kPosEqt, 0, 187.5, 30, 10, 0, "X", 2},
        // An absent second word: the later words move up.
        {{"12.5,,30 Point"}, kUserObjectPoint, kPosEqt, 0, 187.5, 30, 0, 0, "Point", 2},
        // The object colour persists; outside 0..15 is white.
        {{"1 2 A 5", "3 4 B"}, kUserObjectPoint, kPosEqt, 0, 45, 4, 0, 0, "B", 5},
        {{"1 2 A 21"}, kUserObjectPoint, kPosEqt, 0, 15, 2, 0, 0, "A", kUserObjectWhite},
        {{"1 2 A -1"}, kUserObjectPoint, kPosEqt, 0, 15, 2, 0, 0, "A", kUserObjectWhite},
        {{"1 2 0123456789012345678901234567890123"}, kUserObjectPoint, kPosEqt, 0, 15, 2, 0, 0,
         "012345678901234567890123456789", 2},
        // LINE: colour and pattern persist; the first LINE without them is white and solid.
        {{"LINE"}, kUserObjectLine, 0, 0, 0, 0, 0xFFFF, kUserObjectWhite, "", 0},
        {{"LINE 8 F0F0"}, kUserObjectLine, 0, 0, 0, 0, 0xF0F0, 8, "", 0},
        {{"LINE 8 F0F0", "END", "LINE"}, kUserObjectLine, 0, 0, 0, 0, 0xF0F0, 8, "", 0},
        {{"LINE 3 5555", "line 4"}, kUserObjectLine, 0, 0, 0, 0, 0x5555, 4, "", 0},
        {{"end"}, kUserObjectEnd, 0, 0, 0, 0, 0, 0, "", 0},
    };
    for (const Case &c : cases) {
        std::string what = *(c.lines.end() - 1);
        UserObject row;
        ASSERT_EQ(parseLines(c.lines, &row), kUserObjectLineEntry) << what;
        EXPECT_EQ(row.type, c.type) << what;
        EXPECT_STREQ(row.name, c.name) << what;
        if (c.type == kUserObjectLine) {
            EXPECT_EQ(row.param1, c.param1) << what;
            EXPECT_EQ(row.param2, c.param2) << what;
            continue;
        }
        if (c.type == kUserObjectEnd)
            continue;
        EXPECT_EQ(row.kind, c.kind) << what;
        if (c.kind >= kPosStar) {
            EXPECT_EQ(row.index, c.index) << what;
        } else {
            EXPECT_NEAR(row.value1, c.v1, 1e-9) << what;
            EXPECT_NEAR(row.value2, c.v2, 1e-9) << what;
        }
        EXPECT_EQ(row.param1, c.param1) << what;
        EXPECT_EQ(row.param2, c.param2) << what;
        EXPECT_EQ(row.colour, c.colour) << what;
    }
    UserObject row;
    EXPECT_EQ(parseLines({"EPOCH J2000"}, &row), kUserObjectLineNoEntry);
}

TEST_F(UserObjects, MalformedLines)
{
    const char *lines[] = {
        "bogus",
        "12.5 95 X",                      // declination beyond 90
        "12.5 30 STAR 1e30",              // magnitude not a field value
        "12.5 30 STAR nan",
        "12.5 30 STAR 3 1e30",            // class
        "12.5 30 STAR 3 99999999999999999999",
        "12.5 30 NEBULA 2x",
        "12.5 30 MARK 99999999999999999999",
        "12.5 30 Vega 4x",                // colour
        "LINE 8 123456789012345678901",   // a 20-digit pattern
        "LINE 8 -1",
        "LINE 8 F0F0G",
        "LINE 1e30",
        "x;EXIT",
        "12.5 30 \"x;EXIT\"",              // a name command text cannot carry
        "12.5 30 MARK 0 \"a\"\"b\"",
        "STAR NoSuchStar",
    };
    for (const char *line : lines) {
        UserObject row;
        EXPECT_EQ(parseLines({line}, &row), kUserObjectLineMalformed) << line;
    }
}

TEST_F(UserObjects, FilesLoadWholeOrNotAtAll)
{
    TempDir dir;
    std::string many = "# many\nEPOCH J2000\nLINE 3\n";
    for (int i = 0; i < 248; ++i)
        many += "EQT " + std::to_string(i % 24) + " 10 P" + std::to_string(i) + "\r\n";
    many += "END\n";
    std::string path = dir.write("many.adf", many);
    ASSERT_EQ(load(path), 1);
    ASSERT_EQ(chart->userObjectFileCount, 1);
    const UserObjectFileEntry &file = chart->userObjectFiles[0];
    EXPECT_EQ(file.count, 250);
    EXPECT_STREQ(file.path, path.c_str());
    EXPECT_EQ(file.table[0].type, kUserObjectLine);
    EXPECT_STREQ(file.table[248].name, "P247");
    EXPECT_EQ(file.table[249].type, kUserObjectEnd);
    EXPECT_EQ(file.table[250].type, kUserObjectTableEnd);

    // The same path again: one copy, nothing reported.
    EXPECT_EQ(load(path, kUserObjectReportCommand), 0);
    EXPECT_EQ(chart->userObjectFileCount, 1);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
    EXPECT_STREQ(appData->errorId, "");

    // Only comments and blank lines: the no-data box, not listed.
    std::string empty = dir.write("empty.adf", "# nothing\n\n\r\n#" + std::string(300, 'x') + "\n");
    EXPECT_EQ(load(empty), 0);
    EXPECT_EQ(chart->userObjectFileCount, 1);
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_NE(std::string(uiHooksRecordedMessageText(0)).find("empty.adf"), std::string::npos);

    EXPECT_EQ(load(dir.file("missing.adf"), kUserObjectReportCommand), 0);
    EXPECT_STREQ(appData->errorId, "stkErrorFileNotFound");
}

TEST_F(UserObjects, ABadLineRefusesItsFileAndNamesItsLine)
{
    const std::string head = "# comment\n#" + std::string(200, 'c') + "\nEPOCH DATE\n1 2 A\n";
    struct Case {
        const char *what;
        std::string bad;
    } cases[] = {
        {"a bad position", "STAR NoSuchStar\n"},
        {"a command smuggled in a name", "x;EXIT\n"},
        {"a 200-character line", "1 2 " + std::string(196, 'n') + "\n"},
        {"an 80-character line", "1 2 " + std::string(76, 'n') + "\n"},
        {"a NUL in the line", std::string("1 2 A\0;EXIT\n", 12)},
        // A name from the file being read: the file is not in the list yet.
        {"a name of this very file", "AD A\n"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::string path = dir.write("bad.adf", head + c.bad + "3 4 B\n");
        uiHooksRecordMessages();
        EXPECT_EQ(load(path), 0) << c.what;
        EXPECT_EQ(chart->userObjectFileCount, 0) << c.what;
        ASSERT_EQ(uiHooksRecordedMessageCount(), 1) << c.what;
        std::string text = uiHooksRecordedMessageText(0);
        EXPECT_NE(text.find(path), std::string::npos) << text;
        EXPECT_NE(text.find("line 5"), std::string::npos) << c.what << ": " << text;

        // In a command the report is the command's error, and no box opens.
        uiHooksRecordMessages();
        stkClearError();
        EXPECT_EQ(load(path, kUserObjectReportCommand), 0) << c.what;
        EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << c.what;
        EXPECT_STREQ(appData->errorId, "stkErrorInUserObjectFile") << c.what;
        EXPECT_STREQ(appData->errorArg, "line 5 of bad.adf") << c.what;
    }
    // 79 characters is still a line.
    TempDir dir;
    std::string path = dir.write("ok.adf", "1 2 " + std::string(30, 'n') + " 2" + std::string(43, ' ') + "\n");
    EXPECT_EQ(load(path), 1);
}

TEST_F(UserObjects, InstalledFilesLoad)
{
    std::string data = std::string(TAVIK_SOURCE_DIR) + "/data/";
    ASSERT_EQ(load(data + "adf/sample.adf"), 1);
    EXPECT_GE(chart->userObjectFiles[0].count, 8);
    strCopyBounded(appData->skyMarkFile, kPathSize, (data + "skymark.adf").c_str());
    ASSERT_EQ(loadSkyMarks(chart), 1);
    ASSERT_EQ(appData->skyMarkFileCount, 1);
    EXPECT_GT(appData->skyMarkFiles[0].count, 10);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
    // The sky marks' Summer Triangle starts at Vega.
    const UserObject *rows = appData->skyMarkFiles[0].table;
    int i = 0;
    while (rows[i].type != kUserObjectLine)
        ++i;
    EXPECT_EQ(rows[i].param1, 0xF0F0);
    EXPECT_EQ(rows[i].param2, 8);
    EXPECT_EQ(rows[i + 1].kind, kPosStar);
    EXPECT_EQ(rows[i + 1].index, starNamed("Vega"));
}

TEST_F(UserObjects, UnloadDropsPicksAndTargetsOfUserObjects)
{
    TempDir dir;
    std::string first = dir.write("first.adf", "1 2 A\n3 4 B\n");
    std::string second = dir.write("second.adf", "5 6 C\n7 8 D\n");
    ASSERT_EQ(load(first), 1);
    ASSERT_EQ(load(second), 1);
    // D is running index 3; after unloading the first file index 3 is past
    // the end, but index 1 (still in range) would name D instead of B.
    chart->trackKind = kPosUserObject;
    chart->trackIndex = 1;
    chart->trackState = kTrackTarget;
    chart->hitKind = kPosUserObject;
    chart->hitIndex = 1;
    chart->clickFlags = 1;
    EXPECT_EQ(unloadUserObjectFile(chart, dir.file("other.adf").c_str()), 0);
    EXPECT_EQ(chart->trackState, 2) << "nothing unloaded, nothing dropped";
    ASSERT_EQ(unloadUserObjectFile(chart, first.c_str()), 1);
    EXPECT_EQ(chart->trackState, 0);
    EXPECT_NE(chart->hitKind, kPosUserObject);
    ASSERT_EQ(chart->userObjectFileCount, 1);
    EXPECT_STREQ(chart->userObjectFiles[0].path, second.c_str());
    EXPECT_STREQ(chart->userObjectFiles[0].table[1].name, "D");

    // A target of another kind stays.
    chart->trackKind = kPosStar;
    chart->trackState = kTrackTarget;
    ASSERT_EQ(unloadUserObjectFile(chart, second.c_str()), 1);
    EXPECT_EQ(chart->trackState, 2);
    EXPECT_EQ(chart->userObjectFiles, nullptr);
    EXPECT_EQ(chart->userObjectFileCount, 0);
}

} // namespace
