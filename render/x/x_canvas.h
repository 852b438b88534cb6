// The canvas on an X drawable. It draws through GCs of its own, one for each
// colour and use (points and fills; lines of one width, style and dash
// list; text in one font), made from the GC it is given: the chart's layers
// change colour, line style or font between most calls, and with one GC
// each change was a GC change on the server and ended the request Xlib was
// adding the calls to; now consecutive calls of one colour and use go out
// as one request and a change of colour sends nothing.
#pragma once

#include <vector>

#include <X11/Xlib.h>

#include "render/canvas.h"

struct XCanvas : Canvas {
    Display *display = nullptr;
    Drawable drawable = 0;
    GC gc = nullptr; // the GC given: the canvas's GCs are copies of it, and it is left as it is
    // The application's font sets (kFontSetCount of them), read at each
    // call: they are created after the canvas. Null entries draw nothing.
    const XFontSet *fontSets = nullptr;
    const Font *symbolFont = nullptr; // core font of Greek letters, read at each call; 0 = none

    // Points a batched request carries at most: the server's maximum
    // request size less the request header; 0 until asked of the display.
    long pointsPerRequest = 0;

    XCanvas(Display *d, Drawable target, GC chartGc);
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
    // As the points of its set bits: exactly those pixels in the foreground
    // on every visual, in one request and no GC change.
    void drawBitmap(int x, int y, const uint16_t *rows, int width, int height) override;
    CanvasTextExtent textExtent(int fontSet, const char *text, int len) override;
    CanvasTextExtent fontSetMaxExtent(int fontSet) override;

    // Kept pictures (render/x/x_canvas_kept.cpp): the lines (drawLine,
    // drawLines) between Begin and End go to a mask pixmap of the drawable's
    // size instead of the drawable; other calls meanwhile go to the
    // drawable. The mask is painted in the foreground: on a TrueColor
    // visual of 8-bit components through the Render extension (an 8-bit
    // alpha mask under an opaque solid colour, which gives the colour or
    // leaves the pixel exactly), else by a fill through a GC clipped by a
    // one-bit mask (the server makes its clip region once, when the picture
    // is made).
    bool keptPictureShow(int slot, uint64_t key) override;
    void keptPictureBegin(int slot, uint64_t key) override;
    void keptPictureEnd(int slot) override;
    // The drawable's size, for the kept pictures (0 x 0: none are kept).
    void setDrawableSize(int width, int height);

private:
    int requestPoints();

    enum GcUse : uint8_t { GcPlain, GcLine, GcText, kGcUses };
    struct GcKey {
        uint32_t pixel = 0;
        uint8_t use = GcPlain, style = 0, cap = 0, join = 0;
        int width = 0;
        int font = 0;          // text: the font set, -1 the symbol font
        uint32_t dashList = 0; // dashed lines: the dash list's number
        bool operator==(const GcKey &o) const {
            return pixel == o.pixel && use == o.use && style == o.style && cap == o.cap && join == o.join &&
                   width == o.width && font == o.font && dashList == o.dashList;
        }
    };
    struct OwnGc {
        GC gc = nullptr;
        GcKey key;
        uint64_t lastUse = 0;
    };
    // The GC for a use in the state as it stands (text: in that font).
    GC gcFor(GcUse use, int font = 0);
    void keyGc(OwnGc &g, const GcKey &key);
    void freeGcs();
    // Past this many, the least recently used GC is changed to serve.
    static constexpr size_t kMaxGcs = 64;
    std::vector<OwnGc> gcs_;
    // gcs_ indices by a hash of their keys, -1 none: the layers change
    // colour between most calls, and a search of every GC cost more than
    // the rest of the call.
    static constexpr int kGcSlots = 256;
    int8_t gcSlot_[kGcSlots];
    GC current_[kGcUses] = {}; // the GC of each use for the state as it stands; null: look it up
    int currentFont_ = 0;      // the font current_[GcText] is for
    uint64_t useClock_ = 0;
    uint32_t pixel_ = 0;
    CanvasLineAttributes line_{0, LineStyleSolid, CapStyleButt, JoinStyleMiter};
    std::vector<char> dashes_; // as last set, empty: the X default
    int dashOffset_ = 0;
    uint32_t dashList_ = 0; // counts the dash lists set
    // A font set whose text is its one core font's glyphs byte for byte
    // (render/x/x_canvas_text.cpp).
    struct DirectFont {
        XFontSet set = nullptr;     // the font set this was worked out for
        XFontStruct *font = nullptr; // null: text goes through the font set
        int16_t logicalY = 0;
        uint16_t logicalHeight = 0;
    };
    // The core font to draw or measure text in directly, or null.
    const XFontStruct *directFont(int fontSet, const char *text, int len);
    DirectFont direct_[kFontSetCount];

    struct KeptPicture {
        Pixmap mask = 0;
        unsigned long maskPicture = 0; // the Render picture of an 8-bit mask
        GC fillGc = nullptr;           // clipped by a one-bit mask
        uint64_t key = 0;
        Drawable drawable = 0;
        int width = 0, height = 0;
    };
    // Where lines go and in which GC: the kept picture being made, else the
    // drawable.
    Drawable lineTarget(GC *lineGc);
    void keptLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap, CanvasJoinStyle join);
    bool useRender();
    void paintKept(KeptPicture &k);
    void freeKeptPictures();

    KeptPicture kept_[kCanvasKeptPictures];
    int keeping_ = -1; // the slot being made, -1 none
    uint64_t keepingKey_ = 0;
    GC maskGc_ = nullptr; // draws the lines into the masks
    int maskDepth_ = 0;   // 8 with Render, 1 without, 0 not known yet
    unsigned long drawablePicture_ = 0, pictureOf_ = 0; // the Render picture of a drawable
    int drawableWidth_ = 0, drawableHeight_ = 0;
};
