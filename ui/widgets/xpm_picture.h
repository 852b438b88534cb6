// A button picture from built-in XPM data.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/xpm.h>

// The pixmap of data on the top-level window, its "None" colour drawn in
// background; in colormap when one is given, else in the private colormap
// when one is installed. 0 when it cannot be made.
Pixmap xpmPicture(const char *const *data, Pixel background, Colormap colormap = 0);

// Lets the XPM library take the pixels of "#rrggbb" colours from a TrueColor
// visual's masks instead of asking the server for each (a round trip a
// colour); nothing when attributes name a colormap or the visual does not
// allow it. Every picture of the program goes through it.
void xpmColoursWithoutServer(Display *display, XpmAttributes *attributes);
