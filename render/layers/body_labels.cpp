#include "render/layers/body_labels.h"

#include <cstdio>
#include <cstring>

#include "model/body_names.h"
#include "model/chart_state.h"
#include "model/lexing.h"
#include "render/body_shapes.h"
#include "render/palette.h"

namespace {

// A label's place beside a disc: at the narrowest fields a disc is
// thousands of millions of pixels wide, so the sum is taken wide and held
// far off the chart (the canvas clamps to 16 bits anyway).
int besideDisc(int at, long long offset)
{
    constexpr long long kFar = 1 << 29;
    const long long v = static_cast<long long>(at) + offset;
    return static_cast<int>(v < -kFar ? -kFar : (v > kFar ? kFar : v));
}

} // namespace

void drawBodyLabels(ChartState *chart, Canvas *canvas, int id, uint8_t displayByte,
                    const ProjectedPoint *p, int size)
{
    const long long q = static_cast<long long>(size) * 11 / 10;
    int x;
    if (!isSolarMode(chart->mode) && (displayByte & kBodyMag)) {
        int w = drawBodyMag(chart, canvas, id, p->x, besideDisc(p->y, q));
        x = size >= w + 2 ? besideDisc(p->x, q) : besideDisc(p->x, w + 2);
    } else {
        x = size > 2 ? besideDisc(p->x, q) : besideDisc(p->x, 3);
    }
    bool name = (displayByte & kBodyName) != 0, date = (displayByte & kBodyDate) != 0;
    if (name && date) {
        CanvasTextExtent e = canvas->fontSetMaxExtent(SolarNameFontset);
        drawBodyName(chart, canvas, id, x, p->y - (e.height + e.y));
        drawTraceDate(canvas, &chart->sky, x + 1,
                      p->y + canvas->fontSetMaxExtent(SolarDateFontset).height);
    } else if (name) {
        drawBodyName(chart, canvas, id, x, p->y);
    } else if (date) {
        drawTraceDate(canvas, &chart->sky, x, p->y);
    }
}

void drawBodyName(ChartState *chart, Canvas *canvas, int id, int x, int y)
{
    char name[64];
    if (id >= kObjectCometBase && id < kObjectCometBase + chart->cometCount) {
        strCopyBounded(name, sizeof name, chart->cometElements[id - kObjectCometBase].name);
        name[strTrimmedLength(name)] = '\0';
    } else {
        objectName(chart, id, 0, name, sizeof name);
    }
    canvas->setForeground(chartPixel(ColorSolarNameFont));
    canvas->drawString(SolarNameFontset, x, y, name, static_cast<int>(std::strlen(name)));
}

int drawBodyMag(ChartState *chart, Canvas *canvas, int id, int x, int y)
{
    int32_t m = 0;
    if (id >= kObjectCometBase && id < kObjectCometBase + chart->cometCount)
        m = chart->cometPositions[id - kObjectCometBase].magnitude10;
    else if (id >= kObjectMinorPlanetBase && id < kObjectMinorPlanetBase + chart->minorPlanetCount)
        m = chart->minorPlanetPositions[id - kObjectMinorPlanetBase].magnitude10;
    else if (id >= 0 && id < kPlanetCount)
        m = chart->planets[id].magnitude10;
    char text[16];
    int len = formatBodyMagnitude(m, text, sizeof text);
    CanvasTextExtent e = canvas->textExtent(SolarMagFontset, text, len);
    CanvasTextExtent maxE = canvas->fontSetMaxExtent(SolarMagFontset);
    canvas->setForeground(chartPixel(ColorSolarMagFont));
    canvas->drawString(SolarMagFontset, x - e.width / 2, y - maxE.y, text, len);
    return e.width / 2 + maxE.width / 3;
}

void drawTraceDate(Canvas *canvas, const SkyContext *sky, int x, int y)
{
    char text[24];
    int len = std::snprintf(text, sizeof text, "%d/%d", sky->date.month, sky->date.day);
    if (len < 0)
        return;
    canvas->setForeground(chartPixel(ColorSolarDateFont));
    canvas->drawString(SolarDateFontset, x, y, text, len);
}
