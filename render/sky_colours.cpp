#include "render/sky_colours.h"

#include <cmath>

#include "model/chart_state.h"
#include "render/body_shapes.h"
#include "render/palette.h"

const uint32_t skyTable1[49] = {
    0x000010, 0x000010, 0x000010, 0x000010, 0x000010, 0x010117, 0x03011E, 0x040225, 0x06032C, 0x070433,
    0x08043A, 0x0A0541, 0x0B0648, 0x0D064E, 0x0E0755, 0x10085C, 0x110863, 0x12096A, 0x140A71, 0x150B78,
    0x170B7F, 0x180C86, 0x201088, 0x28148A, 0x30188C, 0x381C8E, 0x402090, 0x462A92, 0x4C3494, 0x523E96,
    0x584898, 0x5E529A, 0x645C9C, 0x6A669E, 0x7070A0, 0x6B72A7, 0x6775AE, 0x6277B5, 0x5E79BB, 0x597BC2,
    0x557EC9, 0x5080D0, 0x5080D3, 0x5080D6, 0x5080DA, 0x5080DD, 0x5080E0, 0x5080E0, 0x5080F0,
};

const uint32_t skyTable2[73] = {
    0x000020, 0x030026, 0x06002C, 0x090031, 0x0C0037, 0x0F003D, 0x110043, 0x140049, 0x17004F, 0x1A0054,
    0x1D005A, 0x200060, 0x1D0368, 0x1B0570, 0x180878, 0x150B80, 0x130D88, 0x101090, 0x1B0E92, 0x270B95,
    0x320997, 0x3E0799, 0x49059B, 0x55029E, 0x6000A0, 0x680B9B, 0x701595, 0x782090, 0x802B8B, 0x883585,
    0x904080, 0x95497B, 0x995277, 0x9E5B72, 0xA2656E, 0xA76E69, 0xAB7765, 0xB08060, 0xB0806D, 0xB0807B,
    0xB08088, 0xB08095, 0xB080A3, 0xB080B0, 0xAE81B3, 0xAC82B6, 0xAA83B8, 0xA884BB, 0xA785BE, 0xA586C1,
    0xA387C4, 0xA188C7, 0x9F88C9, 0x9D89CC, 0x9B8ACF, 0x998BD2, 0x988CD5, 0x968DD8, 0x948EDA, 0x928FDD,
    0x9090E0, 0x8B90E1, 0x8590E3, 0x8090E4, 0x7B90E5, 0x7590E7, 0x7090E8, 0x6B90E9, 0x6590EB, 0x6090EC,
    0x5B90ED, 0x5590EF, 0x5090F0,
};

const uint32_t skyTable3[73] = {
    0x000030, 0x040036, 0x09003C, 0x0D0041, 0x110047, 0x16004D, 0x1A0053, 0x1F0059, 0x23005F, 0x270064,
    0x2C006A, 0x300070, 0x350075, 0x3B007B, 0x400080, 0x450085, 0x4B008B, 0x500090, 0x550095, 0x5B009B,
    0x6000A0, 0x6B0597, 0x750B8D, 0x801084, 0x8B157B, 0x951B71, 0xA02068, 0xAB255F, 0xB52B55, 0xC0304C,
    0xCB3543, 0xD53B39, 0xE04030, 0xE14630, 0xE24C30, 0xE45230, 0xE55930, 0xE65F30, 0xE76530, 0xE96B30,
    0xEA7130, 0xEB7730, 0xEC7E30, 0xEE8430, 0xEF8A30, 0xF09030, 0xF09036, 0xF0903C, 0xF09042, 0xF09049,
    0xF0904F, 0xF09055, 0xF0905B, 0xF09061, 0xF09067, 0xF0906E, 0xF09074, 0xF0907A, 0xF09080, 0xE59188,
    0xD99290, 0xCE9398, 0xC295A0, 0xB796A8, 0xAB97B0, 0xA098B8, 0x9599C0, 0x899AC8, 0x7E9BD0, 0x729DD8,
    0x679EE0, 0x5B9FE8, 0x50A0F0,
};

namespace {

constexpr int32_t kTotalEclipseLevel = 26;

int32_t clampLevel(int32_t v) { return v < 0 ? 0 : (v > kSkyLevelMax ? kSkyLevelMax : v); }

// Darkening by the eclipse magnitude x, in sky-level steps.
int32_t eclipseDarkening(double x) {
    if (x > 1.0) return static_cast<int32_t>((x - 1.0) / 0.04 * 8.0) + 42;
    if (x >= 0.995) return static_cast<int32_t>((x - 0.995) / 0.005 * 12.0) + 30;
    if (x >= 0.99) return static_cast<int32_t>((x - 0.99) / 0.005 * 3.0) + 27;
    if (x >= 0.95) return static_cast<int32_t>((x - 0.95) / 0.04 * 21.0) + 6;
    if (x >= 0.5) return static_cast<int32_t>((x - 0.5) / 0.45 * 5.0) + 1;
    return 0;
}

uint32_t component(uint32_t rgb, int shift) { return (rgb >> shift) & 0xFF; }

uint32_t average(uint32_t p, uint32_t q) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8)
        out = out << 8 | ((component(p, shift) + component(q, shift)) >> 1);
    return out;
}

uint32_t stepToward(uint32_t a, uint32_t s, int i) {
    uint32_t out = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int ca = static_cast<int>(component(a, shift));
        const int cs = static_cast<int>(component(s, shift));
        out = out << 8 | static_cast<uint32_t>(ca + i * (cs - ca) / 5); // truncated toward zero
    }
    return out;
}

} // namespace

int32_t skyLevelFor(int daylight, int32_t mode, double sunAltDeg, double eclipseMag) {
    if (!daylight || !isHorizonMode(mode)) return 0;
    if (!std::isfinite(sunAltDeg)) return 0;
    double t = std::trunc(2.0 * sunAltDeg) + 36.0;
    t = t < 0.0 ? 0.0 : (t > kSkyLevelMax ? kSkyLevelMax : t); // before the int conversion
    const int32_t b = static_cast<int32_t>(t);
    int32_t c = std::isfinite(eclipseMag) ? eclipseDarkening(eclipseMag) : 0;
    // The darkest an eclipse makes the sky is that of a total eclipse; a sky
    // already darker keeps its own level.
    if (c > 0 && b - c < kTotalEclipseLevel) c = b > kTotalEclipseLevel ? b - kTotalEclipseLevel : 0;
    return clampLevel(b - c);
}

void updateSkyLevel(ChartState *chart) {
    chart->skyLevel = skyLevelFor((chart->skyFlags & kSkyDaylight) != 0, chart->mode, chart->sun.altitudeDeg,
                                  chart->sun.eclipseMagnitude);
}

int32_t sunColorForChart(const ChartState *chart) {
    int32_t colour = ColorStar3;
    // Both horizon charts (HRZ and the planisphere) redden a low Sun.
    if (chart->mode % 256 == 1) sunColorByAltitude(chart->sun.altitudeDeg, &colour);
    return colour;
}

void skyColoursForLevel(int32_t level, uint32_t sun, uint32_t out[9]) {
    level = clampLevel(level);
    const uint32_t a = skyTable1[level < 48 ? level : 48];
    const uint32_t b = skyTable2[level];
    const uint32_t c = skyTable3[level];
    out[0] = a;
    out[1] = average(a, b);
    out[2] = b;
    out[3] = average(b, c);
    out[4] = c;
    for (int i = 1; i <= 4; i++) out[4 + i] = stepToward(a, sun, i);
}

void setSkyColors(ChartState *chart) {
    uint32_t colours[kSkySlotCount];
    skyColoursForLevel(chart->skyLevel, paletteRows[sunColorForChart(chart)].builtinRgb, colours);
    for (int k = 0; k < kSkySlotCount; k++) paletteStoreColour(chart->skyColourBase + k, colours[k]);
}
