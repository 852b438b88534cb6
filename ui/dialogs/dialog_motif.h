// The Motif half of the dialog kit: one builder for every DialogSpec.
//
// A dialog is a form dialog on the top-level widget, built on its first
// opening and kept while its shell lives: destroying the top-level shell
// takes every dialog with it, and the kit then forgets the dialog's widgets
// and record, so the next opening builds it again. Its controls stand in a row-column named
// after the dialog with the ending "RowColumn" (or in a row-column or form
// of the table), its buttons in one ending "Buttons": "ButtonOK" (the default
// button) and "ButtonCancel" (the cancel button).
#pragma once

#include <X11/Intrinsic.h>

#include "ui/dialogs/dialog_kit.h"

// Builds the dialog on the first call, fills the controls from the chart
// (writing them without notifying their callbacks), sets their sensitivity
// and shows the dialog.
void dialogOpen(const DialogSpec *spec, ChartState *chart);

// OK (the button, or a double click where the DialogSpec says so) reads the
// controls into the value record and asks spec->ok. A refusal shows its
// message resource (formatted with the argument) in a warning box,
// uiHooks.openMessageBox type 3, and the dialog stays open; otherwise the
// dialog is hidden, spec->accepted makes its record changes and each command
// text runs through stkExecuteCall in order.

// A refusal's message resource formatted with its argument, in a warning
// box on parent (the same box for dialogs built without the kit).
void dialogShowRefusal(Widget parent, const DialogResult *result);

// Cancel: hides the dialog, nothing else.
void dialogCancel(const DialogSpec *spec);

// The dialog's form, its "...RowColumn", "...Buttons", "ButtonOK",
// "ButtonCancel" or a control of the table, by widget name; null before the
// first opening or for an unknown name.
Widget dialogWidget(const DialogSpec *spec, const char *name);

// 1 while the dialog is shown.
int dialogIsShown(const DialogSpec *spec);

// What a dialog does beyond the kit's own OK; set before its first opening.
struct DialogHandlers {
    // A push or arrow button of the table was pressed (control: its row). The
    // value record has been read from the controls; when the dialog is still
    // shown afterwards the record is written back and the sensitivity redone.
    void (*press)(ChartState *chart, void *values, int control);
    // Replaces the kit's OK: the record has been read from the controls; the
    // handler ends with dialogFinishOk (or shows its own refusal).
    void (*ok)(ChartState *chart, void *values);
};
void dialogSetHandlers(const DialogSpec *spec, const DialogHandlers *handlers);

// The end of every OK: a refusal shows its message in a warning box and
// leaves the dialog open (0); otherwise the dialog is hidden and each text
// runs through stkExecuteCall in order (1).
int dialogFinishOk(const DialogSpec *spec, const DialogResult *result);

// A warning box on the dialog: message resource formatted with argument.
void dialogShowMessage(const DialogSpec *spec, const char *messageResource, const char *argument);

// Writes the value record to the controls again (no callbacks) and redoes
// the sensitivity; the record itself, null before the first opening.
void dialogRefresh(const DialogSpec *spec);
void *dialogValues(const DialogSpec *spec);


// The one way a dialog record forgets what it built: when w is destroyed
// (with the top-level shell or on its own), forget(record) runs, while the
// display is still open, so it may free pixmaps and GCs before it clears the
// record's widgets for the next opening to build anew.
void dialogForgetOnDestroy(Widget w, void (*forget)(void *record), void *record);
// The same for a record that is one widget: *slot is cleared when it goes.
void dialogClearOnDestroy(Widget *slot);
