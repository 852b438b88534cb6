// VIEW, ZOOM, LOOK and TRACK through the interpreter: a table of command
// texts on a fresh chart, the hooks they call, and hostile parameters.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "render/surface.h"

namespace {

constexpr double kNightJd = 2460325.375; // 2024-01-15 21:00 UTC

int refreshCalls = 0, toolbarCalls = 0, toolbarButton = -1, clickDataCalls = 0;

// A window that counts the chart refreshes asking for its size and, having
// none yet, lets them draw nothing.
struct CountingSurface : ChartSurface {
    bool windowSize(int *, int *) override
    {
        refreshCalls++;
        return false;
    }
    void recreate(int, int) override {}
    Canvas *canvas() override { return nullptr; }
    void copyToWindow(int, int) override {}
};
CountingSurface countingSurface;
void countToolbar(ChartState *, int, int, int button)
{
    toolbarCalls++;
    toolbarButton = button;
}
void countClickData(ChartState *) { clickDataCalls++; }

struct ViewCommands : ::testing::Test {
    std::unique_ptr<ChartState> owner{new ChartState{}};
    ChartState *chart = owner.get();

    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        appData->pixelAspect = 1.0;
        appData->commandFromSocket = 1; // keep the message, show no box
        uiHooksReset();
        chartSetSurface(&countingSurface);
        uiHooks.toolbarRefreshOne = countToolbar;
        uiHooks.updateClickDataButtons = countClickData;
        refreshCalls = toolbarCalls = clickDataCalls = 0;
        toolbarButton = -1;
        chartStateSetDefaults(chart);
        chartSetSite(chart, 51.4769, 0.0, 0.0);
        chartSetJd(chart, kNightJd, 0.0);
        chart->chartRect = ChartRect{0, 0, 600, 600};
    }
    void TearDown() override
    {
        chartSetSurface(nullptr);
        chartStateFreeTables(chart);
        appData->commandFromSocket = 0;
        uiHooksReset();
    }
};

struct Case {
    const char *name;
    int mode;
    const char *text;
    double (*field)(const ChartState *);
    double expected;
    const char *errorId; // null: no error
    const char *errorArg;
};

double fieldWidth(const ChartState *c) { return c->fieldWidth; }
double solScale(const ChartState *c) { return c->solScale; }
double trackState(const ChartState *c) { return c->trackState; }
double trackKind(const ChartState *c) { return c->trackKind; }
double trackIndex(const ChartState *c) { return c->trackIndex; }
double trackValue1(const ChartState *c) { return c->trackValues[0]; }
double trackValue2(const ChartState *c) { return c->trackValues[1]; }

const Case kCases[] = {
    {"ZOOM UP stops at the smallest field", kModeHrz, "VIEW ANGLE 1.1; ZOOM UP", fieldWidth, 1.0, nullptr, nullptr},
    {"ZOOM DOWN by a factor", kModeEqt, "VIEW ANGLE 10; ZOOM d", fieldWidth, 12.0, nullptr, nullptr},
    {"ZOOM UP by an amount", kModeEqt, "VIEW ANGLE 10; ZOOM U 4", fieldWidth, 6.0, nullptr, nullptr},
    // 110 degrees high in a square chart: 110 wide.
    {"ZOOM DOWN 1000 in HRZ stops at the widest field", kModeHrz, "ZOOM DOWN 1000", fieldWidth, 110.0, nullptr,
     nullptr},
    {"a negative amount does not pass the widest field", kModeHrz, "ZOOM UP -1000", fieldWidth, 110.0, nullptr,
     nullptr},
    {"ZOOM X does nothing", kModeEqt, "VIEW ANGLE 10; ZOOM X", fieldWidth, 10.0, nullptr, nullptr},
    {"ZOOM without direction", kModeEqt, "ZOOM", fieldWidth, 120.0, "stkErrorIllegalParam", ""},
    {"SOL held to 2", kModeSol1, "ZOOM UP 100", solScale, 2.0, nullptr, nullptr},
    {"SOL held to 150", kModeSol2, "ZOOM DOWN 1000", solScale, 150.0, nullptr, nullptr},
    {"SOL by a factor", kModeSol3, "ZOOM DOWN", solScale, 14.4, nullptr, nullptr},
    {"ALL1 has one size", kModeAll1Eqt, "ZOOM UP", fieldWidth, 120.0, nullptr, nullptr},
    {"ALL1 keeps the solar scale too", kModeAll1Eqt, "ZOOM DOWN", solScale, 12.0, nullptr, nullptr},
    {"the planisphere has one size", kModePlns, "ZOOM UP 50", fieldWidth, 120.0, nullptr, nullptr},
    {"VIEW ANGLE", kModeEqt, "VIEW ANGLE 360", fieldWidth, 360.0, nullptr, nullptr},
    {"VIEW ANGLE 0 refused", kModeEqt, "VIEW ANGLE 0", fieldWidth, 120.0, "stkErrorIllegalParam", "0"},
    {"VIEW ANGLE -1 refused", kModeEqt, "VIEW ANGLE -1", fieldWidth, 120.0, "stkErrorIllegalParam", "-1"},
    // No upper bound: a field wider than the sky shows the whole sky.
    {"VIEW ANGLE 1e300", kModeEqt, "VIEW ANGLE 1e300", fieldWidth, 1e300, nullptr, nullptr},
    {"VIEW ANGLE abc refused", kModeEqt, "VIEW ANGLE abc", fieldWidth, 120.0, "stkErrorIllegalParam", "abc"},
    {"VIEW ANGLE nan refused", kModeEqt, "VIEW ANGLE nan", fieldWidth, 120.0, "stkErrorIllegalParam", "nan"},
    {"VIEW ANGLE without value", kModeEqt, "VIEW ANGLE", fieldWidth, 120.0, "stkErrorIllegalParam", ""},
    {"VIEW SOL", kModeSol1, "view sol 5.5", solScale, 5.5, nullptr, nullptr},
    {"VIEW SOL 0 refused", kModeSol1, "VIEW SOL 0", solScale, 12.0, "stkErrorIllegalParam", "0"},
    {"VIEW SOL inf refused", kModeSol1, "VIEW SOL inf", solScale, 12.0, "stkErrorIllegalParam", "inf"},
    {"VIEW FOO", kModeEqt, "VIEW FOO 1", fieldWidth, 120.0, "stkErrorSyntax", "FOO"},
    {"VIEW foo as typed", kModeEqt, "VIEW foo 1", fieldWidth, 120.0, "stkErrorSyntax", "foo"},
    {"VIEW CENTER is a LOOK target", kModeEqt, "VIEW CENTER EQT 6 10", trackValue1, 90.0, nullptr, nullptr},
    {"VIEW CENTER does not redraw", kModeEqt, "VIEW CENTER EQT 6 10", trackState, 1, nullptr, nullptr},
    {"LOOK HRZ locks the placement", kModeHrz, "LOOK HRZ", trackKind, kPosScreen | kTrackKindLockBit, nullptr,
     nullptr},
    {"LOOK HRZ keeps the LOOK target", kModeHrz, "LOOK MARS; LOOK HRZ", trackKind,
     kPosBody | kTrackKindLockBit, nullptr, nullptr},
    {"LOOK HRZ while tracking changes nothing", kModeHrz, "TRACK MARS; LOOK HRZ", trackKind, kPosBody, nullptr,
     nullptr},
    {"LOOK HRZ while tracking keeps tracking", kModeHrz, "TRACK MARS; LOOK HRZ", trackState, 2, nullptr, nullptr},
    {"LOOK HRZ 180, 30 is azimuth and altitude", kModeHrz, "LOOK HRZ 180, 30", trackValue2, 30.0, nullptr,
     nullptr},
    {"LOOK HRZ 180, 30 is kind 1", kModeHrz, "LOOK HRZ 180, 30", trackKind, kPosHrz, nullptr, nullptr},
    {"LOOK while tracking is ignored", kModeEqt, "TRACK MARS; LOOK VENUS", trackIndex, 2, nullptr, nullptr},
    {"LOOK a bare constellation", kModeEqt, "LOOK ori", trackKind, kPosCons, nullptr, nullptr},
    {"LOOK nothing", kModeEqt, "LOOK", trackState, 0, "stkErrorIllegalParam", ""},
    {"LOOK an unknown name, as typed", kModeEqt, "LOOK nosuch", trackState, 0, "stkErrorIllegalParam",
     "nosuch"},
    {"LOOK PLANET refused", kModeEqt, "LOOK PLANET", trackState, 0, "stkErrorIllegalParam", "PLANET"},
    {"LOOK SCREEN needs both numbers", kModeEqt, "LOOK SCREEN 5", trackState, 0, "stkErrorIllegalParam",
     "SCREEN"},
    {"TRACK", kModeEqt, "TRACK io", trackIndex, 0, nullptr, nullptr},
    {"TRACK sets tracking", kModeEqt, "TRACK io", trackState, 2, nullptr, nullptr},
    {"TRACK OFF", kModeEqt, "TRACK MARS; TRACK off", trackState, 0, nullptr, nullptr},
    {"TRACK alone stops", kModeEqt, "TRACK MARS; TRACK", trackState, 0, nullptr, nullptr},
    {"a failing TRACK keeps the target", kModeEqt, "TRACK MARS; TRACK nosuch", trackIndex, 2,
     "stkErrorIllegalParam", "nosuch"},
    {"a failing TRACK keeps tracking", kModeEqt, "TRACK MARS; TRACK nosuch", trackState, 2, "stkErrorIllegalParam",
     "nosuch"},
};

TEST_F(ViewCommands, CasesTable)
{
    for (const Case &c : kCases) {
        SetUp();
        chart->mode = c.mode;
        chart->trackState = kTrackNone; // the start-up recentring is done, as after the first frame
        stkExecute(chart, c.text);
        EXPECT_NEAR(c.field(chart), c.expected, 1e-9) << c.name;
        if (c.errorId) {
            EXPECT_STREQ(appData->errorId, c.errorId) << c.name;
            EXPECT_STREQ(appData->errorArg, c.errorArg) << c.name;
        } else {
            EXPECT_STREQ(appData->errorId, "") << c.name << ": " << appData->errorMessage;
        }
        TearDown();
    }
}

TEST_F(ViewCommands, LookRedrawsAndClearsTheLock)
{
    chart->viewLocked = 1;
    stkExecute(chart, "LOOK MARS");
    EXPECT_EQ(chart->viewLocked, 0);
    EXPECT_EQ(chart->redrawNeeded, 1);
    EXPECT_EQ(refreshCalls, 1);
    stkExecute(chart, "LOOK nosuch");
    EXPECT_EQ(refreshCalls, 1) << "a failing LOOK draws nothing";
    stkExecute(chart, "VIEW CENTER MARS");
    EXPECT_EQ(refreshCalls, 1) << "VIEW CENTER does not redraw";
}

TEST_F(ViewCommands, TrackRefreshesItsButtonOnce)
{
    stkExecute(chart, "TRACK OFF");
    EXPECT_EQ(toolbarCalls + clickDataCalls, 0) << "not tracking: no hook at all";
    stkExecute(chart, "TRACK MARS");
    EXPECT_EQ(toolbarCalls, 1);
    EXPECT_EQ(toolbarButton, 10) << "ToolbarLookHrz";
    EXPECT_EQ(clickDataCalls, 1);
    stkExecute(chart, "TRACK nosuch");
    EXPECT_EQ(toolbarCalls, 1) << "a failing TRACK refreshes nothing";
    stkExecute(chart, "TRACK OFF");
    EXPECT_EQ(toolbarCalls, 2);
    EXPECT_EQ(clickDataCalls, 2);
    stkExecute(chart, "TRACK OFF");
    EXPECT_EQ(toolbarCalls, 2);
}

// ---- hostile parameters -------------------------------------------------------

// After each command and DRIVE a real frame is drawn into a recording canvas,
// so whatever a command left in the chart goes through the target step and
// the projections.
void drawFrame(ChartState *chart)
{
    RecordingCanvas canvas;
    chartDrawFrame(chart, &canvas);
}

TEST_F(ViewCommands, HostileParametersAreRefusedOrClamped)
{
    const std::string digits300(300, '9');
    const std::string word250(250, 'W');
    const std::vector<std::string> values = {"1e308", "-1e308", "nan", "inf", "-inf", digits300, "-" + digits300,
                                             "0." + digits300, word250, "\"\""};
    struct Command {
        const char *word;
        std::vector<std::string> fixed; // parameters before the hostile one
        int slots;                     // parameters after them that take it
    } commands[] = {
        {"STARSIZE", {}, 1},
        {"VIEW", {}, 2},
        {"VIEW", {"ANGLE"}, 1},
        {"VIEW", {"SOL"}, 1},
        {"VIEW", {"CENTER"}, 3},
        {"VIEW", {"CENTER", "EQT"}, 2},
        {"VIEW", {"CENTER", "SCREEN"}, 2},
        {"ZOOM", {}, 2},
        {"ZOOM", {"UP"}, 1},
        {"ZOOM", {"DOWN"}, 1},
        {"LOOK", {}, 3},
        {"LOOK", {"HRZ"}, 2},
        {"LOOK", {"EQT"}, 2},
        {"LOOK", {"SCREEN", "1"}, 1},
        {"LOOK", {"STAR"}, 1},
        {"TRACK", {}, 3},
        {"TRACK", {"ECL"}, 2},
        {"TRACK", {"SCREEN"}, 2},
        {"TRACK", {"NEBULA"}, 1},
    };
    for (int mode : {kModeHrz, kModeEqt, kModeSol1, kModeAll2Gal}) {
        for (const Command &c : commands) {
            for (int slot = 0; slot < c.slots; ++slot) {
                for (const std::string &value : values) {
                    SetUp();
                    chart->mode = mode;
                    std::vector<std::string> texts = c.fixed;
                    for (int i = 0; i < slot; ++i)
                        texts.push_back("1");
                    texts.push_back(value);
                    char *params[kStkMaxParams] = {};
                    for (size_t i = 0; i < texts.size() && i < kStkMaxParams; ++i)
                        params[i] = &texts[i][0];
                    stkDispatch(chart, c.word, params);
                    stkExecute(chart, "DRIVE");
                    drawFrame(chart);
                    const std::string where = std::string(c.word) + " slot " + std::to_string(slot) + " [" +
                                              value.substr(0, 12) + "] mode " + std::to_string(mode);
                    EXPECT_TRUE(std::isfinite(chart->fieldWidth) && chart->fieldWidth > 0.0) << where;
                    EXPECT_TRUE(std::isfinite(chart->solScale) && chart->solScale > 0.0) << where;
                    EXPECT_TRUE(std::isfinite(chart->centerMode[0]) && std::isfinite(chart->centerMode[1]) &&
                                std::isfinite(chart->centerHrz[0]) && std::isfinite(chart->centerHrz[1]))
                        << where;
                    EXPECT_GE(chart->centerHrz[1], -90.0) << where;
                    // A locked horizontal view keeps the horizon on the centre
                    // row: for a field taller than the sky that altitude, at
                    // the middle of the window, lies past the zenith.
                    if (chart->fieldHeight <= 180.0) {
                        EXPECT_LE(chart->centerHrz[1], 90.0) << where;
                    }
                    EXPECT_TRUE(std::isfinite(chart->trackValues[0]) && std::isfinite(chart->trackValues[1]))
                        << where;
                    TearDown();
                }
            }
        }
    }
}

// VIEW ANGLE has no upper bound and no lower one but 0: a field of a
// fraction of an arc second or far wider than the sky, set before or after
// the mode, draws whole frames in every mode and orientation with every
// layer on (the sanitizer build stops at any overflow: a tiny field once
// overflowed the projection's placement), and the field stays what was
// asked, or for MODE the mode's widest field, never 0 or infinite.
TEST_F(ViewCommands, ExtremeFieldsDrawInEveryModeAndOrientation)
{
    const char *const modes[] = {"HRZ",      "EQT",      "ECL",      "GAL",      "SOL1",     "SOL2",     "SOL3",
                                 "ALL1_EQT", "ALL1_ECL", "ALL1_GAL", "ALL2_EQT", "ALL2_ECL", "ALL2_GAL", "PLNS"};
    const char *const fields[] = {"1e-7", "1e-12", "350", "1e308"};
    const char *const layers = "SHOW NEBULA;SHOW NEBULA_NAME;SHOW EQT_GRID_2000;SHOW EQT_GRID_2000_NUM;"
                               "SHOW HRZ_GRID;SHOW STARNAME;SHOW BAYER;SHOW CONS_NAME1;SHOW MILKYWAY";
    for (const char *mode : modes) {
        for (int mirror = 0; mirror <= 2; mirror++) {
            for (const char *field : fields) {
                for (const bool modeLast : {false, true}) {
                    SetUp();
                    const std::string where = std::string(mode) + " mirror " + std::to_string(mirror) + " field " +
                                              field + (modeLast ? ", then MODE" : "");
                    const std::string view = std::string("VIEW ANGLE ") + field;
                    const std::string setMode = std::string("MODE ") + mode;
                    stkExecute(chart, (modeLast ? view : setMode).c_str());
                    stkExecute(chart, (modeLast ? setMode : view).c_str());
                    stkExecute(chart, ("MIRROR " + std::to_string(mirror)).c_str());
                    stkExecute(chart, layers);
                    EXPECT_STREQ(appData->errorId, "") << where;
                    if (!modeLast) {
                        EXPECT_EQ(chart->fieldWidth, std::strtod(field, nullptr)) << where;
                    }
                    drawFrame(chart);
                    drawFrame(chart);
                    EXPECT_TRUE(std::isfinite(chart->fieldWidth) && chart->fieldWidth > 0.0) << where;
                    TearDown();
                }
            }
        }
    }
}

} // namespace
