// Comet heads and tails and the minor planets.
#include <cmath>
#include <vector>

#include "astro/comet_tails.h"
#include "astro/constants.h"
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

// How far from the head (AU) the shown tails' points can lie
// (cometTailSpread, kept for the date), kUnboundedTailSpreadAu where no
// bound is known. The reach about the head adds a margin for its rounding.
double tailSpreadAu(ChartState *chart, int index)
{
    double ion, dust;
    ephemCometTailSpread(chart, index, &ion, &dust);
    const uint8_t flags = chart->cometFlags[index];
    double spread = 0.0;
    if (flags & kCometIonTail)
        spread = ion;
    if ((flags & kCometDustTail) && !(dust <= spread))
        spread = dust;
    return spread < kUnboundedTailSpreadAu ? spread : kUnboundedTailSpreadAu; // NaN too
}

double tailReachAu(ChartState *chart, int index)
{
    constexpr double kHeadOffsetAu = 0.01;
    const double reach = tailSpreadAu(chart, index) + kHeadOffsetAu;
    return reach < kUnboundedTailSpreadAu ? reach : kUnboundedTailSpreadAu;
}

// The tails are worked out in the orbit plane turned to J2000 from a month
// before the epoch the head's position turns from: at most this angle apart
// (a month of precession is about 4.3 arc seconds), so a tail's nucleus lies
// within this times the comet's distance from the Sun of the head.
constexpr double kTailFrameTurnRad = 1e-4;

// The magnitude a comet's head is drawn at.
int32_t cometHeadMagnitude(const ChartState *chart, int index)
{
    const int32_t m = chart->cometPositions[index].magnitude10;
    return m < chart->starLimit - kCometHeadBrightest ? chart->starLimit - kCometHeadBrightest : m;
}

double clampUnit(double v) { return v < -1.0 ? -1.0 : (v > 1.0 ? 1.0 : v); }

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

bool cometTailsCanReachChart(ChartState *chart, int index)
{
    if (chart->skyLevel > kTailMaxSkyLevel)
        return false;
    const uint8_t flags = chart->cometFlags[index];
    if (!(flags & (kCometIonTail | kCometDustTail)))
        return false;
    const int32_t kind = chartModeKind(chart->mode);
    if (kind == kKindSolar)
        return false; // tails have no screen points there
    if (kind != kKindSky)
        return true; // the whole-sky maps and the planisphere show every direction
    // The sky charts draw a point within the cone of cullCos about the
    // centre (the view matrix's first row), and the horizontal chart only
    // down to the depth limit below the horizon (the depth matrix's last
    // row); the tail lies within the angle its reach subtends at the head's
    // distance.
    const BodyPosition &head = chart->cometPositions[index];
    const double reach = tailReachAu(chart, index);
    if (!(reach < head.earthDistance))
        return true;
    constexpr double kMarginRad = 0.05 * kDegToRad; // the head's aberration and rounding
    const double spread = std::asin(reach / head.earthDistance) + kMarginRad;
    auto angle = [](const Mat3 &m, int row, const Vec3 &u) {
        return std::acos(clampUnit(m.m[3 * row] * u.x + m.m[3 * row + 1] * u.y + m.m[3 * row + 2] * u.z));
    };
    const Vec3 &u = head.geoUnit;
    if (angle(chart->viewMatrix, 0, u) > std::acos(clampUnit(chart->cullCos)) + spread)
        return false;
    // The depth is the sine of the altitude: the head's zenith distance
    // against the limit's.
    if (chart->mode == kModeHrz && angle(chart->horizonMatrix, 2, u) > std::acos(clampUnit(chart->cullDepth)) + spread)
        return false;
    return true;
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

bool cometTailsUnderHead(ChartState *chart, int index)
{
    if (chartModeKind(chart->mode) != kKindSky)
        return false;
    ProjectedPoint p;
    if (!objectScreenPosition(chart, kObjectCometBase + index, &p))
        return false;
    const BodyPosition &head = chart->cometPositions[index];
    const double spread = tailSpreadAu(chart, index) +
                          kTailFrameTurnRad * head.sunDistance;
    if (!(spread < head.earthDistance))
        return false;
    ScreenSpan span;
    if (!projectSpanPrecise(chart, &head.geoUnit, std::asin(spread / head.earthDistance), &span))
        return false;
    // Thin lines light pixels between their ends; a wide one reaches half
    // its width and a pixel more beyond them.
    const int margin = appData->lineWidth > 0 ? (appData->lineWidth + 1) / 2 + 1 : 0;
    span = ScreenSpan{span.x0 - margin, span.y0 - margin, span.x1 + margin, span.y1 + margin};
    if (int64_t{span.x1} - span.x0 > 4 || int64_t{span.y1} - span.y0 > 4)
        return false; // wider than any symbol
    int8_t offsets[kMaxSymbolPixels][2];
    const int n = starSymbolOffsets(starSymbolClass(chart->starLimit, cometHeadMagnitude(chart, index)), offsets);
    for (int32_t y = span.y0; y <= span.y1; y++)
        for (int32_t x = span.x0; x <= span.x1; x++) {
            bool covered = false;
            for (int i = 0; i < n && !covered; i++)
                covered = p.x + offsets[i][0] == x && p.y + offsets[i][1] == y;
            if (!covered)
                return false;
        }
    return true;
}

void drawCometHead(ChartState *chart, Canvas *canvas, int index)
{
    ProjectedPoint p;
    if (!objectScreenPosition(chart, kObjectCometBase + index, &p))
        return;
    starDrawSymbolColored(chart, canvas, p.x, p.y, p.depth, p.cosCentre, cometHeadMagnitude(chart, index), 0);
    drawBodyLabels(chart, canvas, kObjectCometBase + index, chart->cometFlags[index], &p, kSmallBodyLabelSize);
}

void chartDrawComets(ChartState *chart, Canvas *canvas, int pass)
{
    if (pass != 1) {
        for (int32_t i = 0; i < chart->cometCount; ++i)
            if (drawnBody(chart, &chart->cometPositions[i], &chart->cometFlags[i], 'C'))
                drawCometHead(chart, canvas, i);
        return;
    }
    // A tail is computed where it is drawn, and only when it can show: most
    // of thousands of comets are far off the chart, and many others have
    // tails too short to leave their head's symbol. The tails are computed
    // together (on several threads when there are many), then drawn in the
    // comets' order.
    if (chartModeKind(chart->mode) == kKindSky && chart->skyLevel <= kTailMaxSkyLevel)
        ephemCometTailSpreads(chart);
    std::vector<int32_t> shown;
    for (int32_t i = 0; i < chart->cometCount; ++i)
        if (drawnBody(chart, &chart->cometPositions[i], &chart->cometFlags[i], 'C') &&
            cometTailsCanReachChart(chart, i) && !cometTailsUnderHead(chart, i))
            shown.push_back(i);
    ephemUpdateCometTailsOf(chart, shown.data(), static_cast<int32_t>(shown.size()));
    for (int32_t i : shown) {
        // A failure handler may have changed the table.
        if (i >= chart->cometCount || !drawnBody(chart, &chart->cometPositions[i], &chart->cometFlags[i], 'C'))
            continue;
        ephemUpdateCometTails(chart, i);
        drawCometTails(chart, canvas, i);
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

// Thousands of minor planets: their symbols go out as drawMinorPlanet draws
// them, in their order, but the symbols of consecutive bodies of one colour
// as one call (the same pixels in the same order between colours).
void chartDrawMinorPlanets(ChartState *chart, Canvas *canvas)
{
    std::vector<CanvasPoint> run;
    uint32_t runPixel = 0;
    auto flush = [&] {
        if (run.empty())
            return;
        canvas->setForeground(runPixel);
        if (run.size() == 1)
            canvas->drawPoint(run[0].x, run[0].y);
        else
            canvas->drawPoints(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (int32_t j = 0; j < chart->minorPlanetCount; ++j) {
        if (!drawnBody(chart, &chart->minorPlanetPositions[j], &chart->minorPlanetFlags[j], 'M'))
            continue;
        ProjectedPoint p;
        if (!objectScreenPosition(chart, kObjectMinorPlanetBase + j, &p))
            continue;
        const int cls = starSymbolClass(chart->starLimit, chart->minorPlanetPositions[j].magnitude10);
        int8_t offsets[kMaxSymbolPixels][2];
        const int n = starSymbolOffsets(cls, offsets);
        const uint32_t pixel = chartPixel(cls == 1 ? chart->faintStarColour : ColorStar4);
        if (pixel != runPixel)
            flush();
        runPixel = pixel;
        for (int i = 0; i < n; i++)
            run.push_back(CanvasPoint{static_cast<int16_t>(p.x + offsets[i][0]), static_cast<int16_t>(p.y + offsets[i][1])});
        const uint8_t flags = chart->minorPlanetFlags[j];
        if (flags & (kBodyName | kBodyMag | kBodyDate)) {
            flush();
            drawBodyLabels(chart, canvas, kObjectMinorPlanetBase + j, flags, &p, kSmallBodyLabelSize);
        }
    }
    flush();
}

void drawCometTailsLayer(ChartState *chart, Canvas *canvas) { chartDrawComets(chart, canvas, 1); }
