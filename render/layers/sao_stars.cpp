#include "render/layers/sao_stars.h"

#include <cstring>

#include "astro/coords.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/star_limit.h"
#include "model/position.h"
#include "model/view_geometry.h"
#include "render/layers/bright_stars.h"
#include "render/canvas.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/star_symbols.h"

namespace {

const SaoZone *zoneTable = saoZones;

// Labels that come from the bright table (all but STAR_MAG).
constexpr uint8_t kBrightTableLabels = kStarLabelName | kStarLabelBayer | kStarLabelFlamsteed | kStarLabelVariable;

int16_t le16(const unsigned char *b) { return static_cast<int16_t>(b[0] | b[1] << 8); }

// Opens path and checks the magic and the length; the file is left just
// after the magic. Null when unusable.
FILE *openCatalogFile(const char *path) {
    if (path == nullptr || path[0] == '\0') return nullptr;
    FILE *f = openRegularFile(path);
    if (f == nullptr) return nullptr;
    char magic[saoMagicSize];
    const bool magicOk = std::fread(magic, 1, saoMagicSize, f) == static_cast<size_t>(saoMagicSize) &&
                         std::memcmp(magic, saoMagic, saoMagicSize) == 0;
    bool sizeOk = false;
    if (magicOk && std::fseek(f, 0, SEEK_END) == 0) {
        const long end = std::ftell(f);
        sizeOk = end == zoneTable[saoZoneCount].offset && std::fseek(f, saoMagicSize, SEEK_SET) == 0;
    }
    if (!sizeOk) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}

} // namespace

void starChartField(const ChartState *chart, double centre[2], double *radiusDeg) {
    centre[0] = 0.0;
    centre[1] = 0.0;
    *radiusDeg = 180.0;
    if (chartModeKind(chart->mode) != kKindSky) return;
    const ChartRect &r = chart->chartRect;
    Vec3 middle, corner;
    if (!screenToSky(chart, screenPointPack(r.x + r.width / 2, r.y + r.height / 2), &middle) ||
        !screenToSky(chart, screenPointPack(r.x, r.y), &corner))
        return;
    double c[2], k[2], angle;
    vecToSph(&middle, c);
    vecToSph(&corner, k);
    positionAngleAndSeparation(c, k, &angle, radiusDeg);
    centre[0] = c[0];
    centre[1] = c[1];
}

void saoSetZoneTable(const SaoZone *zones) { zoneTable = zones != nullptr ? zones : saoZones; }

int saoFileUsable(const char *path) {
    FILE *f = openCatalogFile(path);
    if (f == nullptr) return 0;
    std::fclose(f);
    return 1;
}

int saoFileExists() { return saoFileUsable(appData->saoFile); }

uint64_t saoZonesInField(const SaoZone *zones, const double centre[2], double radiusDeg) {
    uint64_t mask = 0;
    for (int z = 0; z < saoZoneCount; z++) {
        const double zc[2] = {zones[z].raDeg, zones[z].decDeg};
        double angle, separation;
        positionAngleAndSeparation(centre, zc, &angle, &separation);
        if (zones[z].radiusDeg + radiusDeg > separation) mask |= uint64_t{1} << z;
    }
    return mask;
}

void saoDrawZone(ChartState *chart, StarSymbolBatch *batch, FILE *file, int count) {
    // Records are taken a block at a time: one library call per record
    // would cost more than projecting the star.
    constexpr int kBlock = 256;
    unsigned char block[kBlock * saoRecordSize];
    SaoFrameStats &stats = chart->frame.sao;
    const bool magLabels = (chart->starLabelFlags & kStarLabelMag) != 0;
    int32_t zLow = 0, zHigh = 0;
    projectionZBand(chart, &zLow, &zHigh);
    while (count > 0) {
        const int want = count < kBlock ? count : kBlock;
        const int got = static_cast<int>(std::fread(block, saoRecordSize, static_cast<size_t>(want), file));
        for (int n = 0; n < got; n++) {
            const unsigned char *rec = block + n * saoRecordSize;
            stats.recordsRead++;
            const int packed = rec[6] | rec[7] << 8;
            const int mag10 = (packed >> 8) - 20;
            if (mag10 > chart->starLimit) return; // the rest of the zone is fainter
            const Vec3Q14 v{le16(rec), le16(rec + 2), le16(rec + 4)};
            if (v.z < zLow || v.z > zHigh) continue;
            ProjectedPoint p{0, 0, 0, 0};
            if (!projectPoint(chart, &v, &p)) continue;
            const int size = batch->add(chart, p.x, p.y, mag10, (packed >> 4) & 15);
            stats.starsDrawn++;
            if (magLabels && mag10 <= chart->starNameLimit) batch->addMagnitudeLabel(p, mag10, size);
        }
        if (got < want) return; // a short read ends the zone: no stale record is drawn
        count -= got;
    }
}

void saoDrawBrightStarLabels(ChartState *chart, Canvas *canvas, int lastIndex) {
    if (lastIndex >= brightStarCount) lastIndex = brightStarCount - 1;
    for (int i = lastIndex; i >= 0; i--) {
        const BrightStar &s = brightStars[i];
        const Vec3Q14 v{s.x, s.y, s.z};
        ProjectedPoint p{0, 0, 0, 0};
        if (!projectPoint(chart, &v, &p)) continue;
        starDrawLabels(chart, canvas, i, p.x, p.y, p.depth, p.cosCentre, brightStarMag10(s), 4, 0);
    }
}

int chartDrawSaoStars(ChartState *chart, Canvas *canvas) {
    SaoFrameStats &stats = chart->frame.sao;
    stats = SaoFrameStats{0, 0, 0, 0};
    if ((chart->starFlags & kStarShown) == 0) return 1;
    FILE *f = openCatalogFile(appData->saoFile);
    if (f == nullptr) return 0;
    double centre[2], radius;
    starChartField(chart, centre, &radius);
    const uint64_t mask = saoZonesInField(zoneTable, centre, radius);
    static StarSymbolBatch batch;
    batch.clear();
    for (int z = 0; z < saoZoneCount; z++) {
        if ((mask & (uint64_t{1} << z)) == 0) continue;
        if (std::fseek(f, zoneTable[z].offset, SEEK_SET) != 0) continue;
        stats.zonesRead++;
        stats.zoneMask |= uint64_t{1} << z;
        saoDrawZone(chart, &batch, f, (zoneTable[z + 1].offset - zoneTable[z].offset) / saoRecordSize);
    }
    std::fclose(f);
    batch.flush(chart, canvas);
    int32_t last = 0;
    if ((chart->starLabelFlags & kBrightTableLabels) && starLastIndexForLimit(chart, &last))
        saoDrawBrightStarLabels(chart, canvas, last);
    return 1;
}

void drawCatalogFileStars(ChartState *chart, Canvas *canvas) {
    if (!chartDrawSaoStars(chart, canvas)) drawBrightStars(chart, canvas);
}
