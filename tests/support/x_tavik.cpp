#include "tests/support/x_tavik.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xatom.h>
#include <X11/Xutil.h>

const char kTestLocale[] = "en_US.ISO-8859-1";
const char kTestClock[] = "1706220000";

void sleepMs(int ms)
{
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

TavikProcess::TavikProcess(const std::string &executable, const TavikRunOptions &options)
{
    std::vector<std::string> argv = {executable};
    argv.insert(argv.end(), options.args.begin(), options.args.end());
    std::string outPath = files_.file("stdout");
    std::string errPath = files_.file("stderr");
    std::string dir = options.workDir.empty() ? options.home : options.workDir;

    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0)
        return;
    if (pid == 0) {
        // The program goes with the test however the test ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(126);
        // Only what the program must see: its display, a home of the test's
        // own and an explicit locale (the caller's LC_ALL=C would win over
        // LANG otherwise).
        setenv("DISPLAY", options.display.c_str(), 1);
        setenv("HOME", options.home.c_str(), 1);
        setenv("TAVIK_HOME", options.home.c_str(), 1);
        setenv("TAVIK_LOCALE", options.locale.c_str(), 1);
        setenv("LC_ALL", options.locale.c_str(), 1);
        setenv("LANG", options.locale.c_str(), 1);
        unsetenv("LC_CTYPE");
        if (!options.clock.empty())
            setenv("TAVIK_CLOCK", options.clock.c_str(), 0);
        unsetenv("XENVIRONMENT");
        unsetenv("XAPPLRESDIR");
        unsetenv("XUSERFILESEARCHPATH");
        int in = open("/dev/null", O_RDONLY);
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0)
            _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (!dir.empty() && chdir(dir.c_str()) != 0)
            _exit(126);
        std::vector<char *> cargv;
        for (auto &a : argv)
            cargv.push_back(const_cast<char *>(a.c_str()));
        cargv.push_back(nullptr);
        execv(cargv[0], cargv.data());
        _exit(127);
    }
    pid_ = pid;
}

TavikProcess::~TavikProcess()
{
    kill();
}

bool TavikProcess::running()
{
    if (pid_ <= 0 || ended_)
        return false;
    int st;
    pid_t r = waitpid(pid_, &st, WNOHANG);
    if (r == pid_) {
        ended_ = true;
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        return false;
    }
    return r == 0;
}

bool TavikProcess::waitExit(int timeoutMs)
{
    return waitUntil([this] { return !running(); }, timeoutMs);
}

void TavikProcess::kill()
{
    if (running()) {
        ::kill(pid_, SIGKILL);
        int st;
        waitpid(pid_, &st, 0);
        ended_ = true;
        status_ = -1;
    }
}

std::string TavikProcess::out() const
{
    return readFile(files_.file("stdout"));
}

std::string TavikProcess::err() const
{
    return readFile(files_.file("stderr"));
}

TavikResult runTavikToEnd(const std::string &executable, const TavikRunOptions &options,
                          int timeoutMs)
{
    TavikProcess p(executable, options);
    TavikResult r;
    r.ended = p.waitExit(timeoutMs);
    if (!r.ended)
        p.kill();
    r.status = p.status();
    r.out = p.out();
    r.err = p.err();
    return r;
}

std::vector<std::string> xrmBindStkDoit(const std::string &key, const std::string &command)
{
    return xrmBindStkDoit({{key, command}});
}

std::vector<std::string> xrmBindStkDoit(
    const std::vector<std::pair<std::string, std::string>> &keyCommands)
{
    // The same specifier as the fallback table's bindings, so that this value
    // replaces them instead of competing with them by precedence.
    std::string value = "TAvik.Main.DrawingArea*translations: #override";
    for (const auto &kc : keyCommands)
        value += "\\n<Key>" + kc.first + ": StkDoit(\"" + kc.second + "\")";
    return {"-xrm", value};
}

static bool windowMatches(Display *d, Window w, const std::string &resName,
                          const std::string &resClass)
{
    XClassHint hint = {nullptr, nullptr};
    if (!XGetClassHint(d, w, &hint))
        return false;
    bool match = hint.res_class && resClass == hint.res_class &&
                 (resName.empty() || (hint.res_name && resName == hint.res_name));
    if (hint.res_name)
        XFree(hint.res_name);
    if (hint.res_class)
        XFree(hint.res_class);
    if (!match)
        return false;
    XWindowAttributes a;
    return XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable;
}

// The first window at or below w, depth levels down, that `match` accepts.
template <class F> static Window findBelow(Display *d, Window w, int depth, const F &match)
{
    if (match(w))
        return w;
    if (depth == 0)
        return 0;
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &n))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < n && !found; i++)
        found = findBelow(d, children[i], depth - 1, match);
    if (children)
        XFree(children);
    return found;
}

static Window findIn(Display *d, Window w, const std::string &resName, const std::string &resClass,
                     int depth)
{
    return findBelow(d, w, depth, [&](Window c) { return windowMatches(d, c, resName, resClass); });
}

Window xFindWindowOfSize(Display *display, Window window, int width, int height, int depth)
{
    return findBelow(display, window, depth, [&](Window c) {
        XWindowAttributes a;
        return XGetWindowAttributes(display, c, &a) && a.width == width && a.height == height &&
               a.map_state == IsViewable;
    });
}

static int ignoreXError(Display *, XErrorEvent *)
{
    return 0; // windows come and go while we walk the tree
}

Window xFindWindow(Display *display, const std::string &resName, const std::string &resClass)
{
    XSync(display, False);
    auto old = XSetErrorHandler(ignoreXError);
    // Top-level windows are children of the root (no window manager runs),
    // or grandchildren under a reparenting one.
    Window w = findIn(display, DefaultRootWindow(display), resName, resClass, 2);
    XSync(display, False);
    XSetErrorHandler(old);
    return w;
}

int xCountWindows(Display *display, const std::string &resName, const std::string &resClass)
{
    XSync(display, False);
    auto old = XSetErrorHandler(ignoreXError);
    int count = 0;
    findBelow(display, DefaultRootWindow(display), 2, [&](Window c) {
        count += windowMatches(display, c, resName, resClass) ? 1 : 0;
        return false; // walk them all
    });
    XSync(display, False);
    XSetErrorHandler(old);
    return count;
}

Window xWaitForWindow(Display *display, const std::string &resName, const std::string &resClass,
                      int timeoutMs)
{
    Window w = 0;
    waitUntil([&] { return (w = xFindWindow(display, resName, resClass)) != 0; }, timeoutMs);
    return w;
}

bool xSendKey(Display *display, Window window, const std::string &key, unsigned int state)
{
    KeySym sym = XStringToKeysym(key.c_str());
    if (sym == NoSymbol)
        return false;
    KeyCode code = XKeysymToKeycode(display, sym);
    if (code == 0)
        return false;
    XKeyEvent e;
    std::memset(&e, 0, sizeof e);
    e.display = display;
    e.window = window;
    e.root = DefaultRootWindow(display);
    e.subwindow = None;
    e.time = CurrentTime;
    e.same_screen = True;
    e.keycode = code;
    e.state = state;
    e.type = KeyPress;
    XSendEvent(display, window, True, KeyPressMask, reinterpret_cast<XEvent *>(&e));
    e.type = KeyRelease;
    XSendEvent(display, window, True, KeyReleaseMask, reinterpret_cast<XEvent *>(&e));
    XFlush(display);
    return true;
}

void xFocusWindow(Display *display, Window window)
{
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
}

Window xFirstChild(Display *display, Window window)
{
    Window root, parent, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &n))
        return 0;
    Window first = n > 0 ? children[0] : 0;
    if (children)
        XFree(children);
    return first;
}

bool xAnswerQuestion(Display *display, bool yes, int timeoutMs)
{
    const char kName[] = "QuestionDialog_popup";
    Window q = xWaitForWindow(display, kName, "TAvik", timeoutMs);
    if (!q)
        return false;
    xFocusWindow(display, q);
    sleepMs(100); // the toolkit takes the focus before the keys arrive
    if (yes) {
        xSendKey(display, q, "Left");
        xSendKey(display, q, "space");
    } else {
        xSendKey(display, q, "Escape");
    }
    return waitUntil([&] { return xFindWindow(display, kName, "TAvik") == 0; }, timeoutMs);
}

void xSendDeleteWindow(Display *display, Window window)
{
    XClientMessageEvent e;
    std::memset(&e, 0, sizeof e);
    e.type = ClientMessage;
    e.display = display;
    e.window = window;
    e.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.format = 32;
    e.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    e.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, reinterpret_cast<XEvent *>(&e));
    XFlush(display);
}

const char kTestSiteName[] = "Greenwich (United Kingdom)";

static void writeText(const std::string &path, const std::string &text)
{
    FILE *f = std::fopen(path.c_str(), "w");
    if (f) {
        std::fputs(text.c_str(), f);
        std::fclose(f);
    }
}

void writeOptionsFile(const std::string &home, const std::vector<std::string> &lines)
{
    std::string dir = home + "/.tavik";
    mkdir(dir.c_str(), 0755);
    // One line of the site list: name to column 40, then longitude, latitude,
    // altitude and zone in their fixed columns, 70 characters and a newline.
    writeText(dir + "/tavik.obs",
              "Greenwich (United Kingdom)                 0.000E 51.468N   39 +00.00 \n");
    std::string text;
    bool site = false;
    for (auto &l : lines) {
        text += l + "\n";
        site = site || l.compare(0, 8, "SiteName") == 0;
    }
    if (!site)
        text += std::string("SiteName = ") + kTestSiteName + "\n";
    writeText(dir + "/options", text);
}

void writeSiteList(const std::string &home, const std::vector<std::string> &lines)
{
    std::string text;
    for (auto &l : lines)
        text += l + "\n";
    writeText(home + "/.tavik/tavik.obs", text);
}
