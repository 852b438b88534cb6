// Star symbols and labels, shared by every star layer (bright stars, the
// star catalogue file, the Guide Star Catalog) and by planets and user
// objects drawn as stars: a pixel pattern that grows with brightness above
// the chart's limit, coloured by spectral class, dimmed near the horizon.
#pragma once

#include <cstdint>
#include <vector>

#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;
struct Canvas;

// Stars this low (Q14 depth, about 5.4 degrees of altitude) are dimmed and
// reddened in the horizontal chart and the planisphere.
constexpr int32_t kExtinctionDepthQ14 = 1535;

// The Greek letters of Bayer designations in the symbol font, alpha first:
// there z is zeta, x xi, y psi and w omega (j and v are variants of phi and
// pi, which the string "abgdeyhqiklmnwoprstufcjv" put in their place).
extern const char kBayerLetters[]; // "abgdezhqiklmnxoprstufcyw"

// Symbol class of a star: (limit - mag10 + 10) / 10, truncated, at least 1.
int starSymbolClass(int32_t starLimit, int32_t mag10);

// The most pixels a symbol has.
constexpr int kMaxSymbolPixels = 13;
// Pixel offsets (dx, dy) of a symbol class, into out (13 rows at most);
// returns their count: class 1 and 2 one pixel, 3 a 2 x 2 square, 4 a plus
// of 5, 5 a 3 x 3 square, 6 and above the square and 4 points at distance 2.
int starSymbolOffsets(int cls, int8_t out[][2]);

/*
 * starHorizonExtinction: dims and reddens a star near the horizon.
 * Given:    depth        int     Q14 height above the horizon plane
 * Given and returned:
 *           mag10        int*    magnitude x 10: + 20 - depth / 77
 *           colourClass  int*    - depth / 256 + 6, at most 9
 * Notes:    For depth <= kExtinctionDepthQ14 only; on the horizon a star is
 *           two magnitudes fainter and six colour classes redder.
 */
void starHorizonExtinction(int depth, int *mag10, int *colourClass);

// The magnitude label: "%02d" of mag10, but "-0%d" of -mag10 for -9..-1
// (so -0.5 reads "-05", -1.5 "-15", 0.3 "03"). buf of len bytes.
char *starMagnitudeText(int32_t mag10, char *buf, int len);

// Draws the symbol at (x, y): class 1 in the chart's faintStarColour,
// others in colour (PaletteIndex). Returns min(class, 3), the room labels
// leave around the symbol.
int starDrawSymbol(ChartState *chart, Canvas *canvas, int x, int y, int depth, int cosCentre, int mag10,
                   int32_t colour);
// The same with a colour class 0..9 (palette row ColorStar0 + class).
int starDrawSymbolColored(ChartState *chart, Canvas *canvas, int x, int y, int depth, int cosCentre, int mag10,
                          int colourClass);

// A star layer's symbols gathered by colour and symbol class, then sent a
// group at a time: a few requests for the whole layer instead of two per
// star. Groups go out faintest class first, so a bright star still lands on
// top of a fainter one; within a group the stars keep the order they were
// added in. Only where two symbols of different groups overlap can the
// pixels differ from drawing star by star. Labels wait until every symbol
// is drawn, then follow in the order they were added. The bright-star
// table, the catalogue file and the Guide Star Catalog all draw through it.
class StarSymbolBatch {
public:
    // Forgets the gathered symbols and labels (keeping the room they took).
    void clear();
    // Gathers what starDrawSymbolColored would draw at (x, y) and returns
    // the same room for labels.
    int add(const ChartState *chart, int x, int y, int mag10, int colourClass);
    // The labels of bright-table row starIndex (starDrawLabels, magnitude
    // included), drawn after the symbols.
    void addTableLabels(int starIndex, const ProjectedPoint &at, int mag10, int size);
    // The magnitude alone under a star (starDrawMagnitudeLabel), drawn after
    // the symbols.
    void addMagnitudeLabel(const ProjectedPoint &at, int mag10, int size);
    // Draws the gathered symbols, faintest class first, then the labels,
    // and forgets them.
    void flush(ChartState *chart, Canvas *canvas);

private:
    // Classes from kGroupClasses on share the last class's groups: every
    // class from 6 on draws the same symbol.
    static constexpr int kGroupClasses = 16;
    static constexpr int kColourClasses = 10;
    struct PendingLabel {
        int32_t starIndex; // a bright-table row, or -1: the magnitude alone
        ProjectedPoint at;
        int mag10, size;
    };
    std::vector<CanvasPoint> groups_[kGroupClasses][kColourClasses];
    std::vector<PendingLabel> labels_;
};

// The magnitude label under a star: "-05" for -0.5, "105" for 10.5.
void starDrawMagnitudeLabel(ChartState *chart, Canvas *canvas, const ProjectedPoint *p, int size, int mag10);

// The labels of bright-table star starIndex at (x, y): magnitude (when
// withMag), Flamsteed number, Bayer letter with its superscript, proper
// name, as starLabelFlags asks; nothing for stars fainter than starNameLimit.
void starDrawLabels(ChartState *chart, Canvas *canvas, int starIndex, int x, int y, int depth, int cosCentre,
                    int mag10, int size, int withMag);

// Width in pixels of a Greek letter in the symbol font. The X side registers
// the real measure when it loads the font; until then (and without X) the
// widest glyph of the font's recorded bounds is used.
typedef int (*BayerLetterWidth)(char letter);
void setBayerLetterWidth(BayerLetterWidth measure); // null = the bounds
