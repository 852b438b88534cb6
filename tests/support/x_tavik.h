// Starts the real tavik executable on a test's X server and drives it from
// outside, as a user or a window manager would: find its windows, send keys
// bound to StkDoit(...) by -xrm translations, send the window manager's delete
// message, and collect the exit status and what it printed.
#pragma once

#include <string>
#include <utility>
#include <sys/types.h>
#include <vector>

#include <X11/Xlib.h>

#include "tests/support/temp_dir.h"

// The locale every test run uses: the font sets need ISO 8859-1.
extern const char kTestLocale[];
// The moment the program's clock stands at unless a test says otherwise:
// 2024-01-25 22:00 UTC, a night at Greenwich.
extern const char kTestClock[];

struct TavikRunOptions {
    std::string display;             // DISPLAY for the program
    std::string home;                // HOME and TAVIK_HOME; never the real one
    std::vector<std::string> args;   // after argv[0]
    std::string locale = kTestLocale;
    std::string workDir;             // current directory; empty = home
    // TAVIK_CLOCK for the program, so that what a test sees does not depend
    // on the hour it runs at (a TAVIK_CLOCK the test has set wins); empty:
    // the machine's running clock.
    std::string clock = kTestClock;
};

class TavikProcess {
public:
    // Starts `executable` with the options. Standard output and error go to
    // files that out() and err() read back.
    TavikProcess(const std::string &executable, const TavikRunOptions &options);
    // Kills the program when it still runs.
    ~TavikProcess();
    TavikProcess(const TavikProcess &) = delete;
    TavikProcess &operator=(const TavikProcess &) = delete;

    pid_t pid() const { return pid_; }
    // Waits up to timeoutMs for the program to end; true when it has.
    bool waitExit(int timeoutMs);
    // True while the program runs (reaps it when it has ended).
    bool running();
    // The exit status, or -1 when it was ended by a signal or still runs.
    int status() const { return status_; }
    // Ends the program with SIGKILL and reaps it.
    void kill();

    std::string out() const;
    std::string err() const;

private:
    TempDir files_;
    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = -1;
};

// A finished run: for command lines that end the program at once.
struct TavikResult {
    bool ended = false;   // false when it still ran after the timeout (then killed)
    int status = -1;
    std::string out, err;
};
TavikResult runTavikToEnd(const std::string &executable, const TavikRunOptions &options,
                          int timeoutMs = 20000);

// The "-xrm" arguments that bind `key` (a keysym name such as "F5") in the
// drawing area to StkDoit with `command`. They replace the fallback table's
// bindings, so give every key a test needs in one call.
std::vector<std::string> xrmBindStkDoit(const std::string &key, const std::string &command);
std::vector<std::string> xrmBindStkDoit(
    const std::vector<std::pair<std::string, std::string>> &keyCommands);

// A typical drive: bind keys, start, wait for the main window, press a key.
//   TavikRunOptions o{server.name(), home.path(), xrmBindStkDoit("F5", "EXIT")};
//   writeOptionsFile(home.path(), {"ConfirmQuit = False"});
//   TavikProcess p(TAVIK_EXECUTABLE, o);
//   Window w = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
//   xSendKey(server.display(), w, "F5");
//   p.waitExit(20000);  // p.status() == 0
// The main window maps before start-up ends; a key bound to an unknown
// command raises a "MessageBox_popup" window once the event loop runs.

// The first viewable window whose WM_CLASS is (resName, resClass); resName
// may be empty to match any instance. Waits up to timeoutMs; 0 when none.
Window xWaitForWindow(Display *display, const std::string &resName, const std::string &resClass,
                      int timeoutMs);
// Like xWaitForWindow, without waiting: 0 when no such window is viewable.
Window xFindWindow(Display *display, const std::string &resName, const std::string &resClass);

// How many viewable top-level windows have that WM_CLASS (as xFindWindow
// matches them): one message box, or two.
int xCountWindows(Display *display, const std::string &resName, const std::string &resClass);

// The first viewable window at or below `window`, up to `depth` levels
// down, of exactly width x height (a widget found by its size); 0 when none.
Window xFindWindowOfSize(Display *display, Window window, int width, int height, int depth = 6);

// Sends a key press and release of the keysym named `key` to `window`
// (XSendEvent; the toolkit forwards it to the widget holding the focus).
bool xSendKey(Display *display, Window window, const std::string &key, unsigned int state = 0);

// Gives the keyboard focus to `window`, as a window manager does when a
// window is clicked or newly mapped (nothing else does it under Xvfb).
void xFocusWindow(Display *display, Window window);

// The first child window of `window` (a shell's widget inside it); 0 when none.
Window xFirstChild(Display *display, Window window);

// Answers the program's question dialog ("QuestionDialog") as a user would
// from the keyboard: Escape refuses; yes moves from the default Cancel button
// to OK and presses it. Waits up to timeoutMs for the dialog to appear and
// to go away again; false when it did not.
bool xAnswerQuestion(Display *display, bool yes, int timeoutMs = 20000);

// Sends the window manager's WM_DELETE_WINDOW message to a top-level window.
void xSendDeleteWindow(Display *display, Window window);

// Writes HOME/.tavik/options with the given lines ("Key = Value") and a
// default site that the user's site list (HOME/.tavik/tavik.obs, written
// too) holds, so that start-up shows no first-run warning box, whose modal
// grab would swallow the test's keys. A "SiteName" line given replaces it.
void writeOptionsFile(const std::string &home, const std::vector<std::string> &lines);

// The site writeOptionsFile sets up.
extern const char kTestSiteName[];

// Replaces the user's site list (HOME/.tavik/tavik.obs) with `lines`, each a
// 70-character site line without its newline; call after writeOptionsFile.
void writeSiteList(const std::string &home, const std::vector<std::string> &lines);

// Polls `done` every 20 ms for up to timeoutMs; true when it became true.
template <class F> bool waitUntil(F done, int timeoutMs);
void sleepMs(int ms);

template <class F> bool waitUntil(F done, int timeoutMs)
{
    for (int t = 0; t <= timeoutMs; t += 20) {
        if (done())
            return true;
        sleepMs(20);
    }
    return done();
}
