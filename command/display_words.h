// Switching display bits by display keyword or object name.
#pragma once

struct ChartState;

// op kFlagShow 1, kFlagHide 0, kFlagToggle 2 (model/object_names.h). A
// display keyword switches its group's bits, with the group's own steps and
// tool-bar refreshes; otherwise an object name (parseObjectName) switches the
// object's display byte. word is upper-cased in place. Returns 1, or 0 after
// stkErrorIllegalParam with the word when it is neither.
int applyDisplayWord(ChartState *chart, char *word, int op);
