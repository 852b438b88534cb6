// The program's entry: the start-up steps in their fixed order, the command
// line, the start-up scene file, the event loop and the quit path.
#pragma once

#include <X11/Intrinsic.h>

constexpr int kStartFilePathSize = 256;

// The scene file named on the command line; empty when none.
extern char startFilePath[kStartFilePathSize];

// Tip help on or off (uiHooks.setTipHelp, which the settings dialog calls).
void setTipHelp(int on);

// The whole run: start-up, then the event loop. Ends the process with exit.
[[noreturn]] void appMain(int argc, char **argv);

// Removes "-i" and "--install-colormap" that stand before a scene file from
// argv before the toolkit sees them (Xt would take "-i" as its own
// "-iconic"), leaving the values of toolkit options alone. One after the
// file stays, as "--install-colormap", so that the command line is refused.
// Returns 1 when one was removed.
int appTakeInstallColormap(int *argc, char **argv);

// Reads the arguments the toolkit left. Returns 1 to go on, 0 when the
// process is to end with status 1 (after the version, the usage or an
// unreadable scene file has been printed).
int appParseArgs(int argc, char **argv);

// The usage text, on standard error.
void appUsage();

// The STL command text for a scene file, into cmd[cmdSize]: the path quoted,
// so blanks and commas stay inside it. Returns 0 when the path cannot travel
// inside a command: it holds ";", a quote, a carriage return or a newline
// (which would split or cut the statement), or the command would not fit
// the interpreter's 259 characters.
int appStartupCommand(const char *path, char *cmd, int cmdSize);

// 1 when the stored Geometry `text` can go to the toolkit: an X geometry
// ("[=][W][xH][{+-}X{+-}Y]", read by XParseGeometry, as the toolkit reads
// it) whose width and height, where given, are sizes the window can take
// (geometrySidesInBounds). The position is X's to place.
int appGeometryUsable(const char *text);

// Runs the command line's scene file, else (unless -q) the user's tavikrc.
void appRunStartupScript();

// The quit path. Returns 0 when the user refused; otherwise ends the process
// with `status`.
int appQuit(int status);

// The window manager's delete message on the top-level shell quits.
void appWmProtocolHandler(Widget w, XtPointer client, XEvent *event, Boolean *goOn);
