// GSAVE on a real X server: the XPM is the window as shown, reads back pixel
// for pixel as the pixmap, and a save that cannot happen changes no file.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/xpm.h>

#include <sys/stat.h>

#include <memory>
#include <string>

#include "command/commands.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "render/frame.h"
#include "render/layers/status_bar.h"
#include "render/x/x_surface.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"

namespace {

int statusBar20() { return 20; }
void noEphemeris(ChartState *) {}

struct ChartImageTest : ::testing::Test {
    Display *display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    std::unique_ptr<ChartState> chart{new ChartState()};
    TempDir dir;

    // A server of the test's own, so the test runs without a display too.
    XServer server;

    void SetUp() override {
        ASSERT_TRUE(server.ok()) << server.why();
        display = XOpenDisplay(server.name().c_str());
        ASSERT_NE(display, nullptr) << server.name();
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 120, 90, 0,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
        gc = XCreateGC(display, window, 0, nullptr);
        surface.reset(new XSurface(display, window, gc, DefaultDepth(display, screen)));
        appData = &theAppData;
        appDataSetDefaults();
        appData->pixelAspect = 1.0;
        appData->initialising = 0;
        chartStateSetDefaults(chart.get());
        chart->modeChanged = 0;
        chart->mode = kModeEqt;
        surface->pixmapField = &chart->backPixmap;
        chartFrameServices = kFrameServices;
        chartFrameServices.ephemUpdateAll = noEphemeris;
        chartFrameServices.statusBarHeight = statusBar20;
        chartSetSurface(surface.get());
        stkClearError();
    }
    void TearDown() override {
        chartSetSurface(nullptr);
        chartFrameServices = kFrameServices;
        if (display == nullptr) return;
        surface.reset();
        XFreeGC(display, gc);
        XDestroyWindow(display, window);
        XCloseDisplay(display);
        chartStateFreeTables(chart.get());
    }
    // Marks the pixmap's corners and the band below the window with colours
    // of their own, so a shifted or cut image cannot match.
    void markPixmap() {
        const int screen = DefaultScreen(display);
        XGCValues v;
        GC mark = XCreateGC(display, chart->backPixmap, 0, &v);
        const unsigned long colours[] = {0xff0000, 0x00ff00, 0x0000ff, 0xffff00};
        const int corners[][2] = {{0, 0}, {110, 0}, {0, 80}, {110, 80}};
        for (int i = 0; i < 4; i++) {
            XSetForeground(display, mark, colours[i] & (DefaultDepth(display, screen) >= 24 ? ~0ul : 1ul));
            XFillRectangle(display, chart->backPixmap, mark, corners[i][0], corners[i][1], 10, 10);
        }
        XFreeGC(display, mark);
        XSync(display, False);
    }
    int gsave(const std::string &name) {
        stkClearError();
        char text[512];
        std::snprintf(text, sizeof text, "%s", name.c_str());
        char *params[kStkMaxParams] = {text};
        stkCmdGsave(chart.get(), params);
        return appData->errorId[0] == '\0';
    }
};

// The saved file against the pixmap's top-left width x height.
void expectSameAsPixmap(Display *display, Pixmap pixmap, const std::string &path, int width, int height) {
    XImage *saved = nullptr;
    XpmAttributes attributes;
    attributes.valuemask = 0;
    ASSERT_EQ(XpmSuccess, XpmReadFileToImage(display, path.c_str(), &saved, nullptr, &attributes));
    ASSERT_EQ(width, saved->width);
    ASSERT_EQ(height, saved->height);
    XImage *shown = XGetImage(display, pixmap, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    ASSERT_NE(nullptr, shown);
    int differing = 0;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            if (XGetPixel(saved, x, y) != XGetPixel(shown, x, y)) differing++;
    EXPECT_EQ(0, differing) << path;
    XDestroyImage(shown);
    XDestroyImage(saved);
    XpmFreeAttributes(&attributes);
}

TEST_F(ChartImageTest, TheImageIsTheWindowWithAndWithoutTheStatusBar) {
    for (const uint8_t bar : {uint8_t(kStatusBarShown), uint8_t(0)}) {
        SCOPED_TRACE(bar ? "status bar shown" : "status bar hidden");
        chart->statusBar = bar;
        chart->chartRect = ChartRect{0, 0, 0, 0};
        chartRefresh(chart.get());
        ASSERT_NE(0u, chart->backPixmap);
        markPixmap();
        const std::string path = dir.file(bar ? "with-bar" : "without-bar");
        ASSERT_TRUE(gsave(path)) << appData->errorId;
        expectSameAsPixmap(display, chart->backPixmap, path + ".xpm", 120, 90);
    }
}

// The file is libXpm's own text for the pixmap, byte for byte, with the
// array named after the file it lands in (it once carried the temporary's
// name, "..._xpm_$NEW$").
TEST_F(ChartImageTest, TheFileIsTheTextLibXpmWritesForThePixmapNamedAfterTheFile) {
    chartRefresh(chart.get());
    markPixmap();
    ASSERT_TRUE(gsave(dir.file("my-chart.v2"))) << appData->errorId;
    TempDir other;
    const std::string reference = other.file("my-chart.v2.xpm");
    XImage *shown = XGetImage(display, chart->backPixmap, 0, 0, 120, 90, AllPlanes, ZPixmap);
    ASSERT_NE(nullptr, shown);
    XpmAttributes attributes;
    attributes.valuemask = 0;
    ASSERT_EQ(XpmSuccess, XpmWriteFileFromImage(display, reference.c_str(), shown, nullptr, &attributes));
    XDestroyImage(shown);
    const std::string saved = readFile(dir.file("my-chart.v2.xpm"));
    EXPECT_EQ(saved.substr(0, saved.find('{') + 1), "/* XPM */\nstatic char * my_chart_v2_xpm[] = {");
    EXPECT_EQ(saved, readFile(reference));
}

TEST_F(ChartImageTest, BeforeTheFirstFrameTheSaveFailsAndNothingIsWritten) {
    const std::string path = dir.file("early.xpm");
    EXPECT_FALSE(gsave(path));
    EXPECT_STREQ("stkErrorFileWriteFailed", appData->errorId);
    struct stat st;
    EXPECT_NE(0, stat(path.c_str(), &st));
}

TEST_F(ChartImageTest, AFileThatMayNotBeReplacedKeepsItsText) {
    chartRefresh(chart.get());
    const std::string path = dir.write("old.xpm", "old image\n");
    ASSERT_EQ(0, chmod(path.c_str(), 0444));
    EXPECT_FALSE(gsave(path));
    EXPECT_STREQ("stkErrorFileWriteFailed", appData->errorId);
    EXPECT_EQ("old image\n", readFile(path));
    // A directory in the name's place is no file to replace either.
    ASSERT_EQ(0, mkdir(dir.file("taken.xpm").c_str(), 0755));
    EXPECT_FALSE(gsave(dir.file("taken")));
    EXPECT_STREQ("stkErrorFileWriteFailed", appData->errorId);
}

TEST_F(ChartImageTest, AWritableOldImageIsReplacedWhole) {
    chartRefresh(chart.get());
    markPixmap();
    const std::string path = dir.write("old.xpm", std::string(100000, 'x'));
    ASSERT_TRUE(gsave(path)) << appData->errorId;
    expectSameAsPixmap(display, chart->backPixmap, path, 120, 90);
}

} // namespace

namespace {

TEST_F(ChartImageTest, ALeadingTildeIsTheHomeDirectory) {
    chartRefresh(chart.get());
    setenv("TAVIK_HOME", dir.path().c_str(), 1);
    const int saved = gsave("~/x");
    unsetenv("TAVIK_HOME");
    ASSERT_TRUE(saved) << appData->errorId;
    expectSameAsPixmap(display, chart->backPixmap, dir.file("x.xpm"), 120, 90);
}

} // namespace
