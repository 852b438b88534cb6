// Reading back the XPM images the program writes (GSAVE), on a test's server.
#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>

struct XpmPixels {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;
};

// The pixels of an XPM file; empty when it cannot be read (not written yet).
XpmPixels readXpm(Display *d, const std::string &path);
