// The real program on a full disk: GSAVE over the TCP port says the image
// could not be written and leaves an old image byte for byte, a new name
// without a file, and no temporary. The disk fills when the program's file
// size limit is lowered under it, after a first image showed that it draws
// and saves. The program ignores SIGXFSZ itself: under a user's ulimit -f the
// default action would end it in the middle of the write.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <dirent.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

std::vector<std::string> entries(const std::string &dir) {
    std::vector<std::string> names;
    DIR *d = opendir(dir.c_str());
    for (struct dirent *e; d && (e = readdir(d));)
        if (e->d_name[0] != '.') names.push_back(e->d_name);
    if (d) closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

bool setFileSizeLimit(pid_t pid, rlim_t bytes) {
    struct rlimit limit;
    if (prlimit(pid, RLIMIT_FSIZE, nullptr, &limit) != 0) return false;
    limit.rlim_cur = bytes;
    return prlimit(pid, RLIMIT_FSIZE, &limit, nullptr) == 0;
}

TEST(FullDiskX, GsaveOverTcpSaysItFailedAndKeepsTheOldImage) {
    XServer server;
    ASSERT_TRUE(server.ok()) << server.why();
    TempDir home, images;
    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300", "-q"};
    TavikProcess p(TAVIK_EXECUTABLE, o);
    ASSERT_NE(xWaitForWindow(server.display(), "tavik", "TAvik", 30000), 0u) << p.err();
    int fd = -1;
    ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << p.err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    const std::string old = images.file("old.xpm");
    XpmPixels first;
    ASSERT_TRUE(waitUntil(
        [&] {
            return tcpSend(fd, "GSAVE \"" + old + "\"\n") && tcpReadReply(fd) == "tavik> " &&
                   !(first = readXpm(server.display(), old)).pixels.empty();
        },
        30000));
    const std::string oldBytes = readFile(old);
    ASSERT_GT(oldBytes.size(), 65536u);

    ASSERT_TRUE(tcpSend(fd, "MODE EQT;DRIVE\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    ASSERT_TRUE(setFileSizeLimit(p.pid(), 65536));
    for (const std::string &name : {old, images.file("new.xpm")}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(tcpSend(fd, "GSAVE \"" + name + "\"\n"));
        EXPECT_EQ(tcpReadReply(fd), "GSAVE: Failed to create file: \ntavik> ");
    }
    const std::string kept = readFile(old);
    EXPECT_TRUE(kept == oldBytes) << "the old image of " << oldBytes.size() << " bytes is now " << kept.size()
                                  << " bytes: " << kept.substr(0, 40);
    EXPECT_EQ(entries(images.path()), std::vector<std::string>{"old.xpm"}) << "a cut image or a temporary is left";

    // With room again the program saves as before: it went on running.
    ASSERT_TRUE(setFileSizeLimit(p.pid(), RLIM_INFINITY));
    ASSERT_TRUE(tcpSend(fd, "GSAVE \"" + old + "\"\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    EXPECT_FALSE(readXpm(server.display(), old).pixels.empty());
    EXPECT_TRUE(readFile(old) != oldBytes) << "an equatorial chart now";
    close(fd);
    p.kill();
}

} // namespace
