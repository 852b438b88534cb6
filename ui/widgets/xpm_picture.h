// A button picture from built-in XPM data.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/xpm.h>

// The pixmap of data on the top-level window, its "None" colour drawn in
// background; in colormap when one is given, else in the private colormap
// when one is installed. 0 when it cannot be made.
Pixmap xpmPicture(const char *const *data, Pixel background, Colormap colormap = 0);

// A button picture Motif knows the size of: the image is made from data
// here (attributes as for XpmCreateImageFromData), put in Motif's image cache
// under name and made a pixmap of the top-level window's depth by Motif, so
// a label showing it asks the server for no geometry. Free it with
// XmDestroyPixmap. withShape asks the library for the transparent pixels'
// shape too (and drops it), as a picture with "None" colours of its own does.
// 0 when it cannot be made.
Pixmap xpmLabelPixmap(const char *const *data, XpmAttributes *attributes, const char *name, Pixel background,
                      bool withShape);

// xpmPicture in the default colormap through xpmLabelPixmap under name.
Pixmap xpmButtonPicture(const char *const *data, Pixel background, const char *name);

// Lets the XPM library take the pixels of "#rrggbb" colours from a TrueColor
// visual's masks instead of asking the server for each (a round trip a
// colour); nothing when attributes name a colormap or the visual does not
// allow it. Every picture of the program goes through it.
void xpmColoursWithoutServer(Display *display, XpmAttributes *attributes);
