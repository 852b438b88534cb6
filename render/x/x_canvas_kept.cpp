// The canvas's kept pictures: groups of solid lines kept from frame to frame
// as masks on the server (render/canvas.h says what they are for).
#include "render/x/x_canvas.h"

#include <X11/Xutil.h>
#include <X11/extensions/Xrender.h>

namespace {

// A component mask of exactly eight bits, and its shift.
bool eightBitMask(unsigned long mask, int *shift) {
    if (mask == 0) return false;
    int s = 0;
    while (((mask >> s) & 1) == 0) s++;
    if ((mask >> s) != 0xFF) return false;
    *shift = s;
    return true;
}

// The colour of a TrueColor pixel as Render takes it: each 8-bit component
// in the high byte, so Render's own 8 bits are the pixel's.
bool renderColourOf(const Visual *v, unsigned long pixel, XRenderColor *out) {
    int r, g, b;
    if (!eightBitMask(v->red_mask, &r) || !eightBitMask(v->green_mask, &g) || !eightBitMask(v->blue_mask, &b))
        return false;
    out->red = static_cast<unsigned short>(((pixel >> r) & 0xFF) * 257);
    out->green = static_cast<unsigned short>(((pixel >> g) & 0xFF) * 257);
    out->blue = static_cast<unsigned short>(((pixel >> b) & 0xFF) * 257);
    out->alpha = 0xFFFF;
    return true;
}

} // namespace

void XCanvas::setDrawableSize(int width, int height) {
    drawableWidth_ = width > 0 ? width : 0;
    drawableHeight_ = height > 0 ? height : 0;
}

Drawable XCanvas::lineTarget(GC *lineGc) {
    if (keeping_ < 0) {
        *lineGc = gcFor(GcLine);
        return drawable;
    }
    *lineGc = maskGc_;
    return kept_[keeping_].mask;
}

// Render is asked once, at the first kept picture (a few round trips then,
// none at start-up): usable on a TrueColor default visual of 8-bit
// components whose depth the drawables have.
bool XCanvas::useRender() {
    if (maskDepth_ == 0) {
        maskDepth_ = 1;
        const int screen = DefaultScreen(display);
        Visual *v = DefaultVisual(display, screen);
        int shift, eventBase, errorBase;
        if (v->c_class == TrueColor && eightBitMask(v->red_mask, &shift) && eightBitMask(v->green_mask, &shift) &&
            eightBitMask(v->blue_mask, &shift) && XRenderQueryExtension(display, &eventBase, &errorBase) &&
            XRenderFindVisualFormat(display, v) != nullptr &&
            XRenderFindStandardFormat(display, PictStandardA8) != nullptr)
            maskDepth_ = 8;
    }
    return maskDepth_ == 8;
}

void XCanvas::keptLineAttributes(int width, CanvasLineStyle style, CanvasCapStyle cap, CanvasJoinStyle join) {
    if (keeping_ < 0) return;
    if (style != LineStyleSolid) {
        // A kept picture holds solid lines only: what it holds so far is
        // painted, the rest of the group is drawn as it comes, nothing kept.
        KeptPicture &k = kept_[keeping_];
        keeping_ = -1;
        paintKept(k);
        return;
    }
    XSetLineAttributes(display, maskGc_, width < 0 ? 0u : static_cast<unsigned>(width), style, cap, join);
}

void XCanvas::paintKept(KeptPicture &k) {
    // The canvas's GCs have the given GC's function and plane mask.
    XGCValues v;
    XGetGCValues(display, gc, GCFunction | GCPlaneMask, &v);
    v.foreground = pixel_;
    XRenderColor colour;
    Visual *visual = DefaultVisual(display, DefaultScreen(display));
    // Render knows no GC: a function or plane mask other than the frame's
    // plain copy goes the core way.
    if (k.maskPicture != 0 && v.function == GXcopy && (v.plane_mask & 0xFFFFFF) == 0xFFFFFF &&
        renderColourOf(visual, v.foreground, &colour)) {
        if (pictureOf_ != drawable) {
            if (drawablePicture_ != 0) XRenderFreePicture(display, drawablePicture_);
            drawablePicture_ = XRenderCreatePicture(display, drawable, XRenderFindVisualFormat(display, visual), 0,
                                                    nullptr);
            pictureOf_ = drawable;
        }
        const Picture source = XRenderCreateSolidFill(display, &colour);
        XRenderComposite(display, PictOpOver, source, k.maskPicture, drawablePicture_, 0, 0, 0, 0, 0, 0,
                         static_cast<unsigned>(k.width), static_cast<unsigned>(k.height));
        XRenderFreePicture(display, source);
        return;
    }
    if (k.fillGc == nullptr) {
        k.fillGc = XCreateGC(display, drawable, 0, nullptr);
        if (k.maskPicture != 0) {
            // An 8-bit mask as a clip: its one-bit copy.
            const Pixmap bits = XCreatePixmap(display, drawable, static_cast<unsigned>(k.width),
                                              static_cast<unsigned>(k.height), 1);
            GC copy = XCreateGC(display, bits, 0, nullptr);
            XCopyPlane(display, k.mask, bits, copy, 0, 0, static_cast<unsigned>(k.width),
                       static_cast<unsigned>(k.height), 0, 0, 0x80);
            XFreeGC(display, copy);
            XSetClipMask(display, k.fillGc, bits);
            XFreePixmap(display, bits);
        } else {
            XSetClipMask(display, k.fillGc, k.mask);
        }
    }
    XCopyGC(display, gc, GCFunction | GCPlaneMask, k.fillGc);
    XSetForeground(display, k.fillGc, pixel_);
    XFillRectangle(display, drawable, k.fillGc, 0, 0, static_cast<unsigned>(k.width), static_cast<unsigned>(k.height));
}

bool XCanvas::keptPictureShow(int slot, uint64_t key) {
    if (slot < 0 || slot >= kCanvasKeptPictures || key == 0) return false;
    KeptPicture &k = kept_[slot];
    if (k.key != key || k.drawable != drawable || k.width != drawableWidth_ || k.height != drawableHeight_)
        return false;
    paintKept(k);
    return true;
}

void XCanvas::keptPictureBegin(int slot, uint64_t key) {
    keeping_ = -1;
    if (slot < 0 || slot >= kCanvasKeptPictures || key == 0 || drawable == 0 || drawableWidth_ == 0 ||
        drawableHeight_ == 0)
        return;
    // Solid lines only: one mask holds no dash pattern.
    if (line_.style != LineStyleSolid) return;
    const int depth = useRender() ? 8 : 1;
    KeptPicture &k = kept_[slot];
    k.key = 0;
    if (k.fillGc != nullptr) XFreeGC(display, k.fillGc); // its clip is of the old mask
    k.fillGc = nullptr;
    if (k.mask == 0 || k.width != drawableWidth_ || k.height != drawableHeight_) {
        if (k.maskPicture != 0) XRenderFreePicture(display, k.maskPicture);
        if (k.mask != 0) XFreePixmap(display, k.mask);
        k.maskPicture = 0;
        k.width = drawableWidth_;
        k.height = drawableHeight_;
        k.mask = XCreatePixmap(display, drawable, static_cast<unsigned>(k.width), static_cast<unsigned>(k.height),
                               static_cast<unsigned>(depth));
        if (depth == 8)
            k.maskPicture = XRenderCreatePicture(display, k.mask, XRenderFindStandardFormat(display, PictStandardA8),
                                                 0, nullptr);
        if (maskGc_ == nullptr) maskGc_ = XCreateGC(display, k.mask, 0, nullptr);
    }
    XSetForeground(display, maskGc_, 0);
    XFillRectangle(display, k.mask, maskGc_, 0, 0, static_cast<unsigned>(k.width), static_cast<unsigned>(k.height));
    XSetForeground(display, maskGc_, depth == 8 ? 0xFF : 1);
    XSetLineAttributes(display, maskGc_, static_cast<unsigned>(line_.width), line_.style, line_.cap, line_.join);
    k.drawable = drawable;
    keeping_ = slot;
    keepingKey_ = key;
}

void XCanvas::keptPictureEnd(int slot) {
    if (keeping_ < 0 || keeping_ != slot) {
        keeping_ = -1;
        return;
    }
    keeping_ = -1;
    KeptPicture &k = kept_[slot];
    k.key = keepingKey_;
    paintKept(k);
}

void XCanvas::freeKeptPictures() {
    for (KeptPicture &k : kept_) {
        if (k.maskPicture != 0) XRenderFreePicture(display, k.maskPicture);
        if (k.mask != 0) XFreePixmap(display, k.mask);
        if (k.fillGc != nullptr) XFreeGC(display, k.fillGc);
        k = KeptPicture{};
    }
    if (drawablePicture_ != 0) XRenderFreePicture(display, drawablePicture_);
    drawablePicture_ = pictureOf_ = 0;
    if (maskGc_ != nullptr) XFreeGC(display, maskGc_);
    maskGc_ = nullptr;
}
