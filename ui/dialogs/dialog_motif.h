// The Motif half of the dialog kit: one builder for every DialogSpec.
//
// A dialog is a form dialog on the top-level widget, built on its first
// opening and kept for the run. Its controls stand in a row-column named
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

// OK: reads the controls into the value record and asks spec->ok. A refusal
// shows its message resource (formatted with the argument) in a warning box,
// uiHooks.openMessageBox type 3, and the dialog stays open; otherwise the
// dialog is hidden, spec->accepted makes its record changes and each command
// text runs through stkExecuteCall in order.
void dialogOk(const DialogSpec *spec);

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
