// Integrity of the generated catalogue tables and installed data files, and
// spot checks against the public catalogues they come from.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "resources/catalogs.h"
#include "tests/support/catalog_rows.h"

namespace {

std::string dataPath(const char *name) { return std::string(TAVIK_SOURCE_DIR) + "/data/" + name; }

std::string readFile(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::vector<std::string> readLines(const std::string &path)
{
    std::vector<std::string> lines;
    std::ifstream f(path, std::ios::binary);
    std::string line;
    while (std::getline(f, line))
        lines.push_back(line);
    return lines;
}

double lengthQ14(int32_t x, int32_t y, int32_t z)
{
    return std::sqrt(double(x) * x + double(y) * y + double(z) * z);
}

// Unit vector of J2000 right ascension (hours) and declination (degrees).
void unitVector(double raH, double decDeg, double out[3])
{
    double ra = raH * 15.0 * M_PI / 180.0, dec = decDeg * M_PI / 180.0;
    out[0] = std::cos(dec) * std::cos(ra);
    out[1] = std::cos(dec) * std::sin(ra);
    out[2] = std::sin(dec);
}

double separationDeg(const Vec3Q14 &v, const double u[3])
{
    double l = lengthQ14(v.x, v.y, v.z);
    double d = (v.x * u[0] + v.y * u[1] + v.z * u[2]) / l;
    return std::acos(std::fmax(-1.0, std::fmin(1.0, d))) * 180.0 / M_PI;
}

Vec3Q14 starVec(int32_t i) { return {brightStars[i].x, brightStars[i].y, brightStars[i].z}; }

// The designation entry of a bright-table row, or -1.
int32_t designationOf(int32_t star)
{
    const DesignationWord &w = designationWords[star / 16];
    uint16_t bit = static_cast<uint16_t>(0x8000 >> (star % 16));
    if (!(w.bits & bit))
        return -1;
    uint16_t upTo = static_cast<uint16_t>(w.bits & ~(bit - 1));
    return w.countBefore + __builtin_popcount(upTo) - 1;
}

int32_t constellationRow(const char *abbr)
{
    for (int32_t i = 0; i < constellationSearchCount; ++i)
        if (std::strcmp(constellations[i].abbreviation, abbr) == 0)
            return i;
    return -1;
}

// The first bright-table row with that Greek letter (1..24) and constellation.
int32_t starByBayer(int letter, const char *abbr)
{
    int32_t cons = constellationRow(abbr);
    for (int32_t i = 0; i < brightStarCount; ++i) {
        int32_t d = designationOf(i);
        if (d >= 0 && designationEntries[d][0] >> 3 == letter && (designationEntries[d][1] & 0x7F) == cons)
            return i;
    }
    return -1;
}

TEST(CatalogBrightStars, UnitVectorsAndMagnitudeOrderHold)
{
    for (int32_t i = 0; i < brightStarCount; ++i) {
        const BrightStar &s = brightStars[i];
        EXPECT_NEAR(lengthQ14(s.x, s.y, s.z), 16384.0, 1.5) << "row " << i;
        EXPECT_EQ(s.packed & 7u, 0u) << "row " << i;
        EXPECT_LE(brightStarColourClass(s), 9);
        if (i > 0) {
            EXPECT_LE(brightStarMag10(brightStars[i - 1]), brightStarMag10(s)) << "row " << i;
        }
    }
    EXPECT_GE(brightStarMag10(brightStars[0]), -16);
    // The table ends at 6.5, so a limit of 6.5 and more draws exactly the whole table.
    EXPECT_LE(brightStarMag10(brightStars[brightStarCount - 1]), 65);
}

TEST(CatalogBrightStars, SiriusIsRowZeroAndWhite)
{
    double u[3];
    unitVector(6.7525, -16.7161, u);
    EXPECT_LT(separationDeg(starVec(0), u), 0.01);
    EXPECT_EQ(brightStarMag10(brightStars[0]), -15);
    int32_t c = brightStarColourClass(brightStars[0]);
    EXPECT_GE(c, 1);
    EXPECT_LE(c, 3);
    EXPECT_STREQ(starNames[0].builtinName, "Sirius");
    EXPECT_EQ(starNames[0].index, 0);
}

TEST(CatalogBrightStars, NamedStarsMatchTheirBayerDesignationAndPosition)
{
    struct Case {
        const char *name;
        int letter;
        const char *cons;
        double raH, decDeg;
        int minClass, maxClass;
    } cases[] = {
        {"Polaris", 1, "UMi", 2.5303, 89.2642, 4, 7},
        {"Betelgeuse", 1, "Ori", 5.9195, 7.4069, 8, 9},
        {"Vega", 1, "Lyr", 18.6156, 38.7836, 1, 3},
        {"Rigel", 2, "Ori", 5.2423, -8.2017, 0, 2},
    };
    for (const Case &c : cases) {
        int32_t byName = starNamed(c.name);
        ASSERT_GE(byName, 0) << c.name;
        EXPECT_EQ(byName, starByBayer(c.letter, c.cons)) << c.name;
        double u[3];
        unitVector(c.raH, c.decDeg, u);
        EXPECT_LT(separationDeg(starVec(byName), u), 0.02) << c.name;
        EXPECT_TRUE(brightStars[byName].packed & brightStarHasName) << c.name;
        int cls = brightStarColourClass(brightStars[byName]);
        EXPECT_GE(cls, c.minClass) << c.name;
        EXPECT_LE(cls, c.maxClass) << c.name;
    }
}

TEST(CatalogDesignations, BitMapRunningCountsAndEntriesAgree)
{
    int32_t count = 0;
    for (int32_t w = 0; w < designationWordCount; ++w) {
        EXPECT_EQ(designationWords[w].countBefore, count) << "word " << w;
        count += __builtin_popcount(designationWords[w].bits);
        if (w * 16 >= brightStarCount) {
            EXPECT_EQ(designationWords[w].bits, 0) << "word beyond the table " << w;
        }
    }
    EXPECT_EQ(count, designationEntryCount);
    for (int32_t i = 0; i < designationEntryCount; ++i) {
        EXPECT_LE(designationEntries[i][0] >> 3, 24);
        EXPECT_LT(designationEntries[i][1] & 0x7F, 88);
    }
    // Every named star has an entry (the name flag would be unreachable otherwise).
    for (int32_t i = 0; i < brightStarCount; ++i)
        if (brightStars[i].packed & brightStarHasName) {
            EXPECT_GE(designationOf(i), 0) << "row " << i;
        }
}

TEST(CatalogDesignations, StarLimitCountsFollowTheTable)
{
    for (int32_t l = 0; l < starLimitCountSize; ++l) {
        int32_t n = starLimitCounts[l];
        ASSERT_GE(n, 1);
        ASSERT_LE(n, brightStarCount);
        EXPECT_LE(brightStarMag10(brightStars[n - 1]), l) << "limit " << l;
        if (n < brightStarCount) {
            EXPECT_GT(brightStarMag10(brightStars[n]), l) << "limit " << l;
        }
        if (l > 0) {
            EXPECT_GE(n, starLimitCounts[l - 1]);
        }
    }
}

TEST(CatalogStarNames, RowsAreUniqueSortedAndFlagged)
{
    std::set<std::string> seen;
    for (int32_t i = 0; i < starNameCount; ++i) {
        ASSERT_NE(starNames[i].builtinName, nullptr);
        EXPECT_TRUE(seen.insert(starNames[i].builtinName).second) << starNames[i].builtinName;
        EXPECT_EQ(starNames[i].localName, nullptr);
        EXPECT_TRUE(brightStars[starNames[i].index].packed & brightStarHasName);
        if (i > 0) {
            EXPECT_LT(starNames[i - 1].index, starNames[i].index);
        }
    }
    EXPECT_EQ(starNames[starNameCount].builtinName, nullptr);
    int32_t flagged = 0;
    for (int32_t i = 0; i < brightStarCount; ++i)
        flagged += (brightStars[i].packed & brightStarHasName) ? 1 : 0;
    EXPECT_EQ(flagged, starNameCount);
}

TEST(CatalogConstellations, RowsAreTheConstellationsWithSerpensTwice)
{
    std::set<std::string> abbrs;
    for (int32_t i = 0; i < constellationSearchCount; ++i) {
        EXPECT_TRUE(abbrs.insert(constellations[i].abbreviation).second) << constellations[i].abbreviation;
        EXPECT_NEAR(lengthQ14(constellations[i].point.x, constellations[i].point.y, constellations[i].point.z),
                    16384.0, 1.5);
    }
    EXPECT_STREQ(constellations[0].abbreviation, "And");
    EXPECT_STREQ(constellations[0].latinName, "Andromeda");
    EXPECT_STREQ(constellations[88].abbreviation, "Ser");
    EXPECT_STREQ(constellations[88].latinName, "Serpens");
    EXPECT_GE(constellationRow("Ser"), 0);
    EXPECT_LT(constellationRow("Ser"), 88);
    EXPECT_EQ(constellations[89].abbreviation, nullptr);
}

TEST(CatalogConstellations, StickFiguresStartWithPenUpAndJoinOrion)
{
    ASSERT_GT(constLineStarCount, 100);
    EXPECT_TRUE(constLineStars[0] & constLinePenUp);
    for (int32_t i = 0; i < constLineStarCount; ++i) {
        int32_t star = constLineStars[i] & ~constLinePenUp;
        EXPECT_GE(star, 0);
        EXPECT_LT(star, brightStarCount);
        if (constLineStars[i] & constLinePenUp) {
            ASSERT_LT(i + 1, constLineStarCount) << "polyline of one point at the end";
            EXPECT_FALSE(constLineStars[i + 1] & constLinePenUp) << "polyline of one point at " << i;
        }
    }
    // Betelgeuse and Rigel lie in one Orion polyline.
    int32_t betelgeuse = starNamed("Betelgeuse"), rigel = starNamed("Rigel");
    bool joined = false;
    for (int32_t start = 0; start < constLineStarCount && !joined;) {
        int32_t end = start + 1;
        while (end < constLineStarCount && !(constLineStars[end] & constLinePenUp))
            ++end;
        bool b = false, r = false;
        for (int32_t i = start; i < end; ++i) {
            int32_t star = constLineStars[i] & ~constLinePenUp;
            b = b || star == betelgeuse;
            r = r || star == rigel;
        }
        joined = b && r;
        start = end;
    }
    EXPECT_TRUE(joined);
}

TEST(CatalogConstellations, EveryBoundaryPolylineIsClosed)
{
    int32_t polylines = 0;
    int32_t start = -1;
    for (int32_t i = 0; i <= constBorderCount; ++i) {
        const ConstBorderPoint &p = constBorders[i];
        if (p.flag != 0 && start >= 0) {
            const Vec3Q14 &a = constBorders[start].point, &b = constBorders[i - 1].point;
            EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << "polyline at " << start;
            EXPECT_GE(i - start, 4) << "polyline at " << start;
        }
        if (p.flag < 0) {
            EXPECT_EQ(i, constBorderCount);
            break;
        }
        EXPECT_NEAR(lengthQ14(p.point.x, p.point.y, p.point.z), 16384.0, 1.5);
        if (p.flag > 0) {
            start = i;
            ++polylines;
        }
    }
    EXPECT_EQ(constBorders[0].flag, 1);
    EXPECT_LT(constBorders[constBorderCount].flag, 0);
    EXPECT_GE(polylines, 88);
}

// Winding number of the closed boundary polyline starting at record start
// around direction p, summed from the signed angles its arcs subtend at p.
// The angles alone cannot tell p from its antipode, so an outline whose
// centre lies in the other hemisphere counts as not holding p.
int windingAround(int32_t start, const double p[3])
{
    double centre = 0.0;
    for (int32_t i = start; i <= constBorderCount && (i == start || constBorders[i].flag == 0); ++i)
        centre += constBorders[i].point.x * p[0] + constBorders[i].point.y * p[1] + constBorders[i].point.z * p[2];
    if (centre <= 0.0)
        return 0;
    double total = 0.0, prev[3] = {0, 0, 0};
    bool first = true;
    for (int32_t i = start; i <= constBorderCount && (i == start || constBorders[i].flag == 0); ++i) {
        const Vec3Q14 &v = constBorders[i].point;
        double d[3] = {double(v.x), double(v.y), double(v.z)};
        double dot = d[0] * p[0] + d[1] * p[1] + d[2] * p[2];
        double t[3] = {d[0] - dot * p[0], d[1] - dot * p[1], d[2] - dot * p[2]}; // on the tangent plane
        if (!first) {
            double c[3] = {prev[1] * t[2] - prev[2] * t[1], prev[2] * t[0] - prev[0] * t[2],
                           prev[0] * t[1] - prev[1] * t[0]};
            double sinPart = c[0] * p[0] + c[1] * p[1] + c[2] * p[2];
            double cosPart = prev[0] * t[0] + prev[1] * t[1] + prev[2] * t[2];
            total += std::atan2(sinPart, cosPart);
        }
        std::memcpy(prev, t, sizeof prev);
        first = false;
    }
    return static_cast<int>(std::lround(total / (2.0 * M_PI)));
}

TEST(CatalogConstellations, BoundariesPartitionTheSkyAtJ2000)
{
    std::vector<int32_t> starts;
    for (int32_t i = 0; i < constBorderCount; ++i)
        if (constBorders[i].flag > 0)
            starts.push_back(i);
    auto containing = [&](int32_t star, std::vector<int32_t> *found) {
        const BrightStar &s = brightStars[star];
        double l = lengthQ14(s.x, s.y, s.z);
        double p[3] = {s.x / l, s.y / l, s.z / l};
        for (int32_t st : starts)
            if (windingAround(st, p) != 0)
                found->push_back(st);
    };
    // Each of the brightest stars lies inside exactly one outline, and it is
    // the outline of the constellation of the star's designation.
    for (int32_t star = 0; star < 300; ++star) {
        std::vector<int32_t> found;
        containing(star, &found);
        ASSERT_EQ(found.size(), 1u) << "star " << star;
        int32_t d = designationOf(star);
        if (d < 0 || !(designationEntries[d][0] >> 3 || designationEntries[d][2]))
            continue;
        int32_t cons = designationEntries[d][1] & 0x7F, outlined = constBorders[found[0]].flag - 1;
        if (outlined == 88)
            outlined = constellationRow("Ser"); // Serpens Cauda
        EXPECT_EQ(outlined, cons) << "star " << star << " in " << constellations[outlined].abbreviation;
    }
    // Betelgeuse and Rigel share Orion's outline; Vega lies in another.
    std::vector<int32_t> b, r, v;
    containing(starNamed("Betelgeuse"), &b);
    containing(starNamed("Rigel"), &r);
    containing(starNamed("Vega"), &v);
    ASSERT_EQ(b.size(), 1u);
    ASSERT_EQ(r.size(), 1u);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(b[0], r[0]);
    EXPECT_NE(b[0], v[0]);
    EXPECT_EQ(constBorders[b[0]].flag - 1, constellationRow("Ori"));
}

TEST(CatalogMilkyWay, SixOutlinesEachEndedByZero)
{
    int32_t outlines = 0, points = 0;
    for (int32_t i = 0; i < milkyWayPointCount; ++i) {
        const Vec3Q14 &v = milkyWayOutlines[i];
        if (v.x == 0 && v.y == 0 && v.z == 0) {
            EXPECT_GE(points, 2);
            ++outlines;
            points = 0;
        } else {
            EXPECT_NEAR(lengthQ14(v.x, v.y, v.z), 16384.0, 1.5);
            if (points > 0) {
                // Pieces joined wrongly would show as chords across the sky.
                const Vec3Q14 &p = milkyWayOutlines[i - 1];
                double u[3] = {p.x / 16384.0, p.y / 16384.0, p.z / 16384.0};
                EXPECT_LT(separationDeg(v, u), 3.0) << "point " << i;
            }
            ++points;
        }
    }
    EXPECT_EQ(outlines, milkyWayOutlineCount);
    EXPECT_EQ(points, 0) << "last outline not ended";
}

int32_t nebulaIndex(int32_t catalog, int32_t number)
{
    for (int32_t i = 0; i < nebulaCounts[catalog]; ++i) {
        int32_t k = nebulaFirst[catalog] + i;
        if ((nebulaRecords[k].number & nebulaNumberMask) == number)
            return k;
    }
    return -1;
}

TEST(CatalogNebulae, CountsFlagsAndMagnitudeOrder)
{
    const int32_t flags[3] = {nebulaFlagMessier, nebulaFlagNgc, nebulaFlagIc};
    EXPECT_EQ(nebulaFirst[1], 107);
    EXPECT_EQ(nebulaFirst[2], 7147);
    EXPECT_EQ(nebulaTotalCount, 10009);
    for (int32_t c = 0; c < nebulaCatalogCount; ++c) {
        std::set<int32_t> numbers;
        for (int32_t i = 0; i < nebulaCounts[c]; ++i) {
            int32_t k = nebulaFirst[c] + i;
            const NebulaRecord &r = nebulaRecords[k];
            EXPECT_TRUE(r.number & flags[c]) << k;
            EXPECT_TRUE(numbers.insert(r.number & nebulaNumberMask).second) << "duplicate number at " << k;
            EXPECT_LE(nebulaType(r), 5) << k;
            const Vec3Q14 &v = nebulaPositions[k];
            EXPECT_NEAR(lengthQ14(v.x, v.y, v.z), 16384.0, 1.5) << k;
            if (i > 0) {
                int32_t prev = nebulaMag10(nebulaRecords[k - 1]);
                EXPECT_LE(prev, nebulaMag10(r)) << "unknown magnitudes last, at " << k;
            }
        }
    }
}

TEST(CatalogNebulae, MessierObjectsCarryBothFlagsAndShareTheirPosition)
{
    struct Case {
        int32_t messier, catalog, number;
    } cases[] = {{31, 1, 224},  {33, 1, 598},  {42, 1, 1976}, {1, 1, 1952},  {13, 1, 6205}, {49, 1, 4472},
                 {61, 1, 4303}, {87, 1, 4486}, {76, 1, 650},  {97, 1, 3587}, {15, 1, 7078}, {25, 2, 4725}};
    for (const Case &c : cases) {
        int32_t m = nebulaIndex(0, c.messier), n = nebulaIndex(c.catalog, c.number);
        ASSERT_GE(m, 0) << "M" << c.messier;
        ASSERT_GE(n, 0) << c.number;
        EXPECT_TRUE(nebulaRecords[m].number & (c.catalog == 1 ? nebulaFlagNgc : nebulaFlagIc)) << "M" << c.messier;
        EXPECT_TRUE(nebulaRecords[n].number & nebulaFlagMessier) << c.number;
        EXPECT_EQ(nebulaPositions[m].x, nebulaPositions[n].x) << "M" << c.messier;
        EXPECT_EQ(nebulaPositions[m].y, nebulaPositions[n].y) << "M" << c.messier;
        EXPECT_EQ(nebulaPositions[m].z, nebulaPositions[n].z) << "M" << c.messier;
        // One object, one magnitude and one size (the NGC 4486 row was once
        // NGC 4486A, 0.13 degree from M87).
        EXPECT_EQ(nebulaMag10(nebulaRecords[m]), nebulaMag10(nebulaRecords[n])) << "M" << c.messier;
        EXPECT_EQ(nebulaRecords[m].size, nebulaRecords[n].size) << "M" << c.messier;
    }
    EXPECT_GE(nebulaIndex(2, 434), 0) << "IC 434";
    double u[3];
    unitVector(0.7123, 41.269, u);
    EXPECT_LT(separationDeg(nebulaPositions[nebulaIndex(0, 31)], u), 0.05);
    EXPECT_EQ(nebulaType(nebulaRecords[nebulaIndex(0, 31)]), nebulaGalaxy);
    EXPECT_EQ(nebulaType(nebulaRecords[nebulaIndex(0, 42)]), nebulaDiffuse);
    EXPECT_EQ(nebulaType(nebulaRecords[nebulaIndex(0, 13)]), nebulaGlobular);
}

// The info box names a Messier object's NGC or IC row by its place: every
// Messier object flagged with a second catalogue has a row there at the
// same place with the same magnitude and size.
TEST(CatalogNebulae, EveryMessierObjectsSecondRowIsTheSameObject)
{
    for (int32_t m = 0; m < nebulaCounts[0]; ++m) {
        const NebulaRecord &r = nebulaRecords[m];
        const int32_t catalog = (r.number & nebulaFlagNgc) ? 1 : (r.number & nebulaFlagIc) ? 2 : 0;
        if (!catalog)
            continue;
        bool found = false;
        for (int32_t i = 0; i < nebulaCounts[catalog] && !found; ++i) {
            const int32_t k = nebulaFirst[catalog] + i;
            const Vec3Q14 &a = nebulaPositions[m], &b = nebulaPositions[k];
            found = a.x == b.x && a.y == b.y && a.z == b.z && nebulaMag10(nebulaRecords[k]) == nebulaMag10(r) &&
                    nebulaRecords[k].size == r.size && (nebulaRecords[k].number & nebulaFlagMessier);
        }
        EXPECT_TRUE(found) << "M" << (r.number & nebulaNumberMask) << " has no matching "
                           << (catalog == 1 ? "NGC" : "IC") << " row";
    }
}

// Visual magnitudes of well-known objects from the SEDS Messier catalogue
// (H. Frommert and C. Kronberg, messier.seds.org). Blue or surface-brightness
// values taken for visual ones hid M49, M88, M91, M84, M76 and M97 at the
// default limit of 11.0 and made the globular clusters 2 magnitudes too faint.
TEST(CatalogNebulae, MagnitudesAreVisualOnesWithinAMagnitude)
{
    const struct {
        int32_t messier;
        double visual;
    } cases[] = {
        {1, 8.4},  {13, 5.8}, {15, 6.2}, {22, 5.1}, {27, 7.4}, {31, 3.4},  {42, 4.0},  {49, 8.4}, {57, 8.8},
        {61, 9.7}, {76, 10.1}, {81, 6.9}, {84, 9.1}, {87, 8.6}, {88, 9.6}, {91, 10.2}, {97, 9.9}, {104, 8.0},
    };
    for (const auto &c : cases) {
        const int32_t m = nebulaIndex(0, c.messier);
        ASSERT_GE(m, 0) << "M" << c.messier;
        EXPECT_NEAR(nebulaMag10(nebulaRecords[m]) / 10.0, c.visual, 1.0) << "M" << c.messier;
    }
}

TEST(CatalogSaoFile, MagicZonesAndRecordsAgree)
{
    std::string file = readFile(dataPath("tavik.sao"));
    ASSERT_GE(file.size(), 16u);
    EXPECT_EQ(file.compare(0, 16, saoMagic), 0);
    EXPECT_EQ(saoZones[0].offset, 16);
    EXPECT_EQ(static_cast<size_t>(saoZones[saoZoneCount].offset), file.size());
    EXPECT_EQ((file.size() - 16) % saoRecordSize, 0u);
    for (int32_t z = 0; z < saoZoneCount; ++z) {
        ASSERT_LE(saoZones[z].offset, saoZones[z + 1].offset);
        double u[3];
        unitVector(saoZones[z].raDeg / 15.0, saoZones[z].decDeg, u);
        int32_t lastMag = -100;
        for (int32_t off = saoZones[z].offset; off < saoZones[z + 1].offset; off += saoRecordSize) {
            int16_t xyz[3];
            uint16_t packed;
            std::memcpy(xyz, file.data() + off, 6);
            std::memcpy(&packed, file.data() + off + 6, 2);
            Vec3Q14 v = {xyz[0], xyz[1], xyz[2]};
            ASSERT_LE(separationDeg(v, u), saoZones[z].radiusDeg + 0.01) << "zone " << z << " offset " << off;
            int32_t mag = (packed >> 8) - 20;
            ASSERT_GE(mag, lastMag) << "zone " << z << " offset " << off;
            ASSERT_LE((packed >> 4) & 15, 9);
            lastMag = mag;
        }
    }
}

TEST(CatalogDataFiles, SiteListLinesAreWellFormedWithGreenwichFirst)
{
    std::string file = readFile(dataPath("tavik.obs"));
    ASSERT_EQ(file.size() % 71, 0u);
    size_t n = file.size() / 71;
    EXPECT_GT(n, 1000u);
    std::set<std::string> names;
    for (size_t i = 0; i < n; ++i) {
        const char *l = file.data() + 71 * i;
        ASSERT_TRUE(l[40] == ' ' && l[49] == ' ' && l[57] == ' ' && l[62] == ' ' && l[70] == '\n') << "line " << i;
        ASSERT_TRUE(l[48] == 'E' || l[48] == 'W') << i;
        ASSERT_TRUE(l[56] == 'N' || l[56] == 'S') << i;
        ASSERT_TRUE(l[63] == '+' || l[63] == '-') << i;
        std::string name(l, 40);
        name.erase(name.find_last_not_of(' ') + 1);
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_EQ(file.compare(0, 26, "Greenwich (United Kingdom)"), 0);
    EXPECT_NEAR(std::atof(file.c_str() + 50), 51.47, 0.01);
}

TEST(CatalogDataFiles, ElementLinesHaveTheFixedLayout)
{
    for (const char *name : {"comet.elm", "mp.elm"}) {
        std::string file = readFile(dataPath(name));
        ASSERT_FALSE(file.empty()) << name;
        ASSERT_EQ(file.size() % 205, 0u) << name;
        for (size_t off = 0; off < file.size(); off += 205) {
            const char *l = file.data() + off;
            ASSERT_EQ(l[204], '\n') << name << " at " << off;
            ASSERT_TRUE(l[0] == 'C' || l[0] == 'M') << name << " at " << off;
            int month = std::atoi(std::string(l + 55, 2).c_str());
            double day = std::atof(std::string(l + 57, 9).c_str());
            double e = std::atof(std::string(l + 67, 10).c_str());
            double q = std::atof(std::string(l + 78, 11).c_str());
            ASSERT_TRUE(month >= 1 && month <= 12) << name << " at " << off;
            ASSERT_TRUE(day >= 1.0 && day < 32.0) << name << " at " << off;
            ASSERT_GE(e, 0.0);
            ASSERT_GT(q, 0.0);
        }
    }
    // Halley: perihelion 1986 February 5.9 (Julian date 2446467.395).
    std::string comets = readFile(dataPath("comet.elm"));
    size_t at = comets.find("C 1P ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(comets.substr(at + 51, 6), "1986 2");
    EXPECT_NEAR(std::atof(comets.substr(at + 57, 9).c_str()), 5.9, 0.1);
    // Ceres: q = a (1 - e) and a perihelion within one orbit (4.6 years) of the 2022 epoch.
    std::string mp = readFile(dataPath("mp.elm"));
    ASSERT_EQ(mp.compare(0, 4, "M 1 "), 0);
    int year = std::atoi(mp.substr(51, 4).c_str());
    EXPECT_GE(year, 2020);
    EXPECT_LE(year, 2025);
}

TEST(CatalogDataFiles, NameFilesHaveOneLinePerRow)
{
    std::vector<std::string> cons = readLines(dataPath("consname.dat"));
    ASSERT_EQ(cons.size(), static_cast<size_t>(constellationCount));
    EXPECT_EQ(cons[0], "Andromeda");
    std::vector<std::string> stars = readLines(dataPath("starname.dat"));
    ASSERT_EQ(stars.size(), static_cast<size_t>(starNameCount));
    for (int32_t i = 0; i < starNameCount; ++i) {
        EXPECT_EQ(stars[i], starNames[i].builtinName);
        EXPECT_LT(stars[i].size(), 127u);
    }
}

TEST(CatalogDataFiles, UserObjectAndClickDataFilesKeepTheirLimits)
{
    for (const char *name : {"skymark.adf", "adf/sample.adf", "tavik.cdf"}) {
        std::vector<std::string> lines = readLines(dataPath(name));
        ASSERT_FALSE(lines.empty()) << name;
        for (const std::string &l : lines)
            EXPECT_LE(l.size(), 79u) << name << ": " << l;
    }
    // Every picture named in the click data exists and is a JPEG.
    for (const std::string &l : readLines(dataPath("tavik.cdf"))) {
        if (l.compare(0, 7, "@IMAGE ") != 0)
            continue;
        std::string file = l.substr(7, l.find(' ', 7) - 7);
        std::string jpg = readFile(dataPath(("image/" + file).c_str()));
        ASSERT_GT(jpg.size(), 100u) << file;
        EXPECT_EQ(static_cast<unsigned char>(jpg[0]), 0xFF) << file;
        EXPECT_EQ(static_cast<unsigned char>(jpg[1]), 0xD8) << file;
    }
}

} // namespace
