// The brightness of the sky and its nine colours: the level follows the
// Sun's altitude and a solar eclipse; the colours are read from three tables
// by that level and stored into the sky slots after the palette.
#pragma once

#include <cstdint>

struct ChartState;

constexpr int32_t kSkyLevelMax = 72;

// RGB triplets (0xRRGGBB) by sky level: skyTable1 rows 0..48 (higher levels
// use row 48), skyTable2 and skyTable3 rows 0..72.
extern const uint32_t skyTable1[49];
extern const uint32_t skyTable2[73];
extern const uint32_t skyTable3[73];

/*
 * skyLevelFor: the sky level of a chart.
 * Given:    daylight      int     1 when DAYLIGHT is on
 *           mode          int     ChartMode
 *           sunAltDeg     double  the Sun's altitude, degrees
 *           eclipseMag    double  the Sun's eclipse magnitude (<= 0: none)
 * Returned: level 0..72, two steps a degree: 0 with the Sun 18 degrees or
 *           more below the horizon, 72 at 18 degrees or more above; 0 when
 *           daylight is off or the chart is not horizontal (HRZ, PLNS).
 * Notes:    An eclipse only darkens: the level with the eclipse is never
 *           below that of a total eclipse (26), but never above the level
 *           without it either, so a night sky is not lit by an eclipse.
 */
int32_t skyLevelFor(int daylight, int32_t mode, double sunAltDeg, double eclipseMag);

// Sets chart->skyLevel from its skyFlags, mode and Sun.
void updateSkyLevel(ChartState *chart);

// The Sun's palette row: ColorStar3, or in a horizontal chart ColorStar4 ..
// ColorStar9 as the Sun sinks below 15, 12.5, 10, 7.5, 5 and 2.5 degrees.
int32_t sunColorForChart(const ChartState *chart);

// The nine sky colours of a level as 0xRRGGBB, sun being the Sun's colour:
// background, the steps between the three tables, then four steps from the
// background toward the Sun.
void skyColoursForLevel(int32_t level, uint32_t sun, uint32_t out[9]);

// Stores the nine sky colours of chart->skyLevel into the slots from
// skyColourBase (paletteStoreColour).
void setSkyColors(ChartState *chart);
