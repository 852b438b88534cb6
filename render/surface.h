// The canvas's home: the off-screen pixmap of the chart and the window it is
// copied to. The Xlib side is render/x/x_surface.h; tests use a fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "render/canvas.h"

// The chart's pixels as an XPM image holds them: a colour table and, row by
// row, one index into it per pixel.
struct ChartImageColour {
    std::string chars;   // the characters that stand for the colour
    std::string keys[5]; // its value for the keys "s", "m", "g4", "g", "c"; empty: none
};
struct ChartImage {
    int width = 0, height = 0;
    int charsPerPixel = 0;
    std::vector<ChartImageColour> colours;
    std::vector<uint32_t> pixels; // width x height indices into colours
};

struct ChartSurface {
    virtual ~ChartSurface() = default;
    // Size of the drawing area's window in pixels; false when there is none yet.
    // Asked for in every refresh and frame, so it must not wait on a server.
    virtual bool windowSize(int *width, int *height) = 0;
    // The window's new size, from its configure event.
    virtual void windowResized(int, int) {}
    // Replaces the pixmap by a new one of width x height, cleared, so no
    // undefined pixels are ever copied or saved. Callers pass both >= 1.
    virtual void recreate(int width, int height) = 0;
    // The canvas that draws into the current pixmap; null before recreate.
    virtual Canvas *canvas() = 0;
    // Copies the pixmap's top-left width x height to the window at (0, 0).
    virtual void copyToWindow(int width, int height) = 0;

    // BLINK marks the window itself, never the pixmap, and puts the window
    // back from the pixmap afterwards. Surfaces without a window keep these
    // defaults: nothing to draw on, nothing to copy.
    // A canvas drawing on the window through GCs made from the chart GC;
    // null when none.
    virtual Canvas *windowCanvas() { return nullptr; }
    // Sends what was drawn on the window to the server at once.
    virtual void flushWindow() {}
    // Copies the pixmap's rectangle to the same place on the window.
    virtual void copyAreaToWindow(int, int, int, int) {}
    // The screen's white and black pixels.
    virtual void screenPixels(uint32_t *white, uint32_t *black) { *white = *black = 0; }
    // The pixmap's top-left width x height as an XPM image into *out.
    // Returns 1, or 0 without a pixmap, when the size is out of the pixmap
    // or the image cannot be made.
    virtual int image(int, int, ChartImage *) { return 0; }
};

// The surface the chart refresh works on; ui/ registers it once the drawing
// area is realised. Without one the refresh does nothing.
void chartSetSurface(ChartSurface *surface);
ChartSurface *chartSurface();
