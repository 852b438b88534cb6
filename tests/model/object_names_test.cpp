// Object names and look-ups by tables of cases, over the built-in catalogues
// and small loaded tables of comets, minor planets and user objects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "astro/orbit_records.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/body_names.h"
#include "model/deep_sky_names.h"
#include "model/object_names.h"
#include "model/position_text.h"
#include "model/star_limit.h"
#include "model/star_names.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "resources/catalogs.h"
#include "tests/support/catalog_rows.h"

namespace {

OrbitalElements makeElements(char type, const char *id, const char *desig, const char *name, const char *ext)
{
    OrbitalElements e{};
    e.type = type;
    std::snprintf(e.id, sizeof e.id, "%-6s", id);
    std::snprintf(e.designation, sizeof e.designation, "%-10s", desig);
    std::snprintf(e.name, sizeof e.name, "%-30s", name);
    std::snprintf(e.extension, sizeof e.extension, "%-15s", ext);
    return e;
}

UserObject makeObject(uint8_t type, const char *name)
{
    UserObject o{};
    o.type = type;
    std::snprintf(o.name, sizeof o.name, "%s", name);
    return o;
}

int32_t messierIndex(int32_t number)
{
    for (int32_t i = 0; i < nebulaCounts[0]; ++i)
        if ((nebulaRecords[i].number & nebulaNumberMask) == number)
            return i;
    return -1;
}

class ObjectNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        chart = new ChartState{};
        chartStateSetDefaults(chart);
        comets = {makeElements('C', "1P", "", "Halley", "1P/Halley"),
                  makeElements('N', "", "X/1000", "Not a comet", ""),
                  makeElements('C', "", "C/1995O1", "Hale-Bopp", "C/1995 O1")};
        minors = {makeElements('N', "9999", "", "Skipped", ""),
                  makeElements('M', "1", "A801 AA", "Ceres", "1 Ceres")};
        chart->cometElements = comets.data();
        chart->cometCount = static_cast<int32_t>(comets.size());
        chart->minorPlanetElements = minors.data();
        chart->minorPlanetCount = static_cast<int32_t>(minors.size());

        fileA = {makeObject(kUserObjectLine, ""), makeObject(kUserObjectPoint, "Vega"),
                 makeObject(kUserObjectEnd, ""), makeObject(kUserObjectMark, "Quote\"d"),
                 makeObject(kUserObjectTableEnd, "")};
        fileB = {makeObject(kUserObjectStar, "Deneb"), makeObject(kUserObjectStar, "vega"),
                 makeObject(kUserObjectMark, "Bad; EXIT"), makeObject(kUserObjectTableEnd, "")};
        files[0] = {4, "a.adf", fileA.data()};
        files[1] = {3, "b.adf", fileB.data()};
        chart->userObjectFiles = files;
        chart->userObjectFileCount = 2;
        marks[0] = {2, "skymark.adf", fileB.data()};
        appData->skyMarkFiles = marks;
        appData->skyMarkFileCount = 1;
    }
    void TearDown() override
    {
        appData->skyMarkFiles = nullptr;
        appData->skyMarkFileCount = 0;
        delete chart;
    }

    ChartState *chart = nullptr;
    std::vector<OrbitalElements> comets, minors;
    std::vector<UserObject> fileA, fileB;
    UserObjectFileEntry files[2];
    UserObjectFileEntry marks[1];
};

TEST(StringHelpers, CaseAndNullRules)
{
    struct Case {
        const char *a, *b;
        int equal;
    } cases[] = {
        {"abc", "ABC", 1}, {"", "", 1}, {"ab", "abc", 0}, {"abc", "ab", 0},
        {"abc", nullptr, 0}, // a missing parameter never matches a keyword
        {nullptr, "abc", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(strEqualNoCase(c.a, c.b), c.equal) << (c.a ? c.a : "null") << " / " << (c.b ? c.b : "null");
    char text[] = "Alpha Ori 58";
    EXPECT_STREQ(strUpper(text), "ALPHA ORI 58");
    EXPECT_STREQ(strLower(text), "alpha ori 58");
    EXPECT_EQ(strUpper(nullptr), nullptr);
}

TEST(StringHelpers, FlagCombineSwitchesMultiBitWordsAsAWhole)
{
    struct Case {
        uint8_t value, bits;
        int op;
        uint8_t result;
    } cases[] = {
        {0x01, 0x06, kFlagShow, 0x07}, {0x07, 0x06, kFlagHide, 0x01},
        {0x01, 0x06, kFlagToggle, 0x07}, {0x03, 0x06, kFlagToggle, 0x01}, // one bit on: all off
        {0x07, 0x06, kFlagToggle, 0x01},
    };
    for (const Case &c : cases)
        EXPECT_EQ(flagCombine(c.value, c.bits, c.op), c.result) << int(c.value) << " op " << c.op;
}

TEST_F(ObjectNames, BodyNamesInCommandAndLocalizedForm)
{
    struct Case {
        int32_t id;
        int commandForm;
        const char *name;
    } cases[] = {
        {-3, 1, "EARTH"}, {-2, 1, "SUN"}, {-1, 1, "MOON"}, {0, 1, "MERCURY"}, {7, 1, "PLUTO"},
        {8, 1, "IO"}, {11, 1, "CALLIST"}, // seven letters
        {12, 1, "EARTH"}, {-4, 1, "EARTH"}, // unknown ids name the Earth
        {10003, 1, "EARTH"},               // a comet that is not loaded
        {-2, 0, "Sun"}, {11, 0, "Callist"}, {12, 0, "Earth"},
        {10000, 0, "Halley                        "}, {20001, 1, "Ceres                         "},
    };
    for (const Case &c : cases) {
        char buf[64];
        EXPECT_STREQ(objectName(chart, c.id, c.commandForm, buf, sizeof buf), c.name) << c.id;
    }
    char small[4];
    EXPECT_STREQ(objectName(chart, 10000, 1, small, sizeof small), "Hal"); // always terminated
    EXPECT_STREQ(objectName(chart, 5, 1, small, sizeof small), "URA");
}

TEST_F(ObjectNames, FindObjectByNameRefusesSuffixesAndFallsBackToElements)
{
    struct Case {
        const char *name;
        int found;
        int32_t id;
    } cases[] = {
        {"MARS", 1, 2}, {"mars", 1, 2}, {"EARTH", 1, -3}, {"MARS_NAME", 0, 0}, {"SUN_SPOT", 0, 0},
        {"COMET1", 1, 10000}, {"COMET2", 1, 10002}, // the second comet of type 'C'
        {"COMET3", 0, 0}, {"MINORPLANET1", 1, 20001}, {"PLANET", 1, 100},
        {"Halley", 1, 10000}, {"halley", 1, 10000}, {"1P", 1, 10000}, {"1P/HALLEY", 1, 10000},
        {"c/1995o1", 1, 10002}, {"C/1995O1   ", 1, 10002}, // any case, with trailing blanks
        {"   ", 0, 0},              // a blank name matches no blank field
        {"Hale-Bopp", 1, 10002}, {"X/1000", 0, 0},          // a row of type 'N' is no comet
        {"Ceres", 1, 20001}, {"A801 AA", 1, 20001}, {"Skipped", 0, 0}, {"Vulcan", 0, 0}, {"", 0, 0},
    };
    for (const Case &c : cases) {
        int32_t id = -99;
        EXPECT_EQ(findObjectByName(chart, c.name, &id), c.found) << c.name;
        if (c.found) {
            EXPECT_EQ(id, c.id) << c.name;
        }
    }
}

TEST_F(ObjectNames, ObjectNameFormsAndTheirDisplayNamesRoundTrip)
{
    struct Case {
        const char *word;
        int found;
        int32_t id;
        uint8_t bits;
    } cases[] = {
        {"SUN_SPOT", 1, -2, 0x40}, {"MOON_MAG", 0, 0, 0}, {"SUN_OBT", 0, 0, 0}, {"MOON_DATE", 1, -1, 0x10},
        {"JUPITER_OBT", 1, 3, 0x20}, {"EARTH_NAME", 1, -3, 0x04}, {"COMET2_NAME", 1, 10002, 0x04},
        {"COMET_MAG", 1, 101, 0x08}, {"PLANET_DATE", 1, 100, 0x10}, {"DUSTTAIL", 1, 101, 0x40},
        {"IONTAIL1", 1, 10000, 0x80}, {"IONTAIL9", 0, 0, 0}, {"MARSX", 0, 0, 0}, {"COMET0", 0, 0, 0},
    };
    for (const Case &c : cases) {
        int32_t id = 0;
        uint8_t bits = 0;
        ASSERT_EQ(parseObjectName(chart, c.word, &id, &bits), c.found) << c.word;
        if (!c.found)
            continue;
        EXPECT_EQ(id, c.id) << c.word;
        EXPECT_EQ(bits, c.bits) << c.word;
        const char *back = objectDisplayName(chart, id, bits);
        ASSERT_NE(back, nullptr) << c.word;
        EXPECT_STREQ(back, c.word);
    }
    EXPECT_EQ(objectDisplayName(chart, 3, 0x01), nullptr);
    EXPECT_EQ(objectDisplayName(chart, 3, 0x40), nullptr);
}

TEST_F(ObjectNames, SatellitesUserObjectsSkyMarksAndNamedPoints)
{
    int32_t i = -1;
    EXPECT_TRUE(findSatelliteByName(chart, "callist", &i));
    EXPECT_EQ(i, 3);
    i = -1;
    EXPECT_TRUE(findSatelliteByName(chart, "Callisto", &i)) << "the typed name and the written one both name it";
    EXPECT_EQ(i, 3);
    EXPECT_FALSE(findSatelliteByName(chart, "CALLISTOS", &i));

    struct Case {
        const char *name;
        int user, userIndex, mark, markIndex;
    } cases[] = {
        {"VEGA", 1, 1, 1, 1},  // the first file's Vega; the sky marks hold only file B's first two rows
        {"Deneb", 1, 4, 1, 0}, // index counts every record of the files passed
        {"", 0, 0, 0, 0},      // empty names are skipped
        {"Altair", 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        int32_t index = -1;
        EXPECT_EQ(findUserObjectByName(chart, c.name, &index), c.user) << c.name;
        if (c.user) {
            EXPECT_EQ(index, c.userIndex) << c.name;
        }
        EXPECT_EQ(findSkyMarkByName(chart, c.name, &index), c.mark) << c.name;
        if (c.mark) {
            EXPECT_EQ(index, c.markIndex) << c.name;
        }
    }
    EXPECT_TRUE(findTwoEntryName("lmc", &i));
    EXPECT_EQ(i, 0);
    EXPECT_TRUE(findTwoEntryName("SMC", &i));
    EXPECT_EQ(i, 1);
    EXPECT_FALSE(findTwoEntryName("XMC", &i));

    OrbitalElements blankName = makeElements('C', "2P", "", "", "");
    EXPECT_EQ(pickNameField(&blankName), blankName.id);
    OrbitalElements blank = makeElements('C', "", "", "", "");
    EXPECT_EQ(pickNameField(&blank), nullptr);
    EXPECT_EQ(pickNameField(&comets[0]), comets[0].name);
}

TEST_F(ObjectNames, StarNamesFindTheirRows)
{
    int32_t betelgeuse = starNamed("Betelgeuse"), polaris = starNamed("Polaris");
    int32_t rigilKent = starNamed("Rigel Kentaurus"), toliman = starNamed("Toliman");
    ASSERT_GE(betelgeuse, 0);
    ASSERT_GE(polaris, 0);
    ASSERT_GE(rigilKent, 0);
    ASSERT_GE(toliman, 0);
    struct Case {
        const char *text;
        int found;
        int32_t star;
    } cases[] = {
        {"alphaOri", 1, betelgeuse}, {"ALPHAORI", 1, betelgeuse}, {"58Ori", 1, betelgeuse},
        {"alphaorion", 1, betelgeuse}, {"Betelgeuse", 1, betelgeuse}, {"betelgeuse", 1, betelgeuse},
        {"alphaUMi", 1, polaris}, {"POLARIS", 1, polaris},
        {"alpha1Cen", 1, rigilKent}, {"alpha2Cen", 1, toliman}, // superscript before the abbreviation
        {"alphaCen", 1, rigilKent},                              // no superscript: the first entry
        {"alphaXyz", 0, 0}, {"999Ori", 0, 0}, {"alpha", 0, 0}, {"Vulcan", 0, 0}, {"", 0, 0},
    };
    for (const Case &c : cases) {
        char text[64];
        std::snprintf(text, sizeof text, "%s", c.text);
        int32_t star = -1;
        EXPECT_EQ(parseStarName(text, &star), c.found) << c.text;
        if (c.found) {
            EXPECT_EQ(star, c.star) << c.text;
        }
    }
    EXPECT_FALSE(parseStarName(nullptr, nullptr));

    // A constellation that begins with a Greek letter ("Tau", "Pic") still
    // finds its first designated star.
    for (const char *bare : {"Tau", "Pic", "Mus", "Ori"}) {
        char text[8];
        std::snprintf(text, sizeof text, "%s", bare);
        int32_t star = -1;
        EXPECT_TRUE(parseBayerName(text, &star)) << bare;
    }

    // A proper name of the local star-name file.
    int32_t row = 0;
    while (starNames[row].index != betelgeuse)
        ++row;
    char local[] = "Ibt al Jauzah";
    starNames[row].localName = local;
    char text[] = "ibt al jauzah";
    int32_t star = -1;
    EXPECT_TRUE(parseStarName(text, &star));
    EXPECT_EQ(star, betelgeuse);
    EXPECT_STREQ(starCommonNameLookup(betelgeuse), "Ibt al Jauzah");
    starNames[row].localName = nullptr;
    EXPECT_STREQ(starCommonNameLookup(betelgeuse), "Betelgeuse");
}

TEST_F(ObjectNames, StarDesignationIndexAndUnpack)
{
    int32_t d = -1, named = -1;
    ASSERT_TRUE(starDesignationIndex(0, &d, &named));
    EXPECT_EQ(d, 0);
    EXPECT_EQ(named, 1);
    uint8_t letter, number, flamsteed, cons;
    starDesignationUnpack(d, &letter, &number, &flamsteed, &cons);
    EXPECT_EQ(letter, 1);
    EXPECT_EQ(flamsteed, 9); // 9 alpha CMa
    EXPECT_STREQ(constellations[cons].abbreviation, "CMa");
    EXPECT_FALSE(starDesignationIndex(19424, &d, &named));
    EXPECT_FALSE(starDesignationIndex(-1, &d, &named));
    starDesignationUnpack(-5, &letter, &number, &flamsteed, &cons); // out of range gives zeros
    EXPECT_EQ(letter + number + flamsteed + cons, 0);
    // Superscripts survive the packing.
    int32_t toliman = starNamed("Toliman");
    ASSERT_TRUE(starDesignationIndex(toliman, &d, &named));
    starDesignationUnpack(d, &letter, &number, &flamsteed, &cons);
    EXPECT_EQ(number, 2);
}

TEST_F(ObjectNames, ConstellationsByAbbreviationLocalAndLatinName)
{
    struct Case {
        const char *text;
        const char *abbr; // null: not found
    } cases[] = {
        {"Ori", "Ori"}, {"orion", "Ori"}, {"ORION", "Ori"}, {"CVn", "CVn"}, {"canes venatici", "CVn"},
        {"Ser", "Ser"}, {"Serpens", "Ser"}, {"Xyz", nullptr}, {"", nullptr},
    };
    for (const Case &c : cases) {
        char text[32];
        std::snprintf(text, sizeof text, "%s", c.text);
        int row = findConstellation(text);
        if (!c.abbr) {
            EXPECT_EQ(row, -1) << c.text;
            continue;
        }
        ASSERT_GE(row, 0) << c.text;
        EXPECT_LT(row, 88) << "the second Ser row is never found";
        EXPECT_STREQ(constellations[row].abbreviation, c.abbr);
    }
    EXPECT_EQ(findConstellation(nullptr), -1);
    char local[] = "Serpens Cauda";
    int ser = findConstellation(local);
    EXPECT_EQ(ser, -1); // local names are null until the name file is read
}

TEST_F(ObjectNames, NebulaNamesInEveryForm)
{
    int32_t m31 = messierIndex(31);
    ASSERT_GE(m31, 0);
    double p31[2];
    ASSERT_TRUE(nebulaPosition(m31, p31));
    EXPECT_NEAR(p31[0], 10.68, 0.05);
    EXPECT_NEAR(p31[1], 41.27, 0.05);
    struct Case {
        const char *text;
        int found;
        int catalog; // 0 M, 1 NGC, 2 IC
    } cases[] = {
        {"M31", 1, 0}, {"m31", 1, 0}, {"M31x", 1, 0}, {"NGC224", 1, 1}, {"ngc224", 1, 1}, {"N224", 1, 1},
        {"IC434", 1, 2}, {"I434", 1, 2}, {"ic434", 1, 2}, {"M33", 1, 0}, {"M42", 1, 0},
        {"NG224", 0, 0}, // number 0 does not exist
        {"M0", 0, 0}, {"M111", 0, 0}, {"X31", 0, 0}, {"M-31", 0, 0}, {"M99999999999999999999", 0, 0},
        {"", 0, 0}, {"M8223", 0, 0}, // beyond 13 bits; must not alias M31
    };
    for (const Case &c : cases) {
        int32_t index = -1;
        ASSERT_EQ(parseNebulaName(c.text, &index), c.found) << c.text;
        if (!c.found)
            continue;
        EXPECT_GE(index, nebulaFirst[c.catalog]) << c.text;
        EXPECT_LT(index, nebulaFirst[c.catalog] + nebulaCounts[c.catalog]) << c.text;
    }
    int32_t n224 = -1;
    ASSERT_TRUE(parseNebulaName("N224", &n224));
    double p224[2];
    ASSERT_TRUE(nebulaPosition(n224, p224));
    EXPECT_DOUBLE_EQ(p224[0], p31[0]);
    EXPECT_DOUBLE_EQ(p224[1], p31[1]);
    EXPECT_FALSE(parseNebulaName(nullptr, &n224));
    EXPECT_FALSE(nebulaPosition(nebulaTotalCount, p224));
    EXPECT_EQ(nebulaCount(), 10009);
    char buf[32];
    EXPECT_STREQ(nebulaTypeName(4, buf, sizeof buf), "Galaxy");
    EXPECT_STREQ(nebulaTypeName(6, buf, sizeof buf), "");
    EXPECT_STREQ(nebulaTypeName(-1, buf, sizeof buf), "");
}

TEST_F(ObjectNames, FormatPositionSpecWritesWhatTheParsersReadBack)
{
    char buf[64];
    struct Case {
        int32_t kind, index;
        int ok;
        const char *text;
    } cases[] = {
        {kPosStar, 0, 1, "STAR alphaCMa"},
        {kPosStar, starNamed("Toliman"), 1, "STAR alpha2Cen"},
        {kPosBody, 3, 1, "JUPITER"}, {kPosBody, -3, 1, "EARTH"},
        {kPosBody, 10000, 1, "COMET1"}, {kPosBody, 10002, 1, "COMET2"}, // ordinal among 'C' rows
        {kPosBody, 10001, 0, ""},                                       // a row of type 'N' cannot be named
        {kPosBody, 20001, 1, "MINORPLANET1"},
        {kPosCons, 88, 1, "CONS Ser"}, {kPosCons, 89, 0, ""},
        {kPosNebula, messierIndex(31), 1, "NEBULA M31"},
        {kPosJupiterMoon, 3, 1, "CALLIST"}, {kPosJupiterMoon, 4, 0, ""},
        {kPosUserObject, 1, 1, "AD \"Vega\""}, {kPosUserObject, 4, 1, "AD \"Deneb\""},
        {kPosUserObject, 3, 0, ""}, // a quote in the name would end the word
        {kPosUserObject, 6, 0, ""}, // a ";" would start a new statement
        {kPosUserObject, 7, 0, ""}, // beyond the loaded objects
        {kPosNamedPoint, 1, 1, "SMC"}, {kPosNamedPoint, 2, 0, ""},
        {kPosStar, -1, 0, ""}, {kPosStar, brightStarCount, 0, ""}, {kPosEqt, 0, 0, ""}, {57, 0, 0, ""},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(formatPositionSpec(chart, c.kind, c.index, buf, sizeof buf), c.ok) << c.kind << "/" << c.index;
        if (c.ok) {
            EXPECT_STREQ(buf, c.text) << c.kind << "/" << c.index;
        }
    }
    EXPECT_FALSE(formatPositionSpec(chart, kPosCons, 0, buf, 6)); // "CONS And" does not fit

    // An NGC object without a Messier number is written with its own letter.
    int32_t ngc = nebulaFirst[1];
    while (nebulaRecords[ngc].number & nebulaFlagMessier)
        ++ngc;
    ASSERT_TRUE(formatPositionSpec(chart, kPosNebula, ngc, buf, sizeof buf));
    int32_t back = -1;
    ASSERT_TRUE(parseNebulaName(buf + 7, &back));
    EXPECT_EQ(back, ngc);

    // Every bright star is written as a designation or as coordinates, and a
    // designation reads back to a star of the same designation entry.
    int32_t coordinates = 0;
    for (int32_t star = 0; star < brightStarCount; ++star) {
        if (!formatPositionSpec(chart, kPosStar, star, buf, sizeof buf))
            continue;
        if (std::strncmp(buf, "EQT ", 4) == 0) {
            ++coordinates;
            continue;
        }
        ASSERT_EQ(std::strncmp(buf, "STAR ", 5), 0) << buf;
        int32_t found = -1;
        ASSERT_TRUE(parseStarName(buf + 5, &found)) << buf;
        char again[64];
        ASSERT_TRUE(formatPositionSpec(chart, kPosStar, found, again, sizeof again));
        strUpper(again);
        strUpper(buf);
        EXPECT_STREQ(again, buf) << "star " << star;
    }
    EXPECT_GT(coordinates, 1000);
}

TEST_F(ObjectNames, StarLastIndexFollowsTheLimit)
{
    struct Case {
        int32_t limit;
        int ok;
        int32_t last;
    } cases[] = {
        {-16, 0, 0}, {-15, 1, 0}, {-8, 1, 0}, {-7, 1, 1}, {-1, 1, 1},
        {0, 1, starLimitCounts[0] - 1}, {45, 1, starLimitCounts[45] - 1}, {64, 1, starLimitCounts[64] - 1},
        {65, 1, brightStarCount - 1}, {400, 1, brightStarCount - 1},
    };
    for (const Case &c : cases) {
        chart->starLimit = c.limit;
        int32_t last = -1;
        EXPECT_EQ(starLastIndexForLimit(chart, &last), c.ok) << c.limit;
        if (c.ok) {
            EXPECT_EQ(last, c.last) << c.limit;
        }
    }
}

TEST_F(ObjectNames, AutomaticStarLimitByFieldModeAndSky)
{
    struct Case {
        double field;
        int32_t mode, catalogLimit;
        uint8_t skyFlags;
        int32_t skyLevel, limit;
    } cases[] = {
        {120.0, kModeHrz, 65, 0, 0, 60}, {10.0, kModeHrz, 200, 0, 0, 80}, {1.0, kModeEqt, 200, 0, 0, 120},
        {0.1, kModeEqt, 200, 0, 0, 160}, {150.0, kModeEqt, 200, 0, 0, 60}, {60.0, kModeEqt, 200, 0, 0, 70},
        {1.0, kModeEqt, 65, 0, 0, 65},      // capped at the catalogue's limit
        {1.0, kModePlns, 200, 0, 0, 45}, {1.0, kModeAll1Eqt, 200, 0, 0, 45}, {1.0, kModeAll2Gal, 200, 0, 0, 45},
        {10.0, kModeHrz, 200, 1, 16, 48},   // daylight: 16 x 65 / 32
        {10.0, kModeHrz, 200, 1, 40, 15},   // bright sky: 65 off
        {10.0, kModeEqt, 200, 1, 40, 80},   // daylight only dims horizontal charts
        {10.0, kModePlns, 200, 1, 40, -20},
    };
    for (const Case &c : cases) {
        chart->fieldWidth = c.field;
        chart->mode = c.mode;
        chart->catalogLimit = c.catalogLimit;
        chart->skyFlags = c.skyFlags;
        chart->skyLevel = c.skyLevel;
        EXPECT_EQ(viewAutoStarLimit(chart), c.limit) << c.field << " mode " << c.mode;
    }
}

TEST_F(ObjectNames, FixedStarLimitBecomesAnOffsetThatFollowsZooming)
{
    chart->mode = kModeEqt;
    chart->catalogLimit = 200;
    chart->skyFlags = 0;
    chart->fieldWidth = 60.0;
    chart->fixedLimit = 50;
    chart->fixedLimitOn = 1;
    viewApplyStarLimit(chart);
    EXPECT_EQ(chart->starLimit, 50);
    EXPECT_EQ(chart->fixedLimitOn, 0);
    chart->fieldWidth = 10.0;
    viewApplyStarLimit(chart);
    EXPECT_EQ(chart->starLimit, 50 + (80 - 70));
    chart->starLimitSet = 100; // never beyond the catalogue's limit
    chart->catalogLimit = 55;
    viewApplyStarLimit(chart);
    EXPECT_EQ(chart->starLimit, 55);
}

TEST_F(ObjectNames, FieldOfViewClampAndMaximum)
{
    appData->pixelAspect = 1.0;
    struct Case {
        int32_t mode;
        uint16_t width, height;
        double field, clamped, maximum;
    } cases[] = {
        {kModeHrz, 800, 400, 300.0, 220.0, 180.0}, {kModeHrz, 300, 400, 60.0, 60.0, 82.5},
        {kModeEqt, 400, 400, 200.0, 180.0, 180.0}, {kModeSol1, 400, 800, 300.0, 300.0, 90.0},
        {kModeHrz, 0, 0, 300.0, 300.0, 180.0}, // an unsized chart changes nothing
    };
    for (const Case &c : cases) {
        chart->mode = c.mode;
        chart->chartRect = {0, 0, c.width, c.height};
        chart->fieldWidth = c.field;
        EXPECT_EQ(viewClampFieldOfView(chart, 0), 1);
        EXPECT_DOUBLE_EQ(chart->fieldWidth, c.field);
        viewClampFieldOfView(chart, 1);
        EXPECT_NEAR(chart->fieldWidth, c.clamped, 1e-9) << c.mode << " " << c.width;
        EXPECT_NEAR(viewMaxFieldOfView(chart), c.maximum, 1e-9) << c.mode << " " << c.width;
    }
}

} // namespace
