// The real program (built with the sanitizers, which stop it at any
// overflow) at the extremes of VIEW ANGLE, driven over TCP: a field of
// 1e-7 degrees once overflowed the projection's placement (the program
// ended under the sanitizer); a field of 350 degrees once culled most of the
// sky, because the cut-off angle passed 180 degrees and its cosine wrapped.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "resources/fallback.h"
#include "tests/support/scoped_env.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

// The ten star colours of the fallback table as 24-bit pixels.
std::vector<unsigned long> starColours(Display *d) {
    std::vector<unsigned long> out;
    for (int k = 0; k <= 9; k++) {
        const std::string prefix = "TAvik*ColorStar" + std::to_string(k) + ":";
        for (int i = 0; i < fallbackResourceCount && fallbackResources[i]; i++) {
            const std::string line = fallbackResources[i];
            if (line.compare(0, prefix.size(), prefix) != 0) continue;
            std::string value = line.substr(prefix.size());
            value.erase(0, value.find_first_not_of(' '));
            XColor c;
            if (XParseColor(d, DefaultColormap(d, DefaultScreen(d)), value.c_str(), &c))
                out.push_back(((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8));
        }
    }
    return out;
}

// Star pixels of the image farther than `radius` pixels from (cx, cy).
long starPixelsBeyond(const XpmPixels &image, const std::vector<unsigned long> &colours, double cx, double cy,
                      double radius) {
    long n = 0;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++)
            if (std::hypot(x - cx, y - cy) > radius)
                for (unsigned long c : colours) n += image.at(x, y) == c;
    return n;
}

TEST(ExtremeFieldX, ATinyFieldDrawsInEveryOrientationAndAWideOneDrawsTheWholeSky) {
    // Noon at Greenwich, stopped: the Sun is on the tiny charts, its disc
    // thousands of millions of pixels across (its label's offset once
    // overflowed an int there; with the running clock only at some hours).
    ScopedEnv clock{"TAVIK_CLOCK", "1706184000"}; // 2024-01-25 12:00 UTC, inherited by the program
    XServer server(1024, 768, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    TempDir home;
    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 720", "-xrm", "TAvik.Main.DrawingArea.height: 540", "-q"};
    TavikProcess p(TAVIK_EXECUTABLE, o);
    ASSERT_NE(xWaitForWindow(server.display(), "tavik", "TAvik", 30000), 0u) << p.err();
    int fd = -1;
    ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << p.err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    auto send = [&](const std::string &line) {
        return tcpSend(fd, line + "\n") && tcpReadReply(fd) == "tavik> ";
    };

    for (const char *mode : {"HRZ", "EQT", "GAL", "SOL1"})
        for (const char *mirror : {"0", "1", "2"}) {
            SCOPED_TRACE(std::string(mode) + " mirror " + mirror);
            ASSERT_TRUE(send(std::string("MODE ") + mode + ";MIRROR " + mirror + ";SHOW SUN_NAME;VIEW ANGLE 1e-7;DRIVE"))
                << p.err();
        }
    ASSERT_TRUE(p.running()) << p.err();

    // At 350 degrees across 720 pixels, a cut-off wrapped round would leave
    // the sky only within some 141 degrees of the centre in the equatorial
    // chart (291 pixels) and within some 50 degrees in the horizontal one
    // (103 pixels): the stars beyond must be there.
    const std::vector<unsigned long> colours = starColours(server.display());
    ASSERT_EQ(colours.size(), 10u);
    struct Case {
        const char *what, *command;
        double cy, radius; // the projection centre's row (from the bottom in HRZ) and the radius
    } const cases[] = {
        {"equatorial", "MODE EQT;LOOK EQT 6, 0", 270.0, 300.0},
        {"horizontal", "MODE HRZ;LOOK HRZ 0, 0;LOOK HRZ", 540.0, 150.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = home.file(std::string(c.what) + ".xpm");
        ASSERT_TRUE(send("MIRROR 0;HIDE STATUSBAR;HIDE DAYLIGHT;HIDE LANDSCAPE"));
        ASSERT_TRUE(send(c.command));
        ASSERT_TRUE(send("VIEW ANGLE 350;DRIVE"));
        ASSERT_TRUE(send("GSAVE \"" + path + "\""));
        const XpmPixels image = readXpm(server.display(), path);
        // The default window widens the chart past 720 to show the whole tool bar.
        ASSERT_GE(image.width, 720);
        EXPECT_GT(starPixelsBeyond(image, colours, image.width / 2.0, c.cy, c.radius), 50);
    }
    close(fd);
    EXPECT_TRUE(p.running()) << p.err();
    p.kill();
}

} // namespace
