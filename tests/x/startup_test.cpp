// Start-up, the command line and the quit path, on the real program.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <X11/Xutil.h>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "ui/app/startup.h"

namespace {

// --- pieces that need no display ---

struct ColormapCase {
    const char *name;
    std::vector<std::string> in;
    std::vector<std::string> out;
    int found;
};

TEST(StartupArgs, InstallColormapIsTakenBeforeTheToolkitCanReadItAsIconic)
{
    const ColormapCase cases[] = {
        {"short form removed", {"-i"}, {}, 1},
        {"long form removed", {"--install-colormap", "x.stl"}, {"x.stl"}, 1},
        {"both among others", {"-q", "-i", "--install-colormap"}, {"-q"}, 1},
        {"value of -xrm kept", {"-xrm", "-i"}, {"-xrm", "-i"}, 0},
        {"value of an abbreviated -title kept", {"-ti", "-i", "-i"}, {"-ti", "-i"}, 1},
        {"-iconic itself kept", {"-iconic"}, {"-iconic"}, 0},
        {"ambiguous prefix takes no value", {"-b", "-i"}, {"-b"}, 1},
        {"nothing to take", {"--lang=C", "f"}, {"--lang=C", "f"}, 0},
        {"after the scene file kept, long so the toolkit keeps it too", {"f.stl", "-i"},
         {"f.stl", "--install-colormap"}, 0},
        {"before the file taken, after kept", {"-i", "f.stl", "--install-colormap"},
         {"f.stl", "--install-colormap"}, 1},
        {"a toolkit option's value is no file", {"-title", "t", "-i"}, {"-title", "t"}, 1},
    };
    for (const auto &c : cases) {
        std::vector<std::string> storage = {"tavik"};
        storage.insert(storage.end(), c.in.begin(), c.in.end());
        std::vector<char *> argv;
        for (auto &s : storage)
            argv.push_back(&s[0]);
        argv.push_back(nullptr);
        int argc = static_cast<int>(storage.size());
        int found = appTakeInstallColormap(&argc, argv.data());
        std::vector<std::string> got;
        for (int i = 1; i < argc; i++)
            got.push_back(argv[static_cast<size_t>(i)]);
        EXPECT_EQ(found, c.found) << c.name;
        EXPECT_EQ(got, c.out) << c.name;
        EXPECT_EQ(argv[static_cast<size_t>(argc)], nullptr) << c.name;
    }
}

TEST(StartupArgs, SceneFileCommandRefusesPathsThatWouldSplitOrOverflowTheStatement)
{
    const std::string fits(253, 'a');     // "STL \"" + 253 + "\"" = 259 characters
    const std::string tooLong(254, 'a');
    struct Case {
        const char *name;
        std::string path;
        std::string command; // empty: refused
    } cases[] = {
        {"plain path", "/tmp/a.stl", "STL \"/tmp/a.stl\""},
        {"blank and comma stay inside the quotes", "/tmp/my scene,1.stl",
         "STL \"/tmp/my scene,1.stl\""},
        {"semicolon would start a second statement", "/tmp/a;EXIT", ""},
        {"double quote would end the parameter", "/tmp/a\"b", ""},
        {"single quote", "/tmp/a'b", ""},
        {"newline would split the text", "/tmp/a\nEXIT", ""},
        {"carriage return would split the text", "/tmp/a\rEXIT", ""},
        {"longest path that fits 259 characters", fits, "STL \"" + fits + "\""},
        {"one more does not fit", tooLong, ""},
    };
    for (const auto &c : cases) {
        char cmd[260];
        int ok = appStartupCommand(c.path.c_str(), cmd, sizeof cmd);
        EXPECT_EQ(ok, c.command.empty() ? 0 : 1) << c.name;
        if (ok) {
            EXPECT_EQ(cmd, c.command) << c.name;
        }
    }
}

// A stored Geometry is an X geometry: a position with the size (as every X
// program takes "-geometry 900x700+10+20") was once refused for not being
// digits only. Only the sizes are bounded; the rest is X's grammar.
TEST(StartupArgs, StoredGeometryIsReadAsXReadsItAndOnlyItsSizesAreBounded)
{
    struct Case {
        const char *text;
        int usable;
    } cases[] = {
        {"900x700+10+20", 1},
        {"900x700-10-20", 1},      // offsets from the right and bottom edges
        {"=900x700+10+20", 1},     // X allows a leading "="
        {"900X700", 1},
        {"900x700", 1},
        {"+10+20", 1},             // a position alone: the default size
        {"900x700+10", 1},         // X takes an x offset alone
        {"x700", 1},
        {"900", 1},
        {"120x160+0+0", 1},        // the window's minimum
        {"32767x32767", 1},
        {"119x600+10+20", 0},
        {"800x159", 0},
        {"0x600", 0},
        {"32768x600", 0},
        {"99999x600+0+0", 0},
        {"60000x60000", 0},
        {"900x700+10+20+30", 0},   // what X cannot parse
        {"900x700+", 0},
        {"900x700 ", 0},
        {" 900x700", 0},
        {"900x700x1", 0},
        {"-800x600", 0},
        {"big", 0},
        {"=", 0},
        {"", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(appGeometryUsable(c.text), c.usable) << '"' << c.text << '"';
}

// --- the real program on a private X server ---

class StartupX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        writeOptionsFile(home.path(), {});
    }
    TavikRunOptions options(std::vector<std::string> args) const
    {
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = std::move(args);
        return o;
    }
    Window waitMainWindow() const { return xWaitForWindow(server.display(), "tavik", "TAvik", 30000); }
    // The program with ConfirmQuit set as given and F5 bound to
    // StkDoit(EXIT), started with -q; *w is its main window (0 when none).
    std::unique_ptr<TavikProcess> startWithExitKey(const char *confirmQuit, Window *w)
    {
        writeOptionsFile(home.path(), {std::string("ConfirmQuit = ") + confirmQuit});
        auto args = xrmBindStkDoit("F5", "EXIT");
        args.push_back("-q");
        auto p = std::make_unique<TavikProcess>(TAVIK_EXECUTABLE, options(args));
        *w = waitMainWindow();
        return p;
    }

    XServer server;
    TempDir home;
};

const char kUsage[] = "Usage: tavik [toolkit options] [-i] [--install-colormap]\n"
                      "             [-q] [--clean-start] [--lang=<locale>] [-l=<locale>]\n"
                      "             [<filename>]\n"
                      "       tavik --version\n";

TEST_F(StartupX, CommandLinesThatEndAtOnceGiveTheirTextAndStatusOne)
{
    TempDir files;
    std::string a = files.write("a.stl", "SCENE MAIN\nEND SCENE\n");
    std::string b = files.write("b.stl", "SCENE MAIN\nEND SCENE\n");
    std::string semicolon = files.write("x;EXIT.stl", "SCENE MAIN\nEND SCENE\n");
    std::string quote = files.write("x\"y.stl", "SCENE MAIN\nEND SCENE\n");
    std::string missing = files.file("missing.stl");
    struct Case {
        const char *name;
        std::vector<std::string> args;
        std::string out, err;
    } cases[] = {
        {"--version", {"--version"}, "Tavik Version 3.3.1\n", ""},
        {"-V", {"-V"}, "Tavik Version 3.3.1\n", ""},
        {"two scene files", {a, b}, "", kUsage},
        {"-i after the scene file", {a, "-i"}, "", kUsage},
        {"--install-colormap after the scene file", {a, "--install-colormap"}, "", kUsage},
        {"unknown option", {"--bogus"}, "", kUsage},
        {"unreadable scene file", {missing}, "", "tavik: can't open file " + missing + "\n"},
        {"scene path with a semicolon", {semicolon}, "", "tavik: can't open file " + semicolon + "\n"},
        {"scene path with a quote", {quote}, "", "tavik: can't open file " + quote + "\n"},
    };
    for (const auto &c : cases) {
        TavikResult r = runTavikToEnd(TAVIK_EXECUTABLE, options(c.args));
        ASSERT_TRUE(r.ended) << c.name;
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

// Xt reads "-i" as "-iconic": the window would start as an icon.
TEST_F(StartupX, MainWindowMapsWithClassTAvikAndMinusIDoesNotMakeItAnIcon)
{
    for (const char *arg : {"-q", "-i"}) {
        TavikProcess p(TAVIK_EXECUTABLE, options({arg}));
        Window w = waitMainWindow();
        ASSERT_NE(w, 0u) << arg << " " << p.err();
        XWMHints *hints = XGetWMHints(server.display(), w);
        int state = hints && (hints->flags & StateHint) ? hints->initial_state : NormalState;
        if (hints)
            XFree(hints);
        EXPECT_EQ(state, NormalState) << arg;
        EXPECT_TRUE(p.running()) << arg;
    }
}

// The window manager keeps the main window from shrinking below 120 pixels
// wide and 160 high: what it reads is WM_NORMAL_HINTS.
TEST_F(StartupX, MainWindowAsksTheWindowManagerForItsMinimumSize)
{
    writeOptionsFile(home.path(), {});
    auto args = xrmBindStkDoit("F6", "NOSUCHCOMMAND");
    args.push_back("-q");
    TavikProcess p(TAVIK_EXECUTABLE, options(args));
    Display *d = server.display();
    Window w = waitMainWindow();
    ASSERT_NE(w, 0u) << p.err();
    // The event loop answering a key (with the warning box of an unknown
    // command) means start-up, which sets the hints, is over.
    xSendKey(d, w, "F6");
    ASSERT_NE(xWaitForWindow(d, "MessageBox_popup", "TAvik", 30000), 0u) << p.err();
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(d, w, &hints, &supplied));
    ASSERT_TRUE(hints.flags & PMinSize);
    EXPECT_EQ(hints.min_width, 120);
    EXPECT_EQ(hints.min_height, 160);
}

TEST_F(StartupX, StkDoitExitEndsTheProcessWithStatusZero)
{
    Window w;
    auto process = startWithExitKey("False", &w);
    TavikProcess &p = *process;
    ASSERT_NE(w, 0u) << p.err();
    ASSERT_TRUE(xSendKey(server.display(), w, "F5"));
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();
    // The quit path saved the options on the way out.
    EXPECT_NE(readFile(home.file(".tavik/options")).find("ConfirmQuit = False\n"), std::string::npos);
}

TEST_F(StartupX, WindowManagerDeleteRunsTheQuitPath)
{
    writeOptionsFile(home.path(), {"ConfirmQuit = False"});
    TavikProcess p(TAVIK_EXECUTABLE, options({"-q"}));
    Window w = waitMainWindow();
    ASSERT_NE(w, 0u) << p.err();
    xSendDeleteWindow(server.display(), w);
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();
}

// A refused quit, from a key or from the window manager (whose delete
// message the toolkit is told to leave alone), changes nothing.
TEST_F(StartupX, RefusedQuitLeavesTheProgramRunning)
{
    Window w;
    auto process = startWithExitKey("True", &w);
    TavikProcess &p = *process;
    Display *d = server.display();
    ASSERT_NE(w, 0u) << p.err();

    struct Way {
        const char *name;
        void (*ask)(Display *, Window);
    } ways[] = {
        {"StkDoit(EXIT)", [](Display *dd, Window ww) { xSendKey(dd, ww, "F5"); }},
        {"window manager delete", [](Display *dd, Window ww) { xSendDeleteWindow(dd, ww); }},
    };
    for (const auto &way : ways) {
        way.ask(d, w);
        ASSERT_TRUE(xAnswerQuestion(d, false)) << way.name << " " << p.err();
        sleepMs(300);
        EXPECT_TRUE(p.running()) << way.name << " " << p.err();
        EXPECT_NE(xFindWindow(d, "tavik", "TAvik"), 0u) << way.name;
    }
    // A yes after the refusals still quits.
    xSendKey(d, w, "F5");
    ASSERT_TRUE(xAnswerQuestion(d, true)) << p.err();
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();
}

// Closing the question through the window manager leaves no nested event
// loop waiting for an answer that can never come: it counts as a refusal.
TEST_F(StartupX, QuestionClosedByTheWindowManagerIsARefusal)
{
    Window w;
    auto process = startWithExitKey("True", &w);
    TavikProcess &p = *process;
    Display *d = server.display();
    ASSERT_NE(w, 0u) << p.err();
    xSendKey(d, w, "F5");
    Window q = xWaitForWindow(d, "QuestionDialog_popup", "TAvik", 20000);
    ASSERT_NE(q, 0u) << p.err();
    xSendDeleteWindow(d, q);
    ASSERT_TRUE(waitUntil([&] { return xFindWindow(d, "QuestionDialog_popup", "TAvik") == 0; }, 20000));
    // The quit was refused, so a new one asks again.
    xSendKey(d, w, "F5");
    ASSERT_TRUE(xAnswerQuestion(d, true)) << p.err();
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();
}

// Without a per-user directory nothing is saved at quit.
TEST_F(StartupX, QuitWithoutUserDirectoryWritesNoOptionsFile)
{
    std::string notADirectory = home.write("plain-file", "");
    TavikRunOptions o = options({"-q"});
    o.home = notADirectory;
    o.workDir = home.path();
    TavikProcess p(TAVIK_EXECUTABLE, o);
    Display *d = server.display();
    Window w = waitMainWindow();
    ASSERT_NE(w, 0u) << p.err();
    xSendDeleteWindow(d, w);
    // No options file: ConfirmQuit keeps its default and asks.
    ASSERT_TRUE(xAnswerQuestion(d, true)) << p.err();
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();
    EXPECT_EQ(readFile(notADirectory), "");
}

// A stored Geometry the window cannot take once ended every start with an X
// error (or opened a window one pixel wide); a -geometry too large for a
// pixmap ended the first frame. Each now runs on and says so once.
TEST_F(StartupX, WindowSizesTheServerCannotTakeStartAndSaySoOnce)
{
    const std::string invalid = "Invalid geometry value";
    const std::string limited = "The window is larger than a chart can be";
    constexpr unsigned kUnchecked = ~0u;
    struct Case {
        const char *name;
        const char *stored;           // Geometry option; null: none
        std::vector<std::string> args;
        const std::string *message;   // said once on standard error; null: nothing
        unsigned width, height;       // the window's size; 0: the size it has without a Geometry,
                                      // kUnchecked: not checked
        int x, y;                     // its place on the screen; -1: not checked
    } cases[] = {
        {"no Geometry", nullptr, {}, nullptr, 0, 0, -1, -1},
        {"stored 800x600 is used", "800x600", {}, nullptr, 800, 600, -1, -1},
        {"stored 900x700+10+20 is used whole", "900x700+10+20", {}, nullptr, 900, 700, 10, 20},
        {"stored +30+40 places the default window", "+30+40", {}, nullptr, 0, 0, 30, 40},
        {"stored 0x600", "0x600", {}, &invalid, 0, 0, -1, -1},
        {"stored 99999x600", "99999x600", {}, &invalid, 0, 0, -1, -1},
        {"stored 60000x60000", "60000x60000", {}, &invalid, 0, 0, -1, -1},
        {"stored 900x700+10+20+30", "900x700+10+20+30", {}, &invalid, 0, 0, -1, -1},
        {"-geometry 60000x60000", nullptr, {"-geometry", "60000x60000"}, &limited, kUnchecked, kUnchecked, -1, -1},
    };
    Display *d = server.display();
    unsigned defaultWidth = 0, defaultHeight = 0;
    for (const Case &c : cases) {
        std::vector<std::string> lines = {"ConfirmQuit = False"};
        if (c.stored)
            lines.push_back(std::string("Geometry = ") + c.stored);
        writeOptionsFile(home.path(), lines);
        const std::string image = home.file("settled.xpm");
        std::remove(image.c_str());
        auto args = xrmBindStkDoit({{"F5", "EXIT"}, {"F6", "GSAVE " + image}});
        args.push_back("-q");
        args.insert(args.end(), c.args.begin(), c.args.end());
        TavikProcess p(TAVIK_EXECUTABLE, options(args));
        Window w = waitMainWindow();
        ASSERT_NE(w, 0u) << c.name << " " << p.err();
        if (c.width != kUnchecked) {
            // The window widens for the tool bar after it is mapped; a key is
            // read once start-up is over and the window has its size.
            ASSERT_TRUE(xSendKey(d, w, "F6")) << c.name;
            ASSERT_TRUE(waitUntil([&] { return !readFile(image).empty(); }, 30000)) << c.name << " " << p.err();
        }
        Window root;
        int x, y;
        unsigned width = 0, height = 0, border, depth;
        XGetGeometry(d, w, &root, &x, &y, &width, &height, &border, &depth);
        if (!c.stored && c.args.empty()) {
            defaultWidth = width;
            defaultHeight = height;
        }
        if (c.width == 0) {
            EXPECT_EQ(width, defaultWidth) << c.name;
            EXPECT_EQ(height, defaultHeight) << c.name;
        } else if (c.width != kUnchecked) {
            EXPECT_EQ(width, c.width) << c.name;
            EXPECT_EQ(height, c.height) << c.name;
        }
        if (c.x >= 0) {
            EXPECT_EQ(x, c.x) << c.name;
            EXPECT_EQ(y, c.y) << c.name;
        }
        // The first frame is drawn before the key is read: a BadAlloc would end it here.
        ASSERT_TRUE(xSendKey(d, w, "F5")) << c.name;
        ASSERT_TRUE(p.waitExit(30000)) << c.name << " " << p.err();
        EXPECT_EQ(p.status(), 0) << c.name << " " << p.err();
        const std::string err = p.err();
        EXPECT_EQ(err.find("X Error"), std::string::npos) << c.name << " " << err;
        if (c.message) {
            const size_t at = err.find(*c.message);
            EXPECT_NE(at, std::string::npos) << c.name << " " << err;
            EXPECT_EQ(err.find(*c.message, at + 1), std::string::npos) << c.name << ": said twice";
        } else {
            EXPECT_EQ(err.find(invalid), std::string::npos) << c.name << " " << err;
            EXPECT_EQ(err.find(limited), std::string::npos) << c.name << " " << err;
        }
        if (c.stored && std::string(c.stored) == "0x600") {
            EXPECT_NE(err.find("(Geometry = 0x600)"), std::string::npos) << err;
        }
    }
}

// The viewable windows at and below `w`, with their sizes and their number
// of children.
struct WindowBox {
    Window window;
    unsigned width, height, children;
};
void viewableBelow(Display *d, Window w, std::vector<WindowBox> *out)
{
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a) || a.map_state != IsViewable ||
        !XQueryTree(d, w, &root, &parent, &children, &n))
        return;
    out->push_back(WindowBox{w, static_cast<unsigned>(a.width), static_cast<unsigned>(a.height), n});
    for (unsigned i = 0; i < n; i++)
        viewableBelow(d, children[i], out);
    if (children)
        XFree(children);
}

// At the default size the tool bar's last button was cut in half: 27 buttons
// need more than the chart's 720 pixels and its scroll bar. The window's
// default width now follows the tool bar; the chart keeps the fallback
// table's 720x540 where the bar does not need more, and a chart size the user
// chose stays.
TEST_F(StartupX, DefaultWindowShowsEveryToolbarButtonWhole)
{
    struct Case {
        const char *name;
        const char *toolbar;          // the option Toolbar
        std::vector<std::string> args;
        unsigned chartWidth, chartHeight; // the drawing area; 0: not checked
    } cases[] = {
        {"tool bar shown", "True", {}, 0, 540},
        {"tool bar hidden: the chart keeps its default", "False", {}, 720, 540},
        {"a chart width of the user's stays", "True", {"-xrm", "TAvik.Main.DrawingArea.width: 500"}, 500, 540},
    };
    Display *d = server.display();
    for (const Case &c : cases) {
        writeOptionsFile(home.path(), {"ConfirmQuit = False", std::string("Toolbar = ") + c.toolbar});
        const std::string image = home.file("started.xpm");
        std::remove(image.c_str());
        auto args = xrmBindStkDoit({{"F5", "EXIT"}, {"F6", "GSAVE " + image}});
        args.push_back("-q");
        args.insert(args.end(), c.args.begin(), c.args.end());
        TavikProcess p(TAVIK_EXECUTABLE, options(args));
        Window w = waitMainWindow();
        ASSERT_NE(w, 0u) << c.name << " " << p.err();
        // A key is read once start-up is over, and the window has its size.
        ASSERT_TRUE(xSendKey(d, w, "F6")) << c.name;
        ASSERT_TRUE(waitUntil([&] { return !readFile(image).empty(); }, 30000)) << c.name << " " << p.err();
        std::vector<WindowBox> boxes;
        viewableBelow(d, w, &boxes);
        const WindowBox *bar = nullptr, *chart = nullptr;
        for (const WindowBox &b : boxes) {
            if (b.children == 27)
                bar = &b;
            if (b.children == 0 && b.width >= 400 && b.height >= 300)
                chart = &b;
        }
        ASSERT_NE(chart, nullptr) << c.name;
        if (c.chartWidth) {
            EXPECT_EQ(chart->width, c.chartWidth) << c.name;
        }
        EXPECT_EQ(chart->height, c.chartHeight) << c.name;
        if (std::string(c.toolbar) == "True" && c.args.empty()) {
            ASSERT_NE(bar, nullptr) << c.name;
            Window root, parent, *children = nullptr;
            unsigned n = 0;
            ASSERT_TRUE(XQueryTree(d, bar->window, &root, &parent, &children, &n));
            ASSERT_EQ(n, 27u);
            XWindowAttributes last;
            XGetWindowAttributes(d, children[n - 1], &last);
            XFree(children);
            EXPECT_GT(last.width, 0) << c.name;
            EXPECT_LE(static_cast<unsigned>(last.x + last.width), bar->width)
                << c.name << ": the last button reaches " << last.x + last.width << " of " << bar->width;
            EXPECT_GE(chart->width, 720u) << c.name;
        }
        ASSERT_TRUE(xSendKey(d, w, "F5")) << c.name;
        ASSERT_TRUE(p.waitExit(30000)) << c.name << " " << p.err();
    }
}

// Whether a scene file ran shows as the warning box its unknown statement
// raises.
TEST_F(StartupX, StartupSceneFileRunsUnlessMinusQAndTheCommandLineFileAlwaysRuns)
{
    const std::string scene = "SCENE MAIN\nNOSUCHCOMMAND\nEND SCENE\n";
    std::string file = home.write("my scene.stl", scene);
    home.write(".tavik/tavikrc", scene);
    struct Case {
        const char *name;
        std::vector<std::string> args;
        bool ran;
    } cases[] = {
        {"tavikrc runs by default", {}, true},
        {"-q skips tavikrc", {"-q"}, false},
        {"--clean-start skips tavikrc", {"--clean-start"}, false},
        {"-q with a file still runs the file", {"-q", file}, true},
    };
    Display *d = server.display();
    for (const auto &c : cases) {
        TavikProcess p(TAVIK_EXECUTABLE, options(c.args));
        ASSERT_NE(waitMainWindow(), 0u) << c.name << " " << p.err();
        bool box = xWaitForWindow(d, "MessageBox_popup", "TAvik", c.ran ? 20000 : 1500) != 0;
        EXPECT_EQ(box, c.ran) << c.name << " " << p.err();
        p.kill();
        waitUntil([&] { return xFindWindow(d, "tavik", "TAvik") == 0; }, 5000);
    }
}

} // namespace
