// Object names and look-up over the built-in catalogues and the chart's
// loaded tables.
#include "model/object_names.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/orbit_records.h"
#include "astro/q14.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "resources/catalogs.h"

// ---- flag helpers ----------------------------------------------

uint8_t flagCombine(uint8_t value, uint8_t bits, int op)
{
    switch (op) {
    case kFlagShow:
        return static_cast<uint8_t>(value | bits);
    case kFlagHide:
        return static_cast<uint8_t>(value & ~bits);
    case kFlagToggle:
        return (value & bits) ? static_cast<uint8_t>(value & ~bits) : static_cast<uint8_t>(value | bits);
    default:
        return value;
    }
}

static void copyText(char *buf, int len, const char *text)
{
    if (len > 0)
        strCopyBounded(buf, len, text);
}

// ---- body names -------------------------------------------------------------

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
    {0, "MERCURY", "messagePlanetMercury"},
    {1, "VENUS", "messagePlanetVenus"},
    {2, "MARS", "messagePlanetMars"},
    {3, "JUPITER", "messagePlanetJupiter"},
    {4, "SATURN", "messagePlanetSaturn"},
    {5, "URANUS", "messagePlanetUranus"},
    {6, "NEPTUNE", "messagePlanetNeptune"},
    {7, "PLUTO", "messagePlanetPluto"},
    {8, "IO", "messagePlanetJsIo"},
    {9, "EUROPA", "messagePlanetJsEuropa"},
    {10, "GANYMEDE", "messagePlanetJsGanymede"},
    {11, "CALLIST", "messagePlanetJsCallist"},
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
        copyText(buf, len, b.command);
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
    {"_NAME", 0x04, 1}, {"_MAG", 0x08, 0}, {"_DATE", 0x10, 1}, {"_OBT", 0x20, 0},
};

// Bits of a suffix (empty suffix: 0x02), or 0 when it is none.
static uint8_t suffixBits(const char *rest, int sunOrMoon)
{
    if (*rest == '\0')
        return 0x02;
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
static int32_t ordinalOfRow(const OrbitalElements *rows, int32_t i, char type)
{
    if (!rows || rows[i].type != type)
        return 0;
    int32_t n = 0;
    for (int32_t k = 0; k <= i; ++k)
        n += rows[k].type == type ? 1 : 0;
    return n;
}

// Reads the decimal digits at p (at least one); end points past them.
static int readNumber(const char *p, long *n, const char **end)
{
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return 0;
    long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (v < 100000000)
            v = v * 10 + (*p - '0');
        ++p;
    }
    *n = v;
    *end = p;
    return 1;
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
            sb = 0x40;
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
        uint8_t tail = f.prefix[0] == 'D' ? 0x40 : f.prefix[0] == 'I' ? 0x80 : 0;
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
        copyText(base, sizeof base, "PLANET");
    else if (id == kObjectGroupComets)
        copyText(base, sizeof base, "COMET");
    else if (id == kObjectGroupMinorPlanets)
        copyText(base, sizeof base, "MINORPLANET");
    else
        copyText(base, sizeof base, bodyCommandName(id));
    switch (bit) {
    case 0x02:
        copyText(text, sizeof text, base);
        return text;
    case 0x04:
    case 0x08:
    case 0x10:
    case 0x20:
        for (const NameSuffix &s : nameSuffixes) {
            if (s.bit != bit)
                continue;
            // SUN_MAG and MOON_OBT are no names: parseObjectName refuses them.
            if ((id == kObjectSun || id == kObjectMoon) && !s.sunMoon)
                return nullptr;
            std::snprintf(text, sizeof text, "%s%s", base, s.text);
        }
        return text;
    case 0x40:
    case 0x80: {
        const char *tail = bit == 0x40 ? "DUSTTAIL" : "IONTAIL";
        if (bit == 0x40 && id == kObjectSun)
            std::snprintf(text, sizeof text, "SUN_SPOT");
        else if (comet)
            std::snprintf(text, sizeof text, "%s%d", tail,
                          ordinalOfRow(chart->cometElements, id - kObjectCometBase, 'C'));
        else if (id == kObjectGroupComets)
            copyText(text, sizeof text, tail);
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
        if (bits != 0x02)
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

// ---- stars ------------------------------------------------------------------

const char *const greekLetterNames[25] = {
    "", "alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota",
    "kappa", "lambda", "mu", "nu", "xi", "omicron", "pi", "rho", "sigma", "tau",
    "upsilon", "phi", "chi", "psi", "omega",
};

int starDesignationIndex(int32_t star, int32_t *designation, int32_t *hasCommonName)
{
    if (star < 0 || star >= designationWordCount * 16)
        return 0;
    const DesignationWord &w = designationWords[star / 16];
    uint32_t bit = 0x8000u >> (star % 16);
    if (!(w.bits & bit))
        return 0;
    uint32_t upTo = w.bits & ~(bit - 1) & 0xFFFFu;
    int32_t set = 0;
    for (uint32_t b = upTo; b; b &= b - 1)
        ++set;
    if (designation)
        *designation = w.countBefore + set - 1;
    if (hasCommonName)
        *hasCommonName = (star < brightStarCount && (brightStars[star].packed & brightStarHasName)) ? 1 : 0;
    return 1;
}

void starDesignationUnpack(int32_t designation, uint8_t *bayerLetter, uint8_t *bayerNumber, uint8_t *flamsteed,
                           uint8_t *constellation)
{
    uint8_t b0 = 0, b1 = 0, b2 = 0;
    if (designation >= 0 && designation < designationEntryCount) {
        b0 = designationEntries[designation][0];
        b1 = designationEntries[designation][1];
        b2 = designationEntries[designation][2];
    }
    if (bayerLetter)
        *bayerLetter = static_cast<uint8_t>(b0 >> 3);
    if (bayerNumber)
        *bayerNumber = static_cast<uint8_t>((b0 & 7) << 1 | b1 >> 7);
    if (flamsteed)
        *flamsteed = b2;
    if (constellation)
        *constellation = static_cast<uint8_t>(b1 & 0x7F);
}

static const char *starNameText(const StarNameEntry &e) { return e.localName ? e.localName : e.builtinName; }

const char *starCommonNameLookup(int32_t star)
{
    for (int32_t i = 0; i < starNameCount; ++i)
        if (starNames[i].index == star)
            return starNameText(starNames[i]);
    return nullptr;
}

int findConstellation(char *text)
{
    if (!text)
        return -1;
    strUpper(text);
    for (int32_t i = 0; i < constellationSearchCount; ++i) {
        const ConstellationEntry &c = constellations[i];
        if (strEqualNoCase(text, c.abbreviation) || strEqualNoCase(text, c.localName) ||
            strEqualNoCase(text, c.latinName))
            return i;
    }
    return -1;
}

// The first designation entry matching letter, superscript, Flamsteed number
// and constellation under the rules of parseBayerName, or -1.
static int32_t findDesignationEntry(int letter, int sup, int flamsteed, int cons)
{
    for (int32_t i = 0; i < designationEntryCount; ++i) {
        const uint8_t *e = designationEntries[i];
        if (letter && sup) {
            if (e[0] != ((letter << 3) | (sup >> 1)) || e[1] != (cons | (sup & 1) << 7))
                continue;
        } else if (letter) {
            if ((e[0] & 0xF8) != (letter << 3) || (e[1] & 0x7F) != cons)
                continue;
        } else if ((e[1] & 0x7F) != cons) {
            continue;
        }
        if (flamsteed && e[2] != flamsteed)
            continue;
        return i;
    }
    return -1;
}

// The star of a designation entry: the word holding it by binary search over
// the running counts, then its bit within the word.
static int starOfDesignation(int32_t entry, int32_t *star)
{
    if (entry < 0 || entry >= designationEntryCount)
        return 0;
    int32_t lo = 0, hi = designationWordCount - 1;
    while (lo < hi) { // last word whose countBefore <= entry
        int32_t mid = (lo + hi + 1) / 2;
        if (designationWords[mid].countBefore <= entry)
            lo = mid;
        else
            hi = mid - 1;
    }
    int32_t rank = entry - designationWords[lo].countBefore;
    for (int32_t b = 0; b < 16; ++b) {
        if (!(designationWords[lo].bits & (0x8000u >> b)))
            continue;
        if (rank-- == 0) {
            int32_t s = lo * 16 + b;
            if (s >= brightStarCount)
                return 0;
            if (star)
                *star = s;
            return 1;
        }
    }
    return 0;
}

int parseBayerName(char *text, int32_t *star)
{
    if (!text)
        return 0;
    int letter = 0, sup = 0;
    char *rest = text;
    for (int g = 1; g <= 24; ++g) {
        size_t n = std::strlen(greekLetterNames[g]);
        if (strPrefixNoCase(text, greekLetterNames[g], n)) {
            letter = g;
            rest = text + n;
            if (*rest >= '1' && *rest <= '9')
                sup = *rest++ - '0';
            break;
        }
    }
    int cons = letter ? findConstellation(rest) : -1;
    int flamsteed = 0;
    if (cons < 0) {
        // No Greek prefix, or one that was really the start of a constellation
        // ("Tau", "Pic", "Mus"): read a Flamsteed number instead.
        letter = sup = 0;
        rest = text;
        long f = 0;
        const char *after = rest;
        if (readNumber(rest, &f, &after)) {
            if (f > 255)
                return 0;
            flamsteed = static_cast<int>(f);
            rest = text + (after - text);
        }
        cons = findConstellation(rest);
    }
    if (cons < 0)
        return 0;
    int32_t entry = findDesignationEntry(letter, sup, flamsteed, cons);
    return entry >= 0 && starOfDesignation(entry, star);
}

int parseCommonStarName(char *text, int32_t *star)
{
    if (!text)
        return 0;
    strUpper(text);
    for (int32_t i = 0; i < starNameCount; ++i) {
        if (strEqualNoCase(text, starNameText(starNames[i]))) {
            if (star)
                *star = starNames[i].index;
            return 1;
        }
    }
    return 0;
}

int parseStarName(char *text, int32_t *star) { return parseBayerName(text, star) || parseCommonStarName(text, star); }

int starLastIndexForLimit(ChartState *chart, int32_t *last)
{
    int32_t limit = chart->starLimit;
    int32_t index;
    if (limit < -15)
        return 0;
    if (limit <= -8)
        index = 0;
    else if (limit <= -1)
        index = 1;
    else if (limit < starLimitCountSize)
        index = starLimitCounts[limit] - 1;
    else
        index = brightStarCount - 1;
    if (last)
        *last = index;
    return 1;
}

// ---- deep-sky objects -------------------------------------------------------

int parseNebulaName(const char *text, int32_t *index)
{
    if (!text)
        return 0;
    int catalog;
    const char *p = text + 1;
    switch (stkUpperAscii(text[0])) {
    case 'M':
        catalog = 0;
        break;
    case 'N':
        catalog = 1;
        if (stkUpperAscii(p[0]) == 'G' && stkUpperAscii(p[1]) == 'C')
            p += 2;
        break;
    case 'I':
        catalog = 2;
        if (stkUpperAscii(p[0]) == 'C')
            p += 1;
        break;
    default:
        return 0;
    }
    errno = 0;
    long number = std::strtol(p, nullptr, 10);
    if (errno || number <= 0 || number > nebulaNumberMask)
        return 0;
    static const int32_t flags[nebulaCatalogCount] = {nebulaFlagMessier, nebulaFlagNgc, nebulaFlagIc};
    for (int32_t i = 0; i < nebulaCounts[catalog]; ++i) {
        const NebulaRecord &r = nebulaRecords[nebulaFirst[catalog] + i];
        if ((r.number & flags[catalog]) && (r.number & nebulaNumberMask) == number) {
            if (index)
                *index = nebulaFirst[catalog] + i;
            return 1;
        }
    }
    return 0;
}

int nebulaCount() { return nebulaTotalCount; }

int nebulaPosition(int32_t index, double out[2])
{
    if (index < 0 || index >= nebulaTotalCount)
        return 0;
    vecQ14ToSph(&nebulaPositions[index], out);
    return 1;
}

char *nebulaTypeName(int32_t type, char *buf, int32_t len)
{
    static const char *const resources[] = {
        "messageNebulaPlanetary", "messageNebulaDiffuse", "messageNebulaOpen",
        "messageNebulaGlobular",  "messageNebulaGalaxy",  "messageNebulaCompound",
    };
    if (type >= 0 && type < 6)
        return getResourceString(resources[type], buf, len);
    copyText(buf, len, "");
    return buf;
}

// ---- star limit and field of view -----------------------------------------------

int32_t viewAutoStarLimit(ChartState *chart)
{
    double x = chart->fieldWidth;
    double v;
    if (x > 120.0)
        v = 60.0;
    else if (x >= 10.0)
        v = 80.0 - (x - 10.0) * 20.0 / 110.0;
    else if (x >= 1.0)
        v = 120.0 - (x - 1.0) * 40.0 / 9.0;
    else
        v = 160.0 - (x - 0.1) * 40.0 / 0.9;
    int32_t mode = chart->mode;
    int32_t kind = chartModeKind(mode);
    if (kind == 3 || kind == 4)
        return 45;
    int32_t limit;
    if (mode == 1284 || mode == 1537 || mode == 1793 || mode == kModePlns) {
        limit = 45;
    } else {
        // A field far below the smallest zoom could overflow the int.
        double t = std::trunc(v);
        limit = t > 1000.0 ? 1000 : static_cast<int32_t>(t);
        if (chart->catalogLimit < limit)
            limit = chart->catalogLimit;
    }
    if ((chart->skyFlags & 0x01) && chartModeSystem(mode) == 1) {
        if (chart->skyLevel > 32)
            limit -= 65;
        else
            limit -= chart->skyLevel * 65 / 32;
    }
    return limit;
}

void viewApplyStarLimit(ChartState *chart)
{
    // In 64 bits and clamped: the fixed limit and the offset come from
    // commands and scene files, and may be anything an int32 holds.
    const int64_t automatic = viewAutoStarLimit(chart);
    const int64_t span = int64_t{kLimitTenthsMax} - kLimitTenthsMin;
    if (chart->fixedLimitOn) {
        const int32_t fixed = chartClampLimit(chart->fixedLimit);
        const int64_t offset = fixed - automatic;
        chart->starLimitSet = static_cast<int32_t>(offset < -span ? -span : offset > span ? span : offset);
        chart->starLimit = fixed;
        chart->fixedLimitOn = 0;
    } else {
        chart->starLimit = chartClampLimit(automatic + chart->starLimitSet);
    }
    if (chart->starLimit > chart->catalogLimit)
        chart->starLimit = chart->catalogLimit;
}

static double pixelAspect()
{
    double a = appData ? appData->pixelAspect : 1.0;
    return a > 0.0 ? a : 1.0;
}

int viewClampFieldOfView(ChartState *chart, int apply)
{
    if (chartModeKind(chart->mode) != 1 || chart->chartRect.width == 0 || chart->chartRect.height == 0)
        return 1;
    double vertical = chart->fieldWidth * chart->chartRect.height / chart->chartRect.width / pixelAspect();
    double limit = chart->mode == kModeHrz ? 110.0 : 180.0;
    if (vertical > limit && apply)
        chart->fieldWidth *= limit / vertical;
    return 1;
}

double viewMaxFieldOfView(ChartState *chart)
{
    double limit = chart->mode == kModeHrz ? 110.0 : 180.0;
    if (chart->chartRect.height == 0)
        return 180.0;
    double x = limit * chart->chartRect.width / chart->chartRect.height * pixelAspect();
    if (x > 180.0)
        x = 180.0;
    return std::floor(x * 10.0 + 0.5) / 10.0;
}

// ---- writing an object as command text ---------------------------------------

static int finish(int n, int len) { return n >= 0 && n < len ? 1 : 0; }

int isSendableName(const char *name, size_t room)
{
    // A quote would end the quoted name early, ";", CR and LF the statement.
    return name != nullptr && std::strpbrk(name, "\";\r\n") == nullptr && std::strlen(name) < room;
}

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
