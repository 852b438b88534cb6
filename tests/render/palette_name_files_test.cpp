#include <string>

#include <gtest/gtest.h>

#include "model/name_files.h"
#include "resources/catalogs.h"
#include "tests/support/temp_dir.h"

namespace {

struct NameFiles : ::testing::Test {
    TempDir dir;
    void TearDown() override {
        freeConstNames();
        freeStarNames();
    }
};

TEST_F(NameFiles, MissingFileGivesTheBuiltInNames) {
    loadConstNamesFrom((dir.path() + "/none.dat").c_str());
    loadStarNamesFrom(nullptr);
    EXPECT_STREQ(constellations[0].localName, constellations[0].latinName);
    EXPECT_STREQ(starNames[0].localName, starNames[0].builtinName);
    EXPECT_STREQ(starNames[starNameCount - 1].localName, starNames[starNameCount - 1].builtinName);
}

TEST_F(NameFiles, ShortFileLeavesTheLastRowsBuiltIn) {
    std::string text;
    for (int i = 0; i < constellationCount - 1; i++) text += "Name" + std::to_string(i) + "\n";
    loadConstNamesFrom(dir.write("cons.dat", text).c_str());
    EXPECT_STREQ(constellations[0].localName, "Name0");
    EXPECT_STREQ(constellations[constellationCount - 2].localName, "Name87");
    EXPECT_STREQ(constellations[constellationCount - 1].localName, constellations[constellationCount - 1].latinName);
}

TEST_F(NameFiles, OverlongLineDoesNotShiftTheLaterNames) {
    const std::string longName(300, 'x');
    loadStarNamesFrom(dir.write("star.dat", "First\n" + longName + "\nThird\n\nFifth").c_str());
    EXPECT_STREQ(starNames[0].localName, "First");
    EXPECT_EQ(std::string(starNames[1].localName), std::string(kNameLineSize - 1, 'x'));
    EXPECT_STREQ(starNames[2].localName, "Third");
    EXPECT_STREQ(starNames[3].localName, ""); // an empty line is an empty name
    EXPECT_STREQ(starNames[4].localName, "Fifth"); // last line without a newline
    EXPECT_STREQ(starNames[5].localName, starNames[5].builtinName);
}

// A file without line ends (or /dev/zero) once made start-up read forever:
// the names read before the endless line stay, the rest are built in.
TEST_F(NameFiles, LineWithoutAnEndStopsTheReadingNotTheProgram) {
    const std::string endless(1 << 20, 'y');
    struct Case {
        const char *name;
        std::string path;
        int namesRead;
    } cases[] = {
        {"/dev/zero", "/dev/zero", 0},
        {"a megabyte without a newline", dir.write("mb.dat", endless), 0},
        {"two names, then a line longer than the bound", dir.write("tail.dat", "One\nTwo\n" + endless + "\nLater\n"), 2},
        {"longest line allowed is a name",
         dir.write("edge.dat", "One\n" + std::string(kNameLineReadMax, 'z') + "\nThree\n"), 3},
    };
    for (const Case &c : cases) {
        loadStarNamesFrom(c.path.c_str());
        loadConstNamesFrom(c.path.c_str());
        for (int i = 0; i < 4; i++) {
            if (i < c.namesRead) {
                EXPECT_STRNE(starNames[i].localName, starNames[i].builtinName) << c.name << " row " << i;
            } else {
                EXPECT_STREQ(starNames[i].localName, starNames[i].builtinName) << c.name << " row " << i;
                EXPECT_STREQ(constellations[i].localName, constellations[i].latinName) << c.name << " row " << i;
            }
        }
    }
    EXPECT_STREQ(starNames[2].localName, "Three");
}

TEST_F(NameFiles, FreeingPutsTheRowsBackToNone) {
    loadStarNamesFrom(dir.write("star.dat", "One\n").c_str());
    freeStarNames();
    EXPECT_EQ(starNames[0].localName, nullptr);
    EXPECT_EQ(starNames[1].localName, nullptr);
    loadConstNamesFrom(nullptr);
    freeConstNames();
    EXPECT_EQ(constellations[0].localName, nullptr);
}

} // namespace
