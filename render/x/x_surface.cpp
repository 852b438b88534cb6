#include "render/x/x_surface.h"

XSurface::XSurface(Display *d, Window w, GC chartGc, int pixmapDepth)
    : display(d), window(w), gc(chartGc), depth(pixmapDepth), drawer(d, 0, chartGc) {}

XSurface::~XSurface() {
    if (pixmap != 0) XFreePixmap(display, pixmap);
    if (pixmapField != nullptr) *pixmapField = 0;
}

bool XSurface::windowSize(int *width, int *height) {
    if (window == 0) return false;
    Window root;
    int x, y;
    unsigned w, h, border, d;
    if (!XGetGeometry(display, window, &root, &x, &y, &w, &h, &border, &d)) return false;
    *width = static_cast<int>(w);
    *height = static_cast<int>(h);
    return true;
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
