#include "render/layers/user_objects.h"

#include <cstring>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "render/canvas.h"
#include "render/lines.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/star_symbols.h"

namespace {

const int32_t kColourNumbers[kUserObjectWhite + 1] = {
    ColorBlack, ColorStar0, ColorStar3, ColorStar6, ColorStar9, ColorDarkStar, ColorGlobeBack,
    ColorDirection2Font, ColorConstLine, ColorWhite, ColorWhite, ColorWhite, ColorWhite, ColorWhite,
    ColorWhite, ColorWhite,
};

// The dash codes a LINE row may carry and their dash lists; others are solid.
struct DashRow {
    int32_t code;
    uint8_t dashes[6];
    int count;
};
const DashRow kDashRows[] = {
    {0x5555, {1, 1}, 2},
    {0xF0F0, {4, 2}, 2},
    {0xF99F, {4, 1, 1, 1}, 4},
    {0xFFEA, {4, 1, 1, 1, 1, 1}, 6},
};

// A LINE row's style keeps the width, cap and join the layer found.
void setLineStyle(Canvas *canvas, int32_t code, const CanvasLineAttributes &found) {
    for (const DashRow &row : kDashRows) {
        if ((code & 0xFFFF) == row.code) {
            canvas->setLineAttributes(found.width, LineStyleOnOffDash, found.cap, found.join);
            canvas->setDashes(0, row.dashes, row.count);
            return;
        }
    }
    canvas->setLineAttributes(found.width, LineStyleSolid, found.cap, found.join);
}

void drawFilesLines(ChartState *chart, Canvas *canvas, const UserObjectFileEntry *files, int32_t count) {
    for (int32_t i = 0; files && i < count; ++i)
        if (files[i].table) userObjectDrawLines(chart, canvas, files[i].table);
}

void drawFilesLabels(ChartState *chart, Canvas *canvas, const UserObjectFileEntry *files, int32_t count,
                     int labelsOn, int celestial) {
    for (int32_t i = 0; files && i < count; ++i)
        if (files[i].table) userObjectDrawLabels(chart, canvas, files[i].table, labelsOn, celestial);
}

void drawUserObjectLabelPass(ChartState *chart, Canvas *canvas, int celestial) {
    if (!(chart->userObjectFlags & kUserObjectShownBit)) return;
    drawFilesLabels(chart, canvas, chart->userObjectFiles, chart->userObjectFileCount,
                    chart->userObjectFlags & kUserObjectNameBit, celestial);
}

void drawSkyMarkLabelPass(ChartState *chart, Canvas *canvas, int celestial) {
    if (!(chart->skyMarkFlags & kUserObjectShownBit) || !appData) return;
    drawFilesLabels(chart, canvas, appData->skyMarkFiles, appData->skyMarkFileCount,
                    chart->skyMarkFlags & kUserObjectNameBit, celestial);
}

} // namespace

int32_t userObjectPaletteColour(int32_t colourNumber) {
    return colourNumber >= 0 && colourNumber <= kUserObjectWhite ? kColourNumbers[colourNumber] : ColorWhite;
}

void userObjectDrawLines(ChartState *chart, Canvas *canvas, const UserObject *records) {
    const CanvasLineAttributes found = canvas->lineAttributes();
    bool open = false, havePrevious = false;
    ProjectedPoint previous{};
    for (const UserObject *r = records; r->type != kUserObjectTableEnd; ++r) {
        if (r->type == kUserObjectLine) {
            canvas->setForeground(chartPixel(userObjectPaletteColour(r->param2)));
            setLineStyle(canvas, r->param1, found);
            open = true;
            havePrevious = false;
        } else if (r->type == kUserObjectEnd) {
            open = false;
        } else if (open) {
            ProjectedPoint p;
            const bool visible = userObjectScreenPos(chart, r, &p) != 0;
            if (visible && havePrevious) chartDrawSegment(chart, canvas, &previous, &p);
            previous = p;
            havePrevious = visible;
        }
    }
    canvas->setLineAttributes(found.width, found.style, found.cap, found.join);
}

void userObjectDrawLabels(ChartState *chart, Canvas *canvas, const UserObject *records, int labelsOn,
                          int celestial) {
    const CanvasTextExtent font = canvas->fontSetMaxExtent(UserObjectNameFontset);
    for (const UserObject *r = records; r->type != kUserObjectTableEnd; ++r) {
        if (r->type < kUserObjectStar || r->type > kUserObjectPoint) continue;
        if ((r->kind == kPosHrz) == (celestial != 0)) continue;
        ProjectedPoint p;
        if (!userObjectScreenPos(chart, r, &p)) continue;
        int e = 0;
        if (r->type == kUserObjectStar)
            e = starDrawSymbolColored(chart, canvas, p.x, p.y, p.depth, p.cosCentre, r->param1, r->param2);
        else if (r->type == kUserObjectNebula || r->type == kUserObjectMark)
            e = 6;
        if (!labelsOn || !r->name[0]) continue;
        const int n = static_cast<int>(strnlen(r->name, sizeof r->name));
        int x = p.x + e;
        if (r->type == kUserObjectMark && r->param1 == 0)
            x = p.x - canvas->textExtent(UserObjectNameFontset, r->name, n).width / 2;
        canvas->setForeground(chartPixel(userObjectPaletteColour(r->colour)));
        canvas->drawString(UserObjectNameFontset, x, p.y - font.y, r->name, n);
    }
}

void chartDrawUserObjectLines(ChartState *chart, Canvas *canvas) {
    if (chart->userObjectFlags & kUserObjectShownBit)
        drawFilesLines(chart, canvas, chart->userObjectFiles, chart->userObjectFileCount);
}

void chartDrawUserObjectLabels(ChartState *chart, Canvas *canvas) { drawUserObjectLabelPass(chart, canvas, 1); }
void chartDrawUserObjectHrzLabels(ChartState *chart, Canvas *canvas) { drawUserObjectLabelPass(chart, canvas, 0); }

void chartDrawSkyMarkLines(ChartState *chart, Canvas *canvas) {
    if ((chart->skyMarkFlags & kUserObjectShownBit) && appData)
        drawFilesLines(chart, canvas, appData->skyMarkFiles, appData->skyMarkFileCount);
}

void chartDrawSkyMarkLabels(ChartState *chart, Canvas *canvas) { drawSkyMarkLabelPass(chart, canvas, 1); }
void chartDrawSkyMarkHrzLabels(ChartState *chart, Canvas *canvas) { drawSkyMarkLabelPass(chart, canvas, 0); }
