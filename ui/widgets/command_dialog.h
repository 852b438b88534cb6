// The command dialog: a selection dialog in which the user types command
// text, with the history of what was run; the history is kept in the
// per-user directory between runs.
#pragma once

#include <X11/Intrinsic.h>

struct ChartState;

// Builds "CommandDialog" on the top-level (appData->commandDialog) and loads
// the history into its list.
void cmdDlgCreate(ChartState *chart);

// OK: runs the text in the field and keeps it in the history; Cancel hides.
void cmdDlgOkCallback(Widget w, XtPointer client, XtPointer call);
void cmdDlgCancelCallback(Widget w, XtPointer client, XtPointer call);

// Selects the history's last item and puts it, selected, into the field, so
// that OK repeats the last command.
void cmdDlgShowLast();

// Builds the dialog on first use; hides it when shown, else shows it with
// the last command ready.
void toggleCommandDialog(ChartState *chart);

// The same for a key press that reaches the dialog twice (Ctrl+space is both
// the menu item's accelerator and a translation of the drawing area): the
// second call for one event does nothing.
void toggleCommandDialogForEvent(ChartState *chart, const XEvent *event);

// The history file's path into dst[len]; 0 when userDir is empty or the path
// does not fit.
int historyFilePath(char *dst, int len);

// Appends the history file's lines to the dialog's list; the number read.
int historyLoad();

// At quit: writes the last SaveHistory items (removes the file when that is
// 0 or less); nothing when the dialog was never built.
void historySave();
