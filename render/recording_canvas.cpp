#include "render/recording_canvas.h"

#include "render/canvas_pieces.h"

namespace {

CanvasCall makeCall(CanvasOp op, uint32_t pixel, int a0 = 0, int a1 = 0, int a2 = 0, int a3 = 0,
                    int a4 = 0, int a5 = 0) {
    CanvasCall c;
    c.op = op;
    c.pixel = pixel;
    c.a[0] = a0;
    c.a[1] = a1;
    c.a[2] = a2;
    c.a[3] = a3;
    c.a[4] = a4;
    c.a[5] = a5;
    return c;
}

std::vector<CanvasPoint> copyPoints(const CanvasPoint *pts, int n) {
    if (pts == nullptr || n <= 0) return {};
    return std::vector<CanvasPoint>(pts, pts + n);
}

} // namespace

void RecordingCanvas::setForeground(uint32_t pixel) {
    foreground = pixel;
    calls.push_back(makeCall(OpSetForeground, pixel, static_cast<int>(pixel)));
}

void RecordingCanvas::setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap,
                                        CanvasJoinStyle join) {
    line = CanvasLineAttributes{width, style, cap, join};
    calls.push_back(makeCall(OpSetLineAttributes, foreground, width, style, cap, join));
}

void RecordingCanvas::setDashes(int offset, const uint8_t *dashes, int n) {
    CanvasCall c = makeCall(OpSetDashes, foreground, offset, n);
    for (int i = 0; dashes != nullptr && i < n; i++)
        c.points.push_back(CanvasPoint{static_cast<int16_t>(dashes[i]), 0});
    calls.push_back(c);
}

void RecordingCanvas::drawPoint(int x, int y) {
    calls.push_back(makeCall(OpDrawPoint, foreground, x, y));
}

void RecordingCanvas::drawPoints(const CanvasPoint *pts, int n) {
    CanvasCall c = makeCall(OpDrawPoints, foreground, n);
    c.points = copyPoints(pts, n);
    calls.push_back(c);
}

void RecordingCanvas::drawLine(int x1, int y1, int x2, int y2) {
    calls.push_back(makeCall(OpDrawLine, foreground, x1, y1, x2, y2));
}

void RecordingCanvas::drawLines(const CanvasPoint *pts, int n) {
    CanvasCall c = makeCall(OpDrawLines, foreground, n);
    c.points = copyPoints(pts, n);
    calls.push_back(c);
}

void RecordingCanvas::drawRectangle(int x, int y, int width, int height) {
    calls.push_back(makeCall(OpDrawRectangle, foreground, x, y, width, height));
}

void RecordingCanvas::fillRectangle(int x, int y, int width, int height) {
    calls.push_back(makeCall(OpFillRectangle, foreground, x, y, width, height));
}

void RecordingCanvas::fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) {
    CanvasCall c = makeCall(OpFillPolygon, foreground, n, shape);
    c.points = copyPoints(pts, n);
    calls.push_back(c);
}

void RecordingCanvas::drawArc(int x, int y, int width, int height, int angle1, int angle2) {
    calls.push_back(makeCall(OpDrawArc, foreground, x, y, width, height, angle1, angle2));
}

void RecordingCanvas::fillArc(int x, int y, int width, int height, int angle1, int angle2) {
    calls.push_back(makeCall(OpFillArc, foreground, x, y, width, height, angle1, angle2));
}

void RecordingCanvas::drawString(int fontSet, int x, int y, const char *text, int len) {
    CanvasCall c = makeCall(OpDrawString, foreground, fontSet, x, y);
    if (text != nullptr && len > 0) c.text.assign(text, static_cast<size_t>(len));
    calls.push_back(c);
}

void RecordingCanvas::drawSymbolString(int x, int y, const char *text, int len) {
    CanvasCall c = makeCall(OpDrawSymbolString, foreground, 0, x, y);
    if (text != nullptr && len > 0) c.text.assign(text, static_cast<size_t>(len));
    calls.push_back(c);
}

CanvasTextExtent RecordingCanvas::textExtent(int fontSet, const char *, int len) {
    if (fontSet < 0 || fontSet >= kFontSetCount || len <= 0) return CanvasTextExtent{0, 0, 0, 0};
    return CanvasTextExtent{0, static_cast<int16_t>(-ascent), static_cast<uint16_t>(len * charWidth),
                            static_cast<uint16_t>(ascent + descent)};
}

void RecordingCanvas::drawBitmap(int x, int y, const uint16_t *rows, int width, int height) {
    CanvasCall c{OpDrawBitmap, foreground, {x, y, width, height, 0, 0}, {}, {}};
    CanvasPoint pts[kBitmapMaxPoints];
    c.points.assign(pts, pts + bitmapPoints(x, y, rows, width, height, pts));
    calls.push_back(c);
}

CanvasTextExtent RecordingCanvas::fontSetMaxExtent(int fontSet) {
    if (fontSet < 0 || fontSet >= kFontSetCount) return CanvasTextExtent{0, 0, 0, 0};
    return CanvasTextExtent{0, static_cast<int16_t>(-ascent), static_cast<uint16_t>(charWidth),
                            static_cast<uint16_t>(ascent + descent)};
}

void RecordingCanvas::note(const std::string &text) {
    CanvasCall c = makeCall(OpNote, foreground);
    c.text = text;
    calls.push_back(c);
}

std::vector<CanvasCall> RecordingCanvas::callsOf(CanvasOp op) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall &c : calls)
        if (c.op == op) out.push_back(c);
    return out;
}
