// The Bayer letters drawn on the chart are the Greek letters of their rank in
// the symbol font the X server gives for StarBayerFont: each character's glyph
// name is read from that font's own file (the server's font path, its
// fonts.dir and the PCF glyph-name and encoding tables), and it must be the
// letter's name that the info box writes.
#include <strings.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include "model/resource_text.h"
#include "model/star_names.h"
#include "render/palette.h"
#include "render/star_symbols.h"
#include "tests/support/x_server.h"

namespace {

// The whole of a file, through gzip when it is compressed.
std::string readFontFile(const std::string &path)
{
    if (path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0) {
        std::string cmd = "gzip -dc '" + path + "'";
        FILE *p = popen(cmd.c_str(), "r");
        if (!p)
            return "";
        std::string out;
        char buf[8192];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
        return out;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Character code -> glyph name, from a PCF file's encoding and glyph-name tables.
std::map<int, std::string> pcfGlyphNames(const std::string &pcf)
{
    std::map<int, std::string> names;
    auto u32le = [&](size_t at) {
        return at + 4 > pcf.size() ? 0u
                                   : static_cast<uint32_t>(static_cast<uint8_t>(pcf[at])) |
                                         static_cast<uint32_t>(static_cast<uint8_t>(pcf[at + 1])) << 8 |
                                         static_cast<uint32_t>(static_cast<uint8_t>(pcf[at + 2])) << 16 |
                                         static_cast<uint32_t>(static_cast<uint8_t>(pcf[at + 3])) << 24;
    };
    if (pcf.compare(0, 4, "\1fcp") != 0)
        return names;
    constexpr uint32_t kEncodings = 1u << 5, kGlyphNames = 1u << 7, kMsbFirst = 1u << 2;
    size_t encodings = 0, glyphNames = 0;
    for (uint32_t i = 0, count = u32le(4); i < count; ++i) {
        uint32_t type = u32le(8 + 16 * i), offset = u32le(8 + 16 * i + 12);
        if (type == kEncodings)
            encodings = offset;
        if (type == kGlyphNames)
            glyphNames = offset;
    }
    if (!encodings || !glyphNames)
        return names;
    // Each table opens with its format (little-endian); the rest is in the byte
    // order the format names.
    auto reader = [&](size_t table) {
        bool msb = (u32le(table) & kMsbFirst) != 0;
        return [&pcf, msb](size_t at, int width) {
            uint32_t v = 0;
            for (int k = 0; k < width && at + k < pcf.size(); ++k) {
                uint32_t byte = static_cast<uint8_t>(pcf[at + k]);
                v |= msb ? byte << (8 * (width - 1 - k)) : byte << (8 * k);
            }
            return v;
        };
    };
    auto enc = reader(encodings);
    const int firstCol = enc(encodings + 4, 2), lastCol = enc(encodings + 6, 2);
    const int firstRow = enc(encodings + 8, 2), lastRow = enc(encodings + 10, 2);
    auto nam = reader(glyphNames);
    const uint32_t glyphCount = nam(glyphNames + 4, 4);
    const size_t strings = glyphNames + 8 + 4 * glyphCount + 4;
    if (firstRow != 0 || lastRow != 0)
        return names; // a single-byte font is expected
    for (int c = firstCol; c <= lastCol; ++c) {
        uint32_t glyph = enc(encodings + 14 + 2 * (c - firstCol), 2);
        if (glyph == 0xFFFF || glyph >= glyphCount)
            continue;
        names[c] = std::string(pcf.c_str() + strings + nam(glyphNames + 8 + 4 * glyph, 4));
    }
    return names;
}

// The file in the server's font path whose fonts.dir entry is the font's name.
std::string fontFileOf(Display *display, const std::string &fontName)
{
    int count = 0;
    char **path = XGetFontPath(display, &count);
    std::string found;
    for (int i = 0; i < count && found.empty(); ++i) {
        std::string dir = path[i];
        if (!dir.empty() && dir.back() == '/')
            dir.pop_back();
        std::ifstream list(dir + "/fonts.dir");
        std::string line;
        std::getline(list, line); // the count
        while (std::getline(list, line)) {
            size_t blank = line.find(' ');
            if (blank != std::string::npos && strcasecmp(line.c_str() + blank + 1, fontName.c_str()) == 0) {
                found = dir + "/" + line.substr(0, blank);
                break;
            }
        }
    }
    XFreeFontPath(path);
    return found;
}

TEST(BayerLetters, EachIsTheGreekLetterOfItsRankInTheServersSymbolFont)
{
    XServer server(320, 240, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    char pattern[128];
    fallbackResourceString(kStarBayerFontResource, pattern, sizeof pattern);
    XFontStruct *font = XLoadQueryFont(server.display(), pattern);
    ASSERT_NE(font, nullptr) << pattern;
    unsigned long atom = 0;
    ASSERT_TRUE(XGetFontProperty(font, XA_FONT, &atom));
    char *name = XGetAtomName(server.display(), atom);
    const std::string fontName = name;
    XFree(name);
    XFreeFont(server.display(), font);

    const std::string file = fontFileOf(server.display(), fontName);
    ASSERT_FALSE(file.empty()) << fontName << " is in no fonts.dir of the server's font path";
    const std::map<int, std::string> glyphs = pcfGlyphNames(readFontFile(file));
    ASSERT_FALSE(glyphs.empty()) << file;
    ASSERT_EQ(std::string(kBayerLetters).size(), 24u);
    for (int letter = 1; letter <= 24; ++letter) {
        const unsigned char c = static_cast<unsigned char>(kBayerLetters[letter - 1]);
        auto it = glyphs.find(c);
        ASSERT_NE(it, glyphs.end()) << "no glyph for '" << c << "' in " << file;
        EXPECT_EQ(it->second, greekLetterNames[letter])
            << "letter " << letter << " is drawn as '" << c << "' in " << fontName;
    }
}

} // namespace
