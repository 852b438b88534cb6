#include "model/element_files.h"

#include <gtest/gtest.h>

#include <gdbm.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "tests/support/element_rows.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

namespace {

// Lines of the shipped files (data/comet.elm, data/mp.elm), 204 characters.
const std::string kHalley =
    "C 1P                Halley                         1986 2 5.895317 0.96714291  0.58597811 111.332485  "
    "58.420081 162.262691 2000.0   5.50                                                    1P/Halley       ";
const std::string kHaleBopp = kHaleBoppElements;
const std::string kMpHalley =
    "M 2688   1982 HG1   Halley                         2022 531.017513 0.14379191  2.71262553 188.914561  "
    "95.229872   3.449588 2000.0  11.93  5.00                                              2688 Halley     ";
const std::string kMpHale =
    "M 1024   A923 YO13  Hale                           2020 927.078628 0.22154155  2.23403808 308.055301  "
    "58.799008  16.065428 2000.0  10.79  5.00                                              1024 Hale       ";

std::string padded(std::string s) { return s.append(kElementLineChars - s.size(), ' ') + "\n"; }

// Columns [from, from + text) replaced.
std::string withColumns(std::string line, size_t from, const std::string &text)
{
    return line.replace(from, text.size(), text);
}

TEST(ElementLine, ParsesEveryLineFormAndFillsDefaults)
{
    const std::string body188 = kHalley.substr(0, 188);
    const std::string noOptional = withColumns(kHalley, 123, std::string(33, ' '));
    struct Case {
        const char *name;
        std::string line;
        const char *designation, *extension;
        double jd, equinox, h, k, dustLen, ionLen, dustPar;
    } cases[] = {
        // Feb 5.895317 1986: 1986 Jan 1.0 is JD 2446431.5, plus 35.895317 days.
        {"205-byte line", kHalley + "\n", "          ", "1P/Halley      ", 2446467.395317, 2000, 5.5, 10, 0.01, 0.01, 1},
        {"189-byte line", body188 + "\n", "          ", "               ", 2446467.395317, 2000, 5.5, 10, 0.01, 0.01, 1},
        {"CRLF line", kHalley + "\r\n", "          ", "1P/Halley      ", 2446467.395317, 2000, 5.5, 10, 0.01, 0.01, 1},
        {"188-character scene line", body188, "          ", "               ", 2446467.395317, 2000, 5.5, 10, 0.01, 0.01, 1},
        {"blank columns 123-155", noOptional + "\n", "          ", "1P/Halley      ", 2446467.395317, 2000, 6, 10, 0.01, 0.01, 1},
        {"designation \" 1P\" left-aligned", withColumns(kHalley, 9, " 1P       ") + "\n", "1P        ", "1P/Halley      ",
         2446467.395317, 2000, 5.5, 10, 0.01, 0.01, 1},
        {"every optional field", withColumns(kHalley, 123, "1950.0   7.25  8.00 0.50 0.30 2.0") + "\n", "          ",
         "1P/Halley      ", 2446467.395317, 1950, 7.25, 8, 0.5, 0.3, 2},
    };
    for (const Case &c : cases) {
        OrbitalElements e;
        ASSERT_EQ(parseElementLine(&e, c.line.c_str()), 1) << c.name;
        EXPECT_EQ(e.type, 'C') << c.name;
        EXPECT_STREQ(e.id, "1P    ") << c.name;
        EXPECT_STREQ(e.designation, c.designation) << c.name;
        EXPECT_STREQ(e.name, "Halley                        ") << c.name;
        EXPECT_STREQ(e.extension, c.extension) << c.name;
        EXPECT_NEAR(e.perihelionJd, c.jd, 1e-6) << c.name;
        EXPECT_DOUBLE_EQ(e.eccentricity, 0.96714291) << c.name;
        EXPECT_DOUBLE_EQ(e.perihelionDistance, 0.58597811) << c.name;
        EXPECT_DOUBLE_EQ(e.argPerihelion, 111.332485) << c.name;
        EXPECT_DOUBLE_EQ(e.ascendingNode, 58.420081) << c.name;
        EXPECT_DOUBLE_EQ(e.inclination, 162.262691) << c.name;
        EXPECT_DOUBLE_EQ(e.equinox, c.equinox) << c.name;
        EXPECT_DOUBLE_EQ(e.absMagnitude, c.h) << c.name;
        EXPECT_DOUBLE_EQ(e.slope, c.k) << c.name;
        EXPECT_DOUBLE_EQ(e.dustTailLength, c.dustLen) << c.name;
        EXPECT_DOUBLE_EQ(e.ionTailLength, c.ionLen) << c.name;
        EXPECT_DOUBLE_EQ(e.dustParameter, c.dustPar) << c.name;
        // The line as it came without its line end: the scene writer copies it.
        EXPECT_EQ(std::string(e.lineText), c.line.substr(0, c.line.find_first_of("\r\n"))) << c.name;
    }
}

TEST(ElementLine, RefusesLinesThatCannotBeComputed)
{
    struct Case {
        const char *name;
        std::string line;
    } cases[] = {
        {"type X", withColumns(kHalley, 0, "X")},
        {"lower-case type", withColumns(kHalley, 0, "c")},
        {"ends before column 122", kHalley.substr(0, 121)},
        {"empty", ""},
        {"eccentricity missing", withColumns(kHalley, 67, "          ")},
        {"perihelion distance not finite", withColumns(kHalley, 78, "        nan")},
        {"inclination inf", withColumns(kHalley, 112, "       inf")},
        {"year missing", withColumns(kHalley, 51, "    ")},
        {"day with text", withColumns(kHalley, 57, " 5.8x5317")},
        {"q zero", withColumns(kHalley, 78, " 0.00000000")},
        {"q negative", withColumns(kHalley, 78, "-0.58597811")},
        {"e negative", withColumns(kHalley, 67, "-0.9671429")},
        {"month 0", withColumns(kHalley, 55, " 0")},
        {"month 13", withColumns(kHalley, 55, "13")},
        {"magnitude not a number", withColumns(kHalley, 130, "  abcd")},
    };
    for (const Case &c : cases) {
        OrbitalElements e;
        EXPECT_EQ(parseElementLine(&e, c.line.c_str()), 0) << c.name;
    }
    OrbitalElements e;
    EXPECT_EQ(parseElementLine(&e, withColumns(kHalley, 0, "N").c_str()), 1) << "N is read";
    EXPECT_EQ(parseElementLine(&e, kMpHale.c_str()), 1);
    EXPECT_EQ(e.type, 'M');
}

TEST(ElementLine, KeysAreTrimmedAndUpperCasedInAscii)
{
    std::string line = padded(withColumns(kHaleBopp, 20, "h\xe9le-bopp \xe0 "));
    char key[kElementKeySize];
    struct Case {
        ElementKeyField field;
        const char *key;
    } cases[] = {
        {kKeyExtension, "C/1995 O1"}, {kKeyDesignation, "C/1995 O1"}, {kKeyId, ""},
        {kKeyName, "H\xe9LE-BOPP \xe0"}, // bytes above 127 stay as they are in every locale
    };
    for (const Case &c : cases) {
        elementLineKey(line.c_str(), c.field, key);
        EXPECT_STREQ(key, c.key) << c.field;
    }
    elementNormaliseKey("  73p/schwassmann  ", key);
    EXPECT_STREQ(key, "73P/SCHWASSMANN");
}

// Element files and their index under a scratch directory.
class ElementIndexTest : public ::testing::Test {
protected:
    std::string index() const { return dir.file("comet.dbm"); }
    // Writes lines with the given line ends; offsets[k] = start of line k.
    std::string writeElements(const std::vector<std::string> &lines, std::vector<long> *offsets = nullptr,
                              const char *name = "comet.elm")
    {
        std::string text;
        for (const std::string &l : lines) {
            if (offsets)
                offsets->push_back(static_cast<long>(text.size()));
            text += l;
        }
        return dir.write(name, text);
    }
    TempDir dir;
};

TEST_F(ElementIndexTest, EachKeyLeadsToItsOwnLineInAMixedFile)
{
    // 189-byte, 205-byte, CRLF and 190-byte lines: a reader of fixed
    // 189/205-byte records would drift after the third.
    const std::vector<std::string> lines = {
        kHalley.substr(0, 188) + "\n",
        kHaleBopp + "\n",
        withColumns(kMpHale, 0, "C") + "\r\n",
        withColumns(kHalley.substr(0, 188), 20, "Encke                         ") + "X\n",
        kMpHalley + "\n",
    };
    std::vector<long> at;
    const std::string elements = writeElements(lines, &at);
    ASSERT_EQ(catalogIndexBuildTo(elements.c_str(), index().c_str(), nullptr), 1);
    struct Case {
        const char *key;
        long offset; // -1: absent
    } cases[] = {
        {"1P", at[3]},          // the id of lines 0 and 3: the later line wins
        {"HALLEY", at[4]},      // name of lines 0 and 4
        {"C/1995 O1", at[1]},   {"HALE-BOPP", at[1]}, {"1024 HALE", at[2]}, {"A923 YO13", at[2]},
        {"ENCKE", at[3]},       {"2688 HALLEY", at[4]},
        {"hale-bopp", -1},      // keys are stored upper-cased
        {"", -1},               // empty fields store no key
        {"HALE", at[2]},        // whole names, not prefixes
        {"source file", -1},    // the index's own record is no body
    };
    for (const Case &c : cases) {
        EXPECT_EQ(catalogIndexLookup(index().c_str(), c.key), c.offset) << c.key;
    }
    OrbitalElements e;
    int64_t offset = -1;
    ASSERT_EQ(readElementRecord("1024 HALE", 0, &e, elements.c_str(), index().c_str(), &offset), 1);
    EXPECT_EQ(offset, at[2]);
    EXPECT_STREQ(e.name, "Hale                          ");
    EXPECT_EQ(readElementRecord("hale", 0, &e, elements.c_str(), index().c_str()), 0);
    EXPECT_EQ(catalogIndexLookup(dir.file("none.dbm").c_str(), "1P"), -1);
}

TEST_F(ElementIndexTest, ProgressIsFiftyDotsThenDone)
{
    std::vector<std::string> lines(7, kHalley + "\n");
    const std::string elements = writeElements(lines);
    char *text = nullptr;
    size_t size = 0;
    FILE *progress = open_memstream(&text, &size);
    ASSERT_EQ(catalogIndexBuildTo(elements.c_str(), index().c_str(), progress), 1);
    std::fclose(progress);
    EXPECT_EQ(std::string(text), std::string(50, '.') + "done.\n");
    std::free(text);
    struct stat st;
    EXPECT_NE(stat((index() + ".$NEW$").c_str(), &st), 0) << "temporary left behind";
    EXPECT_EQ(catalogIndexBuildTo(dir.file("absent.elm").c_str(), index().c_str(), nullptr), 0);
}

TEST_F(ElementIndexTest, IndexIsCurrentOnlyForTheFileItWasBuiltFrom)
{
    const std::string elements = writeElements({kHalley + "\n", kHaleBopp + "\n"});
    EXPECT_EQ(catalogIndexIsCurrent(index().c_str(), elements.c_str()), 0) << "missing";
    ASSERT_EQ(catalogIndexBuildTo(elements.c_str(), index().c_str(), nullptr), 1);
    EXPECT_EQ(catalogIndexIsCurrent(index().c_str(), elements.c_str()), 1);

    // Another element file of the same base name, same size and time.
    TempDir other;
    const std::string copy = other.write("comet.elm", kHaleBopp + "\n" + kHalley + "\n");
    struct stat st;
    ASSERT_EQ(stat(elements.c_str(), &st), 0);
    struct timespec times[2] = {st.st_mtim, st.st_mtim};
    utimensat(AT_FDCWD, copy.c_str(), times, 0);
    EXPECT_EQ(catalogIndexIsCurrent(index().c_str(), copy.c_str()), 0) << "copy kept with its time";

    // A text file is no index.
    dir.write("comet.dbm", "not an index\n");
    EXPECT_EQ(catalogIndexIsCurrent(index().c_str(), elements.c_str()), 0) << "text";

    // An index of the keys alone (as an older build wrote it) does not say
    // what it was built from.
    std::remove(index().c_str());
    GDBM_FILE db = gdbm_open(index().c_str(), 512, GDBM_NEWDB, 0644, nullptr);
    ASSERT_NE(db, nullptr);
    int32_t zero = 0;
    datum key{const_cast<char *>("HALLEY"), 6}, value{reinterpret_cast<char *>(&zero), 4};
    ASSERT_EQ(gdbm_store(db, key, value, GDBM_REPLACE), 0);
    gdbm_close(db);
    EXPECT_EQ(catalogIndexLookup(index().c_str(), "HALLEY"), 0);
    EXPECT_EQ(catalogIndexIsCurrent(index().c_str(), elements.c_str()), 0) << "keys alone";
}

TEST_F(ElementIndexTest, DamagedIndexIsRebuiltOnceAndGivesTheRightRecords)
{
    std::vector<long> at;
    const std::string elements = writeElements({kHalley + "\n", kHaleBopp + "\n", kMpHalley + "\n"}, &at);
    ASSERT_EQ(catalogIndexBuildTo(elements.c_str(), index().c_str(), nullptr), 1);
    std::string whole = readFile(index());
    ASSERT_GT(whole.size(), 1024u);

    // Another element file, whose lines moved: the index points into the
    // middle of lines, so every answer must be checked against the line.
    const std::string shifted = dir.write("shifted.elm", kMpHale.substr(0, 188) + "\n" + kHaleBopp + "\n" + kHalley + "\n");
    std::string shiftedIndex = dir.file("shifted.dbm");
    dir.write("shifted.dbm", whole);

    struct Case {
        const char *name;
        std::string indexText; // the damaged index
    } cases[] = {
        {"0-byte", ""},
        {"truncated", whole.substr(0, 700)},
        {"random", std::string(whole.size(), '\x5a')},
        {"text", "1P 0\nHALLEY 0\n"},
    };
    int run = 0;
    for (const Case &c : cases) {
        // Each case its own index path: a repair happens once a run per index.
        std::string damaged = dir.file("damaged" + std::to_string(run++) + ".dbm");
        dir.write(damaged.substr(dir.path().size() + 1), c.indexText);
        OrbitalElements e;
        ASSERT_EQ(readElementRecord("C/1995 O1", 0, &e, elements.c_str(), damaged.c_str()), 1) << c.name;
        EXPECT_EQ(e.perihelionDistance, 0.91741434) << c.name;
        EXPECT_EQ(catalogIndexLookup(damaged.c_str(), "2688 HALLEY"), at[2]) << c.name << ": rebuilt";
    }
    OrbitalElements e;
    ASSERT_EQ(readElementRecord("HALLEY", 0, &e, shifted.c_str(), shiftedIndex.c_str()), 1);
    EXPECT_STREQ(e.extension, "1P/Halley      ");

    // Once a run: the second repair of the same index is not made.
    dir.write("shifted.dbm", "text");
    EXPECT_EQ(readElementRecord("HALLEY", 0, &e, shifted.c_str(), shiftedIndex.c_str()), 0);
}

TEST(OrbitBlock, FindsTheKthHeaderOfTheNameAndType)
{
    TempDir dir;
    const std::string c1 = withColumns(kHaleBopp, 51, "1997"), c2 = withColumns(kHaleBopp, 51, "1998"),
                      c3 = withColumns(kHaleBopp, 51, "1999");
    const std::string haleBoppByHale = withColumns(kHaleBopp, 20, "Hale                          ");
    const std::string scene = dir.write(
        "s.stl", "BEGIN SCENE MAIN\r\nCOMET \"Hale-Bopp\"\r\nEND SCENE\r\n\r\n"
                 "block   orbit\r\n"
                 ":Hale-Bopp\r\n" + c1 + "\r\n"
                 ":Hale-Bopp\r\n" + c2 + "\r\n"
                 ": hale-bopp \r\n" + c3 + "\r\n"
                 ":Hale\r\n" + kMpHale + "\r\n"
                 ":Halley\r\n" + kHalley + "\r\n"
                 ":Halley\r\n" + kMpHalley + "\r\n"
                 "END BLOCK\r\n"
                 "BLOCK ORBIT\n:Encke\n" + withColumns(kHalley, 20, "Encke") + "\n:Hale\n" + haleBoppByHale +
                 "\nEND BLOCK\n");
    struct Case {
        const char *name;
        char type;
        int k;
        std::string line; // empty: not found
    } cases[] = {
        {"Hale-Bopp", 'C', 1, c1}, {"Hale-Bopp", 'C', 2, c2}, {"HALE-BOPP", 'C', 3, c3}, {"Hale-Bopp", 'C', 4, ""},
        {"Hale", 'M', 1, kMpHale},      // not the first header that starts with "Hale"
        {"Hale", 'C', 1, ""},           // the comet "Hale" is in the second block only
        {"Halley", 'C', 1, kHalley},    {"Halley", 'M', 1, kMpHalley}, {"Halley", 'M', 2, ""},
        {"Encke", 'C', 1, ""},          // second ORBIT block
        {"Hal", 'C', 1, ""},
    };
    FILE *f = std::fopen(scene.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char skip[64];
    ASSERT_NE(std::fgets(skip, sizeof skip, f), nullptr);
    const long position = std::ftell(f);
    OrbitBlock *block = readOrbitBlock(f);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::ftell(f), position) << "the scene reads on where it stood";
    for (const Case &c : cases) {
        char buf[kElementLineSize];
        int found = findOrbitBlockLine(block, c.name, c.type, c.k, buf, sizeof buf);
        EXPECT_EQ(found, c.line.empty() ? 0 : 1) << c.name << " " << c.k;
        if (found) {
            EXPECT_EQ(std::string(buf), c.line) << c.name << " " << c.k;
        }
    }
    char small[10];
    ASSERT_EQ(findOrbitBlockLine(block, "Halley", 'C', 1, small, sizeof small), 1);
    EXPECT_STREQ(small, "C 1P     ") << "cut to the buffer";
    freeOrbitBlock(block);
    std::fclose(f);
}

TEST(BodyTables, AddSetsRowsAndClearFreesThem)
{
    TestChart owner;
    ChartState &chart = *owner;
    OrbitalElements halley, haleBopp, hale;
    ASSERT_EQ(parseElementLine(&halley, kHalley.c_str()), 1);
    ASSERT_EQ(parseElementLine(&haleBopp, kHaleBopp.c_str()), 1);
    ASSERT_EQ(parseElementLine(&hale, kMpHale.c_str()), 1);
    ASSERT_EQ(addComet(&chart, &halley), 1);
    ASSERT_EQ(addComet(&chart, &haleBopp), 1);
    ASSERT_EQ(addMinorPlanet(&chart, &hale), 1);
    ASSERT_EQ(chart.cometCount, 2);
    ASSERT_EQ(chart.minorPlanetCount, 1);
    EXPECT_EQ(chart.cometFlags[0], 0xE2);
    EXPECT_EQ(chart.minorPlanetFlags[0], 0x22);
    EXPECT_EQ(chart.cometPositions[1].type, 'C');
    EXPECT_EQ(chart.minorPlanetPositions[0].type, 'M');
    EXPECT_STREQ(chart.cometElements[1].lineText, haleBopp.lineText);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(chart.cometPositions[i].jd, 0.0);
        EXPECT_EQ(chart.cometTails[i].dustJd, 0.0);
        EXPECT_EQ(chart.cometTails[i].ionJd, 0.0);
        EXPECT_EQ(chart.cometPositions[i].outlineCount, 161);
        ASSERT_NE(chart.cometPositions[i].outline, nullptr);
    }
    // Perihelion point of Halley's outline lies q from the Sun.
    const Vec3 &p = chart.cometPositions[0].outline[0];
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 0.58597811, 1e-6);
    clearComets(&chart);
    EXPECT_EQ(chart.cometCount, 0);
    EXPECT_EQ(chart.cometPositions, nullptr);
    EXPECT_EQ(chart.cometFlags, nullptr);
    EXPECT_EQ(chart.minorPlanetCount, 1) << "the other table stays";
    chartStateFreeTables(&chart); // INIT's freeing; ASan reports the outline if it stayed
    EXPECT_EQ(chart.minorPlanetElements, nullptr);
}

} // namespace
