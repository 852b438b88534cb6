// The toolkit side of in-process dialog tests: a top-level shell on a test's
// X server with the fallback resources, and the acts of a user on widgets.
#pragma once

#include <string>

#include <X11/Intrinsic.h>

class XServer;

// Starts the toolkit on server with the fallback resource table, points
// appData at the program's record (its defaults set) and stores the new
// top-level shell of width x height in appData->topLevel, not yet realized.
// Returns it, or null when the display cannot be opened.
Widget xtTestTopLevel(const XServer &server, int width, int height);

// A push button's activation, as a click gives it.
void xtPress(Widget button);

// The text of a text field.
std::string xtFieldText(Widget field);
