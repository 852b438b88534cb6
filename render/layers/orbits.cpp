// The orbits, reference axes and Earth of the solar-system views, and the
// point symbols of the bodies there.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/orbits.h"
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

// A 64-bit key of what a group of outlines looks like on the screen: the
// words fed in, mixed as they come.
struct OrbitKey {
    uint64_t h = 0x9E3779B97F4A7C15ull;
    void add(uint64_t w) { h = (h ^ w) * 0x100000001B3ull + (h >> 29); }
    void add(double d) {
        uint64_t w;
        std::memcpy(&w, &d, sizeof w);
        add(w);
    }
};

// The projection of projectSolarSystemPoint and the pixmap the lines go to.
void addSolarSystemView(const ChartState *chart, OrbitKey *key)
{
    for (double m : chart->viewMatrix.m)
        key->add(m);
    for (double o : chart->solOffset)
        key->add(o);
    key->add(chart->projScale[0]);
    key->add(chart->projScale[1]);
    key->add(chart->solScale);
    key->add(static_cast<uint64_t>(static_cast<uint16_t>(chart->centerX)) << 16 |
             static_cast<uint16_t>(chart->centerY));
    key->add(static_cast<uint64_t>(chart->chartRect.width) << 48 | static_cast<uint64_t>(chart->chartRect.height) << 32 |
             static_cast<uint64_t>(static_cast<uint16_t>(chart->chartRect.x)) << 16 |
             static_cast<uint16_t>(chart->chartRect.y));
    key->add(static_cast<uint64_t>(static_cast<uint32_t>(appData->lineWidth)));
}

bool outlineDrawn(const BodyPosition &row, uint8_t flags, char type)
{
    return row.type == type && bothBits(flags) && row.outlineCount > 0 && row.outline;
}

// Whether a body's outline can put a pixel on the pixmap: every point of it
// lies within its aphelion distance of the Sun, or within the outline's cut
// radius, and the projection is a rotation scaled per axis, so the outline
// lies in the box about the Sun's screen point of those radii.
bool outlineCanReachChart(const ChartState *chart, const OrbitalElements &el)
{
    const double e = el.eccentricity, q = el.perihelionDistance;
    double reach = kOutlineCutAu;
    if (e >= 0.0 && e < 1.0 && q >= 0.0)
        reach = std::fmin(reach, q * (1.0 + e) / (1.0 - e));
    reach = reach * (1.0 + 1e-9) + 1e-9;
    const Vec3 origin{chart->solOffset[0], chart->solOffset[1], chart->solOffset[2]};
    const Vec3 sun{-origin.x, -origin.y, -origin.z};
    Vec3 v;
    mat3MulVec(&sun, &chart->viewMatrix, &v);
    const double x = chart->centerX - chart->projScale[0] * v.y, y = chart->centerY - chart->projScale[1] * v.z;
    const double margin = 2.0 + appData->lineWidth;
    const double rx = std::fabs(chart->projScale[0]) * reach + margin, ry = std::fabs(chart->projScale[1]) * reach + margin;
    const double right = chart->chartRect.x + chart->chartRect.width, bottom = chart->chartRect.y + chart->chartRect.height;
    // NaN compares false and draws.
    return !(x + rx < 0.0 || x - rx > right || y + ry < 0.0 || y - ry > bottom);
}

// The outlines of one table's drawn orbits, as one kept picture: while the
// view, the line width and the table's drawn outlines stand still, a frame
// paints the picture the last frame kept instead of projecting and drawing
// every point again. An outline is made only from its elements, so they
// stand for its points in the key.
void drawBodyOrbits(ChartState *chart, Canvas *canvas, const BodyPosition *rows, const OrbitalElements *elements,
                    const uint8_t *flags, int32_t count, char type, int32_t colour, int slot, uint8_t *scratchFlags,
                    CanvasPoint *scratchPoints)
{
    OrbitKey key;
    addSolarSystemView(chart, &key);
    int drawn = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (!outlineDrawn(rows[i], flags[i], type))
            continue;
        // The fields of one body mixed apart, then into the key.
        const OrbitalElements &el = elements[i];
        const double fields[6] = {el.eccentricity, el.perihelionDistance, el.argPerihelion,
                                  el.ascendingNode, el.inclination,    el.equinox};
        uint64_t w[6];
        std::memcpy(w, fields, sizeof w);
        key.add(static_cast<uint64_t>((static_cast<uint64_t>(i) << 32 | static_cast<uint32_t>(rows[i].outlineCount)) ^
                w[0] * 0x9E3779B97F4A7C15ull ^ w[1] * 0xC2B2AE3D27D4EB4Full ^ w[2] * 0x165667B19E3779F9ull ^
                w[3] * 0xD6E8FEB86659FD93ull ^ w[4] * 0xFF51AFD7ED558CCDull ^ w[5] * 0xC4CEB9FE1A85EC53ull));
        ++drawn;
    }
    if (drawn == 0)
        return;
    const uint64_t name = key.h != 0 ? key.h : 1;
    canvas->setForeground(chartPixel(colour));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    if (canvas->keptPictureShow(slot, name))
        return;
    canvas->keptPictureBegin(slot, name);
    for (int32_t i = 0; i < count; ++i)
        if (outlineDrawn(rows[i], flags[i], type) && outlineCanReachChart(chart, elements[i]))
            drawOrbitPolyline(chart, canvas, rows[i].outline, rows[i].outlineCount, false, scratchFlags,
                              scratchPoints, colour);
    canvas->keptPictureEnd(slot);
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
    drawBodyOrbits(chart, canvas, chart->cometPositions, chart->cometElements, chart->cometFlags, chart->cometCount,
                   'C', ColorOrbitComet, kKeptCometOrbits, flags, pts);
    drawBodyOrbits(chart, canvas, chart->minorPlanetPositions, chart->minorPlanetElements, chart->minorPlanetFlags,
                   chart->minorPlanetCount, 'M', ColorOrbitMinorPlanet, kKeptMinorPlanetOrbits, flags, pts);
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
