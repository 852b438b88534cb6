#include "ui/widgets/xpm_picture.h"

#include <X11/xpm.h>
#include <Xm/Xm.h>

#include <cstdlib>
#include <cstring>

#include "model/app_data.h"
#include "render/x/palette_x.h"

namespace {

// "#rrggbb" as 0xRRGGBB; false for any other form.
bool hexColour(const char *name, uint32_t *rgb)
{
    if (name == nullptr || name[0] != '#' || std::strlen(name) != 7)
        return false;
    char *end = nullptr;
    const unsigned long v = std::strtoul(name + 1, &end, 16);
    if (end != name + 7)
        return false;
    *rgb = static_cast<uint32_t>(v);
    return true;
}

// A picture's colour: on a TrueColor visual whose masks give the pixel, a
// "#rrggbb" colour's pixel is worked out here; any other colour or visual is
// asked of the server as the library would ask.
int allocPictureColour(Display *display, Colormap colormap, char *name, XColor *colour, void *closure)
{
    const Visual *visual = static_cast<const Visual *>(closure);
    uint32_t rgb = 0;
    unsigned long pixel = 0;
    if (hexColour(name, &rgb) && trueColourPixel(visual, rgb, &pixel)) {
        colour->pixel = pixel;
        colour->red = static_cast<unsigned short>(((rgb >> 16) & 0xFF) << 8);
        colour->green = static_cast<unsigned short>(((rgb >> 8) & 0xFF) << 8);
        colour->blue = static_cast<unsigned short>((rgb & 0xFF) << 8);
        colour->flags = DoRed | DoGreen | DoBlue;
        return 1;
    }
    if (name != nullptr && !XParseColor(display, colormap, name, colour))
        return -1;
    return XAllocColor(display, colormap, colour) ? 1 : 0;
}

// The pictures last the run; colours the library asked for are not freed.
int keepPictureColours(Display *, Colormap, Pixel *, int, void *) { return 1; }

} // namespace

void xpmColoursWithoutServer(Display *display, XpmAttributes *attributes)
{
    Visual *visual = DefaultVisual(display, DefaultScreen(display));
    unsigned long pixel = 0;
    if ((attributes->valuemask & XpmColormap) || !trueColourPixel(visual, 0, &pixel))
        return;
    // Such a colour is never refused, so no close colour is looked for:
    // the search reads the whole colormap, a round trip a picture.
    attributes->valuemask &= ~static_cast<unsigned long>(XpmCloseness | XpmRGBCloseness | XpmAllocCloseColors);
    attributes->valuemask |= XpmAllocColor | XpmFreeColors | XpmColorClosure;
    attributes->alloc_color = allocPictureColour;
    attributes->free_colors = keepPictureColours;
    attributes->color_closure = visual;
}

namespace {

// xpmPicture's attributes: "None" drawn in background (none names the
// symbol the attributes point to).
void pictureAttributes(Display *d, XpmColorSymbol *none, Pixel background, Colormap colormap,
                       XpmAttributes *attributes)
{
    *none = XpmColorSymbol{nullptr, const_cast<char *>("None"), background};
    *attributes = XpmAttributes{};
    attributes->valuemask = XpmColorSymbols;
    attributes->colorsymbols = none;
    attributes->numsymbols = 1;
    if (!colormap && appData->installColormap && appData->colormap)
        colormap = appData->colormap;
    if (colormap) {
        attributes->valuemask |= XpmColormap;
        attributes->colormap = colormap;
    }
    xpmColoursWithoutServer(d, attributes);
}

} // namespace

Pixmap xpmPicture(const char *const *data, Pixel background, Colormap colormap)
{
    Display *d = XtDisplay(appData->topLevel);
    XpmColorSymbol none;
    XpmAttributes attributes;
    pictureAttributes(d, &none, background, colormap, &attributes);
    Pixmap pixmap = 0;
    if (XpmCreatePixmapFromData(d, RootWindowOfScreen(XtScreen(appData->topLevel)), const_cast<char **>(data),
                                &pixmap, nullptr, &attributes) != XpmSuccess)
        pixmap = 0;
    XpmFreeAttributes(&attributes);
    return pixmap;
}

Pixmap xpmButtonPicture(const char *const *data, Pixel background, const char *name)
{
    XpmColorSymbol none;
    XpmAttributes attributes;
    pictureAttributes(XtDisplay(appData->topLevel), &none, background, 0, &attributes);
    const Pixmap pixmap = xpmLabelPixmap(data, &attributes, name, background, false);
    XpmFreeAttributes(&attributes);
    return pixmap;
}

Pixmap xpmLabelPixmap(const char *const *data, XpmAttributes *attributes, const char *name, Pixel background,
                      bool withShape)
{
    Display *d = XtDisplay(appData->topLevel);
    XImage *image = nullptr, *shape = nullptr;
    if (XpmCreateImageFromData(d, const_cast<char **>(data), &image, withShape ? &shape : nullptr, attributes) !=
        XpmSuccess)
        return 0;
    if (shape)
        XDestroyImage(shape);
    // Motif makes the pixmap from the installed image and keeps its size with
    // it; the image itself is needed no longer.
    Pixmap pixmap = 0;
    if (XmInstallImage(image, const_cast<char *>(name))) {
        pixmap = XmGetPixmapByDepth(XtScreen(appData->topLevel), const_cast<char *>(name), background, background,
                                    image->depth);
        XmUninstallImage(image);
    }
    XDestroyImage(image);
    return pixmap == XmUNSPECIFIED_PIXMAP ? 0 : pixmap;
}
