// The canvas on an X drawable: every call goes to the chart GC.
#pragma once

#include <map>

#include <X11/Xlib.h>

#include "render/canvas.h"

struct XCanvas : Canvas {
    Display *display = nullptr;
    Drawable drawable = 0;
    GC gc = nullptr;
    // The application's font sets (kFontSetCount of them), read at each
    // call: they are created after the canvas. Null entries draw nothing.
    const XFontSet *fontSets = nullptr;
    const Font *symbolFont = nullptr; // core font of Greek letters, read at each call; 0 = none

    // Points a batched request carries at most: the server's maximum
    // request size less the request header; 0 until asked of the display.
    long pointsPerRequest = 0;

    XCanvas(Display *d, Drawable target, GC chartGc) : display(d), drawable(target), gc(chartGc) {}
    ~XCanvas() override;
    XCanvas(const XCanvas &) = delete;
    XCanvas &operator=(const XCanvas &) = delete;

    void setForeground(uint32_t pixel) override;
    void setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap,
                           CanvasJoinStyle join) override;
    CanvasLineAttributes lineAttributes() override;
    void setDashes(int offset, const uint8_t *dashes, int n) override;
    void drawPoint(int x, int y) override;
    void drawPoints(const CanvasPoint *pts, int n) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void drawLines(const CanvasPoint *pts, int n) override;
    void drawRectangle(int x, int y, int width, int height) override;
    void fillRectangle(int x, int y, int width, int height) override;
    void fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) override;
    void drawArc(int x, int y, int width, int height, int angle1, int angle2) override;
    void fillArc(int x, int y, int width, int height, int angle1, int angle2) override;
    void drawString(int fontSet, int x, int y, const char *text, int len) override;
    void drawSymbolString(int x, int y, const char *text, int len) override;
    // Stippled through a bitmap made on first use and freed with the canvas,
    // so the symbol is exactly its set bits in the foreground on every visual.
    void drawBitmap(int x, int y, const uint16_t *rows, int width, int height) override;
    CanvasTextExtent textExtent(int fontSet, const char *text, int len) override;
    CanvasTextExtent fontSetMaxExtent(int fontSet) override;

private:
    int requestPoints();
    std::map<const uint16_t *, Pixmap> bitmaps_;
};
