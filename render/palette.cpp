#include "render/palette.h"

#include <cctype>
#include <cstring>

#include "model/app_data.h"

// Defaults as the resource table gives them; the fallback resources
// (resources/tavik.ad) name every colour and differ only for
// ColorSatelliteNameFont and ColorPlanisphereBack. The built-in colours are
// the defaults except for the two Saturn rings, which are swapped, and those
// two rows, which keep the table's value.
const PaletteRow paletteRows[kPaletteColourCount] = {
    {"ColorWhite", "#FFFFFF", 0xFFFFFF},
    {"ColorBlack", "#000000", 0x000000},
    {"ColorStar0", "#DFDFFF", 0xDFDFFF},
    {"ColorStar1", "#E4E4F9", 0xE4E4F9},
    {"ColorStar2", "#E9E9F4", 0xE9E9F4},
    {"ColorStar3", "#EFEFEF", 0xEFEFEF},
    {"ColorStar4", "#F4F4DF", 0xF4F4DF},
    {"ColorStar5", "#F9F9CF", 0xF9F9CF},
    {"ColorStar6", "#FFFFBF", 0xFFFFBF},
    {"ColorStar7", "#FFE9B4", 0xFFE9B4},
    {"ColorStar8", "#FFD4A9", 0xFFD4A9},
    {"ColorStar9", "#FFBF9F", 0xFFBF9F},
    {"ColorDarkStar", "#7F7F7F", 0x7F7F7F},
    {"ColorStarNameFont", "#FFFFFF", 0xFFFFFF},
    {"ColorStarMagFont", "#FFFFFF", 0xFFFFFF},
    {"ColorStarFlamsteedFont", "#FFFFFF", 0xFFFFFF},
    {"ColorStarBayerFont", "#FFFFFF", 0xFFFFFF},
    {"ColorStarBayerNumFont", "#FFFFFF", 0xFFFFFF},
    {"ColorMilkyWayLine", "#2C8A92", 0x2C8A92},
    {"ColorCometIonTail", "#2C6CA6", 0x2C6CA6},
    {"ColorCometDulstTail", "#544878", 0x544878},
    {"ColorConstLine", "#244382", 0x244382},
    {"ColorConstBorder", "#23305D", 0x23305D},
    {"ColorConstPict", "#292951", 0x292951},
    {"ColorConstNameFont", "#00FFFF", 0x00FFFF},
    {"ColorNebulaMark", "#4DC07E", 0x4DC07E},
    {"ColorNabulaNameFont", "#FFFFFF", 0xFFFFFF},
    {"ColorNebulaMagFont", "#FFFFFF", 0xFFFFFF},
    {"ColorEarth", "#8080FF", 0x8080FF},
    {"ColorMoonEclipse", "#B45B21", 0xB45B21},
    {"ColorPlanet", "#FFFFFF", 0xFFFFFF},
    {"ColorMinorPlanet", "#FFFFFF", 0xFFFFFF},
    {"ColorMarsDisk", "#FF8000", 0xFF8000},
    {"ColorJupiterDisk", "#FAE6B4", 0xFAE6B4},
    {"ColorSaturnDisk", "#FFE5B7", 0xFFE5B7},
    {"ColorSaturnRingA", "#C2AF85", 0xFFE5B7},
    {"ColorSaturnRingB", "#DCD2BB", 0xC2AF85},
    {"ColorOuterPlanetsDisk", "#02C7AE", 0x02C7AE},
    {"ColorSolarNameFont", "#FFFF00", 0xFFFF00},
    {"ColorSolarDateFont", "#FFFFFF", 0xFFFFFF},
    {"ColorSolarMagFont", "#FFFFFF", 0xFFFFFF},
    {"ColorSatelliteNameFont", "#FFFF00", 0xFFFF00},
    {"ColorPlanisphereBack", "#000058", 0x000058},
    {"ColorLandscape", "#202020", 0x202020},
    {"ColorDirection1Font", "#FF0000", 0xFF0000},
    {"ColorDirection2Font", "#C0C0C0", 0xC0C0C0},
    {"ColorGlobeBack", "#00006A", 0x00006A},
    {"ColorUserObjectFont", "#FFFFFF", 0xFFFFFF},
    {"ColorHorizontalGrid", "#40407F", 0x40407F},
    {"ColorEquatorialGrid", "#40407F", 0x40407F},
    {"ColorEclipticGrid", "#40407F", 0x40407F},
    {"ColorGalacticGrid", "#40407F", 0x40407F},
    {"ColorMeridianLine", "#40407F", 0x40407F},
    {"ColorEquatorialLine", "#9F3535", 0x9F3535},
    {"ColorEclipticLine", "#B6B63D", 0xB6B63D},
    {"ColorGalacticLine", "#C0C0C0", 0xC0C0C0},
    {"ColorGridNumFont", "#808080", 0x808080},
    {"ColorStatusFont", "#000000", 0x000000},
    {"ColorStatusBackground", "#C0C0C0", 0xC0C0C0},
    {"ColorOrbit", "#404080", 0x404080},
    {"ColorOrbitMinorPlanet", "#5E2080", 0x5E2080},
    {"ColorOrbitComet", "#205E80", 0x205E80},
    {"ColorSolarAxis", "#408080", 0x408080},
    {"ColorGrayText", "#000000", 0x000000},
    {"ColorPictureMark", "#FFA000", 0xFFA000},
};

namespace {

const char kNormal12[] = "-*-*-medium-r-normal--12-*-*-*-p-*-iso8859-1";
const char kNormal8[] = "-*-*-medium-r-normal--8-*-*-*-p-*-iso8859-1";
const char kItalic12[] = "-*-*-medium-i-normal--12-*-*-*-p-*-iso8859-1";
const char kCourier12[] = "-*-courier-medium-r-normal--12-*-*-*-m-*-iso8859-1";

PaletteStoreColour storeColour = nullptr;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

// Table defaults; the fallback resources give other names (resources/tavik.ad).
const FontSetRow fontSetRows[kFontSetCount] = {
    {"StarNameFontset", kNormal12, ColorStarNameFont},
    {"StarMagFontset", kNormal8, ColorStarMagFont},
    {"StarFlamsteedFontset", kNormal8, ColorStarFlamsteedFont},
    {"StarBayerNumFontset", kNormal8, ColorStarBayerNumFont},
    {"ConstNameFontset", kItalic12, ColorConstNameFont},
    {"SolarNameFontset", kItalic12, ColorSolarNameFont},
    {"SolarDateFontset", kNormal8, ColorSolarDateFont},
    {"SolarMagFontset", kNormal8, ColorSolarMagFont},
    {"SatelliteNameFontset", kItalic12, ColorSatelliteNameFont},
    {"UserObjectNameFontset", kItalic12, ColorUserObjectFont},
    {"DirNameFontset", kNormal12, ColorDirection1Font},
    {"StatusFontset", kNormal12, ColorStatusFont},
    {"MoonAgeFontset", kNormal8, ColorStatusFont},
    {"NebulaNameFontset", kNormal12, ColorNabulaNameFont},
    {"NebulaMagFontset", kNormal8, ColorNebulaMagFont},
    {"GridNumFontset", kNormal8, ColorGridNumFont},
    {"ClickDataFontset", kCourier12, -1},
};

const char *const kStarBayerFontResource = "StarBayerFont";
const char *const kStarBayerFontDefault = "-*-symbol-medium-r-normal--12-*-*-*-p-*-*-*";

int32_t labelColourOf(int32_t fontSet) {
    if (fontSet < 0 || fontSet >= kFontSetCount || fontSetRows[fontSet].labelColour < 0) return ColorWhite;
    return fontSetRows[fontSet].labelColour;
}

// X reads "#" forms as 1 to 4 hex digits per component, all components the
// same width; the top 8 bits of each are kept here.
int parseHexColour(const char *text, uint32_t *rgb) {
    if (text == nullptr) return 0;
    while (std::isspace(static_cast<unsigned char>(*text))) text++;
    if (*text != '#') return 0;
    text++;
    size_t n = 0;
    while (text[n] != '\0' && hexDigit(text[n]) >= 0) n++;
    size_t end = n;
    while (std::isspace(static_cast<unsigned char>(text[end]))) end++;
    if (text[end] != '\0' || n == 0 || n % 3 != 0 || n > 12) return 0;
    const size_t w = n / 3;
    uint32_t out = 0;
    for (int c = 0; c < 3; c++) {
        uint32_t v = 0;
        for (size_t i = 0; i < w; i++) v = v << 4 | static_cast<uint32_t>(hexDigit(text[c * w + i]));
        // Scale a w-digit value to 8 bits as X scales it to 16, then keep the top byte.
        uint32_t v16 = 0;
        switch (w) {
        case 1: v16 = v * 0x1111; break;
        case 2: v16 = v * 0x101; break;
        case 3: v16 = v << 4 | v >> 8; break;
        default: v16 = v; break;
        }
        out = out << 8 | (v16 >> 8);
    }
    *rgb = out;
    return 1;
}

uint32_t paletteRowRgb(int32_t row, const char *value) {
    row = clampPaletteIndex(row, 0, kPaletteColourCount - 1);
    uint32_t rgb = 0;
    if (parseHexColour(value, &rgb)) return rgb;
    return paletteRows[row].builtinRgb;
}

uint32_t chartPixel(int paletteIndex) {
    if (appData == nullptr || paletteIndex < 0 || paletteIndex >= kPaletteSlots) return 0;
    return static_cast<uint32_t>(appData->pixels[paletteIndex]);
}

int32_t clampPaletteIndex(int32_t index, int32_t first, int32_t last) {
    return index < first ? first : (index > last ? last : index);
}

void setPaletteStoreColour(PaletteStoreColour store) { storeColour = store; }

void paletteStoreColour(int32_t cell, uint32_t rgb) {
    if (storeColour != nullptr) storeColour(cell, rgb);
}

namespace {
uint32_t blackPixel = 0;
}

void setScreenBlackPixel(uint32_t pixel) { blackPixel = pixel; }
uint32_t screenBlackPixel() { return blackPixel; }
