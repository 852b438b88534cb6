#include "render/layers/gsc_stars.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/env.h"
#include "model/file_input.h"
#include "model/star_limit.h"
#include "model/position.h"
#include "model/view_geometry.h"
#include "render/layers/bright_stars.h"
#include "render/canvas.h"
#include "render/layers/sao_stars.h"
#include "render/projection.h"
#include "render/star_symbols.h"

const GscZone gscZones[kGscBands] = {
    {3.75, 48, 1, "N0000"},     {11.25, 47, 49, "N0730"},   {18.75, 45, 96, "N1500"},
    {26.25, 43, 141, "N2230"},  {33.75, 40, 184, "N3000"},  {41.25, 36, 224, "N3730"},
    {48.75, 32, 260, "N4500"},  {56.25, 27, 292, "N5230"},  {63.75, 21, 319, "N6000"},
    {71.25, 15, 340, "N6730"},  {78.75, 9, 355, "N7500"},   {86.25, 3, 364, "N8230"},
    {-3.75, 48, 367, "S0000"},  {-11.25, 47, 415, "S0730"}, {-18.75, 45, 462, "S1500"},
    {-26.25, 43, 507, "S2230"}, {-33.75, 40, 550, "S3000"}, {-41.25, 36, 590, "S3730"},
    {-48.75, 32, 626, "S4500"}, {-56.25, 27, 658, "S5230"}, {-63.75, 21, 685, "S6000"},
    {-71.25, 15, 706, "S6730"}, {-78.75, 9, 721, "S7500"},  {-86.25, 3, 730, "S8230"},
};

GscLargeRegion gscLargeRegions[kGscLargeRegionCount];

namespace {

constexpr int kBuiltPathSize = 1024;
constexpr int kRowsPerRead = 20;
// A region file of the catalogue holds a few thousand rows; a file far
// beyond that is not one, and is not read to its end every frame.
constexpr long kMaxRowsPerFile = 200000;
// Corners are stored in Q14 (about 0.0035 degrees); a star on a region's
// edge must still fall inside its circle.
constexpr double kRadiusMarginDeg = 0.01;

int lowerCaseTree = 0;
char probedRoot[sizeof AppData::gscPath] = "";
int probedOk = 0;

int32_t le32(const unsigned char *b) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                                static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

double raDifference(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

double separation(const double a[2], const double b[2]) {
    double angle, sep;
    positionAngleAndSeparation(a, b, &angle, &sep);
    return sep;
}

// The root with a leading "~" expanded and "/" added; 0 when it does not fit.
int rootPrefix(char *out, int size) {
    const char *root = appData->gscPath;
    if (root[0] == '\0') return 0;
    if (!envExpandTilde(root, out, size)) return 0;
    const size_t n = std::strlen(out);
    if (n == 0) return 0;
    if (out[n - 1] != '/') {
        if (n + 2 > static_cast<size_t>(size)) return 0;
        out[n] = '/';
        out[n + 1] = '\0';
    }
    return 1;
}

// prefix + tail with tail folded to the tree's case; 0 when it does not fit.
int joinFolded(char *out, int size, const char *prefix, const char *tail, int lower) {
    const int n = std::snprintf(out, static_cast<size_t>(size), "%s%s", prefix, tail);
    if (n < 0 || n >= size) return 0;
    for (char *p = out + std::strlen(prefix); *p; p++)
        *p = static_cast<char>(lower ? std::tolower(static_cast<unsigned char>(*p))
                                     : std::toupper(static_cast<unsigned char>(*p)));
    return 1;
}

int readable(const char *path) { return access(path, R_OK) == 0; }

int64_t readWholeFile(const char *path, std::unique_ptr<unsigned char[]> *out) {
    FILE *f = openRegularFile(path);
    if (f == nullptr) return -1;
    struct stat st;
    if (fstat(fileno(f), &st) != 0 || st.st_size != kGscTableSize) {
        std::fclose(f);
        return -1;
    }
    out->reset(new (std::nothrow) unsigned char[kGscTableSize]);
    size_t got = 0;
    if (*out) got = std::fread(out->get(), 1, static_cast<size_t>(kGscTableSize), f);
    std::fclose(f);
    return *out ? static_cast<int64_t>(got) : -1;
}

} // namespace

int gscParseRegionTable(const unsigned char *bytes, size_t size, GscRegionTable *out) {
    if (bytes == nullptr || size != static_cast<size_t>(kGscTableSize)) return 0;
    int k = 0; // record index
    for (int large = 1; large <= kGscLargeRegionCount; large++) {
        if (k >= kGscSmallRegionCount) return 0;
        const unsigned char *rec = bytes + static_cast<size_t>(k) * kGscTableRecordSize;
        const int32_t side = le32(rec + 52);
        if (le32(rec + 48) != large || side < 1 || side > 4 || k + side * side > kGscSmallRegionCount) return 0;
        for (int b = 0; b < side * side; b++) {
            const unsigned char *r = bytes + static_cast<size_t>(k + b) * kGscTableRecordSize;
            if (le32(r + 48) != large || le32(r + 52) != side) return 0;
        }
        gscLargeRegions[large - 1] = GscLargeRegion{k + 1, side};
        k += side * side;
    }
    if (k != kGscSmallRegionCount) return 0;
    for (k = 0; k < kGscSmallRegionCount; k++) {
        const unsigned char *rec = bytes + static_cast<size_t>(k) * kGscTableRecordSize;
        for (int c = 0; c < 4; c++) {
            int32_t v[3];
            for (int i = 0; i < 3; i++) {
                v[i] = le32(rec + 12 * c + 4 * i);
                if (v[i] < -16384 || v[i] > 16384) return 0;
            }
            if (v[0] == 0 && v[1] == 0 && v[2] == 0) return 0;
            out->corners[k][c] = Vec3Q14{v[0], v[1], v[2]};
        }
    }
    // Circles round every region: the centre inside the region, the radius
    // to its farthest corner (for a region bounded by meridians and
    // parallels no point lies farther from an inner point than a corner).
    for (k = 0; k < kGscSmallRegionCount; k++) {
        Vec3 sum{0, 0, 0};
        for (int c = 0; c < 4; c++) {
            const Vec3Q14 &q = out->corners[k][c];
            const double len = std::sqrt(double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z);
            sum.x += q.x / len;
            sum.y += q.y / len;
            sum.z += q.z / len;
        }
        vecToSph(&sum, out->centre[k]);
        double r = 0.0;
        for (int c = 0; c < 4; c++) {
            double p[2];
            vecQ14ToSph(&out->corners[k][c], p);
            r = std::fmax(r, separation(out->centre[k], p));
        }
        out->radius[k] = r + kRadiusMarginDeg;
    }
    for (int band = 0; band < kGscBands; band++) {
        const GscZone &z = gscZones[band];
        const double w = 360.0 / z.count;
        for (int j = 0; j < z.count; j++) {
            const int large = z.firstLarge - 1 + j;
            double *c = out->largeCentre[large];
            c[0] = j * w + w / 2.0;
            c[1] = z.decDeg;
            const GscLargeRegion &L = gscLargeRegions[large];
            double r = 0.0;
            for (int s = 0; s < L.side * L.side; s++)
                for (int k4 = 0; k4 < 4; k4++) {
                    double p[2];
                    vecQ14ToSph(&out->corners[L.firstSmall - 1 + s][k4], p);
                    r = std::fmax(r, separation(c, p));
                }
            out->largeRadius[large] = r + kRadiusMarginDeg;
        }
    }
    return 1;
}

int gscLoadRegionTable() {
    if (appData->gscRegionTable != nullptr) return 1;
    std::unique_ptr<unsigned char[]> bytes;
    if (readWholeFile(appData->gscRegionTableFile, &bytes) != kGscTableSize) return 0;
    std::unique_ptr<GscRegionTable> table(new (std::nothrow) GscRegionTable);
    if (!table || !gscParseRegionTable(bytes.get(), static_cast<size_t>(kGscTableSize), table.get())) return 0;
    appData->gscRegionTable = table.release();
    appData->gscRegionTableLoads++;
    return 1;
}

void gscFreeRegionTable() {
    delete appData->gscRegionTable;
    appData->gscRegionTable = nullptr;
}

int gscAvailable(char *missing, size_t missingSize) {
    auto miss = [&](const char *path) {
        if (missing != nullptr && missingSize > 0) std::snprintf(missing, missingSize, "%s", path);
        return 0;
    };
    std::snprintf(probedRoot, sizeof probedRoot, "%s", appData->gscPath);
    probedOk = 0;
    if (!gscLoadRegionTable()) return miss(appData->gscRegionTableFile);
    char prefix[kBuiltPathSize], path[kBuiltPathSize];
    if (!rootPrefix(prefix, sizeof prefix)) return miss(appData->gscPath);
    if (!joinFolded(path, sizeof path, prefix, "TABLES/REGIONS.TBL", 0)) return miss(appData->gscPath);
    for (int lower = 0; lower < 2; lower++) {
        joinFolded(path, sizeof path, prefix, "TABLES/REGIONS.TBL", lower);
        if (readable(path)) {
            lowerCaseTree = lower;
            probedOk = 1;
            return 1;
        }
    }
    joinFolded(path, sizeof path, prefix, "TABLES/REGIONS.TBL", 0);
    return miss(path);
}

int gscParseRow(const char *row, double *ra, double *dec, int *mag10) {
    if (row[0] == ' ') return 0;
    const char sign = row[28];
    if (!(sign == ' ' || sign == '-' || std::isdigit(static_cast<unsigned char>(sign))) ||
        !std::isdigit(static_cast<unsigned char>(row[29])) || row[30] != '.' ||
        !std::isdigit(static_cast<unsigned char>(row[31])))
        return 0;
    int m = (row[29] - '0') * 10 + (row[31] - '0');
    if (sign == '-') m = -m;
    else if (sign != ' ') m += (sign - '0') * 100;
    double v[2];
    for (int i = 0; i < 2; i++) {
        char field[10];
        std::memcpy(field, row + 5 + 9 * i, 9);
        field[9] = '\0';
        char *end = nullptr;
        v[i] = std::strtod(field, &end);
        if (end == field) return 0;
        while (*end == ' ') end++;
        if (end != field + 9 || !std::isfinite(v[i])) return 0;
    }
    if (v[0] < 0.0 || v[0] > 360.0 || v[1] < -90.0 || v[1] > 90.0) return 0;
    *ra = v[0];
    *dec = v[1];
    *mag10 = m;
    return 1;
}

int gscRegionVisible(ChartState *chart, const Vec3Q14 corners[4], const ChartRect *area) {
    // The outline followed round, edges sampled in right ascension and
    // declination: a declination edge bows on the chart, and corners far
    // off a narrow chart are culled, so corners alone cannot tell.
    double c[4][2];
    for (int i = 0; i < 4; i++) vecQ14ToSph(&corners[i], c[i]);
    const double ra0 = std::fabs(c[0][1]) < 89.999 ? c[0][0] : c[3][0];
    const double ra1 = std::fabs(c[1][1]) < 89.999 ? c[1][0] : c[2][0];
    double span = std::fmod(ra1 - ra0 + 720.0, 360.0);
    if (span == 0.0) span = 360.0;
    const double decLow = c[0][1], decHigh = c[2][1];
    constexpr int kPerEdge = 8, kPoints = 4 * kPerEdge;
    const long left = area->x, top = area->y, right = left + area->width, bottom = top + area->height;
    long x[kPoints], y[kPoints];
    bool shown[kPoints];
    for (int i = 0; i < kPoints; i++) {
        const int edge = i / kPerEdge;
        const double f = static_cast<double>(i % kPerEdge) / kPerEdge;
        const double radec[2] = {edge == 0 ? ra0 + f * span : edge == 1 ? ra0 + span : edge == 2 ? ra0 + (1 - f) * span : ra0,
                                 edge == 0 ? decLow : edge == 1 ? decLow + f * (decHigh - decLow) : edge == 2 ? decHigh
                                                                                    : decHigh - f * (decHigh - decLow)};
        Vec3Q14 v;
        sphToVecQ14(radec, &v);
        ProjectedPoint p{0, 0, 0, 0};
        shown[i] = projectPoint(chart, &v, &p) != 0;
        if (!shown[i]) continue;
        if (p.x >= left && p.x < right && p.y >= top && p.y < bottom) return 1;
        x[i] = p.x;
        y[i] = p.y;
    }
    // No sample inside: an outline side may still cross the area ...
    const long ax[4] = {left, right, right, left}, ay[4] = {top, top, bottom, bottom};
    auto side = [](long ox, long oy, long px, long py, long qx, long qy) {
        const long v = (px - ox) * (qy - oy) - (py - oy) * (qx - ox);
        return (v > 0) - (v < 0);
    };
    for (int i = 0; i < kPoints; i++) {
        const int j = (i + 1) % kPoints;
        if (!shown[i] || !shown[j]) continue;
        for (int k = 0; k < 4; k++) {
            const int l = (k + 1) % 4;
            if (side(x[i], y[i], x[j], y[j], ax[k], ay[k]) * side(x[i], y[i], x[j], y[j], ax[l], ay[l]) <= 0 &&
                side(ax[k], ay[k], ax[l], ay[l], x[i], y[i]) * side(ax[k], ay[k], ax[l], ay[l], x[j], y[j]) <= 0)
                return 1;
        }
    }
    // ... or the region holds the whole area: the sky under its middle.
    Vec3 middle;
    if (!screenToSky(chart, screenPointPack(static_cast<int32_t>((left + right) / 2), static_cast<int32_t>((top + bottom) / 2)),
                     &middle))
        return 0;
    double m[2];
    vecToSph(&middle, m);
    const double dra = std::fmod(m[0] - ra0 + 720.0, 360.0);
    return m[1] >= std::fmin(decLow, decHigh) && m[1] <= std::fmax(decLow, decHigh) && (dra <= span || std::fabs(m[1]) >= 89.999);
}

void gscDrawRegionFile(ChartState *chart, StarSymbolBatch *batch, const char *path) {
    FILE *f = openRegularFile(path);
    if (f == nullptr) return;
    chart->frame.gsc.filesOpened++;
    if (std::fseek(f, kGscHeaderBytes, SEEK_SET) != 0) {
        std::fclose(f);
        return;
    }
    char block[kRowsPerRead * kGscRowSize];
    long rows = 0;
    size_t got;
    while (rows < kMaxRowsPerFile && (got = std::fread(block, 1, sizeof block, f)) > 0) {
        const int n = static_cast<int>(got / kGscRowSize); // a partial last row is not a row
        for (int i = 0; i < n; i++, rows++) {
            double radec[2];
            int mag10;
            if (!gscParseRow(block + i * kGscRowSize, &radec[0], &radec[1], &mag10)) continue;
            if (mag10 > chart->starLimit) continue;
            Vec3Q14 v;
            sphToVecQ14(radec, &v);
            ProjectedPoint p{0, 0, 0, 0};
            if (!projectPoint(chart, &v, &p)) continue;
            const int size = batch->add(chart, p.x, p.y, mag10, 0);
            if ((chart->starLabelFlags & kStarLabelMag) && mag10 <= chart->starNameLimit)
                batch->addMagnitudeLabel(p, mag10, size);
        }
        if (got < sizeof block) break;
    }
    std::fclose(f);
}

int chartDrawGscStars(ChartState *chart, Canvas *canvas) {
    GscVisibleSet &set = chart->frame.gsc;
    set.reused = 0;
    set.filesOpened = 0;
    if ((chart->starFlags & kStarShown) == 0) return 1;
    // The tree's case is found again whenever the root changes, whoever
    // changed it (dialog, scene, start-up script or TCP).
    if (!probedOk || std::strcmp(probedRoot, appData->gscPath) != 0) gscAvailable();
    if (!probedOk || !gscLoadRegionTable()) return 0;
    const GscRegionTable *table = appData->gscRegionTable;
    char prefix[kBuiltPathSize];
    if (!rootPrefix(prefix, sizeof prefix)) return 0;
    std::strncat(prefix, lowerCaseTree ? "gsc/" : "GSC/", sizeof prefix - std::strlen(prefix) - 1);

    const ChartRect &r = chart->chartRect;
    const ChartRect area{static_cast<int16_t>(r.x - r.width / 20), static_cast<int16_t>(r.y - r.height / 20),
                         static_cast<uint16_t>(r.width + 2 * (r.width / 20)),
                         static_cast<uint16_t>(r.height + 2 * (r.height / 20))};
    double centre[2], radius;
    starChartField(chart, centre, &radius);

    const double pixelsPerDeg = chart->pixelsPerRadianX * kDegToRad;
    const double t = pixelsPerDeg > 0 ? 0.8 / pixelsPerDeg : 0.0;
    const bool reuse = set.valid && set.tableLoad == appData->gscRegionTableLoads &&
                       t > std::fabs(raDifference(set.ra, centre[0])) && t > std::fabs(set.dec - centre[1]) &&
                       set.fieldWidth >= chart->fieldWidth && set.fieldHeight >= chart->fieldHeight &&
                       set.mode == chart->mode && set.mirror == chart->mirror &&
                       std::memcmp(&set.rect, &r, sizeof r) == 0 &&
                       std::memcmp(&set.rotation, &chart->rotationMatrixQ14, sizeof set.rotation) == 0;
    set.reused = reuse;
    int count = 0;
    for (int large = 0; large < kGscLargeRegionCount; large++) {
        const GscLargeRegion &L = gscLargeRegions[large];
        int32_t &mask = set.masks[large];
        if (!reuse) mask = (1 << (L.side * L.side)) - 1;
        if (separation(centre, table->largeCentre[large]) > radius + table->largeRadius[large]) {
            mask = 0;
            continue;
        }
        for (int b = 0; b < L.side * L.side; b++) {
            if ((mask & (1 << b)) == 0) continue;
            const int k = L.firstSmall - 1 + b;
            if (separation(centre, table->centre[k]) > radius + table->radius[k] ||
                !gscRegionVisible(chart, table->corners[k], &area))
                mask &= ~(1 << b);
            else
                count++;
        }
    }
    set.valid = 1;
    set.ra = centre[0];
    set.dec = centre[1];
    set.fieldWidth = chart->fieldWidth;
    set.fieldHeight = chart->fieldHeight;
    set.mode = chart->mode;
    set.mirror = chart->mirror;
    set.rect = r;
    set.rotation = chart->rotationMatrixQ14;
    set.tableLoad = appData->gscRegionTableLoads;
    set.count = count;

    static StarSymbolBatch batch;
    batch.clear();
    for (int band = 0; band < kGscBands; band++) {
        const GscZone &z = gscZones[band];
        for (int j = 0; j < z.count; j++) {
            const int large = z.firstLarge - 1 + j;
            const GscLargeRegion &L = gscLargeRegions[large];
            for (int b = 0; b < L.side * L.side; b++) {
                if ((set.masks[large] & (1 << b)) == 0) continue;
                char tail[32], path[kBuiltPathSize];
                std::snprintf(tail, sizeof tail, "%s/%04d.GSC", z.dir, L.firstSmall + b);
                if (joinFolded(path, sizeof path, prefix, tail, lowerCaseTree)) gscDrawRegionFile(chart, &batch, path);
            }
        }
    }
    batch.flush(chart, canvas);
    int32_t last = 0;
    if ((chart->starLabelFlags & (kStarLabelName | kStarLabelBayer | kStarLabelFlamsteed | kStarLabelVariable)) &&
        starLastIndexForLimit(chart, &last))
        saoDrawBrightStarLabels(chart, canvas, last);
    return 1;
}

void drawGscStars(ChartState *chart, Canvas *canvas) {
    if (!chartDrawGscStars(chart, canvas)) drawBrightStars(chart, canvas);
}
