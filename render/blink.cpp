#include "render/blink.h"

#include <ctime>

#include "model/app_data.h"
#include "render/surface.h"

namespace {

void sleepMs(int milliseconds)
{
    timespec t{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {
    }
}

// The rays as offsets from the centre: up, up-right, right, down-right,
// down, down-left, left, up-left.
const int kRays[8][4] = {
    {0, -5, 0, -9}, {4, -4, 7, -7}, {5, 0, 9, 0},   {4, 4, 7, 7},
    {0, 5, 0, 9},   {-4, 4, -7, 7}, {-5, 0, -9, 0}, {-4, -4, -7, -7},
};

} // namespace

void (*blinkWait)(int milliseconds) = sleepMs;

void blinkCross(ChartState *, int x, int y, unsigned long pixel)
{
    ChartSurface *surface = chartSurface();
    Canvas *window = surface ? surface->windowCanvas() : nullptr;
    if (!window)
        return;
    window->setForeground(static_cast<uint32_t>(pixel));
    for (const int *r : kRays)
        window->drawLine(x + r[0], y + r[1], x + r[2], y + r[3]);
    surface->flushWindow();
}

void blinkAt(ChartState *chart, int x, int y)
{
    ChartSurface *surface = chartSurface();
    if (!surface || !surface->windowCanvas())
        return;
    uint32_t white, black;
    surface->screenPixels(&white, &black);
    // (BlinkTime + 1) / 2, without overflowing at the largest count.
    const int rounds = appData->blinkTime / 2 + appData->blinkTime % 2;
    for (int i = 0; i < rounds; i++) {
        blinkCross(chart, x, y, white);
        blinkWait(kBlinkPhaseMs);
        blinkCross(chart, x, y, black);
        blinkWait(kBlinkPhaseMs);
    }
    const int half = kBlinkSquare / 2;
    surface->copyAreaToWindow(x - half, y - half, kBlinkSquare, kBlinkSquare);
}
