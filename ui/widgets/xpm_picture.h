// A button picture from built-in XPM data.
#pragma once

#include <X11/Intrinsic.h>

// The pixmap of data on the top-level window, its "None" colour drawn in
// background; in colormap when one is given, else in the private colormap
// when one is installed. 0 when it cannot be made.
Pixmap xpmPicture(const char *const *data, Pixel background, Colormap colormap = 0);
