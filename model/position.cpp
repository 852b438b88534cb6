// Position specifications: their grammar, their direction on the sky and the
// recentring of the view on the LOOK/TRACK target.
#include "model/position.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/body_names.h"
#include "model/deep_sky_names.h"
#include "model/lexing.h"
#include "model/star_names.h"
#include "model/user_object_records.h"
#include "model/view_geometry.h"
#include "resources/catalogs.h"

const KeywordEntry positionKeywords[] = {
    {"HRZ", kPosHrz},
    {"EQT", kPosEqt},
    {"EQT_B1950", kPosEqtB1950},
    {"EQT_DATE", kPosEqtDate},
    {"ECL", kPosEcl},
    {"GAL", kPosGal},
    {"STAR", kPosStar},
    {"CONS", kPosCons},
    {"NEBULA", kPosNebula},
    {"SCREEN", kPosScreen},
    {"AD", kPosUserObject},
    {"VIEW_CENTER", kPosViewCenter},
    {"SKYMARK", kPosSkyMark},
    {nullptr, 0},
};

namespace {

// A decimal number as the command language reads it (leading blanks skipped,
// reading stops at the first character that does not fit, no digits give 0).
// 0 when the number is not finite.
int readDecimal(const char *text, double *out)
{
    const double v = std::strtod(text, nullptr);
    if (!std::isfinite(v))
        return 0;
    *out = v;
    return 1;
}

// The view centre in a coordinate system, from the chart's own centre.
void centreIn(const ChartState *chart, int32_t system, double out[2])
{
    const int32_t own = chartModeSystem(chart->mode);
    if (own == system) {
        const double *c = own == COORD_HRZ ? chart->centerHrz : chart->centerMode;
        out[0] = c[0];
        out[1] = c[1];
    } else if (own == COORD_HRZ) {
        convertCoords(&chart->sky, COORD_HRZ, chart->centerHrz, system, out);
    } else {
        convertCoords(&chart->sky, own, chart->centerMode, system, out);
    }
}

// HHMM.m (or DDMM.m) as a number of hours (degrees): -3015 gives -30.25.
double sexagesimal(double v)
{
    const double whole = std::trunc(v / 100.0);
    return whole + (v - 100.0 * whole) / 60.0;
}

// A pair of coordinates after a system keyword; omitted values keep the
// centre's. Equatorial right ascensions come in hours.
int parseCoordinates(const ChartState *chart, int32_t system, const char *lonText, const char *latText,
                     double values[2])
{
    double centre[2];
    centreIn(chart, system, centre);
    const bool equatorial = system == kPosEqt || system == kPosEqtB1950 || system == kPosEqtDate;
    double lon = centre[0], lat = centre[1];
    if (equatorial) {
        char copy[kPositionTextSize];
        if (lonText && !strCopyBounded(copy, sizeof copy, lonText))
            return 0;
        const bool hhmm = lonText && std::strcspn(copy, ".") > 2;
        if (lonText) {
            if (!readDecimal(copy, &lon))
                return 0;
            lon = (hhmm ? sexagesimal(lon) : lon) * 15.0;
        }
        if (latText) {
            if (!readDecimal(latText, &lat))
                return 0;
            if (hhmm)
                lat = sexagesimal(lat);
        }
    } else {
        if (lonText && !readDecimal(lonText, &lon))
            return 0;
        if (latText && !readDecimal(latText, &lat))
            return 0;
    }
    // Only nonsense is refused: a longitude of any size names a direction.
    if (!std::isfinite(lon) || !(lat >= -90.0 && lat <= 90.0))
        return 0;
    values[0] = std::fabs(lon) < 360.0 ? lon : std::fmod(lon, 360.0);
    values[1] = lat;
    return 1;
}

// A name after STAR, CONS, NEBULA, AD or SKYMARK: the row it names.
int parseObjectKeyword(ChartState *chart, int32_t kind, const char *text, int32_t *index)
{
    if (!text)
        return 0;
    char copy[kStkWordSize];
    if (!strCopyBounded(copy, sizeof copy, text))
        return 0;
    switch (kind) {
    case kPosStar:
        return parseStarName(copy, index);
    case kPosCons: {
        const int row = findConstellation(copy);
        if (row < 0)
            return 0;
        *index = row;
        return 1;
    }
    case kPosNebula:
        return parseNebulaName(copy, index);
    case kPosUserObject:
        return findUserObjectByName(chart, copy, index);
    case kPosSkyMark:
        return findSkyMarkByName(chart, copy, index);
    default:
        return 0;
    }
}

int pixelValue(const char *text, double *out)
{
    return text && readDecimal(text, out) && *out >= -32768.0 && *out <= 32767.0;
}

} // namespace

int parsePositionSpec(ChartState *chart, char *word, const char *lonText, const char *latText, int32_t *kind,
                      int32_t *index, double values[2], int32_t *wordsUsed)
{
    if (!chart || !word)
        return 0;
    int32_t code;
    if (!stkLookupKeyword(word, positionKeywords, &code)) {
        int32_t id;
        if (findObjectByName(chart, word, &id) &&
            !(id >= kObjectGroupPlanets && id <= kObjectGroupMinorPlanets)) {
            *kind = kPosBody;
            *index = id;
        } else if (findSatelliteByName(chart, word, &id)) {
            *kind = kPosJupiterMoon;
            *index = id;
            chart->jupiterMoonFlags |= kJmoonShown; // as SHOW JMOON
        } else if (findTwoEntryName(word, &id)) {
            *kind = kPosNamedPoint;
            *index = id;
        } else {
            return 0;
        }
        *wordsUsed = 1;
        return 1;
    }
    if (positionIsCoordinates(code)) {
        if (!parseCoordinates(chart, code, lonText, latText, values))
            return 0;
        *kind = code;
        *wordsUsed = 3;
        return 1;
    }
    switch (code) {
    case kPosStar:
    case kPosCons:
    case kPosNebula:
    case kPosUserObject:
    case kPosSkyMark:
        if (!parseObjectKeyword(chart, code, lonText, index))
            return 0;
        *kind = code;
        *wordsUsed = 2;
        return 1;
    case kPosScreen: {
        double x, y;
        if (!pixelValue(lonText, &x) || !pixelValue(latText, &y))
            return 0;
        values[0] = x;
        values[1] = y;
        *kind = code;
        *wordsUsed = 3;
        return 1;
    }
    default: // VIEW_CENTER is named, never parsed
        return 0;
    }
}

int parsePositionSpecAny(ChartState *chart, char *word, const char *lonText, const char *latText, int32_t *kind,
                         int32_t *index, double values[2], int32_t *wordsUsed)
{
    if (parsePositionSpec(chart, word, lonText, latText, kind, index, values, wordsUsed))
        return 1;
    static const char *const implicit[] = {"CONS", "STAR", "NEBULA", "AD", "SKYMARK"};
    for (const char *keyword : implicit) {
        char copy[16];
        strCopyBounded(copy, sizeof copy, keyword);
        if (parsePositionSpec(chart, copy, word, lonText, kind, index, values, wordsUsed)) {
            --*wordsUsed;
            return 1;
        }
    }
    return 0;
}

const UserObject *userObjectFileRow(const UserObjectFileEntry *files, int32_t fileCount, int32_t index)
{
    if (!files || index < 0)
        return nullptr;
    for (int32_t f = 0; f < fileCount; ++f) {
        if (index < files[f].count)
            return files[f].table ? &files[f].table[index] : nullptr;
        index -= files[f].count;
    }
    return nullptr;
}

int positionObjectVector(const ChartState *chart, int32_t kind, int32_t index, Vec3Q14 *out)
{
    switch (kind) {
    case kPosStar:
        if (index < 0 || index >= brightStarCount)
            return 0;
        *out = Vec3Q14{brightStars[index].x, brightStars[index].y, brightStars[index].z};
        return 1;
    case kPosCons:
        if (index < 0 || index >= constellationCount)
            return 0;
        *out = constellations[index].point;
        return 1;
    case kPosNebula:
        if (index < 0 || index >= nebulaTotalCount)
            return 0;
        *out = nebulaPositions[index];
        return 1;
    case kPosJupiterMoon:
        if (index < 0 || index >= kGalileanMoonCount)
            return 0;
        *out = chart->galileanMoons[index].unitQ14;
        return 1;
    case kPosNamedPoint:
        if (index < 0 || index >= namedPointCount)
            return 0;
        *out = namedPoints[index].point;
        return 1;
    default:
        return 0;
    }
}

namespace {

int fromPair(double ra, double dec, double out[2])
{
    out[0] = ra;
    out[1] = dec;
    return COORD_EQT;
}

// Kind 51: the body's J2000 place from its computed row.
int resolveBody(const ChartState *chart, int32_t id, double out[2])
{
    if (id == kObjectSun)
        return fromPair(chart->sun.raJ2000Deg, chart->sun.decJ2000Deg, out);
    if (id == kObjectMoon)
        return fromPair(chart->moon.raJ2000Deg, chart->moon.decJ2000Deg, out);
    if (id >= kObjectMercury && id <= kObjectPluto)
        return fromPair(chart->planets[id].raDeg, chart->planets[id].decDeg, out);
    if (id >= kObjectCometBase && id - kObjectCometBase < chart->cometCount && chart->cometPositions)
        return fromPair(chart->cometPositions[id - kObjectCometBase].raJ2000,
                        chart->cometPositions[id - kObjectCometBase].decJ2000, out);
    if (id >= kObjectMinorPlanetBase && id - kObjectMinorPlanetBase < chart->minorPlanetCount &&
        chart->minorPlanetPositions)
        return fromPair(chart->minorPlanetPositions[id - kObjectMinorPlanetBase].raJ2000,
                        chart->minorPlanetPositions[id - kObjectMinorPlanetBase].decJ2000, out);
    return 0; // the Earth, the Galilean moons as bodies, unknown ids
}

int resolveDirect(ChartState *chart, int32_t kind, int32_t index, double value1, double value2, double out[2])
{
    if (positionIsCoordinates(kind)) {
        out[0] = value1;
        out[1] = value2;
        return kind;
    }
    switch (kind) {
    case kPosBody:
        return resolveBody(chart, index, out);
    case kPosJupiterMoon: // the double vector: Q14 steps would show at a moon's distance from Jupiter
        if (index < 0 || index >= kGalileanMoonCount)
            return 0;
        vecToSph(&chart->galileanMoons[index].unit, out);
        return COORD_EQT;
    case kPosScreen:
        return kPosScreen;
    default: {
        Vec3Q14 v;
        if (!positionObjectVector(chart, kind, index, &v))
            return 0;
        vecQ14ToSph(&v, out);
        return COORD_EQT;
    }
    }
}

} // namespace

int resolvePositionSpec(ChartState *chart, int32_t kind, int32_t index, double value1, double value2, double out[2])
{
    if (!chart)
        return 0;
    if (kind == kPosUserObject || kind == kPosSkyMark) {
        const UserObject *row =
            kind == kPosUserObject ? userObjectFileRow(chart->userObjectFiles, chart->userObjectFileCount, index)
            : appData             ? userObjectFileRow(appData->skyMarkFiles, appData->skyMarkFileCount, index)
                                  : nullptr;
        // A row naming another row would be a loop: rows name places directly.
        if (!row || row->kind == kPosUserObject || row->kind == kPosSkyMark)
            return 0;
        return resolveDirect(chart, row->kind, row->index, row->value1, row->value2, out);
    }
    return resolveDirect(chart, kind, index, value1, value2, out);
}

namespace {

// Solar-system views follow a body by moving the origin to it.
void followInSolarView(ChartState *chart, int32_t id)
{
    const Vec3 *helio = nullptr;
    if (id >= kObjectMercury && id <= kObjectPluto)
        helio = &chart->planets[id].helio;
    else if (id == kObjectEarth)
        helio = &chart->sun.earthHelio;
    else if (id >= kObjectCometBase && id - kObjectCometBase < chart->cometCount && chart->cometPositions)
        helio = &chart->cometPositions[id - kObjectCometBase].helio;
    else if (id >= kObjectMinorPlanetBase && id - kObjectMinorPlanetBase < chart->minorPlanetCount &&
             chart->minorPlanetPositions)
        helio = &chart->minorPlanetPositions[id - kObjectMinorPlanetBase].helio;
    chart->solOffset[0] = helio ? helio->x : 0.0;
    chart->solOffset[1] = helio ? helio->y : 0.0;
    chart->solOffset[2] = helio ? helio->z : 0.0;
}

} // namespace

void updateViewCenterFromTarget(ChartState *chart)
{
    if (chart->trackKind & kTrackKindLockBit) {
        chart->viewLocked = 1;
        chart->trackKind &= ~kTrackKindLockBit;
    }
    if (chartModeKind(chart->mode) == kKindSolar && chart->trackKind == kPosBody) {
        followInSolarView(chart, chart->trackIndex);
        return;
    }
    double place[2];
    const int system =
        resolvePositionSpec(chart, chart->trackKind, chart->trackIndex, chart->trackValues[0], chart->trackValues[1], place);
    const bool hasPlace = system >= COORD_HRZ && system <= COORD_GAL;
    const int32_t own = chartModeSystem(chart->mode);
    if (own != COORD_HRZ) {
        if (hasPlace)
            convertCoords(&chart->sky, system, place, own, chart->centerMode);
        return;
    }
    if (hasPlace)
        convertCoords(&chart->sky, system, place, COORD_HRZ, chart->centerHrz);
    if (chart->centerHrz[1] < 0.0)
        chart->centerHrz[1] = 0.0;
    if (chart->viewLocked) {
        // The altitude that puts the horizon on the projection centre row.
        const ChartRect &r = chart->chartRect;
        const int h = r.height > 0 ? r.height : 1;
        chart->centerHrz[1] = chart->fieldHeight * (static_cast<double>(chart->centerY - (r.y + h / 2)) / h);
    }
}

int32_t screenPointPack(int32_t x, int32_t y)
{
    const uint32_t packed = (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) | static_cast<uint16_t>(x);
    return static_cast<int32_t>(packed);
}

void screenPointUnpack(int32_t xy, int32_t *x, int32_t *y)
{
    const uint32_t u = static_cast<uint32_t>(xy);
    *x = static_cast<int16_t>(u & 0xffffu);
    *y = static_cast<int16_t>(u >> 16);
}
