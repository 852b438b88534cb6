// The click-data dialog's buttons as command texts, run through the real
// interpreter so the tracking state moves as it does in the program.
#include "ui/dialogs/click_data_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> sent;
int buttonRefreshes = 0;

void recordAndRun(ChartState *chart, const char *text)
{
    sent.emplace_back(text);
    if (std::string(text) != "DRIVE") // no window to draw on
        stkExecute(chart, text);
}

class ClickDataButtons : public ::testing::Test {
protected:
    TestChart chart;
    void SetUp() override
    {
        chartSetSite(chart.get(), 51.4779, 0.0, 0.0);
        const DateTime date{2026, 1, 15, 22, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
        sent.clear();
        buttonRefreshes = 0;
        uiHooksReset();
        uiHooks.updateClickDataButtons = [](ChartState *) { ++buttonRefreshes; };
        stkExecuteCall = recordAndRun;
    }
    void TearDown() override
    {
        stkExecuteCall = stkExecute;
        uiHooksReset();
    }
    void press(int button)
    {
        ClickDataPlan plan;
        if (clickDataButtonPlan(chart.get(), button, &plan))
            clickDataRunPlan(chart.get(), &plan);
    }
};

TEST_F(ClickDataButtons, TrackTwiceStartsThenStopsTracking)
{
    chart->hitKind = kPosStar;
    chart->hitIndex = starNamed("Betelgeuse");
    press(kClickDataTrack);
    EXPECT_EQ(chart->trackState, 2);
    EXPECT_EQ(clickDataPickIsTracked(chart.get()), 1);
    press(kClickDataTrack);
    EXPECT_EQ(chart->trackState, 0);
    EXPECT_EQ(clickDataPickIsTracked(chart.get()), 0);
    const std::vector<std::string> expected = {"TRACK STAR alphaOri", "DRIVE", "TRACK OFF", "DRIVE"};
    EXPECT_EQ(sent, expected);
    EXPECT_GE(buttonRefreshes, 2);
}

TEST_F(ClickDataButtons, TrackingAnotherObjectMovesTheTrackToThePick)
{
    chart->hitKind = kPosBody;
    chart->hitIndex = 3;
    press(kClickDataTrack);
    chart->hitKind = kPosStar;
    chart->hitIndex = starNamed("Betelgeuse");
    sent.clear();
    press(kClickDataTrack);
    const std::vector<std::string> expected = {"TRACK OFF", "TRACK STAR alphaOri", "DRIVE"};
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(chart->trackState, 2);
    EXPECT_EQ(chart->trackKind & ~kTrackKindLockBit, kPosStar);
    EXPECT_EQ(chart->trackIndex, starNamed("Betelgeuse"));
}

TEST_F(ClickDataButtons, BlinkAndCenterNameThePick)
{
    chart->hitKind = kPosStar;
    chart->hitIndex = starNamed("Betelgeuse");
    press(kClickDataBlink);
    press(kClickDataCenter);
    const std::vector<std::string> expected = {"BLINK STAR alphaOri", "LOOK STAR alphaOri", "DRIVE"};
    EXPECT_EQ(sent, expected);
    // While tracking, Center stops the track first.
    chart->hitKind = kPosBody;
    chart->hitIndex = 3;
    press(kClickDataTrack);
    sent.clear();
    press(kClickDataCenter);
    const std::vector<std::string> centre = {"TRACK", "LOOK JUPITER", "DRIVE"};
    EXPECT_EQ(sent, centre);
    EXPECT_EQ(chart->trackState, 1);
}

TEST_F(ClickDataButtons, APickThatNamesNothingSendsNothing)
{
    struct Case {
        int32_t kind, index;
    } cases[] = {{-1, 0}, {kPosBody, kObjectCometBase + 4}, {kPosStar, 99999}, {kPosUserObject, 0}};
    for (const Case &c : cases) {
        chart->hitKind = c.kind;
        chart->hitIndex = c.index;
        for (int b = 0; b < kClickDataButtonCount; ++b) {
            ClickDataPlan plan;
            EXPECT_EQ(clickDataButtonPlan(chart.get(), b, &plan), 0) << c.kind << " " << c.index << " " << b;
        }
    }
    EXPECT_TRUE(sent.empty());
}

} // namespace
