// Reading back the XPM images the program writes (GSAVE), on a test's server.
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
