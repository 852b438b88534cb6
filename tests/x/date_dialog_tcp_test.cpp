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
                                          const std::vector<std::pair<std::string, std::string>> &keys)
    {
        writeOptionsFile(dir.path(), options);
        const std::string scene = dir.write("start.stl", kScene);
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
};

TEST_F(DateDialogTcpX, DateOkDrawsWhatItsTextsDrawOverTcp)
{
    Display *d = server.display();

    // The dialog: INPUT DATE on F5, Return presses its default button OK,
    // then GSAVE on F6.
    TempDir dialogHome;
    const std::string dialogPath = dialogHome.file("dialog.xpm");
    auto viaDialog = startIn(dialogHome, {"ConfirmQuit = False"},
                             {{"F5", "INPUT DATE"}, {"F6", "GSAVE " + dialogPath}});
    ASSERT_NE(window, 0u) << viaDialog->err();
    xSendKey(d, window, "F5");
    const Window dialog = xWaitForWindow(d, "DateDialog_popup", "TAvik", 30000);
    ASSERT_NE(dialog, 0u) << viaDialog->err();
    xFocusWindow(d, dialog);
    usleep(200000); // the toolkit takes the focus before the key arrives
    xSendKey(d, dialog, "Return");
    ASSERT_TRUE(waitUntil([&] { return xFindWindow(d, "DateDialog_popup", "TAvik") == 0; }, 30000))
        << "OK closes the dialog";
    EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "the texts ran without an error";
    xFocusWindow(d, window);
    usleep(200000);
    xSendKey(d, window, "F6");
    XpmPixels fromDialog;
    ASSERT_TRUE(waitUntil([&] { return !(fromDialog = readXpm(d, dialogPath)).pixels.empty(); }, 30000))
        << viaDialog->err();
    viaDialog->kill();

    // The same texts over TCP from the same scene.
    TempDir tcpHome;
    const int port = tcpFreePort();
    auto viaTcp = startIn(tcpHome, {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"}, {});
    ASSERT_NE(window, 0u) << viaTcp->err();
    const int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << viaTcp->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    for (const std::string &text : kDateOkTexts) {
        ASSERT_TRUE(tcpSend(fd, text + "\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ") << text;
    }
    const std::string tcpPath = tcpHome.file("tcp.xpm");
    ASSERT_TRUE(tcpSend(fd, "GSAVE \"" + tcpPath + "\"\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    close(fd);
    viaTcp->kill();

    const XpmPixels fromTcp = readXpm(d, tcpPath);
    ASSERT_FALSE(fromTcp.pixels.empty());
    EXPECT_EQ(fromTcp.width, 400);
    EXPECT_EQ(fromTcp.width, fromDialog.width);
    EXPECT_EQ(fromTcp.height, fromDialog.height);
    EXPECT_TRUE(fromTcp.pixels == fromDialog.pixels) << "the dialog's image differs from its texts' over TCP";
}

} // namespace
