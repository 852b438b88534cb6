#include "model/geometry_option.h"

#include <cstring>

namespace {

// The value of `text` (digits only, at most 5 of them), else -1. Counting
// the digits first keeps the value from overflowing.
int sideValue(const char *text)
{
    const size_t n = text ? std::strlen(text) : 0;
    if (n == 0 || n > 5 || std::strspn(text, "0123456789") != n)
        return -1;
    int v = 0;
    for (const char *p = text; *p; ++p)
        v = v * 10 + (*p - '0');
    return v;
}

bool sideInBounds(unsigned side, unsigned lo)
{
    return side >= lo && side <= static_cast<unsigned>(kGeometryMaxSide);
}

} // namespace

int geometrySidesInBounds(bool hasWidth, unsigned width, bool hasHeight, unsigned height)
{
    return (!hasWidth || sideInBounds(width, kGeometryMinWidth)) &&
           (!hasHeight || sideInBounds(height, kGeometryMinHeight));
}

int geometrySizeValid(const char *widthText, const char *heightText, int *width, int *height)
{
    const int w = sideValue(widthText);
    const int h = sideValue(heightText);
    if (w < 0 || h < 0 || !geometrySidesInBounds(true, static_cast<unsigned>(w), true, static_cast<unsigned>(h)))
        return 0;
    if (width)
        *width = w;
    if (height)
        *height = h;
    return 1;
}

int geometryOptionValid(const char *text, int *width, int *height)
{
    const char *x = text ? std::strchr(text, 'x') : nullptr;
    if (!x)
        return 0;
    char widthText[8];
    const size_t n = static_cast<size_t>(x - text);
    if (n >= sizeof widthText)
        return 0;
    std::memcpy(widthText, text, n);
    widthText[n] = '\0';
    return geometrySizeValid(widthText, x + 1, width, height);
}
