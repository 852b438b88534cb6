// The scroll bars, the drag, the pointer-position readout and the tool-bar
// button states as pure functions of a chart built through the commands.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "model/view_geometry.h"
#include "ui/window/navigation_rules.h"

namespace {

constexpr double kNightJd = 2460325.375; // 2024-01-15 21:00 UTC

struct NavigationRules : ::testing::Test {
    std::unique_ptr<ChartState> owner{new ChartState{}};
    ChartState *chart = owner.get();

    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        appData->pixelAspect = 1.0;
        appData->commandFromSocket = 1;
        uiHooksReset();
        chartStateSetDefaults(chart);
        chartSetSite(chart, 35.0, 139.0, 0.0);
        chartSetJd(chart, kNightJd, 0.0);
        chart->chartRect = ChartRect{0, 0, 600, 600};
    }
    void TearDown() override
    {
        chartStateFreeTables(chart);
        appData->commandFromSocket = 0;
        uiHooksReset();
    }
    // The chart in mode text with its view on the LOOK target, as a frame
    // leaves it.
    void view(const char *mode, const char *look, const char *field = "VIEW ANGLE 120")
    {
        run(std::string("MODE ") + mode);
        run(field);
        run(look);
        updateViewCenterFromTarget(chart);
        updateViewScale(chart);
        updateViewMatrix(chart);
    }
    void run(const std::string &text)
    {
        stkExecute(chart, text.c_str());
        ASSERT_STREQ(appData->errorId, "") << text << ": " << appData->errorMessage;
    }
    std::string horizontal(int action, int value, int *slider = nullptr)
    {
        char text[kStkTextSize];
        int s = 0;
        scrollHorizontalCommand(chart, action, value, text, sizeof text, &s);
        if (slider)
            *slider = s;
        return text;
    }
    std::string vertical(int action, int value, int *slider = nullptr)
    {
        char text[kStkTextSize];
        int s = 0;
        scrollVerticalCommand(chart, action, value, text, sizeof text, &s);
        if (slider)
            *slider = s;
        return text;
    }
};

TEST_F(NavigationRules, HorizontalSliderOfTheHorizontalChartIsTheAzimuthFromTheSouth)
{
    view("HRZ", "LOOK HRZ 30, 40");
    struct Case {
        const char *name;
        int value;
        const char *expected;
    } cases[] = {
        {"middle is south", 1801, "LOOK HRZ   0.000,  40.000"},
        {"left end is north", 1, "LOOK HRZ 180.000,  40.000"},
        {"right end is a tenth short of north", 3600, "LOOK HRZ 179.900,  40.000"},
        {"west is right of the middle", 2701, "LOOK HRZ  90.000,  40.000"},
        {"beyond the end is the end", 5000, "LOOK HRZ 179.900,  40.000"},
        {"below the start is the start", -7, "LOOK HRZ 180.000,  40.000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(horizontal(kScrollDrag, c.value), c.expected) << c.name;
    int slider = 0;
    horizontal(kScrollDrag, 2701, &slider);
    EXPECT_EQ(slider, 2701) << "west goes back to where it was dragged";
    horizontal(kScrollDrag, 1, &slider);
    EXPECT_EQ(slider, 1) << "north at the left end, not past the right one";
}

TEST_F(NavigationRules, SkySlidersRunAgainstTheLongitudeShownInHours)
{
    view("EQT", "LOOK EQT_DATE 6, 20");
    struct Case {
        const char *name;
        int value;
        const char *expected;
    } cases[] = {
        {"left end is 0h", 1, "LOOK EQT_DATE 0.000000, 20.000000"},
        {"middle is 12h", 1801, "LOOK EQT_DATE 12.000000, 20.000000"},
        {"a quarter in is 18h", 901, "LOOK EQT_DATE 18.000000, 20.000000"},
        {"right end is just past 0h", 3600, "LOOK EQT_DATE 0.006667, 20.000000"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(horizontal(kScrollDrag, c.value), c.expected) << c.name;

    view("ALL1_ECL", "LOOK ECL 100, -10");
    EXPECT_EQ(horizontal(kScrollDrag, 1801), "LOOK ECL 180.000000, -10.000000");
    // The whole-sky maps step by 12 degrees, paging by 45; left is east.
    EXPECT_EQ(horizontal(kScrollStepBack, 0), "LOOK ECL 112.000000, -10.000000");
    EXPECT_EQ(horizontal(kScrollPageForward, 0), "LOOK ECL 55.000000, -10.000000");
    EXPECT_EQ(vertical(kScrollStepBack, 0), "LOOK ECL 100.000000, 2.000000");
    EXPECT_EQ(vertical(kScrollPageForward, 0), "LOOK ECL 100.000000, -40.000000");
}

// A step is a fifteenth of the field's diagonal, a page nine tenths of its
// side: on a square chart 60 degrees across, 4 x sqrt(2) = 5.656854 degrees
// and 54 degrees.
TEST_F(NavigationRules, StepsAndPagesAreSharesOfTheField)
{
    view("EQT", "LOOK EQT_DATE 6, 20", "VIEW ANGLE 60");
    EXPECT_EQ(horizontal(kScrollStepBack, 0), "LOOK EQT_DATE 6.377124, 20.000000");
    EXPECT_EQ(horizontal(kScrollPageForward, 0), "LOOK EQT_DATE 2.400000, 20.000000");
    EXPECT_EQ(vertical(kScrollStepForward, 0), "LOOK EQT_DATE 6.000000, 14.343146");
    EXPECT_EQ(vertical(kScrollPageBack, 0), "LOOK EQT_DATE 6.000000, 74.000000");
}

// The diagonal was the root of the squared sides, infinite for a field above
// about 1e154 degrees, and the page nine times the side, infinite above about
// 2e307: the longitude became NaN and the command could not run.
TEST_F(NavigationRules, AFieldOfAnySizeScrollsToACommandThatRuns)
{
    const char *const fields[] = {"VIEW ANGLE 1e154", "VIEW ANGLE 1e155", "VIEW ANGLE 1e300", "VIEW ANGLE 1e308"};
    const struct {
        const char *mode, *look;
    } charts[] = {{"HRZ", "LOOK HRZ 30, 40"}, {"EQT", "LOOK EQT_DATE 6, 20"}, {"SOL2", "LOOK ECL 90, 10"}};
    const int actions[] = {kScrollStepBack, kScrollStepForward, kScrollPageBack, kScrollPageForward};
    for (const auto &c : charts)
        for (const char *field : fields)
            for (int action : actions)
                for (bool across : {true, false}) {
                    SCOPED_TRACE(std::string(c.mode) + ", " + field + ", action " + std::to_string(action) +
                                 (across ? ", across" : ", up and down"));
                    view(c.mode, c.look, field);
                    int slider = -1;
                    const std::string text = across ? horizontal(action, 0, &slider) : vertical(action, 0, &slider);
                    double lon = NAN, lat = NAN;
                    const char *numbers = std::strchr(text.c_str(), ' ');
                    ASSERT_NE(numbers, nullptr) << text;
                    numbers = std::strchr(numbers + 1, ' ');
                    ASSERT_NE(numbers, nullptr) << text;
                    ASSERT_EQ(std::sscanf(numbers, "%lf, %lf", &lon, &lat), 2) << text;
                    EXPECT_TRUE(std::isfinite(lon) && std::isfinite(lat)) << text;
                    if (across)
                        EXPECT_TRUE(slider >= 1 && slider <= 3601) << slider;
                    else
                        EXPECT_TRUE(slider >= -900 && slider <= 900) << slider;
                    run(text);
                }
}

TEST_F(NavigationRules, TheHorizontalChartNeverLooksBelowTheHorizon)
{
    view("HRZ", "LOOK HRZ 30, 5");
    int slider = 0;
    EXPECT_EQ(vertical(kScrollPageForward, 0, &slider), "LOOK HRZ  30.000,   0.000");
    EXPECT_EQ(slider, 900);
    EXPECT_EQ(vertical(kScrollDrag, 950), "LOOK HRZ  30.000,   0.000") << "past the bottom";
    EXPECT_EQ(vertical(kScrollDrag, 0, &slider), "LOOK HRZ  30.000,  90.000");
    EXPECT_EQ(slider, 0);
    view("HRZ", "LOOK HRZ 30, 85");
    EXPECT_EQ(vertical(kScrollPageBack, 0), "LOOK HRZ  30.000,  90.000") << "nor beyond the zenith";
    view("EQT", "LOOK EQT_DATE 6, -85");
    EXPECT_EQ(vertical(kScrollPageForward, 0), "LOOK EQT_DATE 6.000000, -90.000000");
}

TEST_F(NavigationRules, ScrollBarsFollowTheModeAndStayInTheirRange)
{
    struct Case {
        const char *mode, *look;
        int shown, minimum, maximum, slider, vValue, hValue;
    } cases[] = {
        {"HRZ", "LOOK HRZ 0, 45", 1, 0, 950, 50, 450, 1801},
        {"EQT", "LOOK EQT_DATE 12, -30", 1, -900, 1001, 100, 300, 1801},
        {"SOL2", "LOOK ECL 90, 10", 1, -900, 1001, 100, -100, 2701},
        {"ALL1_EQT", "LOOK EQT_DATE 6, 0", 0, 0, 0, 0, 0, 2701},
        {"ALL2_GAL", "LOOK GAL 0, 0", 0, 0, 0, 0, 0, 3601},
        {"PLNS", "LOOK HRZ 90, 30", 0, 0, 0, 0, 0, 2701},
    };
    for (const Case &c : cases) {
        view(c.mode, c.look);
        const ScrollBarSettings s = scrollBarSettings(chart);
        EXPECT_EQ(s.verticalShown, c.shown) << c.mode;
        if (c.shown) {
            EXPECT_EQ(s.vMinimum, c.minimum) << c.mode;
            EXPECT_EQ(s.vMaximum, c.maximum) << c.mode;
            EXPECT_EQ(s.vSlider, c.slider) << c.mode;
            EXPECT_EQ(s.vValue, c.vValue) << c.mode;
        }
        EXPECT_EQ(s.hValue, c.hValue) << c.mode;
        EXPECT_LE(s.hValue, kHScrollMaximum - kHScrollSlider) << c.mode;
    }
    EXPECT_EQ(scrollValueClamped(3700, 0, 3761, 160), 3601);
    EXPECT_EQ(scrollValueClamped(-3, 0, 3761, 160), 0);
    EXPECT_EQ(scrollValueClamped(1001, -900, 1001, 100), 901);
}

// The chart's scale: 600 pixels across 60 degrees of an equidistant chart.
TEST_F(NavigationRules, DragPansByTheSkyAngleAndFoldsOverThePole)
{
    view("EQT", "LOOK EQT_DATE 0, 88", "VIEW ANGLE 60");
    char text[kStkTextSize];
    // Dragging the sky down by 10 degrees brings the view up past the pole:
    // 98 degrees is 82 on the far side, half a turn round (0h -> 12h).
    ASSERT_EQ(panCommand(chart, 300, 300, 0, 100, text, sizeof text), 1);
    double lon = 0, lat = 0;
    char keyword[32];
    ASSERT_EQ(std::sscanf(text, "TRACK OFF;LOOK %31s %lf,%lf", keyword, &lon, &lat), 3) << text;
    EXPECT_STREQ(keyword, "EQT_DATE");
    EXPECT_NEAR(lon, 12.0, 0.05) << text;
    EXPECT_NEAR(lat, 82.0, 0.3) << text;

    // A small drag to the right turns the view east (left is larger R.A.).
    view("EQT", "LOOK EQT_DATE 6, 0", "VIEW ANGLE 60");
    ASSERT_EQ(panCommand(chart, 300, 300, 50, 0, text, sizeof text), 1);
    ASSERT_EQ(std::sscanf(text, "TRACK OFF;LOOK %31s %lf,%lf", keyword, &lon, &lat), 3) << text;
    EXPECT_NEAR(lon, 6.0 + 5.0 / 15.0, 0.02) << text;
    EXPECT_NEAR(lat, 0.0, 0.2) << text;

    // A drag that leaves the window on the left keeps its sign: 320 pixels
    // at 10 pixels a degree from the middle turn the view 32 degrees west.
    view("EQT", "LOOK EQT_DATE 6, 0", "VIEW ANGLE 60");
    ASSERT_EQ(panCommand(chart, 300, 300, -320, 0, text, sizeof text), 1);
    ASSERT_EQ(std::sscanf(text, "TRACK OFF;LOOK %31s %lf,%lf", keyword, &lon, &lat), 3) << text;
    EXPECT_NEAR(lon, (90.0 - 32.0) / 15.0, 0.02) << text;
    EXPECT_NEAR(lat, 0.0, 0.2) << text;

    // Off the map: nothing.
    view("ALL2_EQT", "LOOK EQT_DATE 6, 0");
    EXPECT_EQ(panCommand(chart, 1, 1, 5, 5, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
}

TEST_F(NavigationRules, PositionReadoutCarriesRoundedMinutes)
{
    char eqt[256], ecl[256], hrz[256];
    getResourceFormat("messageMousePosEqtFormat", "sdfddd", eqt, sizeof eqt);
    getResourceFormat("messageMousePosEclFormat", "sddddd", ecl, sizeof ecl);
    getResourceFormat("messageMousePosHrzFormat", "sff", hrz, sizeof hrz);
    struct Case {
        const char *name;
        char kind; // 'q' equatorial, 'e' ecliptic, 'h' horizontal
        double lon, lat;
        const char *expected;
    } cases[] = {
        {"59.95 minutes is the next hour", 'q', 15.0 * (5.0 + 59.951 / 60.0), 10.0,
         "X         R.A.  6h00.0m Decl +10\26000'"},
        {"23h59.95m is 0h", 'q', 15.0 * (23.0 + 59.96 / 60.0), -10.5,
         "X         R.A.  0h00.0m Decl -10\26030'"},
        {"59.94 minutes stay", 'q', 15.0 * (5.0 + 59.94 / 60.0), 0.0,
         "X         R.A.  5h59.9m Decl  00\26000'"},
        {"a blank sign at 0 degrees 00'", 'q', 0.0, -0.004, "X         R.A.  0h00.0m Decl  00\26000'"},
        {"but not at 0 degrees 01'", 'q', 0.0, -0.01, "X         R.A.  0h00.0m Decl -00\26001'"},
        {"59.99' of declination carry", 'q', 30.0, 44.9999, "X         R.A.  2h00.0m Decl +45\26000'"},
        {"ecliptic 359 59.97 is 0 00", 'e', 359.0 + 59.97 / 60.0, 1.25,
         "X         Long   0\26000'  Lati +01\26015'"},
        {"ecliptic 359 59.4 stays", 'e', 359.0 + 59.4 / 60.0, -1.25,
         "X         Long 359\26059'  Lati -01\26015'"},
        {"azimuth 359.95 is 0.0", 'h', 359.95, 10.0, "X         Azm.   0.0\260   Alt.  10.0\260"},
        {"altitude 0.04 is 0.0", 'h', 10.0, 0.04, "X         Azm.  10.0\260   Alt.   0.0\260"},
        {"altitude -0.04 is 0.0, not -0.0", 'h', 10.0, -0.04, "X         Azm.  10.0\260   Alt.   0.0\260"},
    };
    for (const Case &c : cases) {
        char out[256];
        if (c.kind == 'q')
            formatEquatorialPosition(out, sizeof out, eqt, "X", c.lon, c.lat);
        else if (c.kind == 'e')
            formatEclipticPosition(out, sizeof out, ecl, "X", c.lon, c.lat);
        else
            formatHorizontalPosition(out, sizeof out, hrz, "X", c.lon, c.lat);
        EXPECT_STREQ(out, c.expected) << c.name;
    }
}

TEST_F(NavigationRules, SolarSystemViewsShowNoHorizontalPosition)
{
    char texts[4][kPositionLabelSize];
    Vec3 dir{1.0, 0.0, 0.0};
    view("SOL2", "LOOK ECL 0, 0");
    EXPECT_EQ(positionLabelTexts(chart, &dir, texts), 3);
    view("EQT", "LOOK EQT_DATE 0, 0");
    EXPECT_EQ(positionLabelTexts(chart, &dir, texts), 4);
    EXPECT_STREQ(texts[0], "J2000.0   R.A.  0h00.0m Decl  00\26000'");
}

// The chart states of the fourteen modes, the display flags and playing.
TEST_F(NavigationRules, ToolbarButtonsShowTheChart)
{
    struct ModeCase {
        const char *mode;
        int pressedButton;  // the mode button shown pressed, -1 none
        int lookHrz, daylight, zoom;
    } modes[] = {
        {"HRZ", kToolbarModeHrz, 1, 1, 1},       {"EQT", kToolbarModeEqt, 0, 0, 1},
        {"ECL", -1, 0, 0, 1},                    {"GAL", -1, 0, 0, 1},
        {"SOL1", -1, 0, 0, 1},                   {"SOL2", kToolbarModeSol, 0, 0, 1},
        {"SOL3", -1, 0, 0, 1},                   {"ALL1_EQT", kToolbarModeAll1, 0, 0, 0},
        {"ALL1_ECL", -1, 0, 0, 0},               {"ALL1_GAL", -1, 0, 0, 0},
        {"ALL2_EQT", kToolbarModeAll2, 0, 0, 0}, {"ALL2_ECL", -1, 0, 0, 0},
        {"ALL2_GAL", -1, 0, 0, 0},               {"PLNS", kToolbarModePlns, 0, 1, 0},
    };
    for (const ModeCase &m : modes) {
        run(std::string("MODE ") + m.mode);
        for (int b = kToolbarModeHrz; b <= kToolbarModePlns; b++) {
            const ToolbarButtonState s = toolbarButtonState(b, chart);
            EXPECT_EQ(s.shadowIn, b == m.pressedButton ? 1 : 0) << m.mode << " button " << b;
            EXPECT_EQ(s.sensitive, 1);
        }
        EXPECT_EQ(toolbarButtonState(kToolbarLookHrz, chart).sensitive, m.lookHrz) << m.mode;
        EXPECT_EQ(toolbarButtonState(kToolbarDaylight, chart).sensitive, m.daylight) << m.mode;
        EXPECT_EQ(toolbarButtonState(kToolbarZoomUp, chart).sensitive, m.zoom) << m.mode;
        EXPECT_EQ(toolbarButtonState(kToolbarZoomDown, chart).sensitive, m.zoom) << m.mode;
        for (int b : {kToolbarSetDate, kToolbarSetPlace, kToolbarSetStep}) {
            EXPECT_EQ(toolbarButtonState(b, chart).shadowIn, -1);
            EXPECT_EQ(toolbarButtonState(b, chart).sensitive, -1);
        }
    }
    run("MODE HRZ; TRACK MARS");
    EXPECT_EQ(toolbarButtonState(kToolbarLookHrz, chart).sensitive, 0) << "tracking";

    struct FlagCase {
        const char *text;
        int button;
        int pressed;
    } flags[] = {
        {"HIDE DAYLIGHT", kToolbarDaylight, 0},       {"SHOW DAYLIGHT", kToolbarDaylight, 1},
        {"SHOW CONS_LINE", kToolbarConsline, 1},      {"HIDE CONS_LINE", kToolbarConsline, 0},
        {"SHOW CONS_NAME2", kToolbarConsname, 1},     {"SHOW CONS_NAME1; HIDE CONS_NAME2", kToolbarConsname, 0},
        {"SHOW PLANET_NAME", kToolbarPlanetname, 1},  {"HIDE MARS_NAME", kToolbarPlanetname, 0},
        {"SHOW PLANET_NAME; HIDE EARTH_NAME", kToolbarPlanetname, 0},
        {"SHOW NEBULA", kToolbarNebula, 1},           {"HIDE NEBULA", kToolbarNebula, 0},
        {"SHOW MILKYWAY", kToolbarMilkyway, 1},       {"HIDE MILKYWAY", kToolbarMilkyway, 0},
        {"SHOW PICTUREMARK", kToolbarPicMark, 1},     {"HIDE PICTUREMARK", kToolbarPicMark, 0},
        {"SHOW HRZ_GRID", kToolbarGridHrz, 1},        {"HIDE HRZ_GRID; SHOW DIR", kToolbarGridHrz, 0},
        {"SHOW EQT_GRID_DATE", kToolbarGridEqt, 1},   {"HIDE EQT_GRID_DATE; SHOW EQT_GRID_2000", kToolbarGridEqt, 0},
        {"SHOW TRACE", kToolbarTrace, 1},             {"HIDE TRACE", kToolbarTrace, 0},
    };
    for (const FlagCase &f : flags) {
        run(f.text);
        EXPECT_EQ(toolbarButtonState(f.button, chart).shadowIn, f.pressed) << f.text;
    }

    struct PlayCase {
        const char *text;
        int reverse[2], stop[2], forward[2]; // shadow, sensitive
    } plays[] = {
        {"CONTINUE ,,,,", {0, 0}, {-1, 1}, {1, 0}},
        {"CONTINUE", {0, 1}, {-1, 0}, {0, 1}},
        {"REVERSE ,,,,", {1, 0}, {-1, 1}, {0, 0}},
        {"CONTINUE", {0, 1}, {-1, 0}, {0, 1}},
    };
    for (const PlayCase &p : plays) {
        run(p.text);
        const ToolbarButtonState r = toolbarButtonState(kToolbarReverse, chart);
        const ToolbarButtonState s = toolbarButtonState(kToolbarStopPlay, chart);
        const ToolbarButtonState f = toolbarButtonState(kToolbarContinue, chart);
        EXPECT_EQ(r.shadowIn, p.reverse[0]) << p.text;
        EXPECT_EQ(r.sensitive, p.reverse[1]) << p.text;
        EXPECT_EQ(s.shadowIn, p.stop[0]) << p.text;
        EXPECT_EQ(s.sensitive, p.stop[1]) << p.text;
        EXPECT_EQ(f.shadowIn, p.forward[0]) << p.text;
        EXPECT_EQ(f.sensitive, p.forward[1]) << p.text;
    }
}

} // namespace
