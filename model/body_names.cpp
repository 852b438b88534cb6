// Names of the bodies, comets, minor planets, user objects, sky marks and
// named points, and their look-up over the chart's loaded tables.
#include "model/body_names.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/orbit_records.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/lexing.h"
#include "model/object_names.h"
#include "model/resource_text.h"
#include "model/user_object_records.h"

struct BodyName {
    int32_t id;
    const char *command;  // command-language name
    const char *resource; // localized name resource
};

// "CALLIST" is seven letters on purpose: scene files and scripts spell it so.
static const BodyName bodyNames[] = {
    {kObjectEarth, "EARTH", "messagePlanetEarth"},
    {kObjectSun, "SUN", "messagePlanetSun"},
    {kObjectMoon, "MOON", "messagePlanetMoon"},
    {kObjectMercury, "MERCURY", "messagePlanetMercury"},
    {kObjectVenus, "VENUS", "messagePlanetVenus"},
    {kObjectMars, "MARS", "messagePlanetMars"},
    {kObjectJupiter, "JUPITER", "messagePlanetJupiter"},
    {kObjectSaturn, "SATURN", "messagePlanetSaturn"},
    {kObjectUranus, "URANUS", "messagePlanetUranus"},
    {kObjectNeptune, "NEPTUNE", "messagePlanetNeptune"},
    {kObjectPluto, "PLUTO", "messagePlanetPluto"},
    {kObjectIo, "IO", "messagePlanetJsIo"},
    {kObjectIo + 1, "EUROPA", "messagePlanetJsEuropa"},
    {kObjectIo + 2, "GANYMEDE", "messagePlanetJsGanymede"},
    {kObjectCallisto, "CALLIST", "messagePlanetJsCallist"},
};
static const int bodyNameCount = sizeof bodyNames / sizeof bodyNames[0];

static const BodyName &bodyNameRow(int32_t id)
{
    for (const BodyName &b : bodyNames)
        if (b.id == id)
            return b;
    return bodyNames[0]; // any other id names the Earth
}

const char *bodyCommandName(int32_t id) { return bodyNameRow(id).command; }

static const OrbitalElements *loadedElements(ChartState *chart, int32_t id)
{
    if (!chart)
        return nullptr;
    if (id >= kObjectCometBase && id < kObjectCometBase + chart->cometCount && chart->cometElements)
        return &chart->cometElements[id - kObjectCometBase];
    if (id >= kObjectMinorPlanetBase && id < kObjectMinorPlanetBase + chart->minorPlanetCount &&
        chart->minorPlanetElements)
        return &chart->minorPlanetElements[id - kObjectMinorPlanetBase];
    return nullptr;
}

char *objectName(ChartState *chart, int32_t id, int commandForm, char *buf, int len)
{
    if (!buf || len <= 0)
        return buf;
    if (const OrbitalElements *e = loadedElements(chart, id)) {
        std::strncpy(buf, e->name, static_cast<size_t>(len));
        buf[len - 1] = '\0';
        return buf;
    }
    const BodyName &b = bodyNameRow(id);
    if (commandForm)
        strCopyBounded(buf, len, b.command);
    else
        getResourceString(b.resource, buf, len);
    return buf;
}

// Callisto has two names: CALLISTO as typed, CALLIST as the name writer and
// older scene files spell it.
static const struct {
    const char *name;
    int32_t moon;
} satelliteNames[] = {{"IO", 0}, {"EUROPA", 1}, {"GANYMEDE", 2}, {"CALLISTO", 3}, {"CALLIST", 3}};

int findSatelliteByName(ChartState *, const char *name, int32_t *moon)
{
    for (const auto &s : satelliteNames) {
        if (strEqualNoCase(name, s.name)) {
            if (moon)
                *moon = s.moon;
            return 1;
        }
    }
    return 0;
}

struct NameSuffix {
    const char *text;
    uint8_t bit;
    int sunMoon; // also allowed for the Sun and the Moon
};

static const NameSuffix nameSuffixes[] = {
    {"_NAME", kBodyName, 1}, {"_MAG", kBodyMag, 0}, {"_DATE", kBodyDate, 1}, {"_OBT", kBodyOrbit, 0},
};

// Bits of a suffix (empty suffix: kBodyShown), or 0 when it is none.
static uint8_t suffixBits(const char *rest, int sunOrMoon)
{
    if (*rest == '\0')
        return kBodyShown;
    for (const NameSuffix &s : nameSuffixes)
        if (strEqualNoCase(rest, s.text))
            return (sunOrMoon && !s.sunMoon) ? 0 : s.bit;
    return 0;
}

// Row of the n-th (1-based) element row of the given type, or -1.
static int32_t nthRowOfType(const OrbitalElements *rows, int32_t count, char type, long n)
{
    if (!rows || n < 1)
        return -1;
    long seen = 0;
    for (int32_t i = 0; i < count; ++i)
        if (rows[i].type == type && ++seen == n)
            return i;
    return -1;
}

// 1-based ordinal of row i among the rows of its type, or 0 when row i is of another type.
int32_t ordinalOfRow(const OrbitalElements *rows, int32_t i, char type)
{
    if (!rows || rows[i].type != type)
        return 0;
    int32_t n = 0;
    for (int32_t k = 0; k <= i; ++k)
        n += rows[k].type == type ? 1 : 0;
    return n;
}

int parseObjectName(ChartState *chart, const char *word, int32_t *id, uint8_t *bits)
{
    if (!word)
        return 0;
    int32_t foundId = 0;
    uint8_t foundBits = 0;
    // Body names (without the Galilean moons, which position specifications name apart).
    for (int i = 0; i < bodyNameCount && !foundBits; ++i) {
        const BodyName &b = bodyNames[i];
        if (b.id > kObjectPluto)
            continue;
        size_t n = std::strlen(b.command);
        if (!strPrefixNoCase(word, b.command, n))
            continue;
        const char *rest = word + n;
        int sunMoon = b.id == kObjectSun || b.id == kObjectMoon;
        uint8_t sb = suffixBits(rest, sunMoon);
        if (!sb && b.id == kObjectSun && strEqualNoCase(rest, "_SPOT"))
            sb = kSunSpots;
        if (sb) {
            foundId = b.id;
            foundBits = sb;
        }
    }
    struct Family {
        const char *prefix;
        int32_t group, base;
        char type;
        int comet;
    } families[] = {
        {"PLANET", kObjectGroupPlanets, 0, 0, 0},
        {"COMET", kObjectGroupComets, kObjectCometBase, 'C', 1},
        {"MINORPLANET", kObjectGroupMinorPlanets, kObjectMinorPlanetBase, 'M', 0},
        {"DUSTTAIL", kObjectGroupComets, kObjectCometBase, 'C', 1},
        {"IONTAIL", kObjectGroupComets, kObjectCometBase, 'C', 1},
    };
    for (const Family &f : families) {
        if (foundBits)
            break;
        size_t n = std::strlen(f.prefix);
        if (!strPrefixNoCase(word, f.prefix, n))
            continue;
        const char *rest = word + n;
        uint8_t tail = f.prefix[0] == 'D' ? kCometDustTail : f.prefix[0] == 'I' ? kCometIonTail : 0;
        long number = 0;
        const char *after = rest;
        int32_t target = f.group;
        // Numbers are written without leading zeros: "COMET01" names no comet.
        if (f.type && *rest == '0')
            return 0;
        if (f.type && readNumber(rest, &number, &after)) {
            const OrbitalElements *rows = f.comet ? (chart ? chart->cometElements : nullptr)
                                                  : (chart ? chart->minorPlanetElements : nullptr);
            int32_t count = chart ? (f.comet ? chart->cometCount : chart->minorPlanetCount) : 0;
            int32_t row = nthRowOfType(rows, count, f.type, number);
            if (row < 0)
                return 0;
            target = f.base + row;
        }
        uint8_t sb = tail ? (*after == '\0' ? tail : 0) : suffixBits(after, 0);
        if (!sb)
            return 0;
        foundId = target;
        foundBits = sb;
    }
    if (!foundBits)
        return 0;
    if (id)
        *id = foundId;
    if (bits)
        *bits = foundBits;
    return 1;
}

const char *objectDisplayName(ChartState *chart, int32_t id, uint8_t bit)
{
    static char text[256];
    char base[64];
    bool comet = chart && id >= kObjectCometBase && id < kObjectCometBase + chart->cometCount;
    bool minor = chart && id >= kObjectMinorPlanetBase && id < kObjectMinorPlanetBase + chart->minorPlanetCount;
    if (comet)
        std::snprintf(base, sizeof base, "COMET%d",
                      ordinalOfRow(chart->cometElements, id - kObjectCometBase, 'C'));
    else if (minor)
        std::snprintf(base, sizeof base, "MINORPLANET%d",
                      ordinalOfRow(chart->minorPlanetElements, id - kObjectMinorPlanetBase, 'M'));
    else if (id == kObjectGroupPlanets)
        strCopyBounded(base, sizeof base, "PLANET");
    else if (id == kObjectGroupComets)
        strCopyBounded(base, sizeof base, "COMET");
    else if (id == kObjectGroupMinorPlanets)
        strCopyBounded(base, sizeof base, "MINORPLANET");
    else
        strCopyBounded(base, sizeof base, bodyCommandName(id));
    switch (bit) {
    case kBodyShown:
        strCopyBounded(text, sizeof text, base);
        return text;
    case kBodyName:
    case kBodyMag:
    case kBodyDate:
    case kBodyOrbit:
        for (const NameSuffix &s : nameSuffixes) {
            if (s.bit != bit)
                continue;
            // SUN_MAG and MOON_OBT are no names: parseObjectName refuses them.
            if ((id == kObjectSun || id == kObjectMoon) && !s.sunMoon)
                return nullptr;
            std::snprintf(text, sizeof text, "%s%s", base, s.text);
        }
        return text;
    case kCometDustTail: // also kSunSpots
    case kCometIonTail: {
        const char *tail = bit == kCometDustTail ? "DUSTTAIL" : "IONTAIL";
        if (bit == kSunSpots && id == kObjectSun)
            std::snprintf(text, sizeof text, "SUN_SPOT");
        else if (comet)
            std::snprintf(text, sizeof text, "%s%d", tail,
                          ordinalOfRow(chart->cometElements, id - kObjectCometBase, 'C'));
        else if (id == kObjectGroupComets)
            strCopyBounded(text, sizeof text, tail);
        else
            return nullptr;
        return text;
    }
    default:
        return nullptr;
    }
}

// The name against a blank-padded field: equal ignoring case and trailing
// blanks on either side, so "C/1995O1" and "C/1995O1   " both find the
// field whatever its width. A blank name matches nothing (not every blank field).
static int fieldMatches(const char *name, const char *field)
{
    size_t n = strTrimmedLength(name);
    return n > 0 && n == strTrimmedLength(field) && strPrefixNoCase(name, field, n);
}

static int elementMatches(const char *name, const OrbitalElements &e)
{
    return fieldMatches(name, e.extension) || fieldMatches(name, e.id) ||
           fieldMatches(name, e.designation) || fieldMatches(name, e.name);
}

int findCometByName(ChartState *chart, const char *name, int32_t *id)
{
    if (!chart || !name || !chart->cometElements)
        return 0;
    for (int32_t i = 0; i < chart->cometCount; ++i) {
        const OrbitalElements &e = chart->cometElements[i];
        if (e.type == 'C' && elementMatches(name, e)) {
            if (id)
                *id = kObjectCometBase + i;
            return 1;
        }
    }
    return 0;
}

int findMinorPlanetByName(ChartState *chart, const char *name, int32_t *id)
{
    if (!chart || !name || !chart->minorPlanetElements)
        return 0;
    for (int32_t i = 0; i < chart->minorPlanetCount; ++i) {
        const OrbitalElements &e = chart->minorPlanetElements[i];
        if (e.type != 'N' && elementMatches(name, e)) {
            if (id)
                *id = kObjectMinorPlanetBase + i;
            return 1;
        }
    }
    return 0;
}

int findObjectByName(ChartState *chart, const char *name, int32_t *id)
{
    uint8_t bits = 0;
    int32_t found = 0;
    if (parseObjectName(chart, name, &found, &bits)) {
        if (bits != kBodyShown)
            return 0;
        if (id)
            *id = found;
        return 1;
    }
    return findCometByName(chart, name, id) || findMinorPlanetByName(chart, name, id);
}

const char *pickNameField(const OrbitalElements *e)
{
    if (!e)
        return nullptr;
    const char *fields[] = {e->name, e->extension, e->id, e->designation};
    for (const char *f : fields)
        if (!strIsBlank(f))
            return f;
    return nullptr;
}

static int findInObjectFiles(const UserObjectFileEntry *files, int32_t fileCount, const char *name,
                             int32_t *index)
{
    if (!files || !name)
        return 0;
    int32_t running = 0;
    for (int32_t f = 0; f < fileCount; ++f) {
        const UserObject *table = files[f].table;
        for (int32_t i = 0; table && i < files[f].count && table[i].type != kUserObjectTableEnd; ++i) {
            if (table[i].name[0] && strEqualNoCase(table[i].name, name)) {
                if (index)
                    *index = running + i;
                return 1;
            }
        }
        running += files[f].count;
    }
    return 0;
}

int findUserObjectByName(ChartState *chart, const char *name, int32_t *index)
{
    return chart && findInObjectFiles(chart->userObjectFiles, chart->userObjectFileCount, name, index);
}

int findSkyMarkByName(ChartState *, const char *name, int32_t *index)
{
    return appData && findInObjectFiles(appData->skyMarkFiles, appData->skyMarkFileCount, name, index);
}

const NamedPoint namedPoints[namedPointCount] = {
    {{896, 5599, -15371}, "LMC"},
    {{4708, 1102, -15654}, "SMC"},
};

int findTwoEntryName(const char *name, int32_t *index)
{
    for (int32_t i = 0; i < namedPointCount; ++i) {
        if (strEqualNoCase(name, namedPoints[i].name)) {
            if (index)
                *index = i;
            return 1;
        }
    }
    return 0;
}
