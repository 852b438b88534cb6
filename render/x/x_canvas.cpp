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

// The canvas starts in the given GC's state (Xlib keeps it on the client
// side: nothing is asked of the server).
XCanvas::XCanvas(Display *d, Drawable target, GC chartGc) : display(d), drawable(target), gc(chartGc) {
    std::memset(gcSlot_, -1, sizeof gcSlot_);
    XGCValues v;
    if (gc == nullptr ||
        !XGetGCValues(display, gc, GCForeground | GCLineWidth | GCLineStyle | GCCapStyle | GCJoinStyle, &v))
        return;
    pixel_ = static_cast<uint32_t>(v.foreground);
    line_ = {v.line_width, static_cast<CanvasLineStyle>(v.line_style), static_cast<CanvasCapStyle>(v.cap_style),
             static_cast<CanvasJoinStyle>(v.join_style)};
}

void XCanvas::setForeground(uint32_t pixel) {
    if (pixel == pixel_) return;
    pixel_ = pixel;
    for (GC &c : current_) c = nullptr;
}

void XCanvas::setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap, CanvasJoinStyle join) {
    if (width < 0) width = 0;
    if (width != line_.width || style != line_.style || cap != line_.cap || join != line_.join) {
        line_ = {width, style, cap, join};
        current_[GcLine] = nullptr;
    }
    if (keeping_ < 0) return;
    keptLineAttributes(width, style, cap, join);
}

CanvasLineAttributes XCanvas::lineAttributes() { return line_; }

void XCanvas::setDashes(int offset, const uint8_t *dashes, int n) {
    if (dashes == nullptr || n <= 0) return;
    const int count = n < 16 ? n : 16;
    std::vector<char> list(static_cast<size_t>(count));
    for (int i = 0; i < count; i++)
        list[static_cast<size_t>(i)] = static_cast<char>(dashes[i] == 0 ? 1 : dashes[i]);
    if (list == dashes_ && offset == dashOffset_) return;
    dashes_ = std::move(list);
    dashOffset_ = offset;
    dashList_++;
    current_[GcLine] = nullptr;
}

void XCanvas::keyGc(OwnGc &g, const GcKey &key) {
    XSetForeground(display, g.gc, key.pixel);
    if (key.use == GcLine) {
        XSetLineAttributes(display, g.gc, static_cast<unsigned>(key.width), key.style, key.cap, key.join);
        if (key.style != LineStyleSolid && !dashes_.empty())
            XSetDashes(display, g.gc, dashOffset_, dashes_.data(), static_cast<int>(dashes_.size()));
    }
    g.key = key;
}

GC XCanvas::gcFor(GcUse use, int font) {
    if (current_[use] != nullptr && (use != GcText || font == currentFont_)) return current_[use];
    GcKey key;
    key.pixel = pixel_;
    key.use = use;
    if (use == GcLine) {
        key.width = line_.width;
        key.style = static_cast<uint8_t>(line_.style);
        key.cap = static_cast<uint8_t>(line_.cap);
        key.join = static_cast<uint8_t>(line_.join);
        if (line_.style != LineStyleSolid) key.dashList = dashList_;
    } else if (use == GcText) {
        key.font = font;
    }
    const uint32_t hash = (key.pixel * 2654435761u) ^ (static_cast<uint32_t>(key.width) * 40503u) ^
                          (static_cast<uint32_t>(key.font + 2) * 9973u) ^ (key.dashList * 101u) ^
                          (static_cast<uint32_t>(key.use) << 3 | static_cast<uint32_t>(key.style) << 1) ^
                          (static_cast<uint32_t>(key.cap) << 5) ^ (static_cast<uint32_t>(key.join) << 7);
    int8_t &slot = gcSlot_[(hash ^ hash >> 8 ^ hash >> 16 ^ hash >> 24) % kGcSlots];
    OwnGc *found = slot >= 0 && gcs_[static_cast<size_t>(slot)].key == key ? &gcs_[static_cast<size_t>(slot)] : nullptr;
    for (size_t i = 0; found == nullptr && i < gcs_.size(); i++)
        if (gcs_[i].key == key) found = &gcs_[i];
    if (found == nullptr) {
        if (gcs_.size() < kMaxGcs) {
            OwnGc g;
            g.gc = XCreateGC(display, drawable, 0, nullptr);
            // All else (function, plane mask, fill rule, arc mode, clip) as the given GC has it.
            constexpr unsigned long kAllValues = (1UL << (GCLastBit + 1)) - 1;
            XCopyGC(display, gc,
                    kAllValues & ~(GCForeground | GCLineWidth | GCLineStyle | GCCapStyle | GCJoinStyle | GCFont), g.gc);
            gcs_.push_back(g);
            found = &gcs_.back();
        } else {
            found = &gcs_.front();
            for (OwnGc &g : gcs_)
                if (g.lastUse < found->lastUse) found = &g;
            for (GC &c : current_)
                if (c == found->gc) c = nullptr;
        }
        keyGc(*found, key);
    }
    slot = static_cast<int8_t>(found - gcs_.data());
    found->lastUse = ++useClock_;
    current_[use] = found->gc;
    if (use == GcText) currentFont_ = font;
    return found->gc;
}

void XCanvas::freeGcs() {
    for (OwnGc &g : gcs_) XFreeGC(display, g.gc);
    gcs_.clear();
    for (GC &c : current_) c = nullptr;
    std::memset(gcSlot_, -1, sizeof gcSlot_);
}

void XCanvas::drawPoint(int x, int y) { XDrawPoint(display, drawable, gcFor(GcPlain), clampShort(x), clampShort(y)); }

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
    XDrawPoints(display, drawable, gcFor(GcPlain), reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n,
                CoordModeOrigin);
}

void XCanvas::drawLine(int x1, int y1, int x2, int y2) {
    GC lineGc;
    const Drawable target = lineTarget(&lineGc);
    XDrawLine(display, target, lineGc, clampShort(x1), clampShort(y1), clampShort(x2), clampShort(y2));
}

void XCanvas::drawLines(const CanvasPoint *pts, int n) {
    if (pts == nullptr || n < 2) return;
    if (n > requestPoints()) {
        drawLinesInPieces(this, pts, n, requestPoints());
        return;
    }
    GC lineGc;
    const Drawable target = lineTarget(&lineGc);
    XDrawLines(display, target, lineGc, reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n,
               CoordModeOrigin);
}

void XCanvas::drawRectangle(int x, int y, int width, int height) {
    XDrawRectangle(display, drawable, gcFor(GcLine), clampShort(x), clampShort(y), clampSize(width), clampSize(height));
}

void XCanvas::fillRectangle(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    XFillRectangle(display, drawable, gcFor(GcPlain), clampShort(x), clampShort(y), clampSize(width),
                   clampSize(height));
}

void XCanvas::fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) {
    if (pts == nullptr || n < 3) return;
    if (n > requestPoints()) {
        fillPolygonInPieces(this, pts, n, shape, requestPoints());
        return;
    }
    XFillPolygon(display, drawable, gcFor(GcPlain), reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(pts)), n, shape,
                 CoordModeOrigin);
}

void XCanvas::drawArc(int x, int y, int width, int height, int angle1, int angle2) {
    XDrawArc(display, drawable, gcFor(GcLine), clampShort(x), clampShort(y), clampSize(width), clampSize(height), angle1,
             angle2);
}

void XCanvas::fillArc(int x, int y, int width, int height, int angle1, int angle2) {
    XFillArc(display, drawable, gcFor(GcPlain), clampShort(x), clampShort(y), clampSize(width), clampSize(height), angle1,
             angle2);
}

void XCanvas::drawString(int fontSet, int x, int y, const char *text, int len) {
    if (fontSet < 0 || fontSet >= kFontSetCount || fontSets == nullptr || fontSets[fontSet] == nullptr) return;
    if (text == nullptr || len <= 0) return;
    // The font set's own drawing sets the GC's font: one GC a font set.
    const GC textGc = gcFor(GcText, fontSet);
    if (const XFontStruct *font = directFont(fontSet, text, len)) {
        XSetFont(display, textGc, font->fid);
        XDrawString(display, drawable, textGc, clampShort(x), clampShort(y), text, len);
        return;
    }
    XmbDrawString(display, drawable, fontSets[fontSet], textGc, clampShort(x), clampShort(y), text, len);
}

void XCanvas::drawSymbolString(int x, int y, const char *text, int len) {
    if (symbolFont == nullptr || *symbolFont == 0 || text == nullptr || len <= 0) return;
    const GC textGc = gcFor(GcText, -1);
    XSetFont(display, textGc, *symbolFont);
    XDrawString(display, drawable, textGc, clampShort(x), clampShort(y), text, len);
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
    freeGcs();
    freeKeptPictures();
}

void XCanvas::drawBitmap(int x, int y, const uint16_t *rows, int width, int height) {
    CanvasPoint pts[kBitmapMaxPoints];
    const int n = bitmapPoints(x, y, rows, width, height, pts);
    if (n > 0)
        XDrawPoints(display, drawable, gcFor(GcPlain), reinterpret_cast<XPoint *>(pts), n, CoordModeOrigin);
}
