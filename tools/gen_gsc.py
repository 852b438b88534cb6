#!/usr/bin/python3
"""Guide Star Catalog region layout, region table and region files from kstars-data.

The catalogue's own region files are in no Debian package. This writes files in its
format from kstars-data's stars.dat (125,982 Hipparcos/Tycho stars to about magnitude 9,
the source of data/tavik.sao), Python standard library only:

    /usr/bin/python3 tools/gen_gsc.py table data/tavik.gsc
        the region table: 9,537 records of 56 bytes, little-endian: corners 0 to 3 going
        round the region (three int32 components of the unit vector times 16384 each), the
        large-region number (1 to 732) and the side n (1 to 4)
    /usr/bin/python3 tools/gen_gsc.py fixture tests/data/gsc
        TABLES/REGIONS.TBL and the region files under GSC/ that the test fields reach
        (FIELDS below), upper case, for the tests
    /usr/bin/python3 tools/gen_gsc.py tree DIR
        the whole-sky tree (TABLES/REGIONS.TBL and all 9,537 region files, about 110 MB)
        for a demo; never committed or installed

Layout: the 24 bands of 7.5 degrees (north first) and their 732 large regions (48, 47,
45, 43, 40, 36, 32, 27, 21, 15, 9, 3 per band from the equator to the pole, equal
widths in right ascension from 0h). Each large region is split n x n, n from its star
density: every large region starts at n = 1 and the densest per small region is split
further, until the small regions number exactly 9,537. They are numbered large region
by large region; inside one, row by row from its southern edge, each row by growing
right ascension.

Region files: three 2,880-byte header blocks (a FITS primary header and the header of
an ASCII-table extension), then one 45-character row per star: "%05d" number, right
ascension and declination "%9.5f" (J2000, degrees), position error "%5.1f", magnitude
"%5.2f" (characters 28-32), magnitude error "%4.2f", band "%2d", class "%1d", plate
"%4s", multiple flag "%1s"; blank rows pad the data to a multiple of 2,880 bytes.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_catalogues import read_stars_dat  # noqa: E402

STARS_DAT = "/usr/share/kstars/stars.dat"
COUNTS = [48, 47, 45, 43, 40, 36, 32, 27, 21, 15, 9, 3]
DIRS = ["N0000", "N0730", "N1500", "N2230", "N3000", "N3730", "N4500", "N5230", "N6000", "N6730", "N7500",
        "N8230", "S0000", "S0730", "S1500", "S2230", "S3000", "S3730", "S4500", "S5230", "S6000", "S6730",
        "S7500", "S8230"]
SMALL_REGIONS = 9537
BLOCK = 2880
ROW = 45

# The test fields (right ascension, declination, degrees): a fixture holds every region
# whose area comes within FIELD_REACH_DEG of one of them.
FIELDS = [
    ("the Pleiades", 56.75, 24.12),
    ("across 0h", 0.02, 10.0),
    ("+84", 30.0, 84.0),
    ("-84", 200.0, -84.0),
    ("the north pole", 0.0, 89.9),
    ("just below +82.5", 45.0, 81.81),
]
FIELD_REACH_DEG = 3.0


def bands():
    """(band, dec low, dec high, large-region count) north first, then south."""
    out = []
    for b in range(24):
        i = b % 12
        lo, hi = (7.5 * i, 7.5 * (i + 1)) if b < 12 else (-7.5 * (i + 1), -7.5 * i)
        out.append((b, lo, hi, COUNTS[i]))
    return out


def large_regions():
    """Large regions in order: (band, ra0, ra1, dec0, dec1)."""
    out = []
    for b, lo, hi, count in bands():
        w = 360.0 / count
        for j in range(count):
            out.append((b, j * w, (j + 1) * w, lo, hi))
    return out


def large_of(large, ra, dec):
    """Index of the large region holding (ra, dec): bands are found by declination."""
    i = min(int(abs(dec) / 7.5), 11)
    b = i if dec >= 0 else 12 + i
    first = sum(COUNTS[:b % 12]) + (0 if b < 12 else 366)
    j = min(int(ra / (360.0 / COUNTS[b % 12])), COUNTS[b % 12] - 1)
    return first + j


def choose_sides(large, stars):
    counts = [0] * len(large)
    for s in stars:
        counts[large_of(large, s["ra"], s["dec"])] += 1
    side = [1] * len(large)
    total = len(large)

    def density(k):
        return counts[k] / side[k] ** 2

    # Split the densest (stars per small region) until one more split would overshoot.
    while True:
        cands = [k for k in range(len(large)) if side[k] < 4 and total + 2 * side[k] + 1 <= SMALL_REGIONS]
        if not cands:
            break
        k = max(cands, key=lambda k: (density(k), -k))
        total += 2 * side[k] + 1
        side[k] += 1
    # What is left (under 3) is met by moving one split: undo the sparsest split of
    # cost c and make the densest possible split of cost c + left.
    left = SMALL_REGIONS - total
    if left:
        for c_undo in (3, 5, 7):
            undo = [k for k in range(len(large)) if side[k] >= 2 and 2 * (side[k] - 1) + 1 == c_undo]
            redo = [k for k in range(len(large)) if side[k] < 4 and 2 * side[k] + 1 == c_undo + left]
            if undo and redo:
                u = min(undo, key=lambda k: (counts[k] / (side[k] - 1) ** 2, k))
                r = max((k for k in redo if k != u), key=lambda k: (density(k), -k))
                side[u] -= 1
                side[r] += 1
                left = 0
                break
    assert left == 0 and sum(n * n for n in side) == SMALL_REGIONS, (left, sum(n * n for n in side))
    return side


def small_regions(large, side):
    """(number, large index, side, band, ra0, ra1, dec0, dec1), numbers from 1."""
    out = []
    number = 1
    for k, (b, ra0, ra1, dec0, dec1) in enumerate(large):
        n = side[k]
        for d in range(n):
            for a in range(n):
                out.append((number, k, n, b, ra0 + a * (ra1 - ra0) / n, ra0 + (a + 1) * (ra1 - ra0) / n,
                            dec0 + d * (dec1 - dec0) / n, dec0 + (d + 1) * (dec1 - dec0) / n))
                number += 1
    return out


def q14(ra, dec):
    r, d = math.radians(ra), math.radians(dec)
    return (round(math.cos(d) * math.cos(r) * 16384), round(math.cos(d) * math.sin(r) * 16384),
            round(math.sin(d) * 16384))


def table_bytes(regions):
    out = bytearray()
    for number, k, n, b, ra0, ra1, dec0, dec1 in regions:
        for ra, dec in ((ra0, dec0), (ra1, dec0), (ra1, dec1), (ra0, dec1)):
            out += struct.pack("<3i", *q14(ra, dec))
        out += struct.pack("<2i", k + 1, n)
    assert len(out) == SMALL_REGIONS * 56
    return bytes(out)


def region_of(regions, side, large, ra, dec):
    k = large_of(large, ra, dec)
    first = sum(n * n for n in side[:k])
    b, ra0, ra1, dec0, dec1 = large[k]
    n = side[k]
    a = min(int((ra - ra0) / ((ra1 - ra0) / n)), n - 1)
    d = min(max(int((dec - dec0) / ((dec1 - dec0) / n)), 0), n - 1)
    return regions[first + d * n + a]


def card(text):
    return text.ljust(80)[:80]


def header(nrows, columns, extname):
    primary = [card("SIMPLE  =                    T"), card("BITPIX  =                    8"),
               card("NAXIS   =                    0"), card("EXTEND  =                    T"), card("END")]
    ext = [card("XTENSION= 'TABLE   '"), card("BITPIX  =                    8"), card("NAXIS   =                    2"),
           card(f"NAXIS1  = {ROW:20d}"), card(f"NAXIS2  = {nrows:20d}"), card("PCOUNT  =                    0"),
           card("GCOUNT  =                    1"), card(f"TFIELDS = {len(columns):20d}")]
    for i, (name, col, form) in enumerate(columns, 1):
        ext += [card(f"TTYPE{i:<3d}= '{name:<8s}'"), card(f"TBCOL{i:<3d}= {col:20d}"),
                card(f"TFORM{i:<3d}= '{form:<8s}'")]
    ext += [card(f"EXTNAME = '{extname}'"), card("END")]
    p = "".join(primary).ljust(BLOCK)
    e = "".join(ext).ljust(2 * BLOCK)
    assert len(p) + len(e) == 3 * BLOCK
    return (p + e).encode("ascii")


STAR_COLUMNS = [("GSC_ID", 1, "I5"), ("RA_DEG", 6, "F9.5"), ("DEC_DEG", 15, "F9.5"), ("POS_ERR", 24, "F5.1"),
                ("MAG", 29, "F5.2"), ("MAG_ERR", 34, "F4.2"), ("MAG_BAND", 38, "I2"), ("CLASS", 40, "I1"),
                ("PLATE_ID", 41, "A4"), ("MULTIPLE", 45, "A1")]
REGION_COLUMNS = [("REG_NO", 1, "I5"), ("RA_LO", 6, "F9.5"), ("RA_HI", 15, "F9.5"), ("DEC_LO", 24, "F9.5"),
                  ("DEC_HI", 33, "F9.5"), ("DIR", 42, "A4")]


def padded(rows):
    data = "".join(rows)
    data += " " * (-len(data) % BLOCK)
    return data.encode("ascii")


def star_row(number, s, band):
    mag = min(max(s["mag"], -9.99), 99.99)
    text = (f"{number:05d}{s['ra']:9.5f}{s['dec']:9.5f}{0.2:5.1f}{mag:5.2f}{0.20:4.2f}{band % 100:2d}"
            f"{0:1d}{'KSTR':4s}{'F':1s}")
    assert len(text) == ROW, text
    return text


def region_file(rows, band):
    return header(len(rows), STAR_COLUMNS, "GSC_REGION") + padded(star_row(i + 1, s, band) for i, s in
                                                                   enumerate(rows))


def regions_tbl(regions):
    rows = [f"{r[0]:05d}{r[4]:9.5f}{r[5]:9.5f}{r[6]:9.5f}{r[7]:9.5f}{DIRS[r[3]][1:]:4s}".ljust(ROW)
            for r in regions]
    return header(len(rows), REGION_COLUMNS, "REGIONS") + padded(rows)


def reaches(r, fields):
    """Whether a region's area comes within FIELD_REACH_DEG of a field centre."""
    for _, fra, fdec in fields:
        for i in range(11):
            for j in range(11):
                ra = r[4] + (r[5] - r[4]) * i / 10
                dec = r[6] + (r[7] - r[6]) * j / 10
                c = (math.sin(math.radians(dec)) * math.sin(math.radians(fdec)) +
                     math.cos(math.radians(dec)) * math.cos(math.radians(fdec)) * math.cos(math.radians(ra - fra)))
                if math.degrees(math.acos(max(-1.0, min(1.0, c)))) <= FIELD_REACH_DEG:
                    return True
    return False


def write_tree(root, regions, side, large, stars, only=None):
    by_region = {}
    for s in stars:
        r = region_of(regions, side, large, s["ra"], s["dec"])
        by_region.setdefault(r[0], []).append(s)
    os.makedirs(os.path.join(root, "TABLES"), exist_ok=True)
    with open(os.path.join(root, "TABLES", "REGIONS.TBL"), "wb") as f:
        f.write(regions_tbl(regions))
    written = 0
    for r in regions:
        if only is not None and r[0] not in only:
            continue
        d = os.path.join(root, "GSC", DIRS[r[3]])
        os.makedirs(d, exist_ok=True)
        rows = sorted(by_region.get(r[0], []), key=lambda s: (s["mag"], s["ra"], s["dec"]))
        with open(os.path.join(d, f"{r[0]:04d}.GSC"), "wb") as f:
            f.write(region_file(rows, r[3]))
        written += 1
    return written


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("table", "fixture", "tree"):
        sys.exit(__doc__)
    what, target = sys.argv[1], sys.argv[2]
    stars = read_stars_dat(STARS_DAT)
    for s in stars:
        s["ra"] %= 360.0
    large = large_regions()
    side = choose_sides(large, stars)
    regions = small_regions(large, side)
    if what == "table":
        with open(target, "wb") as f:
            f.write(table_bytes(regions))
        print(f"{target}: {SMALL_REGIONS} regions, sides " +
              ", ".join(f"{n}: {side.count(n)}" for n in (1, 2, 3, 4)))
    else:
        only = {r[0] for r in regions if reaches(r, FIELDS)} if what == "fixture" else None
        n = write_tree(target, regions, side, large, stars, only)
        print(f"{target}: {n} region files, {len(stars)} stars in the catalogue")


if __name__ == "__main__":
    main()
