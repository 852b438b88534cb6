// The body and grid dialogs without X: what each shows for a chart, how the
// planet table's toggles follow a selection of several planets, and the
// command texts OK sends, in order.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "ui/dialogs/body_dialogs.h"
#include "ui/dialogs/grid_dialog.h"
#include "tests/support/test_chart.h"

namespace {

class BodyDialogs : public ::testing::Test {
protected:
    template <typename Values> Values filled(const DialogSpec &spec)
    {
        Values v{};
        spec.fill(&chart, appData, &v);
        return v;
    }

    std::vector<std::string> ok(const DialogSpec &spec, const void *values)
    {
        DialogResult r;
        dialogResultClear(&r);
        std::vector<unsigned char> record(static_cast<const unsigned char *>(values),
                                          static_cast<const unsigned char *>(values) + spec.valuesSize);
        spec.ok(record.data(), &chart, appData, &r);
        EXPECT_FALSE(r.refused) << r.messageResource << ": " << r.argument;
        return std::vector<std::string>(r.commands, r.commands + r.commandCount);
    }

    std::vector<uint8_t> sensitivity(const DialogSpec &spec, const void *values)
    {
        std::vector<uint8_t> s(static_cast<size_t>(spec.controlCount), 1);
        spec.sensitivity(values, s.data());
        return s;
    }
    bool sensitive(const DialogSpec &spec, const void *values, const char *control)
    {
        const int i = dialogControlIndex(&spec, control);
        EXPECT_GE(i, 0) << control;
        return i >= 0 && sensitivity(spec, values)[static_cast<size_t>(i)];
    }

    TestChart owner;
    ChartState &chart = *owner;
};

constexpr int kMercury = 0, kVenus = 1, kEarth = 2, kMars = 3, kJupiter = 4;
uint32_t rowsSelected(std::initializer_list<int> rows)
{
    uint32_t bits = 0;
    for (int r : rows)
        bits |= 1u << r;
    return bits;
}

TEST_F(BodyDialogs, EveryTableIsSound)
{
    const DialogSpec *specs[] = {&kPlanetDialog, &kJoviSatDialog, &kConstDialog,
                                 &kSunDialog,    &kMoonDialog,    &kGridDialog};
    for (const DialogSpec *spec : specs) {
        char why[256] = "";
        EXPECT_TRUE(dialogSpecCheck(spec, why, sizeof why)) << spec->name << ": " << why;
    }
}

TEST_F(BodyDialogs, PlanetOkSendsEachRowThenDiskMagThenDrive)
{
    chart.planetFlags[kObjectMars] = kBodyShown | kBodyMag | kBodyDisk;
    // The Earth's own magnitude and disc bits never reach the dialog.
    chart.earthFlags = kBodyShown | kBodyOrbit | kBodyMag | kBodyDisk;
    chart.planetFlags[kObjectVenus] = kBodyName | kBodyDate | kBodyOrbit | kBodyDisk; // hidden
    chart.planetFlags[kObjectMercury] = kBodyName;
    chart.planetFlags[kObjectPluto] = kBodyShown;
    chart.diskMag = 25;
    const auto v = filled<PlanetDialogValues>(kPlanetDialog);
    const std::vector<std::string> sent = ok(kPlanetDialog, &v);
    ASSERT_EQ(sent.size(), 11u);
    EXPECT_EQ(sent[3], "SHOW MARS;HIDE MARS_NAME;HIDE MARS_DATE;HIDE MARS_OBT;SHOW MARS_MAG;DISK MARS;");
    EXPECT_EQ(sent[2], "SHOW EARTH;HIDE EARTH_NAME;HIDE EARTH_DATE;SHOW EARTH_OBT;")
        << "the Earth has no magnitude, DISK or REAL";
    EXPECT_EQ(sent[1], "HIDE VENUS;SHOW VENUS_NAME;SHOW VENUS_DATE;SHOW VENUS_OBT;HIDE VENUS_MAG;DISK VENUS;")
        << "a hidden planet keeps its other settings";
    EXPECT_EQ(sent[0].substr(0, 13), "HIDE MERCURY;");
    EXPECT_EQ(sent[8].substr(sent[8].size() - 11), "REAL PLUTO;");
    EXPECT_EQ(sent[9], "DISK_MAG 25;");
    EXPECT_EQ(sent[10], "DRIVE");
}

TEST_F(BodyDialogs, PlanetOpensOnMercuryAndShowsItsRow)
{
    chart.planetFlags[kObjectMercury] = kBodyShown | kBodyDate;
    chart.diskMag = 7;
    const auto v = filled<PlanetDialogValues>(kPlanetDialog);
    EXPECT_EQ(v.selected, rowsSelected({kMercury}));
    const ToggleValue expected[kPlanetDialogColumns] = {kToggleOn, kToggleOff, kToggleOn,
                                                        kToggleOff, kToggleOff, kToggleOff};
    for (int c = 0; c < kPlanetDialogColumns; c++)
        EXPECT_EQ(v.toggles[c], expected[c]) << "column " << c;
    EXPECT_STREQ(v.diskMag, "7");
}

TEST_F(BodyDialogs, PlanetsThatDifferShowTheThirdStateUntilATogglesSetsThemAll)
{
    chart.planetFlags[kObjectMars] = kBodyShown | kBodyName;
    chart.planetFlags[kObjectJupiter] = kBodyShown;
    auto v = filled<PlanetDialogValues>(kPlanetDialog);
    v.selected = rowsSelected({kMars, kJupiter});
    planetDlgSelectionChanged(&v);
    EXPECT_EQ(v.toggles[kPlanetColName], kToggleMixed);
    EXPECT_EQ(v.toggles[kPlanetColShown], kToggleOn);

    // A click on the third state: Motif's cycle goes on to off, any other
    // state counts as on.
    v.toggles[kPlanetColName] = kToggleOn;
    planetDlgToggleChanged(&v, kPlanetColName);
    EXPECT_EQ(v.toggles[kPlanetColName], kToggleOn) << "two states again";
    EXPECT_EQ(v.rows[kMars][kPlanetColName], 1);
    EXPECT_EQ(v.rows[kJupiter][kPlanetColName], 1);
    EXPECT_EQ(v.rows[kVenus][kPlanetColName], 0) << "an unselected planet keeps its flag";
    const std::vector<std::string> sent = ok(kPlanetDialog, &v);
    EXPECT_NE(sent[kJupiter].find("SHOW JUPITER_NAME;"), std::string::npos) << sent[kJupiter];
}

TEST_F(BodyDialogs, TheEarthAloneHasNoMagnitudeOrDisc)
{
    chart.earthFlags = kBodyShown | kBodyMag | kBodyDisk;
    auto v = filled<PlanetDialogValues>(kPlanetDialog);
    v.selected = rowsSelected({kEarth});
    planetDlgSelectionChanged(&v);
    EXPECT_EQ(v.toggles[kPlanetColMag], kToggleOff);
    EXPECT_EQ(v.toggles[kPlanetColDisk], kToggleOff);
    EXPECT_FALSE(sensitive(kPlanetDialog, &v, "ToggleMag"));
    EXPECT_FALSE(sensitive(kPlanetDialog, &v, "ToggleDisk"));
    EXPECT_TRUE(sensitive(kPlanetDialog, &v, "ToggleName"));
    EXPECT_TRUE(sensitive(kPlanetDialog, &v, "ToggleShow"));
}

TEST_F(BodyDialogs, WithTheEarthFirstTheNextPlanetIsTheReference)
{
    chart.earthFlags = kBodyShown;
    chart.planetFlags[kObjectMars] = kBodyShown | kBodyMag | kBodyDisk;
    auto v = filled<PlanetDialogValues>(kPlanetDialog);
    v.selected = rowsSelected({kEarth, kMars});
    planetDlgSelectionChanged(&v);
    // The Earth is not compared in these columns: Mars alone decides them.
    EXPECT_EQ(v.toggles[kPlanetColMag], kToggleOn);
    EXPECT_EQ(v.toggles[kPlanetColDisk], kToggleOn);
    EXPECT_TRUE(sensitive(kPlanetDialog, &v, "ToggleDisk"));

    v.toggles[kPlanetColDisk] = kToggleOff;
    planetDlgToggleChanged(&v, kPlanetColDisk);
    v.toggles[kPlanetColDisk] = kToggleOn;
    planetDlgToggleChanged(&v, kPlanetColDisk);
    EXPECT_EQ(v.rows[kMars][kPlanetColDisk], 1);
    EXPECT_EQ(v.rows[kEarth][kPlanetColDisk], 0) << "the Earth's disc column is always written 0";
}

TEST_F(BodyDialogs, AHiddenPlanetInTheSelectionLocksAllButShow)
{
    chart.planetFlags[kObjectMars] = kBodyShown;
    chart.planetFlags[kObjectJupiter] = 0;
    auto v = filled<PlanetDialogValues>(kPlanetDialog);
    v.selected = rowsSelected({kMars, kJupiter});
    planetDlgSelectionChanged(&v);
    EXPECT_EQ(v.toggles[kPlanetColShown], kToggleMixed);
    EXPECT_TRUE(sensitive(kPlanetDialog, &v, "ToggleShow"));
    for (const char *name : {"ToggleName", "ToggleDate", "ToggleMag", "ToggleOrbit", "ToggleDisk"})
        EXPECT_FALSE(sensitive(kPlanetDialog, &v, name)) << name;

    // Nothing selected changes nothing.
    const PlanetDialogValues before = v;
    v.selected = 0;
    planetDlgSelectionChanged(&v);
    EXPECT_EQ(0, memcmp(before.toggles, v.toggles, sizeof v.toggles));
    EXPECT_EQ(0, memcmp(before.sensitive, v.sensitive, sizeof v.sensitive));
}

TEST_F(BodyDialogs, JovianSatellitesAndConstellationsSendOneStatementPerToggle)
{
    chart.jupiterMoonFlags = kJmoonShown | kJmoonNo;
    const auto jovi = filled<JoviSatDialogValues>(kJoviSatDialog);
    EXPECT_EQ(ok(kJoviSatDialog, &jovi),
              (std::vector<std::string>{"SHOW JMOON", "HIDE JMOON_NAME", "SHOW JMOON_NO", "DRIVE"}));
    EXPECT_TRUE(sensitive(kJoviSatDialog, &jovi, "ToggleName"));

    chart.jupiterMoonFlags = kJmoonName;
    const auto hidden = filled<JoviSatDialogValues>(kJoviSatDialog);
    EXPECT_FALSE(sensitive(kJoviSatDialog, &hidden, "ToggleName"));
    EXPECT_FALSE(sensitive(kJoviSatDialog, &hidden, "ToggleNumber"));
    EXPECT_EQ(ok(kJoviSatDialog, &hidden)[1], "SHOW JMOON_NAME") << "sent although it cannot be used";

    chart.constellationFlags = kConsLine | kConsName2;
    const auto cons = filled<ConstDialogValues>(kConstDialog);
    EXPECT_EQ(ok(kConstDialog, &cons), (std::vector<std::string>{"SHOW CONS_LINE", "HIDE CONS_NAME1",
                                                                 "SHOW CONS_NAME2", "HIDE CONS_LIMIT", "DRIVE"}));
    chart.constellationFlags = kConsName1 | kConsLimit;
    const auto cons2 = filled<ConstDialogValues>(kConstDialog);
    EXPECT_EQ(ok(kConstDialog, &cons2), (std::vector<std::string>{"HIDE CONS_LINE", "SHOW CONS_NAME1",
                                                                  "HIDE CONS_NAME2", "SHOW CONS_LIMIT", "DRIVE"}));
}

TEST_F(BodyDialogs, SunAndMoonSendOneTextOfThreeThenOutlineOrReal)
{
    struct Case {
        const char *what;
        int32_t mode;
        uint8_t sunFlags, moonFlags;
        bool outlineUsable;
        std::vector<std::string> sun, moon;
    };
    const Case cases[] = {
        {"the solar-system view: Outline cannot be used but is sent", kModeSol1, kBodyShown | kBodyName | kBodyDisk,
         kBodyShown | kBodyDate, false,
         {"SHOW SUN;SHOW SUN_NAME;HIDE SUN_DATE", "OUTLINE SUN", "DRIVE"},
         {"SHOW MOON;HIDE MOON_NAME;SHOW MOON_DATE", "REAL MOON", "DRIVE"}},
        {"the horizontal chart", kModeHrz, kBodyShown | kBodyDate, kBodyShown | kBodyName | kBodyDisk, true,
         {"SHOW SUN;HIDE SUN_NAME;SHOW SUN_DATE", "REAL SUN", "DRIVE"},
         {"SHOW MOON;SHOW MOON_NAME;HIDE MOON_DATE", "OUTLINE MOON", "DRIVE"}},
    };
    for (const Case &c : cases) {
        chart.mode = c.mode;
        chart.sunFlags = c.sunFlags;
        chart.moonFlags = c.moonFlags;
        const auto sun = filled<SunMoonDialogValues>(kSunDialog);
        const auto moon = filled<SunMoonDialogValues>(kMoonDialog);
        EXPECT_EQ(ok(kSunDialog, &sun), c.sun) << c.what;
        EXPECT_EQ(ok(kMoonDialog, &moon), c.moon) << c.what;
        EXPECT_EQ(sensitive(kSunDialog, &sun, "ToggleSunOutline"), c.outlineUsable) << c.what;
        EXPECT_EQ(sensitive(kMoonDialog, &moon, "ToggleMoonOutline"), c.outlineUsable) << c.what;
        EXPECT_TRUE(sensitive(kSunDialog, &sun, "ToggleSunName")) << c.what;
    }

    chart.mode = kModeHrz;
    chart.sunFlags = kBodyName | kBodyDisk; // hidden
    const auto hidden = filled<SunMoonDialogValues>(kSunDialog);
    for (const char *name : {"ToggleSunName", "ToggleSunDate", "ToggleSunOutline"})
        EXPECT_FALSE(sensitive(kSunDialog, &hidden, name)) << name;
    EXPECT_TRUE(sensitive(kSunDialog, &hidden, "ToggleSun"));
}

TEST_F(BodyDialogs, GridSendsEighteenToggleStatementsGridModeSolGridAndDrive)
{
    chart.mode = kModeEqt;
    chart.equatorialGridFlags = kEqt2000 | kEqtGridDate;
    chart.gridNumberFlags = 3 | kEqtGrid1950Num | kEqtGridDateNum | kHrzGridNum;
    chart.horizonGridFlags = kMeridian;
    chart.otherGridFlags = kGalGrid | kSolGrid;
    const auto v = filled<GridDialogValues>(kGridDialog);
    EXPECT_EQ(v.mode[3], kToggleOn) << "GRID mode 3 opens on RadioMode01";
    EXPECT_EQ(gridDlgSelectedMode(&v), 3);
    const std::vector<std::string> expected = {
        "SHOW EQT_2000", "HIDE EQT_GRID_2000", "HIDE EQT_GRID_2000_NUM",
        "HIDE EQT_1950", "HIDE EQT_GRID_1950", "SHOW EQT_GRID_1950_NUM",
        "HIDE EQT_DATE", "SHOW EQT_GRID_DATE", "SHOW EQT_GRID_DATE_NUM",
        "HIDE ECL",      "HIDE ECL_GRID",      "HIDE ECL_GRID_NUM",
        "HIDE GAL",      "SHOW GAL_GRID",      "HIDE GAL_GRID_NUM",
        "SHOW MERIDIAN", "HIDE HRZ_GRID",      "SHOW HRZ_GRID_NUM",
        "GRID MODE3",    "SHOW SOL_GRID",      "DRIVE",
    };
    EXPECT_EQ(ok(kGridDialog, &v), expected);

    // A scale follows its grid's toggle, not its line's; the axis is for the
    // solar-system view only.
    EXPECT_FALSE(sensitive(kGridDialog, &v, "ToggleEqt1950GridNum")) << "grid off, scale on: sent all the same";
    EXPECT_TRUE(sensitive(kGridDialog, &v, "ToggleEqtDateGridNum"));
    EXPECT_FALSE(sensitive(kGridDialog, &v, "ToggleEqt2000GridNum")) << "the line is on, the grid off";
    EXPECT_TRUE(sensitive(kGridDialog, &v, "ToggleGalGridNum"));
    EXPECT_FALSE(sensitive(kGridDialog, &v, "ToggleSolGrid"));

    chart.mode = kModeSol2;
    chart.gridNumberFlags = 0;
    auto sol = filled<GridDialogValues>(kGridDialog);
    EXPECT_TRUE(sensitive(kGridDialog, &sol, "ToggleSolGrid"));
    EXPECT_EQ(ok(kGridDialog, &sol)[18], "GRID NORMAL");
    gridDlgModeChanged(&sol, 2);
    EXPECT_EQ(gridDlgSelectedMode(&sol), 2);
    EXPECT_EQ(sol.mode[0], kToggleOff) << "one radio toggle at a time";
    EXPECT_EQ(ok(kGridDialog, &sol)[18], "GRID MODE2");
}

} // namespace
