#include "render/star_symbols.h"

#include <cstdio>
#include <cstring>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/star_names.h"
#include "render/canvas.h"
#include "render/palette.h"

const char kBayerLetters[] = "abgdezhqiklmnxoprstufcyw";

namespace {

int boundsLetterWidth(char) { return appData != nullptr ? appData->bayerFont.maxBounds.width : 0; }

BayerLetterWidth letterWidth = boundsLetterWidth;

// Ascent and descent of a font set's largest glyph.
void fontSetAscentDescent(Canvas *canvas, int fontSet, int *ascent, int *descent) {
    const CanvasTextExtent e = canvas->fontSetMaxExtent(fontSet);
    *ascent = -e.y;
    *descent = e.height + e.y;
}

int textWidth(Canvas *canvas, int fontSet, const char *text) {
    return canvas->textExtent(fontSet, text, static_cast<int>(std::strlen(text))).width;
}

void drawText(Canvas *canvas, int fontSet, int32_t colour, int x, int y, const char *text) {
    canvas->setForeground(chartPixel(colour));
    canvas->drawString(fontSet, x, y, text, static_cast<int>(std::strlen(text)));
}

} // namespace

int starSymbolClass(int32_t starLimit, int32_t mag10) {
    const int64_t cls = (static_cast<int64_t>(starLimit) - mag10 + 10) / 10;
    return cls < 1 ? 1 : (cls > 100 ? 100 : static_cast<int>(cls));
}

int starSymbolOffsets(int cls, int8_t out[][2]) {
    int n = 0;
    auto put = [&](int dx, int dy) {
        out[n][0] = static_cast<int8_t>(dx);
        out[n][1] = static_cast<int8_t>(dy);
        n++;
    };
    if (cls <= 2) {
        put(0, 0);
    } else if (cls == 3) {
        put(0, 0), put(1, 0), put(0, 1), put(1, 1);
    } else if (cls == 4) {
        put(0, 0), put(-1, 0), put(1, 0), put(0, -1), put(0, 1);
    } else {
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++) put(dx, dy);
        if (cls >= 6) put(-2, 0), put(2, 0), put(0, -2), put(0, 2);
    }
    return n;
}

void starHorizonExtinction(int depth, int *mag10, int *colourClass) {
    *mag10 += 20 - depth / 77;
    const int cls = *colourClass - depth / 256 + 6;
    *colourClass = cls > 9 ? 9 : cls;
}

char *starMagnitudeText(int32_t mag10, char *buf, int len) {
    if (mag10 >= -9 && mag10 <= -1)
        std::snprintf(buf, static_cast<size_t>(len), "-0%d", -mag10);
    else
        std::snprintf(buf, static_cast<size_t>(len), "%02d", mag10);
    return buf;
}

int starDrawSymbol(ChartState *chart, Canvas *canvas, int x, int y, int, int, int mag10, int32_t colour) {
    const int cls = starSymbolClass(chart->starLimit, mag10);
    int8_t offsets[kMaxSymbolPixels][2];
    const int n = starSymbolOffsets(cls, offsets);
    canvas->setForeground(chartPixel(cls == 1 ? chart->faintStarColour : colour));
    if (n == 1) {
        canvas->drawPoint(x, y);
    } else {
        CanvasPoint pts[kMaxSymbolPixels];
        for (int i = 0; i < n; i++)
            pts[i] = CanvasPoint{static_cast<int16_t>(x + offsets[i][0]), static_cast<int16_t>(y + offsets[i][1])};
        canvas->drawPoints(pts, n);
    }
    return cls < 3 ? cls : 3;
}

int starDrawSymbolColored(ChartState *chart, Canvas *canvas, int x, int y, int depth, int cosCentre, int mag10,
                          int colourClass) {
    // A class from a data file is clamped before it picks a palette row.
    const int32_t cls = clampPaletteIndex(colourClass, 0, 9);
    return starDrawSymbol(chart, canvas, x, y, depth, cosCentre, mag10, ColorStar0 + cls);
}

void StarSymbolBatch::clear() {
    for (auto &byClass : groups_)
        for (auto &group : byClass) group.clear();
    labels_.clear();
}

int StarSymbolBatch::add(const ChartState *chart, int x, int y, int mag10, int colourClass) {
    const int cls = starSymbolClass(chart->starLimit, mag10);
    int8_t offsets[kMaxSymbolPixels][2];
    const int n = starSymbolOffsets(cls, offsets);
    // Class 1 is drawn in the faint-star colour whatever its colour class.
    const int colour = cls == 1 ? 0 : clampPaletteIndex(colourClass, 0, kColourClasses - 1);
    std::vector<CanvasPoint> &group = groups_[(cls < kGroupClasses ? cls : kGroupClasses) - 1][colour];
    for (int i = 0; i < n; i++)
        group.push_back(CanvasPoint{static_cast<int16_t>(x + offsets[i][0]), static_cast<int16_t>(y + offsets[i][1])});
    return cls < 3 ? cls : 3;
}

void StarSymbolBatch::addTableLabels(int starIndex, const ProjectedPoint &at, int mag10, int size) {
    labels_.push_back(PendingLabel{starIndex, at, mag10, size});
}

void StarSymbolBatch::addMagnitudeLabel(const ProjectedPoint &at, int mag10, int size) {
    labels_.push_back(PendingLabel{-1, at, mag10, size});
}

void StarSymbolBatch::flush(ChartState *chart, Canvas *canvas) {
    for (int c = 0; c < kGroupClasses; c++) {
        for (int k = 0; k < kColourClasses; k++) {
            std::vector<CanvasPoint> &group = groups_[c][k];
            if (group.empty()) continue;
            canvas->setForeground(chartPixel(c == 0 ? chart->faintStarColour : ColorStar0 + k));
            if (group.size() == 1)
                canvas->drawPoint(group[0].x, group[0].y);
            else
                canvas->drawPoints(group.data(), static_cast<int>(group.size()));
            group.clear();
        }
    }
    for (const PendingLabel &l : labels_) {
        if (l.starIndex >= 0)
            starDrawLabels(chart, canvas, l.starIndex, l.at.x, l.at.y, l.at.depth, l.at.cosCentre, l.mag10, l.size, 1);
        else
            starDrawMagnitudeLabel(chart, canvas, &l.at, l.size, l.mag10);
    }
    labels_.clear();
}

void starDrawMagnitudeLabel(ChartState *, Canvas *canvas, const ProjectedPoint *p, int size, int mag10) {
    char text[16];
    starMagnitudeText(mag10, text, sizeof text);
    const int len = static_cast<int>(std::strlen(text));
    const CanvasTextExtent e = canvas->fontSetMaxExtent(StarMagFontset);
    const int w = canvas->textExtent(StarMagFontset, text, len).width;
    canvas->setForeground(chartPixel(ColorStarMagFont));
    canvas->drawString(StarMagFontset, p->x - w / 2, p->y + size * 11 / 10 - e.y, text, len);
}

void setBayerLetterWidth(BayerLetterWidth measure) { letterWidth = measure != nullptr ? measure : boundsLetterWidth; }

void starDrawLabels(ChartState *chart, Canvas *canvas, int starIndex, int x, int y, int, int, int mag10, int size,
                    int withMag) {
    if (mag10 > chart->starNameLimit) return;
    const uint8_t flags = chart->starLabelFlags;
    const int o = size * 12 / 10;

    char magText[16];
    starMagnitudeText(mag10, magText, sizeof magText);
    if (withMag && (flags & kStarLabelMag)) {
        const CanvasTextExtent e = canvas->fontSetMaxExtent(StarMagFontset);
        drawText(canvas, StarMagFontset, ColorStarMagFont, x - textWidth(canvas, StarMagFontset, magText) / 2,
                 y + o - e.y, magText);
    }

    int32_t designation = 0, hasName = 0;
    if (!starDesignationIndex(starIndex, &designation, &hasName)) return;
    uint8_t bayer = 0, bayerNumber = 0, flamsteed = 0, constellation = 0;
    starDesignationUnpack(designation, &bayer, &bayerNumber, &flamsteed, &constellation);
    const char *name = hasName ? starCommonNameLookup(starIndex) : nullptr;

    int desAscent = 0, desDescent = 0, nameAscent = 0, nameDescent = 0;
    fontSetAscentDescent(canvas, StarFlamsteedFontset, &desAscent, &desDescent);
    fontSetAscentDescent(canvas, StarNameFontset, &nameAscent, &nameDescent);
    int desBaseline = 0, nameBaseline = 0;
    const bool designationShown = (flags & (kStarLabelBayer | kStarLabelFlamsteed)) != 0;
    if (name != nullptr && designationShown) {
        // Two lines: the designation above the star's row, the name below.
        desBaseline = y + desDescent - desAscent;
        nameBaseline = y + nameAscent - nameDescent;
    } else {
        desBaseline = y + (desAscent - desDescent) / 2;
        nameBaseline = y + (nameAscent - nameDescent) / 2;
    }

    int left = x + o;
    if ((flags & kStarLabelFlamsteed) && flamsteed != 0) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", flamsteed);
        drawText(canvas, StarFlamsteedFontset, ColorStarFlamsteedFont, left, desBaseline, text);
        left += textWidth(canvas, StarFlamsteedFontset, text);
    }
    if ((flags & kStarLabelBayer) && bayer >= 1 && bayer <= 24) {
        const char letter = kBayerLetters[bayer - 1];
        canvas->setForeground(chartPixel(ColorStarBayerFont));
        canvas->drawSymbolString(left, desBaseline, &letter, 1);
        if (bayerNumber != 0) {
            left += letterWidth(letter);
            char digit[8];
            std::snprintf(digit, sizeof digit, "%d", bayerNumber);
            drawText(canvas, StarBayerNumFontset, ColorStarBayerNumFont, left, desBaseline, digit);
        }
    }
    if ((flags & kStarLabelName) && name != nullptr) {
        int nameLeft = x + o;
        if (flags & kStarLabelMag) nameLeft += textWidth(canvas, StarMagFontset, magText) / 2;
        drawText(canvas, StarNameFontset, ColorStarNameFont, nameLeft, nameBaseline, name);
    }
}
