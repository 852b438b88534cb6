#include "model/geometry_option.h"

#include <cstring>

namespace {

// The value of `text` (digits only, at most 5 of them) when it lies in lo..hi,
// else -1. Counting the digits first keeps the value from overflowing.
int sideValue(const char *text, int lo, int hi)
{
    const size_t n = text ? std::strlen(text) : 0;
    if (n == 0 || n > 5 || std::strspn(text, "0123456789") != n)
        return -1;
    int v = 0;
    for (const char *p = text; *p; ++p)
        v = v * 10 + (*p - '0');
    return v >= lo && v <= hi ? v : -1;
}

} // namespace

int geometrySizeValid(const char *widthText, const char *heightText, int *width, int *height)
{
    const int w = sideValue(widthText, kGeometryMinWidth, kGeometryMaxSide);
    const int h = sideValue(heightText, kGeometryMinHeight, kGeometryMaxSide);
    if (w < 0 || h < 0)
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
