#include "render/x/x_canvas.h"

#include <climits>
#include <cstddef>
#include <cstring>

#include "render/canvas_pieces.h"

static_assert(sizeof(CanvasPoint) == sizeof(XPoint) && offsetof(CanvasPoint, y) == offsetof(XPoint, y),
              "CanvasPoint must have the layout of XPoint");
static_assert(sizeof(CanvasRect) == sizeof(XRectangle), "CanvasRect must have the layout of XRectangle");
static_assert(sizeof(CanvasArc) == sizeof(XArc), "CanvasArc must have the layout of XArc");
static_assert(LineStyleOnOffDash == LineOnOffDash && CapStyleButt == CapButt && JoinStyleRound == JoinRound &&
                  PolygonConvex == Convex,
              "canvas styles are numbered as in the X protocol");

namespace {

// The X protocol carries 16-bit coordinates; clamp instead of wrapping round.
short clampShort(int v) {
    if (v < -32768) return -32768;
    if (v > 32767) return 32767;
    return static_cast<short>(v);
}

unsigned short clampSize(int v) {
    if (v < 0) return 0;
    if (v > 65535) return 65535;
    return static_cast<unsigned short>(v);
}

} // namespace

void XCanvas::setForeground(uint32_t pixel) { XSetForeground(display, gc, pixel); }

void XCanvas::setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap, CanvasJoinStyle join) {
    XSetLineAttributes(display, gc, width < 0 ? 0u : static_cast<unsigned>(width), style, cap, join);
    if (keeping_ < 0) return;
    keptLineAttributes(width, style, cap, join);
}

// Xlib keeps the GC's values on the client side: no request is sent.
CanvasLineAttributes XCanvas::lineAttributes() {
    XGCValues v;
    if (!XGetGCValues(display, gc, GCLineWidth | GCLineStyle | GCCapStyle | GCJoinStyle, &v))
        return Canvas::lineAttributes();
    return {v.line_width, static_cast<CanvasLineStyle>(v.line_style), static_cast<CanvasCapStyle>(v.cap_style),
            static_cast<CanvasJoinStyle>(v.join_style)};
}

void XCanvas::setDashes(int offset, const uint8_t *dashes, int n) {
    if (dashes == nullptr || n <= 0) return;
    char list[16];
    int count = n < static_cast<int>(sizeof list) ? n : static_cast<int>(sizeof list);
    for (int i = 0; i < count; i++) list[i] = static_cast<char>(dashes[i] == 0 ? 1 : dashes[i]);
    XSetDashes(display, gc, offset, list, count);
}

void XCanvas::drawPoint(int x, int y) { XDrawPoint(display, drawable, gc, clampShort(x), clampShort(y)); }

// Xlib sends a batch in one request when the server takes big requests, and
// the server refuses one longer than its maximum with BadLength, which ends
// the client: a longer batch goes in pieces.
int XCanvas::requestPoints() {
    if (pointsPerRequest == 0) {
        long words = XExtendedMaxRequestSize(display);
        if (words <= 0) words = XMaxRequestSize(display);
        // Each point is one 4-byte word; the header of a polygon request,
        // the longest, is 4 words and the big-request length one more.
        constexpr long kHeaderWords = 8;
        pointsPerRequest = words - kHeaderWords;
        if (pointsPerRequest < 3) pointsPerRequest = 3;
        if (pointsPerRequest > INT_MAX) pointsPerRequest = INT_MAX;
    }
    return static_cast<int>(pointsPerRequest);
}

void XCanvas::drawPoints(const CanvasPoint *pts, int n) {
    if (pts == nullptr || n <= 0) return;
    if (n > requestPoints()) {
        drawPointsInPieces(this, pts, n, requestPoints());
        return;
    }
    XDrawPoints(display, drawable, gc, reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n,
                CoordModeOrigin);
}

void XCanvas::drawLine(int x1, int y1, int x2, int y2) {
    GC lineGc = gc;
    const Drawable target = lineTarget(&lineGc);
    XDrawLine(display, target, lineGc, clampShort(x1), clampShort(y1), clampShort(x2), clampShort(y2));
}

void XCanvas::drawLines(const CanvasPoint *pts, int n) {
    if (pts == nullptr || n < 2) return;
    if (n > requestPoints()) {
        drawLinesInPieces(this, pts, n, requestPoints());
        return;
    }
    GC lineGc = gc;
    const Drawable target = lineTarget(&lineGc);
    XDrawLines(display, target, lineGc, reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n,
               CoordModeOrigin);
}

void XCanvas::drawRectangle(int x, int y, int width, int height) {
    XDrawRectangle(display, drawable, gc, clampShort(x), clampShort(y), clampSize(width), clampSize(height));
}

void XCanvas::fillRectangle(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    XFillRectangle(display, drawable, gc, clampShort(x), clampShort(y), clampSize(width), clampSize(height));
}

void XCanvas::fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) {
    if (pts == nullptr || n < 3) return;
    if (n > requestPoints()) {
        fillPolygonInPieces(this, pts, n, shape, requestPoints());
        return;
    }
    XFillPolygon(display, drawable, gc, reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n, shape,
                 CoordModeOrigin);
}

void XCanvas::drawArc(int x, int y, int width, int height, int angle1, int angle2) {
    XDrawArc(display, drawable, gc, clampShort(x), clampShort(y), clampSize(width), clampSize(height), angle1,
             angle2);
}

void XCanvas::fillArc(int x, int y, int width, int height, int angle1, int angle2) {
    XFillArc(display, drawable, gc, clampShort(x), clampShort(y), clampSize(width), clampSize(height), angle1,
             angle2);
}

void XCanvas::drawString(int fontSet, int x, int y, const char *text, int len) {
    if (fontSet < 0 || fontSet >= kFontSetCount || fontSets == nullptr || fontSets[fontSet] == nullptr) return;
    if (text == nullptr || len <= 0) return;
    if (const XFontStruct *font = directFont(fontSet, text, len)) {
        XSetFont(display, gc, font->fid);
        XDrawString(display, drawable, gc, clampShort(x), clampShort(y), text, len);
        return;
    }
    XmbDrawString(display, drawable, fontSets[fontSet], gc, clampShort(x), clampShort(y), text, len);
}

void XCanvas::drawSymbolString(int x, int y, const char *text, int len) {
    if (symbolFont == nullptr || *symbolFont == 0 || text == nullptr || len <= 0) return;
    XSetFont(display, gc, *symbolFont);
    XDrawString(display, drawable, gc, clampShort(x), clampShort(y), text, len);
}

CanvasTextExtent XCanvas::textExtent(int fontSet, const char *text, int len) {
    CanvasTextExtent out{0, 0, 0, 0};
    if (fontSet < 0 || fontSet >= kFontSetCount || fontSets == nullptr || fontSets[fontSet] == nullptr) return out;
    if (text == nullptr || len <= 0) return out;
    if (const XFontStruct *font = directFont(fontSet, text, len)) {
        const DirectFont &f = direct_[fontSet];
        return CanvasTextExtent{0, f.logicalY, static_cast<uint16_t>(XTextWidth(const_cast<XFontStruct *>(font), text, len)),
                                f.logicalHeight};
    }
    XRectangle ink, logical;
    XmbTextExtents(fontSets[fontSet], text, len, &ink, &logical);
    std::memcpy(&out, &logical, sizeof out);
    return out;
}

CanvasTextExtent XCanvas::fontSetMaxExtent(int fontSet) {
    CanvasTextExtent out{0, 0, 0, 0};
    if (fontSet < 0 || fontSet >= kFontSetCount || fontSets == nullptr || fontSets[fontSet] == nullptr) return out;
    XFontSetExtents *e = XExtentsOfFontSet(fontSets[fontSet]);
    if (e == nullptr) return out;
    std::memcpy(&out, &e->max_logical_extent, sizeof out);
    return out;
}

XCanvas::~XCanvas() {
    for (auto &entry : bitmaps_) XFreePixmap(display, entry.second);
    freeKeptPictures();
}

void XCanvas::drawBitmap(int x, int y, const uint16_t *rows, int width, int height) {
    if (rows == nullptr || width <= 0 || width > 16 || height <= 0 || height > 16) return;
    auto found = bitmaps_.find(rows);
    Pixmap bitmap;
    if (found == bitmaps_.end()) {
        // XBM data: two bytes a row, the leftmost pixel in the low bit.
        char data[32];
        for (int r = 0; r < height; ++r) {
            data[2 * r] = static_cast<char>(rows[r] & 0xFF);
            data[2 * r + 1] = static_cast<char>(rows[r] >> 8);
        }
        bitmap = XCreateBitmapFromData(display, drawable, data, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height));
        if (bitmap == 0) return;
        bitmaps_[rows] = bitmap;
    } else {
        bitmap = found->second;
    }
    XSetStipple(display, gc, bitmap);
    XSetTSOrigin(display, gc, x, y);
    XSetFillStyle(display, gc, FillStippled);
    XFillRectangle(display, drawable, gc, clampShort(x), clampShort(y), static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
    XSetFillStyle(display, gc, FillSolid);
    XSetTSOrigin(display, gc, 0, 0);
}
