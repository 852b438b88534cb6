// The star layer from the installed star catalogue file: read zone by zone,
// only the zones that overlap the chart's field and each only down to the
// limiting magnitude (a zone's records run brightest first). The bright-star
// table still supplies names and designations.
#pragma once

#include <cstdint>
#include <cstdio>

#include "resources/catalogs.h"

struct ChartState;
struct Canvas;
class StarSymbolBatch;

// The zone table the layer uses (saoZones unless a test gives its own, of
// saoZoneCount rows and an end row); null restores saoZones.
void saoSetZoneTable(const SaoZone *zones);

/*
 * saoFileUsable: whether path is a catalogue file the zone table fits.
 * Returned: 1 when it opens, begins with the 16-byte magic (case counts) and
 *           is exactly as long as the zone table's end row says; else 0.
 * Notes:    A file of another size would be read with its zones misaligned:
 *           stars in the wrong places, or a row of one zone taken for another.
 */
int saoFileUsable(const char *path);

// 1 when appData->saoFile is usable (the star dialog offers the choice then).
int saoFileExists();

/*
 * saoZonesInField: the zones a field reaches.
 * Given:    centre  right ascension and declination of the field's centre, degrees
 *           radiusDeg the field's radius, degrees
 * Returned: bit z set when zone radius + field radius > the separation of
 *           the centres
 */
uint64_t saoZonesInField(const SaoZone *zones, const double centre[2], double radiusDeg);

/*
 * chartDrawSaoStars: the layer; what it read and drew goes to chart->frame.sao.
 * Returned: 1 when drawn, or when STAR is off; 0 when the file is not usable
 *           (nothing drawn: the caller draws the bright stars instead).
 */
int chartDrawSaoStars(ChartState *chart, Canvas *canvas);

// The frame's row: the catalogue file, or the bright stars when it is unusable.
void drawCatalogFileStars(ChartState *chart, Canvas *canvas);

// Gathers into batch up to count records of the zone the file is positioned
// at, stopping at the first fainter than starLimit or at a short read.
void saoDrawZone(ChartState *chart, StarSymbolBatch *batch, FILE *file, int count);
// The field of the chart: in the sky charts the direction under the chart's
// middle pixel (right ascension, declination) and its distance to the
// top-left pixel; elsewhere, or off the map, (0, 0) and 180 degrees.
void starChartField(const ChartState *chart, double centre[2], double *radiusDeg);
void saoDrawBrightStarLabels(ChartState *chart, Canvas *canvas, int lastIndex);
