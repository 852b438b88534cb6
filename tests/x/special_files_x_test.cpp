// The real program given files that are no regular files, where a data file
// was expected: a FIFO, /dev/zero, /dev/urandom, a directory, a symbolic link
// to /dev/full. Each once hung the program (or grew it without end); now
// each is refused at once, with the command's "File not found" over TCP, and
// start-up goes on past each of them.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"

namespace {

using Lines = std::vector<std::string>;

class SpecialFilesX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
        ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    }

    std::unique_ptr<TavikProcess> start(const Lines &args)
    {
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = args;
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    XServer server;
    TempDir home, files;
    const std::string fifo = files.file("fifo"), folder = files.file("folder"), full = files.file("full");
    Window window = 0;
};

bool startsWith(const std::string &s, const std::string &start)
{
    return s.compare(0, start.size(), start) == 0;
}

// With the sky-mark file, the click-data file and the start-up script
// FIFOs, start-up reaches the TCP port; there every command that reads a
// file refuses each special file within a few seconds.
TEST_F(SpecialFilesX, CommandsOverTcpRefuseEachSpecialFileAtOnce)
{
    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
    ASSERT_EQ(mkfifo(home.file(".tavik/tavikrc").c_str(), 0600), 0);
    auto p = start({"-xrm", "TAvik*SkyMarkFile: " + fifo, "-xrm", "TAvik*ClickDataFile: " + fifo});
    ASSERT_NE(window, 0u) << p->err();
    int fd = tcpConnectLoopback(port, 20000);
    ASSERT_GE(fd, 0) << p->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");

    const Lines paths = {fifo, "/dev/zero", "/dev/urandom", folder, full};
    const struct {
        const char *command;
        const char *word;
    } commands[] = {{"STL \"%s\"", "STL"}, {"LOAD AD, \"%s\"", "LOAD"}, {"LOAD CLICKDATA, \"%s\"", "LOAD"}};
    for (const auto &c : commands)
        for (const std::string &path : paths) {
            SCOPED_TRACE(std::string(c.command) + " of " + path);
            char line[512];
            std::snprintf(line, sizeof line, c.command, path.c_str());
            const auto began = std::chrono::steady_clock::now();
            ASSERT_TRUE(tcpSend(fd, std::string(line) + "\n"));
            const std::string reply = tcpReadReply(fd);
            const auto took = std::chrono::steady_clock::now() - began;
            EXPECT_TRUE(startsWith(reply, std::string(c.word) + ": File not found: ")) << reply;
            EXPECT_LT(took, std::chrono::seconds(3)) << reply;
        }
    ASSERT_TRUE(tcpSend(fd, "XYZ\n"));
    EXPECT_EQ(tcpReadReply(fd), "XYZ: Syntax Error: XYZ\ntavik> ") << "still answering";
    close(fd);
    EXPECT_TRUE(p->running());
    p->kill();
}

// An options file that is a symbolic link to /dev/full reads as no options:
// the program comes up (with the first-run warning about the site) instead
// of reading zeros for ever.
TEST_F(SpecialFilesX, AnOptionsFileLinkedToDevFullReadsAsNoOptions)
{
    writeOptionsFile(home.path(), {});
    const std::string options = home.file(".tavik/options");
    ASSERT_EQ(unlink(options.c_str()), 0);
    ASSERT_EQ(symlink("/dev/full", options.c_str()), 0);
    auto p = start({"-q"});
    ASSERT_NE(window, 0u) << p->err();
    EXPECT_NE(xWaitForWindow(server.display(), "MessageBox_popup", "TAvik", 20000), 0u) << p->err();
    EXPECT_TRUE(p->running());
    p->kill();
}

// A start-up scene named on the command line that is no regular file is
// refused as an unreadable one, at once.
TEST_F(SpecialFilesX, AStartupSceneThatIsNoRegularFileIsRefused)
{
    for (const std::string &path : Lines{fifo, "/dev/zero", folder}) {
        SCOPED_TRACE(path);
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {path};
        const TavikResult r = runTavikToEnd(TAVIK_EXECUTABLE, o, 10000);
        EXPECT_TRUE(r.ended) << "still running";
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "tavik: can't open file " + path + "\n");
    }
}

} // namespace
