// The dialogs the INPUT command opens (uiHooks.openInputDialog).
#pragma once

struct ChartState;

// Opens the dialog of kind (kInputDialog*): 1 when opened, 0 when that
// dialog is not built (INPUT then reports the word as not available).
int openInputDialog(ChartState *chart, int dialog);
