// The real program driven from outside: key bindings keep answering while
// the chart follows the clock; GSAVE in a start-up scene either writes the
// chart (after a frame) or is refused once (before any); "STARDATA GSC" as
// command text draws the Guide Star Catalog from a lower-case tree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;

// Every run on the same stopped moment (inherited by the program), at a
// fixed drawing-area size.
class RealProgramX : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    std::unique_ptr<TavikProcess> start(const std::vector<std::string> &options, const Keys &keys,
                                        const std::vector<std::string> &tail = {"-q"})
    {
        writeOptionsFile(home.path(), options);
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300"};
        const std::vector<std::string> bind = xrmBindStkDoit(keys);
        o.args.insert(o.args.end(), bind.begin(), bind.end());
        o.args.insert(o.args.end(), tail.begin(), tail.end());
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    // Presses key (bound to a GSAVE of path) until the file reads back: the
    // first frame may not be drawn yet when the window maps.
    XpmPixels saveByKey(const std::string &key, const std::string &path)
    {
        XpmPixels image;
        waitUntil(
            [&] {
                xSendKey(server.display(), window, key);
                return waitUntil([&] { return !(image = readXpm(server.display(), path)).pixels.empty(); },
                                 1000);
            },
            30000);
        return image;
    }

    XServer server;
    TempDir home;
    Window window = 0;
};

// "REALTIME 1,1,0; CONTINUE" follows the clock with no pause between frames.
// A key that moves the chart to another date still runs while it plays, and
// the play then brings the chart back to the clock's moment: the loop serves
// both the keys and the play timer.
TEST_F(RealProgramX, RealTimePlayLeavesKeyBindingsAnswering)
{
    const std::string clockPath = home.file("clock.xpm"), movedPath = home.file("moved.xpm"),
                      backPath = home.file("back.xpm");
    auto p = start({"ConfirmQuit = False"}, {{"F4", "GSAVE " + clockPath},
                                             {"F5", "REALTIME 1,1,0;CONTINUE"},
                                             {"F6", "DATE 2000 1 1 0 0 0;DRIVE;GSAVE " + movedPath},
                                             {"F7", "GSAVE " + backPath},
                                             {"F8", "EXIT"}});
    ASSERT_NE(window, 0u) << p->err();
    Display *d = server.display();
    const XpmPixels atClock = saveByKey("F4", clockPath);
    ASSERT_FALSE(atClock.pixels.empty()) << p->err();

    xSendKey(d, window, "F5");
    xSendKey(d, window, "F6");
    XpmPixels moved;
    ASSERT_TRUE(waitUntil([&] { return !(moved = readXpm(d, movedPath)).pixels.empty(); }, 30000))
        << "a key pressed while playing never ran; " << p->err();
    EXPECT_FALSE(moved.pixels == atClock.pixels) << "DATE 2000 changed nothing";

    // The play's next frame returns to the clock; keys keep being served.
    XpmPixels back;
    const bool returned = waitUntil(
        [&] {
            unlink(backPath.c_str());
            xSendKey(d, window, "F7");
            return waitUntil([&] { return !(back = readXpm(d, backPath)).pixels.empty(); }, 2000) &&
                   back.pixels == atClock.pixels;
        },
        30000);
    EXPECT_TRUE(returned) << (back.pixels.empty() ? "the key stopped answering" : "the play stopped");

    xSendKey(d, window, "F8");
    ASSERT_TRUE(p->waitExit(20000)) << "EXIT from a key while playing";
    EXPECT_EQ(p->status(), 0) << p->err();
}

// A start-up scene's GSAVE: after a DRIVE it writes the chart the window then
// shows (the same picture a later GSAVE takes); before any frame there is
// nothing to save, so the file is not written, one error box says so and the
// program runs on.
TEST_F(RealProgramX, GsaveInAStartupSceneWritesTheChartOrIsRefusedOnce)
{
    struct Case {
        const char *name;
        const char *before; // statements before the GSAVE
        bool written;
    } cases[] = {
        {"after DRIVE", "\t\tDRIVE\n", true},
        {"before any frame", "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string early = home.file(std::string("early-") + (c.written ? "a" : "b") + ".xpm");
        const std::string later = home.file(std::string("later-") + (c.written ? "a" : "b") + ".xpm");
        const std::string scenePath =
            home.write(std::string("scene-") + (c.written ? "a" : "b") + ".stl", std::string("BLOCK CONTROL\n\tSCENE MAIN\n") + c.before + "\t\tGSAVE \"" + early +
                       "\"\n\tEND SCENE\nEND BLOCK\n");
        const int port = tcpFreePort();
        auto p = start({"ConfirmQuit = False", "SocketPort = " + std::to_string(port)}, {}, {"-q", scenePath});
        ASSERT_NE(window, 0u) << p->err();
        Display *d = server.display();
        if (!c.written) {
            ASSERT_NE(xWaitForWindow(d, "MessageBox_popup", "TAvik", 20000), 0u) << p->err();
            EXPECT_EQ(xCountWindows(d, "MessageBox_popup", "TAvik"), 1);
        }
        // The program answers and saves its chart on request.
        int fd = tcpConnectLoopback(port);
        ASSERT_GE(fd, 0) << p->err();
        ASSERT_EQ(tcpReadReply(fd), "tavik> ");
        XpmPixels after;
        ASSERT_TRUE(waitUntil(
            [&] {
                return tcpSend(fd, "GSAVE \"" + later + "\"\n") && tcpReadReply(fd) == "tavik> " &&
                       !(after = readXpm(d, later)).pixels.empty();
            },
            30000))
            << p->err();
        close(fd);
        const XpmPixels first = readXpm(d, early);
        if (c.written) {
            ASSERT_FALSE(first.pixels.empty()) << p->err();
            EXPECT_EQ(first.width, after.width);
            EXPECT_EQ(first.height, after.height);
            EXPECT_TRUE(first.pixels == after.pixels) << "the scene's image is not the chart shown";
            EXPECT_EQ(xCountWindows(d, "MessageBox_popup", "TAvik"), 0);
        } else {
            EXPECT_TRUE(first.pixels.empty()) << "an image written before any frame";
            EXPECT_EQ(access(early.c_str(), F_OK), -1);
        }
        EXPECT_TRUE(p->running());
        p->kill();
        waitUntil([&] { return xFindWindow(d, "tavik", "TAvik") == 0; }, 5000);
    }
}

// The committed fixture regions (tests/data/gsc, written by tools/gen_gsc.py
// from kstars-data's stars.dat) copied to a tree with lower-case names, the
// region table data/tavik.gsc: the Pleiades, 2 degrees wide, to magnitude
// 9.5, drawn from the bright-star table and then from the catalogue. The
// catalogue's stars are drawn in ColorStar0, many more than the table has
// there.
TEST_F(RealProgramX, StardataGscAsCommandTextDrawsALowerCaseTree)
{
    namespace fs = std::filesystem;
    const fs::path from = fs::path(TAVIK_SOURCE_DIR) / "tests/data/gsc";
    const fs::path to = fs::path(home.path()) / "gsc";
    int files = 0;
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(from)) {
        if (!e.is_regular_file())
            continue;
        std::string rel = fs::relative(e.path(), from).string();
        std::transform(rel.begin(), rel.end(), rel.begin(), [](unsigned char c) { return std::tolower(c); });
        fs::create_directories((to / rel).parent_path());
        fs::copy_file(e.path(), to / rel);
        files++;
    }
    ASSERT_GT(files, 10);
    const std::string bscPath = home.file("bsc.xpm"), gscPath = home.file("gsc.xpm");
    const std::string view = "MODE EQT;VIEW ANGLE 2;LOOK EQT 3.7833,24.12;MAG STAR 9.5;";
    auto p = start({"ConfirmQuit = False"},
                   {{"F5", view + "STARDATA BSC;DRIVE;GSAVE " + bscPath},
                    {"F6", "STARDATA GSC;DRIVE;GSAVE " + gscPath}},
                   {"-q", "-xrm", "TAvik*GscPath: " + to.string(), "-xrm",
                    std::string("TAvik*GscIndexFile: ") + TAVIK_SOURCE_DIR + "/data/tavik.gsc"});
    ASSERT_NE(window, 0u) << p->err();
    const XpmPixels bsc = saveByKey("F5", bscPath);
    ASSERT_FALSE(bsc.pixels.empty()) << p->err();
    const XpmPixels gsc = saveByKey("F6", gscPath);
    ASSERT_FALSE(gsc.pixels.empty()) << p->err();
    auto star0 = [](const XpmPixels &x) {
        return std::count(x.pixels.begin(), x.pixels.end(), 0xDFDFFFul); // ColorStar0 "#DFDFFF"
    };
    EXPECT_GT(star0(gsc), star0(bsc) + 10) << "catalogue stars drawn: " << star0(gsc) << ", table: " << star0(bsc);
    EXPECT_EQ(xCountWindows(server.display(), "MessageBox_popup", "TAvik"), 0) << p->err();
    EXPECT_TRUE(p->running());
}

} // namespace
