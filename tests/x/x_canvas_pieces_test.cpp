// The Xlib canvas on a real server: a batch of 5 million points, more than
// the server's maximum request size carries (4,194,303 words under Xvfb),
// once ended the program with BadLength. Every point and every pixel of a
// polyline through all of them must land, with no X error.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "render/x/x_canvas.h"
#include "resources/fallback.h"
#include "tests/render/gsc_tree.h"
#include "tests/support/tcp_client.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

constexpr int kWidth = 2500, kHeight = 2000; // 5 million pixels

int xErrors = 0;
int lastErrorCode = 0;
int recordError(Display *, XErrorEvent *e) {
    xErrors++;
    lastErrorCode = e->error_code;
    return 0;
}

// The pixels of the pixmap that are not black.
long litPixels(Display *d, Pixmap p) {
    XImage *image = XGetImage(d, p, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    long lit = 0;
    for (int y = 0; y < kHeight; y++)
        for (int x = 0; x < kWidth; x++) lit += XGetPixel(image, x, y) != 0;
    XDestroyImage(image);
    return lit;
}

TEST(XCanvasPieces, FiveMillionPointsAndAPolylineThroughThemAllAreDrawn) {
    Display *d = XOpenDisplay(nullptr);
    if (d == nullptr) GTEST_SKIP() << "no X display";
    const long maxWords = XExtendedMaxRequestSize(d) > 0 ? XExtendedMaxRequestSize(d) : XMaxRequestSize(d);
    ASSERT_LT(maxWords, static_cast<long>(kWidth) * kHeight) << "the batch must exceed one request";
    const int screen = DefaultScreen(d);
    const Pixmap pixmap = XCreatePixmap(d, RootWindow(d, screen), kWidth, kHeight,
                                        static_cast<unsigned>(DefaultDepth(d, screen)));
    GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XErrorHandler previous = XSetErrorHandler(recordError);

    // Every pixel once, row by row; the polyline runs along the rows in turn
    // (a serpentine), so each point is next to the one before.
    std::vector<CanvasPoint> rows, serpentine;
    rows.reserve(static_cast<size_t>(kWidth) * kHeight);
    serpentine.reserve(rows.capacity());
    for (int y = 0; y < kHeight; y++)
        for (int i = 0; i < kWidth; i++) {
            rows.push_back(CanvasPoint{static_cast<int16_t>(i), static_cast<int16_t>(y)});
            const int x = y % 2 ? kWidth - 1 - i : i;
            serpentine.push_back(CanvasPoint{static_cast<int16_t>(x), static_cast<int16_t>(y)});
        }
    using Points = std::vector<CanvasPoint>;
    struct Case {
        const char *what;
        void (*draw)(XCanvas *, const Points &);
        const Points *pts;
    } const cases[] = {
        {"points", [](XCanvas *c, const Points &p) { c->drawPoints(p.data(), static_cast<int>(p.size())); }, &rows},
        {"polyline", [](XCanvas *c, const Points &p) { c->drawLines(p.data(), static_cast<int>(p.size())); },
         &serpentine},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        XSetForeground(d, gc, BlackPixel(d, screen));
        XFillRectangle(d, pixmap, gc, 0, 0, kWidth, kHeight);
        XSetForeground(d, gc, WhitePixel(d, screen));
        xErrors = lastErrorCode = 0;
        XCanvas canvas(d, pixmap, gc);
        c.draw(&canvas, *c.pts);
        XSync(d, False);
        EXPECT_EQ(xErrors, 0) << "X error code " << lastErrorCode << " (16 is BadLength)";
        EXPECT_EQ(litPixels(d, pixmap), static_cast<long>(kWidth) * kHeight);
    }

    XSetErrorHandler(previous);
    XFreeGC(d, gc);
    XFreePixmap(d, pixmap);
    XCloseDisplay(d);
}

// The real program with a Guide Star Catalog tree dense enough for one
// batch of 5.46 million points: 420,000 stars of magnitude 1.0 in three
// small regions (140,000 rows each, under the layer's 200,000 a file), all
// of colour class 0 and, at the limit 17.0, of symbol class 17 (13 pixels
// each), so the layer gathers them into one group of 13 x 420,000 points.
TEST(XCanvasPieces, TheRealProgramDrawsADenseStarFieldOfOneBatchOfFiveMillionPoints) {
    XServer server(1024, 768, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    TempDir home, tree;
    const std::string table = tree.write("tavik.gsc", gsctree::regionTable());
    const std::string root = tree.path() + "/cd";
    gsctree::makeDirs(root + "/TABLES");
    tree.write("cd/TABLES/REGIONS.TBL", "");
    constexpr int kRegions = 3, kSide = 374; // 374 x 374 stars a region
    for (int k = 0; k < kRegions; k++) {
        const gsctree::Region &r = gsctree::regions()[static_cast<size_t>(k)];
        std::vector<std::string> rows;
        for (int i = 0; i < kSide; i++)
            for (int j = 0; j < kSide; j++)
                rows.push_back(gsctree::row(static_cast<int>(rows.size() % 99999 + 1), // five digits
                                            {r.ra0 + (r.ra1 - r.ra0) * (i + 0.5) / kSide,
                                             r.dec0 + (r.dec1 - r.dec0) * (j + 0.5) / kSide, 1.0}));
        const std::string dir = root + "/GSC/" + gsctree::bandDir(r.band);
        gsctree::makeDirs(dir);
        char name[32];
        std::snprintf(name, sizeof name, "/%04d.GSC", r.number);
        std::FILE *out = std::fopen((dir + name).c_str(), "wb");
        ASSERT_NE(out, nullptr);
        const std::string bytes = gsctree::regionFile(rows);
        ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), out), bytes.size());
        std::fclose(out);
    }
    ASSERT_GT(13L * kRegions * kSide * kSide, 4194303L) << "more points than one request of Xvfb carries";

    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False",
                                   "GscDataPath = " + root});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = {"-xrm", "TAvik*GscIndexFile: " + table, "-xrm", "TAvik.Main.DrawingArea.width: 720", "-xrm",
              "TAvik.Main.DrawingArea.height: 540", "-q"};
    TavikProcess p(TAVIK_EXECUTABLE, o);
    ASSERT_NE(xWaitForWindow(server.display(), "tavik", "TAvik", 30000), 0u) << p.err();
    int fd = -1;
    ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << p.err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    // The three regions span R.A. 0 to 5.625 degrees at declinations 0 to
    // 1.875: a 10-degree chart centred on them holds them whole.
    const std::string path = home.file("dense.xpm");
    const std::vector<std::string> lines = {"STARDATA GSC",  "MODE EQT",    "HIDE DAYLIGHT", "VIEW ANGLE 10",
                                            "LOOK EQT 0.1875, 0.9375", "MAG STAR 17", "DRIVE",
                                            "GSAVE \"" + path + "\""};
    for (const std::string &line : lines) {
        ASSERT_TRUE(tcpSend(fd, line + "\n"));
        ASSERT_EQ(tcpReadReply(fd), "tavik> ") << line << "\n" << p.err();
    }
    close(fd);
    const XpmPixels image = readXpm(server.display(), path);
    EXPECT_TRUE(p.running()) << p.err();
    p.kill();
    // The default window widens the chart past 720 to show the whole tool bar.
    ASSERT_GE(image.width, 720);
    // ColorStar0 (#DFDFFF), the catalogue's star colour, covers the three
    // regions, some 370 x 140 pixels; nothing else of the chart has it.
    long star = 0;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++) star += image.at(x, y) == 0xDFDFFF;
    EXPECT_GT(star, 35000);
}

} // namespace
