#include "render/x/palette_x.h"

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>
#include <X11/Xcms.h>

#include "model/app_data.h"

namespace {

Display *paletteDisplay = nullptr;
Colormap paletteColormap = 0;
bool writableCells = false;

XColor colourOf(uint32_t rgb) {
    XColor c{};
    // 8-bit components to the 16-bit X range.
    c.red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) * 256);
    c.green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) * 256);
    c.blue = static_cast<unsigned short>((rgb & 0xFF) * 256);
    c.flags = DoRed | DoGreen | DoBlue;
    return c;
}

// A resource value as X parses it (names included), else the built-in colour.
XColor rowColour(Display *display, Colormap cmap, int row, const char *value) {
    XColor c{};
    if (value != nullptr && value[0] != '\0' && XParseColor(display, cmap, value, &c)) {
        c.flags = DoRed | DoGreen | DoBlue;
        return c;
    }
    return colourOf(paletteRows[row].builtinRgb);
}

XColor startGrey() {
    XColor c{};
    c.red = c.green = c.blue = 0xC000;
    c.flags = DoRed | DoGreen | DoBlue;
    return c;
}

// The sky cells change every frame: rewritten in place when writable, else
// allocated anew with the new pixel taking the slot.
void storeCell(int32_t cell, uint32_t rgb) {
    if (paletteDisplay == nullptr || cell < 0 || cell >= kPaletteSlots) return;
    XColor c = colourOf(rgb);
    if (writableCells) {
        c.pixel = appData->pixels[cell];
        XStoreColor(paletteDisplay, paletteColormap, &c);
    } else if (XAllocColor(paletteDisplay, paletteColormap, &c)) {
        appData->pixels[cell] = static_cast<Pixel>(c.pixel);
    }
}

} // namespace

int isDynamicVisual() {
    Display *display = appData->display;
    const int screen = appData->screen;
    if (DefaultDepth(display, screen) == 1) return 0;
    const int cls = DefaultVisual(display, screen)->c_class;
    return cls == GrayScale || cls == PseudoColor || cls == DirectColor;
}

int allocPaletteFrom(Display *display, int screen, const char *const colours[kPaletteColourCount],
                     Window topLevelWindow) {
    const int depth = DefaultDepth(display, screen);
    const int cls = DefaultVisual(display, screen)->c_class;
    const bool dynamic = depth != 1 && (cls == GrayScale || cls == PseudoColor || cls == DirectColor);
    Colormap cmap = DefaultColormap(display, screen);
    setScreenBlackPixel(static_cast<uint32_t>(BlackPixel(display, screen)));

    if (dynamic) {
        if (appData->installColormap) {
            // The copy sets up the colour-management data of the screen while
            // it holds the display lock, and a threaded libX11 then waits for
            // that lock forever; setting it up first avoids the hang.
            XcmsDefaultCCC(display, screen);
            cmap = XCopyColormapAndFree(display, cmap);
        }
        unsigned long cells[kPaletteCellCount];
        if (!XAllocColorCells(display, cmap, False, nullptr, 0, cells, kPaletteCellCount)) {
            if (cmap != DefaultColormap(display, screen)) XFreeColormap(display, cmap);
            return 0;
        }
        for (int i = 0; i < kPaletteCellCount; i++) appData->pixels[i] = static_cast<Pixel>(cells[i]);
        for (int i = 0; i < kPaletteColourCount; i++) {
            XColor c = rowColour(display, cmap, i, colours[i]);
            c.pixel = cells[i];
            XStoreColor(display, cmap, &c);
        }
        for (int i = kPaletteColourCount; i < kPaletteCellCount; i++) {
            XColor c = startGrey();
            c.pixel = cells[i];
            XStoreColor(display, cmap, &c);
        }
        if (appData->installColormap && topLevelWindow != 0) XSetWindowColormap(display, topLevelWindow, cmap);
    } else {
        const Pixel black = static_cast<Pixel>(BlackPixel(display, screen));
        for (int i = 0; i < kPaletteCellCount; i++) {
            XColor c = i < kPaletteColourCount ? rowColour(display, cmap, i, colours[i]) : startGrey();
            appData->pixels[i] = XAllocColor(display, cmap, &c) ? static_cast<Pixel>(c.pixel) : black;
        }
    }
    appData->colormap = cmap;
    paletteDisplay = display;
    paletteColormap = cmap;
    writableCells = dynamic;
    setPaletteStoreColour(storeCell);
    return 1;
}

int allocPalette(int, int) {
    // One application resource per row, class "Color", with the row's default.
    XtResource resources[kPaletteColourCount];
    String values[kPaletteColourCount] = {};
    for (int i = 0; i < kPaletteColourCount; i++) {
        resources[i] = XtResource{const_cast<char *>(paletteRows[i].resource), const_cast<char *>("Color"),
                                  const_cast<char *>(XtRString), sizeof(String),
                                  static_cast<Cardinal>(i * sizeof(String)), const_cast<char *>(XtRString),
                                  const_cast<char *>(paletteRows[i].tableDefault)};
    }
    XtGetApplicationResources(appData->topLevel, values, resources, kPaletteColourCount, nullptr, 0);
    const char *colours[kPaletteColourCount];
    for (int i = 0; i < kPaletteColourCount; i++) colours[i] = values[i];
    // The colours belong to the top-level widget's screen.
    Display *display = XtDisplay(appData->topLevel);
    const int screen = XScreenNumberOfScreen(XtScreen(appData->topLevel));
    const Window window = XtIsRealized(appData->topLevel) ? XtWindow(appData->topLevel) : 0;
    if (!allocPaletteFrom(display, screen, colours, window)) return 0;
    if (appData->installColormap && appData->colormap != DefaultColormap(display, screen))
        XtVaSetValues(appData->topLevel, XtNcolormap, appData->colormap, nullptr);
    return 1;
}
