// Star designations and proper names, and constellation names, over the
// built-in catalogues.
#include "model/star_names.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "model/lexing.h"
#include "model/object_names.h"
#include "resources/catalogs.h"

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

const char *starNameText(const StarNameEntry &e) { return e.localName ? e.localName : e.builtinName; }

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
