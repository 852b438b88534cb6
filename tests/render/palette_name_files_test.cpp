#include <string>

#include <gtest/gtest.h>

#include "render/name_files.h"
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
