// The star layer of the Guide Star Catalog: the faint stars read from the
// catalogue's tree of small-region files (a mounted copy of the catalogue),
// only those regions that can touch the chart. The bright-star table still
// supplies names and designations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "astro/types.h"
#include "model/chart_state.h"

struct Canvas;
class StarSymbolBatch;

constexpr int kGscBands = 24;
// kGscLargeRegionCount (732) is in model/chart_frame.h beside the visible set.
constexpr int kGscSmallRegionCount = 9537;
constexpr int kGscTableRecordSize = 56;
constexpr long kGscTableSize = static_cast<long>(kGscSmallRegionCount) * kGscTableRecordSize; // 534,072
constexpr long kGscHeaderBytes = 8640; // three 2,880-byte header blocks
constexpr int kGscRowSize = 45;

struct GscZone {
    double decDeg;       // band centre
    int32_t count;       // large regions in the band
    int32_t firstLarge;  // from 1
    const char *dir;
};
extern const GscZone gscZones[kGscBands];

// The chart's visible set (chart->frame.gsc) keeps a mask per large region:
// bit b for small region firstSmall + b.
struct GscLargeRegion {
    int32_t firstSmall; // from 1
    int32_t side;       // n: n x n consecutive small regions, 1..4
};
// Filled from the region table when it loads.
extern GscLargeRegion gscLargeRegions[kGscLargeRegionCount];

// The region table in memory: the corners of every small region (0 to 3
// going round it) and the circles the field test uses.
struct GscRegionTable {
    Vec3Q14 corners[kGscSmallRegionCount][4];
    double centre[kGscSmallRegionCount][2]; // right ascension, declination
    double radius[kGscSmallRegionCount];    // to the farthest corner
    double largeCentre[kGscLargeRegionCount][2];
    double largeRadius[kGscLargeRegionCount];
};

/*
 * gscParseRegionTable: checks and unpacks a region table file's bytes.
 * Returned: 1 when it is exactly kGscTableSize bytes, every large region
 *           (bytes 48-51, little-endian) is n x n consecutive records with
 *           side n (bytes 52-55) 1..4, in order 1..732, and every corner
 *           component lies in -16384..16384; else 0 (out untouched but
 *           gscLargeRegions may be rewritten).
 */
int gscParseRegionTable(const unsigned char *bytes, size_t size, GscRegionTable *out);

// 1 when the region table loaded (or was already there); appData->gscRegionTable.
int gscLoadRegionTable();
void gscFreeRegionTable();

/*
 * gscAvailable: whether the catalogue can be drawn.
 * Returned: 1 when the region table loads, the root is not empty, fits a
 *           path and holds "TABLES/REGIONS.TBL" in upper or lower case
 *           (only what follows the root is folded; a leading "~" of the
 *           root is the home directory); sets the case the tree uses.
 * missing:  when 0 and not null, the path it missed (table or REGIONS.TBL).
 */
int gscAvailable(char *missing = nullptr, size_t missingSize = 0);

/*
 * gscParseRow: one 45-character row of a region file.
 * Returned: 1 with right ascension, declination (degrees) and magnitude x 10;
 *           0 for a row starting with a blank or one whose coordinates or
 *           magnitude are not numbers in range.
 */
int gscParseRow(const char *row, double *ra, double *dec, int *mag10);

// Whether a small region (its corners and the midpoints of its two
// declination edges) can show inside area.
int gscRegionVisible(ChartState *chart, const Vec3Q14 corners[4], const ChartRect *area);

// Gathers into batch the rows of one region file within the chart's limit.
void gscDrawRegionFile(ChartState *chart, StarSymbolBatch *batch, const char *path);

/*
 * chartDrawGscStars: the layer; its visible set, the region files it opened
 * and whether it started from the previous frame's set go to chart->frame.gsc.
 * Returned: 1 when drawn, or when STAR is off; 0 when the catalogue is not
 *           usable (the caller draws the bright stars instead).
 */
int chartDrawGscStars(ChartState *chart, Canvas *canvas);

// The frame's row: the catalogue, or the bright stars when it is unusable.
void drawGscStars(ChartState *chart, Canvas *canvas);
