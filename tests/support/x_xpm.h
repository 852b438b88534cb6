// Reading back pictures on a test's server: the XPM images the program
// writes (GSAVE) and the pixels of a drawable.
#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>

struct XpmPixels {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;
    // The 24-bit colour at (x, y); ~0 outside the image.
    unsigned long at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height ? pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF
                                                           : ~0ul;
    }
};

// The pixels of an XPM file; empty when it cannot be read (not written yet).
XpmPixels readXpm(Display *d, const std::string &path);

// The pixels of the drawable's top-left width x height, row by row; empty
// when they cannot be read.
std::vector<unsigned long> drawablePixels(Display *d, Drawable drawable, int width, int height);

// The number of pixels that differ, -1 when the pictures differ in size.
long differingPixels(const std::vector<unsigned long> &a, const std::vector<unsigned long> &b);
