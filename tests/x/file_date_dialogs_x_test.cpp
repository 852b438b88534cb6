// The file-selection boxes, Environment, Time Step, Projection and Date
// dialogs on a private X server: each opened from its menu item of the real
// menus (four also by INPUT), its fields set as a user sets them, OK
// pressed, and the texts the command language received, or the one warning
// box of a refusal with the dialog left open.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <Xm/FileSB.h>
#include <Xm/RowColumn.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/time_lock.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "resources/fallback.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_widgets.h"
#include "ui/app/startup.h"
#include "ui/dialogs/date_dialog.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/input_dialogs.h"
#include "ui/dialogs/step_projection_dialogs.h"
#include "ui/widgets/lite_clue.h"
#include "ui/window/menus.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> sent;
void recordCommand(ChartState *, const char *text) { sent.emplace_back(text); }

void press(Widget button)
{
    ASSERT_NE(button, nullptr);
    xPress(button);
}

void type(Widget field, const char *text)
{
    ASSERT_NE(field, nullptr);
    XmTextFieldSetString(field, const_cast<char *>(text));
}

std::string fieldText(Widget w) { return xFieldText(w); }

bool isSet(Widget w) { return XmToggleButtonGetState(w) == True; }

// The top-level shell with the real menus, and the recording seam, once for
// every test here.
class FileDateDialogsX : public ::testing::Test {
protected:
    static XServer *server;
    static OwnedChart *suiteChart; // the menus' chart
    static void SetUpTestSuite()
    {
        server = new XServer;
        suiteChart = new OwnedChart;
        XtAppContext app = nullptr;
        if (!server->ok() || !openDialogShell(server->name(), &app))
            return;
        Widget menuBar = XmCreateMenuBar(appData->topLevel, const_cast<char *>("MenuBar"), nullptr, 0);
        createMenus(menuBar, suiteChart->get());
        XtManageChild(menuBar);
        // A size of the test's own, which the Environment dialog must show.
        XtVaSetValues(appData->topLevel, XtNwidth, 640, XtNheight, 480, nullptr);
        XSync(XtDisplay(appData->topLevel), False);
    }
    static void TearDownTestSuite()
    {
        closeDialogShell();
        delete server;
        server = nullptr;
        delete suiteChart;
        suiteChart = nullptr;
    }

    ChartState &chart = **suiteChart;
    void (*savedExecute)(ChartState *, const char *) = nullptr;
    void SetUp() override
    {
        ASSERT_TRUE(server->ok()) << server->why();
        suiteChart->reset();
        const DateTime date{2003, 7, 14, 21, 30, 0.0, 9.0};
        chartSetDate(&chart, &date);
        uiHooks.setTipHelp = setTipHelp; // the tips as the program makes them
        uiHooksRecordMessages();
        savedExecute = stkExecuteCall;
        stkExecuteCall = recordCommand;
        sent.clear();
    }
    void TearDown() override
    {
        stkExecuteCall = savedExecute;
        uiHooksReset();
    }
    static Widget find(const char *path) { return XtNameToWidget(appData->topLevel, path); }
};
XServer *FileDateDialogsX::server = nullptr;
OwnedChart *FileDateDialogsX::suiteChart = nullptr;

// A menu item chosen as a click chooses it.
void menu(const char *item)
{
    Widget w = menuItemWidget(item);
    ASSERT_NE(w, nullptr) << item;
    press(w);
}

TEST_F(FileDateDialogsX, ProjectionChoosesTheSolarSystemWithEquatorialCoordinates)
{
    chart.mode = kModeHrz;
    menu("MenuViewProjection");
    ASSERT_TRUE(dialogIsShown(&kProjectionDialog));
    Widget sol = dialogWidget(&kProjectionDialog, "ToggleMajorModeSol");
    Widget hrz = dialogWidget(&kProjectionDialog, "ToggleMinorModeHrz");
    Widget eqt = dialogWidget(&kProjectionDialog, "ToggleMinorModeEqt");
    EXPECT_TRUE(isSet(dialogWidget(&kProjectionDialog, "ToggleMajorModeGeneral")));
    EXPECT_TRUE(isSet(hrz));
    EXPECT_NE(dialogWidget(&kProjectionDialog, "ProjectionRowColumn"), nullptr);
    XmToggleButtonSetState(sol, True, True); // as a click: the radio box unsets the chart
    EXPECT_FALSE(isSet(dialogWidget(&kProjectionDialog, "ToggleMajorModeGeneral")));
    EXPECT_FALSE(isSet(hrz));
    EXPECT_TRUE(isSet(eqt));
    EXPECT_FALSE(XtIsSensitive(hrz));
    press(dialogWidget(&kProjectionDialog, "ButtonOK"));
    EXPECT_EQ(sent, std::vector<std::string>{"MODE SOL1; DRIVE"});
    EXPECT_FALSE(dialogIsShown(&kProjectionDialog));
}

TEST_F(FileDateDialogsX, TimeStepWhilePlayingByPeriodRefusesZeroThenSendsTheStep)
{
    chart.playKind = kPlayByPeriod;
    chart.realTimeMode = 0;
    chart.period = TimeStep{0, 0, 0, 1, 0, 0.0};
    ASSERT_EQ(openInputDialog(&chart, kInputDialogPeriod), 1) << "INPUT PERIOD";
    ASSERT_TRUE(dialogIsShown(&kTimeStepDialog));
    Widget sysTime = dialogWidget(&kTimeStepDialog, "ToggleRTSysTime");
    EXPECT_TRUE(isSet(sysTime));
    EXPECT_FALSE(XtIsSensitive(sysTime)) << "System Clock chosen but insensitive";
    EXPECT_EQ(fieldText(dialogWidget(&kTimeStepDialog, "EditHour")), "1");

    type(dialogWidget(&kTimeStepDialog, "EditHour"), "0");
    press(dialogWidget(&kTimeStepDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "Input valid time-step.");
    EXPECT_TRUE(dialogIsShown(&kTimeStepDialog));
    EXPECT_TRUE(sent.empty());

    press(dialogWidget(&kTimeStepDialog, "ArrowDayUp"));
    EXPECT_EQ(fieldText(dialogWidget(&kTimeStepDialog, "EditDay")), "1");
    press(dialogWidget(&kTimeStepDialog, "ButtonOK"));
    EXPECT_EQ(sent, (std::vector<std::string>{"REALTIME 0", "PERIOD 0,0,1,0,0,0.000000"}));
    EXPECT_FALSE(dialogIsShown(&kTimeStepDialog));

    // Real time on: the radio box is usable and the step fields are not.
    sent.clear();
    menu("MenuSettingsTimeStep");
    XmToggleButtonSetState(dialogWidget(&kTimeStepDialog, "ToggleRealTime"), True, True);
    EXPECT_TRUE(XtIsSensitive(sysTime));
    EXPECT_FALSE(XtIsSensitive(dialogWidget(&kTimeStepDialog, "EditDay")));
    XmToggleButtonSetState(dialogWidget(&kTimeStepDialog, "ToggleRTSetting"), True, True);
    EXPECT_FALSE(isSet(sysTime));
    press(dialogWidget(&kTimeStepDialog, "ButtonOK"));
    EXPECT_EQ(sent, std::vector<std::string>{"REALTIME 2,1,5"});
}

TEST_F(FileDateDialogsX, DateDialogInEachLayoutSendsTheTypedDateAndLock)
{
    struct Case {
        int dateStyle;
        const char *layout;
    } const cases[] = {{1, "Japanese"}, {2, "European"}, {0, "English"}};
    for (const Case &c : cases) {
        sent.clear();
        chart.dateStyle = c.dateStyle;
        chart.timeLockKind = 0;
        if (c.dateStyle == 0)
            menu("MenuSettingsDate");
        else
            ASSERT_EQ(openInputDialog(&chart, kInputDialogDate), 1) << "INPUT DATE";
        const DialogSpec *spec = dateDialogLayout(c.dateStyle);
        ASSERT_TRUE(dialogIsShown(spec)) << c.layout;
        EXPECT_NE(dialogWidget(spec, "DateRowColumn"), nullptr);
        EXPECT_EQ(XtParent(dialogWidget(spec, "ButtonNow")), dialogWidget(spec, "DateButtons")) << c.layout;
        EXPECT_EQ(fieldText(dialogWidget(spec, "EditYear")), "2003") << c.layout;
        EXPECT_FALSE(XtIsSensitive(dialogWidget(spec, "EditStimeMin"))) << c.layout;

        type(dialogWidget(spec, "EditDay"), "31");
        press(dialogWidget(spec, "ArrowMinUp"));
        EXPECT_EQ(fieldText(dialogWidget(spec, "EditMin")), "31") << c.layout;
        if (c.dateStyle == 0) {
            Widget august = XtNameToWidget(dialogWidget(spec, "DateDialog"), "*MonthPulldown.Month08");
            ASSERT_NE(august, nullptr);
            press(august);
            Widget chosen = nullptr;
            XtVaGetValues(dialogWidget(spec, "MonthMenu"), XmNmenuHistory, &chosen, nullptr);
            EXPECT_EQ(chosen, august);
        } else {
            type(dialogWidget(spec, "EditMonth"), "8");
        }
        XmToggleButtonSetState(dialogWidget(spec, "ToggleStime"), True, True);
        EXPECT_TRUE(XtIsSensitive(dialogWidget(spec, "EditStimeMin"))) << c.layout;
        type(dialogWidget(spec, "EditStimeMin"), "91");
        XmToggleButtonSetState(dialogWidget(spec, "ToggleBefore"), True, True);
        const int boxes = uiHooksRecordedMessageCount();
        press(dialogWidget(spec, "ButtonOK"));
        ASSERT_EQ(uiHooksRecordedMessageCount(), boxes + 1) << c.layout;
        EXPECT_STREQ(uiHooksRecordedMessageText(boxes), "Minute for lock time must be between 0 and 90.");
        EXPECT_TRUE(dialogIsShown(spec)) << c.layout;
        EXPECT_TRUE(sent.empty()) << c.layout;

        type(dialogWidget(spec, "EditStimeMin"), "30");
        press(dialogWidget(spec, "ButtonOK"));
        EXPECT_EQ(sent, (std::vector<std::string>{"DATE 2003,8,31,21,31,0.000000,9.000000", "STIME SUNSET -30MIN",
                                                  "DRIVE"}))
            << c.layout;
        EXPECT_FALSE(dialogIsShown(spec)) << c.layout;
    }
}

// An altitude lock shows as off; the time the user types then is the chart's
// time. The lock was kept unseen, and the next frame moved the clock back to
// the Sun's altitude.
TEST_F(FileDateDialogsX, DateOkRemovesAnAltitudeLockTheDialogCannotShow)
{
    chart.dateStyle = 1;
    stkExecute(&chart, "STIME SUNSET -6DEG");
    ASSERT_EQ(chart.timeLockKind, kTimeLockSunsetDegrees);
    chartApplyTimeLock(&chart);
    ASSERT_NE(chart.sky.date.hour, 22) << "the lock must put the clock elsewhere";
    menu("MenuSettingsDate");
    const DialogSpec *spec = dateDialogLayout(1);
    ASSERT_TRUE(dialogIsShown(spec));
    EXPECT_FALSE(isSet(dialogWidget(spec, "ToggleStime")));
    type(dialogWidget(spec, "EditHour"), "22");
    type(dialogWidget(spec, "EditMin"), "29");
    press(dialogWidget(spec, "ButtonOK"));
    ASSERT_FALSE(dialogIsShown(spec));
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "DRIVE");
    // The texts run as the command language runs them, then a frame's lock.
    for (const std::string &text : sent)
        if (text != "DRIVE")
            stkExecute(&chart, text.c_str());
    chartApplyTimeLock(&chart);
    EXPECT_EQ(chart.timeLockKind, kTimeLockNone);
    EXPECT_EQ(chart.sky.date.hour, 22);
    EXPECT_EQ(chart.sky.date.minute, 29);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(FileDateDialogsX, EnvironmentRefusesHalfAGeometryAndStoresAWholeOne)
{
    appData->geometryOption[0] = '\0';
    appData->confirmQuit = 1;
    menu("MenuSettingsSetEnv");
    Widget form = find("*SetEnvDialog");
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(XtIsManaged(form));
    EXPECT_NE(XtNameToWidget(form, "*SetEnvRowColumn"), nullptr);
    Widget width = XtNameToWidget(form, "*TextGeometryWidth");
    Widget height = XtNameToWidget(form, "*TextGeometryHeight");
    EXPECT_EQ(fieldText(width), "640") << "no stored geometry: the window's size";
    EXPECT_EQ(fieldText(height), "480");
    EXPECT_TRUE(isSet(XtNameToWidget(form, "*ToggleConfirmQuit")));

    type(height, "");
    press(XtNameToWidget(form, "*ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_TRUE(XtIsManaged(form));
    EXPECT_STREQ(appData->geometryOption, "");

    type(width, "");
    press(XtNameToWidget(form, "*ButtonGeometryNow"));
    EXPECT_EQ(fieldText(width), "640");
    EXPECT_EQ(fieldText(height), "480");
    type(width, "800");
    type(height, "600");
    type(XtNameToWidget(form, "*TextTZ"), "JST-9");
    XmToggleButtonSetState(XtNameToWidget(form, "*ToggleConfirmQuit"), False, True);
    press(XtNameToWidget(form, "*ButtonOK"));
    EXPECT_FALSE(XtIsManaged(form));
    EXPECT_STREQ(appData->geometryOption, "800x600");
    EXPECT_STREQ(appData->tzOption, "JST-9");
    EXPECT_EQ(appData->confirmQuit, 0);
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1);
    // Tip help off, then on again: the shell is destroyed, then a new one made.
    appData->tipShell = createTipShell(appData->topLevel);
    ASSERT_NE(appData->tipShell, nullptr);
    menu("MenuSettingsSetEnv");
    EXPECT_TRUE(isSet(XtNameToWidget(form, "*ToggleTipHelp")));
    XmToggleButtonSetState(XtNameToWidget(form, "*ToggleTipHelp"), False, True);
    press(XtNameToWidget(form, "*ButtonOK"));
    EXPECT_EQ(appData->tipShell, nullptr);
    XtAppContext app = XtWidgetToApplicationContext(appData->topLevel);
    while (XtAppPending(app)) // the destroyed shell goes in the event loop's next turn
        XtAppProcessEvent(app, XtIMAll);
    EXPECT_EQ(find("TipHelp"), nullptr);
    menu("MenuSettingsSetEnv");
    EXPECT_FALSE(isSet(XtNameToWidget(form, "*ToggleTipHelp")));
    XmToggleButtonSetState(XtNameToWidget(form, "*ToggleTipHelp"), True, True);
    press(XtNameToWidget(form, "*ButtonOK"));
    ASSERT_NE(appData->tipShell, nullptr);
    EXPECT_STREQ(XtName(appData->tipShell), "TipHelp");
    EXPECT_EQ(find("TipHelp"), appData->tipShell);
}

// A file-selection box: its text field set to the name, OK pressed.
void chooseFile(Widget box, const std::string &name)
{
    ASSERT_NE(box, nullptr);
    XmTextFieldSetString(XmFileSelectionBoxGetChild(box, XmDIALOG_TEXT), const_cast<char *>(name.c_str()));
    press(XmFileSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
}

std::string directoryOf(Widget box)
{
    XmString dir = nullptr;
    XtVaGetValues(box, XmNdirectory, &dir, nullptr);
    char *text = static_cast<char *>(XmStringUnparse(dir, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                     XmOUTPUT_ALL));
    std::string s = text ? text : "";
    XtFree(text);
    XmStringFree(dir);
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return s;
}

TEST_F(FileDateDialogsX, FileBoxesRunTheirCommandsRefuseBadNamesAndRememberTheDirectory)
{
    TempDir home;
    const std::string sceneDir = home.path();
    const std::string scene = home.write("night.stl", "SCENE MAIN\nZOOM UP\nEND SCENE\n");
    const std::string notes = home.write("notes.stl", "not a scene\n");

    ASSERT_EQ(openInputDialog(&chart, kInputDialogOpenFile), 1) << "INPUT OPENFILE";
    Widget open = find("*OpenFile");
    ASSERT_NE(open, nullptr);
    EXPECT_FALSE(XtIsManaged(XmFileSelectionBoxGetChild(open, XmDIALOG_HELP_BUTTON)));
    chooseFile(open, notes);
    EXPECT_TRUE(sent.empty()) << "a file that is no scene runs nothing";
    EXPECT_STREQ(chart.sceneFilePath, "");
    EXPECT_FALSE(XtIsManaged(open));

    menu("MenuFileOpen");
    chooseFile(open, scene);
    EXPECT_EQ(sent, std::vector<std::string>{"STL \"" + scene + "\""});
    EXPECT_EQ(std::string(chart.sceneFilePath), scene);

    // The next Open and Save start where the scene came from.
    openOpenFileDialog(&chart);
    EXPECT_EQ(directoryOf(open), sceneDir);
    XtUnmanageChild(open);
    ASSERT_EQ(openInputDialog(&chart, kInputDialogSaveFile), 1) << "INPUT SAVEFILE";
    Widget save = find("*SaveFile");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(directoryOf(save), sceneDir);
    chooseFile(save, sceneDir + "/none/x.stl");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1) << "a save that fails says so";
    EXPECT_TRUE(XtIsManaged(save)) << "and the box stays";
    XtUnmanageChild(save);
    menu("MenuFileSaveAs");
    EXPECT_TRUE(XtIsManaged(save));
    XtUnmanageChild(save);

    sent.clear();
    menu("MenuFileSaveImage");
    Widget image = find("*SaveImage");
    ASSERT_NE(image, nullptr);
    chooseFile(image, sceneDir + "/my; EXIT");
    EXPECT_TRUE(sent.empty()) << "a \";\" would have run the rest as a command";
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2);
    EXPECT_TRUE(XtIsManaged(image));
    chooseFile(image, sceneDir + "/my chart");
    EXPECT_EQ(sent, std::vector<std::string>{"GSAVE \"" + sceneDir + "/my chart\""});
    EXPECT_STREQ(appData->saveImagePath, sceneDir.c_str());
    EXPECT_FALSE(XtIsManaged(image));
}

} // namespace
