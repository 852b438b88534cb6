// The Date dialog without X, in its three layouts: the chart's date shown and
// read back, the arrows, the lock, Now on an injected clock, and the texts of
// OK or its refusals.
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/time_lock.h"
#include "ui/dialogs/date_dialog.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> texts(const DialogResult &r)
{
    return std::vector<std::string>(r.commands, r.commands + r.commandCount);
}

struct Layout {
    const char *name;
    int dateStyle;
};
const Layout kLayouts[] = {{"English", 0}, {"Japanese", 1}, {"European", 2}};

struct DateDialogTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
    void SetUp() override
    {
        setDate(2003, 7, 14, 21, 30, 9.0);
    }
    void setDate(int y, int mo, int d, int h, int mi, double zone, double second = 0.0)
    {
        const DateTime date{y, mo, d, h, mi, second, zone};
        chartSetDate(&chart, &date);
    }
    DateDialogValues filled(const DialogSpec &spec)
    {
        DateDialogValues v{};
        spec.fill(&chart, appData, &v);
        return v;
    }
    DialogResult ok(const DialogSpec &spec, const DateDialogValues &v)
    {
        DialogResult r;
        dialogResultClear(&r);
        DateDialogValues record = v;
        spec.ok(&record, &chart, appData, &r);
        return r;
    }
    void act(const DialogSpec &spec, const char *control, DateDialogValues *v)
    {
        const int row = dialogControlIndex(&spec, control);
        ASSERT_GE(row, 0) << control;
        spec.changed(v, row);
    }
};

TEST_F(DateDialogTest, TablesAreSoundAndChosenByDateStyle)
{
    char why[256];
    for (const Layout &l : kLayouts) {
        const DialogSpec *spec = dateDialogLayout(l.dateStyle);
        EXPECT_TRUE(dialogSpecCheck(spec, why, sizeof why)) << l.name << ": " << why;
        EXPECT_STREQ(spec->name, "DateDialog");
    }
    EXPECT_EQ(dateDialogLayout(1), &kDateDialogJapanese);
    EXPECT_EQ(dateDialogLayout(2), &kDateDialogEuropean);
    EXPECT_EQ(dateDialogLayout(7), &kDateDialogEnglish);
    // The forms stand in the layout's order.
    EXPECT_LT(dialogControlIndex(&kDateDialogJapanese, "EditYear"), dialogControlIndex(&kDateDialogJapanese, "EditDay"));
    EXPECT_LT(dialogControlIndex(&kDateDialogEuropean, "EditDay"), dialogControlIndex(&kDateDialogEuropean, "EditYear"));
    EXPECT_LT(dialogControlIndex(&kDateDialogEnglish, "MonthMenu"), dialogControlIndex(&kDateDialogEnglish, "EditDay"));
    EXPECT_EQ(dialogControlIndex(&kDateDialogEnglish, "EditMonth"), -1) << "the English month is a menu";
}

TEST_F(DateDialogTest, EachLayoutReadsBackWhatItFilledWithZeroSecondsAndTheChartsZone)
{
    setDate(2003, 7, 14, 21, 30, 9.0, 42.5);
    for (const Layout &l : kLayouts) {
        const DialogSpec &spec = *dateDialogLayout(l.dateStyle);
        const DateDialogValues v = filled(spec);
        EXPECT_EQ(texts(ok(spec, v)),
                  (std::vector<std::string>{"DATE 2003,7,14,21,30,0.000000,9.000000", "STIME NONE", "DRIVE"}))
            << l.name;
    }
}

TEST_F(DateDialogTest, FieldsTypedAsAUserWouldBecomeTheDateOrTheRefusal)
{
    struct Case {
        const char *what;
        const char *year, *day, *hour, *minute;
        int month;
        const char *sent; // empty: refused with messageInputValidDate
    } const cases[] = {
        {"a plain date", "1999", "31", "0", "0", 12, "DATE 1999,12,31,0,0,0.000000,9.000000"},
        {"hour 36 passes", "2003", "14", "36", "60", 7, "DATE 2003,7,14,36,60,0.000000,9.000000"},
        {"1900 was no leap year", "1900", "29", "12", "0", 2, ""},
        {"2000 was", "2000", "29", "12", "0", 2, "DATE 2000,2,29,12,0,0.000000,9.000000"},
        {"Julian 1500 was", "1500", "29", "12", "0", 2, "DATE 1500,2,29,12,0,0.000000,9.000000"},
        {"the days dropped in 1582", "1582", "10", "12", "0", 10, ""},
        {"the day after them", "1582", "15", "12", "0", 10, "DATE 1582,10,15,12,0,0.000000,9.000000"},
        {"31 April", "2003", "31", "0", "0", 4, ""},
        {"hour 37", "2003", "1", "37", "0", 1, ""},
        {"minute 61", "2003", "1", "0", "61", 1, ""},
        {"empty day", "2003", "", "0", "0", 1, ""},
        {"negative year", "-999", "1", "0", "0", 1, "DATE -999,1,1,0,0,0.000000,9.000000"},
    };
    for (const Layout &l : kLayouts) {
        const DialogSpec &spec = *dateDialogLayout(l.dateStyle);
        for (const Case &c : cases) {
            DateDialogValues v = filled(spec);
            std::snprintf(v.year, sizeof v.year, "%s", c.year);
            std::snprintf(v.day, sizeof v.day, "%s", c.day);
            std::snprintf(v.hour, sizeof v.hour, "%s", c.hour);
            std::snprintf(v.minute, sizeof v.minute, "%s", c.minute);
            std::snprintf(v.month, sizeof v.month, "%d", c.month);
            v.monthChoice = c.month;
            const DialogResult r = ok(spec, v);
            if (c.sent[0]) {
                ASSERT_EQ(r.commandCount, 3) << l.name << ": " << c.what << " " << r.messageResource;
                EXPECT_STREQ(r.commands[0], c.sent) << l.name << ": " << c.what;
            } else {
                EXPECT_TRUE(r.refused) << l.name << ": " << c.what;
                EXPECT_STREQ(r.messageResource, "messageInputValidDate") << l.name << ": " << c.what;
                EXPECT_EQ(r.commandCount, 0) << l.name << ": " << c.what;
            }
        }
    }
}

TEST_F(DateDialogTest, TheLockBecomesOneStimeTextOrItsRefusal)
{
    struct Case {
        const char *what;
        ToggleValue on, before, rise;
        const char *minutes;
        const char *sent; // empty: refused with messageLockTimeMinimum
    } const cases[] = {
        {"30 minutes before sunset", kToggleOn, kToggleOn, kToggleOff, "30", "STIME SUNSET -30MIN"},
        {"at sunrise itself", kToggleOn, kToggleOff, kToggleOn, "0", "STIME SUNRISE +0MIN"},
        {"90 is the most", kToggleOn, kToggleOff, kToggleOff, "90", "STIME SUNSET +90MIN"},
        {"91 is too many", kToggleOn, kToggleOff, kToggleOff, "91", ""},
        {"empty minutes", kToggleOn, kToggleOn, kToggleOn, "", ""},
        {"negative minutes", kToggleOn, kToggleOn, kToggleOn, "-5", ""},
        {"off", kToggleOff, kToggleOn, kToggleOn, "91", "STIME NONE"},
    };
    for (const Case &c : cases) {
        DateDialogValues v = filled(kDateDialogJapanese);
        v.stime = c.on;
        v.before = c.before;
        v.after = c.before == kToggleOn ? kToggleOff : kToggleOn;
        v.rise = c.rise;
        v.set = c.rise == kToggleOn ? kToggleOff : kToggleOn;
        std::snprintf(v.stimeMin, sizeof v.stimeMin, "%s", c.minutes);
        const DialogResult r = ok(kDateDialogJapanese, v);
        if (c.sent[0]) {
            EXPECT_EQ(texts(r), (std::vector<std::string>{"DATE 2003,7,14,21,30,0.000000,9.000000", c.sent, "DRIVE"}))
                << c.what;
        } else {
            EXPECT_STREQ(r.messageResource, "messageLockTimeMinimum") << c.what;
            EXPECT_EQ(r.commandCount, 0) << c.what;
        }
    }
    // 91 cannot be typed into the two-character field; the check still holds
    // for the text it reads.
    DateDialogValues v = filled(kDateDialogJapanese);
    DialogResult r;
    dialogResultClear(&r);
    std::snprintf(v.stimeMin, sizeof v.stimeMin, "91");
    v.stime = kToggleOn;
    std::snprintf(v.day, sizeof v.day, "40");
    r = ok(kDateDialogJapanese, v);
    EXPECT_STREQ(r.messageResource, "messageInputValidDate") << "a bad date is reported before a bad lock";
}

TEST_F(DateDialogTest, TheLockShownFollowsTheChartsKindAndSign)
{
    struct Case {
        const char *what;
        int kind, value;
        ToggleValue on, rise, set, before, after;
        const char *minutes;
        bool editable;
        const char *sent; // OK with the lock as shown
    } const cases[] = {
        {"none", kTimeLockNone, 0, kToggleOff, kToggleOff, kToggleOn, kToggleOff, kToggleOn, "0", false,
         "STIME NONE"},
        {"20 before sunrise", kTimeLockSunriseMinutes, -20, kToggleOn, kToggleOn, kToggleOff, kToggleOn, kToggleOff,
         "20", true, "STIME SUNRISE -20MIN"},
        {"45 after sunset", kTimeLockSunsetMinutes, 45, kToggleOn, kToggleOff, kToggleOn, kToggleOff, kToggleOn,
         "45", true, "STIME SUNSET +45MIN"},
        // An altitude lock cannot be shown: it shows as off and, left off,
        // is removed, so that the date typed is the chart's.
        {"Sun at -12 degrees", kTimeLockSunsetDegrees, -12, kToggleOff, kToggleOff, kToggleOn, kToggleOn,
         kToggleOff, "12", false, "STIME NONE"},
        {"Sun at 5 degrees rising", kTimeLockSunriseDegrees, 5, kToggleOff, kToggleOff, kToggleOn, kToggleOff,
         kToggleOn, "5", false, "STIME NONE"},
    };
    for (const Case &c : cases) {
        chart.timeLockKind = c.kind;
        chart.timeLockValue = c.value;
        const DateDialogValues v = filled(kDateDialogEuropean);
        EXPECT_EQ(v.stime, c.on) << c.what;
        EXPECT_EQ(v.rise, c.rise) << c.what;
        EXPECT_EQ(v.set, c.set) << c.what;
        EXPECT_EQ(v.before, c.before) << c.what;
        EXPECT_EQ(v.after, c.after) << c.what;
        EXPECT_STREQ(v.stimeMin, c.minutes) << c.what;
        std::vector<uint8_t> sensitive(static_cast<size_t>(kDateDialogEuropean.controlCount), 1);
        kDateDialogEuropean.sensitivity(&v, sensitive.data());
        for (const char *lockWidget : {"EditStimeMin", "LabelStimeMin", "ToggleBefore", "ToggleAfter", "ToggleRise",
                                       "ToggleSet"})
            EXPECT_EQ(sensitive[static_cast<size_t>(dialogControlIndex(&kDateDialogEuropean, lockWidget))] != 0,
                      c.editable)
                << c.what << " " << lockWidget;
        EXPECT_TRUE(sensitive[static_cast<size_t>(dialogControlIndex(&kDateDialogEuropean, "ToggleStime"))]);
        EXPECT_EQ(texts(ok(kDateDialogEuropean, v)),
                  (std::vector<std::string>{"DATE 2003,7,14,21,30,0.000000,9.000000", c.sent, "DRIVE"}))
            << c.what;
    }
}

TEST_F(DateDialogTest, ArrowsStopAtTheFieldsBoundsWithoutCarrying)
{
    struct Case {
        const char *arrow;
        const char *before, *after;
    } const cases[] = {
        {"ArrowYearDown", "-999", "-999"}, {"ArrowYearUp", "9999", "9999"}, {"ArrowYearUp", "-1", "0"},
        {"ArrowMinUp", "59", "59"},        {"ArrowMinDown", "0", "0"},      {"ArrowHourUp", "23", "23"},
        {"ArrowDayUp", "40", "31"},        {"ArrowDayDown", "40", "31"},    {"ArrowDayDown", "1", "1"},
        {"ArrowMonthUp", "12", "12"},      {"ArrowMonthDown", "", "1"},     {"ArrowHourUp", "30", "23"},
    };
    for (const Case &c : cases) {
        DateDialogValues v = filled(kDateDialogJapanese);
        const std::string arrow = c.arrow;
        char *field = arrow.find("Year") != std::string::npos    ? v.year
                      : arrow.find("Month") != std::string::npos ? v.month
                      : arrow.find("Day") != std::string::npos   ? v.day
                      : arrow.find("Hour") != std::string::npos  ? v.hour
                                                                 : v.minute;
        std::snprintf(field, 3, "%s", c.before);
        if (field == v.year)
            std::snprintf(v.year, sizeof v.year, "%s", c.before);
        const DateDialogValues untouched = v;
        act(kDateDialogJapanese, c.arrow, &v);
        EXPECT_STREQ(field, c.after) << c.arrow << " from " << c.before;
        if (field != v.hour) {
            EXPECT_STREQ(v.hour, untouched.hour) << c.arrow << ": no carry into the hour";
        }
        if (field != v.day) {
            EXPECT_STREQ(v.day, untouched.day) << c.arrow << ": no carry into the day";
        }
    }
}

// The clock reads 2003-07-14 12:40:00 UT (1058186400 seconds since the
// epoch). With the machine's zone and the default site's zone at 0 and the
// chart at +9, Now must show 21:40 on the 14th: the zone OK sends.
std::time_t fixedClock() { return 1058186400; }

TEST_F(DateDialogTest, NowShowsTheClocksInstantInTheChartsZoneAndKeepsTheLock)
{
    const char *savedTz = std::getenv("TZ");
    const std::string tzBefore = savedTz ? savedTz : "";
    setenv("TZ", "UTC0", 1);
    tzset();
    setClockSource(fixedClock);
    appData->siteZoneHours = 0.0;
    setDate(1990, 1, 2, 3, 4, 9.0);
    chart.timeLockKind = kTimeLockSunsetMinutes;
    chart.timeLockValue = -30;
    for (const Layout &l : kLayouts) {
        const DialogSpec &spec = *dateDialogLayout(l.dateStyle);
        DateDialogValues v = filled(spec);
        std::snprintf(v.stimeMin, sizeof v.stimeMin, "15");
        act(spec, "ButtonNow", &v);
        EXPECT_STREQ(v.stimeMin, "15") << l.name << ": Now leaves the lock";
        EXPECT_EQ(texts(ok(spec, v)),
                  (std::vector<std::string>{"DATE 2003,7,14,21,40,0.000000,9.000000", "STIME SUNSET -15MIN", "DRIVE"}))
            << l.name;
    }
    setClockSource(nullptr);
    if (savedTz)
        setenv("TZ", tzBefore.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST_F(DateDialogTest, EnglishMonthComesFromTheMenu)
{
    DateDialogValues v = filled(kDateDialogEnglish);
    EXPECT_EQ(v.monthChoice, 7);
    v.monthChoice = 2;
    std::snprintf(v.month, sizeof v.month, "9"); // not shown in this layout
    EXPECT_STREQ(texts(ok(kDateDialogEnglish, v))[0].c_str(), "DATE 2003,2,14,21,30,0.000000,9.000000");
    std::snprintf(v.day, sizeof v.day, "30");
    EXPECT_STREQ(ok(kDateDialogEnglish, v).messageResource, "messageInputValidDate") << "30 February";
}

TEST_F(DateDialogTest, AYearOfFiveFiguresIsShownWhole)
{
    // The chart holds years from -29999 to 30000; a field cut to four
    // characters would send another year unasked.
    setDate(-12000, 3, 1, 0, 0, 0.0);
    const DateDialogValues v = filled(kDateDialogJapanese);
    EXPECT_STREQ(v.year, "-12000");
    EXPECT_STREQ(texts(ok(kDateDialogJapanese, v))[0].c_str(), "DATE -12000,3,1,0,0,0.000000,0.000000");
}

} // namespace
