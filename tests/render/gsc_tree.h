// A Guide Star Catalog tree built in the catalogue's own format for tests:
// a region table of 9,537 56-byte records (corners 0 to 3 going round each
// region, then its large-region number and side, little-endian) and region
// files of 8,640 header bytes and 45-character rows.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "astro/constants.h"
#include "model/app_data.h"
#include "render/layers/gsc_stars.h"
#include "tests/support/temp_dir.h"

namespace gsctree {

constexpr int kCounts[12] = {48, 47, 45, 43, 40, 36, 32, 27, 21, 15, 9, 3};

// The test's layout: the first 422 large regions 4 x 4, the 423rd 2 x 2,
// the rest 3 x 3 (9,537 small regions). Numbered band by band, north
// first; inside a large region row by row from its southern edge.
inline int sideOf(int large) { return large < 422 ? 4 : large == 422 ? 2 : 3; }

struct Region {
    int number, large, side, band;
    double ra0, ra1, dec0, dec1;
};

inline std::vector<Region> layout() {
    std::vector<Region> out;
    int large = 0, number = 1;
    for (int band = 0; band < 24; band++) {
        const int count = kCounts[band % 12];
        const double w = 360.0 / count;
        const double lo = band < 12 ? band * 7.5 : -(band - 12 + 1) * 7.5;
        for (int j = 0; j < count; j++, large++) {
            const int n = sideOf(large);
            for (int d = 0; d < n; d++)
                for (int a = 0; a < n; a++)
                    out.push_back(Region{number++, large, n, band, j * w + a * w / n, j * w + (a + 1) * w / n,
                                         lo + d * 7.5 / n, lo + (d + 1) * 7.5 / n});
        }
    }
    return out;
}

inline const std::vector<Region> &regions() {
    static const std::vector<Region> r = layout();
    return r;
}

inline const char *bandDir(int band) {
    static const char *dirs[24] = {"N0000", "N0730", "N1500", "N2230", "N3000", "N3730", "N4500", "N5230",
                                   "N6000", "N6730", "N7500", "N8230", "S0000", "S0730", "S1500", "S2230",
                                   "S3000", "S3730", "S4500", "S5230", "S6000", "S6730", "S7500", "S8230"};
    return dirs[band];
}

// The region holding (ra, dec).
inline const Region &regionOf(double ra, double dec) {
    for (const Region &r : regions())
        if (ra >= r.ra0 && ra < r.ra1 && dec >= r.dec0 && (dec < r.dec1 || (r.dec1 == 90.0 && dec <= 90.0)))
            return r;
    static const Region none{0, 0, 0, 0, 0, 0, 0, 0};
    ADD_FAILURE() << "no region for " << ra << " " << dec;
    return none;
}

inline void put32(std::string *out, int32_t v) {
    for (int b = 0; b < 4; b++) out->push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xFF));
}

inline void putCorner(std::string *out, double ra, double dec) {
    put32(out, static_cast<int32_t>(std::lround(std::cos(dec * kDegToRad) * std::cos(ra * kDegToRad) * 16384.0)));
    put32(out, static_cast<int32_t>(std::lround(std::cos(dec * kDegToRad) * std::sin(ra * kDegToRad) * 16384.0)));
    put32(out, static_cast<int32_t>(std::lround(std::sin(dec * kDegToRad) * 16384.0)));
}

inline std::string regionTable() {
    std::string out;
    for (const Region &r : regions()) {
        putCorner(&out, r.ra0, r.dec0);
        putCorner(&out, r.ra1, r.dec0);
        putCorner(&out, r.ra1, r.dec1);
        putCorner(&out, r.ra0, r.dec1);
        put32(&out, r.large + 1);
        put32(&out, r.side);
    }
    return out;
}

struct Star {
    double ra, dec, mag;
};

inline std::string row(int id, const Star &s) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%05d%9.5f%9.5f%5.1f%5.2f%4.2f%2d%1d%4s%1s", id, s.ra, s.dec, 0.2, s.mag, 0.3, 8,
                  0, "0123", "F");
    std::string r(buf);
    r.resize(45, ' ');
    return r;
}

inline std::string regionFile(const std::vector<std::string> &rows) {
    std::string out(8640, ' ');
    out.replace(0, 9, "SIMPLE  =");
    for (const std::string &r : rows) out += r;
    out.resize((out.size() + 2879) / 2880 * 2880, ' '); // blank rows pad the last block
    return out;
}

inline void makeDirs(const std::string &path) {
    for (size_t i = 1; i <= path.size(); i++)
        if (i == path.size() || path[i] == '/') mkdir(path.substr(0, i).c_str(), 0755);
}

inline std::string lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A catalogue tree under root: the table, REGIONS.TBL and one file per
// region that holds stars.
struct Tree {
    TempDir dir;
    std::string table;
    Tree() { table = dir.write("tavik.gsc", regionTable()); }

    void build(const std::string &root, bool lowerCase, const std::vector<Star> &stars) const {
        auto name = [&](std::string s) { return lowerCase ? lower(s) : s; };
        makeDirs(root + "/" + name("TABLES"));
        std::FILE *f = std::fopen((root + "/" + name("TABLES/REGIONS.TBL")).c_str(), "w");
        std::fclose(f);
        std::map<int, std::vector<std::string>> rows;
        std::map<int, int> bandOf;
        for (size_t i = 0; i < stars.size(); i++) {
            const Region &r = regionOf(stars[i].ra, stars[i].dec);
            rows[r.number].push_back(row(static_cast<int>(i + 1), stars[i]));
            bandOf[r.number] = r.band;
        }
        for (const auto &kv : rows) {
            const std::string d = root + "/" + name(std::string("GSC/") + bandDir(bandOf[kv.first]));
            makeDirs(d);
            char file[16];
            std::snprintf(file, sizeof file, "/%04d.GSC", kv.first);
            std::FILE *out = std::fopen((d + name(file)).c_str(), "wb");
            const std::string bytes = regionFile(kv.second);
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }

    void use(const std::string &root, const std::string &tablePath = "") const {
        gscFreeRegionTable();
        std::snprintf(appData->gscRegionTableFile, sizeof appData->gscRegionTableFile, "%s",
                      (tablePath.empty() ? table : tablePath).c_str());
        std::snprintf(appData->gscPath, sizeof appData->gscPath, "%s", root.c_str());
    }
};


} // namespace gsctree
