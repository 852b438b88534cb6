// The palette on the X server: 65 colours and nine sky cells, as writable
// cells on a dynamic visual (optionally in a private colormap, option -i),
// else as shared colours. Rows, names and defaults: render/palette.h.
#pragma once

#include <X11/Xlib.h>

#include "render/palette.h"

// 1 when the screen's root depth is not 1 and its root visual is GrayScale,
// PseudoColor or DirectColor (writable colour cells).
int isDynamicVisual();

// A private copy of screen's default colormap (option -install), holding
// the cells this client had taken there; the default colormap lets them go.
Colormap copyDefaultColormap(Display *display, int screen);

// Fetches the 65 colour resources of the top-level widget and allocates the
// palette into appData->pixels; 1 on success, 0 when a dynamic visual has no
// 74 free cells. scheme and brightness are always 0 and 1.
int allocPalette(int scheme, int brightness);

// The allocation itself, from colour strings (null or junk: the row's
// built-in colour). On a dynamic visual a private colormap is made when
// appData->installColormap is set; topLevelWindow (0 = none) then gets it.
// Records the colormap in appData and registers the sky-cell store, which the
// palette drops again when that display closes.
int allocPaletteFrom(Display *display, int screen, const char *const colours[kPaletteColourCount],
                     Window topLevelWindow);

// The pixel of 0xRRGGBB on a TrueColor visual from its masks alone, the one
// the server would allocate; 1 when the visual allows that (components as
// wide as its bits per component, as at depth 24), else 0.
int trueColourPixel(const Visual *visual, uint32_t rgb, unsigned long *pixel);
