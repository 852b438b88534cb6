// SHOW, HIDE, TOGGLE, OUTLINE, REAL, DISK, LOAD and UNLOAD through the
// interpreter, with three comets and a minor planet loaded.
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "command/keywords.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/body_names.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/palette.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<int> refreshedButtons;

// What the tool bar itself does with a refresh request: the button is
// brought up to date only when the changed bits are the bits it shows.
void recordRefresh(ChartState *, int changed, int bit, int button)
{
    if ((changed & 0xFF) == (bit & 0xFF))
        refreshedButtons.push_back(button);
}

// "恒星等級" (STAR_MAG) in EUC-JP.
const char kStarMagEucJp[] = "\xb9\xb1\xc0\xb1\xc5\xf9\xb5\xe9";

class DisplayWords : public ::testing::Test {
protected:
    void SetUp() override
    {
        appDataSetDefaults();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        uiHooks.toolbarRefreshOne = recordRefresh;
        refreshedButtons.clear();
        // Element rows as the element-file reader leaves them: comets of
        // type 'C' with every display bit but their tails off.
        loadSmallBodies(3, 1);
    }
    void TearDown() override
    {
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
    }
    void loadSmallBodies(int comets, int minorPlanets)
    {
        chart->cometCount = comets;
        chart->cometElements = static_cast<OrbitalElements *>(std::calloc(comets, sizeof(OrbitalElements)));
        chart->cometPositions = static_cast<BodyPosition *>(std::calloc(comets, sizeof(BodyPosition)));
        chart->cometTails = static_cast<CometTail *>(std::calloc(comets, sizeof(CometTail)));
        chart->cometFlags = static_cast<uint8_t *>(std::calloc(comets, 1));
        for (int i = 0; i < comets; i++) {
            chart->cometElements[i].type = 'C';
            chart->cometFlags[i] = 0x02;
        }
        chart->minorPlanetCount = minorPlanets;
        chart->minorPlanetElements =
            static_cast<OrbitalElements *>(std::calloc(minorPlanets, sizeof(OrbitalElements)));
        chart->minorPlanetPositions = static_cast<BodyPosition *>(std::calloc(minorPlanets, sizeof(BodyPosition)));
        chart->minorPlanetFlags = static_cast<uint8_t *>(std::calloc(minorPlanets, 1));
        for (int i = 0; i < minorPlanets; i++) {
            chart->minorPlanetElements[i].type = 'M';
            chart->minorPlanetFlags[i] = 0x02;
        }
    }
    std::string run(const char *text)
    {
        stkExecute(chart, text);
        return appData->errorId;
    }
    ChartState *chart = nullptr;
};

TEST_F(DisplayWords, EveryNamedObjectBitReadsBackAsTheSamePair)
{
    std::vector<int32_t> ids = {-3, -2, -1, 0, 1, 2, 3, 4, 5, 6, 7, 100, 101, 102, 10000, 10001, 10002, 20000};
    int named = 0;
    for (int32_t id : ids) {
        for (int b = 0; b < 8; b++) {
            const uint8_t bit = static_cast<uint8_t>(1 << b);
            const char *name = objectDisplayName(chart, id, bit);
            if (!name)
                continue;
            named++;
            const std::string text = name;
            int32_t gotId = 0;
            uint8_t gotBits = 0;
            ASSERT_EQ(parseObjectName(chart, text.c_str(), &gotId, &gotBits), 1) << text;
            EXPECT_EQ(gotId, id) << text;
            EXPECT_EQ(gotBits, bit) << text;
        }
    }
    EXPECT_GT(named, 0);
    const struct {
        int32_t id;
        uint8_t bit;
        const char *name; // null: no name
    } names[] = {
        {-2, 0x40, "SUN_SPOT"},   {10001, 0x40, "DUSTTAIL2"}, {101, 0x80, "IONTAIL"},
        {2, 0x20, "MARS_OBT"},    {20000, 0x04, "MINORPLANET1_NAME"},
        {-2, 0x08, nullptr},      {-1, 0x20, nullptr},        {2, 0x40, nullptr}, {20000, 0x80, nullptr},
    };
    for (const auto &n : names) {
        const char *got = objectDisplayName(chart, n.id, n.bit);
        if (n.name)
            EXPECT_STREQ(got, n.name) << n.id << " " << int(n.bit);
        else
            EXPECT_EQ(got, nullptr) << n.id << " " << int(n.bit) << " " << (got ? got : "");
    }
}

TEST_F(DisplayWords, TheJapaneseAliasOfStarMagSetsTheSameBitInBothLocales)
{
    const char *locales[] = {"C", "en_US.ISO-8859-1"};
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    for (const char *locale : locales) {
        if (!std::setlocale(LC_ALL, locale)) {
            ADD_FAILURE() << "locale " << locale << " is not available";
            continue;
        }
        const std::string words[] = {std::string("SHOW ") + kStarMagEucJp, "SHOW STAR_MAG", "show star_mag"};
        for (const std::string &w : words) {
            run("HIDE STAR_MAG");
            ASSERT_EQ(chart->starLabelFlags & 0x08, 0);
            EXPECT_EQ(run(w.c_str()), "") << locale << ": " << w;
            EXPECT_EQ(chart->starLabelFlags, 0x08) << locale << ": " << w;
        }
    }
    std::setlocale(LC_ALL, saved.c_str());
}

// The display bytes a word can reach, for "nothing else changed".
std::vector<uint8_t> displayBytes(const ChartState *c)
{
    std::vector<uint8_t> v = {c->starFlags,          c->starLabelFlags,      c->constellationFlags,
                              c->milkyWayFlags,      c->nebulaFlags,         c->nebulaTypeFlags,
                              c->nebulaCatalogFlags, c->skyFlags,            c->gridNumberFlags,
                              c->horizonGridFlags,   c->equatorialGridFlags, c->otherGridFlags,
                              c->lineNumberFlags,    c->userObjectFlags,     c->skyMarkFlags,
                              c->pictureMarkFlags,   c->traceFlags,          c->sunFlags,
                              c->moonFlags,          c->earthFlags,          c->jupiterMoonFlags,
                              c->statusBar};
    v.insert(v.end(), c->planetFlags, c->planetFlags + kPlanetCount);
    v.insert(v.end(), c->cometFlags, c->cometFlags + c->cometCount);
    v.insert(v.end(), c->minorPlanetFlags, c->minorPlanetFlags + c->minorPlanetCount);
    return v;
}

struct WordCase {
    const char *what;
    const char *setup;
    const char *command;
    const char *error;    // "" for success
    const char *errorArg;
    // The byte the case is about and its value afterwards.
    uint8_t (*byte)(const ChartState *);
    uint8_t after;
};

uint8_t sky(const ChartState *c) { return c->skyFlags; }
uint8_t nebula(const ChartState *c) { return c->nebulaFlags; }
uint8_t mars(const ChartState *c) { return c->planetFlags[2]; }
uint8_t earth(const ChartState *c) { return c->earthFlags; }
uint8_t pluto(const ChartState *c) { return c->planetFlags[7]; }
uint8_t sun(const ChartState *c) { return c->sunFlags; }
uint8_t comet1(const ChartState *c) { return c->cometFlags[0]; }
uint8_t comet2(const ChartState *c) { return c->cometFlags[1]; }
uint8_t comet3(const ChartState *c) { return c->cometFlags[2]; }
uint8_t minor1(const ChartState *c) { return c->minorPlanetFlags[0]; }
uint8_t star(const ChartState *c) { return c->starFlags; }
uint8_t constellations(const ChartState *c) { return c->constellationFlags; }

const WordCase kWordCases[] = {
    {"TOGGLE METEOR swaps shower and sporadic meteors", "HIDE SCMETEOR", "TOGGLE METEOR", "", "", sky,
     0x40 | 0x20 | 0x02 | 0x01},
    {"HIDE METEOR clears both kinds", "", "HIDE METEOR", "", "", sky, 0x40 | 0x02 | 0x01},
    {"hiding every catalogue hides the deep sky", "SHOW NEBULA", "HIDE MESSIER, NGC, IC", "", "", nebula, 0x00},
    {"hiding every type hides the deep sky", "SHOW NEBULA, NEBULA_NAME",
     "HIDE PLANETARY, DIFFUSE, GLOBE, OPEN, GALAXY, COMPOUND", "", "", nebula, 0x02},
    {"a type shown with no catalogue left shows nothing", "HIDE MESSIER, NGC, IC", "SHOW GALAXY", "", "", nebula,
     0x00},
    {"a catalogue shown again brings the deep sky back", "HIDE MESSIER, NGC, IC", "SHOW GALAXY, NGC", "", "",
     nebula, 0x01},
    {"SHOW of a type shows the deep sky", "HIDE NEBULA", "SHOW OPEN", "", "", nebula, 0x01},
    {"HIDE of a type leaves the deep sky on while others are left", "SHOW NEBULA", "HIDE OPEN", "", "", nebula,
     0x01},
    {"TOGGLE of a two-bit word switches both off when either is on", "SHOW CONS_NAME1", "TOGGLE CONS_LINE, CONS_NAME2",
     "", "", constellations, 0x01 | 0x08 | 0x02},
    {"SHOW MARS_NAME sets the name bit of Mars", "", "SHOW MARS_NAME", "", "", mars, 0x22 | 0x04},
    {"SHOW SUN_MAG is refused", "", "SHOW SUN_MAG", "stkErrorIllegalParam", "SUN_MAG", sun, 0x02},
    {"SHOW SUN_SPOT shows sunspots", "", "SHOW SUN_SPOT", "", "", sun, 0x42},
    {"SHOW COMET0 is refused", "", "SHOW COMET0", "stkErrorIllegalParam", "COMET0", comet1, 0x02},
    {"SHOW COMET4 with three comets is refused", "", "SHOW COMET4_NAME", "stkErrorIllegalParam", "COMET4_NAME",
     comet3, 0x02},
    {"SHOW COMET5 with three comets is refused", "", "SHOW COMET5", "stkErrorIllegalParam", "COMET5", comet3, 0x02},
    {"SHOW COMET01 is refused: no leading zeros", "", "SHOW COMET01", "stkErrorIllegalParam", "COMET01", comet1,
     0x02},
    {"SHOW COMET99999999999 is refused", "", "SHOW COMET99999999999", "stkErrorIllegalParam", "COMET99999999999",
     comet1, 0x02},
    {"SHOW COMET3_OBT reaches the third comet", "", "SHOW COMET3_OBT", "", "", comet3, 0x22},
    {"SHOW DUSTTAIL2 sets the second comet's dust tail", "", "SHOW DUSTTAIL2", "", "", comet2, 0x42},
    {"SHOW IONTAIL reaches every comet", "", "SHOW IONTAIL", "", "", comet3, 0x82},
    {"HIDE COMET hides every comet", "", "HIDE COMET", "", "", comet2, 0x00},
    {"SHOW MINORPLANET_NAME names the minor planets", "", "SHOW MINORPLANET_NAME", "", "", minor1, 0x06},
    {"HIDE PLANET hides the Earth", "", "HIDE PLANET", "", "", earth, 0x20},
    {"HIDE PLANET hides Pluto", "", "HIDE PLANET", "", "", pluto, 0x20},
    {"HIDE EARTH leaves the planets", "", "HIDE EARTH", "", "", pluto, 0x22},
    {"SHOW STAR, XYZ, NEBULA sets STAR and reports XYZ", "HIDE STAR", "SHOW STAR, XYZ, NEBULA",
     "stkErrorIllegalParam", "XYZ", star, 0x01},
    {"... and leaves NEBULA unchanged", "HIDE NEBULA", "SHOW STAR, XYZ, NEBULA", "stkErrorIllegalParam", "XYZ",
     nebula, 0x00},
    {"SHOW without a word is refused", "", "SHOW", "stkErrorIllegalParam", "", star, 0x01},
};

TEST_F(DisplayWords, EdgeCaseTable)
{
    for (const WordCase &c : kWordCases) {
        TearDown();
        SetUp();
        ASSERT_EQ(run(c.setup), "") << c.what;
        EXPECT_EQ(run(c.command), c.error) << c.what;
        EXPECT_STREQ(appData->errorArg, c.errorArg) << c.what;
        EXPECT_EQ(c.byte(chart), c.after) << c.what;
    }
}

TEST_F(DisplayWords, AcceptedWordsThatSwitchNothingChangeNothing)
{
    const std::vector<uint8_t> before = displayBytes(chart);
    const char *words[] = {"SHOW MENUBAR", "HIDE TOOLBAR", "TOGGLE CTRLMENU", "SHOW VIEW_CIRCLE, IMAGE_MARK"};
    for (const char *w : words) {
        EXPECT_EQ(run(w), "") << w;
        EXPECT_EQ(displayBytes(chart), before) << w;
    }
}

TEST_F(DisplayWords, TheStatusBarMovesTheChartsTopEdge)
{
    appData->fontSetExtents[StatusFontset].maxLogicalExtent.height = 15;
    run("HIDE STATUSBAR");
    EXPECT_EQ(chart->statusBar, 0);
    EXPECT_EQ(chart->chartRect.y, 0);
    run("SHOW STATUSBAR");
    EXPECT_EQ(chart->chartRect.y, 18) << "15 pixels of text and a fifth more";
}

struct RefreshCase {
    const char *command;
    std::vector<int> buttons;
};

TEST_F(DisplayWords, EachWordRefreshesExactlyTheButtonsThatShowItsBits)
{
    const RefreshCase cases[] = {
        {"SHOW CONS_NAME2", {kToolbarConsname}},   {"SHOW CONS_LINE", {kToolbarConsline}},
        {"SHOW CONS_NAME1", {}},                   {"SHOW CONS_LIMIT", {}},
        {"TOGGLE NEBULA", {kToolbarNebula}},       {"SHOW NEBULA_NAME", {}},
        {"SHOW GALAXY", {kToolbarNebula}},         {"HIDE MESSIER", {}},
        {"HIDE MESSIER, NGC, IC", {kToolbarNebula}}, {"TOGGLE DAYLIGHT", {kToolbarDaylight}},
        {"SHOW TWILIGHT", {}},                     {"SHOW METEOR", {}},
        {"SHOW HRZ_GRID", {kToolbarGridHrz}},      {"SHOW DIR", {}},
        {"SHOW EQT_GRID_DATE", {kToolbarGridEqt}}, {"SHOW EQT_GRID_2000", {}},
        {"SHOW TRACE", {kToolbarTrace}},           {"SHOW MILKYWAY", {kToolbarMilkyway}},
        {"SHOW PICTUREMARK", {kToolbarPicMark}},   {"SHOW SKYMARK", {}},
        {"TOGGLE PLANET_NAME", {kToolbarPlanetname}}, {"SHOW MARS_NAME", {kToolbarPlanetname}},
        {"SHOW EARTH_NAME", {kToolbarPlanetname}}, {"SHOW PLANET", {}},
        {"SHOW MOON_NAME", {}},                    {"SHOW COMET_NAME", {}},
        {"SHOW STAR, JMOON_NAME, GAL", {}},
    };
    for (const RefreshCase &c : cases) {
        refreshedButtons.clear();
        EXPECT_EQ(run(c.command), "") << c.command;
        EXPECT_EQ(refreshedButtons, c.buttons) << c.command;
    }
}

struct StyleCase {
    const char *command;
    const char *error;
    const char *errorArg;
    uint8_t sun, moon, mars, pluto;
    double marsJd; // the planet's computed record's time stamp afterwards
};

TEST_F(DisplayWords, OutlineRealAndDiskTable)
{
    const double kFrameJd = 2451545.0;
    const StyleCase cases[] = {
        {"OUTLINE SUN, MOON", "", "", 0x03, 0x03, 0x22, 0x22, kFrameJd},
        {"OUTLINE SUN, XYZ, MOON", "stkErrorIllegalParam", "XYZ", 0x03, 0x02, 0x22, 0x22, kFrameJd},
        {"OUTLINE MARS", "stkErrorIllegalParam", "MARS", 0x02, 0x02, 0x22, 0x22, kFrameJd},
        {"OUTLINE", "stkErrorIllegalParam", "", 0x02, 0x02, 0x22, 0x22, kFrameJd},
        {"DISK MARS", "", "", 0x02, 0x02, 0x23, 0x22, 4.0e7},
        {"DISK PLANET", "", "", 0x02, 0x02, 0x23, 0x23, 4.0e7},
        {"DISK SUN", "stkErrorIllegalParam", "SUN", 0x02, 0x02, 0x22, 0x22, kFrameJd},
        {"DISK MARS_NAME", "stkErrorIllegalParam", "MARS_NAME", 0x02, 0x02, 0x22, 0x22, kFrameJd},
        {"DISK PLANET; REAL MARS, MOON", "", "", 0x02, 0x02, 0x22, 0x23, 4.0e7},
        {"DISK PLANET; OUTLINE SUN; REAL PLANET, SUN", "", "", 0x02, 0x02, 0x22, 0x22, 4.0e7},
        {"REAL EARTH", "stkErrorIllegalParam", "EARTH", 0x02, 0x02, 0x22, 0x22, kFrameJd},
    };
    for (const StyleCase &c : cases) {
        run("REAL PLANET, SUN, MOON");
        for (SolarBodyRecord &p : chart->planets)
            p.jd = kFrameJd; // as the last frame left them
        EXPECT_EQ(run(c.command), c.error) << c.command;
        EXPECT_STREQ(appData->errorArg, c.errorArg) << c.command;
        EXPECT_EQ(chart->sunFlags, c.sun) << c.command;
        EXPECT_EQ(chart->moonFlags, c.moon) << c.command;
        EXPECT_EQ(chart->planetFlags[kObjectMars], c.mars) << c.command;
        EXPECT_EQ(chart->planetFlags[7], c.pluto) << c.command;
        // A planet switched to a disc is recomputed by the next frame.
        EXPECT_EQ(chart->planets[kObjectMars].jd, c.marsJd) << c.command;
    }
}

struct LoadCase {
    const char *command;
    const char *error;
    const char *errorArg;
};

TEST_F(DisplayWords, LoadAndUnloadTable)
{
    const LoadCase cases[] = {
        {"LOAD", "stkErrorIllegalParam", ""},
        {"LOAD XYZ, a", "stkErrorIllegalParam", "XYZ"},
        {"LOAD AD", "stkErrorIllegalParam", "AD"},
        {"LOAD ad, no-such-objects.adf", "stkErrorFileNotFound", "no-such-objects.adf"},
        {"LOAD CLICKDATA", "stkErrorIllegalParam", ""},
        {"LOAD CLICKDATA, no-such.cdf", "stkErrorFileNotFound", "no-such.cdf"},
        {"UNLOAD", "stkErrorIllegalParam", ""},
        {"UNLOAD XYZ", "stkErrorIllegalParam", "XYZ"},
        {"UNLOAD CLICKDATA", "", ""},
        {"UNLOAD AD, no-such-objects.adf", "", ""},
    };
    for (const LoadCase &c : cases) {
        EXPECT_EQ(run(c.command), c.error) << c.command;
        EXPECT_STREQ(appData->errorArg, c.errorArg) << c.command;
    }
    EXPECT_STREQ(appData->clickDataFile, "") << "nothing was loaded";
}

TEST_F(DisplayWords, UnloadAdAloneFreesEveryUserObjectFile)
{
    chart->userObjectFileCount = 2;
    chart->userObjectFiles =
        static_cast<UserObjectFileEntry *>(std::calloc(2, sizeof(UserObjectFileEntry)));
    for (int i = 0; i < 2; i++) {
        chart->userObjectFiles[i].table = static_cast<UserObject *>(std::calloc(1, sizeof(UserObject)));
        chart->userObjectFiles[i].table[0].type = kUserObjectTableEnd;
    }
    EXPECT_EQ(run("UNLOAD AD"), "");
    EXPECT_EQ(chart->userObjectFileCount, 0);
    EXPECT_EQ(chart->userObjectFiles, nullptr);
}

TEST_F(DisplayWords, LoadAdReportsABadLineAsTheCommandsError)
{
    TempDir dir;
    const std::string bad = dir.write("bad.adf", "# objects\n1 2 A\nx;EXIT\n3 4 B\n");
    EXPECT_EQ(run(("LOAD AD, \"" + bad + "\"").c_str()), "stkErrorInUserObjectFile");
    EXPECT_STREQ(appData->errorArg, "line 3 of bad.adf");
    EXPECT_EQ(chart->userObjectFileCount, 0);
    // The interpreter's one report of the command's error, and no box of the loader's own.
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_NE(std::string(uiHooksRecordedMessageText(0)).find("line 3 of bad.adf"), std::string::npos)
        << uiHooksRecordedMessageText(0);
}

TEST_F(DisplayWords, UnloadingAFileDropsAUserObjectTargetAndPick)
{
    TempDir dir;
    const std::string first = dir.write("first.adf", "1 2 A\n3 4 B\n");
    const std::string second = dir.write("second.adf", "5 6 C\n7 8 D\n");
    EXPECT_EQ(run(("LOAD AD, \"" + first + "\"").c_str()), "");
    EXPECT_EQ(run(("LOAD AD, \"" + second + "\"").c_str()), "");
    ASSERT_EQ(chart->userObjectFileCount, 2);
    EXPECT_EQ(run("TRACK AD D"), "");
    EXPECT_EQ(chart->trackState, 2);
    EXPECT_EQ(chart->trackIndex, 3);
    chart->clickFlags = 1; // a click on C
    chart->hitKind = kPosUserObject;
    chart->hitIndex = 2;
    EXPECT_EQ(run(("UNLOAD AD, \"" + first + "\"").c_str()), "");
    EXPECT_EQ(chart->userObjectFileCount, 1);
    EXPECT_EQ(chart->trackState, 0) << "no target";
    EXPECT_NE(chart->hitKind, kPosUserObject) << "no pick";
    EXPECT_EQ(run("UNLOAD AD"), "");
}

int longHome(const char *, char *dst, int len)
{
    const std::string home = "/" + std::string(240, 'h');
    std::snprintf(dst, len, "%s", home.c_str());
    return 1;
}

TEST_F(DisplayWords, AHomeTooLongForTheExpandedPathIsRefusedNotCut)
{
    envSetHomeLookup(longHome);
    EXPECT_EQ(run("LOAD AD, ~/objects/very-long-name.adf"), "stkErrorIllegalParam");
    EXPECT_STREQ(appData->errorArg, "~/objects/very-long-name.adf");
    EXPECT_EQ(run("UNLOAD AD, ~/objects/very-long-name.adf"), "stkErrorIllegalParam");
    EXPECT_EQ(run("LOAD AD, ~/short.adf"), "stkErrorFileNotFound") << "a path that fits goes on";
    envSetHomeLookup(nullptr);
}

TEST_F(DisplayWords, TenWordsOf250CharactersAreRefusedWithoutHarm)
{
    // As a scene line could bring them: stkDispatch takes them unsplit.
    std::vector<std::string> words(kStkMaxParams);
    char *params[kStkMaxParams];
    for (int i = 0; i < kStkMaxParams; i++) {
        words[i] = std::string(250, static_cast<char>('a' + i));
        params[i] = &words[i][0];
    }
    const std::vector<uint8_t> before = displayBytes(chart);
    const char *commands[] = {"SHOW", "HIDE", "TOGGLE", "OUTLINE", "REAL", "DISK"};
    for (const char *c : commands) {
        stkClearError();
        stkDispatch(chart, c, params);
        EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam") << c;
        EXPECT_EQ(std::strlen(appData->errorArg), 39u) << c;
        EXPECT_EQ(displayBytes(chart), before) << c;
    }
    words[0] = std::string(250, '0');
    words[0].replace(0, 5, "COMET");
    params[0] = &words[0][0];
    stkClearError();
    stkDispatch(chart, "SHOW", params);
    EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam");
}

} // namespace
