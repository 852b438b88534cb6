// The about box and the licence text (openAboutDialog, openCopyrightDialog:
// ui/dialogs/dialog_openers.h).
#pragma once

#include <X11/Intrinsic.h>

// The built-in licence text.
extern const char kCopyrightText[];

// "AboutDialog" or "CopyrightDialog" (tests); null before it is built.
Widget aboutDialogWidget(const char *name);
