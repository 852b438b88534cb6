// The Time Step and Projection dialogs without X: (chart state) -> what the
// controls show, a user's acts on the controls, and OK -> command texts.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "ui/dialogs/step_projection_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> texts(const DialogResult &r)
{
    return std::vector<std::string>(r.commands, r.commands + r.commandCount);
}

DialogResult okOf(const DialogSpec &spec, const void *values, const ChartState &chart)
{
    DialogResult r;
    dialogResultClear(&r);
    std::vector<unsigned char> record(static_cast<const unsigned char *>(values),
                                      static_cast<const unsigned char *>(values) + spec.valuesSize);
    spec.ok(record.data(), &chart, appData, &r);
    return r;
}

void act(const DialogSpec &spec, const char *control, void *values)
{
    const int row = dialogControlIndex(&spec, control);
    ASSERT_GE(row, 0) << control;
    spec.changed(values, row);
}

bool sensitiveOf(const DialogSpec &spec, const void *values, const char *control)
{
    std::vector<uint8_t> sensitive(static_cast<size_t>(spec.controlCount), 1);
    spec.sensitivity(values, sensitive.data());
    return sensitive[static_cast<size_t>(dialogControlIndex(&spec, control))] != 0;
}

struct StepProjectionTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
};

TEST_F(StepProjectionTest, TablesAreSound)
{
    char why[256];
    EXPECT_TRUE(dialogSpecCheck(&kTimeStepDialog, why, sizeof why)) << why;
    EXPECT_TRUE(dialogSpecCheck(&kProjectionDialog, why, sizeof why)) << why;
}

// The fourteen modes, their toggles (major: 0 chart, 1 cylindrical, 2 Aitoff,
// 3 solar system, 4 planisphere; minor: 0 horizontal .. 3 galactic) and
// their keywords as the command language spells them.
TEST_F(StepProjectionTest, EveryModeShowsItsTogglesAndOkSendsItsKeywordBack)
{
    struct Case {
        int32_t mode;
        int major, minor;
        const char *sent;
    } const cases[] = {
        {kModeHrz, 0, 0, "MODE HRZ; DRIVE"},           {kModeEqt, 0, 1, "MODE EQT; DRIVE"},
        {kModeEcl, 0, 2, "MODE ECL; DRIVE"},           {kModeGal, 0, 3, "MODE GAL; DRIVE"},
        {kModeAll1Eqt, 1, 1, "MODE ALL1_EQT; DRIVE"}, {kModeAll1Ecl, 1, 2, "MODE ALL1_ECL; DRIVE"},
        {kModeAll1Gal, 1, 3, "MODE ALL1_GAL; DRIVE"}, {kModeAll2Eqt, 2, 1, "MODE ALL2_EQT; DRIVE"},
        {kModeAll2Ecl, 2, 2, "MODE ALL2_ECL; DRIVE"}, {kModeAll2Gal, 2, 3, "MODE ALL2_GAL; DRIVE"},
        {kModeSol1, 3, 1, "MODE SOL1; DRIVE"},         {kModeSol2, 3, 2, "MODE SOL2; DRIVE"},
        {kModeSol3, 3, 3, "MODE SOL3; DRIVE"},         {kModePlns, 4, 0, "MODE PLNS; DRIVE"},
    };
    for (const Case &c : cases) {
        int major = -1, minor = -1;
        ASSERT_TRUE(projDlgModeToToggles(c.mode, &major, &minor)) << c.sent;
        EXPECT_EQ(major, c.major) << c.sent;
        EXPECT_EQ(minor, c.minor) << c.sent;

        chart.mode = c.mode;
        ProjectionValues v{};
        kProjectionDialog.fill(&chart, appData, &v);
        for (int i = 0; i < kProjMajorCount; i++)
            EXPECT_EQ(v.major[i], i == c.major ? kToggleOn : kToggleOff) << c.sent << " major " << i;
        for (int i = 0; i < kProjMinorCount; i++)
            EXPECT_EQ(v.minor[i], i == c.minor ? kToggleOn : kToggleOff) << c.sent << " minor " << i;
        EXPECT_EQ(texts(okOf(kProjectionDialog, &v, chart)), std::vector<std::string>{c.sent});
    }
    int major = 7, minor = 7;
    EXPECT_FALSE(projDlgModeToToggles(0, &major, &minor)) << "no mode";
}

TEST_F(StepProjectionTest, ChoosingAChartKindFixesTheCoordinatesItCannotTake)
{
    struct Case {
        const char *what;
        int32_t startMode;
        const char *chosen; // the major toggle the user sets
        int minorAfter;
        bool hrzSensitive, eqtSensitive;
        const char *sent;
    } const cases[] = {
        {"solar system from horizontal: equatorial", kModeHrz, "ToggleMajorModeSol", 1, false, true,
         "MODE SOL1; DRIVE"},
        {"Aitoff keeps the ecliptic", kModeEcl, "ToggleMajorModeAll2", 2, false, true, "MODE ALL2_ECL; DRIVE"},
        {"planisphere forces horizontal", kModeGal, "ToggleMajorModePlns", 0, true, false, "MODE PLNS; DRIVE"},
        {"chart keeps the galactic of a map", kModeAll1Gal, "ToggleMajorModeGeneral", 3, true, true,
         "MODE GAL; DRIVE"},
        {"chart from the planisphere: horizontal", kModePlns, "ToggleMajorModeGeneral", 0, true, true,
         "MODE HRZ; DRIVE"},
    };
    for (const Case &c : cases) {
        chart.mode = c.startMode;
        ProjectionValues v{};
        kProjectionDialog.fill(&chart, appData, &v);
        for (ToggleValue &t : v.major)
            t = kToggleOff; // a radio box: the user's choice unsets the others
        v.major[dialogControlIndex(&kProjectionDialog, c.chosen) - dialogControlIndex(&kProjectionDialog,
                                                                                        "ToggleMajorModeGeneral")] =
            kToggleOn;
        act(kProjectionDialog, c.chosen, &v);
        for (int i = 0; i < kProjMinorCount; i++)
            EXPECT_EQ(v.minor[i], i == c.minorAfter ? kToggleOn : kToggleOff) << c.what << " minor " << i;
        EXPECT_EQ(sensitiveOf(kProjectionDialog, &v, "ToggleMinorModeHrz"), c.hrzSensitive) << c.what;
        EXPECT_EQ(sensitiveOf(kProjectionDialog, &v, "ToggleMinorModeEqt"), c.eqtSensitive) << c.what;
        EXPECT_EQ(texts(okOf(kProjectionDialog, &v, chart)), std::vector<std::string>{c.sent}) << c.what;
    }
}

TEST_F(StepProjectionTest, NoModeChosenSendsNothingAndSaysNothing)
{
    ProjectionValues v{};
    const DialogResult r = okOf(kProjectionDialog, &v, chart);
    EXPECT_FALSE(r.refused);
    EXPECT_TRUE(r.stayOpen);
    EXPECT_EQ(r.commandCount, 0);
}

TEST_F(StepProjectionTest, TimeStepShowsTheLastClockChoiceAndTheStep)
{
    struct Case {
        const char *what;
        int32_t realTimeMode, playKind;
        ToggleValue realTime, sysTime, setting;
    } const cases[] = {
        {"playing by period: System Clock, off", 0, kPlayByPeriod, kToggleOff, kToggleOn, kToggleOff},
        {"clock", 1, kPlayClock, kToggleOn, kToggleOn, kToggleOff},
        {"from the setting", 2, kPlayClockFromBase, kToggleOn, kToggleOff, kToggleOn},
        // Stopped after "Current Setting": playKind is back to 0 but the
        // choice is still the user's; reopening must not turn it into the
        // system clock.
        {"stopped after Current Setting", 2, kPlayByPeriod, kToggleOn, kToggleOff, kToggleOn},
    };
    for (const Case &c : cases) {
        chart.realTimeMode = c.realTimeMode;
        chart.playKind = c.playKind;
        chart.period = TimeStep{1, 2, 3, 4, 5, 6.5};
        TimeStepValues v{};
        kTimeStepDialog.fill(&chart, appData, &v);
        EXPECT_EQ(v.realTime, c.realTime) << c.what;
        EXPECT_EQ(v.sysTime, c.sysTime) << c.what;
        EXPECT_EQ(v.setting, c.setting) << c.what;
        EXPECT_STREQ(v.year, "1");
        EXPECT_STREQ(v.minute, "5");
        const bool realTime = c.realTime == kToggleOn;
        EXPECT_EQ(sensitiveOf(kTimeStepDialog, &v, "ToggleRTSysTime"), realTime) << c.what;
        EXPECT_EQ(sensitiveOf(kTimeStepDialog, &v, "EditDay"), !realTime) << c.what;
        EXPECT_EQ(sensitiveOf(kTimeStepDialog, &v, "ArrowMinDown"), !realTime) << c.what;
        EXPECT_EQ(sensitiveOf(kTimeStepDialog, &v, "LabelYear"), !realTime) << c.what;
    }
}

TEST_F(StepProjectionTest, TimeStepArrowsStopAtTheirBoundsWithoutCarrying)
{
    struct Case {
        const char *arrow;
        const char *before;
        const char *after;
    } const cases[] = {
        {"ArrowYearUp", "9999", "9999"}, {"ArrowYearUp", "9998", "9999"}, {"ArrowYearDown", "0", "0"},
        {"ArrowMinUp", "99", "99"},      {"ArrowMinUp", "59", "60"},      {"ArrowHourUp", "23", "24"},
        {"ArrowMonthDown", "0", "0"},    {"ArrowDayUp", "", "1"},         {"ArrowDayDown", "150", "99"},
    };
    for (const Case &c : cases) {
        TimeStepValues v{};
        kTimeStepDialog.fill(&chart, appData, &v);
        const std::string arrow = c.arrow;
        char *field = arrow.find("Year") != std::string::npos    ? v.year
                      : arrow.find("Month") != std::string::npos ? v.month
                      : arrow.find("Day") != std::string::npos   ? v.day
                      : arrow.find("Hour") != std::string::npos  ? v.hour
                                                                 : v.minute;
        const char minuteBefore[] = "7";
        std::snprintf(field, 5, "%s", c.before);
        if (field != v.minute)
            std::snprintf(v.minute, sizeof v.minute, "%s", minuteBefore);
        act(kTimeStepDialog, c.arrow, &v);
        EXPECT_STREQ(field, c.after) << c.arrow << " from " << c.before;
        if (field != v.minute) {
            EXPECT_STREQ(v.minute, minuteBefore) << c.arrow << ": no other field moves";
        }
    }
}

TEST_F(StepProjectionTest, TimeStepOkSendsPlayingOrTheStepAndRefusesAZeroStep)
{
    struct Case {
        const char *what;
        ToggleValue realTime, setting;
        const char *fields[kTimeStepFieldCount];
        std::vector<std::string> sent;
        const char *refusal;
    } const cases[] = {
        {"a day", kToggleOff, kToggleOff, {"0", "0", "1", "0", "0"}, {"REALTIME 0", "PERIOD 0,0,1,0,0,0.000000"}, ""},
        {"every field", kToggleOff, kToggleOff, {"9999", "12", "99", "23", "99"},
         {"REALTIME 0", "PERIOD 9999,12,99,23,99,0.000000"}, ""},
        {"all zero", kToggleOff, kToggleOff, {"0", "0", "0", "0", "0"}, {}, "messageInvalidTimeStep"},
        {"empty fields read as zero", kToggleOff, kToggleOff, {"", "", "", "", ""}, {}, "messageInvalidTimeStep"},
        {"system clock", kToggleOn, kToggleOff, {"0", "0", "0", "0", "0"}, {"REALTIME 1,1,5"}, ""},
        {"current setting", kToggleOn, kToggleOn, {"0", "0", "1", "0", "0"}, {"REALTIME 2,1,5"}, ""},
    };
    for (const Case &c : cases) {
        TimeStepValues v{};
        v.realTime = c.realTime;
        v.setting = c.setting;
        v.sysTime = c.setting == kToggleOn ? kToggleOff : kToggleOn;
        char *fields[] = {v.year, v.month, v.day, v.hour, v.minute};
        for (int i = 0; i < kTimeStepFieldCount; i++)
            std::snprintf(fields[i], 4, "%s", c.fields[i]);
        if (c.fields[0][0] != '\0')
            std::snprintf(v.year, sizeof v.year, "%s", c.fields[0]);
        const DialogResult r = okOf(kTimeStepDialog, &v, chart);
        EXPECT_EQ(texts(r), c.sent) << c.what;
        EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
    }
}

} // namespace
