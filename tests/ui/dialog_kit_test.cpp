// The pure half of the dialog kit, through the example dialog and the kit's
// own helpers: (chart state) -> values, (values) -> command texts or a
// refusal, sensitivity, and the checks a control table must pass.
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "resources/fallback.h"
#include "tests/ui/example_dialog.h"
#include "ui/dialogs/dialog_kit.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> texts(const DialogResult &r)
{
    return std::vector<std::string>(r.commands, r.commands + r.commandCount);
}

ExampleDialogValues filledFrom(const ChartState &chart)
{
    ExampleDialogValues v{};
    kExampleDialog.fill(&chart, appData, &v);
    return v;
}

struct DialogKitTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
};

TEST_F(DialogKitTest, FillShowsTheChartIncludingAThirdToggleStateAndAListPosition)
{
    struct Case {
        const char *what;
        uint8_t statusBar, gridFlags;
        int namedPlanets; // planets 0 .. n-1 carry their name bit
        int32_t starLimit, starLimitSet;
        ToggleValue statusBarShown, planetNames, fixedLimit;
        int32_t gridPosition;
        const char *limitText;
    };
    const Case cases[] = {
        {"no planet named: off", 0, 0, 0, 65, 0, kToggleOff, kToggleOff, kToggleOff, 1, "6.5"},
        {"every planet named: on", kStatusBarShown, 2, kPlanetCount, 80, 0, kToggleOn, kToggleOn, kToggleOff, 3,
         "8.0"},
        {"some planets named: mixed", 0, 3, 3, -15, 5, kToggleOff, kToggleMixed, kToggleOn, 4, "-1.5"},
        {"only the last planet named: mixed", 0, 1, -1, 65, 0, kToggleOff, kToggleMixed, kToggleOff, 2, "6.5"},
    };
    for (const Case &c : cases) {
        chart.statusBar = c.statusBar;
        chart.gridNumberFlags = c.gridFlags;
        for (int i = 0; i < kPlanetCount; i++) {
            const bool named = c.namedPlanets < 0 ? i == kPlanetCount - 1 : i < c.namedPlanets;
            chart.planetFlags[i] = static_cast<uint8_t>(kBodyShown | (named ? kBodyName : 0));
        }
        chart.starLimit = c.starLimit;
        chart.starLimitSet = c.starLimitSet;
        const ExampleDialogValues v = filledFrom(chart);
        EXPECT_EQ(v.statusBar, c.statusBarShown) << c.what;
        EXPECT_EQ(v.planetNames, c.planetNames) << c.what;
        EXPECT_EQ(v.fixedLimit, c.fixedLimit) << c.what;
        EXPECT_EQ(v.gridMode, c.gridPosition) << c.what;
        EXPECT_STREQ(v.starLimit, c.limitText) << c.what;
    }
}

TEST_F(DialogKitTest, OkSendsTheTextsInOrderOrRefusesWithTheOffendingText)
{
    struct Case {
        const char *what;
        ExampleDialogValues values;
        std::vector<std::string> sent;
        const char *refusal, *argument;
    };
    const Case cases[] = {
        {"toggles send their state, changed or not",
         {kToggleOff, "6.5", kToggleOff, kToggleOn, 1},
         {"HIDE STATUSBAR", "SHOW PLANET_NAME", "GRID NORMAL", "DRIVE"},
         nullptr,
         nullptr},
        {"a mixed toggle sends nothing: each planet keeps its own",
         {kToggleOff, "6.5", kToggleOn, kToggleMixed, 4},
         {"SHOW STATUSBAR", "GRID MODE3", "DRIVE"},
         nullptr,
         nullptr},
        {"no list position: no GRID",
         {kToggleOff, "6.5", kToggleOn, kToggleOff, 0},
         {"SHOW STATUSBAR", "HIDE PLANET_NAME", "DRIVE"},
         nullptr,
         nullptr},
        {"a limit of the user's own comes first",
         {kToggleOn, " 7.25 ", kToggleOff, kToggleOff, 2},
         {"MAG STAR 7.25", "HIDE STATUSBAR", "HIDE PLANET_NAME", "GRID MODE1", "DRIVE"},
         nullptr,
         nullptr},
        {"a limit that is no number is refused, naming it",
         {kToggleOn, "6,5x", kToggleOn, kToggleOn, 1},
         {},
         "messageDialogNotANumber",
         "6,5x"},
        {"an empty limit is refused", {kToggleOn, "", kToggleOn, kToggleOn, 1}, {}, "messageDialogNotANumber", ""},
        {"an unused limit field is not read", {kToggleOff, "junk", kToggleOff, kToggleOff, 1},
         {"HIDE STATUSBAR", "HIDE PLANET_NAME", "GRID NORMAL", "DRIVE"}, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        DialogResult r;
        dialogResultClear(&r);
        ExampleDialogValues values = c.values;
        kExampleDialog.ok(&values, &chart, appData, &r);
        if (c.refusal) {
            EXPECT_EQ(r.refused, 1) << c.what;
            EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
            EXPECT_STREQ(r.argument, c.argument) << c.what;
            EXPECT_EQ(r.commandCount, 0) << c.what << ": a refusal sends nothing";
        } else {
            EXPECT_EQ(r.refused, 0) << c.what << ": " << r.messageResource << " " << r.argument;
            EXPECT_EQ(texts(r), c.sent) << c.what;
        }
    }
}

TEST_F(DialogKitTest, TheLimitFieldCanBeUsedOnlyWithItsToggle)
{
    const int field = dialogControlIndex(&kExampleDialog, "TextStarLimit");
    ASSERT_GE(field, 0);
    for (ToggleValue t : {kToggleOff, kToggleOn, kToggleMixed}) {
        ExampleDialogValues v{t, "6.5", kToggleOff, kToggleOff, 1};
        std::vector<uint8_t> sensitive(static_cast<size_t>(kExampleDialog.controlCount), 1);
        kExampleDialog.sensitivity(&v, sensitive.data());
        EXPECT_EQ(sensitive[static_cast<size_t>(field)], t == kToggleOn ? 1 : 0) << int(t);
        EXPECT_EQ(sensitive[static_cast<size_t>(dialogControlIndex(&kExampleDialog, "ToggleStatusBar"))], 1);
    }
}

TEST(DialogKit, CommandTextsThatWouldBeCutOrSplitAreRefused)
{
    const std::string longest(kStkTextSize - 1, 'A'), tooLong(kStkTextSize, 'A');
    // A text of several statements on purpose (dialogAddStatements) may hold
    // ";"; nothing else differs.
    struct Case {
        const char *what;
        std::string text;
        bool accepted, acceptedAsStatements;
    };
    const Case cases[] = {
        {"a plain statement", "SHOW STATUSBAR", true, true},
        {"a quoted name keeps its blanks and commas", "LOOK STAR \"alpha Cen, A\"", true, true},
        {"the longest statement the interpreter runs", longest, true, true},
        {"one character more would be refused by the interpreter", tooLong, false, false},
        {"a semicolon would smuggle in a second statement", "SHOW STAR;EXIT", false, true},
        {"a newline would too", "SHOW STAR\nEXIT", false, false},
        {"a carriage return would too", "SHOW STAR\rEXIT", false, false},
    };
    for (const Case &c : cases) {
        for (int statements = 0; statements < 2; statements++) {
            DialogResult r;
            dialogResultClear(&r);
            const bool accepted = statements ? c.acceptedAsStatements : c.accepted;
            const int added = statements ? dialogAddStatements(&r, "%s", c.text.c_str())
                                         : dialogAddCommand(&r, "%s", c.text.c_str());
            EXPECT_EQ(added, accepted ? 1 : 0) << c.what << statements;
            EXPECT_EQ(r.refused, accepted ? 0 : 1) << c.what << statements;
            if (accepted) {
                EXPECT_EQ(texts(r), std::vector<std::string>{c.text}) << c.what << statements;
            } else {
                EXPECT_STREQ(r.messageResource, kDialogRefusedText) << c.what << statements;
                EXPECT_EQ(std::string(r.argument), c.text.substr(0, kStkTextSize - 1)) << c.what << statements;
                EXPECT_EQ(r.commandCount, 0) << c.what << statements;
            }
        }
    }
}

TEST(DialogKit, TheFirstRefusalStandsAndAFullListRefuses)
{
    DialogResult r;
    dialogResultClear(&r);
    for (int i = 0; i < kDialogMaxCommands; i++)
        ASSERT_EQ(dialogAddCommand(&r, "SHOW STAR%d", i), 1);
    EXPECT_EQ(dialogAddCommand(&r, "DRIVE"), 0) << "no room left";
    EXPECT_EQ(r.refused, 1);
    EXPECT_STREQ(r.argument, "DRIVE");
    dialogRefuse(&r, kDialogNotANumber, "later");
    EXPECT_STREQ(r.messageResource, kDialogRefusedText);
    EXPECT_STREQ(r.argument, "DRIVE");
}

TEST(DialogKit, ARefusalDropsTheTextsBeforeItAndStopsLaterOnes)
{
    DialogResult r;
    dialogResultClear(&r);
    ASSERT_EQ(dialogAddCommand(&r, "DATE 2003,7,14,21,30,0.000000,9.000000"), 1);
    dialogRefuse(&r, "messageLockTimeMinimum", "");
    EXPECT_EQ(r.commandCount, 0) << "a refused OK sends nothing, not half of its texts";
    EXPECT_EQ(dialogAddCommand(&r, "DRIVE"), 0);
    EXPECT_EQ(dialogAddStatements(&r, "MODE HRZ; DRIVE"), 0);
    EXPECT_EQ(r.commandCount, 0);
    EXPECT_STREQ(r.messageResource, "messageLockTimeMinimum");
}

TEST(DialogKit, SpinStepsANumberFieldWithinItsBounds)
{
    struct Case {
        const char *before;
        int step, lo, hi;
        const char *after;
    } const cases[] = {
        {"5", 1, 0, 9, "6"},       {"9", 1, 0, 9, "9"},         {"0", -1, 0, 9, "0"},
        {"40", 1, 1, 31, "31"},    {"40", -1, 1, 31, "31"},     {"", 1, 1, 12, "1"},
        {"abc", -1, 1, 12, "1"},   {"-999", -1, -999, 9999, "-999"}, {"7x", 1, 0, 99, "8"},
        {"2147483647", 1, 0, 99, "99"}, {"-2147483648", -1, -999, 9999, "-999"},
    };
    for (const Case &c : cases) {
        char field[12];
        std::snprintf(field, sizeof field, "%s", c.before);
        dialogSpinField(field, sizeof field, c.step, c.lo, c.hi);
        EXPECT_STREQ(field, c.after) << c.before << " " << c.step;
    }
    char small[3] = "9";
    dialogSpinField(small, sizeof small, -1, -999, 9999);
    EXPECT_STREQ(small, "8");
}

TEST(DialogKit, ToggleValueOfBitsOverSeveralBytes)
{
    const uint8_t none[] = {0x01, 0x02, 0x00}, all[] = {0x04, 0x05, 0x0f}, some[] = {0x04, 0x00, 0x04};
    EXPECT_EQ(toggleValueOfBits(none, 3, 0x04), kToggleOff);
    EXPECT_EQ(toggleValueOfBits(all, 3, 0x04), kToggleOn);
    EXPECT_EQ(toggleValueOfBits(some, 3, 0x04), kToggleMixed);
    EXPECT_EQ(toggleValueOfBits(some, 1, 0x04), kToggleOn) << "only the bytes counted";
    EXPECT_EQ(toggleValueOfBits(all, 0, 0x04), kToggleOff) << "nothing to show";
}

TEST(DialogKit, TheKitsRefusalsHaveMessagesTakingTheOffendingText)
{
    for (const char *name : {kDialogRefusedText, kDialogNotANumber}) {
        char text[256];
        fallbackResourceString(name, text, sizeof text);
        EXPECT_NE(std::strstr(text, "%s"), nullptr) << name;
        EXPECT_EQ(formatTakesConversions(text, "s"), 1) << name;
    }
}

// Control tables with one fault each; the check names the control.
struct Record {
    char text[8];
    ToggleValue toggle;
    int32_t position;
};
const char *const kItems[] = {"A", "B", nullptr};
const char *const kNoItems[] = {nullptr};

void fillNothing(const ChartState *, const AppData *, void *) {}
void okNothing(void *, const ChartState *, const AppData *, DialogResult *) {}

TEST(DialogKit, TableCheckFindsTheFaultsOfAControlTable)
{
    const DialogControl text = {"Text", kControlTextField, kDialogMainParent, {}, kFieldText, offsetof(Record, text),
                                sizeof(Record::text), nullptr};
    const DialogControl toggle = {"Toggle", kControlToggle, kDialogMainParent, {}, kFieldToggle,
                                  offsetof(Record, toggle), 0, nullptr};
    const DialogControl list = {"List", kControlList, kDialogMainParent, {}, kFieldListPosition,
                                offsetof(Record, position), 0, kItems};
    const DialogControl row = {"Row", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr};
    const DialogControl form = {"Form", kControlForm, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr};
    const DialogControl menu = {"Menu", kControlOptionMenu, kDialogMainParent, {}, kFieldListPosition,
                                offsetof(Record, position), 0, kItems};
    const DialogControl button = {"Button", kControlPushButton, kDialogButtonsParent, {}, kFieldNone, 0, 0, nullptr};
    auto with = [](DialogControl c, auto change) {
        change(c);
        return c;
    };
    struct Case {
        const char *what;
        std::vector<DialogControl> rows;
        const char *blamed; // null: sound
        const char *buttons = nullptr; // the DialogSpec's buttons name
        size_t kept = 0;                // the DialogSpec's keptOffset
    };
    const Case cases[] = {
        {"a sound table", {row, text, toggle, list}, nullptr},
        {"a name used twice", {text, with(toggle, [](DialogControl &c) { c.name = "Text"; })}, "Text"},
        {"a parent that is not a row-column",
         {text, with(toggle, [](DialogControl &c) { c.parent = 0; })}, "Toggle"},
        {"a parent further down the table", {with(text, [](DialogControl &c) { c.parent = 1; }), row}, "Text"},
        {"a toggle shown in a text field", {with(toggle, [](DialogControl &c) { c.field = kFieldText; })}, "Toggle"},
        {"a text field without room", {with(text, [](DialogControl &c) { c.size = 1; })}, "Text"},
        {"a text field running past the record",
         {with(text, [](DialogControl &c) { c.size = sizeof(Record) + 1; })}, "Text"},
        {"a list without items", {with(list, [](DialogControl &c) { c.items = kNoItems; })}, "List"},
        {"two controls on one field",
         {text, with(toggle, [](DialogControl &c) { c.offset = offsetof(Record, text) + 7; })}, "Toggle"},
        {"a field past the record", {with(list, [](DialogControl &c) { c.offset = sizeof(Record) - 2; })}, "List"},
        {"controls in a form, a menu, a button beside OK",
         {form, with(text, [](DialogControl &c) { c.parent = 0; }), menu, button}, nullptr},
        {"a parent that is an arrow",
         {with(row, [](DialogControl &c) { c.cls = kControlArrowButton; }), with(text, [](DialogControl &c) { c.parent = 0; })},
         "Text"},
        {"an option menu without items", {with(menu, [](DialogControl &c) { c.items = kNoItems; })}, "Menu"},
        {"an option menu shown in a toggle", {with(menu, [](DialogControl &c) { c.field = kFieldToggle; })}, "Menu"},
        {"OK and Cancel in a row of the table, a button after them", {row, text, button}, nullptr, "Row"},
        {"OK and Cancel in a form of the table", {form, button}, nullptr, "Form"},
        {"OK and Cancel in a text field", {text, button}, "Text", "Text"},
        {"a button beside OK before the row that holds OK", {button, row}, "Button", "Row"},
        {"a buttons name of no row: their own row", {button, row}, nullptr, "Elsewhere"},
        {"a kept part after every control", {text, toggle}, nullptr, nullptr, offsetof(Record, position)},
        {"a control shown from the kept part", {text, toggle}, "Toggle", nullptr, offsetof(Record, toggle)},
    };
    for (const Case &c : cases) {
        DialogSpec spec = {"Test", c.rows.data(), static_cast<int>(c.rows.size()), sizeof(Record),
                           fillNothing, nullptr, okNothing};
        spec.buttonsName = c.buttons;
        spec.keptOffset = c.kept;
        char why[256] = "";
        const int sound = dialogSpecCheck(&spec, why, sizeof why);
        EXPECT_EQ(sound, c.blamed ? 0 : 1) << c.what << ": " << why;
        if (c.blamed) {
            EXPECT_EQ(std::string(why).rfind(std::string(c.blamed) + ":", 0), 0u) << c.what << ": " << why;
        }
    }
    char why[256] = "";
    EXPECT_EQ(dialogSpecCheck(&kExampleDialog, why, sizeof why), 1) << why;
}

} // namespace
