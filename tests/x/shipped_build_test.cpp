// The program as users build it (./run.sh: Release, the optimiser's full
// inlining across the libraries) against the program the other tests run
// (sanitised, optimised less): the same start-up scene, every display
// keyword shown, gives the same picture in each chart mode. A fault that
// only the shipped build's optimiser brings out (GCC 12 dropped the
// projection of the kept grid tables there, so every grid was drawn from
// uninitialised memory) shows here and nowhere else. test.sh builds the
// shipped program and names it in TAVIK_SHIPPED_EXECUTABLE.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iomanip>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/show_everything.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

const char *const kModes[] = {"HRZ", "EQT", "SOL1", "PLNS", "ALL1_EQT", "ALL2_GAL"};

class ShippedBuildX : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    // The pictures one program saves of the scene, by mode.
    std::map<std::string, XpmPixels> pictures(const std::string &executable, const std::string &tag)
    {
        TempDir home;
        writeOptionsFile(home.path(), {"ConfirmQuit = False"});
        std::string scene = "BLOCK CONTROL\n\tSCENE MAIN\n\t\tLOAD AD \"" + std::string(TAVIK_SOURCE_DIR) +
                            "/data/adf/sample.adf\"\n";
        for (const std::string &statement : showEverythingStatements()) scene += "\t\t" + statement + "\n";
        for (const char *mode : kModes)
            scene += std::string("\t\tMODE ") + mode + "\n\t\tDRIVE\n\t\tGSAVE \"" + home.file(tag + mode + ".xpm") +
                     "\"\n";
        scene += "\tEND SCENE\nEND BLOCK\n";
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-q", home.write("scene.stl", scene)};
        TavikProcess program(executable, o);
        std::map<std::string, XpmPixels> out;
        const std::string lastPath = home.file(tag + kModes[std::size(kModes) - 1] + ".xpm");
        EXPECT_TRUE(waitUntil([&] { return !readXpm(server.display(), lastPath).pixels.empty(); }, 120000))
            << executable << " saved no picture of the last mode; " << program.err();
        for (const char *mode : kModes) out[mode] = readXpm(server.display(), home.file(tag + mode + ".xpm"));
        return out;
    }

    XServer server;
};

TEST_F(ShippedBuildX, DrawsEveryModeAsTheTestedBuildDoes)
{
    const char *shipped = std::getenv("TAVIK_SHIPPED_EXECUTABLE");
    if (shipped == nullptr || *shipped == '\0') GTEST_SKIP() << "TAVIK_SHIPPED_EXECUTABLE names no shipped build";
    const auto tested = pictures(TAVIK_EXECUTABLE, "tested-");
    const auto built = pictures(shipped, "shipped-");
    for (const char *mode : kModes) {
        SCOPED_TRACE(mode);
        const XpmPixels &a = tested.at(mode), &b = built.at(mode);
        ASSERT_FALSE(a.pixels.empty());
        ASSERT_EQ(a.width, b.width);
        ASSERT_EQ(a.height, b.height);
        // Pixels that differ, by the colour each build gave them: which layer
        // went wrong shows in its colour.
        std::map<std::pair<unsigned long, unsigned long>, long> differ;
        for (int y = 0; y < a.height; y++)
            for (int x = 0; x < a.width; x++)
                if (a.at(x, y) != b.at(x, y)) differ[{a.at(x, y), b.at(x, y)}]++;
        std::ostringstream colours;
        colours << std::hex << std::setfill('0');
        for (const auto &d : differ)
            colours << " " << std::setw(6) << d.first.first << "->" << std::setw(6) << d.first.second << ": "
                    << std::dec << d.second << std::hex;
        EXPECT_TRUE(differ.empty()) << "tested->shipped colours:" << colours.str();
    }
}

} // namespace
