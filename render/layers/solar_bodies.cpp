#include "render/layers/solar_bodies.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "astro/eclipse.h"
#include "model/body_names.h"
#include "model/lexing.h"
#include "render/body_shapes.h"
#include "render/layers/body_labels.h"
#include "render/layers/small_bodies.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/star_symbols.h"

namespace {

// A disc's radius in pixels from its size on the sky. At the narrowest
// fields it is thousands of millions of pixels, past what an int holds; it
// is held at a radius still far beyond the canvas's 16-bit reach, so the
// picture is the same and the diameters and label offsets stay in range.
int discRadiusPixels(double pixels)
{
    constexpr int kMostRadius = 1 << 28;
    return pixels < kMostRadius ? static_cast<int>(pixels + 0.5) : kMostRadius;
}

uint32_t pixelOf(int32_t paletteIndex)
{
    if (paletteIndex < 0 || paletteIndex >= kPaletteSlots)
        return 0;
    return static_cast<uint32_t>(appData->pixels[paletteIndex]);
}

bool solarSystemView(const ChartState *chart) { return isSolarMode(chart->mode); }
bool horizontalChart(const ChartState *chart) { return isHorizonMode(chart->mode); }
double pxPerDeg(const ChartState *chart) { return chart->pixelsPerRadianX * M_PI / 180.0; }
bool flipped(const ChartState *chart) { return chart->mirror == kMirrorFlipped; }

// Right-ascension difference a - b in (-180, 180]: no jump across 0h.
double raDifference(double a, double b)
{
    double d = wrap360(a - b);
    return d > 180.0 ? d - 360.0 : d;
}

// The star layer's symbol; in the horizontal chart a low planet is dimmed
// and reddened like a star.
int planetStarSymbol(ChartState *chart, Canvas *canvas, const ProjectedPoint *p, int32_t mag10,
                     int32_t paletteIndex)
{
    if (chart->mode == kModeHrz && p->depth <= kExtinctionDepthQ14) {
        int m = mag10, colourClass = paletteIndex - ColorStar0;
        starHorizonExtinction(p->depth, &m, &colourClass);
        return starDrawSymbolColored(chart, canvas, p->x, p->y, p->depth, p->cosCentre, m,
                                     colourClass);
    }
    return starDrawSymbol(chart, canvas, p->x, p->y, p->depth, p->cosCentre, mag10, paletteIndex);
}

int pointSymbolAt(ChartState *chart, Canvas *canvas, int id, const ProjectedPoint *p)
{
    return drawPointSymbol(chart, canvas, p->x, p->y, id);
}

void projectRaDec(ChartState *chart, const double raDec[2], int *ok, ProjectedPoint *out)
{
    Vec3 v;
    sphToVec(raDec, &v);
    *ok = projectPointPrecise(chart, &v, out);
}

void fillVertices(Canvas *canvas, const CanvasPoint *v, int n, uint32_t pixel,
                  CanvasPolygonShape shape)
{
    if (n <= 0)
        return;
    canvas->setForeground(pixel);
    canvas->fillPolygon(v, n, shape);
}

void outlineVertices(Canvas *canvas, const CanvasPoint *v, int n, uint32_t pixel)
{
    if (n <= 0)
        return;
    canvas->setForeground(pixel);
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    canvas->drawLines(v, n);
}

} // namespace

const SolarBodyServices kDefaultSolarBodyServices = {
    planetStarSymbol,
    pointSymbolAt,
    objectScreenPosition,
};
SolarBodyServices solarBodyServices = kDefaultSolarBodyServices;

// --- shapes ---

void fillCircle(ChartState *, Canvas *canvas, const ProjectedPoint *c, int r, uint32_t pixel)
{
    CanvasPoint v[kCircleVertices];
    int n = circleVertices(c->x, c->y, r, appData->pixelAspect, v);
    fillVertices(canvas, v, n, pixel, PolygonComplex);
}

void drawCircle(ChartState *, Canvas *canvas, const ProjectedPoint *c, int r, uint32_t pixel)
{
    CanvasPoint v[kCircleVertices];
    int n = circleVertices(c->x, c->y, r, appData->pixelAspect, v);
    outlineVertices(canvas, v, n, pixel);
}

void fillEllipseRotated(ChartState *, Canvas *canvas, const ProjectedPoint *c, int r,
                        double flattening, double angleDeg, uint32_t pixel)
{
    CanvasPoint v[kCircleVertices];
    int n = ellipseVertices(c->x, c->y, r, flattening, angleDeg, appData->pixelAspect, v);
    fillVertices(canvas, v, n, pixel, PolygonComplex);
}

void fillPhase(ChartState *, Canvas *canvas, const ProjectedPoint *c, int r, double k,
               double angleDeg, int32_t paletteIndex)
{
    CanvasPoint v[kPhaseVertices];
    int n = phaseVertices(c->x, c->y, r, k, angleDeg, appData->pixelAspect, v);
    fillVertices(canvas, v, n, pixelOf(paletteIndex), PolygonComplex);
}

void drawPhaseOutline(ChartState *, Canvas *canvas, const ProjectedPoint *c, int r, double k,
                      double angleDeg, uint32_t pixel)
{
    CanvasPoint v[kPhaseOutlineVertices];
    int n = phaseOutlineVertices(c->x, c->y, r, k, angleDeg, appData->pixelAspect, v);
    outlineVertices(canvas, v, n, pixel);
}

namespace {

void fillSaturnRings(Canvas *canvas, const ProjectedPoint *c, int r, int half, double e,
                     double sinA, double cosA, const uint32_t colours[3])
{
    CanvasPoint v[kRingHalfVertices];
    int n = ringHalfVertices(c->x, c->y, kSaturnRingBInner * r, kSaturnRingBOuter * r, half, e,
                             sinA, cosA, appData->pixelAspect, v);
    fillVertices(canvas, v, n, colours[2], PolygonNonconvex);
    n = ringHalfVertices(c->x, c->y, kSaturnRingAInner * r, kSaturnRingAOuter * r, half, e, sinA,
                         cosA, appData->pixelAspect, v);
    fillVertices(canvas, v, n, colours[1], PolygonNonconvex);
}

} // namespace

void drawSaturn(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r,
                double flattening, double angleDeg, double ringAxisAngleDeg,
                const uint32_t colours[3])
{
    double e = cosDeg(ringAxisAngleDeg);
    double sinA = sinDeg(angleDeg), cosA = cosDeg(angleDeg);
    fillSaturnRings(canvas, c, r, 0, e, sinA, cosA, colours);
    fillEllipseRotated(chart, canvas, c, r, flattening, angleDeg, colours[0]);
    fillSaturnRings(canvas, c, r, 1, e, sinA, cosA, colours);
}

bool fillEclipseShadow(ChartState *, Canvas *canvas, const ProjectedPoint *moonCentre, int moonR,
                       const ProjectedPoint *shadowCentre, int shadowR, bool filled)
{
    CanvasPoint v[kEclipseShadowVertices];
    int n = eclipseShadowVertices(moonCentre->x, moonCentre->y, moonR, shadowCentre->x,
                                  shadowCentre->y, shadowR, filled ? 1 : 0, appData->pixelAspect,
                                  v);
    if (n == 0)
        return false;
    if (filled)
        fillVertices(canvas, v, n, pixelOf(ColorMoonEclipse), PolygonComplex);
    else
        outlineVertices(canvas, v, n, pixelOf(ColorMoonEclipse));
    return true;
}

bool moonShadowGeometry(ChartState *chart, const ProjectedPoint *moonCentre, int r0,
                        double northAngleDeg, ProjectedPoint *shadowCentre, int *shadowR,
                        double *magnitude)
{
    const MoonRecord &moon = chart->moon;
    double centre[2] = {wrap360(chart->sun.raJ2000Deg + 180.0), -chart->sun.decJ2000Deg};
    double rho = 0.76 * std::atan(kEarthRadiusKmShadow / moon.geoDistanceKm) * kRadToDeg;
    double moonGeo[2] = {moon.raGeoJ2000Deg, moon.decGeoJ2000Deg};
    double pa = 0.0, sep = 0.0;
    if (!(moon.geoDistanceKm > 0.0) ||
        !discsOverlap(moonGeo, centre, rho + moon.geoSemidiameterDeg, &pa, &sep)) {
        *magnitude = -1.0;
        return false;
    }
    *magnitude = (rho - (sep - moon.geoSemidiameterDeg)) / (2.0 * moon.geoSemidiameterDeg);

    // The shadow is seen from the site: shift it by the Moon's parallax.
    double drawn[2] = {
        wrap360(centre[0] + raDifference(moon.raJ2000Deg, moon.raGeoJ2000Deg)),
        centre[1] + (moon.decJ2000Deg - moon.decGeoJ2000Deg),
    };
    int ok = 0;
    projectRaDec(chart, drawn, &ok, shadowCentre);
    *shadowR = static_cast<int>(rho * pxPerDeg(chart));

    int minR = appData->minDiskRadius;
    if (r0 < minR && moon.semidiameterDeg > 0.0) {
        // The disc is drawn enlarged: the shadow grows with it.
        double scale = minR / moon.semidiameterDeg;
        *shadowR = static_cast<int>(rho * scale);
        double d = sep * scale;
        double h = pa - 180.0 + northAngleDeg + 90.0;
        shadowCentre->x = moonCentre->x - static_cast<int>(d * cosDeg(h));
        shadowCentre->y = moonCentre->y + static_cast<int>(d * sinDeg(h));
        return true;
    }
    return ok != 0;
}

double screenNorthAngle(ChartState *chart, const double raDec[2], int r, const ProjectedPoint *c)
{
    double step = r <= 1 ? 4.0 : (r == 2 ? 2.0 : 0.5);
    double aux[2] = {raDec[0], raDec[1] + step};
    ProjectedPoint p;
    int ok = 0;
    projectRaDec(chart, aux, &ok, &p);
    if (!ok)
        return 0.0;
    return 270.0 - std::atan2(static_cast<double>(p.y - c->y), static_cast<double>(p.x - c->x)) *
                       kRadToDeg;
}

// --- bodies ---

namespace {

struct PlanetColours {
    int32_t disc, symbol;
};
const PlanetColours kPlanetColours[kPlanetCount] = {
    {ColorPlanet, ColorStar4},           {ColorPlanet, ColorStar4},
    {ColorMarsDisk, ColorStar9},         {ColorJupiterDisk, ColorStar6},
    {ColorSaturnDisk, ColorStar7},       {ColorOuterPlanetsDisk, ColorStar1},
    {ColorOuterPlanetsDisk, ColorStar1}, {ColorOuterPlanetsDisk, ColorStar1},
};

// Angles measured on the sky turn the other way in the flipped chart.
double turned(const ChartState *chart, double north, double angle)
{
    return flipped(chart) ? north - angle : north + angle;
}

int drawPlanetDisc(ChartState *chart, Canvas *canvas, int id, const ProjectedPoint *p,
                   int32_t shadowPaletteIndex)
{
    const SolarBodyRecord &b = chart->planets[id];
    int r = discRadiusPixels(pxPerDeg(chart) * (b.diameterArcsec / 3600.0) * 0.5 * chart->diskMag);
    if (r < 1)
        r = 1;
    double raDec[2] = {b.raDeg, b.decDeg};
    double north = screenNorthAngle(chart, raDec, r, p);
    if (id == kObjectJupiter) {
        fillEllipseRotated(chart, canvas, p, r, 0.9333, turned(chart, north, b.poleAngleDeg),
                           pixelOf(ColorJupiterDisk));
    } else if (id == kObjectSaturn) {
        const uint32_t colours[3] = {pixelOf(ColorSaturnDisk), pixelOf(ColorSaturnRingA),
                                     pixelOf(ColorSaturnRingB)};
        drawSaturn(chart, canvas, p, r, saturnFlattening(b.poleTiltDeg),
                   turned(chart, north, b.poleAngleDeg), b.poleTiltDeg, colours);
    } else if (b.phase > 0.01) {
        fillCircle(chart, canvas, p, r, pixelOf(kPlanetColours[id].disc));
        fillPhase(chart, canvas, p, r, b.phase, turned(chart, north, b.limbAngleDeg),
                  shadowPaletteIndex);
    } else {
        fillCircle(chart, canvas, p, r, pixelOf(shadowPaletteIndex));
    }
    return r;
}

} // namespace

void chartDrawPlanet(ChartState *chart, Canvas *canvas, int fromId, int toId,
                     int32_t shadowPaletteIndex)
{
    for (int id = fromId; id >= toId; --id) {
        if (id < 0 || id >= kPlanetCount)
            continue;
        ProjectedPoint p;
        if (!solarBodyServices.objectScreenPosition(chart, id, &p))
            continue;
        int size;
        if (solarSystemView(chart))
            size = solarBodyServices.drawPointSymbol(chart, canvas, id, &p);
        else if (!(chart->planetFlags[id] & kBodyDisk))
            size = solarBodyServices.starDrawSymbol(chart, canvas, &p,
                                                    chart->planets[id].magnitude10,
                                                    kPlanetColours[id].symbol);
        else
            size = drawPlanetDisc(chart, canvas, id, &p, shadowPaletteIndex);
        drawBodyLabels(chart, canvas, id, chart->planetFlags[id], &p, size);
    }
}

void chartDrawSun(ChartState *chart, Canvas *canvas)
{
    ProjectedPoint p;
    if (!solarBodyServices.objectScreenPosition(chart, kObjectSun, &p))
        return;
    if (solarSystemView(chart)) {
        int size = solarBodyServices.drawPointSymbol(chart, canvas, kObjectSun, &p);
        drawBodyLabels(chart, canvas, kObjectSun, chart->sunFlags, &p, size);
        return;
    }
    int r = discRadiusPixels(pxPerDeg(chart) * chart->sun.semidiameterDeg);
    if (r < appData->minDiskRadius)
        r = appData->minDiskRadius;
    int32_t colour = ColorStar3;
    if (horizontalChart(chart))
        sunColorByAltitude(chart->sun.altitudeDeg, &colour);
    if (chart->sunFlags & kBodyDisk)
        drawCircle(chart, canvas, &p, r, pixelOf(colour));
    else
        fillCircle(chart, canvas, &p, r, pixelOf(colour));
    drawBodyLabels(chart, canvas, kObjectSun, chart->sunFlags, &p, r);
}

void chartDrawMoon(ChartState *chart, Canvas *canvas, int32_t shadowOffset)
{
    ProjectedPoint p;
    if (!solarBodyServices.objectScreenPosition(chart, kObjectMoon, &p))
        return;
    const MoonRecord &moon = chart->moon;
    bool outline = (chart->moonFlags & kBodyDisk) != 0;
    int minR = appData->minDiskRadius;
    double r0e = pxPerDeg(chart) * moon.semidiameterDeg;
    int r0 = discRadiusPixels(r0e);
    int r = r0 < minR ? minR : r0;
    double topo[2] = {moon.raJ2000Deg, moon.decJ2000Deg};
    double north = screenNorthAngle(chart, topo, r0, &p);
    double limb = turned(chart, north, moon.limbAngleDeg);
    int32_t colour = ColorStar3;
    if (horizontalChart(chart))
        sunColorByAltitude(moon.altitudeDeg, &colour);
    uint32_t c = pixelOf(colour);
    int32_t shadow = chart->skyColourBase + shadowOffset;

    ProjectedPoint shadowCentre{0, 0, 0, 0};
    int shadowR = 0;
    double m = -1.0;
    bool eclipse = moonShadowGeometry(chart, &p, r0, north, &shadowCentre, &shadowR, &m);
    if (eclipse) {
        if (m > 0.999) {
            if (outline)
                drawCircle(chart, canvas, &p, r, c);
            else
                fillCircle(chart, canvas, &p, r, pixelOf(ColorMoonEclipse));
        } else if (outline) {
            drawCircle(chart, canvas, &p, r, c);
            fillEclipseShadow(chart, canvas, &p, r, &shadowCentre, shadowR, false);
        } else {
            fillCircle(chart, canvas, &p, r, c);
            if (!fillEclipseShadow(chart, canvas, &p, r, &shadowCentre, shadowR, true))
                fillCircle(chart, canvas, &p, r, m > 0.5 ? pixelOf(ColorMoonEclipse) : c);
        }
    } else if (moon.phase > 0.005) {
        if (outline) {
            drawCircle(chart, canvas, &p, r, c);
            drawPhaseOutline(chart, canvas, &p, r, moon.phase, limb, c);
        } else {
            fillCircle(chart, canvas, &p, r, c);
            fillPhase(chart, canvas, &p, r, moon.phase, limb, shadow);
        }
    } else if (outline) {
        drawCircle(chart, canvas, &p, r, c);
    } else if (r0 >= minR) {
        fillCircle(chart, canvas, &p, r, pixelOf(shadow));
    } else if (chart->sun.eclipseMagnitude >= 0.0 && r0e > 0.0) {
        // The enlarged new Moon keeps its place against the enlarged Sun.
        double scale = minR / r0e;
        double place[2] = {
            wrap360(chart->sun.raJ2000Deg +
                    raDifference(moon.raJ2000Deg, chart->sun.raJ2000Deg) * scale),
            chart->sun.decJ2000Deg + (moon.decJ2000Deg - chart->sun.decJ2000Deg) * scale,
        };
        int ok = 0;
        projectRaDec(chart, place, &ok, &p);
        if (ok)
            fillCircle(chart, canvas, &p, r, pixelOf(shadow));
    }
    chart->moon.lunarEclipseMagnitude = m;
    drawBodyLabels(chart, canvas, kObjectMoon, chart->moonFlags, &p, r);
}

void chartDrawSatelliteNames(ChartState *chart, Canvas *canvas)
{
    if (solarSystemView(chart) || !(chart->planetFlags[kObjectJupiter] & kBodyShown) ||
        !(chart->jupiterMoonFlags & kJmoonShown))
        return;
    CanvasTextExtent constExtent = canvas->fontSetMaxExtent(ConstNameFontset);
    for (int i = 0; i < kGalileanMoonCount; ++i) {
        ProjectedPoint p;
        if (!projectPointPrecise(chart, &chart->galileanMoons[i].unit, &p))
            continue;
        canvas->setForeground(pixelOf(ColorWhite));
        canvas->drawPoint(p.x, p.y);
        int x = p.x + 4;
        canvas->setForeground(pixelOf(ColorSatelliteNameFont));
        if (chart->jupiterMoonFlags & kJmoonNo) {
            static const char *const kNumerals[kGalileanMoonCount] = {"I", "II", "III", "IV"};
            canvas->drawString(SatelliteNameFontset, p.x + 4, p.y, kNumerals[i],
                               static_cast<int>(std::strlen(kNumerals[i])));
            x = p.x + 9;
        }
        if (chart->jupiterMoonFlags & kJmoonName) {
            char name[64];
            objectName(chart, kObjectIo + i, 0, name, sizeof name);
            canvas->drawString(SatelliteNameFontset, x, p.y + constExtent.height - 4, name,
                               static_cast<int>(std::strlen(name)));
        }
    }
}
