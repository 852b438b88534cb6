#include "tests/support/x_xpm.h"

#include <sys/stat.h>

#include <X11/Xutil.h>
#include <X11/xpm.h>

XpmPixels readXpm(Display *d, const std::string &path)
{
    XpmPixels out;
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return out;
    XImage *image = nullptr;
    XpmAttributes attributes;
    attributes.valuemask = 0;
    if (XpmReadFileToImage(d, path.c_str(), &image, nullptr, &attributes) != XpmSuccess)
        return out;
    out.width = image->width;
    out.height = image->height;
    for (int y = 0; y < image->height; y++)
        for (int x = 0; x < image->width; x++)
            out.pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    XpmFreeAttributes(&attributes);
    return out;
}
