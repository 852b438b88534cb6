#include "ui/widgets/xpm_picture.h"

#include <X11/xpm.h>

#include "model/app_data.h"

Pixmap xpmPicture(const char *const *data, Pixel background, Colormap colormap)
{
    Display *d = XtDisplay(appData->topLevel);
    XpmColorSymbol none{nullptr, const_cast<char *>("None"), background};
    XpmAttributes attributes{};
    attributes.valuemask = XpmColorSymbols;
    attributes.colorsymbols = &none;
    attributes.numsymbols = 1;
    if (!colormap && appData->installColormap && appData->colormap)
        colormap = appData->colormap;
    if (colormap) {
        attributes.valuemask |= XpmColormap;
        attributes.colormap = colormap;
    }
    Pixmap pixmap = 0;
    if (XpmCreatePixmapFromData(d, RootWindowOfScreen(XtScreen(appData->topLevel)), const_cast<char **>(data),
                                &pixmap, nullptr, &attributes) != XpmSuccess)
        pixmap = 0;
    XpmFreeAttributes(&attributes);
    return pixmap;
}
