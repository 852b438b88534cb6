// Save, Save As Default and Initialize: a failed save keeps the old file
// byte for byte with one warning naming it; Initialize runs the start-up
// script as start-up does.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "command/interpreter.h"
#include "command/scene_save.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/temp_dir.h"

namespace {

int inputDialog = 0;
int questions = 0;

class SceneSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        appData->initialising = 1;
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        inputDialog = questions = 0;
        uiHooks.openInputDialog = [](ChartState *, int dialog) {
            inputDialog = dialog;
            return 1;
        };
        uiHooks.askQuestion = [](Widget, const char *) {
            questions++;
            return 1;
        };
    }
    void TearDown() override
    {
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
    }
    ChartState *chart = nullptr;
    TempDir dir;
};

TEST_F(SceneSave, SaveWithoutASceneFileOpensTheSaveDialog)
{
    menuFileSave(chart);
    EXPECT_EQ(kInputDialogSaveFile, inputDialog);
    EXPECT_EQ(0, uiHooksRecordedMessageCount());
}

TEST_F(SceneSave, ASuccessfulSaveReplacesTheFileWhole)
{
    const std::string path = dir.write("a.stl", std::string(20000, 'x'));
    std::snprintf(chart->sceneFilePath, sizeof chart->sceneFilePath, "%s", path.c_str());
    menuFileSave(chart);
    EXPECT_EQ(0, uiHooksRecordedMessageCount());
    const std::string text = readFile(path);
    EXPECT_EQ(0u, text.rfind("BLOCK CONTROL\n", 0));
    EXPECT_EQ(std::string::npos, text.find('x'));
}

TEST_F(SceneSave, AFailedSaveKeepsTheOldFileWithOneWarning)
{
    const struct {
        const char *what;
        std::string old;
        int mode;
    } cases[] = {
        {"read-only file", "old scene\n", 0444},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        uiHooksRecordMessages();
        const std::string path = dir.write("keep.stl", c.old);
        ASSERT_EQ(0, chmod(path.c_str(), static_cast<mode_t>(c.mode)));
        std::snprintf(chart->sceneFilePath, sizeof chart->sceneFilePath, "%s", path.c_str());
        menuFileSave(chart);
        EXPECT_EQ(c.old, readFile(path));
        ASSERT_EQ(1, uiHooksRecordedMessageCount());
        EXPECT_NE(nullptr, std::strstr(uiHooksRecordedMessageText(0), path.c_str()));
        EXPECT_EQ(kMessageBoxWarning, uiHooksRecordedMessageType(0));
        struct stat st;
        EXPECT_NE(0, stat((path + ".$NEW$").c_str(), &st));
        ASSERT_EQ(0, chmod(path.c_str(), 0644));
        std::remove(path.c_str());
    }
}

// A statement the scene cannot hold (here a site name that would end the
// statement) no longer fails the whole save: the rest is written and one
// warning names what was left out.
TEST_F(SceneSave, WhatAStatementCannotHoldIsLeftOutWithOneWarning)
{
    const std::string path = dir.write("keep.stl", "old scene\n");
    std::snprintf(chart->sceneFilePath, sizeof chart->sceneFilePath, "%s", path.c_str());
    std::snprintf(chart->siteName, sizeof chart->siteName, "x\"; EXIT");
    menuFileSave(chart);
    const std::string text = readFile(path);
    EXPECT_EQ(0u, text.rfind("BLOCK CONTROL\n", 0)) << text;
    EXPECT_NE(std::string::npos, text.find("\t\tLOCATE   0.000E,  0.000N, 0.000000, 0\n")) << text;
    EXPECT_EQ(std::string::npos, text.find("EXIT")) << text;
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_STREQ("The scene was saved without what it cannot hold: the site name x\"; EXIT",
                 uiHooksRecordedMessageText(0));
    EXPECT_EQ(kMessageBoxWarning, uiHooksRecordedMessageType(0));
}

TEST_F(SceneSave, SaveAsDefaultFailingKeepsTheOldStartupScript)
{
    const std::string rc = dir.write("tavikrc", "old rc\n");
    ASSERT_EQ(0, chmod(rc.c_str(), 0444));
    std::snprintf(appData->rcPath, sizeof appData->rcPath, "%s", rc.c_str());
    menuSettingsSaveAsDefault(chart);
    EXPECT_EQ(1, questions);
    EXPECT_EQ("old rc\n", readFile(rc));
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_NE(nullptr, std::strstr(uiHooksRecordedMessageText(0), rc.c_str()));
}

TEST_F(SceneSave, InitializeRunsTheStartupScriptWithOneErrorReport)
{
    const std::string rc = dir.write("tavikrc", "BLOCK CONTROL\n\tSCENE MAIN\n\t\tNOSUCH 1\n\t\tMIRROR 2\n"
                                                "\tEND SCENE\nEND BLOCK\n");
    std::snprintf(appData->rcPath, sizeof appData->rcPath, "%s", rc.c_str());
    appData->confirmInit = 1;
    chart->mirror = kMirrorTurned;
    menuSettingsInitialize(chart);
    EXPECT_EQ(1, questions);
    EXPECT_EQ(2, chart->mirror);
    int reports = 0;
    for (int i = 0; i < uiHooksRecordedMessageCount(); i++)
        if (std::strstr(uiHooksRecordedMessageText(i), "NOSUCH"))
            reports++;
    EXPECT_EQ(1, reports);
}

} // namespace
