// The dialogs the INPUT command opens (uiHooks.openInputDialog).
#pragma once

struct ChartState;

// Opens the dialog of kind (kInputDialog*): 1 when opened, 0 for a kind
// without a dialog.
int openInputDialog(ChartState *chart, int dialog);
