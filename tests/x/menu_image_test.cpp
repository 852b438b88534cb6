// Pressing a menu item (through its accelerator) or a step-box button of the
// real program draws the same chart as sending its command text over the TCP
// port: the two runs start from the same stopped moment and go through the
// same steps, and GSAVE after each step writes the same image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <X11/Xlib.h>

#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

using Lines = std::vector<std::string>;

// One step: the menu item and the key that presses it (its own accelerator,
// or one the test gives it), or the step-box button clicked, and the text it
// is meant to run, sent over TCP in the other run.
struct Step {
    const char *name;
    const char *item;    // null: a step-box button
    const char *key;
    unsigned int state;  // modifiers of the key; 0: the test's own accelerator
    const char *text;
    int stepRow;         // step-box row, 0 (1Min) to 9 (1Year)
    bool plus;
};
const Step kSteps[] = {
    {"width 30", "MenuViewWidth30", "F7", 0, "VIEW ANGLE 30.0;DRIVE", 0, false},
    {"direction north", "MenuViewDirNorth", "F8", 0, "VIEW CENTER HRZ 180.00,0;LOOK HRZ", 0, false},
    {"rotate flip", "MenuViewRotateMirror", "F9", 0, "MIRROR 2; DRIVE", 0, false},
    {"daylight off", "MenuViewDaylight", "F11", 0, "HIDE DAYLIGHT; DRIVE", 0, false},
    {"status bar off", "MenuViewStatusbar", "a", ControlMask, "HIDE STATUSBAR; DRIVE", 0, false},
    {"plus one day", nullptr, nullptr, 0, "INCTIME  0, 0,  1, 0,  0, 0.0;DRIVE", 6, true},
    {"minus three hours", nullptr, nullptr, 0, "DECTIME  0, 0,  0, 3,  0, 0.0;DRIVE", 5, false},
    {"trace on", "MenuSettingsTrace", "t", ControlMask, "TOGGLE TRACE; DRIVE", 0, false},
    {"plus one month", nullptr, nullptr, 0, "INCTIME  0, 1,  0, 0,  0, 0.0;DRIVE", 8, true},
    {"minus ten minutes", nullptr, nullptr, 0, "DECTIME  0, 0,  0, 0, 10, 0.0;DRIVE", 2, false},
};

class MenuImageX : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    std::unique_ptr<TavikProcess> start(const TempDir &dir, int port, const Lines &extra)
    {
        writeOptionsFile(dir.path(), {"SocketPort = " + std::to_string(port), "ConfirmQuit = False"});
        TavikRunOptions o;
        o.display = server.name();
        o.home = dir.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: 400", "-xrm", "TAvik.Main.DrawingArea.height: 300"};
        o.args.insert(o.args.end(), extra.begin(), extra.end());
        o.args.push_back("-q");
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        return p;
    }

    // GSAVE over the connection; the image read back (retried until the
    // first frame is there when `untilDrawn`).
    XpmPixels save(int fd, const std::string &path)
    {
        XpmPixels image;
        waitUntil(
            [&] {
                return tcpSend(fd, "GSAVE \"" + path + "\"\n") && tcpReadReply(fd) == "tavik> " &&
                       !(image = readXpm(server.display(), path)).pixels.empty();
            },
            30000);
        return image;
    }

    XServer server;
    Window window = 0;
};

// The child windows of w, by their position: top to bottom, then left to right.
std::vector<Window> childrenByPlace(Display *d, Window w)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    std::vector<std::pair<std::pair<int, int>, Window>> placed;
    if (XQueryTree(d, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n; i++) {
            XWindowAttributes a;
            if (XGetWindowAttributes(d, children[i], &a))
                placed.push_back({{a.y, a.x}, children[i]});
        }
    }
    if (children)
        XFree(children);
    std::sort(placed.begin(), placed.end());
    std::vector<Window> out;
    for (const auto &p : placed)
        out.push_back(p.second);
    return out;
}

// The step box's button window: the row's form is the row-th from the top in
// the dialog's box; in it the minus button is the leftmost child window and
// the plus button the rightmost.
Window stepButtonWindow(Display *d, Window boxShell, int row, bool plus)
{
    const std::vector<Window> forms = childrenByPlace(d, xFirstChild(d, boxShell));
    if (static_cast<int>(forms.size()) <= row)
        return 0;
    const std::vector<Window> buttons = childrenByPlace(d, forms[static_cast<size_t>(row)]);
    if (buttons.size() < 3)
        return 0;
    return plus ? buttons.back() : buttons.front();
}

// A click of the first button, as the server would deliver it.
void click(Display *d, Window w)
{
    for (int type : {ButtonPress, ButtonRelease}) {
        XButtonEvent b{};
        b.type = type;
        b.display = d;
        b.window = w;
        b.root = DefaultRootWindow(d);
        b.time = CurrentTime;
        b.x = 3;
        b.y = 3;
        b.button = Button1;
        b.state = type == ButtonRelease ? Button1Mask : 0;
        b.same_screen = True;
        XSendEvent(d, w, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
                   reinterpret_cast<XEvent *>(&b));
    }
    XFlush(d);
}

TEST_F(MenuImageX, PressingAnItemDrawsWhatItsTextDrawsOverTcp)
{
    Display *d = server.display();
    const int count = static_cast<int>(sizeof kSteps / sizeof kSteps[0]);

    // Over TCP: each step's text, then the image.
    TempDir tcpHome;
    std::vector<XpmPixels> fromTcp;
    {
        const int port = tcpFreePort();
        auto p = start(tcpHome, port, {});
        ASSERT_NE(window, 0u) << p->err();
        int fd = tcpConnectLoopback(port);
        ASSERT_GE(fd, 0) << p->err();
        ASSERT_EQ(tcpReadReply(fd), "tavik> ");
        fromTcp.push_back(save(fd, tcpHome.file("start.xpm")));
        for (int i = 0; i < count; i++) {
            ASSERT_TRUE(tcpSend(fd, std::string(kSteps[i].text) + "\n"));
            ASSERT_EQ(tcpReadReply(fd), "tavik> ") << kSteps[i].name;
            fromTcp.push_back(save(fd, tcpHome.file(std::to_string(i) + ".xpm")));
        }
        close(fd);
        p->kill();
    }

    // Through the menus and the step box.
    TempDir menuHome;
    Lines accelerators;
    for (const Step &s : kSteps) {
        if (s.item && !s.state) {
            accelerators.push_back("-xrm");
            accelerators.push_back(std::string("TAvik*") + s.item + ".accelerator: <Key>" + s.key);
        }
    }
    const std::string stepImage = menuHome.file("step.xpm");
    const Lines bindSave = xrmBindStkDoit("F2", "GSAVE " + stepImage);
    accelerators.insert(accelerators.end(), bindSave.begin(), bindSave.end());
    const int port = tcpFreePort();
    auto p = start(menuHome, port, accelerators);
    ASSERT_NE(window, 0u) << p->err();
    int fd = tcpConnectLoopback(port);
    ASSERT_GE(fd, 0) << p->err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    const XpmPixels start = save(fd, menuHome.file("start.xpm"));
    ASSERT_FALSE(start.pixels.empty()) << p->err();
    EXPECT_TRUE(start.pixels == fromTcp[0].pixels) << "the two runs start alike";

    // The step box, shown through its own item's accelerator.
    ASSERT_TRUE(xSendKey(d, window, "b", ControlMask));
    const Window boxShell = xWaitForWindow(d, "StepBox_popup", "TAvik", 20000);
    ASSERT_NE(boxShell, 0u) << p->err();

    XpmPixels previous = start;
    int changes = 0;
    for (int i = 0; i < count; i++) {
        const Step &s = kSteps[i];
        if (s.item) {
            ASSERT_TRUE(xSendKey(d, window, s.key, s.state)) << s.name;
        } else {
            const Window button = stepButtonWindow(d, boxShell, s.stepRow, s.plus);
            ASSERT_NE(button, 0u) << s.name;
            click(d, button);
        }
        // F2 saves the image: its key follows the press in the one queue
        // of X events, so the image is the one after the step.
        unlink(stepImage.c_str());
        ASSERT_TRUE(xSendKey(d, window, "F2")) << s.name;
        XpmPixels image;
        ASSERT_TRUE(waitUntil([&] { return !(image = readXpm(d, stepImage)).pixels.empty(); }, 20000))
            << s.name << p->err();
        EXPECT_TRUE(image.pixels == fromTcp[i + 1].pixels) << s.name << ": differs from its text over TCP" << p->err();
        changes += !(image.pixels == previous.pixels);
        previous = image;
    }
    EXPECT_GE(changes, count / 2) << "most steps change the picture";
    close(fd);
    p->kill();
}

} // namespace

namespace {

// The real program, started without a scene; Ctrl+space opens and closes
// its command dialog.
struct CommandBoxKeyX : ::testing::Test {
    XServer server;
    TempDir home;
    std::unique_ptr<TavikProcess> program;
    Window window = 0;
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        writeOptionsFile(home.path(), {"ConfirmQuit = False"});
    }
    void start()
    {
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-q"};
        program = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, o);
        window = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
        ASSERT_NE(window, 0u) << program->err();
    }
    void pressCtrlSpace() { ASSERT_TRUE(xSendKey(server.display(), window, "space", ControlMask)); }
};

// Ctrl+space is both the Command box item's accelerator and a translation of
// the drawing area: one press opens the dialog, the next closes it.
TEST_F(CommandBoxKeyX, OneCtrlSpaceTogglesTheCommandDialogOnce)
{
    ASSERT_NO_FATAL_FAILURE(start());
    Display *d = server.display();
    pressCtrlSpace();
    ASSERT_NE(xWaitForWindow(d, "CommandDialog_popup", "TAvik", 20000), 0u) << program->err();
    // Long enough for a second toggle by the other binding to have closed it.
    sleepMs(300);
    EXPECT_NE(xFindWindow(d, "CommandDialog_popup", "TAvik"), 0u) << "opened and closed again by one press";
    pressCtrlSpace();
    EXPECT_TRUE(waitUntil([&] { return xFindWindow(d, "CommandDialog_popup", "TAvik") == 0; }, 20000))
        << "the second press closes it";
    program->kill();
}

// The first opening has the last command of the history selected whole:
// what the user types replaces it, runs, and is the history's new last line.
// Typing had added to the recalled text ("MODE EQT;DRIVEdrive").
TEST_F(CommandBoxKeyX, TypingAtTheFirstOpeningReplacesTheRecalledCommand)
{
    const std::string history = home.write(".tavik/history", "MAG STAR 5.0\nMODE EQT;DRIVE\n");
    ASSERT_NO_FATAL_FAILURE(start());
    Display *d = server.display();
    pressCtrlSpace();
    const Window dialog = xWaitForWindow(d, "CommandDialog_popup", "TAvik", 20000);
    ASSERT_NE(dialog, 0u) << program->err();
    xFocusWindow(d, dialog);
    sleepMs(200);
    for (const char *key : {"d", "r", "i", "v", "e", "Return"})
        ASSERT_TRUE(xSendKey(d, dialog, key)) << key;
    sleepMs(300);
    EXPECT_EQ(xFindWindow(d, "MessageBox_popup", "TAvik"), 0u) << "the typed command ran without an error";
    xSendDeleteWindow(d, window);
    ASSERT_TRUE(program->waitExit(20000)) << program->err();
    EXPECT_EQ(readFile(history), "MAG STAR 5.0\nMODE EQT;DRIVE\ndrive\n");
}

} // namespace
