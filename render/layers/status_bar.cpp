#include "render/layers/status_bar.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "astro/calendar.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "render/body_shapes.h"
#include "render/canvas.h"
#include "render/palette.h"
#include "render/surface.h"

namespace {

// The TRACE glyph's 8 x 8 stipple, most significant bit leftmost.
const uint8_t kTraceStipple[8] = {0x22, 0x11, 0x88, 0x44, 0x22, 0x11, 0x88, 0x44};

// A message resource into buf (cut to fit).
char *message(const char *name, char *buf, int len) { return getResourceString(name, buf, len); }

// Resource name + two digits, e.g. "messageMonth01".
char *numberedMessage(const char *stem, int n, char *buf, int len) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d", stem, n);
    return message(name, buf, len);
}

int textWidth(Canvas *canvas, int fontSet, const char *text) {
    return canvas->textExtent(fontSet, text, static_cast<int>(std::strlen(text))).width;
}

void drawText(Canvas *canvas, int fontSet, int x, int y, const char *text) {
    canvas->drawString(fontSet, x, y, text, static_cast<int>(std::strlen(text)));
}

struct GlyphBox {
    int left, top, side;
};

GlyphBox glyphBox(const ChartRect *r, int x) {
    const int h = r->height;
    const int s = static_cast<int>(0.7 * h);
    return GlyphBox{x, r->y + h / 2 - s / 2 - 1, s};
}

void glyphPen(ChartState *, Canvas *canvas) {
    canvas->setForeground(chartPixel(ColorStatusFont));
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
}

} // namespace

int statusDayOfWeek(const DateTime *date) {
    DateTime noon = *date;
    noon.hour = 12;
    noon.minute = 0;
    noon.second = 0.0;
    noon.zone = 0.0;
    const double jd = dateToJd(&noon);
    const long long w = static_cast<long long>(std::trunc(jd + 1.5)) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

char *statusDateText(const ChartState *chart, char *buf, int len) {
    if (len <= 0) return buf;
    buf[0] = '\0';
    const DateTime &d = chart->sky.date;
    char dayName[16];
    numberedMessage("messageStatusDayOfWeek", statusDayOfWeek(&d), dayName, sizeof dayName);
    char format[kStatusTextSize];
    const size_t room = sizeof format - 2; // the two blanks always fit
    if (chart->dateStyle == kDateStyleJapanese) {
        getResourceFormat("messageStatusDateTime1", "dddsdd", format, static_cast<int>(room));
        std::strcat(format, "  ");
        std::snprintf(buf, static_cast<size_t>(len), format, d.year, d.month, d.day, dayName, d.hour, d.minute);
    } else if (chart->dateStyle == kDateStyleEuropean) {
        getResourceFormat("messageStatusDateTime2", "dddsdd", format, static_cast<int>(room));
        std::strcat(format, "  ");
        std::snprintf(buf, static_cast<size_t>(len), format, d.day, d.month, d.year, dayName, d.hour, d.minute);
    } else {
        char monthName[16];
        const int month = d.month < 1 ? 1 : (d.month > 12 ? 12 : d.month);
        numberedMessage("messageMonth", month, monthName, sizeof monthName);
        getResourceFormat("messageStatusDateTime3", "ssdddd", format, static_cast<int>(room));
        std::strcat(format, "  ");
        std::snprintf(buf, static_cast<size_t>(len), format, dayName, monthName, d.day, d.year, d.hour, d.minute);
    }
    return buf;
}

char *statusSiteText(const ChartState *chart, char *buf, int len) {
    if (len <= 0) return buf;
    char east[16], west[16], north[16], south[16], format[kStatusTextSize];
    message("messageDirectionE", east, sizeof east);
    message("messageDirectionW", west, sizeof west);
    message("messageDirectionN", north, sizeof north);
    message("messageDirectionS", south, sizeof south);
    getResourceFormat("messageStatusSite", "fsfsdfs", format, sizeof format);
    const double lon = chart->sky.longitudeDeg, lat = chart->sky.latitudeDeg, zone = chart->sky.date.zone;
    char site[sizeof chart->siteName];
    std::snprintf(site, sizeof site, "%.*s", static_cast<int>(sizeof site - 1), chart->siteName);
    std::snprintf(buf, static_cast<size_t>(len), format, std::fabs(lon), lon >= 0 ? east : west, std::fabs(lat),
                  lat >= 0 ? north : south, zone >= 0 ? '+' : '-', std::fabs(zone), site);
    return buf;
}

char *statusWidthText(const ChartState *chart, char *buf, int len) {
    if (len <= 0) return buf;
    char format[kStatusTextSize];
    getResourceFormat("messageStatusWidth", "f", format, sizeof format);
    std::snprintf(buf, static_cast<size_t>(len), format, chart->fieldWidth);
    return buf;
}

int statusDrawField(ChartState *, Canvas *canvas, const ChartRect *r, int x0, const char *date, const char *site,
                    const char *width) {
    const int h = r->height;
    const CanvasTextExtent font = canvas->fontSetMaxExtent(StatusFontset);
    const int gap = font.width;
    canvas->setForeground(chartPixel(ColorStatusBackground));
    canvas->fillRectangle(r->x, r->y, r->width, r->height);
    canvas->setForeground(screenBlackPixel());
    canvas->setLineAttributes(appData->lineWidth, LineStyleSolid, CapStyleButt, JoinStyleMiter);
    canvas->drawLine(r->x, r->y + h - 1, r->x + r->width, r->y + h - 1);

    canvas->setForeground(chartPixel(ColorStatusFont));
    const int baseline = r->y + h / 2 + (-2 * font.y - font.height) / 2;
    int x = r->x + x0;
    drawText(canvas, StatusFontset, x, baseline, date);
    x += textWidth(canvas, StatusFontset, date) + gap;
    drawText(canvas, StatusFontset, x, baseline, site);
    x += textWidth(canvas, StatusFontset, site) + gap;
    drawText(canvas, StatusFontset, x, baseline, width);
    return x + textWidth(canvas, StatusFontset, width) + gap;
}

void statusDrawTracking(ChartState *chart, Canvas *canvas, const ChartRect *r, int x) {
    const GlyphBox b = glyphBox(r, x);
    glyphPen(chart, canvas);
    const int a = b.side / 3, right = b.left + b.side, bottom = b.top + b.side;
    canvas->drawLine(b.left, b.top, b.left + a, b.top);
    canvas->drawLine(b.left, b.top, b.left, b.top + a);
    canvas->drawLine(right, b.top, right - a, b.top);
    canvas->drawLine(right, b.top, right, b.top + a);
    canvas->drawLine(b.left, bottom, b.left + a, bottom);
    canvas->drawLine(b.left, bottom, b.left, bottom - a);
    canvas->drawLine(right, bottom, right - a, bottom);
    canvas->drawLine(right, bottom, right, bottom - a);
    const int d = (b.side / 3) * 12 / 10;
    const int cx = b.left + b.side / 2, cy = b.top + b.side / 2;
    canvas->fillArc(cx - d / 2, cy - d / 2, d, d, 0, kFullCircle);
}

// The stipple is laid from the drawable's origin, as a GC's stipple is.
void statusDrawTrace(ChartState *chart, Canvas *canvas, const ChartRect *r, int x) {
    const GlyphBox b = glyphBox(r, x);
    glyphPen(chart, canvas);
    CanvasPoint row[64];
    for (int py = b.top; py < b.top + b.side; py++) {
        int n = 0;
        for (int px = b.left; px < b.left + b.side; px++) {
            if ((kTraceStipple[py & 7] >> (7 - (px & 7))) & 1) {
                row[n++] = CanvasPoint{static_cast<int16_t>(px), static_cast<int16_t>(py)};
                if (n == 64) {
                    canvas->drawPoints(row, n);
                    n = 0;
                }
            }
        }
        if (n > 0) canvas->drawPoints(row, n);
    }
    canvas->drawRectangle(b.left, b.top, b.side, b.side);
}

void statusDrawTimeLock(ChartState *chart, Canvas *canvas, const ChartRect *r, int x) {
    const GlyphBox b = glyphBox(r, x);
    glyphPen(chart, canvas);
    const int bottom = b.top + b.side, mid = b.left + b.side / 2;
    canvas->drawRectangle(b.left, b.top, b.side, b.side);
    canvas->drawLine(b.left, b.top, mid, bottom);
    canvas->drawLine(b.left + b.side, b.top, mid, bottom);
    canvas->drawArc(mid - b.side / 2, bottom - b.side / 2, b.side, b.side, 60 * 64, 60 * 64);
}

void statusDrawMoonAge(ChartState *chart, Canvas *canvas, const ChartRect *r) {
    const int h = r->height;
    const int c = 4 * h / 13;
    const int cx = r->x + 3 * c, cy = r->y + h / 2;
    const double aspect = appData->pixelAspect;
    CanvasPoint pts[kCircleVertices > kPhaseVertices ? kCircleVertices : kPhaseVertices];
    canvas->setForeground(chartPixel(ColorStar5));
    canvas->fillPolygon(pts, circleVertices(cx, cy, c, aspect, pts), PolygonConvex);
    const double age = chart->moon.ageDays;
    const int n = phaseVertices(cx, cy, c, chart->moon.phase, age > 15.0 ? 90.0 : 270.0, aspect, pts);
    canvas->setForeground(chartPixel(ColorGlobeBack));
    if (n > 0) canvas->fillPolygon(pts, n, PolygonNonconvex);
    canvas->setForeground(chartPixel(ColorGlobeBack));
    canvas->drawArc(cx - c - 1, cy - c - 1, 2 * c + 2, 2 * c + 2, 0, kFullCircle);
    char text[16];
    const double rounded = std::isfinite(age) ? std::trunc(age + 0.5) : 0.0;
    std::snprintf(text, sizeof text, "%02d", static_cast<int>(rounded < -99 ? -99 : (rounded > 99 ? 99 : rounded)));
    canvas->setForeground(chartPixel(ColorStatusFont));
    drawText(canvas, MoonAgeFontset, cx + 2 * c, cy + c, text);
}

void chartDrawStatusBar(ChartState *chart, Canvas *canvas, const ChartRect *r) {
    if ((chart->statusBar & kStatusBarShown) == 0) return;
    const int h = r->height;
    const int x0 = h * 7 / 3;
    char date[kStatusTextSize], site[kStatusTextSize], width[kStatusTextSize];
    statusDateText(chart, date, sizeof date);
    statusSiteText(chart, site, sizeof site);
    statusWidthText(chart, width, sizeof width);
    const int x = statusDrawField(chart, canvas, r, x0, date, site, width);
    if (chart->trackState == kTrackTarget) statusDrawTracking(chart, canvas, r, x);
    if (chart->traceFlags != 0) statusDrawTrace(chart, canvas, r, x + h);
    if (chart->timeLockKind != kTimeLockNone) statusDrawTimeLock(chart, canvas, r, x + 2 * h);
    statusDrawMoonAge(chart, canvas, r);
}
