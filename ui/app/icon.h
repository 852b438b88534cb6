// The window manager's icon of the main window: a built-in bitmap in a size
// the window manager takes.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

struct ChartState;

// Icon-size entries with a bound above this are not believed.
constexpr int kIconSizeBoundMax = 512;

// 1 when one of the window manager's icon-size entries (all four bounds at
// most kIconSizeBoundMax) admits width x height: each lies on its grid from
// the minimum to the maximum in steps of the increment; an increment of 0
// admits only the minimum.
int iconSizeFits(const XIconSize *sizes, int count, int width, int height);

// Sets the built-in bitmap of width x height (bits in XBM order) as the
// top-level's icon when it fits the sizes. Returns 1 when it was set.
int setIconPixmap(ChartState *chart, int width, int height, const unsigned char *bits,
                  const XIconSize *sizes, int count);

// Asks the server for the window manager's icon sizes and sets the 48 by 48
// icon, else the 32 by 32 one; without an answer no icon is set.
void installIcon(ChartState *chart);

// The built-in icon bitmap of size x size (48 or 32), in XBM order.
const unsigned char *iconBitmap(int size);
