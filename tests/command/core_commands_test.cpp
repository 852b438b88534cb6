// INIT, DRIVE, INPUT and EXIT through the interpreter.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/surface.h"

namespace {

std::vector<std::string> hookCalls;

class CoreCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        hookCalls.clear();
        uiHooks.appQuit = [](int status) { hookCalls.push_back("quit " + std::to_string(status)); };
        uiHooks.toolbarRefreshAll = [](ChartState *) { hookCalls.push_back("toolbar"); };
        uiHooks.setClickDataDialogVisible = [](ChartState *, int visible) {
            hookCalls.push_back("clickdata " + std::to_string(visible));
        };
    }
    void TearDown() override
    {
        uiHooksReset();
        delete chart;
    }
    ChartState *chart = nullptr;
};

TEST_F(CoreCommands, InitRestoresTheDefaultChart)
{
    chart->mode = kModeSol2;
    chart->fieldWidth = 3.0;
    chart->fieldHeight = 2.0;
    chart->starLimit = 80;
    chart->catalogLimit = 95;
    chart->starNameLimit = 30;
    chart->nebulaMin = 50;
    chart->nebulaMax = 20;
    chart->starFlags = 0x21;
    chart->skyFlags = 0;
    chart->sunFlags = 0;
    std::snprintf(chart->sceneFilePath, sizeof chart->sceneFilePath, "/tmp/a.stl");
    chart->cometCount = 2;
    chart->cometFlags = static_cast<uint8_t *>(std::malloc(2));
    chart->minorPlanetCount = 1;
    chart->minorPlanetFlags = static_cast<uint8_t *>(std::malloc(1));
    appData->initialising = 1; // start-up sets the site itself

    stkExecute(chart, "INIT");

    EXPECT_EQ(chart->mode, 257);
    EXPECT_EQ(chart->fieldWidth, 120.0);
    EXPECT_EQ(chart->fieldHeight, 120.0);
    EXPECT_EQ(chart->starLimit, 45);
    EXPECT_EQ(chart->catalogLimit, 65);
    EXPECT_EQ(chart->starNameLimit, 14);
    EXPECT_EQ(chart->nebulaMin, 110);
    EXPECT_EQ(chart->nebulaMax, 0);
    EXPECT_EQ(chart->starFlags, 1);
    EXPECT_EQ(chart->skyFlags, 115);
    EXPECT_EQ(chart->sunFlags, 2);
    EXPECT_STREQ(chart->sceneFilePath, "");
    EXPECT_EQ(chart->cometCount, 0);
    EXPECT_EQ(chart->minorPlanetCount, 0);
    EXPECT_EQ(chart->cometFlags, nullptr);
    EXPECT_EQ(chart->viewLocked, 0) << "INIT's table row clears the view lock";
    EXPECT_EQ(hookCalls, (std::vector<std::string>{"clickdata 0", "toolbar"}));
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(CoreCommands, InitUnloadsUserObjectFilesInsteadOfDroppingThem)
{
    // LeakSanitizer reports the tables if INIT only forgets the list.
    chart->userObjectFileCount = 2;
    chart->userObjectFiles =
        static_cast<UserObjectFileEntry *>(std::calloc(2, sizeof(UserObjectFileEntry)));
    for (int i = 0; i < 2; i++)
        chart->userObjectFiles[i].table = static_cast<UserObject *>(std::calloc(3, sizeof(UserObject)));
    stkExecute(chart, "init");
    EXPECT_EQ(chart->userObjectFiles, nullptr);
    EXPECT_EQ(chart->userObjectFileCount, 0);
}

TEST_F(CoreCommands, InitAfterStartUpSetsTheDefaultSiteAgain)
{
    appData->initialising = 0;
    std::snprintf(chart->siteName, sizeof chart->siteName, "Somewhere else");
    chartSetSite(chart, -33.0, chart->sky.longitudeDeg, chart->sky.altitudeM);
    stkExecute(chart, "INIT");
    EXPECT_STRNE(chart->siteName, "Somewhere else");
    EXPECT_NE(chart->sky.latitudeDeg, -33.0);
}

// A window without X: the refresh asks it for a canvas only to draw a frame,
// and a frame is drawn only when the redraw is marked.
struct CallLogSurface : ChartSurface {
    bool windowSize(int *w, int *h) override
    {
        *w = 64;
        *h = 48;
        return true;
    }
    void recreate(int, int) override {}
    Canvas *canvas() override
    {
        hookCalls.push_back("frame");
        return nullptr;
    }
    void copyToWindow(int, int) override { hookCalls.push_back("copy"); }
};

TEST_F(CoreCommands, DriveMarksTheRedrawBeforeRefreshing)
{
    CallLogSurface surface;
    chartSetSurface(&surface);
    appData->initialising = 0;
    stkExecute(chart, "DRIVE"); // the first refresh sizes the chart
    hookCalls.clear();
    chart->redrawNeeded = 0;
    stkExecute(chart, "DRIVE");
    chartSetSurface(nullptr);
    EXPECT_EQ(hookCalls, (std::vector<std::string>{"frame", "copy"}));
    EXPECT_EQ(chart->redrawNeeded, 0) << "the frame clears the mark";
}

TEST_F(CoreCommands, ExitRunsTheQuitPathWithStatusZero)
{
    chart->viewLocked = 1;
    stkExecute(chart, "EXIT");
    EXPECT_EQ(hookCalls, std::vector<std::string>{"quit 0"});
    EXPECT_EQ(chart->viewLocked, 0);
}

int openedDialog = 0;

TEST_F(CoreCommands, InputOpensTheNamedDialogInAnyCase)
{
    openedDialog = 0;
    uiHooks.openInputDialog = [](ChartState *, int dialog) {
        openedDialog = dialog;
        return 1;
    };
    struct {
        const char *text;
        int dialog;
    } cases[] = {{"INPUT DATE", kInputDialogDate},         {"input period", kInputDialogPeriod},
                 {"INPUT Locate", kInputDialogLocate},     {"INPUT OPENFILE", kInputDialogOpenFile},
                 {"INPUT savefile", kInputDialogSaveFile}};
    for (const auto &c : cases) {
        openedDialog = 0;
        stkExecute(chart, c.text);
        EXPECT_EQ(openedDialog, c.dialog) << c.text;
    }
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(CoreCommands, InputErrors)
{
    stkExecute(chart, "INPUT; INPUT foo");
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "INPUT: Illegal Parameter: ");
    EXPECT_STREQ(uiHooksRecordedMessageText(1), "INPUT: Illegal Parameter: foo");
    // Without a user interface the dialog cannot open: said, not hidden.
    stkExecute(chart, "INPUT DATE");
    ASSERT_EQ(uiHooksRecordedMessageCount(), 3);
    EXPECT_STREQ(appData->errorId, "stkErrorNotAvailable");
}

TEST_F(CoreCommands, InputInsideAnOpeningInputIsIgnored)
{
    static ChartState *nestedChart;
    static int opens;
    nestedChart = chart;
    opens = 0;
    uiHooks.openInputDialog = [](ChartState *, int) {
        opens++;
        stkExecute(nestedChart, "INPUT PERIOD"); // e.g. from a nested event loop
        return 1;
    };
    stkExecute(chart, "INPUT DATE");
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

} // namespace
