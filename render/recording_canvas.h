// A canvas that keeps every call instead of drawing, for tests of order and
// geometry without a display. Font metrics are a fixed monospaced model.
#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

enum CanvasOp {
    OpSetForeground,
    OpSetLineAttributes,
    OpSetDashes,
    OpDrawPoint,
    OpDrawPoints,
    OpDrawLine,
    OpDrawLines,
    OpDrawRectangle,
    OpFillRectangle,
    OpFillPolygon,
    OpDrawArc,
    OpFillArc,
    OpDrawString,
    OpDrawSymbolString,
    OpDrawBitmap, // a: x, y, width, height; points: each set pixel
    OpNote, // not a drawing call: a mark a test leaves between calls
};

// One recorded call. a[] holds the integer arguments in the order of the
// canvas method (for lines x1, y1, x2, y2; for arcs x, y, w, h, a1, a2;
// for strings fontSet, x, y); points the point arrays and the dash list
// (as x); text the string or note. pixel is the foreground at the call.
struct CanvasCall {
    CanvasOp op;
    uint32_t pixel;
    int a[6];
    std::vector<CanvasPoint> points;
    std::string text;
};

struct RecordingCanvas : Canvas {
    std::vector<CanvasCall> calls;
    uint32_t foreground = 0;
    CanvasLineAttributes line{0, LineStyleSolid, CapStyleButt, JoinStyleMiter}; // as last set
    // Metrics of every font set: advance per byte, ascent, descent (pixels).
    int charWidth = 6, ascent = 10, descent = 3;

    void setForeground(uint32_t pixel) override;
    void setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap,
                           CanvasJoinStyle join) override;
    CanvasLineAttributes lineAttributes() override { return line; }
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
    void drawBitmap(int x, int y, const uint16_t *rows, int width, int height) override;
    CanvasTextExtent textExtent(int fontSet, const char *text, int len) override;
    CanvasTextExtent fontSetMaxExtent(int fontSet) override;

    void note(const std::string &text);
    void clear() { calls.clear(); }
    // Calls of one kind, in order.
    std::vector<CanvasCall> callsOf(CanvasOp op) const;
};
