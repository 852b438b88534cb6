// The Motif half of the dialog kit on a private X server, with the example
// dialog: built on first opening, refilled on each opening without calling
// the controls' callbacks, a refusal in a warning box with the dialog left
// open, OK sending the texts in order, Cancel only hiding.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_widgets.h"
#include "tests/ui/example_dialog.h"
#include "ui/dialogs/dialog_motif.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> sent;
void recordCommand(ChartState *, const char *text) { sent.emplace_back(text); }

int callbacksCalled = 0;
void countCallback(Widget, XtPointer, XtPointer) { callbacksCalled++; }

TEST(DialogKitX, ExampleDialogOpensRefusesAndSends)
{
    XServer server;
    ASSERT_TRUE(server.ok()) << server.why();
    XtAppContext app = nullptr;
    ASSERT_NE(openDialogShell(server.name(), &app), nullptr);
    uiHooksRecordMessages();
    void (*savedExecute)(ChartState *, const char *) = stkExecuteCall;
    stkExecuteCall = recordCommand;

    OwnedChart owner;
    ChartState &chart = *owner;
    chart.statusBar = kStatusBarShown;
    chart.planetFlags[0] |= kBodyName; // one planet named: the toggle shows the third state
    chart.gridNumberFlags = 1;         // MODE1, the list's second item
    chart.starLimit = 65;

    EXPECT_EQ(dialogWidget(&kExampleDialog, "ButtonOK"), nullptr) << "nothing is built before the first opening";
    dialogOpen(&kExampleDialog, &chart);
    ASSERT_TRUE(dialogIsShown(&kExampleDialog));
    Widget statusBar = dialogWidget(&kExampleDialog, "ToggleStatusBar");
    Widget planetNames = dialogWidget(&kExampleDialog, "TogglePlanetNames");
    Widget fixedLimit = dialogWidget(&kExampleDialog, "ToggleFixedLimit");
    Widget limit = dialogWidget(&kExampleDialog, "TextStarLimit");
    Widget grid = dialogWidget(&kExampleDialog, "ListGrid");
    ASSERT_TRUE(statusBar && planetNames && fixedLimit && limit && grid);
    EXPECT_NE(dialogWidget(&kExampleDialog, "ExampleDialogRowColumn"), nullptr);
    EXPECT_NE(dialogWidget(&kExampleDialog, "ExampleDialogButtons"), nullptr);
    EXPECT_EQ(XtParent(dialogWidget(&kExampleDialog, "ButtonCancel")),
              dialogWidget(&kExampleDialog, "ExampleDialogButtons"));
    EXPECT_EQ(xToggleState(statusBar), XmSET);
    EXPECT_EQ(xToggleState(planetNames), XmINDETERMINATE);
    EXPECT_EQ(xSelectedPosition(grid), 2);
    EXPECT_EQ(xFieldText(limit), "6.5");
    EXPECT_FALSE(XtIsSensitive(limit)) << "no limit of the user's own";

    // Reopening refills the kept widgets from the chart and calls none of
    // the controls' callbacks.
    XtAddCallback(statusBar, XmNvalueChangedCallback, countCallback, nullptr);
    XtAddCallback(grid, XmNsingleSelectionCallback, countCallback, nullptr);
    dialogCancel(&kExampleDialog);
    chart.statusBar = 0;
    chart.gridNumberFlags = 3;
    dialogOpen(&kExampleDialog, &chart);
    EXPECT_EQ(dialogWidget(&kExampleDialog, "ToggleStatusBar"), statusBar) << "built once";
    EXPECT_EQ(xToggleState(statusBar), XmUNSET);
    EXPECT_EQ(xSelectedPosition(grid), 4);
    EXPECT_EQ(callbacksCalled, 0);

    // The user turns the limit on (the field becomes usable) and types a word.
    XmToggleButtonSetState(fixedLimit, True, True);
    EXPECT_TRUE(XtIsSensitive(limit));
    XmTextFieldSetString(limit, const_cast<char *>("bright"));
    xPress(dialogWidget(&kExampleDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "Not a number: bright");
    EXPECT_TRUE(dialogIsShown(&kExampleDialog)) << "a refused dialog stays open";
    EXPECT_TRUE(sent.empty());

    XmTextFieldSetString(limit, const_cast<char *>("5.5"));
    XmListSelectPos(grid, 1, True);
    xPress(dialogWidget(&kExampleDialog, "ButtonOK"));
    EXPECT_FALSE(dialogIsShown(&kExampleDialog));
    EXPECT_EQ(sent, (std::vector<std::string>{"MAG STAR 5.5", "HIDE STATUSBAR", "GRID NORMAL", "DRIVE"}));
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1);

    sent.clear();
    dialogOpen(&kExampleDialog, &chart);
    xPress(dialogWidget(&kExampleDialog, "ButtonCancel"));
    EXPECT_FALSE(dialogIsShown(&kExampleDialog));
    EXPECT_TRUE(sent.empty()) << "Cancel sends nothing";

    stkExecuteCall = savedExecute;
    uiHooksReset();
    closeDialogShell();
    EXPECT_EQ(dialogWidget(&kExampleDialog, "ButtonOK"), nullptr) << "forgotten with its shell";
}

// A dialog built on one toolkit shell, which then went, is built again on
// the next: it was once kept and shown on the destroyed shell, which
// ended the next test of the same program with an X error.
TEST(DialogKitX, ADialogIsBuiltAgainOnTheNextShell)
{
    OwnedChart owner;
    ChartState &chart = *owner;
    for (int shell = 0; shell < 2; shell++) {
        XServer server;
        ASSERT_TRUE(server.ok()) << server.why();
        XtAppContext app = nullptr;
        Display *display = openDialogShell(server.name(), &app);
        ASSERT_NE(display, nullptr);
        dialogOpen(&kExampleDialog, &chart);
        ASSERT_TRUE(dialogIsShown(&kExampleDialog)) << "shell " << shell;
        Widget ok = dialogWidget(&kExampleDialog, "ButtonOK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(XtDisplay(ok), display) << "shell " << shell;
        dialogCancel(&kExampleDialog);
        closeDialogShell();
        EXPECT_FALSE(dialogIsShown(&kExampleDialog));
    }
}

} // namespace
