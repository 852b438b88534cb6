// The chart's palette and font sets: 65 named colours, nine sky-colour slots
// after them, 17 named font sets and the symbol font of Bayer letters. Every
// name is an X resource of class "TAvik"; the tables below hold the names,
// their defaults and the built-in colours used when a value is no colour.
//
// X-free: render/x/palette_x.* allocates the colours and creates the font
// sets from these tables.
#pragma once

#include <cstdint>

#include "model/x_handles.h" // kFontSetCount

// PaletteIndex: the row of a colour resource; its pixel is appData->pixels[row].
enum PaletteIndex : int32_t {
    ColorWhite = 0,
    ColorBlack,
    ColorStar0,
    ColorStar1,
    ColorStar2,
    ColorStar3,
    ColorStar4,
    ColorStar5,
    ColorStar6,
    ColorStar7,
    ColorStar8,
    ColorStar9,
    ColorDarkStar,
    ColorStarNameFont,
    ColorStarMagFont,
    ColorStarFlamsteedFont,
    ColorStarBayerFont,
    ColorStarBayerNumFont,
    ColorMilkyWayLine,
    ColorCometIonTail,
    ColorCometDulstTail, // the resource name users' files carry, misspelt
    ColorConstLine,
    ColorConstBorder,
    ColorConstPict,
    ColorConstNameFont,
    ColorNebulaMark,
    ColorNabulaNameFont, // misspelt, as above
    ColorNebulaMagFont,
    ColorEarth,
    ColorMoonEclipse,
    ColorPlanet,
    ColorMinorPlanet,
    ColorMarsDisk,
    ColorJupiterDisk,
    ColorSaturnDisk,
    ColorSaturnRingA,
    ColorSaturnRingB,
    ColorOuterPlanetsDisk,
    ColorSolarNameFont,
    ColorSolarDateFont,
    ColorSolarMagFont,
    ColorSatelliteNameFont,
    ColorPlanisphereBack,
    ColorLandscape,
    ColorDirection1Font,
    ColorDirection2Font,
    ColorGlobeBack,
    ColorUserObjectFont,
    ColorHorizontalGrid,
    ColorEquatorialGrid,
    ColorEclipticGrid,
    ColorGalacticGrid,
    ColorMeridianLine,
    ColorEquatorialLine,
    ColorEclipticLine,
    ColorGalacticLine,
    ColorGridNumFont,
    ColorStatusFont,
    ColorStatusBackground,
    ColorOrbit,
    ColorOrbitMinorPlanet,
    ColorOrbitComet,
    ColorSolarAxis,
    ColorGrayText,
    ColorPictureMark,
};

constexpr int32_t kPaletteColourCount = 65; // rows 0..64
constexpr int32_t kSkySlotCount = 9;        // slots 65..73
constexpr int32_t kPaletteCellCount = kPaletteColourCount + kSkySlotCount;
constexpr uint32_t kSkySlotStartGrey = 0xC0C0C0; // 0xC000 per 16-bit component

// One colour resource (class "Color"). tableDefault is the value used when
// no resource names the colour; builtinRgb (0xRRGGBB) when the value given
// does not parse.
struct PaletteRow {
    const char *resource;
    const char *tableDefault;
    uint32_t builtinRgb;
};

extern const PaletteRow paletteRows[kPaletteColourCount];

// FontSetIndex: the element of appData->fontSets and appData->fontSetExtents.
enum FontSetIndex : int32_t {
    StarNameFontset = 0,
    StarMagFontset,
    StarFlamsteedFontset,
    StarBayerNumFontset,
    ConstNameFontset,
    SolarNameFontset,
    SolarDateFontset,
    SolarMagFontset,
    SatelliteNameFontset,
    UserObjectNameFontset,
    DirNameFontset,
    StatusFontset,
    MoonAgeFontset,
    NebulaNameFontset,
    NebulaMagFontset,
    GridNumFontset,
    ClickDataFontset,
};

// One font-set resource (class "Name") with the colour its labels take
// (-1: not a chart label font).
struct FontSetRow {
    const char *resource;
    const char *tableDefault;
    int32_t labelColour; // PaletteIndex
};

extern const FontSetRow fontSetRows[kFontSetCount];

// The core font of Greek letters (class "Name").
extern const char *const kStarBayerFontResource;  // "StarBayerFont"
extern const char *const kStarBayerFontDefault;

// The text colour of labels drawn in fontSet; ColorWhite for a font set
// outside the table or without a label colour.
int32_t labelColourOf(int32_t fontSet);

// 0xRRGGBB of a "#RGB", "#RRGGBB", "#RRRGGGBBB" or "#RRRRGGGGBBBB" text
// (the forms X parses without a colour database). 1 when it parsed.
int parseHexColour(const char *text, uint32_t *rgb);

// The colour a palette row shows for a resource value: the value when it is
// a hexadecimal colour, else the row's built-in colour. (The X side also
// accepts colour names; this is the part that needs no server.)
uint32_t paletteRowRgb(int32_t row, const char *value);

// The pixel of a palette index: appData->pixels[paletteIndex], 0 for an
// index outside the palette's slots.
uint32_t chartPixel(int paletteIndex);

// A palette index from outside (a data file's colour class) made safe to
// index the palette: clamped to first..last.
int32_t clampPaletteIndex(int32_t index, int32_t first, int32_t last);

// Stores colours into palette cells. The X side registers the real store at
// allocation (writable cells are rewritten; shared colours are allocated and
// the slot's pixel replaced); until then it does nothing, so the lower layers
// and their tests run without a display.
typedef void (*PaletteStoreColour)(int32_t cell, uint32_t rgb);
void setPaletteStoreColour(PaletteStoreColour store); // null = no-op
void paletteStoreColour(int32_t cell, uint32_t rgb);

// The screen's black pixel, which the X side records at allocation (0, the
// usual black, until then).
void setScreenBlackPixel(uint32_t pixel);
uint32_t screenBlackPixel();
