// MAG, INCMAG and DECMAG with hostile values in every parameter, each
// followed by a frame: no overflow (the sanitised build aborts on one), each
// refused or clamped, and every limit readable and in range afterwards.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/commands.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/star_limit.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "render/surface.h"
#include "tests/support/test_chart.h"

namespace {

// A window without X: the frame draws into a recording canvas.
struct FakeSurface : ChartSurface {
    RecordingCanvas drawn;
    bool made = false;
    bool windowSize(int *w, int *h) override
    {
        *w = 320;
        *h = 240;
        return true;
    }
    void recreate(int, int) override { made = true; }
    Canvas *canvas() override
    {
        drawn.clear(); // keep only the last frame's calls
        return made ? &drawn : nullptr;
    }
    void copyToWindow(int, int) override {}
    int image(int, int, ChartImage *) override { return 0; }
};

class HostileLimits : public ::testing::Test {
protected:
    void SetUp() override
    {
        uiHooksRecordMessages();
        chartSetSurface(&surface);
        appData->commandFromSocket = 1; // keep the message, show no box
        appData->initialising = 0;
        fresh();
    }
    void TearDown() override
    {
        chartSetSurface(nullptr);
        appData->commandFromSocket = 0;
        uiHooksReset();
    }
    void fresh()
    {
        owner.reset();
        const DateTime date{2024, 3, 20, 22, 0, 0.0, 0.0};
        chartSetSite(&chart, 50.0, 10.0, 0.0);
        chartSetDate(&chart, &date);
        stkClearError();
    }
    void frame() { stkExecute(&chart, "DRIVE"); }
    // Every limit inside the one range, the offset inside its span.
    void expectLimitsInRange(const std::string &name)
    {
        const int32_t span = kLimitTenthsMax - kLimitTenthsMin;
        for (int32_t v : {chart.starLimit, chart.fixedLimit, chart.starNameLimit, chart.nebulaMin,
                          chart.nebulaMax}) {
            EXPECT_GE(v, kLimitTenthsMin) << name;
            EXPECT_LE(v, kLimitTenthsMax) << name;
        }
        EXPECT_LE(chart.starLimit, chart.catalogLimit) << name;
        EXPECT_GE(chart.starLimitSet, -span) << name;
        EXPECT_LE(chart.starLimitSet, span) << name;
        const std::string error = appData->errorId;
        EXPECT_TRUE(error.empty() || error == "stkErrorIllegalParam") << name << ": " << error;
    }

    TestChart owner;
    ChartState &chart = *owner;
    FakeSurface surface;
};

// The command texts found to overflow, each run and then drawn.
TEST_F(HostileLimits, ReportedCommandsClampAndTheNextFramesStayInRange)
{
    struct Case {
        const char *text;
        int32_t ChartState::*field; // checked after the frames
        int32_t expected;
    } cases[] = {
        {"INCMAG STAR 1e308", &ChartState::starLimit, 65},      // capped at the catalogue
        {"DECMAG STAR -1e308", &ChartState::starLimit, 65},
        {"DECMAG STAR 1e308", &ChartState::starLimit, -20},     // not below -2.0
        {"INCMAG STARNAME 1e308", &ChartState::starNameLimit, kLimitTenthsMax},
        {"DECMAG STARNAME 1e308", &ChartState::starNameLimit, kLimitTenthsMin},
        {"INCMAG NEBULAMIN 1e308", &ChartState::nebulaMin, kLimitTenthsMax},
        {"INCMAG NEBULAMAX 1e308", &ChartState::nebulaMax, kLimitTenthsMax},
        {"DECMAG NEBULAMAX -1e308", &ChartState::nebulaMax, kLimitTenthsMax},
        {"DECMAG NEBULAMIN 1e308", &ChartState::nebulaMin, kLimitTenthsMin},
        // A fixed limit becomes an offset at the first frame; the second frame,
        // at another field, adds that offset to a different automatic limit.
        {"MAG STAR 1e9;DRIVE;VIEW ANGLE 0.5", &ChartState::starLimit, 65},
        {"MAG STAR -1e9;DRIVE;VIEW ANGLE 0.5", &ChartState::fixedLimit, kLimitTenthsMin},
        {"MAG STAR -1e9;DRIVE;VIEW ANGLE 200", &ChartState::starLimit, kLimitTenthsMin},
        {"MAG STAR 1e9;DRIVE;STARDATA GSC;VIEW ANGLE 0.5", &ChartState::starLimit, 170},
    };
    for (const Case &c : cases) {
        fresh();
        stkExecute(&chart, c.text);
        frame();
        frame();
        expectLimitsInRange(c.text);
        EXPECT_EQ(chart.*c.field, c.expected) << c.text;
        // Readable and usable afterwards.
        stkExecute(&chart, "MAG STAR 5.5;DRIVE");
        EXPECT_EQ(chart.starLimit, 55) << c.text;
    }
}

TEST_F(HostileLimits, MagStarAfterAStepReturnsToTheAutomaticLimitAtTheNextFrame)
{
    for (const char *text : {"INCMAG STAR 1; MAG STAR", "DECMAG STAR 1; MAG STAR",
                             "MAG STAR 3; MAG STAR", "MAG STAR -1e9;DRIVE;MAG STAR"}) {
        fresh();
        stkExecute(&chart, text);
        frame();
        EXPECT_EQ(chart.starLimitSet, 0) << text;
        EXPECT_EQ(chart.starLimit, viewAutoStarLimit(&chart)) << text;
    }
}

// Every parameter of the three commands, through the handlers themselves:
// the command text's own length limit would refuse the longest of these
// before any handler saw them.
TEST_F(HostileLimits, EveryParameterTakesHostileTextWithoutOverflow)
{
    const std::string digits300(300, '9');
    const std::string word250(250, 'W');
    const std::vector<std::string> hostile = {
        "1e308", "-1e308", "nan", "-nan", "inf", "-inf", "infinity", digits300, "-" + digits300,
        "0." + digits300, word250, "2147483647", "-2147483648", "214748364.8", "1e-308", "",
    };
    const char *keywords[] = {"STAR", "STARNAME", "NEBULAMIN", "NEBULAMAX", "NEBULALIMIT"};
    struct Command {
        const char *name;
        void (*handler)(ChartState *, char **);
    } commands[] = {{"MAG", stkCmdMag}, {"INCMAG", stkCmdIncMag}, {"DECMAG", stkCmdDecMag}};

    for (const Command &command : commands) {
        std::vector<std::vector<std::string>> paramLists;
        for (const std::string &h : hostile) {
            paramLists.push_back({h, "1"}); // hostile keyword
            for (const char *kw : keywords)
                paramLists.push_back({kw, h});
        }
        for (const auto &list : paramLists) {
            fresh();
            std::vector<std::string> storage = list;
            std::vector<char *> params;
            for (std::string &s : storage)
                params.push_back(&s[0]);
            params.push_back(nullptr);
            params.push_back(nullptr);
            // Twice, so that a step starts from an already clamped value.
            command.handler(&chart, params.data());
            command.handler(&chart, params.data());
            frame();
            const std::string name = std::string(command.name) + " " + list[0].substr(0, 20) + " " +
                                     list[1].substr(0, 20);
            expectLimitsInRange(name);
        }
    }
}

} // namespace
