// Element files of comets and minor planets: reading a body by name through
// the name index, finding a body's line in a scene's ORBIT block, and the
// chart's comet and minor-planet tables. The lines themselves are
// model/element_lines.h's.
#pragma once

#include <cstdint>
#include <cstdio>

#include "astro/orbit_records.h"
#include "model/chart_state.h"
#include "model/element_lines.h"

struct ChartState;

// Reads the line that starts at byte `offset` of elementFile and parses it;
// 1 on success.
int readElementRecordAt(const char *elementFile, int64_t offset, OrbitalElements *out);

/*
 * readElementRecord: the body whose line has `key` among its four keys.
 * Given:    key  in its stored form (trimmed, upper case); reserved 0
 * Returned: out  the record; 1 found, 0 not found or unreadable
 *           offsetOut (when not null) the line's offset
 * Notes:    An index whose answer is not a line carrying the key (or that
 *           cannot be read) is rebuilt once per run and asked again.
 */
int readElementRecord(const char *key, int reserved, OrbitalElements *out, const char *elementFile,
                      const char *indexFile, int64_t *offsetOut = nullptr);

// A scene's first ORBIT block, read once for a whole STL: every element
// line under its header's name, in file order.
struct OrbitBlock;

/*
 * readOrbitBlock: the first ORBIT block of a scene file.
 * Given:    scene  an open scene file; read from its start, its position is
 *                  restored
 * Returned: the block (freeOrbitBlock frees it), null when memory runs out
 * Notes:    A block begins at a line "BLOCK" + blanks + "ORBIT" and ends at
 *           "END" + blanks + "BLOCK" (any case). A line beginning with ":"
 *           is a header; the line after it is its element line. Lines are
 *           cut at their carriage return or newline; other lines (the empty
 *           ones older versions wrote) are skipped.
 */
OrbitBlock *readOrbitBlock(FILE *scene);
void freeOrbitBlock(OrbitBlock *block);

/*
 * findOrbitBlockLine: a body's element line in a scene's ORBIT block.
 * Given:    block  as readOrbitBlock gave it
 *           name   the body's name; compared whole, blanks trimmed, any case
 *           type   'C' or 'M': only headers whose element line has this type count
 *           occurrence  1 for the first header of that name and type, 2 for
 *                  the second ...
 * Returned: buf[size] the element line without its line end; 1 found, else 0
 */
int findOrbitBlockLine(const OrbitBlock *block, const char *name, char type, int occurrence, char *buf, int size);

// Adds a body to the chart's comet (minor-planet) table: display byte 0xE2
// (0x22), stamps cleared, orbit outline made. 1; 0 when memory runs out,
// and then the whole table is emptied.
int addComet(ChartState *chart, const OrbitalElements *el);
int addMinorPlanet(ChartState *chart, const OrbitalElements *el);

// Display bytes of a body just added.
constexpr uint8_t kCometAddedFlags = kBodyShown | kBodyOrbit | kCometDustTail | kCometIonTail;
constexpr uint8_t kMinorPlanetAddedFlags = kBodyShown | kBodyOrbit;
