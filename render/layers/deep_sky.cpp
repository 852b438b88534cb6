#include "render/layers/deep_sky.h"

#include <cstdio>
#include <cstring>

#include "model/chart_state.h"
#include "render/canvas.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/shown_objects.h"
#include "resources/catalogs.h"

namespace {

constexpr int kSymbolTypes = 18, kSizeClasses = 3, kSymbolSide = 9;

// Symbol art, '#' a pixel: per type the sizes 9, 7 and 5 pixels across.
// Planetary nebula: ring with a centre; diffuse nebula: square; open cluster:
// dotted ring; globular cluster: ring with a cross; galaxy: flat ellipse;
// cluster with nebula: dotted ring in a square. Types 6..17 repeat the
// shapes of (type mod 6), so a type from a user's file always has a symbol.
const char *const kArt[6][kSizeClasses][kSymbolSide] = {
    {{"..#####..", ".#.....#.", "#.......#", "#...#...#", "#..###..#", "#...#...#", "#.......#", ".#.....#.", "..#####.."},
     {".........", "...###...", "..#...#..", ".#.....#.", ".#..#..#.", ".#.....#.", "..#...#..", "...###...", "........."},
     {".........", ".........", "...###...", "..#...#..", "..#.#.#..", "..#...#..", "...###...", ".........", "........."}},
    {{"#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#", "#########"},
     {".........", ".#######.", ".#.....#.", ".#.....#.", ".#.....#.", ".#.....#.", ".#.....#.", ".#######.", "........."},
     {".........", ".........", "..#####..", "..#...#..", "..#...#..", "..#...#..", "..#####..", ".........", "........."}},
    {{"..#.#.#..", ".........", "#.......#", ".........", "#.......#", ".........", "#.......#", ".........", "..#.#.#.."},
     {".........", "...#.#...", ".#.....#.", ".........", ".#.....#.", ".........", ".#.....#.", "...#.#...", "........."},
     {".........", ".........", "...#.#...", "..#...#..", ".........", "..#...#..", "...#.#...", ".........", "........."}},
    {{"..#####..", ".#..#..#.", "#...#...#", "#...#...#", "#########", "#...#...#", "#...#...#", ".#..#..#.", "..#####.."},
     {".........", "...###...", "..#.#.#..", ".#..#..#.", ".#######.", ".#..#..#.", "..#.#.#..", "...###...", "........."},
     {".........", ".........", "...###...", "..#.#.#..", "..#####..", "..#.#.#..", "...###...", ".........", "........."}},
    {{".........", ".........", "..#####..", "##.....##", "#.......#", "##.....##", "..#####..", ".........", "........."},
     {".........", ".........", ".........", "..#####..", ".#.....#.", "..#####..", ".........", ".........", "........."},
     {".........", ".........", ".........", "...###...", "..#...#..", "...###...", ".........", ".........", "........."}},
    {{"#########", "#.#.#.#.#", "##.....##", "#.......#", "##.....##", "#.......#", "##.....##", "#.#.#.#.#", "#########"},
     {".........", ".#######.", ".#.#.#.#.", ".##...##.", ".#.....#.", ".##...##.", ".#.#.#.#.", ".#######.", "........."},
     {".........", ".........", "..#####..", "..##.##..", "..#...#..", "..##.##..", "..#####..", ".........", "........."}},
};

struct SymbolTable {
    uint16_t rows[kSymbolTypes][kSizeClasses][kSymbolSide];
    SymbolTable() {
        for (int t = 0; t < kSymbolTypes; ++t)
            for (int h = 0; h < kSizeClasses; ++h)
                for (int r = 0; r < kSymbolSide; ++r) {
                    uint16_t bits = 0;
                    for (int c = 0; c < kSymbolSide; ++c)
                        if (kArt[t % 6][h][r][c] == '#') bits = static_cast<uint16_t>(bits | (1u << c));
                    rows[t][h][r] = bits;
                }
    }
};

const SymbolTable &symbols() {
    static const SymbolTable table;
    return table;
}

// The name label's offset below the point's row: centred on the point, or
// below it (an NGC or IC record of a Messier object while Messier is shown),
// or above it (a Messier record of an object also shown from NGC or IC).
int nameOffset(const ChartState *chart, int catalogue, int32_t number, const CanvasTextExtent &font) {
    const int o = font.height, t = font.y;
    const uint8_t catalogues = chart->nebulaCatalogFlags;
    if (catalogue > 0 && (number & nebulaFlagMessier) && (catalogues & kNebulaCatalogBits[0])) return -t;
    if (catalogue == 0 && (((number & nebulaFlagNgc) && (catalogues & kNebulaCatalogBits[1])) ||
                           ((number & nebulaFlagIc) && (catalogues & kNebulaCatalogBits[2]))))
        return -o - t;
    return -(o / 2) - t;
}

} // namespace

const uint16_t *nebulaSymbol(int type, int sizeClass) {
    if (type < 0 || type >= kSymbolTypes || sizeClass < 0 || sizeClass >= kSizeClasses) return nullptr;
    return symbols().rows[type][sizeClass];
}

int nebulaMagText(int32_t tenths, char *out) {
    int64_t v = tenths;
    int n = 0;
    if (v < 0) out[n++] = '-', v = -v;
    char digits[24];
    int k = 0;
    int64_t whole = v / 10;
    do digits[k++] = static_cast<char>('0' + whole % 10), whole /= 10;
    while (whole != 0);
    while (k > 0) out[n++] = digits[--k];
    out[n++] = '.';
    out[n++] = static_cast<char>('0' + v % 10);
    out[n] = '\0';
    return n;
}

void chartDrawNebulae(ChartState *chart, Canvas *canvas) {
    if (!(chart->nebulaFlags & kNebulaShown)) return;
    const CanvasTextExtent magFont = canvas->fontSetMaxExtent(NebulaMagFontset);
    const CanvasTextExtent nameFont = canvas->fontSetMaxExtent(NebulaNameFontset);
    for (int cat = 0; cat < nebulaCatalogCount; ++cat) {
        if (!(chart->nebulaCatalogFlags & kNebulaCatalogBits[cat])) continue;
        for (int32_t i = nebulaFirst[cat]; i < nebulaFirst[cat] + nebulaCounts[cat]; ++i) {
            const NebulaRecord &record = nebulaRecords[i];
            const int32_t mag = nebulaMag10(record);
            // The table is sorted by magnitude: nothing fainter follows.
            if (chart->nebulaLimitOn && mag > chart->nebulaMin) break;
            ProjectedPoint p;
            if (!nebulaIsShown(chart, &record) || !projectPoint(chart, &nebulaPositions[i], &p)) continue;
            const int h = mag / 60 < 2 ? mag / 60 : 2;
            const uint16_t *symbol = nebulaSymbol(nebulaType(record), h < 0 ? 0 : h);
            canvas->setForeground(chartPixel(ColorNebulaMark));
            if (symbol) canvas->drawBitmap(p.x - 5, p.y - 5, symbol, kSymbolSide, kSymbolSide);
            int x0 = p.x - h + 6;
            char text[16];
            if ((chart->nebulaFlags & kNebulaMag) && mag < nebulaMagUnknown) {
                const int n = nebulaMagText(mag, text);
                const CanvasTextExtent w = canvas->textExtent(NebulaMagFontset, text, n);
                canvas->setForeground(chartPixel(ColorNebulaMagFont));
                canvas->drawString(NebulaMagFontset, p.x - w.width / 2, p.y - h + 6 - magFont.y, text, n);
                x0 = p.x + magFont.width / 2;
            }
            if (chart->nebulaFlags & kNebulaName) {
                const int n = std::snprintf(text, sizeof text, "%c%d", nebulaCatalogLetters[cat],
                                            static_cast<int>(record.number & nebulaNumberMask));
                canvas->setForeground(chartPixel(ColorNabulaNameFont));
                canvas->drawString(NebulaNameFontset, x0, p.y + nameOffset(chart, cat, record.number, nameFont), text,
                                   n);
            }
        }
    }
}
