// A position (PositionSpec) written back as command text.
#include "model/position_text.h"

#include <cstdio>
#include <cstring>

#include "astro/q14.h"
#include "model/body_names.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/star_names.h"
#include "model/user_objects.h"
#include "resources/catalogs.h"

static int finish(int n, int len) { return n >= 0 && n < len ? 1 : 0; }

int formatPositionSpec(ChartState *chart, int32_t kind, int32_t index, char *buf, int len)
{
    if (!buf || len <= 0)
        return 0;
    buf[0] = '\0';
    switch (kind) {
    case kPosStar: {
        if (index < 0 || index >= brightStarCount)
            return 0;
        int32_t d;
        if (!starDesignationIndex(index, &d, nullptr)) {
            Vec3Q14 v = {brightStars[index].x, brightStars[index].y, brightStars[index].z};
            double lonLat[2];
            vecQ14ToSph(&v, lonLat);
            return finish(std::snprintf(buf, len, "EQT %f,%f", lonLat[0] / 15.0, lonLat[1]), len);
        }
        uint8_t letter, number, flamsteed, cons;
        starDesignationUnpack(d, &letter, &number, &flamsteed, &cons);
        if (cons >= constellationSearchCount || letter > 24)
            return 0;
        const char *abbr = constellations[cons].abbreviation;
        if (letter && number)
            return finish(std::snprintf(buf, len, "STAR %s%d%s", greekLetterNames[letter], number, abbr), len);
        if (letter)
            return finish(std::snprintf(buf, len, "STAR %s%s", greekLetterNames[letter], abbr), len);
        if (flamsteed)
            return finish(std::snprintf(buf, len, "STAR %d%s", flamsteed, abbr), len);
        return 0;
    }
    case kPosBody: {
        bool comet = chart && index >= kObjectCometBase && index < kObjectCometBase + chart->cometCount;
        bool minor = chart && index >= kObjectMinorPlanetBase &&
                     index < kObjectMinorPlanetBase + chart->minorPlanetCount;
        if (comet || minor) {
            // The number parseObjectName reads back: the ordinal among rows of the type.
            int32_t n = comet ? ordinalOfRow(chart->cometElements, index - kObjectCometBase, 'C')
                              : ordinalOfRow(chart->minorPlanetElements, index - kObjectMinorPlanetBase, 'M');
            if (n == 0)
                return 0;
            return finish(std::snprintf(buf, len, comet ? "COMET%d" : "MINORPLANET%d", n), len);
        }
        // A comet or minor planet the tables no longer hold has no name (it
        // is not the Earth, which a default name would make it).
        if (index >= kObjectCometBase)
            return 0;
        return strCopyBounded(buf, len, bodyCommandName(index));
    }
    case kPosCons:
        if (index < 0 || index >= constellationCount)
            return 0;
        return finish(std::snprintf(buf, len, "CONS %s", constellations[index].abbreviation), len);
    case kPosNebula: {
        if (index < 0 || index >= nebulaTotalCount)
            return 0;
        // The letter follows the list the row is in: an NGC row of a Messier
        // object carries the Messier flag too, and "M224" would not read back.
        int32_t number = nebulaRecords[index].number;
        int32_t catalog = nebulaCatalogCount - 1;
        while (catalog > 0 && index < nebulaFirst[catalog])
            --catalog;
        const char letter = nebulaCatalogLetters[catalog];
        return finish(std::snprintf(buf, len, "NEBULA %c%d", letter, number & nebulaNumberMask), len);
    }
    case kPosJupiterMoon:
        if (index < 0 || index > 3)
            return 0;
        return strCopyBounded(buf, len, bodyCommandName(kObjectIo + index));
    case kPosUserObject: {
        const UserObject *row =
            chart ? userObjectFileRow(chart->userObjectFiles, chart->userObjectFileCount, index) : nullptr;
        if (!row || !isSendableName(row->name, static_cast<size_t>(len)))
            return 0;
        return finish(std::snprintf(buf, len, "AD \"%s\"", row->name), len);
    }
    case kPosNamedPoint:
        if (index < 0 || index >= namedPointCount)
            return 0;
        return strCopyBounded(buf, len, namedPoints[index].name);
    default:
        return 0;
    }
}
