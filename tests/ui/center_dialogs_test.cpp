// The centre-on-object dialogs without X: each dialog's exact text, the
// refusals, OK with nothing chosen, the choices shown again at the next
// opening, and names that cannot travel in a command kept out of the lists.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "resources/catalogs.h"
#include "model/element_files.h"
#include "model/user_objects.h"
#include "tests/support/temp_dir.h"
#include "ui/dialogs/center_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

struct Outcome {
    std::vector<std::string> sent;
    std::string refusal;
    bool stayOpen = false;
};

class CenterDialogs : public ::testing::Test {
protected:
    void SetUp() override { chart.mode = kModeEqt; }
    void TearDown() override { unloadUserObjects(&chart); }

    std::vector<std::string> items(const DialogSpec &spec)
    {
        int count = 0;
        const char *const *texts = spec.listItems(&chart, appData, 0, &count);
        return std::vector<std::string>(texts, texts + count);
    }
    int32_t positionOf(const DialogSpec &spec, const std::string &item)
    {
        const std::vector<std::string> all = items(spec);
        for (size_t i = 0; i < all.size(); i++)
            if (all[i] == item)
                return static_cast<int32_t>(i + 1);
        ADD_FAILURE() << item << " not listed in " << spec.name;
        return 0;
    }
    // Each dialog's record lives as long as the dialog, as the kit keeps it:
    // what an OK keeps there comes back at the next opening.
    void *record(const DialogSpec &spec)
    {
        std::vector<unsigned char> &bytes = records[&spec];
        bytes.resize(spec.valuesSize);
        return bytes.data();
    }
    int32_t opened(const DialogSpec &spec)
    {
        void *v = record(spec);
        dialogValuesClearForFill(&spec, v);
        spec.fill(&chart, appData, v);
        return static_cast<CenterListValues *>(v)->position;
    }
    Outcome ok(const DialogSpec &spec, void *values)
    {
        DialogResult r;
        dialogResultClear(&r);
        spec.ok(values, &chart, appData, &r);
        Outcome o;
        o.sent.assign(r.commands, r.commands + r.commandCount);
        if (r.refused)
            o.refusal = r.messageResource;
        o.stayOpen = r.stayOpen != 0;
        return o;
    }
    Outcome okAt(const DialogSpec &spec, int32_t position)
    {
        auto *v = static_cast<CenterListValues *>(record(spec));
        v->position = position;
        return ok(spec, v);
    }

    // Bodies of the shipped element file, added as a scene adds them.
    void addComets(const std::vector<int> &lines)
    {
        FILE *f = std::fopen(TAVIK_SOURCE_DIR "/data/comet.elm", "r");
        ASSERT_NE(f, nullptr);
        std::vector<OrbitalElements> all;
        char text[kElementLineSize];
        int64_t bytes = 0;
        while (all.size() < 10 && readElementFileLine(f, text, &bytes)) {
            OrbitalElements e{};
            if (parseElementLine(&e, text))
                all.push_back(e);
        }
        std::fclose(f);
        for (int i : lines)
            ASSERT_EQ(addComet(&chart, &all.at(static_cast<size_t>(i))), 1);
    }

    TestChart owner;
    ChartState &chart = *owner;
    std::map<const DialogSpec *, std::vector<unsigned char>> records;
};

TEST_F(CenterDialogs, EveryTableIsSound)
{
    const DialogSpec *specs[] = {&kCenterStarDialog,   &kCenterNebulaDialog,     &kCenterPlanetDialog,
                                 &kCenterCometDialog,  &kCenterMPlanetDialog,    &kCenterJoviSatDialog,
                                 &kCenterConstDialog,  &kCenterUserObjectDialog, &kCenterSkyMarkDialog};
    for (const DialogSpec *spec : specs) {
        char why[256] = "";
        EXPECT_TRUE(dialogSpecCheck(spec, why, sizeof why)) << spec->name << ": " << why;
    }
}

TEST_F(CenterDialogs, EachListDialogSendsItsText)
{
    addComets({0, 1, 2});
    struct Case {
        const DialogSpec *spec;
        std::string item;
        std::string text;
    };
    const Case cases[] = {
        {&kCenterStarDialog, "Rigel Kentaurus", "LOOK STAR \"Rigel Kentaurus\"; BLINK \"Rigel Kentaurus\""},
        {&kCenterPlanetDialog, "Mars", "LOOK MARS; BLINK MARS"},
        {&kCenterJoviSatDialog, "Callist", "LOOK CALLISTO; BLINK CALLISTO"},
        {&kCenterConstDialog, "Orion", "LOOK CONS \"Orion\""},
    };
    appData->bodyNames[3] = const_cast<char *>("Mars");
    appData->bodyNames[12] = const_cast<char *>("Callist");
    for (const Case &c : cases) {
        const Outcome o = okAt(*c.spec, positionOf(*c.spec, c.item));
        EXPECT_EQ(o.sent, std::vector<std::string>{c.text}) << c.spec->name;
        EXPECT_EQ(o.refusal, "") << c.spec->name;
    }
    appData->bodyNames[3] = appData->bodyNames[12] = nullptr;
    EXPECT_EQ(okAt(kCenterCometDialog, 2).sent, std::vector<std::string>{"LOOK COMET2; BLINK COMET2"});
}

TEST_F(CenterDialogs, NothingChosenSendsNothingAndStaysOpen)
{
    const DialogSpec *specs[] = {&kCenterStarDialog,    &kCenterPlanetDialog,     &kCenterCometDialog,
                                 &kCenterMPlanetDialog, &kCenterJoviSatDialog,    &kCenterConstDialog,
                                 &kCenterUserObjectDialog, &kCenterSkyMarkDialog};
    for (const DialogSpec *spec : specs) {
        const Outcome o = okAt(*spec, 0);
        EXPECT_TRUE(o.sent.empty()) << spec->name;
        EXPECT_TRUE(o.stayOpen) << spec->name;
        EXPECT_EQ(o.refusal, "") << spec->name;
    }
}

TEST_F(CenterDialogs, TheEarthOnlyInTheSolarSystemViewAndTheMoonsNeverThere)
{
    const Outcome earth = okAt(kCenterPlanetDialog, 3);
    EXPECT_EQ(earth.refusal, "messageCenterEarthOnNonSol");
    EXPECT_TRUE(earth.sent.empty());
    EXPECT_EQ(opened(kCenterPlanetDialog), 3) << "the refused choice is still remembered";

    chart.mode = kModeSol1;
    EXPECT_EQ(okAt(kCenterPlanetDialog, 3).sent, std::vector<std::string>{"LOOK EARTH; BLINK EARTH"});
    const Outcome moon = okAt(kCenterJoviSatDialog, 1);
    EXPECT_TRUE(moon.sent.empty());
    EXPECT_TRUE(moon.stayOpen);
    EXPECT_EQ(moon.refusal, "");
}

TEST_F(CenterDialogs, ChoicesComeBackAtTheNextOpening)
{
    const DialogSpec *specs[] = {&kCenterStarDialog, &kCenterPlanetDialog, &kCenterJoviSatDialog,
                                 &kCenterConstDialog};
    for (const DialogSpec *spec : specs) {
        for (int32_t p : {4, 2}) {
            EXPECT_FALSE(okAt(*spec, p).sent.empty()) << spec->name;
            EXPECT_EQ(opened(*spec), p) << spec->name;
        }
    }
    // The choices are each dialog's own: a dialog built anew (a new toolkit
    // shell) starts at the first item whatever an earlier one chose.
    records.clear();
    for (const DialogSpec *spec : specs)
        EXPECT_EQ(opened(*spec), 1) << spec->name;
}

TEST_F(CenterDialogs, TheCometIsFoundAgainByItsTextAfterAReload)
{
    addComets({0, 1, 2, 3});
    const std::string third = items(kCenterCometDialog)[2];
    EXPECT_EQ(okAt(kCenterCometDialog, 3).sent, std::vector<std::string>{"LOOK COMET3; BLINK COMET3"});
    clearComets(&chart);
    addComets({3, 2, 1, 0});
    ASSERT_EQ(items(kCenterCometDialog)[1], third);
    EXPECT_EQ(opened(kCenterCometDialog), 2);
    clearComets(&chart);
    addComets({0, 3});
    EXPECT_EQ(opened(kCenterCometDialog), 1) << "gone from the table: the first";
    clearComets(&chart);
    EXPECT_TRUE(items(kCenterCometDialog).empty());
    EXPECT_EQ(opened(kCenterCometDialog), 0);
    // Items are the element dialogs' "%-15.15s %-30.30s".
    addComets({0});
    EXPECT_EQ(items(kCenterCometDialog)[0].size(), 46u);
}

TEST_F(CenterDialogs, TheMinorPlanetIsNamedByItsPosition)
{
    OrbitalElements e{};
    ASSERT_EQ(parseElementLine(&e, "M 2688   1982 HG1   Halley                         2022 531.017513 0.14379191  "
                                   "2.71262553 188.914561  95.229872   3.449588 2000.0  11.93  5.00"),
              1);
    ASSERT_EQ(addMinorPlanet(&chart, &e), 1);
    EXPECT_EQ(opened(kCenterMPlanetDialog), 1);
    EXPECT_EQ(okAt(kCenterMPlanetDialog, 1).sent, std::vector<std::string>{"LOOK MINORPLANET1; BLINK MINORPLANET1"});
}

TEST_F(CenterDialogs, NebulaByCatalogueAndNumber)
{
    struct Case {
        ToggleValue m, ngc, ic;
        const char *number;
        std::vector<std::string> sent;
        const char *refusal;
        bool stayOpen;
    };
    const Case cases[] = {
        {kToggleOn, kToggleOff, kToggleOff, "31", {"LOOK NEBULA M31; BLINK NEBULA M31"}, "", false},
        {kToggleOff, kToggleOn, kToggleOff, "224", {"LOOK NEBULA N224; BLINK NEBULA N224"}, "", false},
        {kToggleOff, kToggleOff, kToggleOn, "434", {"LOOK NEBULA I434; BLINK NEBULA I434"}, "", false},
        {kToggleOn, kToggleOff, kToggleOff, "999", {}, "messageNoSuchANebula", false},
        {kToggleOn, kToggleOff, kToggleOff, "", {}, "messageNoSuchANebula", false},
        {kToggleOff, kToggleOff, kToggleOff, "31", {}, "", true},
    };
    for (const Case &c : cases) {
        auto &v = *static_cast<CenterNebulaValues *>(record(kCenterNebulaDialog));
        v.catalog[0] = c.m;
        v.catalog[1] = c.ngc;
        v.catalog[2] = c.ic;
        std::snprintf(v.number, sizeof v.number, "%s", c.number);
        const Outcome o = ok(kCenterNebulaDialog, &v);
        EXPECT_EQ(o.sent, c.sent) << c.number;
        EXPECT_EQ(o.refusal, c.refusal) << c.number;
        EXPECT_EQ(o.stayOpen, c.stayOpen) << c.number;
    }
    // The last accepted choice, not a refused one, opens next time.
    auto &shown = *static_cast<CenterNebulaValues *>(record(kCenterNebulaDialog));
    dialogValuesClearForFill(&kCenterNebulaDialog, &shown);
    kCenterNebulaDialog.fill(&chart, appData, &shown);
    EXPECT_EQ(shown.catalog[2], kToggleOn);
    EXPECT_EQ(shown.catalog[0], kToggleOff);
    EXPECT_STREQ(shown.number, "434");
    // A catalogue toggle pressed: it alone is set.
    const int m = dialogControlIndex(&kCenterNebulaDialog, "ToggleTypeM");
    ASSERT_GE(m, 0);
    shown.catalog[0] = kToggleOn;
    EXPECT_EQ(kCenterNebulaDialog.changed(&shown, m), 1);
    EXPECT_EQ(shown.catalog[2], kToggleOff);
}

TEST_F(CenterDialogs, NamesThatCannotTravelInTheTextAreNeverOffered)
{
    // "LOOK STAR \"\"; BLINK \"\"" is 22 characters: a name of 118 fills the
    // 259 a command text may have, one of 119 overflows it.
    struct Case {
        const char *format;
        std::string name;
        int sendable;
    };
    const Case cases[] = {
        {"LOOK STAR \"%s\"; BLINK \"%s\"", "Rigel Kentaurus", 1},
        {"LOOK STAR \"%s\"; BLINK \"%s\"", std::string(118, 'a'), 1},
        {"LOOK STAR \"%s\"; BLINK \"%s\"", std::string(119, 'a'), 0},
        {"LOOK CONS \"%s\"", std::string(127, 'a'), 1},
        {"LOOK CONS \"%s\"", "", 0},
        {"LOOK CONS \"%s\"", "Ori\"; EXIT", 0},
        {"LOOK AD \"%s\"", "A;EXIT", 0},
        {"LOOK AD \"%s\"", "line\nEXIT", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(centerNameSendable(c.format, c.name.c_str()), c.sendable) << c.format << " " << c.name;

    for (const std::string &name : items(kCenterStarDialog))
        EXPECT_TRUE(centerNameSendable("LOOK STAR \"%s\"; BLINK \"%s\"", name.c_str())) << name;
    EXPECT_EQ(items(kCenterConstDialog).size(), 88u);

    // Files built by hand: the loader itself refuses such names.
    UserObject table[5] = {};
    std::snprintf(table[0].name, sizeof table[0].name, "%s", "Home");
    std::snprintf(table[2].name, sizeof table[2].name, "%s", "x;EXIT");
    std::snprintf(table[3].name, sizeof table[3].name, "%s", "Tower");
    table[4].type = kUserObjectTableEnd;
    UserObjectFileEntry file{4, "hand.adf", table};
    std::vector<std::string> listed;
    EXPECT_EQ(userObjectListFill(&file, 1, "LOOK AD \"%s\"", &listed), 2);
    EXPECT_EQ(listed, (std::vector<std::string>{"Home", "Tower"}));
}

TEST_F(CenterDialogs, UserObjectsWhileShownAndSkyMarksAlways)
{
    TempDir dir;
    const std::string first = dir.write("first.adf", "1 2 Home\n3 4\n");
    const std::string second = dir.write("second.adf", "5 6 Tower\n");
    ASSERT_EQ(loadUserObjectFile(&chart, first.c_str(), &chart.userObjectFiles, &chart.userObjectFileCount,
                                 kUserObjectReportCommand),
              1);
    ASSERT_EQ(loadUserObjectFile(&chart, second.c_str(), &chart.userObjectFiles, &chart.userObjectFileCount,
                                 kUserObjectReportCommand),
              1);
    EXPECT_EQ(items(kCenterUserObjectDialog), (std::vector<std::string>{"Home", "Tower"}))
        << "the unnamed object is not listed";
    EXPECT_EQ(opened(kCenterUserObjectDialog), 1);
    EXPECT_EQ(okAt(kCenterUserObjectDialog, 2).sent, std::vector<std::string>{"LOOK AD \"Tower\""});

    chart.userObjectFlags = 0; // AD hidden
    EXPECT_TRUE(items(kCenterUserObjectDialog).empty());
    EXPECT_EQ(opened(kCenterUserObjectDialog), 0);
    EXPECT_TRUE(okAt(kCenterUserObjectDialog, 1).stayOpen);

    // The sky marks are listed whatever the display says.
    appData->skyMarkFiles = chart.userObjectFiles;
    appData->skyMarkFileCount = chart.userObjectFileCount;
    chart.skyMarkFlags = 0;
    EXPECT_EQ(opened(kCenterSkyMarkDialog), 1);
    EXPECT_EQ(okAt(kCenterSkyMarkDialog, 1).sent, std::vector<std::string>{"LOOK SKYMARK \"Home\""});
    appData->skyMarkFiles = nullptr;
    appData->skyMarkFileCount = 0;
}

int32_t alphaLupi()
{
    for (int32_t i = 0; i < starNameCount; i++)
        if (std::string(starNames[i].builtinName) == "Men")
            return starNames[i].index;
    return -1;
}

// Every name the star and constellation lists offer, sent as the dialog sends
// it through the real interpreter, makes its own object the view's target,
// and BLINK's parameter names the same object.
TEST_F(CenterDialogs, EveryListedNameReachesItsOwnObject)
{
    chartSetSite(&chart, 35.68, 139.77, 40.0);
    const DateTime date{2024, 1, 15, 21, 0, 0.0, 9.0};
    chartSetDate(&chart, &date);
    void (*savedExecute)(ChartState *, const char *) = stkExecuteCall;
    stkExecuteCall = stkExecute;

    const std::vector<std::string> stars = items(kCenterStarDialog);
    EXPECT_EQ(stars.size(), static_cast<size_t>(starNameCount - 1)) << "all but one built-in name";
    // alpha Lupi's name is Mensa's abbreviation: LOOK STAR "Men" and BLINK
    // "Men" would go elsewhere, so it is not offered.
    EXPECT_EQ(std::find(stars.begin(), stars.end(), "Men"), stars.end());
    stkExecuteCall(&chart, "LOOK STAR \"Men\"");
    EXPECT_NE(chart.trackIndex, alphaLupi());
    for (size_t p = 0; p < stars.size(); p++) {
        int32_t row = -1; // the star-name table's own row for the name
        for (int32_t i = 0; i < starNameCount; i++)
            if (stars[p] == starNames[i].builtinName)
                row = starNames[i].index;
        ASSERT_GE(row, 0) << stars[p];
        const Outcome o = okAt(kCenterStarDialog, static_cast<int32_t>(p + 1));
        ASSERT_EQ(o.sent.size(), 1u) << stars[p];
        chart.trackKind = chart.trackIndex = 0;
        stkExecuteCall(&chart, o.sent[0].c_str());
        EXPECT_STREQ(appData->errorId, "") << o.sent[0];
        EXPECT_EQ(chart.trackKind & ~kTrackKindLockBit, kPosStar) << o.sent[0];
        EXPECT_EQ(chart.trackIndex, row) << o.sent[0];
        std::string word = stars[p];
        int32_t kind = 0, index = -1, used = 0;
        double values[2] = {0, 0};
        ASSERT_EQ(parsePositionSpecAny(&chart, &word[0], nullptr, nullptr, &kind, &index, values, &used), 1)
            << stars[p];
        EXPECT_EQ(kind, kPosStar) << stars[p];
        EXPECT_EQ(index, row) << stars[p];
    }

    const std::vector<std::string> constellationNames = items(kCenterConstDialog);
    for (size_t p = 0; p < constellationNames.size(); p++) {
        int32_t row = -1;
        for (int32_t i = 0; i < constellationSearchCount && row < 0; i++)
            if (constellationNames[p] == constellations[i].latinName)
                row = i;
        ASSERT_GE(row, 0) << constellationNames[p];
        const Outcome o = okAt(kCenterConstDialog, static_cast<int32_t>(p + 1));
        ASSERT_EQ(o.sent.size(), 1u);
        chart.trackKind = chart.trackIndex = 0;
        stkExecuteCall(&chart, o.sent[0].c_str());
        EXPECT_STREQ(appData->errorId, "") << o.sent[0];
        EXPECT_EQ(chart.trackKind & ~kTrackKindLockBit, kPosCons) << o.sent[0];
        EXPECT_EQ(chart.trackIndex, row) << o.sent[0];
    }
    stkExecuteCall = savedExecute;
}

} // namespace
