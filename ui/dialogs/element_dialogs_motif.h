// The Comet and Minor Planet dialogs and their shared search box, in Motif.
// What they show and send is decided in ui/dialogs/element_dialogs.h; here are
// the widgets: a list of every line of the element file (extended
// selection), the display toggles, OK, Cancel, Clear and Search.
#pragma once

#include <X11/Intrinsic.h>

#include "ui/dialogs/element_dialogs.h"

struct ChartState;

// openCometDialog and openMPlanetDialog are declared in
// ui/dialogs/dialog_openers.h.

// The search box ("CometSearchDialog", one for both lists), opened for the
// list widget `list` of `entries`; `parent` is the asking dialog, which
// becomes the box's parent on its first opening only.
void openElementSearchDialog(Widget parent, Widget list, ElementList *entries);

// A widget of a built dialog by name ("CometDialog", "CometList",
// "ToggleShow", "ButtonOK", ..., "CometSearchDialog" for the search box);
// null before the dialog's first opening or for an unknown name.
Widget elementDialogWidget(ElementDialogKind kind, const char *name);
