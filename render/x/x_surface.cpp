#include "render/x/x_surface.h"

#include <X11/Xutil.h>
#include <X11/xpm.h>

XSurface::XSurface(Display *d, Window w, GC chartGc, int pixmapDepth)
    : display(d), window(w), gc(chartGc), depth(pixmapDepth), drawer(d, 0, chartGc), windowDrawer(d, w, chartGc) {}

XSurface::~XSurface() {
    if (pixmap != 0) XFreePixmap(display, pixmap);
    if (pixmapField != nullptr) *pixmapField = 0;
}

bool XSurface::windowSize(int *width, int *height) {
    if (window == 0) return false;
    if (windowWidth < 0) {
        Window root;
        int x, y;
        unsigned w, h, border, d;
        if (!XGetGeometry(display, window, &root, &x, &y, &w, &h, &border, &d)) return false;
        windowWidth = static_cast<int>(w);
        windowHeight = static_cast<int>(h);
    }
    *width = windowWidth;
    *height = windowHeight;
    return true;
}

void XSurface::windowResized(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

void XSurface::recreate(int width, int height) {
    // A zero-sized pixmap is a protocol error that ends the client.
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    if (pixmap != 0) XFreePixmap(display, pixmap);
    pixmap = XCreatePixmap(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height),
                           static_cast<unsigned>(depth));
    pixmapWidth = width;
    pixmapHeight = height;
    // The contents of a new pixmap are undefined; clear it with a GC of its own
    // so the chart GC keeps its state.
    XGCValues values;
    values.foreground = BlackPixel(display, DefaultScreen(display));
    GC clearGc = XCreateGC(display, pixmap, GCForeground, &values);
    XFillRectangle(display, pixmap, clearGc, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XFreeGC(display, clearGc);
    drawer.drawable = pixmap;
    drawer.setDrawableSize(width, height);
    if (pixmapField != nullptr) *pixmapField = pixmap;
}

Canvas *XSurface::canvas() { return pixmap != 0 ? &drawer : nullptr; }

void XSurface::copyToWindow(int width, int height) {
    if (pixmap == 0 || window == 0 || width < 1 || height < 1) return;
    if (width > pixmapWidth) width = pixmapWidth;
    if (height > pixmapHeight) height = pixmapHeight;
    XCopyArea(display, pixmap, window, gc, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0);
    copies++;
}

Canvas *XSurface::windowCanvas() { return window != 0 ? &windowDrawer : nullptr; }

void XSurface::flushWindow() { XFlush(display); }

void XSurface::copyAreaToWindow(int x, int y, int width, int height) {
    // Only the part inside the pixmap: outside it there is nothing to put back.
    if (x < 0) width += x, x = 0;
    if (y < 0) height += y, y = 0;
    if (x + width > pixmapWidth) width = pixmapWidth - x;
    if (y + height > pixmapHeight) height = pixmapHeight - y;
    if (pixmap == 0 || window == 0 || width < 1 || height < 1) return;
    XCopyArea(display, pixmap, window, gc, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), x, y);
    XFlush(display);
}

void XSurface::screenPixels(uint32_t *white, uint32_t *black) {
    const int screen = DefaultScreen(display);
    *white = static_cast<uint32_t>(WhitePixel(display, screen));
    *black = static_cast<uint32_t>(BlackPixel(display, screen));
}

int XSurface::image(int width, int height, ChartImage *out) {
    // A request outside the pixmap is a BadMatch that ends the client.
    if (pixmap == 0 || width < 1 || height < 1 || width > pixmapWidth || height > pixmapHeight) return 0;
    XImage *pixels = XGetImage(display, pixmap, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                               AllPlanes, ZPixmap);
    if (pixels == nullptr) return 0;
    XpmAttributes attributes;
    attributes.valuemask = 0;
    if (colormap != 0) {
        attributes.colormap = colormap;
        attributes.valuemask |= XpmColormap;
    }
    // libXpm makes the colour table and the pixel indices; the text is
    // written by the program itself, so that every write is checked (libXpm's
    // file writer reports success after short writes).
    XpmImage xpm;
    const int status = XpmCreateXpmImageFromImage(display, pixels, nullptr, &xpm, &attributes);
    XDestroyImage(pixels);
    if (status != XpmSuccess) return 0;
    out->width = static_cast<int>(xpm.width);
    out->height = static_cast<int>(xpm.height);
    out->charsPerPixel = static_cast<int>(xpm.cpp);
    out->colours.assign(xpm.ncolors, ChartImageColour{});
    for (unsigned i = 0; i < xpm.ncolors; i++) {
        const XpmColor &c = xpm.colorTable[i];
        ChartImageColour &colour = out->colours[i];
        colour.chars = c.string != nullptr ? c.string : "";
        const char *const keys[5] = {c.symbolic, c.m_color, c.g4_color, c.g_color, c.c_color};
        for (int k = 0; k < 5; k++) colour.keys[k] = keys[k] != nullptr ? keys[k] : "";
    }
    out->pixels.assign(xpm.data, xpm.data + static_cast<size_t>(xpm.width) * xpm.height);
    XpmFreeXpmImage(&xpm);
    return 1;
}
