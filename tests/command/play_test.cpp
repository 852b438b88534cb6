// Playing on a fixed clock: steps by the period up to an end date, the clock
// kinds, stops and the hooks the event loop sees.
#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "command/interpreter.h"
#include "command/play.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/ui_hooks.h"
#include "render/surface.h"
#include "tests/support/test_chart.h"

namespace {

std::time_t fakeNow = 946684800; // 2000-01-01 00:00:00 UT
std::time_t readFakeClock() { return fakeNow; }

std::vector<std::string> frames;    // the chart date of every refresh, "Y-M-D h:m:s"
std::vector<std::string> events;    // work procedure, timer and tool-bar calls
int toolbarCalls = 0;

std::string dateText(const DateTime &d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02.0f", d.year, d.month, d.day, d.hour, d.minute,
                  d.second);
    return text;
}

// DRIVE refreshes the chart directly: a window that records the chart's
// date when a refresh with a redraw pending asks for its size, and, having
// none, lets it draw nothing.
ChartState *surfaceChart = nullptr;
struct RecordingSurface : ChartSurface {
    bool windowSize(int *, int *) override
    {
        if (surfaceChart && surfaceChart->redrawNeeded)
            frames.push_back(dateText(surfaceChart->sky.date));
        return false;
    }
    void recreate(int, int) override {}
    Canvas *canvas() override { return nullptr; }
    void copyToWindow(int, int) override {}
};
RecordingSurface recordingSurface;

class Play : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData->siteZoneHours = 0;
        uiHooksRecordMessages();
        setClockSource(readFakeClock);
        fakeNow = 946684800;
        frames.clear();
        events.clear();
        toolbarCalls = 0;
        surfaceChart = chart;
        chartSetSurface(&recordingSurface);
        uiHooks.chartRefresh = [](ChartState *c) {
            if (c->redrawNeeded)
                frames.push_back(dateText(c->sky.date));
        };
        uiHooks.toolbarRefreshOne = [](ChartState *, int, int, int) { toolbarCalls++; };
        uiHooks.setPlayWorkProc = [](ChartState *c, int on) {
            c->playWorkProc = on;
            events.push_back(on ? "work on" : "work off");
        };
        uiHooks.setPlayTimer = [](ChartState *c, long long ms) {
            c->playTimerId = ms >= 0;
            events.push_back(ms >= 0 ? "timer " + std::to_string(ms) : "timer off");
        };
    }
    void TearDown() override
    {
        setClockSource(nullptr);
        chartSetSurface(nullptr);
        surfaceChart = nullptr;
        uiHooksReset();
    }
    void setDate(int y, int mo, int d, int h, int mi, double s)
    {
        DateTime date{y, mo, d, h, mi, s, 0.0};
        chartSetDate(chart, &date);
    }
    // Runs the work procedure as the event loop would, at most limit times.
    int runWorkProc(int limit)
    {
        int steps = 0;
        while (chart->playWorkProc && steps < limit) {
            steps++;
            if (playStep(chart))
                break;
        }
        return steps;
    }
    TestChart owner;
    ChartState *chart = owner.get();
};

TEST_F(Play, PeriodPlayStopsOnTheEndDateAndDrawsIt)
{
    setDate(1999, 12, 31, 23, 50, 0);
    chart->period = TimeStep{0, 0, 0, 0, 3, 0};
    stkExecute(chart, "CONTINUE 2000,1,1,0,0,0");
    EXPECT_EQ(1, chart->playing);
    EXPECT_EQ(4, runWorkProc(100));
    const std::vector<std::string> expected = {"1999-12-31 23:53:00", "1999-12-31 23:56:00",
                                               "1999-12-31 23:59:00", "2000-01-01 00:00:00"};
    EXPECT_EQ(expected, frames);
    EXPECT_EQ(0, chart->playing);
    EXPECT_EQ(0u, chart->playWorkProc);
    EXPECT_EQ(0, uiHooksRecordedMessageCount());
}

TEST_F(Play, ReversePlayLandsOnItsEndDate)
{
    setDate(2000, 1, 1, 0, 0, 0);
    chart->period = TimeStep{0, 0, 1, 0, 0, 0};
    stkExecute(chart, "REVERSE 1999,12,31");
    EXPECT_EQ(1, runWorkProc(100));
    EXPECT_EQ(std::vector<std::string>{"1999-12-31 00:00:00"}, frames);
    EXPECT_EQ(0, chart->playing);
}

TEST_F(Play, TheClockFromABaseAddsTheElapsedTime)
{
    setDate(1990, 6, 1, 12, 0, 0);
    chart->realTimeImmediate = 0;
    stkExecute(chart, "CONTINUE REALTIME2");
    ASSERT_EQ(1, chart->playing);
    fakeNow += 60;
    EXPECT_EQ(0, playStep(chart));
    EXPECT_EQ("1990-06-01 12:01:00", dateText(chart->sky.date));
    fakeNow += 3600;
    EXPECT_EQ(0, playStep(chart));
    EXPECT_EQ("1990-06-01 13:01:00", dateText(chart->sky.date));
    // A date set meanwhile is the new base.
    stkExecute(chart, "DATE 2010,1,1,0,0,0");
    ASSERT_STREQ("", appData->errorId);
    fakeNow += 30;
    EXPECT_EQ(0, playStep(chart));
    EXPECT_EQ("2010-01-01 00:00:30", dateText(chart->sky.date));
}

// End dates whose Julian dates are not exact in binary: a date turned back
// from the Julian date landed microseconds early and showed the minute
// before. The step that reaches the end sets the end date's own fields.
TEST_F(Play, PlayingToAnEndDateSetsThatDatesOwnFields)
{
    const struct {
        const char *start, *period, *command;
        int endYear, endMonth, endDay, endHour, endMinute;
        double zone;
    } cases[] = {
        {"DATE 2000,1,1,0,0,0,0", "PERIOD 0,0,0,0,0,1.5", "CONTINUE 2000,1,1,0,5,0", 2000, 1, 1, 0, 5, 0},
        {"DATE 2000,1,1,0,0,0,0", "PERIOD 0,0,0,0,0,1.5", "CONTINUE 2000,1,1,0,7,0", 2000, 1, 1, 0, 7, 0},
        {"DATE 2000,1,1,0,0,0,0", "PERIOD 0,0,0,0,0,1.5", "CONTINUE 2000,1,1,0,13,0", 2000, 1, 1, 0, 13, 0},
        {"DATE 2000,1,1,0,0,0,0", "PERIOD 0,0,0,0,0,7", "CONTINUE 2000,1,1,0,11", 2000, 1, 1, 0, 11, 0},
        {"DATE 2024,6,30,23,50,0,9", "PERIOD 0,0,0,0,1,10", "CONTINUE 2024,7,1,0,9,0", 2024, 7, 1, 0, 9, 9},
        {"DATE 2000,1,1,0,10,0,0", "PERIOD 0,0,0,0,0,1.5", "REVERSE 2000,1,1,0,1,0", 2000, 1, 1, 0, 1, 0},
        {"DATE 1999,12,31,23,59,0,-5", "PERIOD 0,0,0,0,0,0.1", "CONTINUE 2000,1,1,0,0,0", 2000, 1, 1, 0, 0, -5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        stkExecute(chart, c.start);
        stkExecute(chart, c.period);
        frames.clear();
        stkExecute(chart, c.command);
        ASSERT_EQ(1, chart->playing);
        runWorkProc(100000);
        ASSERT_EQ(0, chart->playing);
        const DateTime &d = chart->sky.date;
        EXPECT_EQ(c.endYear, d.year);
        EXPECT_EQ(c.endMonth, d.month);
        EXPECT_EQ(c.endDay, d.day);
        EXPECT_EQ(c.endHour, d.hour);
        EXPECT_EQ(c.endMinute, d.minute);
        EXPECT_EQ(0.0, d.second);
        EXPECT_EQ(c.zone, d.zone);
        ASSERT_FALSE(frames.empty());
        char last[64];
        std::snprintf(last, sizeof last, "%d-%02d-%02d %02d:%02d:00", c.endYear, c.endMonth, c.endDay, c.endHour,
                      c.endMinute);
        EXPECT_EQ(last, frames.back()) << "the end date is the last frame";
    }
}

// Playing by the clock from a base while the chart's clock changes zone:
// the instant goes on with the fake clock, read in the new zone. The base
// was left in the old zone, so the next steps jumped by the difference.
TEST_F(Play, ClockPlayFromABaseGoesOnAcrossAZoneChange)
{
    const struct {
        const char *command;
        double zone; // of the chart's date after it
    } cases[] = {
        {"TIMESYS UT", 0.0},
        {"TIMESYS LMT", 140.0 / 15.0},
        {"LOCATE ,,5", 5.0},
        {"LOCATE 10E", 9.0}, // in LST the zone stays
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.command);
        stkExecute(chart, "TIMESYS LST");
        stkExecute(chart, "LOCATE 140E,35N,9");
        stkExecute(chart, "DATE 1990,6,1,12,0,0,9");
        const double startJd = dateToJd(&chart->sky.date);
        chart->realTimeImmediate = 0;
        stkExecute(chart, "CONTINUE REALTIME2");
        ASSERT_EQ(1, chart->playing);
        fakeNow += 60;
        EXPECT_EQ(0, playStep(chart));
        fakeNow += 30; // no step between: the time since the last frame counts too
        stkExecute(chart, c.command);
        ASSERT_STREQ("", appData->errorId);
        for (int seconds : {120, 180}) {
            fakeNow += seconds == 120 ? 30 : 60;
            EXPECT_EQ(0, playStep(chart));
            EXPECT_NEAR(startJd + seconds / 86400.0, dateToJd(&chart->sky.date), 1e-3 / 86400.0) << seconds;
            EXPECT_EQ(c.zone, chart->sky.date.zone) << seconds;
        }
        stkExecute(chart, "CONTINUE");
    }
}

TEST_F(Play, ClockKindsWithImmediateSetRunOnTheTimer)
{
    setDate(1990, 6, 1, 12, 0, 0);
    stkExecute(chart, "REALTIME 2,1,7");
    stkExecute(chart, "CONTINUE");
    // The first step at once, then the timer re-armed in milliseconds.
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ("1990-06-01 12:00:00", frames[0]);
    EXPECT_EQ(std::vector<std::string>{"timer 7000"}, events);
    fakeNow += 7;
    playTimer(chart);
    EXPECT_EQ("1990-06-01 12:00:07", frames.back());
    // REALTIME while playing stops and starts again with the new interval.
    events.clear();
    stkExecute(chart, "REALTIME 2,1,0");
    const std::vector<std::string> restarted = {"timer off", "timer 0"};
    EXPECT_EQ(restarted, events);
    EXPECT_EQ(1, chart->playing);
}

TEST_F(Play, ALongIntervalDoesNotWrap)
{
    setDate(1990, 6, 1, 12, 0, 0);
    stkExecute(chart, "REALTIME 1,1,3000000");
    stkExecute(chart, "CONTINUE");
    EXPECT_EQ(std::vector<std::string>{"timer 3000000000"}, events);
}

TEST_F(Play, StartsAndStops)
{
    setDate(2000, 1, 1, 0, 0, 0);
    const struct {
        const char *text;
        int playingAfter;
        const char *error;
    } cases[] = {
        {"CONTINUE", 1, ""},
        {"CONTINUE", 0, ""},
        {"CONTINUE ,,,,", 1, ""},         // as a bare CONTINUE
        {"CONTINUE X", 0, "stkErrorIllegalParam"}, // stops, and X is still no date
        {"CONTINUE X", 0, "stkErrorIllegalParam"}, // a refused start stays stopped
        {"REVERSE ,,,,", 1, ""},
        {"INIT", 0, ""},
    };
    int expectedToolbar = 0;
    for (const auto &c : cases) {
        stkExecute(chart, c.text);
        expectedToolbar += 3;
        if (std::strcmp(c.text, "INIT") != 0) {
            EXPECT_STREQ(c.error, appData->errorId) << c.text;
        }
        EXPECT_EQ(c.playingAfter, chart->playing) << c.text;
        EXPECT_EQ(static_cast<unsigned long>(c.playingAfter), chart->playWorkProc) << c.text;
        EXPECT_EQ(expectedToolbar, toolbarCalls) << c.text;
    }
    // The two refusals of X; INIT may add its own note about the site.
    ASSERT_LE(2, uiHooksRecordedMessageCount());
    EXPECT_STREQ("CONTINUE: Illegal Parameter: X", uiHooksRecordedMessageText(0));
    EXPECT_STREQ("CONTINUE: Illegal Parameter: X", uiHooksRecordedMessageText(1));
    EXPECT_EQ(0, chart->playReverse); // INIT's defaults
}

TEST_F(Play, AStepPastTheYearRangeStopsWithAWarning)
{
    setDate(30000, 12, 31, 0, 0, 0);
    chart->period = TimeStep{0, 0, 1, 0, 0, 0};
    stkExecute(chart, "CONTINUE");
    EXPECT_EQ(1, runWorkProc(10));
    EXPECT_EQ(0, chart->playing);
    EXPECT_TRUE(frames.empty());
    ASSERT_EQ(1, uiHooksRecordedMessageCount());
    EXPECT_STREQ("Out of date limit, stopped playing.", uiHooksRecordedMessageText(0));
    EXPECT_EQ(kMessageBoxWarning, uiHooksRecordedMessageType(0));
}

} // namespace
