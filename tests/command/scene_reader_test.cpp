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

const CommandEntry kSceneTestCommands[] = {
    {"MARK", cmdMark, 3, 1},
    {"LOADING", cmdLoading, 0, 1},
    {"STL", stkCmdStl, 1, 0},
    {nullptr, nullptr, 0, 0},
};

class SceneReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        stkCommands = kSceneTestCommands;
        ran.clear();
    }
    void TearDown() override
    {
        stkCommands = stkCommandTable;
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
    }
    void load(const std::string &path) { stkExecute(chart, ("STL \"" + path + "\"").c_str()); }
    std::string scene(const std::string &name, const std::string &main, const std::string &after = "")
    {
        return dir.write(name, "BLOCK CONTROL\n\tSCENE MAIN\n" + main + "\tEND SCENE\nEND BLOCK\n" + after);
    }
    ChartState *chart = nullptr;
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
