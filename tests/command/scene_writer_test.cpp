// The scene writer: a default chart's scene, and scenes that read back as
// written (write, STL, write again gives the same text).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "tests/support/temp_dir.h"

namespace {

class SceneWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        appData->initialising = 1; // INIT keeps the chart's site as the tests set it
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        DateTime date{2024, 3, 20, 21, 30, 0, 1.0};
        chartSetDate(chart, &date);
        chartSetSite(chart, 50.0833, 14.4167, 200.0);
        std::snprintf(chart->siteName, sizeof chart->siteName, "Praha");
    }
    void TearDown() override
    {
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
    }
    std::string scene(int asStartupScript)
    {
        char *text = nullptr;
        size_t size = 0;
        std::FILE *out = open_memstream(&text, &size);
        EXPECT_EQ(1, writeSceneFile(chart, out, asStartupScript));
        std::fclose(out);
        std::string s(text, size);
        std::free(text);
        return s;
    }
    ChartState *chart = nullptr;
    TempDir dir;
};

// The default chart's whole scene, each line as the command language reads it.
TEST_F(SceneWriter, TheDefaultChartHasNoShowOrHideLines)
{
    const char *golden = "BLOCK CONTROL\n"
                         "\tSCENE MAIN\n"
                         "\t\tINIT\n"
                         "\t\tDATE 2024,3,20,21,30,0.000000,1.000\n"
                         "\t\tLOCATE  14.417E, 50.083N, 1.000000, 200, \"Praha\"\n"
                         "\t\tPERIOD 0,0,0,0,3,0.000000\n"
                         "\t\tSTIME NONE\n"
                         "\t\tMODE HRZ\n"
                         "\t\tSOL_OFFSET 0.000000,0.000000,0.000000\n"
                         "\t\tVIEW CENTER HRZ 0.000000, 0.000000\n"
                         "\t\tVIEW ANGLE 120.000000\n"
                         "\t\tVIEW SOL 12.000000\n"
                         "\t\tMAG STAR  4.5\n"
                         "\t\tMAG STARNAME  1.4\n"
                         "\t\tDISK_MAG 100\n"
                         "\t\tMAG NEBULAMIN 11.0\n"
                         "\t\tMAG NEBULAMAX  0.0\n"
                         "\t\tDRIVE\n"
                         "\tEND SCENE\n"
                         "END BLOCK\n";
    EXPECT_EQ(golden, scene(0));
}

TEST_F(SceneWriter, AStartupScriptHasNoDateAndEndsWithTheLimitOffset)
{
    chart->starLimitSet = -5;
    const std::string text = scene(1);
    EXPECT_EQ(std::string::npos, text.find("DATE")) << text;
    EXPECT_EQ(std::string::npos, text.find("\tMAG STAR ")) << text;
    EXPECT_NE(std::string::npos, text.find("\t\tDRIVE\n\t\tDECMAG STAR 0.5\n\t\tDRIVE\n\tEND SCENE\n")) << text;
}

TEST_F(SceneWriter, ScenesReadBackAsWritten)
{
    const char *states[] = {
        "HIDE PLANET",
        "SHOW PLANET_NAME; HIDE EARTH_NAME",
        "SHOW CONS_LINE, CONS_PICT",
        "MIRROR 2",
        "HIDE STATUSBAR",
        "MODE HRZ",
        "PERIOD 0,0,1,2,3,4.5",
        "STIME SUNSET 30MIN",
        "TIMESYS UT",
        "PERIOD 0,0,1,0,0,0; REVERSE 2024,1,1,6,30,0",
        "REALTIME 0,1,5; CONTINUE REALTIME2",
        "TRACK STAR alphaOri",
        "MODE EQT; TRACK NEBULA N224",
        "SHOW NEBULA; HIDE SUN",
        "TRACK EQT 5.5, -20",
    };
    for (const char *state : states) {
        SCOPED_TRACE(state);
        stkExecute(chart, "INIT");
        stkExecute(chart, state);
        ASSERT_STREQ("", appData->errorId);
        const std::string first = scene(0);
        const std::string path = dir.write("round.stl", first);
        stkExecute(chart, ("STL \"" + path + "\"").c_str());
        EXPECT_STREQ("", appData->errorId);
        EXPECT_EQ(first, scene(0));
        if (chart->playing)
            stkExecute(chart, "CONTINUE");
    }
    EXPECT_EQ(0, uiHooksRecordedMessageCount()) << uiHooksRecordedMessageText(0);
}

// A saved chart reopens on its own centre: the equatorial chart writes its
// centre's right ascension in hours, the others their longitude in degrees
// (a centre at 5.5 h written as 82.5 would be read as 82.5 h, elsewhere).
TEST_F(SceneWriter, ASavedCentreReopensWhereItWas)
{
    struct Case {
        const char *state;
        const char *line;            // the scene's centre line
        double longitudeDeg, latitudeDeg; // the reopened chart's centre
    } cases[] = {
        {"MODE EQT; VIEW CENTER EQT_DATE 5.5, 20", "\t\tVIEW CENTER EQT_DATE 5.500000, 20.000000\n", 82.5, 20.0},
        {"MODE EQT; VIEW CENTER EQT_DATE 23.75, -45", "\t\tVIEW CENTER EQT_DATE 23.750000, -45.000000\n", 356.25,
         -45.0},
        {"MODE ECL; VIEW CENTER ECL 82.5, 10", "\t\tVIEW CENTER ECL 82.500000, 10.000000\n", 82.5, 10.0},
        {"MODE GAL; VIEW CENTER GAL 300, -5", "\t\tVIEW CENTER GAL 300.000000, -5.000000\n", 300.0, -5.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.state);
        stkExecute(chart, "INIT");
        stkExecute(chart, c.state);
        ASSERT_STREQ("", appData->errorId);
        chartApplyTracking(chart); // the frame's recentring on the asked centre
        const std::string text = scene(0);
        EXPECT_NE(std::string::npos, text.find(c.line)) << text;
        const std::string path = dir.write("centre.stl", text);
        stkExecute(chart, "INIT");
        stkExecute(chart, ("STL \"" + path + "\"").c_str());
        EXPECT_STREQ("", appData->errorId);
        chartApplyTracking(chart);
        EXPECT_NEAR(c.longitudeDeg, chart->centerMode[0], 1e-6);
        EXPECT_NEAR(c.latitudeDeg, chart->centerMode[1], 1e-6);
    }
}

// A sky mark has no name a scene can give (the marks are read at start-up,
// not from the scene): TRACK on one is written as TRACK EQT of its J2000
// direction, in the form of a coordinate target, so that it reads back to
// the same text and the same centre.
TEST_F(SceneWriter, ATrackOnASkyMarkReadsBackAsWritten)
{
    std::snprintf(appData->skyMarkFile, sizeof appData->skyMarkFile, "%s/data/skymark.adf", TAVIK_SOURCE_DIR);
    ASSERT_EQ(1, loadSkyMarks(chart));
    struct Case {
        const char *command;
        double raHours, decDeg; // the TRACK EQT line's values
        double toleranceDeg;
    } cases[] = {
        // data/skymark.adf: EQT 18.0 66.5607 MARK 0 "North ecliptic pole" 7;
        // written to 0.001 as coordinate targets are
        {"TRACK SKYMARK \"North ecliptic pole\"", 18.0, 66.5607, 0.001},
        // GAL 0 0: the galactic centre, in ICRS by python3-erfa's g2icrs; the
        // chart's galactic frame lies about 0.01 degree from ERFA's there
        {"MODE EQT; TRACK SKYMARK \"Galactic centre\"", 17.7603330, -28.9361740, 0.02},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        stkExecute(chart, "INIT");
        stkExecute(chart, c.command);
        ASSERT_STREQ("", appData->errorId);
        const std::string first = scene(0);
        const size_t at = first.find("\t\tTRACK EQT ");
        ASSERT_NE(std::string::npos, at) << first;
        double ra = 0, dec = 0;
        ASSERT_EQ(2, std::sscanf(first.c_str() + at, "\t\tTRACK EQT %lf, %lf", &ra, &dec)) << first;
        EXPECT_NEAR(c.raHours * 15.0, ra * 15.0, c.toleranceDeg);
        EXPECT_NEAR(c.decDeg, dec, c.toleranceDeg);
        const double centre[2] = {chart->centerMode[0], chart->centerMode[1]};
        const std::string path = dir.write("mark.stl", first);
        stkExecute(chart, "INIT");
        stkExecute(chart, ("STL \"" + path + "\"").c_str());
        EXPECT_STREQ("", appData->errorId);
        EXPECT_EQ(first, scene(0));
        EXPECT_NEAR(centre[0], chart->centerMode[0], 1e-4);
        EXPECT_NEAR(centre[1], chart->centerMode[1], 1e-4);
    }
    for (int32_t i = 0; i < appData->skyMarkFileCount; ++i)
        std::free(appData->skyMarkFiles[i].table);
    std::free(appData->skyMarkFiles);
    appData->skyMarkFiles = nullptr;
    appData->skyMarkFileCount = 0;
    EXPECT_EQ(0, uiHooksRecordedMessageCount()) << uiHooksRecordedMessageText(0);
}

TEST_F(SceneWriter, PlayingIsWrittenWithItsDirectionKindAndEndDate)
{
    const struct {
        const char *state, *line;
    } cases[] = {
        {"REVERSE 2024,1,1,6,30,0", "\t\tREALTIME 0,1,5\n\t\tREVERSE 2024,1,1,6,30,0\n"},
        {"REALTIME 0,1,5; CONTINUE REALTIME2", "\t\tREALTIME 0,1,5\n\t\tCONTINUE REALTIME2\n"},
        {"REALTIME 2,0,5; CONTINUE", "\t\tREALTIME 2,0,5\n\t\tCONTINUE\n"},
        {"REALTIME 0,1,5; CONTINUE REALTIME1,2030,1,1", "\t\tREALTIME 0,1,5\n\t\tCONTINUE REALTIME1,2030,1,1,"},
    };
    for (const auto &c : cases) {
        stkExecute(chart, "INIT");
        stkExecute(chart, c.state);
        ASSERT_EQ(1, chart->playing) << c.state;
        EXPECT_NE(std::string::npos, scene(0).find(c.line)) << c.state << "\n" << scene(0);
        stkExecute(chart, "CONTINUE");
    }
}

// The first lines of the shipped element files, read by the program's own
// element-line reader.
std::string elementLine(const char *file, int row)
{
    std::FILE *f = std::fopen((std::string(TAVIK_SOURCE_DIR) + "/data/" + file).c_str(), "r");
    char line[512] = "";
    for (int i = 0; f != nullptr && i <= row; i++)
        if (!std::fgets(line, sizeof line, f))
            line[0] = '\0';
    if (f != nullptr)
        std::fclose(f);
    return line;
}

TEST_F(SceneWriter, CometsAndMinorPlanetsReadBackWithTheirOrbitBlock)
{
    const struct {
        const char *file;
        int row;
        bool comet;
    } bodies[] = {{"comet.elm", 0, true}, {"comet.elm", 1, true}, {"mp.elm", 0, false}};
    for (const char *hidden : {"", "HIDE COMET2", "HIDE MINORPLANET1", "HIDE COMET"}) {
        SCOPED_TRACE(hidden);
        stkExecute(chart, "INIT");
        for (const auto &b : bodies) {
            OrbitalElements e;
            ASSERT_EQ(1, parseElementLine(&e, elementLine(b.file, b.row).c_str()));
            ASSERT_EQ(1, b.comet ? addComet(chart, &e) : addMinorPlanet(chart, &e));
        }
        stkExecute(chart, hidden);
        ASSERT_STREQ("", appData->errorId);
        const std::string first = scene(0);
        EXPECT_NE(std::string::npos, first.find("\t\tCOMET \"Halley\"\n\t\tCOMET \"Encke\"\n\t\tMINORPLANET \"Ceres\"\n"))
            << first;
        EXPECT_NE(std::string::npos, first.find("\nBLOCK ORBIT\n:Halley\nC 1P")) << first;
        const std::string path = dir.write("bodies.stl", first);
        stkExecute(chart, ("STL \"" + path + "\"").c_str());
        EXPECT_STREQ("", appData->errorId);
        EXPECT_EQ(3, chart->cometCount + chart->minorPlanetCount);
        EXPECT_EQ(first, scene(0));
    }
}

// Bodies whose names trap a loose match: a name that begins another
// ("Hale", "Hale-Bopp"), three comets of one name, a comet and a minor
// planet of one name. Saved, INIT, STL: every body is back with its own
// line, in order, and the scene is written the same again. A second ORBIT
// block after the first, naming the same bodies with other lines, is not read.
TEST_F(SceneWriter, BodiesOfSharedOrPrefixNamesReadBackWithTheirOwnLines)
{
    struct Body {
        const char *file;
        int row; // 0-based line of the shipped file
    };
    const struct {
        const char *what;
        std::vector<Body> bodies;
    } cases[] = {
        {"Hale-Bopp and Hale", {{"comet.elm", 1259}, {"mp.elm", 958}}},
        {"Hale and Hale-Bopp", {{"mp.elm", 958}, {"comet.elm", 1259}}},
        {"three SOHO comets", {{"comet.elm", 396}, {"comet.elm", 395}, {"comet.elm", 397}}},
        {"comet and minor planet Halley", {{"mp.elm", 1786}, {"comet.elm", 0}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        stkExecute(chart, "INIT");
        std::vector<std::string> comets, minorPlanets;
        for (const Body &b : c.bodies) {
            OrbitalElements e;
            ASSERT_EQ(1, parseElementLine(&e, elementLine(b.file, b.row).c_str()));
            const bool comet = std::string(b.file) == "comet.elm";
            ASSERT_EQ(1, comet ? addComet(chart, &e) : addMinorPlanet(chart, &e));
            (comet ? comets : minorPlanets).push_back(e.lineText);
        }
        stkExecute(chart, "SHOW COMET1_NAME");
        ASSERT_STREQ("", appData->errorId);
        const std::string first = scene(0);
        // Lines of another body under each name, in a later block.
        std::string decoy = "\nBLOCK ORBIT\n";
        for (const auto &body : c.bodies) {
            OrbitalElements e;
            ASSERT_EQ(1, parseElementLine(&e, elementLine(body.file, body.row).c_str()));
            std::string name = e.name;
            name.erase(name.find_last_not_of(' ') + 1);
            decoy += ":" + name + "\n" + elementLine(body.file, body.row == 0 ? 1 : 0);
        }
        const std::string path = dir.write("bodies.stl", first + decoy);
        stkExecute(chart, "INIT");
        ASSERT_EQ(0, chart->cometCount + chart->minorPlanetCount);
        stkExecute(chart, ("STL \"" + path + "\"").c_str());
        EXPECT_STREQ("", appData->errorId);
        ASSERT_EQ(static_cast<int>(comets.size()), chart->cometCount);
        ASSERT_EQ(static_cast<int>(minorPlanets.size()), chart->minorPlanetCount);
        for (size_t i = 0; i < comets.size(); i++)
            EXPECT_EQ(comets[i], chart->cometElements[i].lineText) << "comet " << i + 1;
        for (size_t i = 0; i < minorPlanets.size(); i++)
            EXPECT_EQ(minorPlanets[i], chart->minorPlanetElements[i].lineText) << "minor planet " << i + 1;
        EXPECT_EQ(first, scene(0));
    }
}

// A statement the scene cannot hold is left out and named; the rest is
// written, so one unusual name never costs the whole scene.
TEST_F(SceneWriter, WhatCannotBeWrittenIsLeftOutAndNamed)
{
    const struct {
        const char *what, *state, *leftOut, *missing;
    } cases[] = {
        {"a site name that would end the statement", "", "the site name a\"; EXIT", "EXIT"},
        {"a comet index the table no longer holds", "TRACK COMET5", "TRACK", "\t\tTRACK"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        stkExecute(chart, "INIT");
        std::snprintf(chart->siteName, sizeof chart->siteName, "Praha");
        if (c.state[0] == '\0') {
            std::snprintf(chart->siteName, sizeof chart->siteName, "a\"; EXIT");
        } else {
            // A target on a comet index that no table holds, as a stale
            // reference would leave it.
            chart->trackState = kTrackTarget;
            chart->trackKind = kPosBody;
            chart->trackIndex = kObjectCometBase + 4;
        }
        char *text = nullptr;
        size_t size = 0;
        std::FILE *out = open_memstream(&text, &size);
        SceneLeftOut leftOut;
        EXPECT_EQ(1, writeSceneFile(chart, out, 0, &leftOut));
        std::fclose(out);
        const std::string scene(text, size);
        std::free(text);
        EXPECT_STREQ(c.leftOut, leftOut.text);
        EXPECT_EQ(std::string::npos, scene.find(c.missing)) << scene;
        EXPECT_NE(std::string::npos, scene.find("\t\tLOCATE  14.417E, 50.083N, 1.000000, 200")) << scene;
        EXPECT_NE(std::string::npos, scene.find("\t\tDRIVE\n\tEND SCENE\nEND BLOCK\n")) << scene;
        EXPECT_EQ(std::string::npos, scene.find("TRACK EARTH")) << scene;
    }
}

TEST_F(SceneWriter, AFullDeviceFailsTheSave)
{
    std::FILE *full = std::fopen("/dev/full", "w");
    if (full == nullptr)
        GTEST_SKIP() << "no /dev/full";
    std::setvbuf(full, nullptr, _IONBF, 0);
    EXPECT_EQ(0, writeSceneFile(chart, full, 0));
    std::fclose(full);
}

} // namespace
