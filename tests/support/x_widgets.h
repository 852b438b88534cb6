// What X tests of dialogs do as a user would and read back: press a button,
// read a text field, a toggle or a list's selection; and the application
// shell an in-process dialog test builds its dialogs on.
#pragma once

#include <string>

#include <X11/Intrinsic.h>

class XServer;

// Opens the server with the fallback resources and makes appData's top-level
// shell (its defaults set first); false when the display cannot be opened.
bool xOpenTopLevel(const XServer &server);

void xPress(Widget button); // the activate callbacks, as a click calls them
std::string xFieldText(Widget textField);
unsigned char xToggleState(Widget toggle);   // XmSET, XmUNSET or XmINDETERMINATE
int xSelectedPosition(Widget list);          // 1-based; 0 when none
