// The orbits, reference axes and Earth of the solar-system views, and the
// point symbols of the bodies there.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/planets.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "render/layers/grids.h"
#include "render/layers/small_bodies.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/layers/body_labels.h"

namespace {

constexpr int kEarthOutline = 2; // Mercury, Venus, Earth, Mars ...
constexpr int kMinScratch = 162;
constexpr double kAxisFraction = 0.4;
constexpr double kEquinoxAxisMaxAu = 120.0;
constexpr int kTickLength = 9;          // pixels
constexpr double kTickAngleDeg = 30.0;
constexpr int kEarthLabelSize = 3;

struct Offset {
    int8_t dx, dy;
};
constexpr Offset kBlock2[] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
constexpr Offset kBlock3[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr Offset kSunMark[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1},
                               {0, 1},   {1, 1},  {-2, 0}, {2, 0},  {0, -2}, {0, 2}};
constexpr Offset kPlus[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};

struct PointSymbol {
    int id;
    int32_t colour;
    int size;
    const Offset *pattern;
    int count;
};
#define PATTERN(p) p, static_cast<int>(sizeof p / sizeof p[0])
constexpr PointSymbol kPointSymbols[] = {
    {kObjectEarth, ColorEarth, 2, PATTERN(kBlock2)},        {kObjectSun, ColorPlanet, 5, PATTERN(kSunMark)},
    {0, ColorPlanet, 2, PATTERN(kBlock2)},              {1, ColorPlanet, 2, PATTERN(kBlock2)},
    {2, ColorMarsDisk, 2, PATTERN(kBlock2)},            {3, ColorJupiterDisk, 4, PATTERN(kBlock3)},
    {4, ColorSaturnDisk, 4, PATTERN(kBlock3)},          {5, ColorOuterPlanetsDisk, 3, PATTERN(kPlus)},
    {6, ColorOuterPlanetsDisk, 3, PATTERN(kPlus)},      {7, ColorOuterPlanetsDisk, 3, PATTERN(kPlus)},
};
#undef PATTERN

bool bothBits(uint8_t flags) { return (flags & kBodyShown) && (flags & kBodyOrbit); }

// The outlines of one table's drawn orbits.
void drawBodyOrbits(ChartState *chart, Canvas *canvas, const BodyPosition *rows, const uint8_t *flags,
                    int32_t count, char type, int32_t colour, uint8_t *scratchFlags, CanvasPoint *scratchPoints)
{
    for (int32_t i = 0; i < count; ++i)
        if (rows[i].type == type && bothBits(flags[i]) && rows[i].outlineCount > 0 && rows[i].outline)
            drawOrbitPolyline(chart, canvas, rows[i].outline, rows[i].outlineCount, false, scratchFlags,
                              scratchPoints, colour);
}

int largestOutline(const BodyPosition *rows, int32_t count)
{
    int n = 0;
    for (int32_t i = 0; i < count; ++i)
        if (rows[i].outline)
            n = std::max(n, static_cast<int>(rows[i].outlineCount));
    return n;
}

// A line from the Sun to the direction (ecliptic lon, lat) scaled to au, with
// ticks, and one to the opposite point without.
void drawAxis(ChartState *chart, Canvas *canvas, const ProjectedPoint &sun, double lonDeg, double latDeg,
              double au, bool vertical)
{
    double ecl[2] = {lonDeg, latDeg}, eqt[2];
    convertCoords(&chart->sky, COORD_ECL, ecl, COORD_EQT, eqt);
    Vec3 v;
    sphToVec(eqt, &v);
    for (int side = 0; side < 2; ++side) {
        const double s = side == 0 ? au : -au;
        Vec3 end{v.x * s, v.y * s, v.z * s};
        ProjectedPoint p;
        if (!projectSolarSystemPoint(chart, &end, &p))
            continue;
        if (vertical)
            p.x = sun.x;
        canvas->drawLine(sun.x, sun.y, p.x, p.y);
        if (side == 0)
            drawAxisTicks(canvas, sun.x, sun.y, p.x, p.y);
    }
}

void drawSolarAxes(ChartState *chart, Canvas *canvas)
{
    static const Vec3 kOrigin{0.0, 0.0, 0.0};
    ProjectedPoint sun;
    if (!projectSolarSystemPoint(chart, &kOrigin, &sun))
        return;
    canvas->setForeground(chartPixel(ColorSolarAxis));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    drawAxis(chart, canvas, sun, 0.0, 90.0, kAxisFraction * chart->fieldHeight * chart->solScale / chart->fieldWidth,
             chart->mode == kModeSol2);
    drawAxis(chart, canvas, sun, 0.0, 0.0, kAxisFraction * std::min(chart->solScale, kEquinoxAxisMaxAu), false);
}

} // namespace

int drawPointSymbol(ChartState *, Canvas *canvas, int x, int y, int id)
{
    for (const PointSymbol &s : kPointSymbols) {
        if (s.id != id)
            continue;
        CanvasPoint pts[16];
        for (int k = 0; k < s.count; ++k)
            pts[k] = {static_cast<int16_t>(x + s.pattern[k].dx), static_cast<int16_t>(y + s.pattern[k].dy)};
        canvas->setForeground(chartPixel(s.colour));
        canvas->drawPoints(pts, s.count);
        return s.size;
    }
    return 0;
}

void drawAxisTicks(Canvas *canvas, int x0, int y0, int x1, int y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    const double a = std::atan2(static_cast<double>(y0 - y1), static_cast<double>(x0 - x1)) * kRadToDeg;
    for (double side : {-kTickAngleDeg, kTickAngleDeg}) {
        const double r = (a + side) * kDegToRad;
        canvas->drawLine(x1, y1, x1 + static_cast<int>(std::trunc(kTickLength * std::cos(r))),
                         y1 + static_cast<int>(std::trunc(kTickLength * std::sin(r))));
    }
}

void drawOrbitPolyline(ChartState *chart, Canvas *canvas, const Vec3 *points, int count, bool closed,
                       uint8_t *scratchFlags, CanvasPoint *scratchPoints, int32_t paletteIndex)
{
    if (count <= 0)
        return;
    for (int k = 0; k <= count; ++k) {
        const Vec3 &v = k < count ? points[k] : points[closed ? 0 : count - 1];
        ProjectedPoint p;
        scratchFlags[k] = projectSolarSystemPoint(chart, &v, &p) ? 1 : 0;
        scratchPoints[k] = {static_cast<int16_t>(p.x), static_cast<int16_t>(p.y)};
    }
    canvas->setForeground(chartPixel(paletteIndex));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    for (int k = 0; k <= count;) {
        if (!scratchFlags[k]) {
            ++k;
            continue;
        }
        int end = k;
        while (end + 1 <= count && scratchFlags[end + 1])
            ++end;
        if (end > k)
            canvas->drawLines(&scratchPoints[k], end - k + 1);
        k = end + 1;
    }
}

void chartDrawOrbits(ChartState *chart, Canvas *canvas)
{
    const int entries = std::max({kMinScratch, largestOutline(chart->cometPositions, chart->cometCount) + 1,
                                  largestOutline(chart->minorPlanetPositions, chart->minorPlanetCount) + 1});
    auto *flags = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(entries)));
    auto *pts = static_cast<CanvasPoint *>(std::malloc(sizeof(CanvasPoint) * static_cast<size_t>(entries)));
    if (!flags || !pts) {
        std::free(flags);
        std::free(pts);
        return;
    }
    // Planet orbits barely change within a thousand years; the date is kept
    // only for outlines that were made, so a failure is tried again.
    if (std::fabs(chart->sky.jd - chart->orbitJd) > kPlanetOrbitRedoDays &&
        planetOrbitOutlines(&chart->sky, chart->planetOrbits))
        chart->orbitJd = chart->sky.jd;
    for (int i = 0; i < kOrbitOutlineCount; ++i) {
        const uint8_t f = i == kEarthOutline ? chart->earthFlags : chart->planetFlags[i < kEarthOutline ? i : i - 1];
        if (bothBits(f))
            drawOrbitPolyline(chart, canvas, chart->planetOrbits[i], kOrbitOutlinePoints, true, flags, pts,
                              ColorOrbit);
    }
    drawBodyOrbits(chart, canvas, chart->cometPositions, chart->cometFlags, chart->cometCount, 'C', ColorOrbitComet,
                   flags, pts);
    drawBodyOrbits(chart, canvas, chart->minorPlanetPositions, chart->minorPlanetFlags, chart->minorPlanetCount, 'M',
                   ColorOrbitMinorPlanet, flags, pts);
    if (chart->otherGridFlags & kSolGrid)
        drawSolarAxes(chart, canvas);
    ProjectedPoint earth;
    if (objectScreenPosition(chart, kObjectEarth, &earth)) {
        drawPointSymbol(chart, canvas, earth.x, earth.y, kObjectEarth);
        drawBodyLabels(chart, canvas, kObjectEarth, chart->earthFlags, &earth, kEarthLabelSize);
    }
    std::free(flags);
    std::free(pts);
}
