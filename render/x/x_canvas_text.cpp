// Text the cheapest way a font set allows. In an ISO 8859-1 locale a font
// set whose every font is one ISO 8859-1 core font draws each byte of
// printable text as that font's glyph of the same code: the font set's own
// drawing converts the text into that very font, a segment at a time, and
// sets the GC's font each time. Such text goes straight to the font (one
// string, the font set only when it changes) and is measured by the font's
// widths with the font set's logical ascent and height, which gives the
// font set's own drawing and extents. Any other font set or text goes
// through the font set.
#include "render/x/x_canvas.h"

#include <cctype>
#include <cstring>
#include <string>

namespace {

// "en_US.ISO-8859-1" and its spellings ("iso88591", "ISO_8859-1").
bool latin1Locale(const char *locale) {
    const char *dot = locale != nullptr ? std::strchr(locale, '.') : nullptr;
    if (dot == nullptr) return false;
    std::string codeset;
    for (const char *p = dot + 1; *p != '\0' && *p != '@'; p++)
        if (*p != '-' && *p != '_') codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return codeset == "iso88591";
}

bool latin1FontName(const char *name) {
    const char suffix[] = "-iso8859-1";
    const size_t n = std::strlen(name), m = sizeof suffix - 1;
    if (n < m) return false;
    for (size_t i = 0; i < m; i++)
        if (std::tolower(static_cast<unsigned char>(name[n - m + i])) != suffix[i]) return false;
    return true;
}

// Printable ISO 8859-1: no control codes of either half.
bool printableLatin1(const char *text, int len) {
    for (int i = 0; i < len; i++) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return false;
    }
    return true;
}

} // namespace

const XFontStruct *XCanvas::directFont(int fontSet, const char *text, int len) {
    DirectFont &d = direct_[fontSet];
    const XFontSet set = fontSets[fontSet];
    if (d.set != set) {
        d = DirectFont{};
        d.set = set;
        XFontStruct **fonts = nullptr;
        char **names = nullptr;
        const int n = XFontsOfFontSet(set, &fonts, &names);
        bool one = n >= 1 && latin1Locale(XLocaleOfFontSet(set));
        for (int i = 0; one && i < n; i++)
            one = names[i] != nullptr && std::strcmp(names[i], names[0]) == 0 && latin1FontName(names[i]);
        const XFontSetExtents *e = XExtentsOfFontSet(set);
        if (one && e != nullptr) {
            d.font = fonts[0];
            d.logicalY = e->max_logical_extent.y;
            d.logicalHeight = e->max_logical_extent.height;
        }
    }
    // A font loaded on demand has no id until the font set first draws.
    if (d.font == nullptr || d.font->fid == 0 || !printableLatin1(text, len)) return nullptr;
    return d.font;
}
