#include "render/x/palette_x.h"

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>
#include <X11/Xcms.h>
#include <X11/Xlibint.h>

#include "model/app_data.h"

namespace {

Display *paletteDisplay = nullptr;
Colormap paletteColormap = 0;
bool writableCells = false;
const Visual *trueColourVisual = nullptr; // set when pixels come from the visual's masks
// What each sky cell last received: a frame stores the same colours again
// and again, and each store costs a request, or a round trip when shared.
uint32_t storedRgb[kPaletteSlots];
bool cellStored[kPaletteSlots];

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

// The 8-bit components colourOf would give back these 16-bit ones from:
// the pixel then is the one the server gives for the 16-bit colour, whose
// low byte the server drops at 8 bits a component.
uint32_t rgbOf(const XColor &c) {
    return static_cast<uint32_t>(c.red >> 8) << 16 | static_cast<uint32_t>(c.green >> 8) << 8 |
           static_cast<uint32_t>(c.blue >> 8);
}

XColor startGrey() {
    XColor c{};
    c.red = c.green = c.blue = 0xC000;
    c.flags = DoRed | DoGreen | DoBlue;
    return c;
}

// A component mask's shift and width in bits.
void maskBits(unsigned long mask, int *shift, int *bits) {
    *shift = 0;
    *bits = 0;
    if (mask == 0) return;
    while (((mask >> *shift) & 1) == 0) ++*shift;
    while (*bits < 16 && ((mask >> (*shift + *bits)) & 1) != 0) ++*bits;
}

} // namespace

int trueColourPixel(const Visual *visual, uint32_t rgb, unsigned long *pixel) {
    if (visual == nullptr || visual->c_class != TrueColor) return 0;
    const XColor c = colourOf(rgb);
    const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
    const unsigned short values[3] = {c.red, c.green, c.blue};
    unsigned long out = 0;
    for (int k = 0; k < 3; k++) {
        int shift = 0, bits = 0;
        maskBits(masks[k], &shift, &bits);
        // A component as wide as the visual's bits per component keeps the
        // top bits of the value; a narrower one is rounded by the server in
        // its own way, which only the server answers.
        if (bits == 0 || bits != visual->bits_per_rgb) return 0;
        out |= static_cast<unsigned long>(values[k] >> (16 - bits)) << shift;
    }
    *pixel = out;
    return 1;
}

namespace {

// The sky cells follow the sky level and the Sun's colour: rewritten in place
// when writable, else allocated anew with the new pixel taking the slot (on
// a TrueColor visual whose masks give the pixel, without a request). A cell
// already holding the colour is left alone.
void storeCell(int32_t cell, uint32_t rgb) {
    if (paletteDisplay == nullptr || cell < 0 || cell >= kPaletteSlots) return;
    if (cellStored[cell] && storedRgb[cell] == rgb) return;
    cellStored[cell] = true;
    storedRgb[cell] = rgb;
    XColor c = colourOf(rgb);
    unsigned long pixel = 0;
    if (trueColourPixel(trueColourVisual, rgb, &pixel)) {
        appData->pixels[cell] = static_cast<Pixel>(pixel);
    } else if (writableCells) {
        c.pixel = appData->pixels[cell];
        XStoreColor(paletteDisplay, paletteColormap, &c);
    } else if (XAllocColor(paletteDisplay, paletteColormap, &c)) {
        appData->pixels[cell] = static_cast<Pixel>(c.pixel);
    }
}

// The palette forgets a display that closes: a later palette on another
// display (the next toolkit connection of a run, or of a test) starts clean
// and no sky-cell store reaches the closed one.
int forgetClosedDisplay(Display *display, XExtCodes *) {
    if (display != paletteDisplay) return 0;
    paletteDisplay = nullptr;
    paletteColormap = 0;
    writableCells = false;
    trueColourVisual = nullptr;
    for (bool &stored : cellStored) stored = false;
    setPaletteStoreColour(nullptr);
    return 0;
}

} // namespace

Colormap copyDefaultColormap(Display *display, int screen) {
    // The copy sets up the colour-management data of the screen while it
    // holds the display lock, and a threaded libX11 then waits for that lock
    // forever; setting it up first avoids the hang.
    XcmsDefaultCCC(display, screen);
    return XCopyColormapAndFree(display, DefaultColormap(display, screen));
}

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
        if (appData->installColormap) cmap = copyDefaultColormap(display, screen);
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
        // On a TrueColor visual whose masks give the pixel no colour is
        // asked of the server: 74 round trips at start-up otherwise.
        const Visual *visual = DefaultVisual(display, screen);
        const Pixel black = static_cast<Pixel>(BlackPixel(display, screen));
        for (int i = 0; i < kPaletteCellCount; i++) {
            XColor c = i < kPaletteColourCount ? rowColour(display, cmap, i, colours[i]) : startGrey();
            unsigned long pixel = 0;
            if (trueColourPixel(visual, rgbOf(c), &pixel))
                appData->pixels[i] = static_cast<Pixel>(pixel);
            else
                appData->pixels[i] = XAllocColor(display, cmap, &c) ? static_cast<Pixel>(c.pixel) : black;
        }
    }
    appData->colormap = cmap;
    if (display != paletteDisplay) {
        XExtCodes *codes = XAddExtension(display);
        if (codes) XESetCloseDisplay(display, codes->extension, forgetClosedDisplay);
    }
    paletteDisplay = display;
    paletteColormap = cmap;
    writableCells = dynamic;
    const Visual *visual = DefaultVisual(display, screen);
    trueColourVisual = !dynamic && visual->c_class == TrueColor ? visual : nullptr;
    for (bool &stored : cellStored) stored = false;
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
