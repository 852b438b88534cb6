// The TCP command port of the real program: start-up, a client's lines, a
// line that asks a question, and key bindings beside a connected client.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/xpm.h>

#include <arpa/inet.h>
#include <cstdlib>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

using Lines = std::vector<std::string>;

class TcpPortX : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    // Starts tavik with the options lines; F5 runs EXIT.
    std::unique_ptr<TavikProcess> start(const Lines &options)
    {
        writeOptionsFile(home.path(), options);
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = xrmBindStkDoit("F5", "EXIT");
        o.args.push_back("-q");
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    // Quits with the F5 key under ConfirmQuit, running whileAsked while the
    // question is open: the key ran, so start-up is over. True when the
    // program ended with status 0.
    bool quitByKey(TavikProcess &p, const std::function<void()> &whileAsked = nullptr)
    {
        Display *d = server.display();
        xSendKey(d, window, "F5");
        if (!xWaitForWindow(d, "QuestionDialog_popup", "TAvik", 20000))
            return false;
        if (whileAsked)
            whileAsked();
        return xAnswerQuestion(d, true) && p.waitExit(20000) && p.status() == 0;
    }

    std::string optionsFile() const { return readFile(home.file(".tavik/options")); }

    XServer server;
    TempDir home;
    Window window = 0;
};

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(TcpPortX, AClientDrivesTheProgramOverLoopback)
{
    const int port = tcpFreePort();
    auto p = start({"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
    ASSERT_NE(window, 0u) << p->err();
    int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << p->err();
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    EXPECT_EQ(tcpListeningAddresses(p->pid()), Lines{"127.0.0.1:" + std::to_string(port)});

    int second = tcpConnectLoopback(port);
    EXPECT_EQ(tcpReadToEof(second), "") << "a second client gets no byte";
    close(second);

    ASSERT_TRUE(tcpSend(fd, "XYZ\n"));
    EXPECT_EQ(tcpReadReply(fd), "XYZ: Syntax Error: XYZ\ntavik> ");
    ASSERT_TRUE(tcpSend(fd, "MIRROR 2\nXYZ\n")); // two lines in one write: each runs, each replied to
    std::string both = tcpReadReply(fd);
    if (both == "tavik> ")
        both += tcpReadReply(fd);
    EXPECT_EQ(both, "tavik> XYZ: Syntax Error: XYZ\ntavik> ");
    ASSERT_TRUE(tcpSend(fd, "BYE\r\n"));
    EXPECT_EQ(tcpReadToEof(fd), "");
    close(fd);

    fd = tcpConnectLoopback(port);
    EXPECT_EQ(tcpReadReply(fd), "tavik> ") << "served again after bye";
    ASSERT_TRUE(tcpSend(fd, "EXIT\n"));
    EXPECT_EQ(tcpReadToEof(fd), "") << "the quit closes the connection";
    close(fd);
    ASSERT_TRUE(p->waitExit(20000));
    EXPECT_EQ(p->status(), 0) << p->err();
    EXPECT_TRUE(contains(optionsFile(), "SocketPort = " + std::to_string(port) + "\n")) << optionsFile();
    EXPECT_FALSE(contains(optionsFile(), "SocketAddress")) << "written only when set";
}

TEST_F(TcpPortX, StartUpRefusalsAreReportedAndTheProgramRunsOn)
{
    const int busyPort = tcpFreePort();
    int busy = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0); // not the program's
    sockaddr_in a = tcpLoopbackAddress(busyPort);
    ASSERT_EQ(bind(busy, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(listen(busy, 1), 0);

    struct Case {
        const char *name;
        Lines options;
        std::string message; // on standard error; empty: none
        Lines kept;          // options lines the quit writes back
    } cases[] = {
        {"port 0 opens nothing", {"SocketPort = 0"}, "", {"SocketPort = 0"}},
        {"port above 65535", {"SocketPort = 70000"}, "socket port 70000 out of range.\n",
         {"SocketPort = 70000"}},
        {"negative port", {"SocketPort = -1"}, "socket port -1 out of range.\n", {"SocketPort = -1"}},
        {"port in use", {"SocketPort = " + std::to_string(busyPort)}, "socket bind failed.\n",
         {"SocketPort = " + std::to_string(busyPort)}},
        {"unknown address",
         {"SocketPort = " + std::to_string(tcpFreePort()), "SocketAddress = somewhere"},
         "somewhere: host unknown.\n", {"SocketAddress = somewhere"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Lines options = c.options;
        options.push_back("ConfirmQuit = True");
        auto p = start(options);
        ASSERT_NE(window, 0u) << p->err();
        EXPECT_TRUE(quitByKey(*p, [&] { EXPECT_EQ(tcpListeningAddresses(p->pid()), Lines{}); }))
            << p->err();
        if (c.message.empty())
            EXPECT_FALSE(contains(p->err(), "socket")) << p->err();
        else
            EXPECT_TRUE(contains(p->err(), c.message)) << p->err();
        for (const std::string &line : c.kept)
            EXPECT_TRUE(contains(optionsFile(), line + "\n")) << optionsFile();
    }
    close(busy);
}

TEST_F(TcpPortX, SocketAddressIsKeptAtQuit)
{
    const int port = tcpFreePort();
    auto p = start({"SocketPort = " + std::to_string(port), "SocketAddress = 127.0.0.1",
                    "ConfirmQuit = True"});
    ASSERT_NE(window, 0u) << p->err();
    int fd = tcpConnectLoopback(port);
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    close(fd);
    EXPECT_TRUE(quitByKey(*p)) << p->err();
    EXPECT_TRUE(contains(optionsFile(), "SocketAddress = 127.0.0.1\n")) << optionsFile();
}

TEST_F(TcpPortX, ASecondClientArrivingWhileALineWaitsInTheQuestionIsClosed)
{
    const int port = tcpFreePort();
    auto p = start({"SocketPort = " + std::to_string(port), "ConfirmQuit = True"});
    ASSERT_NE(window, 0u) << p->err();
    Display *d = server.display();
    int fd = tcpConnectLoopback(port);
    ASSERT_EQ(tcpReadReply(fd), "tavik> ") << p->err();

    ASSERT_TRUE(tcpSend(fd, "EXIT\n"));
    ASSERT_NE(xWaitForWindow(d, "QuestionDialog_popup", "TAvik", 20000), 0u);
    int second = tcpConnectLoopback(port);
    EXPECT_EQ(tcpReadToEof(second), "") << "second client while the question is open";
    close(second);
    ASSERT_TRUE(xAnswerQuestion(d, false));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ") << "the refused quit returns to the client";

    ASSERT_TRUE(tcpSend(fd, "EXIT\n"));
    ASSERT_TRUE(xAnswerQuestion(d, true));
    EXPECT_EQ(tcpReadToEof(fd), "");
    close(fd);
    ASSERT_TRUE(p->waitExit(20000));
    EXPECT_EQ(p->status(), 0) << p->err();
}

TEST_F(TcpPortX, KeyBindingsRunWhileASilentClientHoldsThePort)
{
    const int port = tcpFreePort();
    auto p = start({"SocketPort = " + std::to_string(port), "ConfirmQuit = True"});
    ASSERT_NE(window, 0u) << p->err();
    int silent = tcpConnectLoopback(port);
    ASSERT_EQ(tcpReadReply(silent), "tavik> ") << p->err();
    EXPECT_TRUE(quitByKey(*p)) << p->err();
    EXPECT_EQ(tcpReadToEof(silent), "");
    close(silent);
}

// INIT without a default site, 2,500 times over TCP: the one warning box of
// the start-up stands, not one more an INIT (they once added up to 25 MB),
// and the program answers all along.
TEST_F(TcpPortX, ThousandsOfInitsWithoutADefaultSiteLeaveOneWarningBox)
{
    const int port = tcpFreePort();
    auto p = start({"SocketPort = " + std::to_string(port), "ConfirmQuit = False", "SiteName = Nowhere"});
    ASSERT_NE(window, 0u) << p->err();
    Display *d = server.display();
    ASSERT_NE(xWaitForWindow(d, "MessageBox_popup", "TAvik", 20000), 0u) << "the start-up's warning";
    int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << p->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    std::string fifty = "INIT";
    for (int i = 1; i < 50; i++)
        fifty += ";INIT";
    for (int i = 0; i < 50; i++) {
        ASSERT_TRUE(tcpSend(fd, fifty + "\n"));
        ASSERT_EQ(tcpReadReply(fd), "tavik> ") << "line " << i;
    }
    // Boxes map when the event loop comes round; give them the time.
    EXPECT_FALSE(waitUntil([&] { return xCountWindows(d, "MessageBox_popup", "TAvik") > 1; }, 2000))
        << xCountWindows(d, "MessageBox_popup", "TAvik") << " boxes";
    EXPECT_EQ(xCountWindows(d, "MessageBox_popup", "TAvik"), 1);
    close(fd);
    EXPECT_TRUE(p->running());
    p->kill();
}

// The same stopped moment, site and window size for every run.
class TcpAgainstKeyX : public TcpPortX {
protected:
    std::unique_ptr<TavikProcess> startIn(const TempDir &dir, const Lines &options,
                                          const std::vector<std::pair<std::string, std::string>> &keys)
    {
        writeOptionsFile(dir.path(), options);
        TavikRunOptions o;
        o.display = server.name();
        o.home = dir.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 500", "-xrm", "TAvik.Main.DrawingArea.height: 400"};
        const Lines bind = xrmBindStkDoit(keys);
        o.args.insert(o.args.end(), bind.begin(), bind.end());
        o.args.push_back("-q");
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }
};

TEST_F(TcpAgainstKeyX, TheSameTextOverTcpAndFromAKeyGivesTheSameImage)
{
    const std::string command = "MODE EQT;MAG STAR 5;DRIVE";
    Display *d = server.display();

    // Over TCP: the start state's image (retried until the first frame is
    // there), then the command, then the image after it.
    TempDir tcpHome;
    const int port = tcpFreePort();
    auto viaTcp = startIn(tcpHome, {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"}, {});
    ASSERT_NE(window, 0u) << viaTcp->err();
    int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << viaTcp->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    const std::string startPath = tcpHome.file("start.xpm");
    ASSERT_TRUE(waitUntil(
        [&] {
            return tcpSend(fd, "GSAVE \"" + startPath + "\"\n") && tcpReadReply(fd) == "tavik> " &&
                   !readXpm(d, startPath).pixels.empty();
        },
        30000))
        << viaTcp->err();
    ASSERT_TRUE(tcpSend(fd, command + "\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    const std::string tcpPath = tcpHome.file("a.xpm");
    ASSERT_TRUE(tcpSend(fd, "GSAVE \"" + tcpPath + "\"\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    close(fd);
    viaTcp->kill();

    // From keys: the same text bound to F5, the save to F6.
    TempDir keyHome;
    const std::string keyPath = keyHome.file("a.xpm");
    auto viaKey = startIn(keyHome, {"ConfirmQuit = False"},
                          {{"F5", command}, {"F6", "GSAVE " + keyPath}});
    ASSERT_NE(window, 0u) << viaKey->err();
    xSendKey(d, window, "F5");
    xSendKey(d, window, "F6");
    XpmPixels fromKey;
    ASSERT_TRUE(waitUntil([&] { return !(fromKey = readXpm(d, keyPath)).pixels.empty(); }, 30000))
        << viaKey->err();
    viaKey->kill();

    const XpmPixels start = readXpm(d, startPath), fromTcp = readXpm(d, tcpPath);
    ASSERT_FALSE(fromTcp.pixels.empty());
    EXPECT_EQ(fromTcp.width, 500);
    EXPECT_EQ(fromTcp.width, fromKey.width);
    EXPECT_EQ(fromTcp.height, fromKey.height);
    EXPECT_TRUE(fromTcp.pixels == fromKey.pixels) << "the TCP image differs from the key's";
    EXPECT_FALSE(start.pixels == fromTcp.pixels) << "the command changed nothing in the image";
}

// A slow client: a line that reaches the program one byte at a time runs
// once, whole. Run as pieces, "DATE 1" would set the year 1 and each later
// piece would get a syntax error of its own.
TEST_F(TcpAgainstKeyX, ALineSentOneByteAtATimeRunsOnceWhole)
{
    const std::string line = "DATE 1999,12,31,22,0,0;MODE EQT;VIEW ANGLE 60;DRIVE";
    Display *d = server.display();
    TempDir dir;
    const int port = tcpFreePort();
    auto p = startIn(dir, {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"}, {});
    ASSERT_NE(window, 0u) << p->err();
    int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << p->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    auto save = [&](const std::string &name) {
        const std::string path = dir.file(name);
        EXPECT_TRUE(tcpSend(fd, "GSAVE \"" + path + "\"\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        return readXpm(d, path);
    };

    ASSERT_TRUE(tcpSend(fd, line + "\n"));
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    const XpmPixels whole = save("whole.xpm");
    ASSERT_TRUE(tcpSend(fd, "INIT;DRIVE\n"));
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    const XpmPixels other = save("other.xpm");

    int nodelay = 1; // each byte its own packet
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
    for (char c : line + "\n") {
        ASSERT_TRUE(tcpSend(fd, std::string(1, c)));
        sleepMs(5);
    }
    EXPECT_EQ(tcpReadReply(fd), "tavik> ") << "one line, one reply";
    const XpmPixels slow = save("slow.xpm");
    close(fd);
    p->kill();

    ASSERT_FALSE(whole.pixels.empty());
    ASSERT_FALSE(slow.pixels.empty());
    EXPECT_FALSE(other.pixels == whole.pixels) << "INIT changed nothing in the image";
    EXPECT_TRUE(slow.pixels == whole.pixels) << "the slow line drew another chart";
}

} // namespace
