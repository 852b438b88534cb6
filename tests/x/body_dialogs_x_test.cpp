// The body, grid and centre dialogs on a private X server, opened from their
// menu items on a known chart, changed as a user changes them (selections and
// toggles with their callbacks, the third state), OK pressed: the texts
// recorded in place of stkExecute are the dialog's. Cancel records nothing
// and the next opening shows the chart again.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <Xm/List.h>
#include <Xm/RowColumn.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/element_lines.h"
#include "model/ui_hooks.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/dialogs/body_dialogs.h"
#include "ui/dialogs/center_dialogs.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/grid_dialog.h"
#include "ui/window/menus.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> sent;
void recordCommand(ChartState *, const char *text) { sent.emplace_back(text); }

class BodyDialogsX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        display = openDialogShell(server.name(), &app);
        ASSERT_NE(display, nullptr);
        // The real menus, whose items open the dialogs.
        Widget bar = XmCreateMenuBar(appData->topLevel, const_cast<char *>("MenuBar"), nullptr, 0);
        XtManageChild(bar);
        createMenus(bar, &chart);
        uiHooksRecordMessages();
        savedExecute = stkExecuteCall;
        stkExecuteCall = recordCommand;
        sent.clear();
        chart.mode = kModeEqt;
    }
    void TearDown() override
    {
        stkExecuteCall = savedExecute;
        uiHooksReset();
        closeDialogShell();
    }

    // A menu item chosen: its cascade brought up to date, then activated.
    void fromMenu(const char *cascade, const char *item)
    {
        menuRefreshCascade(cascade, &chart);
        Widget widget = menuItemWidget(item);
        ASSERT_NE(widget, nullptr) << item;
        ASSERT_TRUE(XtIsSensitive(widget)) << item;
        XmPushButtonCallbackStruct cbs{};
        cbs.reason = XmCR_ACTIVATE;
        XtCallCallbacks(widget, XmNactivateCallback, &cbs);
    }
    Widget w(const DialogSpec &spec, const char *name)
    {
        Widget widget = dialogWidget(&spec, name);
        EXPECT_NE(widget, nullptr) << spec.name << " " << name;
        return widget;
    }
    void press(const DialogSpec &spec, const char *button)
    {
        XmPushButtonCallbackStruct cbs{};
        cbs.reason = XmCR_ACTIVATE;
        cbs.click_count = 1;
        XtCallCallbacks(w(spec, button), XmNactivateCallback, &cbs);
    }
    void click(const DialogSpec &spec, const char *toggle, bool on)
    {
        XmToggleButtonSetState(w(spec, toggle), on ? True : False, True);
    }
    unsigned char state(const DialogSpec &spec, const char *toggle)
    {
        unsigned char set = XmUNSET;
        XtVaGetValues(w(spec, toggle), XmNset, &set, nullptr);
        return set;
    }
    std::vector<int> selected(const DialogSpec &spec, const char *list)
    {
        int *positions = nullptr, count = 0;
        std::vector<int> out;
        if (XmListGetSelectedPos(w(spec, list), &positions, &count))
            out.assign(positions, positions + count);
        XtFree(reinterpret_cast<char *>(positions));
        return out;
    }
    // Selects positions as a user does, the last with its callback.
    void select(const DialogSpec &spec, const char *list, std::vector<int> positions)
    {
        Widget l = w(spec, list);
        unsigned char policy = 0;
        XtVaGetValues(l, XmNselectionPolicy, &policy, nullptr);
        XtVaSetValues(l, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
        XmListDeselectAllItems(l);
        for (size_t i = 0; i < positions.size(); i++)
            XmListSelectPos(l, positions[i], i + 1 == positions.size() ? True : False);
        XtVaSetValues(l, XmNselectionPolicy, policy, nullptr);
    }
    int positionOf(const DialogSpec &spec, const char *list, const char *item)
    {
        XmString s = XmStringCreateLocalized(const_cast<char *>(item));
        const int p = XmListItemPos(w(spec, list), s);
        XmStringFree(s);
        return p;
    }
    void doubleClick(const DialogSpec &spec, const char *list)
    {
        XmListCallbackStruct cbs{};
        cbs.reason = XmCR_DEFAULT_ACTION;
        XtCallCallbacks(w(spec, list), XmNdefaultActionCallback, &cbs);
    }

    XServer server;
    XtAppContext app = nullptr;
    Display *display = nullptr;
    void (*savedExecute)(ChartState *, const char *) = nullptr;
    OwnedChart owner;
    ChartState &chart = *owner;
};

TEST_F(BodyDialogsX, BodyDialogsSendWhatTheUserSet)
{
    chart.planetFlags[kObjectMars] = kBodyShown | kBodyName | kBodyMag | kBodyDisk;
    chart.planetFlags[kObjectJupiter] = kBodyShown | kBodyDisk;
    chart.diskMag = 10;
    fromMenu("MenuObject", "MenuObjectPlanet");
    ASSERT_TRUE(dialogIsShown(&kPlanetDialog));
    EXPECT_EQ(XtParent(XtParent(w(kPlanetDialog, "PlanetList"))), w(kPlanetDialog, "PlanetRowColumn"));
    EXPECT_EQ(XtParent(w(kPlanetDialog, "ButtonOK")), w(kPlanetDialog, "PlanetButtons"));
    EXPECT_EQ(selected(kPlanetDialog, "PlanetList"), std::vector<int>{1}) << "Mercury";

    select(kPlanetDialog, "PlanetList", {4, 5});
    EXPECT_EQ(state(kPlanetDialog, "ToggleName"), XmINDETERMINATE);
    EXPECT_EQ(state(kPlanetDialog, "ToggleDisk"), XmSET);
    click(kPlanetDialog, "ToggleName", false);
    EXPECT_EQ(state(kPlanetDialog, "ToggleName"), XmUNSET);
    unsigned char mode = 0;
    XtVaGetValues(w(kPlanetDialog, "ToggleName"), XmNtoggleMode, &mode, nullptr);
    EXPECT_EQ(mode, XmTOGGLE_BOOLEAN) << "two states again";

    select(kPlanetDialog, "PlanetList", {3});
    EXPECT_FALSE(XtIsSensitive(w(kPlanetDialog, "ToggleMag"))) << "the Earth alone";
    XmTextFieldSetString(w(kPlanetDialog, "EditDiskMag"), const_cast<char *>("40"));
    press(kPlanetDialog, "ButtonOK");
    EXPECT_FALSE(dialogIsShown(&kPlanetDialog));
    ASSERT_EQ(sent.size(), 11u);
    EXPECT_EQ(sent[3], "SHOW MARS;HIDE MARS_NAME;HIDE MARS_DATE;HIDE MARS_OBT;SHOW MARS_MAG;DISK MARS;");
    EXPECT_EQ(sent[4], "SHOW JUPITER;HIDE JUPITER_NAME;HIDE JUPITER_DATE;HIDE JUPITER_OBT;HIDE JUPITER_MAG;"
                       "DISK JUPITER;");
    EXPECT_EQ(sent[9], "DISK_MAG 40;");
    EXPECT_EQ(sent[10], "DRIVE");

    // Cancel drops the change; the next opening shows the chart again.
    sent.clear();
    fromMenu("MenuObject", "MenuObjectPlanet");
    select(kPlanetDialog, "PlanetList", {4});
    EXPECT_EQ(state(kPlanetDialog, "ToggleName"), XmSET);
    click(kPlanetDialog, "ToggleShow", false);
    press(kPlanetDialog, "ButtonCancel");
    EXPECT_FALSE(dialogIsShown(&kPlanetDialog));
    fromMenu("MenuObject", "MenuObjectPlanet");
    select(kPlanetDialog, "PlanetList", {4});
    EXPECT_EQ(state(kPlanetDialog, "ToggleShow"), XmSET);
    press(kPlanetDialog, "ButtonCancel");
    EXPECT_TRUE(sent.empty());

    chart.mode = kModeSol1;
    chart.sunFlags = kBodyShown | kBodyDisk;
    fromMenu("MenuObject", "MenuObjectSun");
    EXPECT_FALSE(XtIsSensitive(w(kSunDialog, "ToggleSunOutline")));
    click(kSunDialog, "ToggleSunName", true);
    press(kSunDialog, "ButtonOK");
    EXPECT_EQ(sent, (std::vector<std::string>{"SHOW SUN;SHOW SUN_NAME;HIDE SUN_DATE", "OUTLINE SUN", "DRIVE"}));

    sent.clear();
    chart.moonFlags = kBodyShown;
    fromMenu("MenuObject", "MenuObjectMoon");
    click(kMoonDialog, "ToggleMoon", false);
    EXPECT_FALSE(XtIsSensitive(w(kMoonDialog, "ToggleMoonDate")));
    press(kMoonDialog, "ButtonOK");
    EXPECT_EQ(sent, (std::vector<std::string>{"HIDE MOON;HIDE MOON_NAME;HIDE MOON_DATE", "REAL MOON", "DRIVE"}));

    sent.clear();
    chart.mode = kModeEqt; // the menu offers Jupiter's moons outside the solar-system view
    chart.jupiterMoonFlags = 0;
    fromMenu("MenuObject", "MenuObjectJoviSat");
    EXPECT_FALSE(XtIsSensitive(w(kJoviSatDialog, "ToggleName")));
    click(kJoviSatDialog, "ToggleShow", true);
    EXPECT_TRUE(XtIsSensitive(w(kJoviSatDialog, "ToggleName")));
    click(kJoviSatDialog, "ToggleNumber", true);
    press(kJoviSatDialog, "ButtonOK");
    EXPECT_EQ(sent, (std::vector<std::string>{"SHOW JMOON", "HIDE JMOON_NAME", "SHOW JMOON_NO", "DRIVE"}));

    sent.clear();
    chart.constellationFlags = kConsLine;
    fromMenu("MenuObject", "MenuObjectConst");
    click(kConstDialog, "ToggleConstBoundary", true);
    press(kConstDialog, "ButtonOK");
    EXPECT_EQ(sent, (std::vector<std::string>{"SHOW CONS_LINE", "HIDE CONS_NAME1", "HIDE CONS_NAME2",
                                              "SHOW CONS_LIMIT", "DRIVE"}));
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(BodyDialogsX, GridDialogSendsItsTwentyOneTexts)
{
    chart.gridNumberFlags = 3 | kEqtGrid2000Num;
    chart.equatorialGridFlags = kEqt2000;
    chart.horizonGridFlags = kMeridian;
    fromMenu("MenuView", "MenuViewGrid");
    ASSERT_TRUE(dialogIsShown(&kGridDialog));
    EXPECT_EQ(XtParent(w(kGridDialog, "ButtonOK")), w(kGridDialog, "TimeStepButtons"));
    EXPECT_EQ(state(kGridDialog, "RadioMode01"), XmSET);
    EXPECT_FALSE(XtIsSensitive(w(kGridDialog, "ToggleEqt2000GridNum")));
    EXPECT_FALSE(XtIsSensitive(w(kGridDialog, "ToggleSolGrid")));

    click(kGridDialog, "RadioMode05", true);
    EXPECT_EQ(state(kGridDialog, "RadioMode01"), XmUNSET);
    click(kGridDialog, "RadioMode05", false); // a second press keeps it set
    EXPECT_EQ(state(kGridDialog, "RadioMode05"), XmSET);
    click(kGridDialog, "ToggleEclGrid", true);
    EXPECT_TRUE(XtIsSensitive(w(kGridDialog, "ToggleEclGridNum")));
    click(kGridDialog, "ToggleEclGridNum", true);
    press(kGridDialog, "ButtonOK");
    const std::vector<std::string> expected = {
        "SHOW EQT_2000", "HIDE EQT_GRID_2000", "SHOW EQT_GRID_2000_NUM",
        "HIDE EQT_1950", "HIDE EQT_GRID_1950", "HIDE EQT_GRID_1950_NUM",
        "HIDE EQT_DATE", "HIDE EQT_GRID_DATE", "HIDE EQT_GRID_DATE_NUM",
        "HIDE ECL",      "SHOW ECL_GRID",      "SHOW ECL_GRID_NUM",
        "HIDE GAL",      "HIDE GAL_GRID",      "HIDE GAL_GRID_NUM",
        "SHOW MERIDIAN", "HIDE HRZ_GRID",      "HIDE HRZ_GRID_NUM",
        "GRID MODE1",    "HIDE SOL_GRID",      "DRIVE",
    };
    EXPECT_EQ(sent, expected);

    sent.clear();
    fromMenu("MenuView", "MenuViewGrid");
    EXPECT_EQ(state(kGridDialog, "RadioMode01"), XmSET) << "the chart again";
    EXPECT_EQ(state(kGridDialog, "ToggleEclGrid"), XmUNSET);
    press(kGridDialog, "ButtonCancel");
    EXPECT_TRUE(sent.empty());
}

TEST_F(BodyDialogsX, CentreDialogsSendTheirLookTexts)
{
    fromMenu("MenuCenter", "MenuCenterStar");
    ASSERT_TRUE(dialogIsShown(&kCenterStarDialog));
    EXPECT_EQ(XtParent(w(kCenterStarDialog, "ButtonOK")), w(kCenterStarDialog, "StarButtons"));
    const int rigil = positionOf(kCenterStarDialog, "StarList", "Rigel Kentaurus");
    ASSERT_GT(rigil, 0);
    XmListSelectPos(w(kCenterStarDialog, "StarList"), rigil, True);
    doubleClick(kCenterStarDialog, "StarList");
    EXPECT_FALSE(dialogIsShown(&kCenterStarDialog));
    EXPECT_EQ(sent, std::vector<std::string>{"LOOK STAR \"Rigel Kentaurus\"; BLINK \"Rigel Kentaurus\""});
    fromMenu("MenuCenter", "MenuCenterStar");
    EXPECT_EQ(selected(kCenterStarDialog, "StarList"), std::vector<int>{rigil}) << "remembered";
    sent.clear();
    press(kCenterStarDialog, "ButtonCancel");
    EXPECT_TRUE(sent.empty());

    fromMenu("MenuCenter", "MenuCenterPlanet");
    XmListSelectPos(w(kCenterPlanetDialog, "PlanetList"), 3, True);
    press(kCenterPlanetDialog, "ButtonOK");
    EXPECT_TRUE(dialogIsShown(&kCenterPlanetDialog)) << "the Earth outside the solar-system view";
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "Can't center earth except for solar mode");
    XmListSelectPos(w(kCenterPlanetDialog, "PlanetList"), 4, True);
    press(kCenterPlanetDialog, "ButtonOK");
    EXPECT_EQ(sent, std::vector<std::string>{"LOOK MARS; BLINK MARS"});

    sent.clear();
    fromMenu("MenuCenter", "MenuCenterNebula");
    EXPECT_EQ(state(kCenterNebulaDialog, "ToggleTypeM"), XmSET);
    XmTextFieldSetString(w(kCenterNebulaDialog, "EditNumber"), const_cast<char *>("999"));
    press(kCenterNebulaDialog, "ButtonOK");
    EXPECT_TRUE(dialogIsShown(&kCenterNebulaDialog));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2);
    EXPECT_STREQ(uiHooksRecordedMessageText(1), "No such a nebula or galaxy.");
    click(kCenterNebulaDialog, "ToggleTypeNGC", true);
    EXPECT_EQ(state(kCenterNebulaDialog, "ToggleTypeM"), XmUNSET);
    click(kCenterNebulaDialog, "ToggleTypeM", true);
    XmTextFieldSetString(w(kCenterNebulaDialog, "EditNumber"), const_cast<char *>("31"));
    press(kCenterNebulaDialog, "ButtonOK");
    EXPECT_EQ(sent, std::vector<std::string>{"LOOK NEBULA M31; BLINK NEBULA M31"});

    sent.clear();
    fromMenu("MenuCenter", "MenuCenterJoviSat");
    XmListSelectPos(w(kCenterJoviSatDialog, "JoviSatList"), 4, True);
    doubleClick(kCenterJoviSatDialog, "JoviSatList");
    EXPECT_EQ(sent, std::vector<std::string>{"LOOK CALLISTO; BLINK CALLISTO"});

    sent.clear();
    fromMenu("MenuCenter", "MenuCenterConst");
    const int orion = positionOf(kCenterConstDialog, "ConstList", "Orion");
    ASSERT_GT(orion, 0);
    XmListSelectPos(w(kCenterConstDialog, "ConstList"), orion, True);
    press(kCenterConstDialog, "ButtonOK");
    EXPECT_EQ(sent, std::vector<std::string>{"LOOK CONS \"Orion\""});

    // Empty tables give empty lists; OK then does nothing. (The menu offers
    // the comet and minor-planet items only while bodies are loaded.)
    sent.clear();
    fromMenu("MenuCenter", "MenuCenterUserObject");
    fromMenu("MenuCenter", "MenuCenterSkyMark");
    openCenterCometDialog(&chart);
    openCenterMPlanetDialog(&chart);
    for (const DialogSpec *spec : {&kCenterCometDialog, &kCenterMPlanetDialog, &kCenterUserObjectDialog,
                                   &kCenterSkyMarkDialog}) {
        ASSERT_TRUE(dialogIsShown(spec)) << spec->name;
        press(*spec, "ButtonOK");
        EXPECT_TRUE(dialogIsShown(spec)) << spec->name;
        press(*spec, "ButtonCancel");
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2);
}

// The comet and minor-planet centre dialogs, opened from their menu items
// once bodies are loaded from the shipped element files: OK centres on the
// chosen body by its table name.
TEST_F(BodyDialogsX, CometAndMinorPlanetCentreDialogsOpenFromTheMenuAndSendTheirLookTexts)
{
    struct Case {
        const char *file, *item;
        int (*add)(ChartState *, const OrbitalElements *);
        const DialogSpec *spec;
        const char *list, *sent;
    };
    const Case cases[] = {
        {"/data/comet.elm", "MenuCenterComet", addComet, &kCenterCometDialog, "CometList",
         "LOOK COMET2; BLINK COMET2"},
        {"/data/mp.elm", "MenuCenterMPlanet", addMinorPlanet, &kCenterMPlanetDialog, "MPlanetList",
         "LOOK MINORPLANET2; BLINK MINORPLANET2"},
    };
    for (const Case &c : cases) {
        FILE *f = std::fopen((std::string(TAVIK_SOURCE_DIR) + c.file).c_str(), "r");
        ASSERT_NE(f, nullptr) << c.file;
        char text[kElementLineSize];
        int64_t bytes = 0;
        int added = 0;
        while (added < 3 && readElementFileLine(f, text, &bytes)) {
            OrbitalElements e{};
            if (parseElementLine(&e, text) && c.add(&chart, &e) == 1)
                added++;
        }
        std::fclose(f);
        ASSERT_EQ(added, 3) << c.file;
        sent.clear();
        fromMenu("MenuCenter", c.item);
        ASSERT_TRUE(dialogIsShown(c.spec)) << c.item;
        XmListSelectPos(w(*c.spec, c.list), 2, True);
        press(*c.spec, "ButtonOK");
        EXPECT_FALSE(dialogIsShown(c.spec)) << c.item;
        EXPECT_EQ(sent, std::vector<std::string>{c.sent}) << c.item;
    }
    clearComets(&chart);
    clearMinorPlanets(&chart);
}

} // namespace
