// The real program saves a chart through its Save As dialog and, started
// again on the saved scene, draws the same picture: tracking a SCREEN point,
// an equatorial centre turned over, comets, playing to an end date.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

// A site in the three decimals a scene writes it with.
const char kStartScene[] = "SCENE MAIN\nDATE 2000,1,1,0,0,0,0\nLOCATE 14.417E,50.083N,0,200,\"Praha\"\n"
                           "MODE HRZ\nVIEW CENTER HRZ 0, 30\nDRIVE\nEND SCENE\n";

// Lines 0 and 1259 of data/comet.elm: Halley and Hale-Bopp.
std::string cometLine(int k)
{
    std::ifstream in(std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm");
    std::string line;
    for (int i = 0; i <= k; i++)
        std::getline(in, line);
    return line;
}

class SceneSaveRealX : public ::testing::Test {
protected:
    XServer server;
    Window window = 0;
    int fd = -1;
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        setenv("TAVIK_CLOCK", "946684800", 1); // the clock of playing stands still
    }
    void TearDown() override
    {
        if (fd >= 0)
            close(fd);
        unsetenv("TAVIK_CLOCK");
    }

    // The program on `scene`, its TCP port connected; F5 opens Save As.
    std::unique_ptr<TavikProcess> start(const TempDir &home, const std::string &scene)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
        const int port = tcpFreePort();
        writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300",
                  "-xrm", "TAvik*StlFileIoPath: " + home.path(), "-xrm", "TAvik*SaoFile: /no/such/tavik.sao", "-xrm",
                  "TAvik*CometFile: " + std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm"};
        const std::vector<std::string> bind = xrmBindStkDoit("F5", "INPUT SAVEFILE");
        o.args.insert(o.args.end(), bind.begin(), bind.end());
        o.args.push_back("-q");
        o.args.push_back(scene);
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        fd = tcpConnectLoopback(port);
        if (fd >= 0)
            tcpReadReply(fd);
        return p;
    }
    // Sends text; its reply ("tavik> " alone when it did not fail).
    std::string send(const std::string &text)
    {
        tcpSend(fd, text + "\n");
        return tcpReadReply(fd);
    }
    XpmPixels gsave(const std::string &path)
    {
        EXPECT_EQ(send("GSAVE \"" + path + "\""), "tavik> ");
        return readXpm(server.display(), path);
    }
    // File > Save As with `name` typed after the directory the box shows
    // (the directory holds no other *.stl file, so none is selected).
    bool saveAs(const std::string &name)
    {
        Display *d = server.display();
        xFocusWindow(d, window);
        usleep(200000);
        xSendKey(d, window, "F5");
        const Window box = xWaitForWindow(d, "SaveFile_popup", "TAvik", 30000);
        if (box == 0)
            return false;
        xFocusWindow(d, box);
        usleep(300000);
        xSendKey(d, box, "End");
        for (char c : name) {
            const std::string key = c == '.' ? "period" : std::string(1, c);
            xSendKey(d, box, key);
        }
        xSendKey(d, box, "Return");
        return waitUntil([&] { return xFindWindow(d, "SaveFile_popup", "TAvik") == 0; }, 30000);
    }
};

TEST_F(SceneSaveRealX, ASavedSceneReopensToTheSamePicture)
{
    Display *d = server.display();
    const std::string orbits = "\nBLOCK ORBIT\n:Halley\n" + cometLine(0) + "\n:Hale-Bopp\n" + cometLine(1259) +
                               "\nEND BLOCK\n";
    const struct {
        const char *what;
        std::string scene; // the start scene
        std::vector<std::string> texts;
    } cases[] = {
        // Saving failed with "Cannot create file" while a SCREEN point was tracked.
        {"tracking a SCREEN point", kStartScene, {"TRACK SCREEN 100 100", "VIEW ANGLE 40", "DRIVE"}},
        {"an equatorial centre turned over", kStartScene, {"MODE EQT", "LOOK EQT 5.5, 20", "MIRROR 1", "DRIVE"}},
        // A field of 1e300 degrees was saved as a line of over 300
        // characters and one of 1e-9 as 0: neither scene read back.
        {"a field of 1e300 degrees", kStartScene, {"MODE EQT", "VIEW ANGLE 1e300", "DRIVE"}},
        {"a field of 1e-9 degrees", kStartScene, {"MODE EQT", "LOOK EQT 5.5, 20", "VIEW ANGLE 1e-9", "DRIVE"}},
        {"comets, one tracked, one hidden",
         std::string("BLOCK CONTROL\nSCENE MAIN\nDATE 1997,3,1,20,0,0,0\nCOMET \"Halley\"\nCOMET \"Hale-Bopp\"\n"
                     "MODE SOL2\nDRIVE\nEND SCENE\nEND BLOCK\n") +
             orbits,
         {"TRACK COMET2", "HIDE COMET1", "SHOW COMET2_NAME", "DRIVE"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempDir home;
        const std::string scene = home.write("start.scene", c.scene);
        auto p = start(home, scene);
        ASSERT_NE(window, 0u) << p->err();
        ASSERT_GE(fd, 0) << p->err();
        for (const std::string &text : c.texts)
            ASSERT_EQ(send(text), "tavik> ") << text;
        const XpmPixels saved = gsave(home.file("saved.xpm"));
        ASSERT_FALSE(saved.pixels.empty());
        ASSERT_TRUE(saveAs("s.stl")) << p->err();
        EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "saved without a word";
        const std::string written = readFile(home.file("s.stl"));
        ASSERT_EQ(0u, written.rfind("BLOCK CONTROL\n", 0)) << written;
        p->kill();

        TempDir again;
        auto q = start(again, home.file("s.stl"));
        ASSERT_GE(fd, 0) << q->err();
        const XpmPixels reopened = gsave(again.file("reopened.xpm"));
        EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "reopened without a word\n" << written;
        EXPECT_EQ(saved.width, reopened.width);
        EXPECT_EQ(saved.height, reopened.height);
        EXPECT_TRUE(saved.pixels == reopened.pixels) << "the reopened scene draws another picture\n" << written;
        q->kill();
    }
}

// Playing by 1.5 seconds to 00:05 stopped microseconds early and the
// status bar said 00:04: the picture where playing stops, and the scene
// saved there, are those of the end date set directly.
TEST_F(SceneSaveRealX, PlayingToAnEndDateStopsOnItsPicture)
{
    TempDir direct;
    auto p = start(direct, direct.write("start.scene", kStartScene));
    ASSERT_GE(fd, 0) << p->err();
    ASSERT_EQ(send("DATE 2000,1,1,0,5,0"), "tavik> ");
    ASSERT_EQ(send("DRIVE"), "tavik> ");
    const XpmPixels expected = gsave(direct.file("direct.xpm"));
    ASSERT_FALSE(expected.pixels.empty());
    p->kill();

    TempDir home;
    auto q = start(home, home.write("start.scene", kStartScene));
    ASSERT_GE(fd, 0) << q->err();
    ASSERT_EQ(send("PERIOD 0,0,0,0,0,1.5"), "tavik> ");
    ASSERT_EQ(send("CONTINUE 2000,1,1,0,5,0"), "tavik> ");
    XpmPixels played;
    int shot = 0;
    EXPECT_TRUE(waitUntil(
        [&] {
            played = gsave(home.file("played" + std::to_string(++shot) + ".xpm"));
            return played.pixels == expected.pixels;
        },
        30000))
        << "playing never showed the end date's picture";
    ASSERT_TRUE(saveAs("s.stl")) << q->err();
    const std::string written = readFile(home.file("s.stl"));
    EXPECT_NE(std::string::npos, written.find("\t\tDATE 2000,1,1,0,5,0.000000,0.000\n")) << written;
    q->kill();

    TempDir again;
    auto r = start(again, home.file("s.stl"));
    ASSERT_GE(fd, 0) << r->err();
    EXPECT_TRUE(gsave(again.file("reopened.xpm")).pixels == expected.pixels);
    r->kill();
}

// What the TCP client hears: nothing from STARDATA of a catalogue that
// cannot be drawn (standard error names it once), nothing from a scene with a
// long line outside SCENE MAIN, and one report, soon, from a scene that loads
// itself three times a level.
TEST_F(SceneSaveRealX, SceneAndStarCommandsAnswerOverTcp)
{
    TempDir home;
    const std::string self = home.file("self.stl");
    home.write("self.stl", "SCENE MAIN\nSTL \"" + self + "\"\nSTL \"" + self + "\"\nSTL \"" + self + "\"\nEND SCENE\n");
    const std::string header = home.write("header.stl", "# " + std::string(400, '=') + "\nSCENE MAIN\nMIRROR 1\nEND SCENE\n");
    auto p = start(home, home.write("start.scene", kStartScene));
    ASSERT_GE(fd, 0) << p->err();
    const XpmPixels bright = gsave(home.file("bright.xpm"));
    EXPECT_EQ(send("STARDATA SAO"), "tavik> ");
    EXPECT_EQ(send("STARDATA SAO"), "tavik> ");
    EXPECT_EQ(send("DRIVE"), "tavik> ");
    EXPECT_TRUE(gsave(home.file("fallback.xpm")).pixels == bright.pixels) << "the bright stars are drawn";
    EXPECT_EQ(send("STL \"" + header + "\""), "tavik> ");
    EXPECT_EQ(send("STL \"" + self + "\""),
              "STL: Too much work for one scene (1000 scene loads); the rest was not run.\ntavik> ");
    p->kill();
    const std::string said = p->err();
    const std::string missing = "tavik: Star catalogue file not found: /no/such/tavik.sao; the bright stars are drawn.\n";
    EXPECT_NE(std::string::npos, said.find(missing)) << said;
    EXPECT_EQ(said.find(missing), said.rfind(missing)) << "said once";
}

} // namespace
