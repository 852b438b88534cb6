// What the menus show and send, without a display: every toggle and
// sensitivity a cascading callback sets, over the fourteen chart modes and
// the states that matter, and the texts of the items that run commands.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "tests/support/test_chart.h"
#include "ui/window/menu_state.h"

namespace {

// -1: the cascade leaves that side of the item alone.
struct Seen {
    int sensitive = -2; // -2: the item is not among the states at all
    int set = -2;
};

Seen stateOf(MenuCascade cascade, const ChartState &chart, const MenuFacts &facts, const char *item)
{
    MenuItemState states[kMenuStatesMax];
    const int n = menuCascadeStates(cascade, &chart, facts, states);
    for (int i = 0; i < n; i++) {
        if (std::strcmp(states[i].item, item) == 0)
            return Seen{states[i].sensitive, states[i].set};
    }
    return Seen{};
}

std::vector<std::string> textsOf(const char *item, const ChartState &chart)
{
    MenuTexts t;
    menuItemCommands(item, &chart, &t);
    return std::vector<std::string>(t.text, t.text + t.count);
}

struct MenuStateTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
    MenuFacts facts{};
};

// The fourteen modes by their numbers (kind * 256 + coordinate system) and
// what the View and Jovian items allow in each, as the menus are meant to
// behave: width and rotation only in the azimuthal sky charts, direction in
// the two horizontal charts, the horizon look in the horizontal chart only,
// daylight in the horizontal systems, the Jovian satellites away from the
// solar-system views.
struct ModeRow {
    int32_t mode;
    const char *name;
    int width, dir, rotate, lookHrz, daylight, jovi;
};
const ModeRow kModeRows[] = {
    {257, "HRZ", 1, 1, 1, 1, 1, 1},    {260, "EQT", 1, 0, 1, 0, 0, 1},
    {261, "ECL", 1, 0, 1, 0, 0, 1},    {262, "GAL", 1, 0, 1, 0, 0, 1},
    {516, "SOL1", 0, 0, 0, 0, 0, 0},   {517, "SOL2", 0, 0, 0, 0, 0, 0},
    {518, "SOL3", 0, 0, 0, 0, 0, 0},   {772, "ALL1 EQT", 0, 0, 0, 0, 0, 1},
    {773, "ALL1 ECL", 0, 0, 0, 0, 0, 1}, {774, "ALL1 GAL", 0, 0, 0, 0, 0, 1},
    {1028, "ALL2 EQT", 0, 0, 0, 0, 0, 1}, {1029, "ALL2 ECL", 0, 0, 0, 0, 0, 1},
    {1030, "ALL2 GAL", 0, 0, 0, 0, 0, 1}, {2049, "PLNS", 0, 1, 0, 0, 1, 1},
};

TEST_F(MenuStateTest, ViewAndJovianSensitivityFollowTheModeInAllFourteenModes)
{
    for (const ModeRow &r : kModeRows) {
        chart.mode = r.mode;
        chart.planetFlags[4 - 1] |= 0x02; // Jupiter shown (Mercury .. Pluto, Jupiter fourth)
        EXPECT_EQ(stateOf(kCascadeView, chart, facts, "MenuViewWidth").sensitive, r.width) << r.name;
        EXPECT_EQ(stateOf(kCascadeView, chart, facts, "MenuViewDir").sensitive, r.dir) << r.name;
        EXPECT_EQ(stateOf(kCascadeView, chart, facts, "MenuViewRotate").sensitive, r.rotate) << r.name;
        EXPECT_EQ(stateOf(kCascadeView, chart, facts, "MenuViewLookHrz").sensitive, r.lookHrz) << r.name;
        EXPECT_EQ(stateOf(kCascadeView, chart, facts, "MenuViewDaylight").sensitive, r.daylight) << r.name;
        EXPECT_EQ(stateOf(kCascadeObject, chart, facts, "MenuObjectJoviSat").sensitive, r.jovi) << r.name;
        EXPECT_EQ(stateOf(kCascadeCenter, chart, facts, "MenuCenterJoviSat").sensitive, r.jovi) << r.name;
        // Jupiter hidden: no satellites to look at in any mode.
        chart.planetFlags[4 - 1] &= ~0x02;
        EXPECT_EQ(stateOf(kCascadeObject, chart, facts, "MenuObjectJoviSat").sensitive, 0) << r.name;
        EXPECT_EQ(stateOf(kCascadeCenter, chart, facts, "MenuCenterJoviSat").sensitive, 0) << r.name;
    }
}

TEST_F(MenuStateTest, TogglesShowTheDisplayBitsAndNothingElse)
{
    struct Case {
        const char *name;
        MenuCascade cascade;
        const char *item;
        void (*setUp)(ChartState &c, MenuFacts &f);
        int set;
    };
    const Case cases[] = {
        {"playing", kCascadeSettings, "MenuSettingsContinue", [](ChartState &c, MenuFacts &) { c.playing = 1; }, 1},
        {"stopped", kCascadeSettings, "MenuSettingsContinue", [](ChartState &c, MenuFacts &) { c.playing = 0; }, 0},
        {"trace on", kCascadeSettings, "MenuSettingsTrace", [](ChartState &c, MenuFacts &) { c.traceFlags = 0x01; }, 1},
        {"trace bit 2 only", kCascadeSettings, "MenuSettingsTrace",
         [](ChartState &c, MenuFacts &) { c.traceFlags = 0x02; }, 0},
        {"daylight", kCascadeView, "MenuViewDaylight", [](ChartState &c, MenuFacts &) { c.skyFlags = 0x01; }, 1},
        {"twilight only", kCascadeView, "MenuViewDaylight", [](ChartState &c, MenuFacts &) { c.skyFlags = 0x02; }, 0},
        {"picture marks", kCascadeView, "MenuViewPictureMark",
         [](ChartState &c, MenuFacts &) { c.pictureMarkFlags = 0x01; }, 1},
        {"status bar hidden", kCascadeView, "MenuViewStatusbar", [](ChartState &c, MenuFacts &) { c.statusBar = 0; }, 0},
        {"status bar shown", kCascadeView, "MenuViewStatusbar", [](ChartState &c, MenuFacts &) { c.statusBar = 1; }, 1},
        {"milky way bit 4", kCascadeObject, "MenuObjectMilkyway",
         [](ChartState &c, MenuFacts &) { c.milkyWayFlags = 0x04; }, 1},
        {"milky way low bits only", kCascadeObject, "MenuObjectMilkyway",
         [](ChartState &c, MenuFacts &) { c.milkyWayFlags = 0x03; }, 0},
        {"sky marks and names", kCascadeObject, "MenuObjectSkyMark",
         [](ChartState &c, MenuFacts &) { c.skyMarkFlags = 0x03; }, 1},
        {"sky marks without names", kCascadeObject, "MenuObjectSkyMark",
         [](ChartState &c, MenuFacts &) { c.skyMarkFlags = 0x01; }, 0},
        {"step box shown", kCascadeOption, "MenuOptionStepBox", [](ChartState &, MenuFacts &f) { f.stepBoxShown = true; }, 1},
        {"today hidden", kCascadeOption, "MenuOptionWhatsToday", [](ChartState &, MenuFacts &) {}, 0},
        {"command box shown", kCascadeOption, "MenuOptionCommandBox",
         [](ChartState &, MenuFacts &f) { f.commandDialogShown = true; }, 1},
    };
    for (const Case &c : cases) {
        ChartState state = chart;
        MenuFacts f{};
        c.setUp(state, f);
        const Seen seen = stateOf(c.cascade, state, f, c.item);
        EXPECT_EQ(seen.set, c.set) << c.name;
        // Daylight's sensitivity follows the mode (the table over the modes).
        if (std::strcmp(c.item, "MenuViewDaylight") != 0) {
            EXPECT_EQ(seen.sensitive, -1) << c.name << ": a toggle's sensitivity is left alone";
        }
    }
}

TEST_F(MenuStateTest, RotateSetsExactlyOneOfThree)
{
    const char *items[] = {"MenuViewRotateNormal", "MenuViewRotate180", "MenuViewRotateMirror"};
    for (int mirror = 0; mirror < 3; mirror++) {
        chart.mirror = mirror;
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(stateOf(kCascadeRotate, chart, facts, items[i]).set, i == mirror) << mirror << items[i];
    }
}

TEST_F(MenuStateTest, CometAndMinorPlanetItemsFollowTheFileAndTheLoadedCount)
{
    // The Object menu reads the element files; the Center menu the bodies
    // loaded: a comet file that exists with nothing loaded leaves Center's
    // comet item insensitive.
    facts.cometFileReadable = true;
    facts.minorPlanetFileReadable = false;
    chart.cometCount = 0;
    chart.minorPlanetCount = 3;
    EXPECT_EQ(stateOf(kCascadeObject, chart, facts, "MenuObjectComet").sensitive, 1);
    EXPECT_EQ(stateOf(kCascadeObject, chart, facts, "MenuObjectMPlanet").sensitive, 0);
    EXPECT_EQ(stateOf(kCascadeCenter, chart, facts, "MenuCenterComet").sensitive, 0);
    EXPECT_EQ(stateOf(kCascadeCenter, chart, facts, "MenuCenterMPlanet").sensitive, 1);
    chart.cometCount = 1;
    EXPECT_EQ(stateOf(kCascadeCenter, chart, facts, "MenuCenterComet").sensitive, 1);
}

TEST_F(MenuStateTest, CascadeButtonsNameTheirRules)
{
    EXPECT_EQ(menuCascadeOfButton("MenuView"), kCascadeView);
    EXPECT_EQ(menuCascadeOfButton("MenuViewRotate"), kCascadeRotate);
    EXPECT_EQ(menuCascadeOfButton("MenuOption"), kCascadeOption);
    EXPECT_EQ(menuCascadeOfButton("MenuFile"), kCascadeNone);
    EXPECT_EQ(menuCascadeOfButton("MenuHelp"), kCascadeNone);
    EXPECT_EQ(menuCascadeOfButton("MenuViewWidth"), kCascadeNone);
}

TEST_F(MenuStateTest, WidthAndDirectionItemsRunOnlyWhereTheyMeanSomething)
{
    struct Case {
        int32_t mode;
        const char *item;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {257, "MenuViewWidth30", {"VIEW ANGLE 30.0;DRIVE"}},
        {260, "MenuViewWidth120", {"VIEW ANGLE 120.0;DRIVE"}},
        {262, "MenuViewWidth10", {"VIEW ANGLE 10.0;DRIVE"}},
        {517, "MenuViewWidth30", {}},
        {2049, "MenuViewWidth90", {}},
        {1028, "MenuViewWidth60", {}},
        {257, "MenuViewDirNorth", {"VIEW CENTER HRZ 180.00,0;LOOK HRZ"}},
        {257, "MenuViewDirSouth", {"VIEW CENTER HRZ 0.00,0;LOOK HRZ"}},
        {2049, "MenuViewDirEast", {"VIEW CENTER HRZ 270.00,0;DRIVE"}},
        {2049, "MenuViewDirWest", {"VIEW CENTER HRZ 90.00,0;DRIVE"}},
        {260, "MenuViewDirNorth", {}},
        {516, "MenuViewDirWest", {}},
    };
    for (const Case &c : cases) {
        chart.mode = c.mode;
        EXPECT_EQ(textsOf(c.item, chart), c.texts) << c.mode << " " << c.item;
    }
}

TEST_F(MenuStateTest, ToggleItemsSendTheOppositeOfWhatIsShown)
{
    struct Case {
        const char *name;
        const char *item;
        void (*setUp)(ChartState &c);
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"sky marks and names shown", "MenuObjectSkyMark", [](ChartState &c) { c.skyMarkFlags = 0x03; },
         {"HIDE SKYMARK,SKYMARK_NAME", "DRIVE"}},
        {"names only", "MenuObjectSkyMark", [](ChartState &c) { c.skyMarkFlags = 0x02; },
         {"SHOW SKYMARK,SKYMARK_NAME", "DRIVE"}},
        {"daylight shown", "MenuViewDaylight", [](ChartState &c) { c.skyFlags = 0x41; }, {"HIDE DAYLIGHT; DRIVE"}},
        {"daylight hidden", "MenuViewDaylight", [](ChartState &c) { c.skyFlags = 0x40; }, {"SHOW DAYLIGHT; DRIVE"}},
        {"status bar shown", "MenuViewStatusbar", [](ChartState &c) { c.statusBar = 1; }, {"HIDE STATUSBAR; DRIVE"}},
        {"status bar hidden", "MenuViewStatusbar", [](ChartState &c) { c.statusBar = 0; }, {"SHOW STATUSBAR; DRIVE"}},
        {"picture marks hidden", "MenuViewPictureMark", [](ChartState &c) { c.pictureMarkFlags = 0; },
         {"SHOW PICTUREMARK; DRIVE"}},
        {"picture marks shown", "MenuViewPictureMark", [](ChartState &c) { c.pictureMarkFlags = 1; },
         {"HIDE PICTUREMARK; DRIVE"}},
        {"trace", "MenuSettingsTrace", [](ChartState &) {}, {"TOGGLE TRACE; DRIVE"}},
        {"play", "MenuSettingsContinue", [](ChartState &) {}, {"CONTINUE"}},
        {"milky way", "MenuObjectMilkyway", [](ChartState &) {}, {"TOGGLE MILKYWAY; DRIVE"}},
        {"flip", "MenuViewRotateMirror", [](ChartState &) {}, {"MIRROR 2; DRIVE"}},
        {"turn", "MenuViewRotate180", [](ChartState &) {}, {"MIRROR 1; DRIVE"}},
        {"normal", "MenuViewRotateNormal", [](ChartState &) {}, {"MIRROR 0; DRIVE"}},
        {"horizon", "MenuViewLookHrz", [](ChartState &) {}, {"LOOK HRZ"}},
        {"sun", "MenuCenterSun", [](ChartState &) {}, {"LOOK SUN; BLINK SUN"}},
        {"moon", "MenuCenterMoon", [](ChartState &) {}, {"LOOK MOON; BLINK MOON"}},
    };
    for (const Case &c : cases) {
        ChartState state = chart;
        c.setUp(state);
        EXPECT_EQ(textsOf(c.item, state), c.texts) << c.name;
    }
    MenuTexts t;
    EXPECT_EQ(menuItemCommands("MenuObjectStar", &chart, &t), 0) << "a dialog item runs no text";
    EXPECT_EQ(t.count, 0);
}

} // namespace
