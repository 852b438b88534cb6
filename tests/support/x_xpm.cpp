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

std::vector<unsigned long> drawablePixels(Display *d, Drawable drawable, int width, int height)
{
    std::vector<unsigned long> out;
    XImage *image = XGetImage(d, drawable, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (image == nullptr)
        return out;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            out.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return out;
}

long differingPixels(const std::vector<unsigned long> &a, const std::vector<unsigned long> &b)
{
    if (a.size() != b.size())
        return -1;
    long n = 0;
    for (size_t i = 0; i < a.size(); i++)
        n += a[i] != b[i] ? 1 : 0;
    return n;
}
