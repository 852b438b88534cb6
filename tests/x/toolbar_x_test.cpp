// The main window built in this process on a private X server: the tool bar's
// buttons found by widget name and pressed through their callbacks, the
// scroll bars over the fourteen modes, and the tool-tip widget's contexts,
// timers and placement.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <unistd.h>

#include <Xm/PushB.h>
#include <Xm/ScrollBar.h>
#include <Xm/Xm.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/app/actions.h"
#include "ui/widgets/auto_repeat.h"
#include "ui/widgets/lite_clue_p.h"
#include "ui/window/main_window.h"
#include "ui/window/navigation.h"
#include "ui/window/navigation_rules.h"
#include "ui/window/toolbar.h"

namespace {

constexpr double kNightJd = 2460325.375; // 2024-01-15 21:00 UTC

std::vector<std::string> ran;
void recordCommand(ChartState *, const char *text) { ran.push_back(text); }

class MainWindowX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        appData->commandFromSocket = 1;
        uiHooksReset();
        chartSetSite(chart, 35.0, 139.0, 0.0);
        chartSetJd(chart, kNightJd, 0.0);
        chart->chartRect = ChartRect{0, 0, 600, 600};

        shell = openToolkitShell(server.name(), &app);
        ASSERT_NE(shell, nullptr);
        appAddActions(app);
        display = XtDisplay(shell);
        appData->display = display;
        createMainWindow(chart);
        ASSERT_NE(appData->toolBar, nullptr);
        XtManageChild(appData->toolBar);
        XtRealizeWidget(shell);
        createToolbarButtons(chart);
        uiHooks.toolbarRefreshAll = toolbarRefreshAll;
        uiHooks.toolbarRefreshChanged = toolbarRefreshChanged;
        uiHooks.toolbarRefreshOne = toolbarRefreshOne;
        ran.clear();
    }
    void TearDown() override
    {
        stkExecuteCall = stkExecute;
        if (shell) {
            freeToolbarPixmaps();
            appData->tipShell = nullptr;
            closeToolkit(app, shell);
        }
        appData->toolBar = nullptr;
        appData->topLevel = nullptr;
        appData->commandFromSocket = 0;
        uiHooksReset();
    }
    void run(const char *text)
    {
        stkExecute(chart, text);
        ASSERT_STREQ(appData->errorId, "") << text << ": " << appData->errorMessage;
    }
    Widget button(const char *name) { return XtNameToWidget(appData->toolBar, name); }
    unsigned char shadow(const char *name)
    {
        unsigned char s = 0;
        XtVaGetValues(button(name), XmNshadowType, &s, nullptr);
        return s;
    }
    // Lets the toolkit run its timers and events for about ms milliseconds.
    void pump(int ms)
    {
        XSync(display, False);
        for (int t = 0; t < ms; t += 10) {
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            usleep(10000);
        }
    }

    XServer server{1024, 768, 24};
    TestChart owner;
    ChartState *chart = owner.get();
    XtAppContext app = nullptr;
    Display *display = nullptr;
    Widget shell = nullptr;
};

TEST_F(MainWindowX, EachButtonRunsExactlyItsText)
{
    stkExecuteCall = recordCommand;
    struct Case {
        const char *name;
        const char *expected; // null: runs nothing
    } cases[] = {
        {"ToolbarFileOpen", "INPUT OPENFILE"},
        {"ToolbarFileSave", "INPUT SAVEFILE"},
        {"ToolbarModeHrz", nullptr}, // the chart is in this mode already
        {"ToolbarModeEqt", "MODE EQT;DRIVE"},
        {"ToolbarModeAll1", "MODE ALL1_EQT;DRIVE"},
        {"ToolbarModeAll2", "MODE ALL2_EQT;DRIVE"},
        {"ToolbarModeSol", "MODE SOL2;DRIVE"},
        {"ToolbarModePlns", "MODE PLNS;DRIVE"},
        {"ToolbarSetDate", "INPUT DATE"},
        {"ToolbarSetPlace", "INPUT LOCATE"},
        {"ToolbarLookHrz", "LOOK HRZ"},
        {"ToolbarDaylight", "TOGGLE DAYLIGHT;DRIVE"},
        {"ToolbarZoomUp", nullptr}, // the press and release zoom
        {"ToolbarZoomDown", nullptr},
        {"ToolbarConsline", "TOGGLE CONS_LINE;DRIVE"},
        {"ToolbarConsname", "TOGGLE CONS_NAME2;DRIVE"},
        {"ToolbarPlanetname", "TOGGLE PLANET_NAME;DRIVE"},
        {"ToolbarNebula", "TOGGLE NEBULA;DRIVE"},
        {"ToolbarMilkyway", "TOGGLE MILKYWAY;DRIVE"},
        {"ToolbarPicMark", "TOGGLE PICTUREMARK;DRIVE"},
        {"ToolbarGridHrz", "TOGGLE HRZ_GRID;DRIVE"},
        {"ToolbarGridEqt", "TOGGLE EQT_GRID_DATE;DRIVE"},
        {"ToolbarTrace", "TOGGLE TRACE;DRIVE"},
        {"ToolbarSetStep", "INPUT PERIOD"},
        {"ToolbarReverse", "REVERSE ,,,,"},
        {"ToolbarStopPlay", "CONTINUE"},
        {"ToolbarContinue", "CONTINUE ,,,,"},
    };
    int index = 0;
    for (const Case &c : cases) {
        Widget b = button(c.name);
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(b, toolbarButtonWidget(index++)) << c.name << " in its place";
        ran.clear();
        XtCallCallbacks(b, XmNactivateCallback, nullptr);
        if (c.expected)
            EXPECT_EQ(ran, std::vector<std::string>{c.expected}) << c.name;
        else
            EXPECT_TRUE(ran.empty()) << c.name;
    }
    // In another mode the horizontal button does run.
    chart->mode = kModeEqt;
    ran.clear();
    XtCallCallbacks(button("ToolbarModeHrz"), XmNactivateCallback, nullptr);
    EXPECT_EQ(ran, std::vector<std::string>{"MODE HRZ;DRIVE"});
    ran.clear();
    XtCallCallbacks(button("ToolbarModeEqt"), XmNactivateCallback, nullptr);
    EXPECT_TRUE(ran.empty()) << "the equatorial button in the equatorial chart";
}

// The zoom buttons' timer, faked: the test says when it expires.
std::vector<int> timerStarts;
int timersCancelled = 0;
unsigned long fakeStart(AutoRepeat *, int ms)
{
    timerStarts.push_back(ms);
    return timerStarts.size();
}
void fakeCancel(unsigned long) { timersCancelled++; }

// The window from the fallback resources, as start-up sizes it: the last
// button was once cut in half (27 buttons need more than the chart's 720
// pixels and the scroll bar).
TEST_F(MainWindowX, AtTheDefaultSizeTheLastButtonLiesInsideTheToolBar)
{
    mainWindowFitToolbar(chart);
    pump(100);
    Widget last = toolbarButtonWidget(26);
    ASSERT_NE(last, nullptr);
    Position x = 0;
    Dimension width = 0, barWidth = 0, chartHeight = 0;
    XtVaGetValues(last, XmNx, &x, XmNwidth, &width, nullptr);
    XtVaGetValues(appData->toolBar, XmNwidth, &barWidth, nullptr);
    XtVaGetValues(chart->drawingArea, XmNheight, &chartHeight, nullptr);
    EXPECT_GT(width, 0);
    EXPECT_LE(x + width, barWidth) << "the last button reaches " << x + width << " of " << barWidth;
    EXPECT_EQ(chartHeight, 540) << "the chart keeps its default height";
}

TEST_F(MainWindowX, ZoomButtonsClickOnceOrRepeatWhileHeld)
{
    stkExecuteCall = recordCommand;
    const AutoRepeat saved = toolbarZoomRepeat;
    toolbarZoomRepeat.startTimer = fakeStart;
    toolbarZoomRepeat.cancelTimer = fakeCancel;
    struct Case {
        const char *name;
        const char *click, *repeat;
    } cases[] = {
        {"ToolbarZoomUp", "ZOOM UP;DRIVE", "ZOOM UP 1.8; DRIVE"},
        {"ToolbarZoomDown", "ZOOM DOWN;DRIVE", "ZOOM DOWN 1.8; DRIVE"},
    };
    for (const Case &c : cases) {
        Widget b = button(c.name);
        // A click: press, activate, release.
        ran.clear();
        timerStarts.clear();
        timersCancelled = 0;
        XtCallCallbacks(b, XmNarmCallback, nullptr);
        XtCallCallbacks(b, XmNactivateCallback, nullptr);
        EXPECT_TRUE(ran.empty()) << c.name << ": nothing before the release";
        XtCallCallbacks(b, XmNdisarmCallback, nullptr);
        EXPECT_EQ(ran, std::vector<std::string>{c.click}) << c.name;
        EXPECT_EQ(timerStarts, std::vector<int>{300}) << c.name;
        EXPECT_EQ(timersCancelled, 1) << c.name;
        XtCallCallbacks(b, XmNdisarmCallback, nullptr);
        EXPECT_EQ(ran.size(), 1u) << c.name << ": a release without a press runs nothing";

        // Held: the first timer at 300 ms, then every 15 ms; the release adds none.
        ran.clear();
        timerStarts.clear();
        XtCallCallbacks(b, XmNarmCallback, nullptr);
        XtCallCallbacks(b, XmNarmCallback, nullptr); // a second press while held
        for (int i = 0; i < 3; i++)
            zoomRepeatTimerCb(&toolbarZoomRepeat, nullptr);
        XtCallCallbacks(b, XmNactivateCallback, nullptr);
        XtCallCallbacks(b, XmNdisarmCallback, nullptr);
        EXPECT_EQ(ran, (std::vector<std::string>{c.repeat, c.repeat, c.repeat})) << c.name;
        EXPECT_EQ(timerStarts, (std::vector<int>{300, 15, 15, 15})) << c.name;
    }
    toolbarZoomRepeat = saved;
}

TEST_F(MainWindowX, ButtonsFollowTheChartOnlyWhileTheBarIsShown)
{
    run("HIDE CONS_LINE; MODE HRZ");
    toolbarRefreshAll(chart);
    EXPECT_EQ(shadow("ToolbarConsline"), XmSHADOW_OUT);
    EXPECT_EQ(shadow("ToolbarModeHrz"), XmSHADOW_IN);
    run("SHOW CONS_LINE");
    EXPECT_EQ(shadow("ToolbarConsline"), XmSHADOW_IN) << "SHOW refreshes its button";

    XtUnmanageChild(appData->toolBar);
    run("HIDE CONS_LINE; MODE ALL1_EQT; CONTINUE ,,,,");
    toolbarRefreshAll(chart);
    toolbarRefreshChanged(chart);
    EXPECT_EQ(shadow("ToolbarConsline"), XmSHADOW_IN) << "hidden bar left alone";
    EXPECT_EQ(shadow("ToolbarModeHrz"), XmSHADOW_IN);
    EXPECT_TRUE(XtIsSensitive(button("ToolbarZoomUp")));
    EXPECT_TRUE(XtIsSensitive(button("ToolbarContinue")));

    XtManageChild(appData->toolBar);
    toolbarRefreshChanged(chart);
    EXPECT_EQ(shadow("ToolbarConsline"), XmSHADOW_OUT);
    EXPECT_EQ(shadow("ToolbarModeHrz"), XmSHADOW_OUT);
    EXPECT_EQ(shadow("ToolbarModeAll1"), XmSHADOW_IN);
    EXPECT_FALSE(XtIsSensitive(button("ToolbarZoomUp")));
    EXPECT_FALSE(XtIsSensitive(button("ToolbarContinue"))) << "playing";
    EXPECT_TRUE(XtIsSensitive(button("ToolbarStopPlay")));
    EXPECT_EQ(shadow("ToolbarContinue"), XmSHADOW_IN);
    run("CONTINUE");
    EXPECT_TRUE(XtIsSensitive(button("ToolbarContinue"))) << "stopping refreshes the play buttons";
}

TEST_F(MainWindowX, ScrollBarsFollowEveryModeWithoutAMotifWarning)
{
    const char *modes[] = {"HRZ",      "EQT",      "ECL",      "GAL",      "SOL1",     "SOL2",     "SOL3",
                           "ALL1_EQT", "ALL1_ECL", "ALL1_GAL", "ALL2_EQT", "ALL2_ECL", "ALL2_GAL", "PLNS"};
    const int hidden[] = {0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1};
    testing::internal::CaptureStderr();
    for (int i = 0; i < 14; i++) {
        run((std::string("MODE ") + modes[i]).c_str());
        viewUpdateScrollBars(chart);
        EXPECT_EQ(chart->modeChanged, 0);
        XSync(display, False);
        XWindowAttributes a;
        ASSERT_TRUE(XGetWindowAttributes(display, XtWindow(chart->vScroll), &a));
        EXPECT_EQ(a.map_state == IsUnmapped, hidden[i] == 1) << modes[i];
        EXPECT_TRUE(XtIsManaged(chart->hScroll)) << modes[i];
        // To both ends of both bars, by drags and pages, with the view
        // following each LOOK as a frame would.
        for (int value : {-100, 0, 1, 3600, 3700, 5000}) {
            viewScrollHorizontal(chart, kScrollDrag, value);
            updateViewCenterFromTarget(chart);
            viewScrollVertical(chart, kScrollDrag, value);
            viewScrollVertical(chart, kScrollDrag, -value);
            updateViewCenterFromTarget(chart);
            viewUpdateScrollBars(chart);
        }
        for (int k = 0; k < 8; k++) {
            viewScrollVertical(chart, kScrollPageBack, 0);
            viewScrollHorizontal(chart, kScrollPageForward, 0);
            updateViewCenterFromTarget(chart);
            viewUpdateScrollBars(chart);
        }
        for (int k = 0; k < 16; k++) {
            viewScrollVertical(chart, kScrollPageForward, 0);
            viewScrollHorizontal(chart, kScrollStepBack, 0);
            updateViewCenterFromTarget(chart);
            viewUpdateScrollBars(chart);
        }
    }
    XSync(display, False);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// Where the vertical bar is hidden the drawing area reaches as far to the
// right as it starts from the left: no blank strip where the bar stood, as
// an unmapped bar that kept its place left one.
TEST_F(MainWindowX, TheChartTakesTheBarsPlaceWhereTheVerticalBarIsHidden)
{
    const struct {
        const char *mode;
        bool hidden;
    } cases[] = {{"HRZ", false},     {"EQT", false},      {"SOL2", false},     {"ALL1_EQT", true},
                 {"ALL2_GAL", true}, {"PLNS", true},      {"GAL", false},      {"ALL1_ECL", true}};
    for (const auto &c : cases) {
        run((std::string("MODE ") + c.mode).c_str());
        viewUpdateScrollBars(chart);
        pump(50);
        Position x = 0;
        Dimension width = 0, border = 0, mainWidth = 0, barWidth = 0;
        XtVaGetValues(chart->drawingArea, XmNx, &x, XmNwidth, &width, XmNborderWidth, &border, nullptr);
        XtVaGetValues(chart->mainWidget, XmNwidth, &mainWidth, nullptr);
        XtVaGetValues(chart->vScroll, XmNwidth, &barWidth, nullptr);
        const int rightGap = mainWidth - (x + width + 2 * border);
        if (c.hidden) {
            EXPECT_FALSE(XtIsManaged(chart->vScroll)) << c.mode;
            EXPECT_EQ(rightGap, x) << c.mode;
        } else {
            EXPECT_TRUE(XtIsManaged(chart->vScroll)) << c.mode;
            EXPECT_GE(rightGap, x + barWidth) << c.mode << ": the bar beside the chart";
        }
        XWindowAttributes a;
        ASSERT_TRUE(XGetWindowAttributes(display, XtWindow(chart->drawingArea), &a));
        EXPECT_EQ(a.width, width) << c.mode << ": the window has the widget's size";
    }
}

TEST_F(MainWindowX, AScrollWhileTrackingShowsTheViewNotTheAskedAngle)
{
    // LOOK draws at once: the frame's first step moves the view.
    uiHooks.chartRefresh = [](ChartState *c) { updateViewCenterFromTarget(c); };
    run("MODE HRZ; LOOK HRZ 20, 30");
    viewUpdateScrollBars(chart);
    int before = 0, after = 0;
    XtVaGetValues(chart->hScroll, XmNvalue, &before, nullptr);
    run("TRACK HRZ 20, 30");
    viewScrollHorizontal(chart, kScrollPageForward, 0);
    updateViewCenterFromTarget(chart);
    XtVaGetValues(chart->hScroll, XmNvalue, &after, nullptr);
    EXPECT_EQ(after, before) << "the tracked view did not move";
    run("TRACK OFF");
    viewScrollHorizontal(chart, kScrollPageForward, 0);
    XtVaGetValues(chart->hScroll, XmNvalue, &after, nullptr);
    EXPECT_NE(after, before);
}

// --- tool tips ---

XcgLiteCluePart *tipPart(Widget tip) { return &reinterpret_cast<XcgLiteClueWidget>(tip)->liteClue; }

int contextCount(Widget tip)
{
    int n = 0;
    LiteClueContext *head = &tipPart(tip)->head;
    for (LiteClueContext *c = head->next; c != head; c = c->next)
        n++;
    return n;
}

XEvent crossing(Widget w, int type, Time time)
{
    XEvent e{};
    e.xcrossing.type = type;
    e.xcrossing.display = XtDisplay(w);
    e.xcrossing.window = XtWindow(w);
    e.xcrossing.mode = NotifyNormal;
    e.xcrossing.time = time;
    return e;
}

TEST(LiteClue, PlacementKeepsTheTipOnTheScreen)
{
    struct Case {
        const char *name;
        int originX, originY, widgetH, tipW, tipH;
        int x, y;
    } cases[] = {
        {"below the widget", 100, 50, 20, 80, 18, 104, 74},
        {"at the bottom edge: above", 100, 740, 20, 80, 18, 104, 718},
        {"just fits below", 100, 726, 20, 80, 18, 104, 750},
        {"one pixel too low: above", 100, 727, 20, 80, 18, 104, 705},
        {"at the right edge: one pixel inside", 1000, 50, 20, 80, 18, 943, 74},
        {"left of the screen: 0", -30, 50, 20, 80, 18, 0, 74},
    };
    for (const Case &c : cases) {
        int x = -1, y = -1;
        liteCluePlacement(c.originX, c.originY, c.widgetH, c.tipW, c.tipH, 1024, 768, &x, &y);
        EXPECT_EQ(x, c.x) << c.name;
        EXPECT_EQ(y, c.y) << c.name;
    }
}

TEST(LiteClue, NoWaitJustAfterATipWentDown)
{
    struct Case {
        const char *name;
        Time last, now;
        unsigned long wait;
    } cases[] = {
        {"first tip on a fresh server", 0, 300, 0},
        {"within 2000 ms", 10000, 11999, 0},
        {"at 2000 ms", 10000, 12000, 0},
        {"after 2000 ms", 10000, 12001, 500},
        {"across the 32-bit wrap", 0xffffff00UL, 0x100, 0},
        {"long after, across the wrap", 0xffff0000UL, 0x10000, 500},
    };
    for (const Case &c : cases)
        EXPECT_EQ(liteClueWaitMs(c.last, c.now, 500, 2000), c.wait) << c.name;
}

TEST_F(MainWindowX, TipContextsAndTheirHandlers)
{
    Widget tip = createTipShell(shell);
    ASSERT_TRUE(XtIsSubclass(tip, xcgLiteClueWidgetClass));
    appData->tipShell = tip;
    Widget open = button("ToolbarFileOpen"), save = button("ToolbarFileSave");
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, nullptr), False) << "empty list";

    addToolbarTips(tip);
    EXPECT_EQ(contextCount(tip), kToolbarButtonCount);
    LiteClueContext *first = tipPart(tip)->head.next;
    EXPECT_EQ(first->watched, open);
    EXPECT_STREQ(first->text, "Open file");
    XcgLiteClueAddWidget(tip, open, "Open a scene", 0, 0);
    XcgLiteClueAddWidget(tip, open, nullptr, 0, 0);
    EXPECT_EQ(contextCount(tip), kToolbarButtonCount) << "added twice, watched once";
    EXPECT_STREQ(first->text, "Open a scene") << "replaced, then kept by a null text";
    XcgLiteClueAddWidget(tip, open, "Open a scene file", 4, 0);
    EXPECT_STREQ(first->text, "Open");

    EXPECT_EQ(XcgLiteClueGetSensitive(tip, save), True);
    XcgLiteClueSetSensitive(tip, save, False);
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, save), False);
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, open), True);
    XcgLiteClueSetSensitive(tip, nullptr, False);
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, nullptr), False);
    XcgLiteClueSetSensitive(tip, nullptr, True);
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, open), True);
    EXPECT_EQ(XcgLiteClueGetSensitive(tip, shell), False) << "not watched";

    // One delete removes the only pair of handlers: an Enter afterwards
    // reaches no freed context (ASan would report it) and arms nothing.
    XcgLiteClueDeleteWidget(tip, open);
    XcgLiteClueDeleteWidget(tip, open);
    EXPECT_EQ(contextCount(tip), kToolbarButtonCount - 1);
    XEvent enter = crossing(open, EnterNotify, 100);
    XtDispatchEvent(&enter);
    EXPECT_EQ(tipPart(tip)->timer, 0u);
    XcgLiteClueDeleteWidget(tip, shell); // not watched: nothing
    EXPECT_EQ(contextCount(tip), kToolbarButtonCount - 1);

    removeToolbarTips();
    EXPECT_EQ(contextCount(tip), 0);
    XtDestroyWidget(tip);
    appData->tipShell = nullptr;
}

TEST_F(MainWindowX, TipsOfInsensitiveButtonsComeThroughTheDispatch)
{
    Widget tip = createTipShell(shell);
    appData->tipShell = tip;
    addToolbarTips(tip);
    Widget look = button("ToolbarLookHrz"), open = button("ToolbarFileOpen");
    XtSetSensitive(look, False);

    XEvent e = crossing(open, EnterNotify, 100);
    EXPECT_EQ(XcgLiteClueDispatchEvent(tip, &e), False) << "sensitive: the toolkit delivers it";
    e = crossing(look, KeyPress, 100);
    EXPECT_EQ(XcgLiteClueDispatchEvent(tip, &e), False) << "not a crossing";
    EXPECT_EQ(tipPart(tip)->timer, 0u);

    // Within 2000 ms of the last pop-down: the tip comes at once.
    tipPart(tip)->lastPopdown = 50000;
    e = crossing(look, EnterNotify, 51000);
    EXPECT_EQ(XcgLiteClueDispatchEvent(tip, &e), True);
    EXPECT_NE(tipPart(tip)->timer, 0u);
    for (int i = 0; i < 100 && !tipPart(tip)->up; i++)
        pump(10);
    ASSERT_TRUE(tipPart(tip)->up);
    EXPECT_EQ(tipPart(tip)->timer, 0u);
    Position rootX = 0, rootY = 0;
    XtTranslateCoords(look, 0, 0, &rootX, &rootY);
    EXPECT_EQ(tip->core.x, rootX + 4);
    EXPECT_EQ(tip->core.y, rootY + look->core.height + 4) << "just below the button";

    e = crossing(look, LeaveNotify, 52000);
    EXPECT_EQ(XcgLiteClueDispatchEvent(tip, &e), True);
    EXPECT_FALSE(tipPart(tip)->up);
    EXPECT_EQ(tipPart(tip)->lastPopdown, 52000u);

    // A pressed button hides its tip and records the time.
    XcgLiteClueAddWidget(tip, open, "Open file", 0, 0);
    e = crossing(open, EnterNotify, 53000);
    XtDispatchEvent(&e);
    for (int i = 0; i < 100 && !tipPart(tip)->up; i++)
        pump(10);
    ASSERT_TRUE(tipPart(tip)->up);
    XEvent press{};
    press.xbutton.type = ButtonPress;
    press.xbutton.display = display;
    press.xbutton.window = XtWindow(open);
    press.xbutton.button = Button1;
    press.xbutton.time = 53500;
    XtDispatchEvent(&press);
    EXPECT_FALSE(tipPart(tip)->up);
    EXPECT_EQ(tipPart(tip)->lastPopdown, 53500u);
    XtDestroyWidget(tip);
    appData->tipShell = nullptr;
}

TEST_F(MainWindowX, NoTimerFiresAfterItsWidgetOrTheShellIsGone)
{
    Widget tip = createTipShell(shell);
    appData->tipShell = tip;
    addToolbarTips(tip);
    Widget open = button("ToolbarFileOpen");
    tipPart(tip)->lastPopdown = 1; // a wait of 500 ms from here on
    XEvent e = crossing(open, EnterNotify, 100000);
    XtDispatchEvent(&e);
    ASSERT_NE(tipPart(tip)->timer, 0u);
    XcgLiteClueDeleteWidget(tip, open);
    EXPECT_EQ(tipPart(tip)->timer, 0u);
    pump(700);
    EXPECT_FALSE(tipPart(tip)->up);

    // The settings dialog destroys the shell with its contexts and a pending
    // timer: the destroy takes them all (ASan checks the rest).
    Widget save = button("ToolbarFileSave");
    e = crossing(save, EnterNotify, 200000);
    XtDispatchEvent(&e);
    ASSERT_NE(tipPart(tip)->timer, 0u);
    appData->tipShell = nullptr;
    XtDestroyWidget(tip);
    pump(700);
    // The watched buttons lost their handlers with the shell.
    e = crossing(save, EnterNotify, 300000);
    XtDispatchEvent(&e);
    pump(50);
}

} // namespace
