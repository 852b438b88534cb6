#include "ui/app/icon.h"

#include <X11/Intrinsic.h>
#include <X11/Shell.h>

#include "model/app_data.h"
#include "model/chart_state.h"

namespace {

// 1 when v lies on the grid lo, lo + step, ... up to hi.
int onGrid(int v, int lo, int hi, int step)
{
    if (v < lo || v > hi)
        return 0;
    if (step <= 0)
        return v == lo;
    return (v - lo) % step == 0;
}

// The icon: a horizon circle under a sky of a few stars, drawn once into
// XBM-ordered bits (rows of whole bytes, least significant bit leftmost).
struct IconBits {
    int size;
    unsigned char bits[48 * 6];
};

void setBit(IconBits &icon, int x, int y)
{
    if (x < 0 || y < 0 || x >= icon.size || y >= icon.size)
        return;
    const int rowBytes = (icon.size + 7) / 8;
    icon.bits[y * rowBytes + x / 8] |= static_cast<unsigned char>(1u << (x % 8));
}

void drawIcon(IconBits &icon)
{
    const int n = icon.size;
    const int c2 = n - 1;          // twice the centre, so odd sizes stay exact
    const int r = n / 2 - 2;
    for (int y = 0; y < n; y++) {
        for (int x = 0; x < n; x++) {
            const int dx = 2 * x - c2, dy = 2 * y - c2;
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 4 * (r - 1) * (r - 1) && d2 <= 4 * r * r)
                setBit(icon, x, y); // the chart's rim
        }
    }
    // Stars as small crosses, placed in eighths of the icon.
    static const int kStars[][2] = {{3, 2}, {5, 3}, {2, 5}, {4, 4}, {6, 5}};
    for (const auto &s : kStars) {
        const int x = s[0] * n / 8, y = s[1] * n / 8;
        setBit(icon, x, y);
        setBit(icon, x - 1, y);
        setBit(icon, x + 1, y);
        setBit(icon, x, y - 1);
        setBit(icon, x, y + 1);
    }
}

} // namespace

const unsigned char *iconBitmap(int size)
{
    static IconBits large = {48, {}};
    static IconBits small = {32, {}};
    IconBits &icon = size == 48 ? large : small;
    static int drawn = 0;
    if (!drawn) {
        drawIcon(large);
        drawIcon(small);
        drawn = 1;
    }
    return icon.bits;
}

int iconSizeFits(const XIconSize *sizes, int count, int width, int height)
{
    for (int i = 0; i < count; i++) {
        const XIconSize &s = sizes[i];
        if (s.min_width > kIconSizeBoundMax || s.max_width > kIconSizeBoundMax ||
            s.min_height > kIconSizeBoundMax || s.max_height > kIconSizeBoundMax)
            continue;
        if (onGrid(width, s.min_width, s.max_width, s.width_inc) &&
            onGrid(height, s.min_height, s.max_height, s.height_inc))
            return 1;
    }
    return 0;
}

int setIconPixmap(ChartState *chart, int width, int height, const unsigned char *bits,
                  const XIconSize *sizes, int count)
{
    if (!iconSizeFits(sizes, count, width, height))
        return 0;
    Display *d = XtDisplay(chart->drawingArea);
    Pixmap icon = XCreateBitmapFromData(d, XtWindow(chart->drawingArea),
                                        reinterpret_cast<const char *>(bits),
                                        static_cast<unsigned>(width), static_cast<unsigned>(height));
    if (icon == None)
        return 0;
    XtVaSetValues(appData->topLevel, XtNiconPixmap, icon, nullptr);
    return 1;
}

void installIcon(ChartState *chart)
{
    Display *d = XtDisplay(chart->drawingArea);
    XIconSize *sizes = nullptr;
    int count = 0;
    if (!XGetIconSizes(d, RootWindow(d, appData->screen), &sizes, &count) || !sizes)
        return;
    if (!setIconPixmap(chart, 48, 48, iconBitmap(48), sizes, count))
        setIconPixmap(chart, 32, 32, iconBitmap(32), sizes, count);
    XFree(sizes);
}
