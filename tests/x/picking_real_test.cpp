// The real program on a private X server, clicked where the sky truth table
// (places computed with ERFA and PyEphem, projected independently) puts a
// star or a planet: button 1 on Betelgeuse picks that star, so that the
// click-data dialog's Center button leaves the chart image of "LOOK STAR
// alphaOri" sent over the TCP port from the same start; button 2 on Jupiter
// opens the picture viewer with the click-data file's Jupiter picture and
// leaves the pick as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"
#include "tests/x/sky_truth_table.h"

namespace {

// Pinned as the sky truth tests pin it, so that the chart's geometry is the
// table's: the status bar's height follows the font.
const char kPinnedFont[] = "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1";
const char kGreenwichLine[] = "Greenwich (United Kingdom)                 0.000E 51.468N   39 +00.00 ";
const char kObjectInformation[] = "Object Information";
// Betelgeuse's row in the bright-star table.
constexpr int kBetelgeuseRow = 9;

// A viewable window whose title is name, anywhere under w; 0 when none.
Window titledWindow(Display *d, Window w, const std::string &name, int depth = 0)
{
    char *title = nullptr;
    Window found = 0;
    XWindowAttributes a;
    if (XFetchName(d, w, &title) && title) {
        if (name == title && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable)
            found = w;
        XFree(title);
    }
    if (found || depth > 4)
        return found;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n))
        return 0;
    for (unsigned int i = 0; i < n && !found; i++)
        found = titledWindow(d, children[i], name, depth + 1);
    if (children)
        XFree(children);
    return found;
}

std::vector<Window> childrenOf(Display *d, Window w)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    std::vector<Window> out;
    if (XQueryTree(d, w, &root, &parent, &children, &n))
        out.assign(children, children + n);
    if (children)
        XFree(children);
    return out;
}

const SkyTruthObject *tableObject(const SkyTruthCase &c, const std::string &name)
{
    for (int i = 0; i < c.count; i++)
        if (name == c.objects[i].name)
            return &c.objects[i];
    return nullptr;
}

const SkyTruthCase *truthCase(const SkyTruthCase *cases, size_t n, const std::string &name)
{
    for (size_t i = 0; i < n; i++)
        if (name == cases[i].name)
            return &cases[i];
    return nullptr;
}

class PickingRealX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        Display *d = server.display();
        XFontStruct *font = XLoadQueryFont(d, kPinnedFont);
        ASSERT_NE(font, nullptr);
        ASSERT_EQ(font->ascent + font->descent, kSkyTruthDirFontHeight);
        statusHeight = (font->ascent + font->descent) * 12 / 10;
        XFreeFont(d, font);

        port = tcpFreePort();
        writeOptionsFile(home.path(), {"SiteName = Greenwich (United Kingdom)", "ConfirmQuit = False",
                                       "TipHelp = False", "SocketPort = " + std::to_string(port)});
        writeSiteList(home.path(), {kGreenwichLine});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: " + std::to_string(kSkyTruthWidth),
                  "-xrm", "TAvik.Main.DrawingArea.height: " + std::to_string(kSkyTruthHeight + statusHeight),
                  "-xrm", std::string("TAvik*DirNameFontset: ") + kPinnedFont,
                  "-xrm", std::string("TAvik*StatusFontset: ") + kPinnedFont,
                  "-xrm", std::string("TAvik*ClickImagePath: ") + TAVIK_SOURCE_DIR + "/data/image/", "-q"};
        program = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        top = xWaitForWindow(d, "tavik", "TAvik", 60000);
        ASSERT_NE(top, 0u) << program->err();
        ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << program->err();
        ASSERT_EQ(tcpReadReply(fd), "tavik> ");
        send("LOAD CLICKDATA \"" TAVIK_SOURCE_DIR "/data/tavik.cdf\"");
        send("DRIVE");
    }
    void TearDown() override
    {
        if (fd >= 0) {
            tcpSend(fd, "EXIT\n");
            tcpReadToEof(fd);
        }
        if (program) {
            EXPECT_TRUE(program->waitExit(20000));
            EXPECT_EQ(program->err().find("ERROR"), std::string::npos) << program->err();
        }
    }

    void send(const std::string &line)
    {
        ASSERT_TRUE(tcpSend(fd, line + "\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ") << line << "\n" << program->err();
    }

    // The chart in a start state, its drawing area found again (a mode may
    // resize it before the next frame).
    void startFrom(const std::string &state)
    {
        send(state);
        sleepMs(300);
        send("DRIVE");
        area = 0;
        ASSERT_TRUE(waitUntil(
            [&] { return (area = xFindWindowOfSize(server.display(), top, kSkyTruthWidth,
                                                   kSkyTruthHeight + statusHeight)) != 0; },
            20000));
    }

    // The chart's pixels after text: the files of two equal charts may
    // name their colours in another order, so the pixels are compared.
    std::vector<unsigned long> imageOverTcp(const std::string &text)
    {
        const std::string path = files.file("chart.xpm");
        std::remove(path.c_str());
        if (!text.empty())
            send(text);
        send("GSAVE " + path);
        const XpmPixels image = readXpm(server.display(), path);
        if (image.width != kSkyTruthWidth || image.height != kSkyTruthHeight + statusHeight)
            return {};
        return image.pixels;
    }

    void sendButton(Window w, int type, unsigned int button, int x, int y, unsigned int state)
    {
        Display *d = server.display();
        XEvent e{};
        e.xbutton.type = type;
        e.xbutton.display = d;
        e.xbutton.window = w;
        e.xbutton.root = DefaultRootWindow(d);
        e.xbutton.x = x;
        e.xbutton.y = y;
        // Motif buttons activate only where the root position is inside them.
        Window child;
        XTranslateCoordinates(d, w, e.xbutton.root, x, y, &e.xbutton.x_root, &e.xbutton.y_root, &child);
        e.xbutton.button = button;
        e.xbutton.state = state;
        e.xbutton.same_screen = True;
        XSendEvent(d, w, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
        XSync(d, False);
    }
    void click(Window w, unsigned int button, int x, int y)
    {
        const unsigned int mask = button == Button1 ? Button1Mask : button == Button2 ? Button2Mask : Button3Mask;
        sendButton(w, ButtonPress, button, x, y, 0);
        sendButton(w, ButtonRelease, button, x, y, mask);
        send(""); // the events have been handled once the port answers
    }
    // The table's pixel on the drawing area: its rows start below the status bar.
    void clickObject(unsigned int button, const SkyTruthObject &o)
    {
        click(area, button, static_cast<int>(std::lround(o.x)),
              static_cast<int>(std::lround(o.y)) + statusHeight);
    }

    bool shown(const std::string &title) { return titledWindow(server.display(), DefaultRootWindow(server.display()), title) != 0; }

    // The click-data dialog's buttons from left to right: Close, Blink,
    // Center, Track, Image; the drawing area below them is the form's widest
    // child and is left out.
    Window clickDataButton(int i)
    {
        Display *d = server.display();
        const Window shell = titledWindow(d, DefaultRootWindow(d), kObjectInformation);
        const std::vector<Window> shellChildren = childrenOf(d, shell);
        if (shellChildren.empty())
            return 0;
        std::vector<std::pair<int, Window>> buttons;
        int widest = 0;
        Window area = 0;
        for (Window w : childrenOf(d, shellChildren[0])) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable)
                continue;
            buttons.push_back({a.x, w});
            if (a.width > widest) {
                widest = a.width;
                area = w;
            }
        }
        std::vector<Window> ordered;
        std::sort(buttons.begin(), buttons.end());
        for (const auto &b : buttons)
            if (b.second != area)
                ordered.push_back(b.second);
        EXPECT_EQ(ordered.size(), 5u);
        return i < static_cast<int>(ordered.size()) ? ordered[i] : 0;
    }

    // Presses Center and waits for the chart to leave `before`.
    std::vector<unsigned long> imageAfterCenter(const std::vector<unsigned long> &before)
    {
        const Window center = clickDataButton(2);
        EXPECT_NE(center, 0u);
        if (!center)
            return {};
        click(center, Button1, 4, 4);
        std::vector<unsigned long> image;
        waitUntil([&] { return (image = imageOverTcp("")) != before; }, 20000);
        return image;
    }

    XServer server{1600, 1200, 24};
    TempDir home, files;
    int port = 0, fd = -1, statusHeight = 0;
    std::unique_ptr<TavikProcess> program;
    Window top = 0, area = 0;
};

TEST_F(PickingRealX, Button1OnBetelgeusePicksItAndCenterLooksAtIt)
{
    const SkyTruthCase *c = truthCase(kSkyTruthCases, sizeof kSkyTruthCases / sizeof kSkyTruthCases[0],
                                      "EquatorialFromTheStartChart");
    ASSERT_NE(c, nullptr);
    const SkyTruthObject *betelgeuse = tableObject(*c, "star " + std::to_string(kBetelgeuseRow));
    ASSERT_NE(betelgeuse, nullptr);
    ASSERT_EQ(betelgeuse->starRow, kBetelgeuseRow);
    const std::string start = std::string(c->command) + ";TRACK OFF;DRIVE";
    startFrom(start);
    // The table's chart is the one drawn: the image has the table's size.
    const std::vector<unsigned long> startImage = imageOverTcp("");
    ASSERT_FALSE(startImage.empty());
    EXPECT_FALSE(shown(kObjectInformation));

    clickObject(Button1, *betelgeuse);
    ASSERT_TRUE(waitUntil([&] { return shown(kObjectInformation); }, 10000));

    // Center runs the pick's LOOK: the same chart as the text sent over TCP,
    // which a pick of any other object would not give.
    const std::vector<unsigned long> centred = imageAfterCenter(startImage);
    EXPECT_FALSE(centred.empty());
    EXPECT_FALSE(centred == startImage) << "Center did not move the chart";
    startFrom(start);
    const std::vector<unsigned long> sent = imageOverTcp("LOOK STAR alphaOri;DRIVE");
    EXPECT_TRUE(centred == sent) << "Center did not look at Betelgeuse";
    EXPECT_TRUE(shown(kObjectInformation));
}

// The Track button as drawn on the screen: standing out, its left edge is
// the light shadow and its right edge the dark one; pressed in, the other
// way round. It stood out while tracking, as a push button does.
TEST_F(PickingRealX, TrackLooksPressedInWhileTrackingAndOutAgain)
{
    const SkyTruthCase *c = truthCase(kSkyTruthCases, sizeof kSkyTruthCases / sizeof kSkyTruthCases[0],
                                      "EquatorialFromTheStartChart");
    ASSERT_NE(c, nullptr);
    const SkyTruthObject *betelgeuse = tableObject(*c, "star " + std::to_string(kBetelgeuseRow));
    ASSERT_NE(betelgeuse, nullptr);
    startFrom(std::string(c->command) + ";TRACK OFF;DRIVE");
    clickObject(Button1, *betelgeuse);
    ASSERT_TRUE(waitUntil([&] { return shown(kObjectInformation); }, 10000));
    const Window track = clickDataButton(3);
    ASSERT_NE(track, 0u);
    Display *d = server.display();
    // +1: the left edge is the lighter; -1: the darker.
    auto look = [&] {
        XWindowAttributes a;
        if (!XGetWindowAttributes(d, track, &a))
            return 0;
        XImage *image = XGetImage(d, track, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        // Inside the highlight border (2 pixels), halfway down.
        auto brightness = [&](int x) {
            const unsigned long p = XGetPixel(image, x, a.height / 2);
            return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        };
        const int left = static_cast<int>(brightness(2)), right = static_cast<int>(brightness(a.width - 3));
        XDestroyImage(image);
        return left > right ? 1 : left < right ? -1 : 0;
    };
    EXPECT_EQ(look(), 1) << "out before tracking";
    click(track, Button1, 4, 4);
    EXPECT_TRUE(waitUntil([&] { return look() == -1; }, 10000)) << "in while tracking Betelgeuse";
    click(track, Button1, 4, 4);
    EXPECT_TRUE(waitUntil([&] { return look() == 1; }, 10000)) << "out again";
}

TEST_F(PickingRealX, Button2OnJupiterOpensItsPictureAndKeepsThePick)
{
    const SkyTruthCase *c = truthCase(kSkyTruthCases, sizeof kSkyTruthCases / sizeof kSkyTruthCases[0],
                                      "EquatorialFromTheStartChart");
    ASSERT_NE(c, nullptr);
    const SkyTruthObject *betelgeuse = tableObject(*c, "star " + std::to_string(kBetelgeuseRow));
    const SkyTruthObject *jupiter = tableObject(*c, "Jupiter");
    ASSERT_NE(betelgeuse, nullptr);
    ASSERT_NE(jupiter, nullptr);

    const std::string start = std::string(c->command) + ";TRACK OFF;DRIVE";
    startFrom(start);
    clickObject(Button1, *betelgeuse);
    ASSERT_TRUE(waitUntil([&] { return shown(kObjectInformation); }, 10000));
    EXPECT_FALSE(shown("Jupiter"));

    clickObject(Button2, *jupiter);
    EXPECT_TRUE(waitUntil([&] { return shown("Jupiter"); }, 20000)) << program->err();

    // Button 2 looked only for pictures: Center still looks at Betelgeuse.
    const std::vector<unsigned long> before = imageOverTcp("");
    const std::vector<unsigned long> centred = imageAfterCenter(before);
    startFrom(start);
    const std::vector<unsigned long> sent = imageOverTcp("LOOK STAR alphaOri;DRIVE");
    EXPECT_FALSE(centred.empty());
    EXPECT_TRUE(centred == sent) << "the pick changed under button 2";
}

} // namespace
