// The real program on a private X server, driven by synthetic pointer and
// key events: each tool-bar button, a scroll-bar step, the arrow keys, the
// key bindings and a drag leave the same chart image (GSAVE) as sending their
// command text over the TCP port from the same start state. Quitting records
// whether the tool bar was shown and the tips were on.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"

namespace {

struct WindowBox {
    Window window = 0;
    int x = 0, y = 0, width = 0, height = 0; // x, y on the root window
    int children = 0;
};

void collectWindows(Display *d, Window w, std::vector<WindowBox> *out)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n))
        return;
    XWindowAttributes a;
    if (XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable) {
        WindowBox b;
        b.window = w;
        Window child;
        XTranslateCoordinates(d, w, root, 0, 0, &b.x, &b.y, &child);
        b.width = a.width;
        b.height = a.height;
        b.children = static_cast<int>(n);
        out->push_back(b);
        for (unsigned int i = 0; i < n; i++)
            collectWindows(d, children[i], out);
    }
    if (children)
        XFree(children);
}

// The modifier bits that the key `sym` sets on this server (Num_Lock: Mod2
// under Xvfb's default map); 0 when none holds it.
unsigned int modifierOf(Display *d, KeySym sym)
{
    const KeyCode code = XKeysymToKeycode(d, sym);
    XModifierKeymap *map = XGetModifierMapping(d);
    unsigned int mask = 0;
    for (int m = 0; m < 8; m++)
        for (int k = 0; k < map->max_keypermod; k++)
            if (code && map->modifiermap[m * map->max_keypermod + k] == code)
                mask |= 1u << m;
    XFreeModifiermap(map);
    return mask;
}

// The fallback table's bindings of the drawing area with the test's own
// added: F5 saves the chart image to `image`, F6 is ScrollWindow(left).
std::vector<std::string> translationsWithTestKeys(const std::string &image)
{
    std::ifstream ad(std::string(TAVIK_SOURCE_DIR) + "/resources/tavik.ad");
    std::string line, value;
    const std::string key = "TAvik.Main.DrawingArea*translations:";
    while (std::getline(ad, line))
        if (line.compare(0, key.size(), key) == 0)
            value = line;
    value += "\\n<Key>F5: StkDoit(\"GSAVE " + image + "\")\\n<Key>F6: ScrollWindow(left)";
    return {"-xrm", value};
}

class NavigationImageX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        port = tcpFreePort();
        writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False",
                                       "TipHelp = False"});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = translationsWithTestKeys(eventImage());
        o.args.push_back("-q");
        program = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        shellWindow = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        ASSERT_NE(shellWindow, 0u);
        fd = tcpConnectLoopback(port);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(tcpReadReply(fd), "tavik> ");
        send("DRIVE"); // start-up is over once the port answers a DRIVE
        findWindows();
    }
    void TearDown() override
    {
        if (fd >= 0) {
            tcpSend(fd, "EXIT\n");
            tcpReadToEof(fd);
        }
        if (program)
            program->waitExit(20000);
        EXPECT_EQ(program ? program->err().find("Warning") : std::string::npos, std::string::npos)
            << program->err();
    }

    // Both images have one file name: an XPM names its data after its file.
    std::string eventImage() const { return eventFiles.file("chart.xpm"); }

    // Runs a line over TCP; fails the test on an error reply.
    void send(const std::string &line)
    {
        ASSERT_TRUE(tcpSend(fd, line + "\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ") << line;
    }

    // Puts the chart into a start state. A mode change may show or hide the
    // vertical scroll bar and so resize the drawing area: the size settles
    // before the next frame is drawn and the windows are found again.
    void startFrom(const std::string &state)
    {
        send(state);
        sleepMs(300);
        send("DRIVE");
        findWindows();
    }

    void findWindows()
    {
        std::vector<WindowBox> all;
        collectWindows(server.display(), shellWindow, &all);
        WindowBox hScroll;
        for (const WindowBox &b : all) {
            if (b.children == 27)
                toolbar = b.window;
            if (b.children == 0 && b.width >= 400 && b.height >= 300)
                drawingArea = b;
            if (b.children == 0 && b.width > 300 && b.height < 40 && b.y > hScroll.y)
                hScroll = b;
        }
        this->hScroll = hScroll;
    }

    Window toolbarButton(int i)
    {
        Window root, parent, *children = nullptr;
        unsigned int n = 0;
        XQueryTree(server.display(), toolbar, &root, &parent, &children, &n);
        Window w = i < static_cast<int>(n) ? children[i] : 0;
        if (children)
            XFree(children);
        return w;
    }

    void sendButton(Window w, int type, unsigned int button, int x, int y, unsigned int state)
    {
        XEvent e{};
        e.xbutton.type = type;
        e.xbutton.display = server.display();
        e.xbutton.window = w;
        e.xbutton.root = DefaultRootWindow(server.display());
        e.xbutton.x = x;
        e.xbutton.y = y;
        // Motif buttons activate only where the root position is inside them.
        Window child;
        XTranslateCoordinates(server.display(), w, e.xbutton.root, x, y, &e.xbutton.x_root, &e.xbutton.y_root,
                              &child);
        e.xbutton.button = button;
        e.xbutton.state = state;
        e.xbutton.same_screen = True;
        e.xbutton.time = CurrentTime;
        XSendEvent(server.display(), w, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
    }
    void sendMotion(Window w, int x, int y)
    {
        XEvent e{};
        e.xmotion.type = MotionNotify;
        e.xmotion.display = server.display();
        e.xmotion.window = w;
        e.xmotion.root = DefaultRootWindow(server.display());
        e.xmotion.x = x;
        e.xmotion.y = y;
        e.xmotion.state = Button1Mask;
        e.xmotion.same_screen = True;
        XSendEvent(server.display(), w, True, Button1MotionMask, &e);
    }
    void click(Window w, int x, int y)
    {
        sendButton(w, ButtonPress, Button1, x, y, 0);
        sendButton(w, ButtonRelease, Button1, x, y, Button1Mask);
    }

    // The image after the events: F5 saves it once they have run.
    std::string imageAfterEvents(const std::function<void()> &events)
    {
        std::remove(eventImage().c_str());
        events();
        xFocusWindow(server.display(), drawingArea.window);
        xSendKey(server.display(), drawingArea.window, "F5");
        XSync(server.display(), False);
        EXPECT_TRUE(waitUntil([&] { return !readFile(eventImage()).empty(); }, 20000));
        send(""); // the key's handler has returned once the port answers
        return readFile(eventImage());
    }
    // A pressed button takes the keyboard focus, so F5 would not reach the
    // chart: the image is saved over the port until it shows the change.
    std::string imageAfterButton(Window b, const std::string &before)
    {
        click(b, 5, 5);
        XSync(server.display(), False);
        std::string image;
        waitUntil([&] { return (image = imageOverTcp("")) != before; }, 20000);
        return image;
    }
    std::string imageOverTcp(const std::string &text)
    {
        const std::string path = tcpFiles.file("chart.xpm");
        std::remove(path.c_str());
        if (!text.empty())
            send(text);
        send("GSAVE " + path);
        return readFile(path);
    }

    XServer server;
    TempDir home, eventFiles, tcpFiles;
    int port = 0, fd = -1;
    std::unique_ptr<TavikProcess> program;
    Window shellWindow = 0, toolbar = 0;
    WindowBox drawingArea, hScroll;
};

// A fixed noon at Greenwich (the Sun up, so that daylight shows).
const char kNoon[] = "DATE 2024,1,15,12,0,0,0";

TEST_F(NavigationImageX, ToolbarButtonsLeaveTheImageOfTheirText)
{
    ASSERT_NE(toolbar, 0u);
    // Each start mode has the vertical scroll bar as the button's mode has
    // it, so the drawing area keeps its size.
    const std::string common =
        std::string(kNoon) + ";TRACK OFF;VIEW ANGLE 100;MAG STAR 6;SHOW DAYLIGHT;HIDE CONS_LINE;";
    struct Case {
        int button;
        const char *startMode;
        const char *text;
    } cases[] = {
        {3, "MODE SOL2;LOOK ECL 90, 10", "MODE EQT;DRIVE"},            // ToolbarModeEqt
        {5, "MODE ALL1_EQT;LOOK EQT_DATE 6, 0", "MODE ALL2_EQT;DRIVE"}, // ToolbarModeAll2
        {11, "MODE HRZ;LOOK HRZ 0, 30", "TOGGLE DAYLIGHT;DRIVE"},      // ToolbarDaylight
        {14, "MODE HRZ;LOOK HRZ 0, 30", "TOGGLE CONS_LINE;DRIVE"},     // ToolbarConsline
        {12, "MODE HRZ;LOOK HRZ 0, 30", "ZOOM UP;DRIVE"},              // ToolbarZoomUp, a click
    };
    for (const Case &c : cases) {
        const std::string start = common + c.startMode + ";DRIVE";
        startFrom(start);
        const std::string startImage = imageOverTcp("");
        ASSERT_FALSE(startImage.empty());
        const Window b = toolbarButton(c.button);
        ASSERT_NE(b, 0u);
        const std::string pressed = imageAfterButton(b, startImage);
        startFrom(start);
        const std::string sent = imageOverTcp(c.text);
        EXPECT_FALSE(pressed.empty()) << c.text;
        EXPECT_TRUE(pressed == sent) << c.text;
        EXPECT_FALSE(pressed == startImage) << c.text << " changed the chart";
    }
}

TEST_F(NavigationImageX, ScrollsKeysAndDragsLeaveTheImageOfTheirText)
{
    ASSERT_NE(drawingArea.window, 0u);
    ASSERT_NE(hScroll.window, 0u);
    const std::string common = std::string(kNoon) + ";TRACK OFF;VIEW ANGLE 100;MAG STAR 6;HIDE STATUSBAR;";
    const std::string start = common + "MODE ALL1_EQT;LOOK EQT_DATE 6, 0;DRIVE";
    // The whole-sky maps have a fixed scale: zoom is seen in another chart.
    const std::string zoomStart = common + "MODE EQT;LOOK EQT_DATE 6, 0;DRIVE";
    startFrom(start);
    const Window da = drawingArea.window;
    const int midX = drawingArea.width / 2, midY = drawingArea.height / 2;
    // The cylindrical map spans 360 degrees over the chart's width, and the
    // sky's longitude grows to the left: dragging 20 pixels to the right
    // turns the view east by 20 x 360 / width degrees.
    char drag[128];
    std::snprintf(drag, sizeof drag, "TRACK OFF;LOOK EQT_DATE %9.5f,%8.4f",
                  (90.0 + 20.0 * 360.0 / drawingArea.width) / 15.0, 0.0);
    // NumLock is on by default on most PCs, and once left the arrows and the
    // page keys doing nothing; CapsLock the same.
    const unsigned int numLock = modifierOf(server.display(), XK_Num_Lock);
    ASSERT_NE(numLock, 0u) << "no modifier holds Num_Lock on the test server";
    struct Case {
        const char *name;
        std::function<void()> events;
        std::string text;
        const std::string *start;
    } cases[] = {
        // The whole-sky maps step by 12 degrees: 6h +- 0.8h.
        {"scroll-bar increment arrow",
         [&] { click(hScroll.window, hScroll.width - hScroll.height / 2, hScroll.height / 2); },
         "LOOK EQT_DATE 5.200000, 0.000000", &start},
        {"left arrow key", [&] { xSendKey(server.display(), da, "Left"); }, "LOOK EQT_DATE 6.800000, 0.000000", &start},
        {"ScrollWindow(left) in lower case", [&] { xSendKey(server.display(), da, "F6"); },
         "LOOK EQT_DATE 6.800000, 0.000000", &start},
        {"Shift+Up", [&] { xSendKey(server.display(), da, "Up", ShiftMask); }, "INCMAG STAR 0.1;DRIVE", &start},
        {"PageUp", [&] { xSendKey(server.display(), da, "Prior"); }, "ZOOM UP;DRIVE", &zoomStart},
        {"PageDown", [&] { xSendKey(server.display(), da, "Next"); }, "ZOOM DOWN;DRIVE", &zoomStart},
        {"Left with NumLock on", [&] { xSendKey(server.display(), da, "Left", numLock); },
         "LOOK EQT_DATE 6.800000, 0.000000", &start},
        {"Right with CapsLock on", [&] { xSendKey(server.display(), da, "Right", LockMask); },
         "LOOK EQT_DATE 5.200000, 0.000000", &start},
        {"Shift+Up with both locks on", [&] { xSendKey(server.display(), da, "Up", ShiftMask | LockMask | numLock); },
         "INCMAG STAR 0.1;DRIVE", &start},
        {"PageDown with CapsLock on", [&] { xSendKey(server.display(), da, "Next", LockMask); }, "ZOOM DOWN;DRIVE",
         &zoomStart},
        {"PageUp with NumLock on", [&] { xSendKey(server.display(), da, "Prior", numLock); }, "ZOOM UP;DRIVE",
         &zoomStart},
        {"20-pixel drag",
         [&] {
             sendButton(da, ButtonPress, Button1, midX, midY, 0);
             sendMotion(da, midX + 10, midY);
             sendMotion(da, midX + 20, midY);
             sendButton(da, ButtonRelease, Button1, midX + 20, midY, Button1Mask);
         },
         drag, &start},
    };
    for (const Case &c : cases) {
        startFrom(*c.start);
        const std::string startImage = imageOverTcp("");
        xFocusWindow(server.display(), da);
        const std::string moved = imageAfterEvents(c.events);
        startFrom(*c.start);
        const std::string sent = imageOverTcp(c.text);
        EXPECT_FALSE(moved.empty()) << c.name;
        EXPECT_TRUE(moved == sent) << c.name << ": " << c.text;
        EXPECT_FALSE(moved == startImage) << c.name << " changed the chart";
    }
}

// The scroll step was the root of the squared field, infinite above about
// 1e154 degrees: the arrow sent a longitude of NaN, which was refused in a
// warning box, and the view stayed where it was. Such a field shows the sky
// as a point, so the view is looked at through a field of 100 degrees after.
TEST_F(NavigationImageX, AScrollArrowMovesAViewOfAnyField)
{
    ASSERT_NE(hScroll.window, 0u);
    const std::string start =
        std::string(kNoon) + ";TRACK OFF;MAG STAR 6;HIDE STATUSBAR;MODE EQT;LOOK EQT_DATE 6, 0;VIEW ANGLE 1e155;DRIVE";
    startFrom(start);
    const std::string unmoved = imageOverTcp("VIEW ANGLE 100;DRIVE");
    startFrom(start);
    xFocusWindow(server.display(), drawingArea.window);
    // F5 after the click: once its image is saved the click has been handled.
    imageAfterEvents([&] { click(hScroll.window, hScroll.width - hScroll.height / 2, hScroll.height / 2); });
    EXPECT_EQ(xFindWindow(server.display(), "MessageBox_popup", "TAvik"), 0u) << "the arrow's command ran";
    const std::string moved = imageOverTcp("VIEW ANGLE 100;DRIVE");
    EXPECT_FALSE(moved.empty());
    EXPECT_FALSE(moved == unmoved) << "the arrow moved the view";
}

// Shift, Control and Meta keep their meaning beside the locks: the arrows
// and page keys bound to no modifier do nothing with one of them held.
TEST_F(NavigationImageX, ArrowsAndPageKeysWithAModifierHeldLeaveTheChart)
{
    ASSERT_NE(drawingArea.window, 0u);
    const std::string start =
        std::string(kNoon) + ";TRACK OFF;VIEW ANGLE 100;MAG STAR 6;HIDE STATUSBAR;MODE EQT;LOOK EQT_DATE 6, 0;DRIVE";
    const unsigned int meta = modifierOf(server.display(), XK_Meta_L) | modifierOf(server.display(), XK_Alt_L);
    ASSERT_NE(meta, 0u);
    const unsigned int numLock = modifierOf(server.display(), XK_Num_Lock);
    struct Case {
        const char *name, *key;
        unsigned int state;
    } cases[] = {
        {"Ctrl+Left", "Left", ControlMask},
        {"Meta+Right with NumLock on", "Right", meta | numLock},
        {"Ctrl+Down with CapsLock on", "Down", ControlMask | LockMask},
        {"Shift+PageDown", "Next", ShiftMask},
        {"Ctrl+PageUp with NumLock on", "Prior", ControlMask | numLock},
        {"Meta+PageDown", "Next", meta},
    };
    startFrom(start);
    const std::string startImage = imageOverTcp("");
    for (const Case &c : cases) {
        xFocusWindow(server.display(), drawingArea.window);
        const std::string after =
            imageAfterEvents([&] { xSendKey(server.display(), drawingArea.window, c.key, c.state); });
        EXPECT_FALSE(after.empty()) << c.name;
        EXPECT_TRUE(after == startImage) << c.name << " changed the chart";
    }
}

TEST_F(NavigationImageX, AClickIsNotADrag)
{
    const std::string start = std::string(kNoon) + ";TRACK OFF;HIDE STATUSBAR;MODE EQT;LOOK EQT_DATE 6, 0;DRIVE";
    startFrom(start);
    const Window da = drawingArea.window;
    const int x = drawingArea.width / 2, y = drawingArea.height / 2;
    const std::string startImage = imageOverTcp("");
    struct Case {
        const char *name;
        int dx, dy;
        bool pans;
    } cases[] = {
        {"3 pixels right and down", 3, 3, false},
        {"3 pixels left and up", -3, -3, false},
        {"5 pixels right", 5, 0, false},
        {"6 pixels right", 6, 0, true},
        {"6 pixels up", 0, -6, true},
    };
    for (const Case &c : cases) {
        send(start);
        const std::string after = imageAfterEvents([&] {
            sendButton(da, ButtonPress, Button1, x, y, 0);
            sendButton(da, ButtonRelease, Button1, x + c.dx, y + c.dy, Button1Mask);
        });
        EXPECT_EQ(after == startImage, !c.pans) << c.name;
    }
}

class QuitRecordsBarAndTipsX : public ::testing::Test {
protected:
    XServer server;
    TempDir home;
};

TEST_F(QuitRecordsBarAndTipsX, TheOptionsFileTakesTheWidgetsState)
{
    ASSERT_TRUE(server.ok()) << server.why();
    struct Case {
        const char *toolbar, *tips;
    } cases[] = {{"False", "True"}, {"True", "False"}};
    for (const Case &c : cases) {
        const int port = tcpFreePort();
        writeOptionsFile(home.path(), {std::string("Toolbar = ") + c.toolbar, std::string("TipHelp = ") + c.tips,
                                       "SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-q"};
        TavikProcess p(TAVIK_EXECUTABLE, o);
        const int fd = tcpConnectLoopback(port);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        ASSERT_TRUE(tcpSend(fd, "EXIT\n"));
        tcpReadToEof(fd);
        ASSERT_TRUE(p.waitExit(20000));
        EXPECT_EQ(p.status(), 0);
        const std::string options = readFile(home.file(".tavik/options"));
        EXPECT_NE(options.find(std::string("Toolbar = ") + c.toolbar + "\n"), std::string::npos) << options;
        EXPECT_NE(options.find(std::string("TipHelp = ") + c.tips + "\n"), std::string::npos) << options;
    }
}

} // namespace
