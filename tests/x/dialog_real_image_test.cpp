// The real program's dialogs against its TCP port: a dialog opened from its
// menu item (through an accelerator the test gives it), changed by keys and
// closed by OK draws the same image as the texts its OK sends, sent over TCP
// from the same start scene.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <functional>
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

using Lines = std::vector<std::string>;

// One dialog: its menu item, its shell, the start scene, the keys that
// change it once it has the focus (Return then presses its default button,
// OK), and what OK sends for that change, as the dialog's own tests without
// X have it.
struct Row {
    const char *name;
    const char *item;
    const char *shell;
    const char *scene;
    Lines keys;
    Lines okTexts;
    bool noVerticalBar = false; // the mode after OK: the chart takes the bar's place
};

const Row kRows[] = {
    // The focus starts on the set chart kind, General; Down and space choose
    // the cylindrical map, which cannot be horizontal and goes equatorial.
    {"projection: horizontal chart to cylindrical map", "MenuViewProjection", "ProjectionDialog_popup",
     "SCENE MAIN\nDATE 2003,7,14,21,30,0,9\nMODE HRZ\nDRIVE\nEND SCENE\n", {"Down", "space"},
     {"MODE ALL1_EQT; DRIVE"}, true},
    // Every planet shown plainly in the solar-system view, where each is
    // in the picture; the focus starts on the list (Mercury chosen), Tab
    // moves it to the toggles, and space hides Mercury.
    {"planet: Mercury hidden", "MenuObjectPlanet", "PlanetDialog_popup",
     "SCENE MAIN\nDATE 2003,7,14,21,30,0,9\nMODE SOL1\nSHOW MERCURY\nHIDE MERCURY_NAME\n"
     "HIDE MERCURY_DATE\nHIDE MERCURY_OBT\nHIDE MERCURY_MAG\nREAL MERCURY\nSHOW VENUS\n"
     "HIDE VENUS_NAME\nHIDE VENUS_DATE\nHIDE VENUS_OBT\nHIDE VENUS_MAG\nREAL VENUS\nSHOW EARTH\n"
     "HIDE EARTH_NAME\nHIDE EARTH_DATE\nHIDE EARTH_OBT\nSHOW MARS\nHIDE MARS_NAME\nHIDE MARS_DATE\n"
     "HIDE MARS_OBT\nHIDE MARS_MAG\nREAL MARS\nSHOW JUPITER\nHIDE JUPITER_NAME\nHIDE JUPITER_DATE\n"
     "HIDE JUPITER_OBT\nHIDE JUPITER_MAG\nREAL JUPITER\nSHOW SATURN\nHIDE SATURN_NAME\n"
     "HIDE SATURN_DATE\nHIDE SATURN_OBT\nHIDE SATURN_MAG\nREAL SATURN\nSHOW URANUS\nHIDE URANUS_NAME\n"
     "HIDE URANUS_DATE\nHIDE URANUS_OBT\nHIDE URANUS_MAG\nREAL URANUS\nSHOW NEPTUNE\n"
     "HIDE NEPTUNE_NAME\nHIDE NEPTUNE_DATE\nHIDE NEPTUNE_OBT\nHIDE NEPTUNE_MAG\nREAL NEPTUNE\n"
     "SHOW PLUTO\nHIDE PLUTO_NAME\nHIDE PLUTO_DATE\nHIDE PLUTO_OBT\nHIDE PLUTO_MAG\nREAL PLUTO\n"
     "DISK_MAG 5\nDRIVE\nEND SCENE\n",
     {"Tab", "space"},
     {
      "HIDE MERCURY;HIDE MERCURY_NAME;HIDE MERCURY_DATE;HIDE MERCURY_OBT;HIDE MERCURY_MAG;REAL MERCURY;",
      "SHOW VENUS;HIDE VENUS_NAME;HIDE VENUS_DATE;HIDE VENUS_OBT;HIDE VENUS_MAG;REAL VENUS;",
      "SHOW EARTH;HIDE EARTH_NAME;HIDE EARTH_DATE;HIDE EARTH_OBT;",
      "SHOW MARS;HIDE MARS_NAME;HIDE MARS_DATE;HIDE MARS_OBT;HIDE MARS_MAG;REAL MARS;",
      "SHOW JUPITER;HIDE JUPITER_NAME;HIDE JUPITER_DATE;HIDE JUPITER_OBT;HIDE JUPITER_MAG;REAL JUPITER;",
      "SHOW SATURN;HIDE SATURN_NAME;HIDE SATURN_DATE;HIDE SATURN_OBT;HIDE SATURN_MAG;REAL SATURN;",
      "SHOW URANUS;HIDE URANUS_NAME;HIDE URANUS_DATE;HIDE URANUS_OBT;HIDE URANUS_MAG;REAL URANUS;",
      "SHOW NEPTUNE;HIDE NEPTUNE_NAME;HIDE NEPTUNE_DATE;HIDE NEPTUNE_OBT;HIDE NEPTUNE_MAG;REAL NEPTUNE;",
      "SHOW PLUTO;HIDE PLUTO_NAME;HIDE PLUTO_DATE;HIDE PLUTO_OBT;HIDE PLUTO_MAG;REAL PLUTO;",
      "DISK_MAG 5;", "DRIVE"}},
    // Every line and grid hidden; the focus starts on the first line's
    // toggle, the J2000 equator, and space shows it.
    {"grid: the J2000 equator shown", "MenuViewGrid", "GridDialog_popup",
     "SCENE MAIN\nDATE 2003,7,14,21,30,0,9\nMODE EQT\n"
     "HIDE EQT_2000\nHIDE EQT_GRID_2000\nHIDE EQT_GRID_2000_NUM\nHIDE EQT_1950\nHIDE EQT_GRID_1950\n"
     "HIDE EQT_GRID_1950_NUM\nHIDE EQT_DATE\nHIDE EQT_GRID_DATE\nHIDE EQT_GRID_DATE_NUM\nHIDE ECL\nHIDE ECL_GRID\n"
     "HIDE ECL_GRID_NUM\nHIDE GAL\nHIDE GAL_GRID\nHIDE GAL_GRID_NUM\nHIDE MERIDIAN\nHIDE HRZ_GRID\n"
     "HIDE HRZ_GRID_NUM\nGRID NORMAL\nHIDE SOL_GRID\nDRIVE\nEND SCENE\n",
     {"space"},
     {"SHOW EQT_2000", "HIDE EQT_GRID_2000", "HIDE EQT_GRID_2000_NUM", "HIDE EQT_1950", "HIDE EQT_GRID_1950",
      "HIDE EQT_GRID_1950_NUM", "HIDE EQT_DATE", "HIDE EQT_GRID_DATE", "HIDE EQT_GRID_DATE_NUM", "HIDE ECL",
      "HIDE ECL_GRID", "HIDE ECL_GRID_NUM", "HIDE GAL", "HIDE GAL_GRID", "HIDE GAL_GRID_NUM", "HIDE MERIDIAN",
      "HIDE HRZ_GRID", "HIDE HRZ_GRID_NUM", "GRID NORMAL", "HIDE SOL_GRID", "DRIVE"}},
    // The built-in stars shown; the focus starts on the stars' own toggle
    // and space hides them.
    {"star: the stars hidden", "MenuObjectStar", "StarDialog_popup",
     "SCENE MAIN\nDATE 2003,7,14,21,30,0,9\nMODE EQT\nSTARDATA STD\nSHOW STAR\nHIDE STARNAME\n"
     "SHOW STAR_MAG\nHIDE BAYER\nSHOW FLAMSTEED\nMAG STAR 5.0\nMAG STARNAME 2.0\nDRIVE\nEND SCENE\n",
     {"space"},
     {"STARDATA STD", "HIDE STAR", "HIDE STARNAME", "SHOW STAR_MAG", "HIDE BAYER", "SHOW FLAMSTEED",
      "MAG STAR 5.0", "MAG STARNAME 2.0", "DRIVE"}},
};

class DialogRealImageX : public ::testing::Test {
protected:
    XServer server;
    Window window = 0;
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    std::unique_ptr<TavikProcess> startIn(const TempDir &dir, const Row &row, const Lines &options,
                                          const Lines &extra)
    {
        writeOptionsFile(dir.path(), options);
        const std::string scene = dir.write("start.stl", row.scene);
        TavikRunOptions o;
        o.display = server.name();
        o.home = dir.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300"};
        o.args.insert(o.args.end(), extra.begin(), extra.end());
        o.args.push_back("-q");
        o.args.push_back(scene);
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    // The image GSAVE writes when `key` (bound to it) is pressed in the
    // drawing area; the key follows every earlier event in the one queue.
    XpmPixels saveByKey(const std::string &key, const std::string &path)
    {
        Display *d = server.display();
        xFocusWindow(d, window);
        unlink(path.c_str());
        xSendKey(d, window, key);
        XpmPixels image;
        waitUntil([&] { return !(image = readXpm(d, path)).pixels.empty(); }, 30000);
        return image;
    }

    // The image after OK in the dialog, and the start image. `prepare` runs
    // once the program stands (its home made); `drive` works the dialog once
    // it has the focus and presses OK, by default the row's keys and Return.
    void throughDialog(const Row &row, XpmPixels *start, XpmPixels *after,
                       const std::function<void(Window dialog)> &drive = {},
                       const std::function<void(const TempDir &home)> &prepare = {})
    {
        Display *d = server.display();
        TempDir home;
        const std::string startPath = home.file("start.xpm"), afterPath = home.file("after.xpm");
        Lines extra = {"-xrm", std::string("TAvik*") + row.item + ".accelerator: <Key>F5"};
        const Lines bind = xrmBindStkDoit({{"F6", "GSAVE " + afterPath}, {"F7", "GSAVE " + startPath}});
        extra.insert(extra.end(), bind.begin(), bind.end());
        auto p = startIn(home, row, {"ConfirmQuit = False"}, extra);
        ASSERT_NE(window, 0u) << p->err();
        if (prepare)
            prepare(home);
        *start = saveByKey("F7", startPath);
        ASSERT_FALSE(start->pixels.empty()) << p->err();
        xSendKey(d, window, "F5");
        const Window dialog = xWaitForWindow(d, row.shell, "TAvik", 30000);
        ASSERT_NE(dialog, 0u) << p->err();
        xFocusWindow(d, dialog);
        usleep(200000); // the toolkit takes the focus before the keys arrive
        if (drive) {
            drive(dialog);
        } else {
            for (const std::string &key : row.keys)
                ASSERT_TRUE(xSendKey(d, dialog, key)) << key;
            xSendKey(d, dialog, "Return");
        }
        ASSERT_TRUE(waitUntil([&] { return xFindWindow(d, row.shell, "TAvik") == 0; }, 30000))
            << "OK closes the dialog";
        EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "the texts ran without an error";
        *after = saveByKey("F6", afterPath);
        ASSERT_FALSE(after->pixels.empty()) << p->err();
        p->kill();
    }

    XpmPixels throughTcp(const Row &row)
    {
        TempDir home;
        const int port = tcpFreePort();
        auto p = startIn(home, row, {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"}, {});
        EXPECT_NE(window, 0u) << p->err();
        const int fd = tcpConnectLoopback(port);
        EXPECT_GE(fd, 0) << p->err();
        if (fd < 0)
            return {};
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        for (const std::string &text : row.okTexts) {
            EXPECT_TRUE(tcpSend(fd, text + "\n"));
            EXPECT_EQ(tcpReadReply(fd), "tavik> ") << text;
        }
        const std::string path = home.file("tcp.xpm");
        EXPECT_TRUE(tcpSend(fd, "GSAVE \"" + path + "\"\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        close(fd);
        p->kill();
        return readXpm(server.display(), path);
    }
};

TEST_F(DialogRealImageX, OkDrawsWhatItsTextsDrawOverTcp)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.name);
        XpmPixels start, fromDialog;
        throughDialog(row, &start, &fromDialog);
        if (fromDialog.pixels.empty())
            continue;
        const XpmPixels fromTcp = throughTcp(row);
        ASSERT_FALSE(fromTcp.pixels.empty());
        EXPECT_EQ(start.width, 400);
        if (row.noVerticalBar)
            EXPECT_GT(fromTcp.width, start.width) << "the chart takes the hidden bar's place";
        else
            EXPECT_EQ(fromTcp.width, start.width);
        EXPECT_EQ(fromTcp.width, fromDialog.width);
        EXPECT_EQ(fromTcp.height, fromDialog.height);
        EXPECT_TRUE(fromTcp.pixels == fromDialog.pixels) << "the dialog's image differs from its texts' over TCP";
        EXPECT_FALSE(fromDialog.pixels == start.pixels) << "the change in the dialog changes the chart";
    }
}

// The real site dialog's Search... pressed three times for "new york" walks
// to the third match of the shipped site list, New York (USA) (a later press
// found the first again), and OK then draws what its LOCATE, made from that
// line of the file, draws over TCP.
TEST_F(DialogRealImageX, ThirdSiteSearchFindsNewYorkAndOkLocatesIt)
{
    const Row row = {"site", "MenuSettingsObs", "SiteDialog_popup",
                     "SCENE MAIN\nDATE 2003,7,14,21,30,0,9\nMODE HRZ\nDRIVE\nEND SCENE\n", {},
                     // New York (USA)  73.994W 40.752N  11 -05.00
                     {"LOCATE 73.99400W,40.75200N,-5.00,11.00,\"New York (USA)\";DRIVE"}};
    Display *d = server.display();
    auto search = [&](Window dialog) {
        // From the toggle the focus starts on, past the list to the button
        // column (OK first), down to Search...
        for (const char *key : {"Tab", "Tab", "Down", "Down"}) {
            xSendKey(d, dialog, key);
            usleep(100000);
        }
        for (int k = 0; k < 3; k++) {
            xFocusWindow(d, dialog);
            usleep(200000);
            xSendKey(d, dialog, "space"); // presses Search...
            const Window box = xWaitForWindow(d, "SiteSearchDialog_popup", "TAvik", 30000);
            ASSERT_NE(box, 0u);
            xFocusWindow(d, box);
            usleep(200000);
            if (k == 0) // later openings show the text again
                for (const char *key : {"n", "e", "w", "space", "y", "o", "r", "k"})
                    xSendKey(d, box, key);
            xSendKey(d, box, "Return");
            ASSERT_TRUE(waitUntil([&] { return xFindWindow(d, "SiteSearchDialog_popup", "TAvik") == 0; }, 30000))
                << "a match closes the search box";
        }
        // Up from Search... past Cancel to OK, which space presses.
        xFocusWindow(d, dialog);
        usleep(200000);
        for (const char *key : {"Up", "Up", "space"}) {
            xSendKey(d, dialog, key);
            usleep(100000);
        }
    };
    XpmPixels start, fromDialog;
    throughDialog(row, &start, &fromDialog, search, [](const TempDir &home) {
        home.write(".tavik/tavik.obs", readFile(TAVIK_SOURCE_DIR "/data/tavik.obs"));
    });
    ASSERT_FALSE(fromDialog.pixels.empty());

    const XpmPixels fromTcp = throughTcp(row);
    ASSERT_FALSE(fromTcp.pixels.empty());
    EXPECT_TRUE(fromTcp.pixels == fromDialog.pixels) << "OK did not locate New York (USA)";
    EXPECT_FALSE(fromDialog.pixels == start.pixels);
}

} // namespace
