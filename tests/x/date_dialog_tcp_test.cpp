// The real program's Date dialog against its TCP port: OK in the dialog
// opened by INPUT DATE draws the same image as the dialog's texts sent over
// TCP from the same start scene.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

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

// The start scene: a moment with seconds, in zone +9, which the dialog's OK
// sends back without them.
const char kScene[] = "SCENE MAIN\nDATE 2003,7,14,21,30,45,9\nMODE EQT\nDRIVE\nEND SCENE\n";
// What Date OK sends for that scene's fields, unchanged.
const std::vector<std::string> kDateOkTexts = {"DATE 2003,7,14,21,30,0.000000,9.000000", "STIME NONE", "DRIVE"};

class DateDialogTcpX : public ::testing::Test {
protected:
    XServer server;
    Window window = 0;
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    std::unique_ptr<TavikProcess> startIn(const TempDir &dir, const std::vector<std::string> &options,
                                          const std::vector<std::pair<std::string, std::string>> &keys,
                                          const char *sceneText = kScene)
    {
        writeOptionsFile(dir.path(), options);
        const std::string scene = dir.write("start.stl", sceneText);
        TavikRunOptions o;
        o.display = server.name();
        o.home = dir.path();
        // Japanese: the first field is a text field, where Return presses OK.
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300",
                  "-xrm", "TAvik*DateStyle: Japanese"};
        const std::vector<std::string> bind = xrmBindStkDoit(keys);
        o.args.insert(o.args.end(), bind.begin(), bind.end());
        o.args.push_back("-q");
        o.args.push_back(scene);
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    // The chart after the dialog opened by INPUT DATE (on F5) got the keys
    // (the last one pressing OK), saved by GSAVE (on F6).
    XpmPixels viaDialog(const char *sceneText, const std::vector<const char *> &keys)
    {
        Display *d = server.display();
        TempDir home;
        const std::string path = home.file("dialog.xpm");
        auto p = startIn(home, {"ConfirmQuit = False"}, {{"F5", "INPUT DATE"}, {"F6", "GSAVE " + path}}, sceneText);
        XpmPixels image;
        EXPECT_NE(window, 0u) << p->err();
        xSendKey(d, window, "F5");
        const Window dialog = xWaitForWindow(d, "DateDialog_popup", "TAvik", 30000);
        EXPECT_NE(dialog, 0u) << p->err();
        if (!window || !dialog)
            return image;
        xFocusWindow(d, dialog);
        usleep(200000); // the toolkit takes the focus before the key arrives
        for (const char *key : keys) {
            xSendKey(d, dialog, key);
            usleep(50000);
        }
        EXPECT_TRUE(waitUntil([&] { return xFindWindow(d, "DateDialog_popup", "TAvik") == 0; }, 30000))
            << "OK closes the dialog";
        EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "the texts ran without an error";
        xFocusWindow(d, window);
        usleep(200000);
        xSendKey(d, window, "F6");
        EXPECT_TRUE(waitUntil([&] { return !(image = readXpm(d, path)).pixels.empty(); }, 30000)) << p->err();
        p->kill();
        return image;
    }

    // The chart after the texts sent over TCP from the same scene.
    XpmPixels viaTcp(const char *sceneText, const std::vector<std::string> &texts)
    {
        TempDir home;
        const int port = tcpFreePort();
        auto p = startIn(home, {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"}, {}, sceneText);
        EXPECT_NE(window, 0u) << p->err();
        const int fd = tcpConnectLoopback(port);
        EXPECT_GE(fd, 0) << p->err();
        if (fd < 0)
            return {};
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        const std::string path = home.file("tcp.xpm");
        std::vector<std::string> all = texts;
        all.push_back("GSAVE \"" + path + "\"");
        for (const std::string &text : all) {
            EXPECT_TRUE(tcpSend(fd, text + "\n"));
            EXPECT_EQ(tcpReadReply(fd), "tavik> ") << text;
        }
        close(fd);
        p->kill();
        return readXpm(server.display(), path);
    }
};

TEST_F(DateDialogTcpX, DateOkDrawsWhatItsTextsDrawOverTcp)
{
    // Return presses the default button OK.
    const XpmPixels fromDialog = viaDialog(kScene, {"Return"});
    const XpmPixels fromTcp = viaTcp(kScene, kDateOkTexts);
    ASSERT_FALSE(fromTcp.pixels.empty());
    ASSERT_FALSE(fromDialog.pixels.empty());
    EXPECT_EQ(fromTcp.width, 400);
    EXPECT_EQ(fromTcp.width, fromDialog.width);
    EXPECT_EQ(fromTcp.height, fromDialog.height);
    EXPECT_TRUE(fromTcp.pixels == fromDialog.pixels) << "the dialog's image differs from its texts' over TCP";
}

// Under an altitude lock, which the dialog shows as off, the user types
// 22:29 and presses OK: the chart shows 22:29 without a lock, as the date
// and "STIME NONE" over TCP draw it. The lock was kept unseen and the
// chart went back to the Sun's altitude.
TEST_F(DateDialogTcpX, TypedTimeUnderAnAltitudeLockIsTheChartsTime)
{
    const char scene[] = "SCENE MAIN\nDATE 2003,7,14,21,30,45,9\nSTIME SUNSET -6DEG\nMODE EQT\nDRIVE\nEND SCENE\n";
    // From the year field to the hour and the minute, each typed over what
    // it showed (the cursor stands at its start).
    const XpmPixels fromDialog = viaDialog(scene, {"Tab", "Tab", "Tab", "Delete", "Delete", "2", "2", "Tab", "Delete",
                                                   "Delete", "2", "9", "Return"});
    const XpmPixels fromTcp = viaTcp(scene, {"DATE 2003,7,14,22,29,0,9", "STIME NONE", "DRIVE"});
    ASSERT_FALSE(fromTcp.pixels.empty());
    ASSERT_FALSE(fromDialog.pixels.empty());
    EXPECT_EQ(fromTcp.width, fromDialog.width);
    EXPECT_EQ(fromTcp.height, fromDialog.height);
    EXPECT_TRUE(fromTcp.pixels == fromDialog.pixels) << "the chart after OK is not the typed time's";
}

} // namespace
