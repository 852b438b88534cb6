// The Comet and Minor Planet dialogs with real widgets on a private X
// server: choosing bodies in the list, the toggles over a selection, OK's
// texts and the chart's table, reopening, Clear, the search box and a
// missing element file. The dialogs are kept for the run, so the tests share
// one server and toolkit.
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <Xm/RowColumn.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/x_widgets.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/element_dialogs_motif.h"
#include "ui/window/menus.h"
#include "tests/support/test_chart.h"

namespace {

const std::string kCometFile = std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm";
const std::string kMinorPlanetFile = std::string(TAVIK_SOURCE_DIR) + "/data/mp.elm";

std::vector<std::string> sent;
void recordCommand(ChartState *, const char *text) { sent.emplace_back(text); }

struct GaugeSeen {
    int opened = 0, closed = 0;
};
GaugeSeen gauge;

void press(Widget button)
{
    ASSERT_NE(button, nullptr);
    xPress(button);
}


std::vector<int> selectedPositions(Widget list)
{
    int *positions = nullptr, count = 0;
    std::vector<int> out;
    if (XmListGetSelectedPos(list, &positions, &count))
        out.assign(positions, positions + count);
    XtFree(reinterpret_cast<char *>(positions));
    return out;
}

// A user's click on an item (it alone selected) or a control-click adding
// one: the list's own extended-selection callback runs.
void clickItem(Widget list, int position, bool add = false)
{
    if (!add) {
        XmListDeselectAllItems(list);
        XmListSelectPos(list, position, True);
        return;
    }
    // A control-click adds to the selection: selected as a multiple-selection
    // list would, then the list's own extended-selection callback.
    XtVaSetValues(list, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
    XmListSelectPos(list, position, False);
    XtVaSetValues(list, XmNselectionPolicy, XmEXTENDED_SELECT, nullptr);
    XmListCallbackStruct cbs{};
    cbs.reason = XmCR_EXTENDED_SELECT;
    cbs.item_position = position;
    XtCallCallbacks(list, XmNextendedSelectionCallback, &cbs);
}

// The 1-based position of a line of an element file in its list (the list
// holds every line in file order).
constexpr int kHalley = 1;         // 1P/Halley, line 0 of data/comet.elm
constexpr int kEncke = 2;          // 2P/Encke
constexpr int kSchwassmann = 76;   // 73P, the main body
constexpr int kSchwassmannB = 78;  // 73P-B, same extension "73P/Schwassmann"

std::string fileLine(const std::string &path, int position)
{
    const std::string text = readFile(path);
    size_t at = 0;
    for (int i = 1; i < position; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(at, text.find('\n', at) - at);
}

std::string trimmed(const char *lineText)
{
    std::string s(lineText);
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\r'))
        s.pop_back();
    return s;
}

class ElementDialogsX : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server = new XServer();
        if (!server->ok())
            return;
        XtAppContext app = nullptr;
        if (!openDialogShell(server->name(), &app))
            return;
        dir = new TempDir();
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
        closeDialogShell();
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(server->ok()) << server->why();
        ASSERT_NE(appData->topLevel, nullptr);
        std::snprintf(appData->cometFile, sizeof appData->cometFile, "%s", kCometFile.c_str());
        std::snprintf(appData->cometIndexFile, sizeof appData->cometIndexFile, "%s",
                      dir->file("comet.dbm").c_str());
        std::snprintf(appData->minorPlanetFile, sizeof appData->minorPlanetFile, "%s", kMinorPlanetFile.c_str());
        std::snprintf(appData->minorPlanetIndexFile, sizeof appData->minorPlanetIndexFile, "%s",
                      dir->file("mp.dbm").c_str());
        uiHooksRecordMessages();
        uiHooks.openGaugeDialog = [](const char *) { ++gauge.opened; };
        uiHooks.closeGaugeDialog = [] { ++gauge.closed; };
        gauge = GaugeSeen{};
        sent.clear();
        stkExecuteCall = recordCommand;
    }
    void TearDown() override
    {
        stkExecuteCall = stkExecute;
        uiHooksReset();
    }

    static Widget comet(const char *name) { return elementDialogWidget(kCometDialog, name); }
    static Widget mplanet(const char *name) { return elementDialogWidget(kMinorPlanetDialog, name); }

    static XServer *server;
    static TempDir *dir;
    OwnedChart chart;
};
XServer *ElementDialogsX::server = nullptr;
TempDir *ElementDialogsX::dir = nullptr;

TEST_F(ElementDialogsX, ChoosingTwoCometsOfOneKeySendsTheirCommandsAndLoadsTheirOwnLines)
{
    // Object > Comet...
    Widget menuBar = XmCreateMenuBar(appData->topLevel, const_cast<char *>("MenuBar"), nullptr, 0);
    createMenus(menuBar, chart.get());
    press(menuItemWidget("MenuObjectComet"));
    Widget list = comet("CometList");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(XtIsManaged(comet("CometDialog")));
    int items = 0;
    XtVaGetValues(list, XmNitemCount, &items, nullptr);
    EXPECT_EQ(items, 3768) << "one item a line of the element file";
    Widget show = comet("ToggleShow"), name = comet("ToggleName");
    ASSERT_TRUE(show && name && comet("ToggleDustTail") && comet("ButtonClear") && comet("ButtonSearch"));
    EXPECT_FALSE(XtIsSensitive(show)) << "nothing selected at opening";

    // 1P/Halley, then 73P-B (whose extension its main body shares): Show and Name.
    for (int position : {kHalley, kSchwassmannB}) {
        clickItem(list, position);
        EXPECT_TRUE(XtIsSensitive(show));
        EXPECT_FALSE(XtIsSensitive(name)) << "the display toggles wait until the body is chosen";
        XmToggleButtonSetState(show, True, True);
        EXPECT_TRUE(XtIsSensitive(name));
        EXPECT_EQ(xToggleState(comet("ToggleOrbit")), XmSET) << "a comet's default: orbit and tails";
        XmToggleButtonSetState(name, True, True);
    }
    press(comet("ButtonOK"));
    EXPECT_FALSE(XtIsManaged(comet("CometDialog")));
    EXPECT_EQ(sent, (std::vector<std::string>{
                        "SHOW COMET1_NAME;HIDE COMET1_DATE;HIDE COMET1_MAG;SHOW COMET1_OBT;SHOW IONTAIL1;SHOW DUSTTAIL1;",
                        "SHOW COMET2_NAME;HIDE COMET2_DATE;HIDE COMET2_MAG;SHOW COMET2_OBT;SHOW IONTAIL2;SHOW DUSTTAIL2;",
                        "DRIVE"}));
    ASSERT_EQ(chart->cometCount, 2);
    EXPECT_EQ(trimmed(chart->cometElements[0].lineText), trimmed(fileLine(kCometFile, kHalley).c_str()));
    EXPECT_EQ(trimmed(chart->cometElements[1].lineText), trimmed(fileLine(kCometFile, kSchwassmannB).c_str()))
        << "the chosen 73P-B, not the last line of its key";
    EXPECT_EQ(gauge.opened, 0);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);

    // Reopened: both bodies chosen with their settings, the rest not.
    for (size_t i = 0; i + 1 < sent.size(); ++i) // the display commands, as the program runs them
        stkExecute(chart.get(), sent[i].c_str());
    ASSERT_STREQ(appData->errorId, "");
    openCometDialog(chart.get());
    EXPECT_TRUE(selectedPositions(list).empty());
    for (int position : {kHalley, kSchwassmannB}) {
        clickItem(list, position);
        EXPECT_EQ(xToggleState(show), XmSET) << position;
        EXPECT_EQ(xToggleState(name), XmSET) << position;
        EXPECT_EQ(xToggleState(comet("ToggleDate")), XmUNSET) << position;
    }
    clickItem(list, kSchwassmann);
    EXPECT_EQ(xToggleState(show), XmUNSET) << "73P's main body shares the key, not the choice";

    // A chosen and an unchosen body: Show is the third state and the
    // display toggles cannot be used; setting Show chooses both.
    clickItem(list, kHalley);
    clickItem(list, kEncke, true);
    ASSERT_EQ(selectedPositions(list), (std::vector<int>{kHalley, kEncke}));
    EXPECT_EQ(xToggleState(show), XmINDETERMINATE);
    EXPECT_EQ(xToggleState(name), XmINDETERMINATE);
    EXPECT_FALSE(XtIsSensitive(name));
    XmToggleButtonSetState(show, True, True);
    EXPECT_EQ(xToggleState(show), XmSET);
    EXPECT_TRUE(XtIsSensitive(name));
    EXPECT_EQ(xToggleState(name), XmINDETERMINATE) << "Halley named, Encke not";

    // Cancel forgets it all: the next opening starts from the chart again.
    sent.clear();
    press(comet("ButtonCancel"));
    EXPECT_TRUE(sent.empty());
    openCometDialog(chart.get());
    clickItem(list, kEncke);
    EXPECT_EQ(xToggleState(show), XmUNSET);

    // Clear: nothing chosen, OK empties the table and only draws.
    press(comet("ButtonClear"));
    EXPECT_TRUE(selectedPositions(list).empty());
    EXPECT_FALSE(XtIsSensitive(show));
    press(comet("ButtonOK"));
    EXPECT_EQ(sent, std::vector<std::string>{"DRIVE"});
    EXPECT_EQ(chart->cometCount, 0);
}

TEST_F(ElementDialogsX, SearchFindsAKeyThenTheNextAndWraps)
{
    openCometDialog(chart.get());
    Widget list = comet("CometList");
    ASSERT_NE(list, nullptr);
    XmListSetPos(list, 1);

    // Types text into the search box and presses its OK.
    auto search = [&](const char *text) {
        press(comet("ButtonSearch"));
        Widget box = comet("CometSearchDialog");
        EXPECT_NE(box, nullptr);
        if (!box)
            return;
        EXPECT_TRUE(XtIsManaged(box));
        XmTextFieldSetString(XmSelectionBoxGetChild(box, XmDIALOG_TEXT), const_cast<char *>(text));
        press(XmSelectionBoxGetChild(box, XmDIALOG_OK_BUTTON));
    };
    auto top = [&] {
        int position = 0;
        XtVaGetValues(list, XmNtopItemPosition, &position, nullptr);
        return position;
    };
    // "73p/" is found in the key column only (the names say "Schwassmann").
    search("73p/");
    EXPECT_FALSE(XtIsManaged(comet("CometSearchDialog")));
    const std::vector<int> first = selectedPositions(list);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(fileLine(kCometFile, first[0]).substr(2, 4), "73P ");
    EXPECT_EQ(top(), first[0]) << "the found body becomes the top item";
    clickItem(list, first[0]); // the toggles follow the search's selection
    EXPECT_TRUE(XtIsSensitive(comet("ToggleShow")));

    // The same text again: the next one down; the box shows the last text.
    press(comet("ButtonSearch"));
    char *shown = XmTextFieldGetString(XmSelectionBoxGetChild(comet("CometSearchDialog"), XmDIALOG_TEXT));
    EXPECT_STREQ(shown, "73p/");
    XtFree(shown);
    press(XmSelectionBoxGetChild(comet("CometSearchDialog"), XmDIALOG_OK_BUTTON));
    ASSERT_FALSE(selectedPositions(list).empty());
    const int second = selectedPositions(list).back();
    EXPECT_GT(second, first[0]);
    EXPECT_EQ(top(), second);

    // From there Halley is found by wrapping to the top.
    XmListDeselectAllItems(list);
    search("1P/HALLEY");
    EXPECT_EQ(selectedPositions(list), std::vector<int>{kHalley});
    EXPECT_EQ(top(), kHalley);

    // No match: the box stays open, nothing moves.
    search("no such comet anywhere");
    EXPECT_TRUE(XtIsManaged(comet("CometSearchDialog")));
    EXPECT_EQ(top(), kHalley);
    press(XmSelectionBoxGetChild(comet("CometSearchDialog"), XmDIALOG_CANCEL_BUTTON));
    EXPECT_FALSE(XtIsManaged(comet("CometSearchDialog")));
    press(comet("ButtonCancel"));
}

TEST_F(ElementDialogsX, AMissingFileIsSaidAndTriedAgainThenEveryMinorPlanetLoads)
{
    std::snprintf(appData->minorPlanetFile, sizeof appData->minorPlanetFile, "%s",
                  dir->file("no-such.elm").c_str());
    openMPlanetDialog(chart.get());
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "Orbital element file not found.");
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_EQ(mplanet("MPlanetDialog"), nullptr) << "no dialog without its file";

    std::snprintf(appData->minorPlanetFile, sizeof appData->minorPlanetFile, "%s", kMinorPlanetFile.c_str());
    openMPlanetDialog(chart.get());
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1);
    Widget list = mplanet("MPlanetList");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(mplanet("ToggleIonTail"), nullptr) << "minor planets have no tails";

    // Every line chosen: 7,098 bodies, each its own line, in file order,
    // the gauge shown for so many.
    XtVaSetValues(list, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
    for (int i = 1; i <= 7098; ++i)
        XmListSelectPos(list, i, False);
    XtVaSetValues(list, XmNselectionPolicy, XmEXTENDED_SELECT, nullptr);
    ASSERT_EQ(selectedPositions(list).size(), 7098u);
    XmToggleButtonSetState(mplanet("ToggleShow"), True, True);
    press(mplanet("ButtonOK"));
    ASSERT_EQ(chart->minorPlanetCount, 7098);
    EXPECT_EQ(gauge.opened, 1);
    EXPECT_EQ(gauge.closed, 1);
    ASSERT_EQ(sent.size(), 7099u);
    EXPECT_EQ(sent[0], "HIDE MINORPLANET1_NAME;HIDE MINORPLANET1_DATE;HIDE MINORPLANET1_MAG;SHOW MINORPLANET1_OBT;");
    EXPECT_EQ(sent.back(), "DRIVE");
    const std::string text = readFile(kMinorPlanetFile);
    size_t at = 0;
    int inOrder = 0;
    std::set<std::string> distinct;
    for (int i = 0; i < chart->minorPlanetCount; ++i) {
        const std::string line = text.substr(at, text.find('\n', at) - at);
        at = text.find('\n', at) + 1;
        inOrder += trimmed(chart->minorPlanetElements[i].lineText) == trimmed(line.c_str());
        distinct.insert(chart->minorPlanetElements[i].lineText);
    }
    EXPECT_EQ(inOrder, 7098);
    EXPECT_EQ(distinct.size(), 7098u);
}

} // namespace
