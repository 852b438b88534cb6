// What X tests of dialogs do as a user would and read back: press a button,
// read a text field, a toggle or a list's selection.
#pragma once

#include <string>

#include <X11/Intrinsic.h>

void xPress(Widget button); // the activate callbacks, as a click calls them
// A menu item clicked: a toggle gadget its value-changed callbacks with the
// state flipped, anything else xPress.
void xActivate(Widget item);
std::string xFieldText(Widget textField);
unsigned char xToggleState(Widget toggle);   // XmSET, XmUNSET or XmINDETERMINATE
int xSelectedPosition(Widget list);          // 1-based; 0 when none
