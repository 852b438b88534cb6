// Upward calls from model/, render/ and command/ into the user interface.
//
// The lower layers link without X and without ui/, so every call they make
// upward goes through this record of function pointers. Each field is named
// after the ui/ routine it stands for; ui/ assigns its routines at start-up
// (e.g. uiHooks.openMessageBox = openMessageBox). Until then every field holds
// a safe default: a no-op, or the "not available" answer noted below, so that
// tests and a start-up that stops early still link and run.
//
// Shared file: a helper that needs a further hook adds a field at the END of
// UiHooks and its default at the end of kDefaultHooks (model/ui_hooks.cpp).
#pragma once

#include "model/x_handles.h"

struct ChartState;

// openMessageBox types.
enum {
    kMessageBoxMessage = 1,
    kMessageBoxInformation = 2,
    kMessageBoxWarning = 3,
    kMessageBoxError = 4, // any other value is an error box too
};

// Dialogs the INPUT command opens.
enum {
    kInputDialogDate = 1,
    kInputDialogPeriod = 2,
    kInputDialogLocate = 3,
    kInputDialogOpenFile = 4,
    kInputDialogSaveFile = 5,
};

// Tool-bar buttons, left to right (toolbarRefreshOne's button).
enum {
    kToolbarFileOpen = 0,
    kToolbarFileSave = 1,
    kToolbarModeHrz = 2,
    kToolbarModeEqt = 3,
    kToolbarModeAll1 = 4,
    kToolbarModeAll2 = 5,
    kToolbarModeSol = 6,
    kToolbarModePlns = 7,
    kToolbarSetDate = 8,
    kToolbarSetPlace = 9,
    kToolbarLookHrz = 10,
    kToolbarDaylight = 11,
    kToolbarZoomUp = 12,
    kToolbarZoomDown = 13,
    kToolbarConsline = 14,
    kToolbarConsname = 15,
    kToolbarPlanetname = 16,
    kToolbarNebula = 17,
    kToolbarMilkyway = 18,
    kToolbarPicMark = 19,
    kToolbarGridHrz = 20,
    kToolbarGridEqt = 21,
    kToolbarTrace = 22,
    kToolbarSetStep = 23,
    kToolbarReverse = 24,
    kToolbarStopPlay = 25,
    kToolbarContinue = 26,
    kToolbarButtonCount = 27,
};

struct UiHooks {
    // A new message box on parent; returns at once. Default: the text on
    // standard error, as "tavik: text".
    void (*openMessageBox)(Widget parent, const char *text, int type);
    // Modal question; 1 for OK, 0 for Cancel. Default: 0 (no one can answer).
    int (*askQuestion)(Widget parent, const char *text);
    // The quit path; returns only when the quit was refused. Default: nothing
    // happens (a process without a user interface is not ended from below).
    void (*appQuit)(int status);

    // The canvas refresh (recompute and redraw when marked). Default: no-op.
    void (*chartRefresh)(ChartState *chart);
    // Tool bar: every button, the buttons a mode change affects, one button
    // (refreshed when the tool bar is managed and the low bytes of changed,
    // the display bits a command switched, and bit, the one the button shows,
    // are equal).
    void (*toolbarRefreshAll)(ChartState *chart);
    void (*toolbarRefreshChanged)(ChartState *chart);
    void (*toolbarRefreshOne)(ChartState *chart, int changed, int bit, int button);
    void (*viewUpdateScrollBars)(ChartState *chart);
    // After each frame: the click-data dialog's info box and the almanac panel.
    void (*repaintClickData)(ChartState *chart);
    void (*refreshTodayDialog)(ChartState *chart);
    // Click-data dialog.
    void (*setClickDataDialogVisible)(ChartState *chart, int visible);
    void (*updateClickDataButtons)(ChartState *chart);
    // Opens one of the INPUT dialogs (kInputDialog*). Returns 1 when it was
    // opened; default 0 (not available).
    int (*openInputDialog)(ChartState *chart, int dialog);
    // 1 when the tool bar is managed (shown), as the options file records it.
    // Default: 1 when the tool bar was built.
    int (*toolbarManaged)();
    // The progress gauge: opened with a title resource name, set to a
    // percentage (which also lets the gauge's Cancel be pressed), asked
    // whether Cancel was pressed, closed. Defaults: show nothing and never
    // cancel.
    void (*openGaugeDialog)(const char *titleResource);
    void (*gaugeDlgSetPercent)(int percent);
    int (*gaugeDlgCancelled)();
    void (*closeGaugeDialog)();
    // Playing: on 1 registers playStep as the event loop's work procedure
    // (its id in chart->playWorkProc), on 0 removes it (id 0). Default: only
    // the id changes (1 or 0), so the lower layers' tests can drive playStep.
    void (*setPlayWorkProc)(ChartState *chart, int on);
    // Arms the timer calling playTimer after ms milliseconds (its id in
    // chart->playTimerId); ms below 0 removes it (id 0). Default: the same.
    void (*setPlayTimer)(ChartState *chart, long long ms);
    // A message box as openMessageBox gives, unless one opened here with the
    // same text and type is still shown. Default: openMessageBox's hook.
    void (*openMessageBoxOnce)(Widget parent, const char *text, int type);
    // Tip help: 1 makes the tips' shell (appData->tipShell) with the tool
    // bar's and the click-data buttons' tips unless it is there, 0 destroys
    // it with its tips. Default: nothing.
    void (*setTipHelp)(int on);
};

extern UiHooks uiHooks;

// Puts every field back to its default (tests call it between cases).
void uiHooksReset();

// Recording seam for tests: while recording, openMessageBox appends the box
// (type and text) to a list instead of showing it.
void uiHooksRecordMessages();              // starts with an empty list
int uiHooksRecordedMessageCount();
const char *uiHooksRecordedMessageText(int i); // null when i is out of range
int uiHooksRecordedMessageType(int i);         // 0 when i is out of range
