// The X actions a translation table can name: OpenCommandDialog,
// ScrollWindow and StkDoit (which runs its one argument as command text).
#pragma once

#include <X11/Intrinsic.h>

void appAddActions(XtAppContext app);
