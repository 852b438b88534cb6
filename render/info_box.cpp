#include "render/info_box.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "astro/angles.h"
#include "astro/coords.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "astro/rise_set.h"
#include "model/almanac.h"
#include "model/app_data.h"
#include "model/body_names.h"
#include "model/click_data.h"
#include "model/deep_sky_names.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "model/star_names.h"
#include "model/user_objects.h"
#include "render/canvas.h"
#include "render/hit_test.h"
#include "render/palette.h"
#include "resources/catalogs.h"

namespace {

constexpr double kRaRoundingHours = 0.0008333333333333334; // 3 s of time: the tenth of a minute rounds
constexpr double kFarBodyAu = 100.0;                       // no distances beyond this

void noPlace(InfoObject *obj)
{
    obj->radec[0] = obj->radec[1] = kInfoNoPosition;
    obj->mag = obj->size = kInfoNoValue;
}

// Appends printf-style text to out (size outSize), bounded.
void append(char *out, int outSize, const char *format, ...) __attribute__((format(printf, 3, 4)));
void append(char *out, int outSize, const char *format, ...)
{
    const size_t used = std::strlen(out);
    if (used + 1 >= static_cast<size_t>(outSize))
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(out + used, static_cast<size_t>(outSize) - used, format, args);
    va_end(args);
}

// The J2000 place of a PositionSpec, or no place (a screen point, nothing).
void placeOf(ChartState *chart, int32_t kind, int32_t index, double v1, double v2, double radec[2])
{
    double out[2];
    const int system = resolvePositionSpec(chart, kind, index, v1, v2, out);
    if (system < COORD_HRZ || system > COORD_GAL) {
        radec[0] = radec[1] = kInfoNoPosition;
        return;
    }
    if (system == COORD_EQT) {
        radec[0] = out[0];
        radec[1] = out[1];
        return;
    }
    convertCoords(&chart->sky, system, out, COORD_EQT, radec);
}

void drawInColour(Canvas *canvas, int32_t paletteIndex)
{
    canvas->setForeground(appData ? appData->pixels[paletteIndex] : 0);
}

} // namespace

void smallBodyLabel(const OrbitalElements *el, char *out, int outSize)
{
    out[0] = '\0';
    const char *fields[] = {el->extension, el->designation, el->id};
    const size_t sizes[] = {sizeof el->extension, sizeof el->designation, sizeof el->id};
    for (int i = 0; i < 3; ++i) {
        const char *f = fields[i];
        size_t n = strnlen(f, sizes[i]);
        while (n > 0 && f[n - 1] == ' ') // fields are blank-padded to their width
            --n;
        size_t b = 0;
        while (b < n && f[b] == ' ')
            ++b;
        if (b < n) {
            std::snprintf(out, static_cast<size_t>(outSize), "%.*s", static_cast<int>(n), f);
            break;
        }
    }
    append(out, outSize, " %.*s", static_cast<int>(strnlen(el->name, sizeof el->name)), el->name);
    size_t len = std::strlen(out);
    while (len > 0 && out[len - 1] == ' ')
        out[--len] = '\0';
}

void infoStarLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    const int32_t star = chart->hitIndex;
    if (star < 0 || star >= brightStarCount)
        return;
    int32_t designation, hasCommonName;
    if (starDesignationIndex(star, &designation, &hasCommonName)) {
        uint8_t letter, number, flamsteed, cons;
        starDesignationUnpack(designation, &letter, &number, &flamsteed, &cons);
        if (flamsteed)
            append(out, outSize, "%d", flamsteed);
        if (letter && letter < 25)
            append(out, outSize, "%s", greekLetterNames[letter]);
        if (number)
            append(out, outSize, "%d", number);
        if (cons < constellationCount) {
            const ConstellationEntry &c = constellations[cons];
            append(out, outSize, " %s (%s)", c.abbreviation, c.localName ? c.localName : c.latinName);
        }
    }
    const char *common = starCommonNameLookup(star);
    if (common)
        append(out, outSize, " %s", common);
    const BrightStar &s = brightStars[star];
    const Vec3Q14 v{s.x, s.y, s.z};
    vecQ14ToSph(&v, obj->radec);
    obj->mag = brightStarMag10(s) / 10.0;
}

void infoBodyLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    if (!hitPickIsValid(chart) || chart->hitKind != kPosBody)
        return;
    const int32_t id = chart->hitIndex;
    if (id >= kObjectMinorPlanetBase) {
        const int32_t i = id - kObjectMinorPlanetBase;
        smallBodyLabel(&chart->minorPlanetElements[i], out, outSize);
        obj->mag = chart->minorPlanetPositions[i].magnitude10 / 10.0;
    } else if (id >= kObjectCometBase) {
        const int32_t i = id - kObjectCometBase;
        smallBodyLabel(&chart->cometElements[i], out, outSize);
        obj->mag = chart->cometPositions[i].magnitude10 / 10.0;
    } else {
        objectName(chart, id, 0, out, outSize);
        if (id >= 0 && id < kPlanetCount) {
            append(out, outSize, " D.M.%4.1f\"", chart->planets[id].diameterArcsec);
            obj->mag = chart->planets[id].magnitude10 / 10.0;
        } else if (id == kObjectSun) {
            if (chart->sun.eclipseMagnitude != -1.0)
                append(out, outSize, " EMAG:%4.2f", chart->sun.eclipseMagnitude);
        } else if (id == kObjectMoon) {
            append(out, outSize, " Age:%4.1f k:%4.2f", chart->moon.ageDays, chart->moon.phase);
        }
    }
    if (id == kObjectEarth) {
        obj->radec[0] = obj->radec[1] = 0.0;
        return;
    }
    placeOf(chart, kPosBody, id, 0.0, 0.0, obj->radec);
}

void infoNebulaLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    const int32_t row = chart->hitIndex;
    if (row < 0 || row >= nebulaTotalCount)
        return;
    static const char *const kPrefix[nebulaCatalogCount] = {"M", "NGC", "IC"};
    const int section = row < nebulaFirst[1] ? 0 : row < nebulaFirst[2] ? 1 : 2;
    const NebulaRecord &rec = nebulaRecords[row];
    append(out, outSize, "%s%d", kPrefix[section], rec.number & nebulaNumberMask);
    if (section == 0) {
        // The same object's row in the NGC or IC list: the same place.
        const Vec3Q14 &p = nebulaPositions[row];
        for (int32_t i = nebulaFirst[1]; i < nebulaTotalCount; ++i) {
            const Vec3Q14 &q = nebulaPositions[i];
            if ((nebulaRecords[i].number & nebulaFlagMessier) && q.x == p.x && q.y == p.y && q.z == p.z) {
                append(out, outSize, " (%s%d)", kPrefix[i < nebulaFirst[2] ? 1 : 2],
                       nebulaRecords[i].number & nebulaNumberMask);
                break;
            }
        }
    }
    char type[64];
    append(out, outSize, "  %s", nebulaTypeName(nebulaType(rec), type, sizeof type));
    double radec[2];
    if (nebulaPosition(row, radec)) {
        obj->radec[0] = radec[0];
        obj->radec[1] = radec[1];
    }
    if (nebulaMag10(rec) != nebulaMagUnknown)
        obj->mag = nebulaMag10(rec) / 10.0;
    if (rec.size != nebulaSizeUnknown)
        obj->size = rec.size / 10.0;
}

void infoMoonLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    const int32_t i = chart->hitIndex;
    if (i < 0 || i >= kGalileanMoonCount)
        return;
    static const char *const kRoman[kGalileanMoonCount] = {"I", "II", "III", "IV"};
    char name[64];
    objectName(chart, kObjectIo + i, 0, name, sizeof name);
    append(out, outSize, "%s (%s)", name, kRoman[i]);
    vecToSph(&chart->galileanMoons[i].unit, obj->radec);
    obj->radec[0] = wrap360(obj->radec[0]);
}

void infoUserObjectLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    const UserObject *row = userObjectFileRow(chart->userObjectFiles, chart->userObjectFileCount, chart->hitIndex);
    if (!row)
        return;
    const int nameLen = static_cast<int>(strnlen(row->name, sizeof row->name));
    char type[64];
    switch (row->type) {
    case kUserObjectStar:
        append(out, outSize, "%.*s", nameLen, row->name);
        obj->mag = row->param1 / 10.0;
        break;
    case kUserObjectNebula:
        append(out, outSize, "%.*s %s", nameLen, row->name, nebulaTypeName(row->param1, type, sizeof type));
        break;
    case kUserObjectMark:
    case kUserObjectPoint:
        append(out, outSize, "%.*s", nameLen, row->name);
        break;
    default:
        break;
    }
    placeOf(chart, row->kind, row->index, row->value1, row->value2, obj->radec);
}

void infoNamedPointLine(ChartState *chart, char *out, int outSize, InfoObject *obj)
{
    out[0] = '\0';
    noPlace(obj);
    const int32_t i = chart->hitIndex;
    if (i < 0 || i >= namedPointCount)
        return;
    getResourceString(i == 0 ? "messageNebulaLMC" : "messageNebulaSMC", out, outSize);
    vecQ14ToSph(&namedPoints[i].point, obj->radec);
}

int formatEquatorialLine(ChartState *chart, double ra, double dec, double mag, double size, char *out,
                         int outSize)
{
    char format[kInfoLineSize];
    if (chart->hitKind == kPosBody && chart->hitIndex == kObjectEarth) {
        getResourceString("messageInfoBoxMSInvalid", out, outSize);
        return 0;
    }
    if (ra == kInfoNoPosition || dec == kInfoNoPosition) {
        getResourceString("messageInfoBoxEqtInvalid", out, outSize);
        return 0;
    }
    const double hours = wrap24h(ra / 15.0 + kRaRoundingHours);
    const int h = static_cast<int>(hours);
    const double minutes = std::floor(std::fmod(hours * 600.0, 600.0)) / 10.0;
    Dms d;
    degToDmsRounded(dec, &d);
    getResourceFormat("messageInfoBoxEqt", "dfddd", format, sizeof format);
    std::snprintf(out, static_cast<size_t>(outSize), format, h, minutes, dec >= 0 ? '+' : '-', d.degrees,
                  d.minutes);
    if (mag != kInfoNoValue) {
        getResourceFormat("messageInfoBoxMag", "f", format, sizeof format);
        append(out, outSize, " ");
        append(out, outSize, format, mag);
    }
    if (size != kInfoNoValue) {
        getResourceFormat(size >= 10.0 ? "messageInfoBoxSize0" : "messageInfoBoxSize1", "f", format, sizeof format);
        append(out, outSize, " ");
        append(out, outSize, format, size);
    }
    return 1;
}

void formatEventClock(double jd, double zoneHours, char *out, int outSize)
{
    int h, m;
    eventClockTime(jd, zoneHours, &h, &m);
    std::snprintf(out, static_cast<size_t>(outSize), "%02d:%02d", h, m);
}

void formatRiseSetLine(char *out, int outSize, double zoneHours, int riseFound, double riseJd, int setFound,
                       double setJd)
{
    char rise[16], set[16], format[kInfoLineSize];
    if (riseFound)
        formatEventClock(riseJd, zoneHours, rise, sizeof rise);
    else
        std::snprintf(rise, sizeof rise, "%s", kAlmanacNoTime);
    if (setFound)
        formatEventClock(setJd, zoneHours, set, sizeof set);
    else
        std::snprintf(set, sizeof set, "%s", kAlmanacNoTime);
    getResourceFormat("messageInfoBoxRiseSet", "ss", format, sizeof format);
    std::snprintf(out, static_cast<size_t>(outSize), format, rise, set);
}

void bodyDistances(ChartState *chart, double *delta, double *r)
{
    *delta = *r = 0.0;
    if (chart->hitKind != kPosBody || !hitPickIsValid(chart))
        return;
    const int32_t id = chart->hitIndex;
    if (id >= kObjectMinorPlanetBase) {
        *delta = chart->minorPlanetPositions[id - kObjectMinorPlanetBase].earthDistance;
        *r = chart->minorPlanetPositions[id - kObjectMinorPlanetBase].sunDistance;
    } else if (id >= kObjectCometBase) {
        *delta = chart->cometPositions[id - kObjectCometBase].earthDistance;
        *r = chart->cometPositions[id - kObjectCometBase].sunDistance;
    } else if (id >= 0 && id < kPlanetCount) {
        *delta = chart->planets[id].deltaAu;
        *r = chart->planets[id].rAu;
    } else if (id == kObjectEarth) {
        *r = chart->sun.distanceAu;
    } else if (id == kObjectSun) {
        *delta = chart->sun.distanceAu;
    }
}

void infoBoxText(ChartState *chart, InfoBoxText *out)
{
    std::memset(out, 0, sizeof *out);
    InfoObject obj;
    noPlace(&obj);
    // The rise and set search: a fixed place unless the pick is a body.
    int riseKind = kRiseSetFixed;
    const void *riseObject = obj.radec;
    bool riseSearch = hitPickIsValid(chart) != 0;
    switch (chart->hitKind) {
    case kPosStar:
        infoStarLine(chart, out->name, sizeof out->name, &obj);
        break;
    case kPosBody:
        infoBodyLine(chart, out->name, sizeof out->name, &obj);
        riseKind = chart->hitIndex;
        riseObject = nullptr;
        if (riseSearch && chart->hitIndex >= kObjectMinorPlanetBase)
            riseObject = &chart->minorPlanetElements[chart->hitIndex - kObjectMinorPlanetBase];
        else if (riseSearch && chart->hitIndex >= kObjectCometBase)
            riseObject = &chart->cometElements[chart->hitIndex - kObjectCometBase];
        else if (chart->hitIndex == kObjectEarth)
            riseSearch = false; // the Earth has no rise or set
        break;
    case kPosNebula:
        infoNebulaLine(chart, out->name, sizeof out->name, &obj);
        break;
    case kPosJupiterMoon:
        infoMoonLine(chart, out->name, sizeof out->name, &obj);
        riseKind = kObjectJupiter;
        riseObject = nullptr;
        break;
    case kPosUserObject:
        infoUserObjectLine(chart, out->name, sizeof out->name, &obj);
        break;
    case kPosNamedPoint:
        infoNamedPointLine(chart, out->name, sizeof out->name, &obj);
        break;
    default:
        riseSearch = false;
        break;
    }
    const bool noPosition = obj.radec[0] == kInfoNoPosition || obj.radec[1] == kInfoNoPosition;
    if (riseKind == kRiseSetFixed && noPosition)
        riseSearch = false;

    out->equatorialKnown =
        formatEquatorialLine(chart, obj.radec[0], obj.radec[1], obj.mag, obj.size, out->equatorial, kInfoLineSize);

    const double zone = chart->sky.date.zone;
    double riseJd = 0.0, setJd = 0.0;
    int riseFound = 0, setFound = 0;
    if (riseSearch) {
        const RiseSetSite site = {chart->sky.latitudeDeg, chart->sky.longitudeDeg, chart->sky.altitudeM};
        const RiseSetDay day = riseSetPrepare(&chart->sky, &site);
        riseFound = riseSetTime(&day, riseKind, riseObject, kRiseEvent, 0.0, &riseJd);
        setFound = riseSetTime(&day, riseKind, riseObject, kSetEvent, 0.0, &setJd);
    }
    formatRiseSetLine(out->riseSet, kInfoLineSize, zone, riseFound, riseJd, setFound, setJd);

    const bool isBody = chart->hitKind == kPosBody && hitPickIsValid(chart);
    char format[kInfoLineSize];
    if (noPosition) {
        getResourceString("messageInfoBoxHrzInvalid", out->line4, kInfoLineSize);
        out->line4Placeholder = 1;
    } else if (isSolarMode(chart->mode)) {
        double delta = 0.0, r = 0.0;
        if (isBody && chart->hitIndex != kObjectMoon)
            bodyDistances(chart, &delta, &r);
        if (isBody && chart->hitIndex != kObjectMoon && r <= kFarBodyAu) {
            out->distances = 1;
            getResourceFormat("messageInfoBoxDelta", "f", format, sizeof format);
            std::snprintf(out->line4, kInfoLineSize, format, delta);
            getResourceFormat("messageInfoBoxRadius", "f", format, sizeof format);
            std::snprintf(out->radius, kInfoLineSize, format, r);
            out->deltaGray = chart->hitIndex == kObjectEarth;
            out->radiusGray = chart->hitIndex == kObjectSun;
        } else {
            getResourceString("messageInfoBoxSolInvalid", out->line4, kInfoLineSize);
            out->line4Placeholder = 1;
        }
    } else if (isBody && chart->hitIndex == kObjectEarth) {
        getResourceString("messageInfoBoxHrzInvalid", out->line4, kInfoLineSize);
        out->line4Placeholder = 1;
    } else {
        double hrz[2];
        convertCoords(&chart->sky, COORD_EQT, obj.radec, COORD_HRZ, hrz);
        getResourceFormat("messageInfoBoxHrz", "ff", format, sizeof format);
        std::snprintf(out->line4, kInfoLineSize, format, hrz[0], hrz[1]);
    }

    int hasImage = 0;
    out->clickData = 0;
    if (hitPickIsValid(chart))
        out->clickData =
            clickDataText(chart, chart->hitKind, chart->hitIndex, out->clickText, sizeof out->clickText, &hasImage);
    if (!out->clickData)
        out->clickText[0] = '\0';
}

int drawInfoBox(ChartState *chart, Canvas *canvas, InfoCoreTextDrawer coreText, void *context)
{
    InfoBoxText t;
    infoBoxText(chart, &t);
    const CanvasTextExtent max = canvas->fontSetMaxExtent(ClickDataFontset);
    const int h = max.height, pitch = h * 115 / 100;
    auto line = [&](int n, const char *text) {
        canvas->drawString(ClickDataFontset, 0, h + n * pitch, text, static_cast<int>(std::strlen(text)));
    };
    drawInColour(canvas, ColorBlack);
    line(0, t.name);
    drawInColour(canvas, t.equatorialKnown ? ColorBlack : ColorGrayText);
    line(1, t.equatorial);
    drawInColour(canvas, ColorBlack);
    line(2, t.riseSet);
    if (t.line4Placeholder) {
        drawInColour(canvas, ColorGrayText);
        if (coreText)
            coreText(context, 0, h + 3 * pitch, t.line4, static_cast<int>(std::strlen(t.line4)));
    } else if (t.distances) {
        drawInColour(canvas, t.deltaGray ? ColorGrayText : ColorBlack);
        line(3, t.line4);
        const CanvasTextExtent e = canvas->textExtent(ClickDataFontset, t.line4, static_cast<int>(std::strlen(t.line4)));
        drawInColour(canvas, t.radiusGray ? ColorGrayText : ColorBlack);
        canvas->drawString(ClickDataFontset, e.width + 2 * max.width, h + 3 * pitch, t.radius,
                           static_cast<int>(std::strlen(t.radius)));
    } else {
        drawInColour(canvas, ColorBlack);
        line(3, t.line4);
    }
    if (t.clickData && t.clickText[0]) {
        drawInColour(canvas, ColorBlack);
        line(4, t.clickText);
    }
    return t.clickData;
}
