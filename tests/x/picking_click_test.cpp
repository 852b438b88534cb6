// The real program on a private X server: a first-button click on a star
// maps "Object Information", a click on the status bar hides it again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"

namespace {

// A viewable window whose title is name, anywhere under root.
bool titledWindowViewable(Display *d, Window w, const char *name, int depth = 0)
{
    char *title = nullptr;
    bool found = false;
    XWindowAttributes a;
    if (XFetchName(d, w, &title) && title) {
        found = std::string(title) == name && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
        XFree(title);
    }
    if (found || depth > 4)
        return found;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n))
        return false;
    for (unsigned int i = 0; i < n && !found; i++)
        found = titledWindowViewable(d, children[i], name, depth + 1);
    if (children)
        XFree(children);
    return found;
}

void sendButton(Display *d, Window w, int type, int x, int y, unsigned state)
{
    XEvent e{};
    e.xbutton.type = type;
    e.xbutton.display = d;
    e.xbutton.window = w;
    e.xbutton.root = DefaultRootWindow(d);
    e.xbutton.x = x;
    e.xbutton.y = y;
    Window child;
    XTranslateCoordinates(d, w, e.xbutton.root, x, y, &e.xbutton.x_root, &e.xbutton.y_root, &child);
    e.xbutton.button = Button1;
    e.xbutton.state = state;
    e.xbutton.same_screen = True;
    XSendEvent(d, w, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
    XSync(d, False);
}

void click(Display *d, Window w, int x, int y)
{
    sendButton(d, w, ButtonPress, x, y, 0);
    sendButton(d, w, ButtonRelease, x, y, Button1Mask);
}

TEST(PickingClickX, AClickOnBetelgeuseMapsObjectInformationAndTheStatusBarHidesIt)
{
    XServer server;
    ASSERT_TRUE(server.ok()) << server.why();
    TempDir home;
    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False", "TipHelp = False"});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 600", "-xrm", "TAvik.Main.DrawingArea.height: 500"};
    TavikProcess program(TAVIK_EXECUTABLE, o);
    Display *d = server.display();
    Window top = xWaitForWindow(d, "tavik", "TAvik", 30000);
    ASSERT_NE(top, 0u);
    const int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    // Betelgeuse at the middle of the chart.
    ASSERT_TRUE(tcpSend(fd, "MODE EQT;LOOK STAR alphaOri;ZOOM 20;DRIVE\n"));
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    Window area = 0;
    ASSERT_TRUE(waitUntil([&] { return (area = xFindWindowOfSize(d, top, 600, 500)) != 0; }, 20000));
    EXPECT_FALSE(titledWindowViewable(d, DefaultRootWindow(d), "Object Information"));

    // The chart's middle lies under the status bar's band: try the rows
    // around it until the star is hit.
    bool mapped = false;
    for (int dy = 0; dy <= 20 && !mapped; dy += 2) {
        click(d, area, 301, 251 + dy);
        ASSERT_TRUE(tcpSend(fd, "\n"));
        tcpReadReply(fd);
        mapped = waitUntil([&] { return titledWindowViewable(d, DefaultRootWindow(d), "Object Information"); }, 500);
    }
    EXPECT_TRUE(mapped);

    click(d, area, 300, 3); // the status bar
    ASSERT_TRUE(tcpSend(fd, "\n"));
    tcpReadReply(fd);
    EXPECT_TRUE(waitUntil([&] { return !titledWindowViewable(d, DefaultRootWindow(d), "Object Information"); }, 5000));

    tcpSend(fd, "EXIT\n");
    tcpReadToEof(fd);
    EXPECT_TRUE(program.waitExit(20000));
    EXPECT_EQ(program.err().find("ERROR"), std::string::npos) << program.err();
}

} // namespace
