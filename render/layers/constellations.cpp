#include "render/layers/constellations.h"

#include <cstdlib>
#include <cstring>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/canvas.h"
#include "render/lines.h"
#include "render/palette.h"
#include "render/projection.h"
#include "resources/catalogs.h"

namespace {

Vec3Q14 starDirection(int entry) {
    const int32_t row = constLineStars[entry] & ~constLinePenUp;
    if (row < 0 || row >= brightStarCount) return Vec3Q14{0, 0, 0};
    const BrightStar &s = brightStars[row];
    return Vec3Q14{s.x, s.y, s.z};
}

void lineColour(Canvas *canvas, int32_t colour, CanvasLineStyle style) {
    canvas->setForeground(chartPixel(colour));
    canvas->setLineAttributes(appData->lineWidth, style, CapStyleButt, JoinStyleMiter);
}

bool isEndPoint(const Vec3Q14 &v) { return v.x == 0 && v.y == 0 && v.z == 0; }

void drawCentred(Canvas *canvas, int x, int baseline, const char *text) {
    if (text == nullptr || text[0] == '\0') return;
    const int len = static_cast<int>(std::strlen(text));
    const int w = canvas->textExtent(ConstNameFontset, text, len).width;
    canvas->drawString(ConstNameFontset, x - w / 2, baseline, text, len);
}

} // namespace

void drawStarPolyline(ChartState *chart, Canvas *canvas, int from, int to) {
    while (from < to) {
        Vec3Q14 v = starDirection(from);
        PolylineState pen = polylineStart(&v, chart, canvas);
        for (from++; from < to && (constLineStars[from] & constLinePenUp) == 0; from++) {
            v = starDirection(from);
            polylineNext(&v, &pen);
        }
    }
}

void chartDrawConstLines(ChartState *chart, Canvas *canvas) {
    if ((chart->constellationFlags & kConsLine) == 0) return;
    lineColour(canvas, ColorConstLine, LineStyleSolid);
    drawStarPolyline(chart, canvas, 0, constLineStarCount);
}

namespace {

// The boundaries' points as polylineStart and polylineNext project them, in
// the chart's kept record, made anew when the projection's inputs changed;
// false when there is no room for them.
bool keepBorderPoints(ChartState *chart) {
    KeptProjection &kept = chart->frame.borders;
    ProjectionInputs now;
    projectionInputs(chart, &now);
    if (kept.points != nullptr && std::memcmp(&kept.inputs, &now, sizeof now) == 0) return true;
    if (kept.points == nullptr) {
        int n = 0;
        while (constBorders[n].flag >= 0) n++;
        kept.points = static_cast<ProjectedPoint *>(std::malloc(sizeof(ProjectedPoint) * static_cast<size_t>(n)));
        kept.visible = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(n)));
        kept.count = n;
        if (kept.points == nullptr || kept.visible == nullptr) {
            std::free(kept.points);
            std::free(kept.visible);
            kept = KeptProjection{};
            return false;
        }
    }
    ProjectedPoint last{0, 0, 0, 0};
    for (int i = 0; i < kept.count; i++) {
        if (constBorders[i].flag > 0) last = ProjectedPoint{0, 0, 0, 0};
        kept.visible[i] = static_cast<uint8_t>(projectPoint(chart, &constBorders[i].point, &last) != 0);
        kept.points[i] = last;
    }
    kept.inputs = now;
    return true;
}

} // namespace

void chartDrawConstBorders(ChartState *chart, Canvas *canvas) {
    if ((chart->constellationFlags & kConsLimit) == 0) return;
    lineColour(canvas, ColorConstBorder, LineStyleOnOffDash);
    if (keepBorderPoints(chart)) {
        // The pen of polylineNext, over the kept points: the same segments
        // in the same order, without projecting the table again.
        const KeptProjection &kept = chart->frame.borders;
        bool visible = false;
        ProjectedPoint last{0, 0, 0, 0};
        for (int i = 0; i < kept.count; i++) {
            const bool next = kept.visible[i] != 0;
            if (constBorders[i].flag == 0 && next && visible)
                chartDrawSegment(chart, canvas, &last, &kept.points[i]);
            visible = next;
            last = kept.points[i];
        }
    } else {
        PolylineState pen{0, ProjectedPoint{0, 0, 0, 0}, canvas, chart};
        for (int i = 0; constBorders[i].flag >= 0; i++) {
            if (constBorders[i].flag > 0)
                pen = polylineStart(&constBorders[i].point, chart, canvas);
            else
                polylineNext(&constBorders[i].point, &pen);
        }
    }
    // Later layers draw with the GC as they find it.
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
}

int constNameBaselines(int y, int ascent, int height, uint8_t flags, int baselines[2]) {
    const int lines = ((flags & kConsName1) ? 1 : 0) + ((flags & kConsName2) ? 1 : 0);
    int top = y - height / 2;
    if (lines == 2) top -= height / 2;
    for (int k = 0; k < lines; k++) baselines[k] = top + ascent + k * height;
    return lines;
}

void chartDrawConstNames(ChartState *chart, Canvas *canvas) {
    const uint8_t flags = chart->constellationFlags;
    if ((flags & (kConsName1 | kConsName2)) == 0) return;
    const CanvasTextExtent e = canvas->fontSetMaxExtent(ConstNameFontset);
    canvas->setForeground(chartPixel(ColorConstNameFont));
    for (int c = 0; c < constellationCount; c++) {
        const ConstellationEntry &entry = constellations[c];
        ProjectedPoint p{0, 0, 0, 0};
        if (!projectPoint(chart, &entry.point, &p)) continue;
        int baselines[2] = {0, 0};
        constNameBaselines(p.y, -e.y, e.height, flags, baselines);
        int line = 0;
        if (flags & kConsName2) {
            const char *name = entry.localName != nullptr ? entry.localName : entry.latinName;
            drawCentred(canvas, p.x, baselines[line++], name);
        }
        if (flags & kConsName1) drawCentred(canvas, p.x, baselines[line], entry.abbreviation);
    }
}

void drawMilkyWayOutline(ChartState *chart, Canvas *canvas) {
    lineColour(canvas, ColorMilkyWayLine, LineStyleSolid);
    int i = 0;
    for (int outline = 0; outline < milkyWayOutlineCount && i < milkyWayPointCount; outline++) {
        PolylineState pen = polylineStart(&milkyWayOutlines[i], chart, canvas);
        for (i++; i < milkyWayPointCount && !isEndPoint(milkyWayOutlines[i]); i++) polylineNext(&milkyWayOutlines[i], &pen);
        i++; // past the end point
    }
}

void chartDrawMilkyWay(ChartState *chart, Canvas *canvas) {
    const uint8_t flags = chart->milkyWayFlags;
    if ((flags & kMilkyWayShown) == 0 || (flags & kMilkyWayHidden) != 0) return;
    if (chart->skyLevel >= kMilkyWayMaxSkyLevel) return;
    drawMilkyWayOutline(chart, canvas);
}

