#include "render/x/font_sets.h"

#include <cstdio>
#include <cstring>

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>

#include "model/app_data.h"
#include "render/star_symbols.h"

namespace {

Display *fontDisplay = nullptr;
// The whole loaded structure stays here; the record holds a copy of its
// fixed fields, which is all the lower layers read.
XFontStruct *bayerFont = nullptr;

CharMetrics metricsOf(const XCharStruct &c) {
    return CharMetrics{c.lbearing, c.rbearing, c.width, c.ascent, c.descent, c.attributes};
}

ChartRect rectOf(const XRectangle &r) {
    return ChartRect{r.x, r.y, r.width, r.height};
}

void recordBayerFont(const XFontStruct *f) {
    BayerFont &b = appData->bayerFont;
    b.fid = f->fid;
    b.direction = static_cast<uint32_t>(f->direction);
    b.minCharOrByte2 = f->min_char_or_byte2;
    b.maxCharOrByte2 = f->max_char_or_byte2;
    b.minByte1 = f->min_byte1;
    b.maxByte1 = f->max_byte1;
    b.allCharsExist = f->all_chars_exist;
    b.defaultChar = f->default_char;
    b.minBounds = metricsOf(f->min_bounds);
    b.maxBounds = metricsOf(f->max_bounds);
    b.ascent = f->ascent;
    b.descent = f->descent;
}

int measureBayerLetter(char letter) { return bayerFont != nullptr ? XTextWidth(bayerFont, &letter, 1) : 0; }

void gatherCharset(MissingCharsets *m, const char *name) {
    const size_t n = std::strlen(name);
    for (const char *p = m->names; (p = std::strstr(p, name)) != nullptr; p += n)
        if ((p == m->names || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return;
    m->count++;
    const size_t used = std::strlen(m->names);
    if (used + (used ? 1 : 0) + n < sizeof m->names)
        std::snprintf(m->names + used, sizeof m->names - used, "%s%s", used ? " " : "", name);
}

} // namespace

int loadFontSetsFrom(Display *display, const char *const names[kFontSetCount], const char *bayerFontName,
                     MissingCharsets *quiet) {
    freeFontSets();
    if (quiet != nullptr) *quiet = MissingCharsets{};
    fontDisplay = display;
    int complete = 1;
    for (int i = 0; i < kFontSetCount; i++) {
        appData->fontSets[i] = nullptr;
        appData->fontSetExtents[i] = FontSetExtents{};
        const char *name = names[i];
        if (name == nullptr || name[0] == '\0') {
            if (quiet == nullptr) std::fprintf(stderr, "tavik: missing charsets for %s\n", fontSetRows[i].resource);
            complete = 0;
            continue;
        }
        // Rows of one name share one font set: each creation lists and
        // queries its fonts, round trips of the start-up.
        int same = 0;
        while (same < i && !(names[same] != nullptr && std::strcmp(names[same], name) == 0)) same++;
        if (same < i) {
            appData->fontSets[i] = appData->fontSets[same];
            appData->fontSetExtents[i] = appData->fontSetExtents[same];
            if (appData->fontSets[i] == nullptr) complete = 0;
            continue;
        }
        char **missing = nullptr;
        int missingCount = 0;
        char *defaultText = nullptr;
        XFontSet set = XCreateFontSet(display, name, &missing, &missingCount, &defaultText);
        appData->fontSets[i] = set;
        if (set != nullptr && missingCount == 0) {
            const XFontSetExtents *e = XExtentsOfFontSet(set);
            appData->fontSetExtents[i] = FontSetExtents{rectOf(e->max_ink_extent), rectOf(e->max_logical_extent)};
        } else if (quiet != nullptr) {
            for (int k = 0; k < missingCount; k++) gatherCharset(quiet, missing[k]);
            complete = 0;
        } else {
            std::fprintf(stderr, "tavik: missing charsets for %s\n", name);
            for (int k = 0; k < missingCount; k++) std::fprintf(stderr, "tavik: %s\n", missing[k]);
            complete = 0;
        }
        if (missing != nullptr) XFreeStringList(missing);
    }
    if (bayerFontName == nullptr || bayerFontName[0] == '\0') return 0;
    bayerFont = XLoadQueryFont(display, bayerFontName);
    if (bayerFont == nullptr) return 0;
    recordBayerFont(bayerFont);
    setBayerLetterWidth(measureBayerLetter);
    return complete;
}

int loadFontSets(MissingCharsets *quiet) {
    XtResource resources[kFontSetCount + 1];
    String values[kFontSetCount + 1] = {};
    for (int i = 0; i <= kFontSetCount; i++) {
        const bool bayer = i == kFontSetCount;
        resources[i] = XtResource{const_cast<char *>(bayer ? kStarBayerFontResource : fontSetRows[i].resource),
                                  const_cast<char *>("Name"), const_cast<char *>(XtRString), sizeof(String),
                                  static_cast<Cardinal>(i * sizeof(String)), const_cast<char *>(XtRString),
                                  const_cast<char *>(bayer ? kStarBayerFontDefault : fontSetRows[i].tableDefault)};
    }
    XtGetApplicationResources(appData->topLevel, values, resources, kFontSetCount + 1, nullptr, 0);
    const char *names[kFontSetCount];
    for (int i = 0; i < kFontSetCount; i++) names[i] = values[i];
    return loadFontSetsFrom(appData->display, names, values[kFontSetCount], quiet);
}

void freeFontSets() {
    if (fontDisplay == nullptr) return;
    for (int i = 0; i < kFontSetCount; i++) {
        int shared = 0; // rows share a font set of one name; it is freed once
        while (shared < i && appData->fontSets[shared] != appData->fontSets[i]) shared++;
        if (appData->fontSets[i] != nullptr && shared == i) XFreeFontSet(fontDisplay, appData->fontSets[i]);
    }
    for (int i = 0; i < kFontSetCount; i++) {
        appData->fontSets[i] = nullptr;
        appData->fontSetExtents[i] = FontSetExtents{};
    }
    if (bayerFont != nullptr) XFreeFont(fontDisplay, bayerFont);
    bayerFont = nullptr;
    appData->bayerFont = BayerFont{};
    setBayerLetterWidth(nullptr);
}

int dirFontHeight() { return appData->fontSetExtents[DirNameFontset].maxLogicalExtent.height; }

XFontStruct *bayerFontStruct() { return bayerFont; }
