// The drawing seam: every layer draws through a Canvas, never through Xlib.
// One implementation draws into the chart's pixmap through GCs made from
// the chart GC (render/x/x_canvas.h); RecordingCanvas (render/recording_canvas.h) keeps
// the calls so tests check order and geometry without a display.
#pragma once

#include <cstdint>

#include "model/x_handles.h" // kFontSetCount

// The point, rectangle and arc records have the layout of XPoint, XRectangle
// and XArc, so the Xlib canvas hands arrays of them on without copying.
struct CanvasPoint {
    int16_t x, y;
};

struct CanvasRect {
    int16_t x, y;
    uint16_t width, height;
};

struct CanvasArc {
    int16_t x, y;
    uint16_t width, height;
    int16_t angle1, angle2; // 1/64 degree, counter-clockwise from 3 o'clock
};

// Logical extent of a text or of the largest glyph of a font set: x and y of
// the box relative to the origin on the baseline (y is negative: the ascent).
struct CanvasTextExtent {
    int16_t x, y;
    uint16_t width, height;
};

// Values as the X protocol numbers them, so no translation is needed.
enum CanvasLineStyle { LineStyleSolid = 0, LineStyleOnOffDash = 1, LineStyleDoubleDash = 2 };
enum CanvasCapStyle { CapStyleNotLast = 0, CapStyleButt = 1, CapStyleRound = 2, CapStyleProjecting = 3 };
enum CanvasJoinStyle { JoinStyleMiter = 0, JoinStyleRound = 1, JoinStyleBevel = 2 };
enum CanvasPolygonShape { PolygonComplex = 0, PolygonNonconvex = 1, PolygonConvex = 2 };

// A GC's line attributes as setLineAttributes takes them.
struct CanvasLineAttributes {
    int width;
    CanvasLineStyle style;
    CanvasCapStyle cap;
    CanvasJoinStyle join;
};

// An arc's angles are in 1/64 degree: this is a whole circle.
constexpr int kFullCircle = 360 * 64;

struct Canvas {
    virtual ~Canvas() = default;

    virtual void setForeground(uint32_t pixel) = 0;
    // width 0 is the X server's fast thin line.
    virtual void setLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap,
                                   CanvasJoinStyle join) = 0;
    // The attributes in force, so a layer can put back what it found; a
    // canvas that cannot tell gives the frame's thin solid line.
    virtual CanvasLineAttributes lineAttributes() { return {0, LineStyleSolid, CapStyleButt, JoinStyleMiter}; }
    // dashes: n lengths in pixels, each 1..255.
    virtual void setDashes(int offset, const uint8_t *dashes, int n) = 0;

    virtual void drawPoint(int x, int y) = 0;
    virtual void drawPoints(const CanvasPoint *pts, int n) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;
    // A connected polyline of n points (coordinates relative to the origin).
    virtual void drawLines(const CanvasPoint *pts, int n) = 0;
    virtual void drawRectangle(int x, int y, int width, int height) = 0;
    virtual void fillRectangle(int x, int y, int width, int height) = 0;
    virtual void fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) = 0;
    virtual void drawArc(int x, int y, int width, int height, int angle1, int angle2) = 0;
    virtual void fillArc(int x, int y, int width, int height, int angle1, int angle2) = 0;

    // A one-bit symbol of width x height pixels (each at most 16) with its
    // top-left corner at (x, y): set bits in the foreground, cleared bits leave
    // what is drawn below. rows[r] bit c is the pixel of row r, column c. The
    // same rows pointer names the same symbol for the canvas's lifetime, so a
    // canvas may build each symbol once.
    virtual void drawBitmap(int x, int y, const uint16_t *rows, int width, int height) = 0;

    // Multibyte text of len bytes in font set fontSet, origin on the baseline.
    virtual void drawString(int fontSet, int x, int y, const char *text, int len) = 0;
    // Text in the core symbol font of Greek letters (Bayer letters).
    virtual void drawSymbolString(int x, int y, const char *text, int len) = 0;

    // Font metrics. A font set the canvas does not have gives an empty extent.
    virtual CanvasTextExtent textExtent(int fontSet, const char *text, int len) = 0;
    virtual CanvasTextExtent fontSetMaxExtent(int fontSet) = 0;

    // A kept picture: a group of solid lines in one colour that a canvas may
    // keep from frame to frame as the set of pixels they cover, so that a
    // frame drawing the same group again sends one stippled fill in place of
    // the lines (the same pixels: the lines only ever set pixels to the
    // foreground). key names the group's contents and line attributes, never
    // 0; slot (0 .. kCanvasKeptPictures - 1) is the group's place.
    // keptPictureShow paints the slot's picture in the current foreground
    // and returns true when it holds that key for the canvas's drawable as it
    // is; otherwise the caller draws the group between keptPictureBegin and
    // keptPictureEnd, and the canvas keeps it and paints it at the end. A
    // canvas that keeps nothing (these defaults) draws the group as it comes.
    virtual bool keptPictureShow(int, uint64_t) { return false; }
    virtual void keptPictureBegin(int, uint64_t) {}
    virtual void keptPictureEnd(int) {}
};

// Slots of kept pictures.
enum : int { kKeptCometOrbits = 0, kKeptMinorPlanetOrbits = 1, kCanvasKeptPictures = 2 };
