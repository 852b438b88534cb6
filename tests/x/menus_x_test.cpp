// The menus, the step box, the command dialog and message boxes through the
// real widgets on a private X server: items found by name and activated
// through their callbacks, with the commands they run recorded.
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <X11/Xatom.h>
#include <Xm/List.h>
#include <Xm/MessageB.h>
#include <Xm/PushB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleBG.h>

#include "command/interpreter.h"
#include "command/scene_save.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "resources/fallback.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_widgets.h"
#include "ui/app/actions.h"
#include "ui/widgets/command_dialog.h"
#include "ui/widgets/message_box.h"
#include "ui/widgets/step_box.h"
#include "ui/widgets/text_field.h"
#include "ui/window/main_window.h"

namespace {

std::vector<std::string> sent;
bool passOn = false; // also run what is recorded
void recordCommand(ChartState *chart, const char *text)
{
    sent.emplace_back(text);
    if (passOn)
        stkExecute(chart, text);
}

struct MenusX : ::testing::Test {
    XServer server;
    XtAppContext app = nullptr;
    Display *display = nullptr;
    TestChart owner;
    ChartState &chart = *owner;
    void (*savedExecute)(ChartState *, const char *) = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        display = openDialogShell(server.name(), &app);
        ASSERT_NE(display, nullptr);
        appAddActions(app);
        currentChart = &chart;
        createMainWindow(&chart);
        stepBoxCreate(&chart);
        uiHooksRecordMessages();
        savedExecute = stkExecuteCall;
        stkExecuteCall = recordCommand;
        sent.clear();
        passOn = false;
        pump();
    }
    void TearDown() override
    {
        if (savedExecute)
            stkExecuteCall = savedExecute;
        uiHooksReset();
        closeDialogShell();
    }

    // Handles what the server has sent, for up to ms or until done.
    template <class F> bool pumpUntil(F done, int ms = 3000)
    {
        for (int t = 0; t < ms; t += 5) {
            XSync(display, False);
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            if (done())
                return true;
            usleep(5000);
        }
        return done();
    }
    void pump()
    {
        pumpUntil([] { return false; }, 30);
    }

    Widget item(const char *name)
    {
        Widget w = XtNameToWidget(appData->topLevel, (std::string("*") + name).c_str());
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Activates an item as a click does: push buttons their activate
    // callback, toggles their value-changed callback.
    void activate(const char *name)
    {
        if (Widget w = item(name))
            xActivate(w);
    }
    void openMenu(const char *cascade)
    {
        XmAnyCallbackStruct cbs{};
        cbs.reason = XmCR_CASCADING;
        XtCallCallbacks(item(cascade), XmNcascadingCallback, &cbs);
    }
    bool isSet(const char *name) { return XmToggleButtonGadgetGetState(item(name)); }
    bool isSensitive(const char *name) { return XtIsSensitive(item(name)); }
};

TEST_F(MenusX, ItemsRunExactlyTheirTextsForTheModeAndFlags)
{
    struct Case {
        const char *name;
        int32_t mode;
        void (*setUp)(ChartState &c);
        const char *item;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"width 30 in HRZ", kModeHrz, [](ChartState &) {}, "MenuViewWidth30", {"VIEW ANGLE 30.0;DRIVE"}},
        {"width 30 in SOL2", kModeSol2, [](ChartState &) {}, "MenuViewWidth30", {}},
        {"north in HRZ", kModeHrz, [](ChartState &) {}, "MenuViewDirNorth", {"VIEW CENTER HRZ 180.00,0;LOOK HRZ"}},
        {"north in PLNS", kModePlns, [](ChartState &) {}, "MenuViewDirNorth", {"VIEW CENTER HRZ 180.00,0;DRIVE"}},
        {"east in EQT", kModeEqt, [](ChartState &) {}, "MenuViewDirEast", {}},
        {"sky mark with both bits", kModeHrz, [](ChartState &c) { c.skyMarkFlags = 0x03; }, "MenuObjectSkyMark",
         {"HIDE SKYMARK,SKYMARK_NAME", "DRIVE"}},
        {"sky mark with one bit", kModeHrz, [](ChartState &c) { c.skyMarkFlags = 0x01; }, "MenuObjectSkyMark",
         {"SHOW SKYMARK,SKYMARK_NAME", "DRIVE"}},
        {"daylight shown", kModeHrz, [](ChartState &c) { c.skyFlags |= 0x01; }, "MenuViewDaylight",
         {"HIDE DAYLIGHT; DRIVE"}},
        {"status bar hidden", kModeHrz, [](ChartState &c) { c.statusBar = 0; }, "MenuViewStatusbar",
         {"SHOW STATUSBAR; DRIVE"}},
        {"trace", kModeHrz, [](ChartState &) {}, "MenuSettingsTrace", {"TOGGLE TRACE; DRIVE"}},
        {"play", kModeHrz, [](ChartState &) {}, "MenuSettingsContinue", {"CONTINUE"}},
        {"flip", kModeHrz, [](ChartState &) {}, "MenuViewRotateMirror", {"MIRROR 2; DRIVE"}},
        {"horizon", kModeHrz, [](ChartState &) {}, "MenuViewLookHrz", {"LOOK HRZ"}},
        {"centre on the moon", kModeEqt, [](ChartState &) {}, "MenuCenterMoon", {"LOOK MOON; BLINK MOON"}},
        {"milky way", kModeEqt, [](ChartState &) {}, "MenuObjectMilkyway", {"TOGGLE MILKYWAY; DRIVE"}},
    };
    for (const Case &c : cases) {
        chart.mode = c.mode;
        c.setUp(chart);
        sent.clear();
        activate(c.item);
        EXPECT_EQ(sent, c.texts) << c.name;
    }
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

// A dialog item opens its dialog and nothing else: no command runs and no
// message box appears.
TEST_F(MenusX, DialogItemsOpenTheirDialogsAndRunNothing)
{
    const struct {
        const char *item, *dialog;
    } cases[] = {
        {"MenuObjectStar", "*StarDialog"},           {"MenuObjectNebula", "*NebulaDialog"},
        {"MenuObjectUserObject", "*UserObjectDialog"}, {"MenuFileSaveImage", "*SaveImage"},
        {"MenuViewProjection", "*ProjectionDialog"},   {"MenuHelpCopyright", "*CopyrightDialog"},
    };
    for (const auto &c : cases) {
        uiHooksRecordMessages();
        sent.clear();
        activate(c.item);
        EXPECT_TRUE(sent.empty()) << c.item;
        EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << c.item;
        Widget dialog = XtNameToWidget(appData->topLevel, c.dialog);
        ASSERT_NE(dialog, nullptr) << c.dialog;
        EXPECT_TRUE(XtIsManaged(dialog)) << c.dialog;
    }
}

TEST_F(MenusX, CascadingCallbacksSetTheRealItems)
{
    // A comet file that exists with no comets loaded.
    TempDir dir;
    const std::string comets = dir.write("comets.dat", "x\n");
    std::snprintf(appData->cometFile, sizeof appData->cometFile, "%s", comets.c_str());
    // No minor-planet file, whatever an earlier test named.
    std::snprintf(appData->minorPlanetFile, sizeof appData->minorPlanetFile, "%s", dir.file("mp.elm").c_str());
    chart.cometCount = 0;
    chart.planetFlags[3] |= kBodyShown; // Jupiter

    struct Case {
        int32_t mode;
        const char *cascade;
        const char *item;
        bool sensitive;
    };
    const Case cases[] = {
        {kModeSol1, "MenuView", "MenuViewWidth", false},       {kModeSol1, "MenuView", "MenuViewDir", false},
        {kModeSol1, "MenuView", "MenuViewRotate", false},      {kModeSol1, "MenuView", "MenuViewLookHrz", false},
        {kModeSol1, "MenuView", "MenuViewDaylight", false},    {kModeSol1, "MenuObject", "MenuObjectJoviSat", false},
        {kModeSol1, "MenuCenter", "MenuCenterJoviSat", false}, {kModePlns, "MenuView", "MenuViewDir", true},
        {kModePlns, "MenuView", "MenuViewWidth", false},       {kModePlns, "MenuView", "MenuViewLookHrz", false},
        {kModePlns, "MenuObject", "MenuObjectJoviSat", true},  {kModeHrz, "MenuView", "MenuViewLookHrz", true},
        {kModeHrz, "MenuObject", "MenuObjectComet", true},     {kModeHrz, "MenuObject", "MenuObjectMPlanet", false},
        {kModeHrz, "MenuCenter", "MenuCenterComet", false},
    };
    for (const Case &c : cases) {
        chart.mode = c.mode;
        openMenu(c.cascade);
        EXPECT_EQ(isSensitive(c.item), c.sensitive) << c.item << " in mode " << c.mode;
    }

    chart.mirror = kMirrorTurned;
    openMenu("MenuViewRotate");
    EXPECT_FALSE(isSet("MenuViewRotateNormal"));
    EXPECT_TRUE(isSet("MenuViewRotate180"));
    EXPECT_FALSE(isSet("MenuViewRotateMirror"));

    chart.playing = 1;
    chart.traceFlags = 0;
    openMenu("MenuSettings");
    EXPECT_TRUE(isSet("MenuSettingsContinue"));
    EXPECT_FALSE(isSet("MenuSettingsTrace"));

    // Options follow what is shown: the step box through its own item.
    openMenu("MenuOption");
    EXPECT_FALSE(isSet("MenuOptionStepBox"));
    activate("MenuOptionStepBox");
    EXPECT_TRUE(XtIsManaged(appData->stepBox));
    openMenu("MenuOption");
    EXPECT_TRUE(isSet("MenuOptionStepBox"));
    activate("MenuOptionStepBox");
    EXPECT_FALSE(XtIsManaged(appData->stepBox));
    activate("MenuOptionCommandBox");
    openMenu("MenuOption");
    EXPECT_TRUE(isSet("MenuOptionCommandBox"));
    EXPECT_FALSE(isSet("MenuOptionWhatsToday"));
}

// The texts of the step rows as the step box is meant to send them, blanks
// and all.
struct StepCase {
    const char *button;
    const char *text;
};
const StepCase kStepCases[] = {
    {"ButtonMinus1Min", "DECTIME  0, 0,  0, 0,  1, 0.0;DRIVE"},
    {"ButtonPlus1Min", "INCTIME  0, 0,  0, 0,  1, 0.0;DRIVE"},
    {"ButtonMinus5Min", "DECTIME  0, 0,  0, 0,  5, 0.0;DRIVE"},
    {"ButtonPlus5Min", "INCTIME  0, 0,  0, 0,  5, 0.0;DRIVE"},
    {"ButtonMinus10Min", "DECTIME  0, 0,  0, 0, 10, 0.0;DRIVE"},
    {"ButtonPlus10Min", "INCTIME  0, 0,  0, 0, 10, 0.0;DRIVE"},
    {"ButtonMinus30Min", "DECTIME  0, 0,  0, 0, 30, 0.0;DRIVE"},
    {"ButtonPlus30Min", "INCTIME  0, 0,  0, 0, 30, 0.0;DRIVE"},
    {"ButtonMinus1Hour", "DECTIME  0, 0,  0, 1,  0, 0.0;DRIVE"},
    {"ButtonPlus1Hour", "INCTIME  0, 0,  0, 1,  0, 0.0;DRIVE"},
    {"ButtonMinus3Hour", "DECTIME  0, 0,  0, 3,  0, 0.0;DRIVE"},
    {"ButtonPlus3Hour", "INCTIME  0, 0,  0, 3,  0, 0.0;DRIVE"},
    {"ButtonMinus1Day", "DECTIME  0, 0,  1, 0,  0, 0.0;DRIVE"},
    {"ButtonPlus1Day", "INCTIME  0, 0,  1, 0,  0, 0.0;DRIVE"},
    {"ButtonMinus10Day", "DECTIME  0, 0, 10, 0,  0, 0.0;DRIVE"},
    {"ButtonPlus10Day", "INCTIME  0, 0, 10, 0,  0, 0.0;DRIVE"},
    {"ButtonMinus1Mon", "DECTIME  0, 1,  0, 0,  0, 0.0;DRIVE"},
    {"ButtonPlus1Mon", "INCTIME  0, 1,  0, 0,  0, 0.0;DRIVE"},
    {"ButtonMinus1Year", "DECTIME  1, 0,  0, 0,  0, 0.0;DRIVE"},
    {"ButtonPlus1Year", "INCTIME  1, 0,  0, 0,  0, 0.0;DRIVE"},
};

TEST_F(MenusX, EveryStepButtonSendsItsTextOnAClick)
{
    Widget box = appData->stepBox;
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(XtIsManaged(box)) << "built hidden";
    for (int row = 0; row < 10; row++) {
        const std::string form = "StepForm" + std::to_string(row);
        EXPECT_NE(XtNameToWidget(box, form.c_str()), nullptr) << form;
    }
    for (const StepCase &c : kStepCases) {
        Widget b = XtNameToWidget(box, (std::string("*") + c.button).c_str());
        ASSERT_NE(b, nullptr) << c.button;
        unsigned char type = 0;
        XtVaGetValues(b, XmNlabelType, &type, nullptr);
        EXPECT_EQ(type, XmPIXMAP) << c.button;
        sent.clear();
        XmAnyCallbackStruct cbs{};
        cbs.reason = XmCR_ARM;
        XtCallCallbacks(b, XmNarmCallback, &cbs);
        cbs.reason = XmCR_DISARM;
        XtCallCallbacks(b, XmNdisarmCallback, &cbs);
        EXPECT_EQ(sent, std::vector<std::string>{c.text}) << c.button;
    }
}

TEST_F(MenusX, HeldStepButtonRepeatsOnTheEventLoopUntilReleased)
{
    Widget b = XtNameToWidget(appData->stepBox, "*ButtonPlus1Day");
    ASSERT_NE(b, nullptr);
    XmAnyCallbackStruct cbs{};
    cbs.reason = XmCR_ARM;
    XtCallCallbacks(b, XmNarmCallback, &cbs);
    ASSERT_TRUE(pumpUntil([] { return sent.size() >= 3; }, 5000)) << "repeats while held";
    cbs.reason = XmCR_DISARM;
    XtCallCallbacks(b, XmNdisarmCallback, &cbs);
    const size_t held = sent.size();
    pumpUntil([] { return false; }, 200);
    EXPECT_EQ(sent.size(), held) << "no step at or after the release";
    for (const std::string &s : sent)
        EXPECT_EQ(s, "INCTIME  0, 0,  1, 0,  0, 0.0;DRIVE");
}

struct CommandDialogX : MenusX {
    TempDir home;
    std::string historyPath;
    void SetUp() override
    {
        MenusX::SetUp();
        std::snprintf(appData->userDir, sizeof appData->userDir, "%s", home.path().c_str());
        historyPath = home.file("history");
    }
    Widget field() { return XmSelectionBoxGetChild(appData->commandDialog, XmDIALOG_TEXT); }
    void type(const std::string &text)
    {
        XmTextFieldSetString(field(), const_cast<char *>(text.c_str()));
        XmPushButtonCallbackStruct cbs{};
        cbs.reason = XmCR_ACTIVATE;
        XtCallCallbacks(XmSelectionBoxGetChild(appData->commandDialog, XmDIALOG_OK_BUTTON), XmNactivateCallback,
                        &cbs);
    }
    int listCount()
    {
        int n = 0;
        XtVaGetValues(XmSelectionBoxGetChild(appData->commandDialog, XmDIALOG_LIST), XmNitemCount, &n, nullptr);
        return n;
    }
    std::string fieldText()
    {
        char *s = XmTextFieldGetString(field());
        std::string t = s ? s : "";
        XtFree(s);
        return t;
    }
};

TEST_F(CommandDialogX, HistoryKeepsTheLast10Of25InOrderAndRepeatsOnce)
{
    appData->saveHistory = 10;
    toggleCommandDialog(&chart);
    ASSERT_NE(appData->commandDialog, nullptr);
    EXPECT_TRUE(XtIsManaged(appData->commandDialog));
    for (int i = 1; i <= 25; i++)
        type("MAG STAR " + std::to_string(i));
    EXPECT_EQ(sent.size(), 25u);
    EXPECT_EQ(fieldText(), "MAG STAR 25") << "OK leaves the last command ready to repeat";
    EXPECT_TRUE(XtIsManaged(appData->commandDialog)) << "OK keeps the dialog open";
    type("MAG STAR 25");
    EXPECT_EQ(sent.size(), 26u) << "the same command runs again";
    EXPECT_EQ(listCount(), 25) << "but is one history entry";
    type("   ");
    EXPECT_EQ(sent.size(), 26u) << "blanks run nothing";
    historySave();
    std::string expected;
    for (int i = 16; i <= 25; i++)
        expected += "MAG STAR " + std::to_string(i) + "\n";
    EXPECT_EQ(readFile(historyPath), expected);

    appData->saveHistory = 0;
    historySave();
    struct stat st;
    EXPECT_NE(stat(historyPath.c_str(), &st), 0) << "SaveHistory 0 removes the file";
}

TEST_F(CommandDialogX, ARunThatNeverOpenedTheDialogLeavesTheFileAlone)
{
    const std::string old = "LOOK HRZ\nDRIVE\n";
    home.write("history", old);
    appData->saveHistory = 0;
    historySave();
    EXPECT_EQ(readFile(historyPath), old);
    EXPECT_EQ(appData->commandDialog, nullptr);
}

TEST_F(CommandDialogX, ARecalledTextOver259CharactersIsRefusedAndNotAppended)
{
    const std::string longText = "MAG STAR 5" + std::string(290, ' ');
    home.write("history", "DRIVE\n" + longText + "\n");
    toggleCommandDialog(&chart);
    ASSERT_EQ(listCount(), 2) << "the history is loaded";
    EXPECT_EQ(fieldText(), longText) << "the last entry is ready";
    type(fieldText());
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(listCount(), 2);
    EXPECT_EQ(fieldText(), longText) << "left to edit";
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_NE(std::strstr(uiHooksRecordedMessageText(0), "too long"), nullptr) << uiHooksRecordedMessageText(0);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
}

// The first opening, from the menu item, has the recalled command selected
// whole, so that the first key typed replaces it; the selection of the field
// was set before the dialog was shown and lost, and typing appended to the
// recalled text.
TEST_F(CommandDialogX, TheFirstOpeningSelectsTheRecalledTextSoTypingReplacesIt)
{
    home.write("history", "MAG STAR 5.0\nDRIVEMODE EQT\n");
    activate("MenuOptionCommandBox");
    ASSERT_TRUE(pumpUntil([] { return appData->commandDialog && XtIsManaged(appData->commandDialog); }));
    pump();
    EXPECT_EQ(fieldText(), "DRIVEMODE EQT");
    XmTextPosition left = 0, right = 0;
    EXPECT_TRUE(XmTextFieldGetSelectionPosition(field(), &left, &right));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, static_cast<XmTextPosition>(std::strlen("DRIVEMODE EQT")));
    // A key typed into the field, as the keyboard sends it.
    XmProcessTraversal(field(), XmTRAVERSE_CURRENT);
    pump();
    xSendKey(display, XtWindow(field()), "d");
    EXPECT_TRUE(pumpUntil([this] { return fieldText() == "d"; })) << fieldText();
}

// Width 320 at every opening and no resizing, also after the user moved it.
TEST_F(CommandDialogX, KeepsItsWidthAfterItWasMoved)
{
    home.write("history", "DRIVE\n");
    toggleCommandDialog(&chart);
    pump();
    Widget shell = XtParent(appData->commandDialog);
    auto width = [] {
        Dimension w = 0;
        XtVaGetValues(appData->commandDialog, XmNwidth, &w, nullptr);
        return static_cast<int>(w);
    };
    EXPECT_EQ(width(), 320);
    XtVaSetValues(shell, XmNx, 200, XmNy, 150, nullptr);
    pump();
    EXPECT_EQ(width(), 320) << "moved";
    toggleCommandDialog(&chart);
    pump();
    toggleCommandDialog(&chart);
    pump();
    EXPECT_EQ(width(), 320) << "moved, closed and opened again";
}

TEST_F(CommandDialogX, OneCtrlSpaceTogglesTheDialogOnce)
{
    Window w = XtWindow(chart.drawingArea);
    XmProcessTraversal(chart.drawingArea, XmTRAVERSE_CURRENT);
    auto pressCtrlSpace = [&] { xSendKey(display, w, "space", ControlMask); };
    pressCtrlSpace();
    ASSERT_TRUE(pumpUntil([] { return appData->commandDialog && XtIsManaged(appData->commandDialog); }));
    pump();
    EXPECT_TRUE(XtIsManaged(appData->commandDialog)) << "opened once, not opened and closed";
    pressCtrlSpace();
    EXPECT_TRUE(pumpUntil([] { return !XtIsManaged(appData->commandDialog); }));

    // The same event through both the accelerator and the translation.
    XEvent event{};
    event.xkey.type = KeyPress;
    event.xkey.serial = 4242;
    event.xkey.time = 777;
    toggleCommandDialogForEvent(&chart, &event);
    toggleCommandDialogForEvent(&chart, &event);
    EXPECT_TRUE(XtIsManaged(appData->commandDialog));
    event.xkey.serial = 4243;
    toggleCommandDialogForEvent(&chart, &event);
    EXPECT_FALSE(XtIsManaged(appData->commandDialog));
}

// Presses a message box's OK button from inside the event loop's dispatch,
// where a click on it is handled: a client message to the box's window runs
// the button's activate callbacks.
Widget pendingOk = nullptr;
void pressPendingOk(Widget, XtPointer, XEvent *event, Boolean *)
{
    if (event->type != ClientMessage || !pendingOk)
        return;
    Widget ok = pendingOk;
    pendingOk = nullptr;
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.event = event;
    XtCallCallbacks(ok, XmNactivateCallback, &cbs);
}
void pressOkFromEventLoop(Widget box)
{
    pendingOk = XmMessageBoxGetChild(box, XmDIALOG_OK_BUTTON);
    XtAddEventHandler(box, NoEventMask, True, pressPendingOk, nullptr);
    XClientMessageEvent m{};
    m.type = ClientMessage;
    m.window = XtWindow(box);
    m.message_type = XA_STRING;
    m.format = 32;
    XSendEvent(XtDisplay(box), XtWindow(box), False, NoEventMask, reinterpret_cast<XEvent *>(&m));
}

TEST_F(MenusX, MessageBoxesAreDestroyedHoweverTheyGoAway)
{
    uiHooksReset();
    Widget top = appData->topLevel;
    const Cardinal popupsBefore = top->core.num_popups;
    Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    for (int i = 0; i < 200; i++) {
        openMessageBox(top, "A message", 1 + i % 4);
        Widget box = XtNameToWidget(top, "*MessageBox");
        ASSERT_NE(box, nullptr) << i;
        Widget shell = XtParent(box);
        ASSERT_TRUE(pumpUntil([&] {
            XWindowAttributes a;
            return XtIsRealized(shell) && XGetWindowAttributes(display, XtWindow(shell), &a) &&
                   a.map_state == IsViewable;
        })) << i;
        if (i % 2 == 0) {
            // OK pressed from within the event loop, as a click is handled.
            pressOkFromEventLoop(box);
        } else {
            XClientMessageEvent m{};
            m.type = ClientMessage;
            m.window = XtWindow(shell);
            m.message_type = protocols;
            m.format = 32;
            m.data.l[0] = static_cast<long>(deleteWindow);
            m.data.l[1] = CurrentTime;
            XSendEvent(display, XtWindow(shell), False, NoEventMask, reinterpret_cast<XEvent *>(&m));
        }
        ASSERT_TRUE(pumpUntil([&] { return XtNameToWidget(top, "*MessageBox") == nullptr; }))
            << "box " << i << (i % 2 ? " closed by the window manager" : " closed by OK") << " is still there";
    }
    EXPECT_EQ(top->core.num_popups, popupsBefore);
}

// The message boxes standing on the top-level shell.
int shownMessageBoxes(Widget top)
{
    int n = 0;
    for (Cardinal i = 0; i < top->core.num_popups; i++) {
        Widget shell = top->core.popup_list[i];
        if (!shell->core.being_destroyed && XtNameToWidget(shell, "MessageBox"))
            n++;
    }
    return n;
}

// INIT without a default site warns in a box; INIT sent again and again
// (2,500 times over TCP once stacked 2,500 boxes, 25 MB) keeps that one box,
// and the warning comes again only after it went. Other messages are not
// held back by it.
TEST_F(MenusX, RepeatedInitWithoutADefaultSiteKeepsOneWarningBox)
{
    uiHooks.openMessageBox = openMessageBox;
    uiHooks.openMessageBoxOnce = openMessageBoxOnce;
    appData->initialising = 0;
    Widget top = appData->topLevel;
    ASSERT_EQ(shownMessageBoxes(top), 0);
    for (int i = 0; i < 50; i++)
        stkExecute(&chart, "INIT");
    pump();
    EXPECT_EQ(shownMessageBoxes(top), 1);
    EXPECT_STREQ(chart.siteName, "Greenwich (United Kingdom)") << "each INIT still set the built-in site";
    openMessageBox(top, "Another message", kMessageBoxWarning);
    EXPECT_EQ(shownMessageBoxes(top), 2);

    for (int left = 2; left > 0; left--) { // OK on each, one at a time
        Widget box = XtNameToWidget(top, "*MessageBox");
        ASSERT_NE(box, nullptr);
        pressOkFromEventLoop(box);
        ASSERT_TRUE(pumpUntil([&] { return shownMessageBoxes(top) == left - 1; }));
    }
    stkExecute(&chart, "INIT");
    stkExecute(&chart, "INIT");
    pump();
    EXPECT_EQ(shownMessageBoxes(top), 1) << "the warning once more after the first went";
}

TEST_F(MenusX, TextFieldsReadNumbersAsCommandsDo)
{
    Widget field = XmCreateTextField(appData->topLevel, const_cast<char *>("Field"), nullptr, 0);
    struct Case {
        const char *text;
        int i;
        double r;
    };
    const Case cases[] = {
        {"  42", 42, 42.0}, {"-7x", -7, -7.0}, {"3.75", 3, 3.75}, {"", 0, 0.0}, {"abc", 0, 0.0}, {"+12e1", 12, 120.0},
    };
    for (const Case &c : cases) {
        XmTextFieldSetString(field, const_cast<char *>(c.text));
        EXPECT_EQ(textFieldInt(field), c.i) << c.text;
        EXPECT_DOUBLE_EQ(textFieldReal(field), c.r) << c.text;
    }
}

} // namespace

namespace {

int answerYes(Widget, const char *) { return 1; }
int answerNo(Widget, const char *) { return 0; }

// File > Save, Settings > Save As Default and Settings > Initialize do what
// the scene-saving routines do.
TEST_F(MenusX, SaveItemsWriteTheSceneAsTheSaveRoutineDoes)
{
    TempDir dir;
    passOn = true;
    stkExecute(&chart, "MIRROR 1");
    stkExecute(&chart, "HIDE STATUSBAR");

    const std::string scene = dir.file("night.scene");
    std::snprintf(chart.sceneFilePath, sizeof chart.sceneFilePath, "%s", scene.c_str());
    activate("MenuFileSave");
    const std::string reference = dir.file("reference.scene");
    ASSERT_EQ(saveSceneFile(&chart, reference.c_str(), 0), 1);
    EXPECT_FALSE(readFile(scene).empty());
    EXPECT_EQ(readFile(scene), readFile(reference));

    const std::string rc = dir.file("tavikrc");
    std::snprintf(appData->rcPath, sizeof appData->rcPath, "%s", rc.c_str());
    std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Greenwich");
    uiHooks.askQuestion = answerNo;
    activate("MenuSettingsSaveAsDefault");
    struct stat st;
    EXPECT_NE(stat(rc.c_str(), &st), 0) << "a refusal writes nothing";
    uiHooks.askQuestion = answerYes;
    activate("MenuSettingsSaveAsDefault");
    const std::string rcReference = dir.file("reference.rc");
    ASSERT_EQ(saveSceneFile(&chart, rcReference.c_str(), 1), 1);
    EXPECT_FALSE(readFile(rc).empty());
    EXPECT_EQ(readFile(rc), readFile(rcReference));
    EXPECT_STREQ(appData->siteName, "Greenwich");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);

    // Initialize: the defaults, then the saved start-up script.
    appData->confirmInit = 0;
    stkExecute(&chart, "MIRROR 2");
    stkExecute(&chart, "SHOW STATUSBAR");
    sent.clear();
    activate("MenuSettingsInitialize");
    EXPECT_EQ(chart.mirror, 1) << "read back from the start-up script";
    EXPECT_EQ(chart.statusBar & kStatusBarShown, 0);
}

} // namespace
