// The chart's off-screen pixmap on the drawing area's window.
#pragma once

#include <X11/Xlib.h>

#include "render/surface.h"
#include "render/x/x_canvas.h"

struct XSurface : ChartSurface {
    Display *display;
    Window window;
    GC gc;           // the chart GC: used for the copy; the canvases draw through copies of it
    int depth;       // depth of the new pixmaps (the screen's default depth)
    Pixmap pixmap = 0;
    int pixmapWidth = 0, pixmapHeight = 0;
    // When set, kept equal to the current pixmap (the chart's backPixmap field,
    // which the image saver reads).
    Pixmap *pixmapField = nullptr;
    // The private colormap the saved image's colours are looked up in (0: the
    // screen's default).
    Colormap colormap = 0;
    XCanvas drawer;
    XCanvas windowDrawer; // BLINK's marks go on the window
    int copies = 0; // window copies made so far (a test probe, also handy in a debugger)
    // The window's size: asked of the server once, then kept from the
    // configure events (windowResized); -1 until known.
    int windowWidth = -1, windowHeight = -1;

    XSurface(Display *d, Window w, GC chartGc, int pixmapDepth);
    ~XSurface() override;
    XSurface(const XSurface &) = delete;
    XSurface &operator=(const XSurface &) = delete;

    bool windowSize(int *width, int *height) override;
    void windowResized(int width, int height) override;
    void recreate(int width, int height) override;
    Canvas *canvas() override;
    void copyToWindow(int width, int height) override;
    Canvas *windowCanvas() override;
    void flushWindow() override;
    void copyAreaToWindow(int x, int y, int width, int height) override;
    void screenPixels(uint32_t *white, uint32_t *black) override;
    int image(int width, int height, ChartImage *out) override;
};
