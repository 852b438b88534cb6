// Message boxes and the modal question.
#pragma once

#include <X11/Intrinsic.h>

// A new message box "MessageBox" on parent showing text: type 1 message,
// 2 information, 3 warning, anything else error. Returns at once; the box
// is destroyed when it goes away, by its OK button or the window manager.
void openMessageBox(Widget parent, const char *text, int type);

// openMessageBox, unless a box this routine opened with the same text and
// type is still shown: a command run again and again (INIT without a default
// site, over TCP) leaves one box, not one a run.
void openMessageBoxOnce(Widget parent, const char *text, int type);

// Shows text in the question dialog "QuestionDialog" (made on first use on
// parent, kept after) and waits in a nested event loop for the answer:
// 1 for OK, 0 for Cancel or when the dialog is closed otherwise.
int askQuestion(Widget parent, const char *text);
