#include "render/hit_test.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/vecmat.h"
#include "model/body_names.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/position.h"
#include "model/star_limit.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/object_screen.h"
#include "render/shown_objects.h"
#include "render/status_band.h"
#include "resources/catalogs.h"

namespace {

// Class 1's rows: the bodies in search order. The Galilean moons' body ids
// (8 to 11) are not here: kind 54 picks them.
constexpr int32_t kBodyOrder[] = {kObjectEarth,   kObjectSun,    kObjectMoon,    kObjectMercury,
                                  kObjectVenus,   kObjectMars,   kObjectJupiter, kObjectSaturn,
                                  kObjectUranus,  kObjectNeptune, kObjectPluto};
constexpr int32_t kBodyOrderCount = sizeof kBodyOrder / sizeof kBodyOrder[0];

// What one search needs about the clicked spot.
struct HitPoint {
    int32_t x, y;      // the hot spot
    int hasDirection;  // the pixel is on the sky
    Vec3Q14 dir;       // its J2000 direction, Q14
    int32_t cone;      // Q14 half-size of the search box
};

int withinPixels(ChartState *chart, int32_t id, const HitPoint &p, int32_t t)
{
    ProjectedPoint sp;
    if (!objectScreenPosition(chart, id, &sp))
        return 0;
    return std::llabs(static_cast<long long>(sp.x) - p.x) <= t &&
           std::llabs(static_cast<long long>(sp.y) - p.y) <= t;
}

int withinCone(const HitPoint &p, const Vec3Q14 &v, int32_t cone)
{
    return p.hasDirection && std::abs(v.x - p.dir.x) < cone && std::abs(v.y - p.dir.y) < cone &&
           std::abs(v.z - p.dir.z) < cone;
}

double pixelsPerDegree(const ChartState *chart) { return chart->pixelsPerRadianX * kDegToRad; }

// A radius in pixels of an angle, as the body layers draw it.
int32_t discRadius(const ChartState *chart, double radiusDeg)
{
    if (isSolarMode(chart->mode))
        return 2;
    const double r = pixelsPerDegree(chart) * radiusDeg + 0.5;
    return r > 1e6 ? 1000000 : r < 0 ? 0 : static_cast<int32_t>(r);
}

// How near the hot spot a body's screen point must be, pixels.
int32_t bodyTolerance(const ChartState *chart, int32_t id)
{
    int32_t t = 2;
    if (id == kObjectSun || id == kObjectMoon) {
        int32_t r = discRadius(chart, id == kObjectSun ? chart->sun.semidiameterDeg : chart->moon.semidiameterDeg);
        if (r > 200)
            r = 200;
        t = r > 5 ? 2 * r / 3 : 4;
    } else if (id >= 0 && id < kPlanetCount && (chart->planetFlags[id] & kBodyDisk)) {
        int32_t r = discRadius(chart, chart->planets[id].diameterArcsec / 3600.0 * 0.5 * chart->diskMag);
        if (r < 1)
            r = 1;
        t = r <= 150 ? 2 * r / 3 : 100;
    }
    return t < 2 ? 2 : t;
}

int32_t nebulaSection(int32_t row)
{
    return row < nebulaFirst[1] ? 0 : row < nebulaFirst[2] ? 1 : 2;
}

int32_t sectionEnd(int32_t section)
{
    return nebulaFirst[section] + nebulaCounts[section];
}

int testBodies(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    for (int32_t i = r.first; i < r.end; ++i) {
        const int32_t id = kBodyOrder[i];
        if (withinPixels(chart, id, p, bodyTolerance(chart, id))) {
            *index = id;
            return 1;
        }
    }
    return 0;
}

int testSmallBodies(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t base,
                    int32_t *index)
{
    for (int32_t i = r.first; i < r.end; ++i)
        if (withinPixels(chart, base + i, p, 2)) {
            *index = base + i;
            return 1;
        }
    return 0;
}

int testStars(ChartState *, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    for (int32_t i = r.first; i < r.end; ++i) {
        const BrightStar &s = brightStars[i];
        if (withinCone(p, Vec3Q14{s.x, s.y, s.z}, p.cone)) {
            *index = i;
            return 1;
        }
    }
    return 0;
}

bool alwaysPickableMessier(int32_t number)
{
    const int32_t n = number & nebulaNumberMask;
    return (number & nebulaFlagMessier) && (n == 31 || n == 33 || n == 42);
}

int testNebulae(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    const bool shown = (chart->nebulaFlags & kNebulaShown) != 0;
    for (int32_t i = r.first; i < r.end; ++i) {
        const NebulaRecord &rec = nebulaRecords[i];
        const int32_t section = nebulaSection(i);
        // A record listed in two catalogues is tested in the first only.
        if ((rec.number & nebulaFlagMessier) && section != 0)
            continue;
        if ((rec.number & nebulaFlagNgc) && section > 1)
            continue;
        bool testable;
        if (alwaysPickableMessier(rec.number)) {
            testable = chartLimitMagAtLeast4(chart) || (shown && nebulaIsShown(chart, &rec));
        } else {
            if (chart->nebulaLimitOn && nebulaMag10(rec) > chart->nebulaMin) {
                // Sorted by magnitude: the rest of the section is fainter still.
                i = sectionEnd(section) - 1;
                continue;
            }
            testable = shown && nebulaIsShown(chart, &rec);
        }
        if (testable && withinCone(p, nebulaPositions[i], p.cone)) {
            *index = i;
            return 1;
        }
    }
    return 0;
}

int testJupiterMoons(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    if (isSolarMode(chart->mode) || !(chart->planetFlags[kObjectJupiter] & kBodyShown) ||
        !(chart->jupiterMoonFlags & kJmoonShown))
        return 0;
    for (int32_t i = r.first; i < r.end; ++i)
        if (withinCone(p, chart->galileanMoons[i].unitQ14, p.cone)) {
            *index = i;
            return 1;
        }
    return 0;
}

int testUserObjects(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    if (!(chart->userObjectFlags & kUserObjectShownBit))
        return 0;
    for (int32_t i = r.first; i < r.end; ++i) {
        const UserObject *row = userObjectFileRow(chart->userObjectFiles, chart->userObjectFileCount, i);
        if (!row || row->type <= kUserObjectEnd || row->type == kUserObjectTableEnd ||
            row->kind == kPosScreen || !row->name[0])
            continue;
        ProjectedPoint sp;
        if (userObjectScreenPos(chart, row, &sp) && std::llabs(static_cast<long long>(sp.x) - p.x) <= 2 &&
            std::llabs(static_cast<long long>(sp.y) - p.y) <= 2) {
            *index = i;
            return 1;
        }
    }
    return 0;
}

int testNamedPoints(ChartState *chart, const HitPoint &p, const HitSearchRange &r, int32_t *index)
{
    if (!chartLimitMagAtLeast4(chart))
        return 0;
    for (int32_t i = r.first; i < r.end; ++i)
        if (withinCone(p, namedPoints[i].point, 3 * p.cone)) {
            *index = i;
            return 1;
        }
    return 0;
}

int testNothing(ChartState *, const HitPoint &, const HitSearchRange &, int32_t *) { return 0; }
int testComets(ChartState *c, const HitPoint &p, const HitSearchRange &r, int32_t *i)
{
    return testSmallBodies(c, p, r, kObjectCometBase, i);
}
int testMinorPlanets(ChartState *c, const HitPoint &p, const HitSearchRange &r, int32_t *i)
{
    return testSmallBodies(c, p, r, kObjectMinorPlanetBase, i);
}

// The classes: the kind a hit gets and the test over a range of rows.
struct HitClassEntry {
    int32_t kind;
    int (*test)(ChartState *, const HitPoint &, const HitSearchRange &, int32_t *);
};
const HitClassEntry kHitClasses[kHitClassCount] = {
    {kPosViewCenter, testNothing},   {kPosBody, testBodies},       {kPosBody, testComets},
    {kPosBody, testMinorPlanets},    {kPosCons, testNothing},      {kPosStar, testStars},
    {kPosNebula, testNebulae},       {kPosJupiterMoon, testJupiterMoons},
    {kPosUserObject, testUserObjects}, {kPosNamedPoint, testNamedPoints}, {kPosSkyMark, testNothing},
};

int32_t userObjectRowCount(const ChartState *chart)
{
    int64_t n = 0;
    for (int32_t f = 0; f < chart->userObjectFileCount && chart->userObjectFiles; ++f)
        n += chart->userObjectFiles[f].count;
    return n > INT32_MAX ? INT32_MAX : static_cast<int32_t>(n);
}

int32_t clampRow(int32_t v, int32_t count) { return v < 0 ? 0 : v > count ? count : v; }

} // namespace

int32_t hitClassRowCount(const ChartState *chart, int hitClass)
{
    switch (hitClass) {
    case kHitBodies:
        return kBodyOrderCount;
    case kHitComets:
        return chart->cometCount > 0 && chart->cometPositions ? chart->cometCount : 0;
    case kHitMinorPlanets:
        return chart->minorPlanetCount > 0 && chart->minorPlanetPositions ? chart->minorPlanetCount : 0;
    case kHitStars: {
        int32_t last = -1;
        if (!(chart->starFlags & kStarShown) || !starLastIndexForLimit(const_cast<ChartState *>(chart), &last))
            return 0;
        return clampRow(last + 1, brightStarCount);
    }
    case kHitNebulae:
        return nebulaTotalCount;
    case kHitJupiterMoons:
        return kGalileanMoonCount;
    case kHitUserObjects:
        return userObjectRowCount(chart);
    case kHitNamedPoints:
        return namedPointCount;
    default:
        return 0;
    }
}

int hitPickRow(const ChartState *chart, int32_t kind, int32_t index, int *hitClass, int32_t *row)
{
    int cls = -1;
    int32_t r = index, count = 0;
    switch (kind) {
    case kPosBody:
        if (index >= kObjectMinorPlanetBase) {
            cls = kHitMinorPlanets;
            r = index - kObjectMinorPlanetBase;
            count = chart->minorPlanetPositions ? chart->minorPlanetCount : 0;
        } else if (index >= kObjectCometBase) {
            cls = kHitComets;
            r = index - kObjectCometBase;
            count = chart->cometPositions ? chart->cometCount : 0;
        } else {
            cls = kHitBodies;
            r = -1;
            for (int32_t i = 0; i < kBodyOrderCount; ++i)
                if (kBodyOrder[i] == index)
                    r = i;
            count = kBodyOrderCount;
        }
        break;
    case kPosStar:
        cls = kHitStars;
        count = brightStarCount;
        break;
    case kPosNebula:
        cls = kHitNebulae;
        count = nebulaTotalCount;
        break;
    case kPosJupiterMoon:
        cls = kHitJupiterMoons;
        count = kGalileanMoonCount;
        break;
    case kPosUserObject:
        cls = kHitUserObjects;
        count = userObjectRowCount(chart);
        break;
    case kPosNamedPoint:
        cls = kHitNamedPoints;
        count = namedPointCount;
        break;
    default:
        return 0;
    }
    if (r < 0 || r >= count)
        return 0;
    *hitClass = cls;
    *row = r;
    return 1;
}

int hitPickIsValid(const ChartState *chart)
{
    int cls;
    int32_t row;
    return hitPickRow(chart, chart->hitKind, chart->hitIndex, &cls, &row);
}

int hitTestObjects(ChartState *chart, int32_t xy, const HitSearchRange ranges[kHitClassCount])
{
    HitPoint p{};
    screenPointUnpack(xy, &p.x, &p.y);
    int32_t cone = static_cast<int32_t>(sinDeg(3.0 / pixelsPerDegree(chart)) * 16384.0);
    p.cone = cone < 2 ? 2 : cone;
    Vec3 v;
    if (screenToSky(chart, xy, &v)) {
        p.hasDirection = 1;
        p.dir = Vec3Q14{static_cast<int32_t>(v.x * 16384.0), static_cast<int32_t>(v.y * 16384.0),
                        static_cast<int32_t>(v.z * 16384.0)};
    }
    for (int c = 0; c < kHitClassCount; ++c) {
        const int32_t count = hitClassRowCount(chart, c);
        HitSearchRange r{clampRow(ranges[c].first, count), clampRow(ranges[c].end, count)};
        int32_t index;
        if (r.first < r.end && kHitClasses[c].test(chart, p, r, &index)) {
            chart->hitKind = kHitClasses[c].kind;
            chart->hitIndex = index;
            return 1;
        }
    }
    return 0;
}

int hitTest(ChartState *chart, int32_t xy)
{
    int32_t x, y;
    screenPointUnpack(xy, &x, &y);
    const int32_t spot = screenPointPack(x - 1, y - 1);
    if (statusBarContains(chart, spot))
        return 0;
    if (isHorizonMode(chart->mode)) {
        Vec3 v;
        if (screenToSky(chart, spot, &v)) {
            const double *h = chart->horizonMatrix.m;
            if (h[6] * v.x + h[7] * v.y + h[8] * v.z < 0.0)
                return 0;
        }
    }
    HitSearchRange ranges[kHitClassCount];
    int curClass;
    int32_t curRow;
    if (!hitPickRow(chart, chart->hitKind, chart->hitIndex, &curClass, &curRow)) {
        for (int c = 0; c < kHitClassCount; ++c)
            ranges[c] = HitSearchRange{0, INT32_MAX};
        return hitTestObjects(chart, spot, ranges);
    }
    // First from just after the pick to the last class, then from the first
    // class up to the pick itself.
    for (int c = 0; c < kHitClassCount; ++c)
        ranges[c] = c < curClass ? HitSearchRange{0, 0}
                    : c == curClass ? HitSearchRange{curRow + 1, INT32_MAX}
                                    : HitSearchRange{0, INT32_MAX};
    if (hitTestObjects(chart, spot, ranges))
        return 1;
    for (int c = 0; c < kHitClassCount; ++c)
        ranges[c] = c < curClass ? HitSearchRange{0, INT32_MAX}
                    : c == curClass ? HitSearchRange{0, curRow + 1}
                                    : HitSearchRange{0, 0};
    return hitTestObjects(chart, spot, ranges);
}

int hitQuarter(const ChartState *chart, int32_t x, int32_t y)
{
    const int32_t midX = chart->chartRect.x + chart->chartRect.width / 2;
    const int32_t midY = chart->chartRect.y + chart->chartRect.height / 2;
    return 1 + (x >= midX ? 1 : 0) + (y >= midY ? 2 : 0);
}

int clickDataSelect(ChartState *chart, int32_t xy)
{
    if (!hitTest(chart, xy)) {
        if (chart->clickFlags != 0) {
            chart->clickFlags = 0;
            chart->clickText[0] = '\0';
            chart->clickPointX = -1;
            chart->clickPointY = -1;
        }
        return 0;
    }
    if (chart->clickFlags & kClickQuarterMask) {
        uiHooks.updateClickDataButtons(chart);
        return 1;
    }
    int32_t x, y;
    screenPointUnpack(xy, &x, &y);
    chart->clickFlags = hitQuarter(chart, x, y);
    chart->clickPointX = static_cast<int16_t>(x);
    chart->clickPointY = static_cast<int16_t>(y);
    chart->clickText[0] = '\0';
    char text[kClickTextSize];
    int hasImage = 0;
    if (clickDataText(chart, chart->hitKind, chart->hitIndex, text, sizeof text, &hasImage)) {
        if (hasImage)
            chart->clickFlags |= kClickHasImage;
        std::memcpy(chart->clickText, text, sizeof text);
        if (text[0])
            chart->clickFlags |= kClickHasText;
    }
    return 1;
}

namespace {

// Calls visit for each object hit at a pixel, once each: the walk ends when
// it comes back to its first hit. hitKind/hitIndex are restored afterwards.
template <typename Visit>
void walkObjectsAt(ChartState *chart, int32_t xy, Visit visit)
{
    const int32_t savedKind = chart->hitKind, savedIndex = chart->hitIndex;
    chart->hitKind = kHitKindNone;
    int32_t firstKind = 0, firstIndex = 0;
    // Each step finds the next object after the previous one, so no object
    // comes twice before the first returns; the cap only guards that rule.
    for (int n = 0; n < 4096 && hitTest(chart, xy); ++n) {
        if (n == 0) {
            firstKind = chart->hitKind;
            firstIndex = chart->hitIndex;
        } else if (chart->hitKind == firstKind && chart->hitIndex == firstIndex) {
            break;
        }
        if (!visit(chart->hitKind, chart->hitIndex))
            break;
    }
    chart->hitKind = savedKind;
    chart->hitIndex = savedIndex;
}

} // namespace

int chartCountObjectsAtPoint(ChartState *chart, int32_t xy, ImageList *list)
{
    int added = 0;
    if (!list)
        return 0;
    walkObjectsAt(chart, xy, [&](int32_t kind, int32_t index) {
        added += clickDataImages(chart, kind, index, list);
        return true;
    });
    return added;
}

int popupButtonOfPick(int32_t kind, int32_t index)
{
    switch (kind) {
    case kPosStar:
        return kPopupStar;
    case kPosNebula:
        return kPopupNebula;
    case kPosJupiterMoon:
        return kPopupJupiterMoon;
    case kPosBody:
        if (index >= kObjectMinorPlanetBase)
            return kPopupMinorPlanet;
        if (index >= kObjectCometBase)
            return kPopupComet;
        if (index == kObjectSun)
            return kPopupSun;
        if (index == kObjectMoon)
            return kPopupMoon;
        if (index >= kObjectMercury && index <= kObjectPluto)
            return kPopupPlanet;
        return -1;
    default:
        return -1;
    }
}

int popupObjectButtonsAt(ChartState *chart, int32_t xy, int *buttons, int max)
{
    int n = 0;
    bool seen[kPopupButtonKinds] = {};
    walkObjectsAt(chart, xy, [&](int32_t kind, int32_t index) {
        const int b = popupButtonOfPick(kind, index);
        if (b >= 0 && !seen[b] && n < max) {
            seen[b] = true;
            buttons[n++] = b;
        }
        return n < max;
    });
    return n;
}
