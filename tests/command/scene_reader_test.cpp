// The scene reader: which statements of a file run, with which words, and
// which one error STL reports at its end.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> ran;

// MARK records its parameters as "MARK a|b|-" ("-" for an omitted one).
void cmdMark(ChartState *, char **params)
{
    std::string text = "MARK";
    for (int i = 0; i < 3; i++)
        text += std::string(i ? "|" : " ") + (params[i] ? params[i] : "-");
    ran.push_back(text);
}
void cmdLoading(ChartState *, char **) { ran.push_back("loading " + std::to_string(appData->sceneLoading)); }
long nopCount = 0;
void cmdNop(ChartState *, char **) { nopCount++; }

const CommandEntry kSceneTestCommands[] = {
    {"MARK", cmdMark, 3, 1},
    {"LOADING", cmdLoading, 0, 1},
    {"NOP", cmdNop, 0, 1},
    {"STL", stkCmdStl, 1, 0},
    {nullptr, nullptr, 0, 0},
};

class SceneReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        uiHooksRecordMessages();
        stkCommands = kSceneTestCommands;
        ran.clear();
    }
    void TearDown() override
    {
        stkCommands = stkCommandTable;
        uiHooksReset();
    }
    void load(const std::string &path) { stkExecute(chart, ("STL \"" + path + "\"").c_str()); }
    std::string scene(const std::string &name, const std::string &main, const std::string &after = "")
    {
        return dir.write(name, "BLOCK CONTROL\n\tSCENE MAIN\n" + main + "\tEND SCENE\nEND BLOCK\n" + after);
    }
    TestChart owner;
    ChartState *chart = owner.get();
    TempDir dir;
};

TEST_F(SceneReader, RunsTheStatementsOfSceneMainOnly)
{
    const std::string path = dir.write("a.stl",
                                       "MARK outside\n"
                                       "BLOCK CONTROL\n"
                                       "# MARK comment\n"
                                       "\n"
                                       "   SCENE   MAIN\n"
                                       "\t\tMARK 1,2;MARK 3\r\n"
                                       "\t\tMARK \"a # b\",,c\n"
                                       "\t\tMARK WINDOW,x\n"
                                       "\t\tMARK 4 # kept\n"
                                       "\t\t;;\n"
                                       "\tEND SCENE\n"
                                       "MARK after\n"
                                       "END BLOCK\n");
    load(path);
    const std::vector<std::string> expected = {"MARK 1|2|-", "MARK 3|-|-", "MARK a # b|-|c", "MARK 4|#|kept"};
    EXPECT_EQ(expected, ran);
    EXPECT_EQ(0, uiHooksRecordedMessageCount());
}

TEST_F(SceneReader, AFileWithoutSceneMainRunsNothingAndSaysNothing)
{
    load(dir.write("b.stl", "MARK 1\nSCENE OTHER\nMARK 2\n"));
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(0, uiHooksRecordedMessageCount());
}

TEST_F(SceneReader, AnOverlongStatementRunsNoFragmentAndIsReportedOnceAtTheEnd)
{
    const std::string longStatement = "MARK " + std::string(295, 'x');
    load(scene("c.stl", "\t\tMARK 1\n" + longStatement + ";MARK rest\n\t\tMARK 2\n"));
    const std::vector<std::string> expected = {"MARK 1|-|-", "MARK 2|-|-"};
    EXPECT_EQ(expected, ran);
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_NE(nullptr, std::strstr(uiHooksRecordedMessageText(0), "300"));
    // 259 characters is still a statement.
    ran.clear();
    load(scene("d.stl", "MARK " + std::string(254, 'y') + "\n"));
    ASSERT_EQ(1u, ran.size());
    EXPECT_EQ(254u + 5u + 4u, ran[0].size()); // "MARK " + text + "|-|-"
}

// Only statements of SCENE MAIN are statements: a long line before or after
// it (a header, a binary file) is no error, and a file without SCENE MAIN
// runs nothing and says nothing.
TEST_F(SceneReader, LongLinesOutsideSceneMainAreNoError)
{
    const std::string longLine(300, 'z');
    std::string binary;
    for (int i = 0; i < 4096; i++)
        binary += static_cast<char>((i * 37 + 11) % 256);
    const struct {
        const char *what;
        std::string text;
        std::vector<std::string> ran;
    } cases[] = {
        {"a long line before SCENE MAIN",
         "# " + longLine + "\nBLOCK CONTROL\n\tSCENE MAIN\n\t\tMARK 1\n\tEND SCENE\nEND BLOCK\n", {"MARK 1|-|-"}},
        {"a long line after END SCENE",
         "BLOCK CONTROL\n\tSCENE MAIN\n\t\tMARK 1\n\tEND SCENE\n" + longLine + "\nEND BLOCK\n", {"MARK 1|-|-"}},
        {"a binary file without SCENE MAIN", binary, {}},
        {"a binary file without SCENE MAIN and no line end", std::string(5000, '\x01'), {}},
    };
    for (const auto &c : cases) {
        ran.clear();
        uiHooksRecordMessages();
        load(dir.write("long.stl", c.text));
        EXPECT_EQ(c.ran, ran) << c.what;
        EXPECT_STREQ("", appData->errorId) << c.what;
        EXPECT_EQ(0, uiHooksRecordedMessageCount()) << c.what << ": " << uiHooksRecordedMessageText(0);
    }
}

TEST_F(SceneReader, ALongLineOfShortStatementsRunsWhole)
{
    std::string line;
    for (int i = 0; i < 60; i++)
        line += "MARK " + std::to_string(i) + ";";
    load(scene("e.stl", line + "\n"));
    ASSERT_EQ(60u, ran.size());
    EXPECT_EQ("MARK 59|-|-", ran.back());
}

TEST_F(SceneReader, ACometWithoutAnOrbitLineIsOneErrorAndTheRestRuns)
{
    const std::string orbit = "\nBLOCK ORBIT\n:Halley Extra\nline of Halley Extra\nEND BLOCK\n";
    load(scene("f.stl", "\t\tCOMET \"Halley\"\n\t\tMARK 1\n", orbit));
    EXPECT_EQ(std::vector<std::string>{"MARK 1|-|-"}, ran);
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_NE(nullptr, std::strstr(uiHooksRecordedMessageText(0), "Halley")) << uiHooksRecordedMessageText(0);
    EXPECT_STREQ("stkErrorCometNotFound", appData->errorId);
}

TEST_F(SceneReader, ACometWithAnEmptyNameIsAnIllegalParameter)
{
    load(scene("g.stl", "\t\tMINORPLANET \"\"\n\t\tMARK 1\n"));
    EXPECT_EQ(std::vector<std::string>{"MARK 1|-|-"}, ran);
    EXPECT_STREQ("stkErrorIllegalParam", appData->errorId);
    EXPECT_EQ(1, uiHooksRecordedMessageCount());
}

TEST_F(SceneReader, ASceneThatLoadsItselfEndsWithOneError)
{
    const std::string path = dir.file("self.stl");
    scene("self.stl", "\t\tMARK in\n\t\tSTL \"" + path + "\"\n");
    load(path);
    EXPECT_EQ(static_cast<size_t>(kSceneNestingMax), ran.size());
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_STREQ("stkErrorIllegalParam", appData->errorId);
    EXPECT_EQ(0, appData->sceneLoading);
}

// Scenes that load themselves nest to the depth limit but multiply their
// loads at every level: three lines of "STL self" would load 3^0 + ... +
// 3^7 = 3280 files, and with 2,000 statements each run 6.5 million. The
// outermost STL's budget ends all of them with one report, and the next STL
// has its whole budget again.
TEST_F(SceneReader, AnOutermostSceneHasABudgetOfLoadsAndStatements)
{
    const std::string path = dir.file("self.stl");
    const std::string loads = "\t\tSTL \"" + path + "\"\n\t\tSTL \"" + path + "\"\n\t\tSTL \"" + path + "\"\n";
    std::string nops;
    for (int line = 0; line < 40; line++) {
        nops += "\t\t";
        for (int i = 0; i < 50; i++)
            nops += "NOP;";
        nops += "\n";
    }
    const struct {
        const char *what;
        std::string main;
        const char *message;
        long mostNops;
    } cases[] = {
        {"loads", "\t\tNOP\n" + loads, "STL: Too much work for one scene (1000 scene loads); the rest was not run.",
         kSceneLoadBudget},
        {"statements", loads + nops,
         "STL: Too much work for one scene (1000000 statements); the rest was not run.", kSceneStatementBudget},
    };
    for (const auto &c : cases) {
        scene("self.stl", c.main);
        for (int time = 0; time < 2; time++) {
            nopCount = 0;
            uiHooksRecordMessages();
            load(path);
            if (c.mostNops == kSceneLoadBudget) {
                EXPECT_EQ(nopCount, c.mostNops) << c.what << ": one NOP a load";
            } else {
                EXPECT_LE(nopCount, c.mostNops) << c.what;
                EXPECT_GT(nopCount, c.mostNops * 99 / 100) << c.what;
            }
            ASSERT_EQ(1, uiHooksRecordedMessageCount()) << c.what;
            EXPECT_STREQ(c.message, uiHooksRecordedMessageText(0));
            EXPECT_EQ(0, appData->sceneLoading);
        }
    }
}

TEST_F(SceneReader, AnInnerSceneLeavesTheOuterOneLoading)
{
    const std::string inner = scene("inner.stl", "\t\tLOADING\n");
    load(scene("outer.stl", "\t\tSTL \"" + inner + "\"\n\t\tLOADING\n"));
    const std::vector<std::string> expected = {"loading 1", "loading 1"};
    EXPECT_EQ(expected, ran);
    EXPECT_EQ(0, appData->sceneLoading);
}

TEST_F(SceneReader, MissingOrUnreadableFiles)
{
    load(dir.file("none.stl"));
    EXPECT_STREQ("stkErrorFileNotFound", appData->errorId);
    stkExecute(chart, "STL");
    EXPECT_STREQ("stkErrorIllegalParam", appData->errorId);
    EXPECT_EQ(2, uiHooksRecordedMessageCount());
}

} // namespace
