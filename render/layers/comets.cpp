// Comet heads and tails and the minor planets.
#include <cmath>

#include "astro/q14.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "render/layers/small_bodies.h"
#include "render/lines.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/layers/body_labels.h"
#include "render/star_symbols.h"

namespace {

// Symbol size the labels of comets and minor planets leave.
constexpr int kSmallBodyLabelSize = 5;
// A comet head is never drawn brighter than a star this much (tenths of a
// magnitude) above the star limit.
constexpr int32_t kCometHeadBrightest = 20;

bool solarSystemView(const ChartState *chart) { return isSolarMode(chart->mode); }

// A comet or minor-planet row that this frame draws.
bool drawnBody(const ChartState *chart, const BodyPosition *row, const uint8_t *flags, char type)
{
    if (row->type != type || !(*flags & kBodyShown))
        return false;
    return !solarSystemView(chart) || row->sunDistance <= kSolViewBodyMaxAu;
}

// A tail direction on the screen: precise in the sky charts, Q14 in the
// whole-sky maps and the planisphere, none in the solar-system views.
bool tailPoint(ChartState *chart, const Vec3 *v, ProjectedPoint *out)
{
    const int32_t kind = chartModeKind(chart->mode);
    if (kind == kKindSolar)
        return false;
    if (kind == kKindSky)
        return projectPointPrecise(chart, v, out) != 0;
    Vec3Q14 q;
    vecToQ14(v, &q);
    return projectPoint(chart, &q, out) != 0;
}

void segmentIfBoth(ChartState *chart, Canvas *canvas, const ProjectedPoint &a, bool aOk, const ProjectedPoint &b,
                   bool bOk)
{
    if (aOk && bOk)
        chartDrawSegment(chart, canvas, &a, &b);
}

} // namespace

bool cometTailPoint(ChartState *chart, int index, int sample, int edge, ProjectedPoint *out)
{
    return tailPoint(chart, &chart->cometTails[index].dustGeo[2 * sample + edge], out);
}

bool cometIonTailPoint(ChartState *chart, int index, int sample, ProjectedPoint *out)
{
    return tailPoint(chart, &chart->cometTails[index].ionGeo[sample], out);
}

void drawCometDustTail(ChartState *chart, Canvas *canvas, int index, int count)
{
    if (count <= 0)
        return;
    if (count > kTailAges)
        count = kTailAges;
    canvas->setForeground(chartPixel(ColorCometDulstTail));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    ProjectedPoint e0[kTailAges] = {}, e1[kTailAges] = {};
    bool ok0[kTailAges] = {}, ok1[kTailAges] = {};
    for (int k = 0; k < count; ++k) {
        ok0[k] = cometTailPoint(chart, index, k, 0, &e0[k]);
        ok1[k] = cometTailPoint(chart, index, k, 1, &e1[k]);
    }
    segmentIfBoth(chart, canvas, e0[0], ok0[0], e1[0], ok1[0]);
    for (int k = 1; k < count; ++k) {
        segmentIfBoth(chart, canvas, e0[k], ok0[k], e0[k - 1], ok0[k - 1]);
        segmentIfBoth(chart, canvas, e1[k], ok1[k], e1[k - 1], ok1[k - 1]);
        segmentIfBoth(chart, canvas, e0[k], ok0[k], e1[k], ok1[k]);
    }
}

void drawCometIonTail(ChartState *chart, Canvas *canvas, int index, int count)
{
    if (count > kIonTailPoints)
        count = kIonTailPoints;
    if (count <= 0)
        return;
    canvas->setForeground(chartPixel(ColorCometIonTail));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    ProjectedPoint p[kIonTailPoints] = {};
    bool ok[kIonTailPoints] = {};
    for (int k = 0; k < count; ++k)
        ok[k] = cometIonTailPoint(chart, index, k, &p[k]);
    for (int k = 1; k < count; ++k)
        segmentIfBoth(chart, canvas, p[k - 1], ok[k - 1], p[k], ok[k]);
}

void drawCometTails(ChartState *chart, Canvas *canvas, int index)
{
    const int32_t level = chart->skyLevel;
    if (level > kTailMaxSkyLevel)
        return;
    const CometTail &tail = chart->cometTails[index];
    int dust = tail.dustCount, ion = tail.ionCount;
    if (level >= kTailFadeLevel) {
        // The tails shorten as the sky brightens, to nothing at level 12.
        const double f = (kTailMaxSkyLevel - level) / 9.0;
        dust = static_cast<int>(std::trunc(dust * f + 0.5));
        ion = static_cast<int>(std::trunc(ion * f + 0.5));
    }
    const uint8_t flags = chart->cometFlags[index];
    if (flags & kCometIonTail)
        drawCometIonTail(chart, canvas, index, ion);
    if (flags & kCometDustTail)
        drawCometDustTail(chart, canvas, index, dust);
}

void drawCometHead(ChartState *chart, Canvas *canvas, int index)
{
    ProjectedPoint p;
    if (!objectScreenPosition(chart, kObjectCometBase + index, &p))
        return;
    int32_t m = chart->cometPositions[index].magnitude10;
    if (m < chart->starLimit - kCometHeadBrightest)
        m = chart->starLimit - kCometHeadBrightest;
    starDrawSymbolColored(chart, canvas, p.x, p.y, p.depth, p.cosCentre, m, 0);
    drawBodyLabels(chart, canvas, kObjectCometBase + index, chart->cometFlags[index], &p, kSmallBodyLabelSize);
}

void chartDrawComets(ChartState *chart, Canvas *canvas, int pass)
{
    for (int32_t i = 0; i < chart->cometCount; ++i) {
        if (!drawnBody(chart, &chart->cometPositions[i], &chart->cometFlags[i], 'C'))
            continue;
        if (pass == 1)
            drawCometTails(chart, canvas, i);
        else
            drawCometHead(chart, canvas, i);
    }
}

void drawMinorPlanet(ChartState *chart, Canvas *canvas, int index)
{
    ProjectedPoint p;
    if (!objectScreenPosition(chart, kObjectMinorPlanetBase + index, &p))
        return;
    starDrawSymbolColored(chart, canvas, p.x, p.y, p.depth, p.cosCentre,
                          chart->minorPlanetPositions[index].magnitude10, ColorStar4 - ColorStar0);
    drawBodyLabels(chart, canvas, kObjectMinorPlanetBase + index, chart->minorPlanetFlags[index], &p,
                   kSmallBodyLabelSize);
}

void chartDrawMinorPlanets(ChartState *chart, Canvas *canvas)
{
    for (int32_t j = 0; j < chart->minorPlanetCount; ++j)
        if (drawnBody(chart, &chart->minorPlanetPositions[j], &chart->minorPlanetFlags[j], 'M'))
            drawMinorPlanet(chart, canvas, j);
}

void drawCometTailsLayer(ChartState *chart, Canvas *canvas) { chartDrawComets(chart, canvas, 1); }
