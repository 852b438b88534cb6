#!/usr/bin/python3
"""Expected places of bright stars, the Moon and the planets on the real program's charts.

Run once by hand (CI has no Python):
    /usr/bin/python3 tools/sky_truth.py > tests/x/sky_truth_table.h

For each case (a moment, a site, a chart mode and its view) this computes where the
chart should draw each object, independently of the program's code:
- stars: the J2000 unit vectors of the built-in bright-star table (resources/catalog_stars.cpp,
  the program's input data), every row not fainter than magnitude 2.0 (the 40 brightest
  and the few more that still draw the large symbols);
- the Moon (topocentric) and the planets Mercury to Saturn (geocentric) from python3-ephem,
  as astrometric J2000 places;
- the frame of the date from python3-erfa: the IAU 2006 precession matrix (pmat06) and
  Greenwich mean sidereal time (gmst06), UT1 taken as UTC and TT as UTC + 69.184 s;
  no nutation, aberration or refraction, since the chart draws mean places of the date
  against the local mean sidereal time;
- horizontal coordinates from the hour angle with the spherical-astronomy formulas, the
  azimuth counted from the south through the west;
- the chart's view frame (x to the projection centre, y to the chart's left, z up) built
  from the centre's direction, and the projections: azimuthal equidistant (HRZ, EQT, the
  planisphere) and Aitoff (ALL2), with the chart geometry (projection centre, pixel
  scales, the fixed-point path's integer scale and its one-pixel bias for stars).
Stars and planets within about 5.4 degrees of the horizon are dimmed in the horizontal
charts (two magnitudes on the horizon); the table says which objects draw a large symbol
(3 x 3 pixels or more), which the check finds by colour.

The objects are a list (OBJECTS below) so that later checks add rows: catalogue-file
stars, comets, GSC stars, deep-sky objects.
"""
import math
import re
import sys
import time

import erfa
import ephem
import numpy

SOURCE = "resources/catalog_stars.cpp"

# Chart rectangle, pixels: the test sizes the drawing area so that the chart below the
# status bar is exactly this, and pins the direction-label font to this height.
WIDTH, HEIGHT, DIR_FONT_HEIGHT = 1024, 768, 13
FIELD_DEG = 120.0
STAR_MAG_LIMIT = 2.0  # stars to this magnitude draw 3 x 3 symbols or larger at limit 6.0

# Sites of data/tavik.obs: name, latitude, east longitude (degrees), height (m), zone (h).
SITES = {
    "Greenwich (United Kingdom)": (51.468, 0.0, 39.0, 0.0),
    "Cape Town (South Africa)": (-33.800, 18.467, 41.0, 2.0),
}

HRZ, EQT, ALL2_EQT, PLNS = 257, 260, 1028, 2049

# The start-up chart faces south with its view locked: the horizon lies on the projection
# centre's row, one direction-label line above the bottom, so the view centre in the middle
# of the window stands that far above the horizon. MODE keeps that sky point at the centre,
# read in the new mode's own system (START_CENTRE below).
START_CENTRE = None

# name, UTC (y, m, d, h, min), site, mode, view centre (HRZ and the planisphere: azimuth
# from the south, altitude; EQT and ALL2: right ascension and declination of the date), and
# the MODE command that turns the start-up chart (HRZ facing south) into this one ("" for
# none, None while no command can make the chart). The table's command text puts the site
# (LOCATE) and the local date and time (DATE) before it.
CASES = [
    ("GreenwichJanuaryNight", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", HRZ, (0.0, 0.0), ""),
    ("GreenwichAnHourLater", (2024, 1, 25, 23, 0), "Greenwich (United Kingdom)", HRZ, (0.0, 0.0), ""),
    ("CapeTownJanuaryNight", (2024, 1, 25, 21, 0), "Cape Town (South Africa)", HRZ, (0.0, 0.0), ""),
    # In January the full Moon and the planets stand too high or too far west for the
    # default chart; in September the full Moon and Saturn are low in the south.
    ("GreenwichFullMoonWithSaturn", (2024, 9, 17, 22, 0), "Greenwich (United Kingdom)", HRZ, (0.0, 0.0), ""),
    ("EquatorialFromTheStartChart", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", EQT, START_CENTRE,
     "MODE EQT"),
    ("AitoffFromTheStartChart", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", ALL2_EQT, START_CENTRE,
     "MODE ALL2_EQT"),
    ("PlanisphereGreenwich", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", PLNS, (0.0, 0.0), "MODE PLNS"),
    # Centred on Orion's belt: needs a command that moves the view centre.
    ("EquatorialOnOrion", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", EQT, (84.0, 0.0), None),
    ("AitoffOnOrion", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", ALL2_EQT, (84.0, 0.0), None),
]

# Kinds as the test knows them.
STAR, MOON, PLANET, SUN = 0, 1, 2, 3

# Body objects: name, kind, ephem class. Stars are added from the table below.
BODIES = [
    ("Sun", SUN, ephem.Sun),
    ("Moon", MOON, ephem.Moon),
    ("Mercury", PLANET, ephem.Mercury),
    ("Venus", PLANET, ephem.Venus),
    ("Mars", PLANET, ephem.Mars),
    ("Jupiter", PLANET, ephem.Jupiter),
    ("Saturn", PLANET, ephem.Saturn),
]


def read_star_rows():
    text = open(SOURCE).read()
    rows = re.findall(r"\{(-?\d+),(-?\d+),(-?\d+),0x([0-9A-Fa-f]+)u\}", text)
    out = []
    for i, (x, y, z, packed) in enumerate(rows):
        mag10 = (int(packed, 16) >> 8) - 20
        if mag10 > STAR_MAG_LIMIT * 10:
            break
        v = numpy.array([int(x), int(y), int(z)], dtype=float) / 16384.0
        out.append((f"star {i}", STAR, i, v / numpy.linalg.norm(v), mag10))
    return out


def unit(ra, dec):
    return numpy.array([math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec)])


def body_j2000(cls, when, site):
    """Astrometric J2000 unit vector; the Moon seen from the site, planets from the centre."""
    lat, lon, height, _ = site
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation = str(lat), str(lon), height
    obs.pressure = 0
    obs.date = ephem.Date(when)
    obs.epoch = ephem.J2000
    b = cls()
    if cls is ephem.Moon:
        b.compute(obs)
        # a_ra/a_dec are geocentric; the parallax is the apparent topocentric place
        # minus the apparent geocentric one (a fraction of a degree, so adding it in
        # the J2000 frame is good to a few thousandths of a degree).
        ra = float(b.a_ra) + (float(b.ra) - float(b.g_ra))
        dec = float(b.a_dec) + (float(b.dec) - float(b.g_dec))
    else:
        b.compute(ephem.Date(when), epoch=ephem.J2000)
        ra, dec = float(b.a_ra), float(b.a_dec)
    return unit(ra, dec), float(b.mag)


def date_frame(when, site):
    """J2000 -> mean equator of date, and the local mean sidereal time (radians)."""
    y, mo, d, h, mi = when
    utc1, utc2 = erfa.dtf2d("UTC", y, mo, d, h, mi, 0.0)
    tt1, tt2 = erfa.utctai(utc1, utc2)
    tt1, tt2 = erfa.taitt(tt1, tt2)
    return erfa.pmat06(tt1, tt2), erfa.gmst06(utc1, utc2, tt1, tt2) + math.radians(site[1])


def horizon_vector(v_date, lst, lat):
    """Horizon frame: x to the south point, y to the east point, z to the zenith."""
    ra = math.atan2(v_date[1], v_date[0])
    dec = math.asin(max(-1.0, min(1.0, v_date[2])))
    H = lst - ra
    phi = math.radians(lat)
    south = math.cos(H) * math.cos(dec) * math.sin(phi) - math.sin(dec) * math.cos(phi)
    west = math.cos(dec) * math.sin(H)
    up = math.sin(phi) * math.sin(dec) + math.cos(phi) * math.cos(dec) * math.cos(H)
    return numpy.array([south, -west, up])


def view_axes(a, b):
    """Rows of the view frame around the direction at longitude a, latitude b (radians):
    x to that direction, y along growing longitude (the chart's left), z = x cross y (up).
    In the horizon frame the longitude is minus the azimuth (east of south is to the left
    of a chart facing south); on the sky it is the right ascension (east is left)."""
    x = numpy.array([math.cos(b) * math.cos(a), math.cos(b) * math.sin(a), math.sin(b)])
    y = numpy.array([-math.sin(a), math.cos(a), 0.0])
    z = numpy.cross(x, y)
    return numpy.array([x, y, z])


def geometry(mode, field_deg=FIELD_DEG):
    """Projection centre, scales (double, fixed point) and horizontal-chart centre altitude."""
    W, H, d = WIDTH, HEIGHT, DIR_FONT_HEIGHT
    if mode in (HRZ, EQT):
        ppr = W / math.radians(field_deg)
        pprY = ppr
    elif mode == ALL2_EQT:
        ppr, pprY = W / math.pi, W / (2 * math.pi)
    else:  # planisphere
        ppr = (min(W, H) - 2 * d) / math.pi
        pprY = ppr
    cx = W // 2
    cy = H - d if mode == HRZ else H // 2
    return cx, cy, ppr, pprY


def project(view, mode, cx, cy, ppr, pprY, fixed):
    """Screen point (floating) of a view-frame vector; fixed = the Q14 path (integer
    scales, +1 bias), else the double path used for the bodies."""
    fx, fy, fz = view
    if mode == ALL2_EQT:
        lon = math.atan2(fy, fx)
        lat = math.asin(max(-1.0, min(1.0, fz)))
        A = math.acos(math.cos(lat) * math.cos(lon / 2))
        s = math.sin(A) if A > 0 else 1.0
        X = 2 * A * math.cos(lat) * math.sin(lon / 2) / s  # map units, radians
        Y = A * math.sin(lat) / s
        # the map is scaleX / 2 per unit of X, scaleY per unit of Y
        return cx - X * int(ppr) / 2.0, cy - Y * int(pprY)
    c = max(-1.0, min(1.0, fx))
    g = 1.0 if c >= 1.0 else math.acos(c) / math.sqrt(1.0 - c * c)
    if fixed:
        return cx - (g * fy * int(ppr) + 1), cy - (g * fz * int(pprY) + 1)
    return cx - math.trunc(g * fy * ppr), cy - math.trunc(g * fz * pprY)


def symbol_class(mag10, limit10):
    c = int((limit10 - mag10 + 10) / 10)
    return max(c, 1)


def dimmed(mag10, depth_q14):
    """The horizontal charts' horizon dimming (a star near the horizon is fainter)."""
    if depth_q14 <= 1535:
        return mag10 + 20 - int(depth_q14 / 77)
    return mag10


def run_case(case, objects, limit10=None, field_deg=FIELD_DEG):
    """limit10: the chart's fixed star limit (x10); None for the automatic one. From 80
    pixels a degree the azimuthal charts project stars in doubles too."""
    name, when, site_name, mode, centre, _ = case
    site = SITES[site_name]
    lat = site[0]
    P, lst = date_frame(when, site)
    field_h = FIELD_DEG * HEIGHT / WIDTH
    start_alt = (HEIGHT - DIR_FONT_HEIGHT - HEIGHT // 2) * field_h / HEIGHT
    if centre is START_CENTRE:
        # On the meridian (hour angle 0), start_alt above the south point.
        centre = (math.degrees(lst) % 360.0, lat - 90.0 + start_alt)
    cx, cy, ppr, pprY = geometry(mode, field_deg)
    stars_fixed = WIDTH / field_deg < 80.0 or mode not in (HRZ, EQT)
    if mode == HRZ:
        # The locked view puts the horizon on the projection centre (altitude 0 there).
        axes = view_axes(-math.radians(centre[0]), 0.0)
    elif mode == PLNS:
        axes = view_axes(-math.radians(centre[0]), math.radians(90.0))
    else:
        lat_c = 0.0 if mode == ALL2_EQT else centre[1]
        axes = view_axes(math.radians(centre[0]), math.radians(lat_c))
    sun = ephem.Sun()
    obs = ephem.Observer()
    obs.lat, obs.lon, obs.elevation, obs.pressure = str(lat), str(site[1]), site[2], 0
    obs.date = ephem.Date(when)
    sun.compute(obs)
    sun_alt = math.degrees(float(sun.alt))
    assert sun_alt < -18.0, f"{name}: the sky is not dark (Sun at {sun_alt:.1f})"
    if limit10 is None:
        limit10 = 60 if mode in (HRZ, EQT) else 45  # automatic limit at 120 degrees, dark sky
    rows = []
    for label, kind, index, v_j2000, mag10 in objects(when, site):
        v_date = P @ v_j2000
        hrz = horizon_vector(v_date, lst, lat)
        alt = math.degrees(math.asin(max(-1.0, min(1.0, hrz[2]))))
        view = axes @ (hrz if mode in (HRZ, PLNS) else v_date)
        if mode in (HRZ, PLNS) and alt < 0.0:
            continue  # below the horizon: never drawn
        # Stars go through the fixed-point projection; bodies through the double one in
        # the sky charts and through the fixed-point one in the maps and the planisphere.
        fixed = (kind == STAR and stars_fixed) or mode in (ALL2_EQT, PLNS)
        x, y = project(view, mode, cx, cy, ppr, pprY, fixed)
        if mode == PLNS and math.hypot(x - cx, y - cy) > int(min(WIDTH, HEIGHT) * 0.5) - 12 * DIR_FONT_HEIGHT // 10 - 3:
            continue  # under the planisphere's mask
        if not (3 <= x <= WIDTH - 4 and 3 <= y <= HEIGHT - 4):
            continue
        big = 1
        if kind not in (MOON, SUN):
            m = mag10
            if mode in (HRZ, PLNS):
                m = dimmed(mag10, int(16384 * hrz[2]))
            big = 1 if symbol_class(m, limit10) >= 5 else 0
        rows.append((label, kind, index, x, y, alt, big))
    return rows, sun_alt, limit10, centre


def site_and_date_command(secs, site):
    """LOCATE with the site (east longitude and north latitude written with their letters,
    since a leading sign means a step), then DATE with the local time and zone."""
    lat, lon, height, zone = site
    local = time.gmtime(secs + zone * 3600)
    return (f"LOCATE {abs(lon):.3f}{'W' if lon < 0 else 'E'} {abs(lat):.3f}{'S' if lat < 0 else 'N'} "
            f"{zone:g} {height:g};DATE {local.tm_year} {local.tm_mon} {local.tm_mday} {local.tm_hour} "
            f"{local.tm_min} 0 {zone:g}")


def all_objects(stars):
    def objects(when, site):
        for row in stars:
            yield row
        for label, kind, cls in BODIES:
            v, mag = body_j2000(cls, when, site)
            yield (label, kind, -1, v, int(math.floor(10 * mag + 0.5)))
    return objects


def write_case(out, case, rows, sun_alt, limit10, centre):
    """Writes a case's rows; returns its line of the case table."""
    import calendar
    name, when, site_name, mode, _, command = case
    out.write(f"// {name}: {when[0]:04d}-{when[1]:02d}-{when[2]:02d} {when[3]:02d}:{when[4]:02d} UTC, "
              f"{site_name}, mode {mode}, centre {centre[0]:.4f} {centre[1]:.4f}; Sun at {sun_alt:.1f} degrees\n")
    out.write(f"const SkyTruthObject k{name}[] = {{\n")
    for label, kind, index, x, y, alt, big in rows:
        out.write(f'    {{"{label}", {kind}, {index}, {x:.2f}, {y:.2f}, {alt:.2f}, {big}}},\n')
    out.write("};\n\n")
    secs = calendar.timegm(tuple(when) + (0,))
    site = SITES[site_name]
    text = "" if command is None else site_and_date_command(secs, site) + (";" + command if command else "")
    return (f'    {{"{name}", {secs}, "{site_name}", {site[3]:.1f}, {mode}, {{{centre[0]:.4f}, {centre[1]:.4f}}}, '
            f'"{text}", {sun_alt:.2f}, {limit10}, k{name}, {len(rows)}}},')


def main():
    stars = read_star_rows()
    objects = all_objects(stars)
    out = sys.stdout
    out.write("// Generated by tools/sky_truth.py; do not edit. Expected pixel centres on the real\n")
    out.write("// program's charts, computed independently of its code (see the tool's notes).\n")
    out.write(f"// Sources: python3-erfa {erfa.__version__} (ERFA {erfa.version.erfa_version}), "
              f"python3-ephem {ephem.__version__}, numpy {numpy.__version__};\n")
    out.write(f"// stars: {len(stars)} rows of {SOURCE} to magnitude {STAR_MAG_LIMIT}.\n")
    out.write(f"// Chart {WIDTH} x {HEIGHT} pixels below the status bar, direction font {DIR_FONT_HEIGHT} "
              f"pixels high, field {FIELD_DEG:g} degrees.\n")
    out.write("#pragma once\n\n#include <cstdint>\n\n")
    out.write("struct SkyTruthObject {\n    const char *name;\n    int kind;        // 0 star, 1 Moon, 2 planet, 3 Sun\n"
              "    int starRow;     // row of the bright-star table, -1 for bodies and catalogue-file stars\n"
              "    double x, y;     // expected centre, chart pixels\n    double altitudeDeg;\n"
              "    int bigSymbol;   // 1: drawn 3 x 3 pixels or larger (or a disc)\n};\n\n")
    out.write("struct SkyTruthCase {\n    const char *name;\n    int64_t clockSeconds; // UTC, seconds since 1970\n"
              "    const char *site;\n    double zoneHours;\n    int mode;\n    double centre[2];\n"
              "    const char *command;  // turns the start-up chart into this one; empty: none can yet\n"
              "    double sunAltitudeDeg;\n    int starLimit10;\n    const SkyTruthObject *objects;\n    int count;\n};\n\n")
    out.write(f"constexpr int kSkyTruthWidth = {WIDTH}, kSkyTruthHeight = {HEIGHT}, "
              f"kSkyTruthDirFontHeight = {DIR_FONT_HEIGHT};\n\n")
    heads = [write_case(out, case, *run_case(case, objects)) for case in CASES]
    out.write("const SkyTruthCase kSkyTruthCases[] = {\n" + "\n".join(heads) + "\n};\n")
    write_catalogue_file_cases(out, all_objects([]))
    write_gsc_cases(out, all_objects([]))
    write_deep_sky(out)


# ------------------------------------------------------------ catalogue-file stars
# The stars of the catalogue file (data/tavik.sao, made from kstars-data's stars.dat by
# tools/gen_catalogues.py) are placed here from stars.dat's own J2000 positions, not from
# data/tavik.sao. The chart is the equatorial one of the start chart at MAG STAR 8.5: a
# star of magnitude 6.6 to 7.5 then draws one pixel of its star colour. The rows are a
# few such stars with no other star to 8.5 within 0.6 degree (5 pixels, so the pixel
# found is theirs), every star that draws a large symbol (to 4.5; those within 0.06
# magnitude of the class edge may draw either, and those with another such star within
# 0.6 degree run together: rows that need only a symbol), and the bodies.
STARS_DAT = "/usr/share/kstars/stars.dat"
CATALOGUE_LIMIT10 = 85
CATALOGUE_FAINT = (6.6, 7.5)
CATALOGUE_ISOLATION_DEG = 0.6
CATALOGUE_PICKS = (4, 2)  # faint stars: one in each cell of a 4 x 2 grid over the chart
CATALOGUE_CASES = [
    ("CatalogueFileEquatorial", (2024, 1, 26, 4, 0), "Greenwich (United Kingdom)", EQT, START_CENTRE,
     f"MODE EQT;STARDATA SAO;MAG STAR {CATALOGUE_LIMIT10 / 10:.1f}"),
]


def read_catalogue_source():
    from gen_catalogues import read_stars_dat
    stars = read_stars_dat(STARS_DAT)
    return [(math.radians(s["ra"]), math.radians(s["dec"]), s["mag"]) for s in stars]


def catalogue_file_rows(case, bodies, stars):
    near_limit = [s for s in stars if s[2] * 10 <= CATALOGUE_LIMIT10 + 0.5]
    vectors = numpy.array([unit(ra, dec) for ra, dec, _ in near_limit])
    cos_iso = math.cos(math.radians(CATALOGUE_ISOLATION_DEG))

    def isolated(v):
        return int(numpy.count_nonzero(vectors @ v > cos_iso)) == 1  # itself alone

    big = [(f"bright {i}", STAR, -1, unit(ra, dec), int(math.floor(10 * mag + 0.5)), mag)
           for i, (ra, dec, mag) in enumerate(stars) if mag <= 4.56]
    faint = [(f"faint {i}", STAR, -1, unit(ra, dec), int(math.floor(10 * mag + 0.5)), mag)
             for i, (ra, dec, mag) in enumerate(stars) if CATALOGUE_FAINT[0] <= mag <= CATALOGUE_FAINT[1]]
    mags = {row[0]: row[5] for row in big + faint}

    def objects(when, site):
        for row in big + faint:
            yield row[:5]
        yield from bodies(when, site)

    rows, sun_alt, limit10, centre = run_case(case, objects, CATALOGUE_LIMIT10)
    by_label = {row[0]: row for row in big + faint}
    body_rows = [r for r in rows if r[1] != STAR]
    out = [r for r in rows if r[0].startswith("bright")]
    # A star within 0.06 magnitude of the large symbols' edge may be drawn either way; two
    # large symbols within 0.6 degree (5 pixels) run together: rows that need only a symbol.
    big_vectors = numpy.array([row[3] for row in big])
    cos_pair = math.cos(math.radians(CATALOGUE_ISOLATION_DEG))

    def paired(label):
        return int(numpy.count_nonzero(big_vectors @ by_label[label][3] > cos_pair)) > 1

    out = [r if abs(10 * mags[r[0]] - 45.5) > 0.6 and not paired(r[0]) else r[:6] + (0,) for r in out]
    cells = {}
    for r in rows:
        if not r[0].startswith("faint"):
            continue
        x, y = r[3], r[4]
        if not (20 <= x <= WIDTH - 21 and 20 <= y <= HEIGHT - 21):
            continue
        if any(math.hypot(x - b[3], y - b[4]) < 40 for b in body_rows):
            continue
        cell = (int(x * CATALOGUE_PICKS[0] / WIDTH), int(y * CATALOGUE_PICKS[1] / HEIGHT))
        if cell in cells or not isolated(by_label[r[0]][3]):
            continue
        cells[cell] = r
    out += [cells[k] for k in sorted(cells)]
    out += body_rows
    return out, sun_alt, limit10, centre


def write_catalogue_file_cases(out, bodies):
    stars = read_catalogue_source()
    out.write(f"\n// Catalogue-file stars: {len(stars)} stars of {STARS_DAT} (kstars-data), the source of\n"
              f"// data/tavik.sao, at their J2000 positions; MAG STAR {CATALOGUE_LIMIT10 / 10:.1f}.\n")
    heads = [write_case(out, case, *catalogue_file_rows(case, bodies, stars)) for case in CATALOGUE_CASES]
    out.write("const SkyTruthCase kSkyTruthCatalogueFileCases[] = {\n" + "\n".join(heads) + "\n};\n")


# ------------------------------------------------------------ Guide Star Catalog stars
# The committed region files of the test fields (tests/data/gsc, written by
# tools/gen_gsc.py) drawn by "STARDATA GSC" on a 2-degree equatorial chart centred by
# LOOK on the Pleiades at MAG STAR 9.5; the places from the rows' own J2000 columns. At
# 512 pixels a degree the chart projects in doubles. Rows: every star of the field to 8.5
# (fainter ones take the faint-star colour) that has no other such star within 6 pixels,
# and the bodies.
GSC_TREE = "tests/data/gsc"
GSC_LIMIT10 = 95
GSC_FIELD_DEG = 2.0
GSC_LOOK = (3.7833, 24.12)  # LOOK EQT: J2000 hours, degrees
GSC_CASES = [
    ("GscPleiades", (2024, 1, 25, 22, 0), "Greenwich (United Kingdom)", EQT, None,
     f"MODE EQT;VIEW ANGLE {GSC_FIELD_DEG:g};LOOK EQT {GSC_LOOK[0]},{GSC_LOOK[1]};STARDATA GSC;"
     f"MAG STAR {GSC_LIMIT10 / 10:.1f}"),
]


def read_gsc_rows():
    import glob
    rows = []
    for path in sorted(glob.glob(GSC_TREE + "/GSC/*/*.GSC")):
        data = open(path, "rb").read()
        for at in range(8640, len(data) - 44, 45):
            row = data[at:at + 45].decode("ascii")
            if row[0] == " ":
                continue
            # The magnitude's tenths as the characters give them (no rounding).
            mag10 = int(row[29]) * 10 + int(row[31]) + (int(row[28]) * 100 if row[28].isdigit() else 0)
            if row[28] == "-":
                mag10 = -mag10
            rows.append((f"{path[len(GSC_TREE) + 1:]}:{(at - 8640) // 45}", float(row[5:14]), float(row[14:23]),
                         mag10))
    return rows


def write_gsc_cases(out, bodies):
    gsc = read_gsc_rows()
    out.write(f"\n// Guide Star Catalog stars: {len(gsc)} rows of the region files in {GSC_TREE}; "
              f"MAG STAR {GSC_LIMIT10 / 10:.1f}, field {GSC_FIELD_DEG:g} degrees.\n")
    heads = []
    for case in GSC_CASES:
        name, when, site_name, mode, _, command = case
        P, _ = date_frame(when, SITES[site_name])
        look = P @ unit(math.radians(GSC_LOOK[0] * 15.0), math.radians(GSC_LOOK[1]))
        centre = (math.degrees(math.atan2(look[1], look[0])) % 360.0, math.degrees(math.asin(look[2])))
        # Stars of the lowest class are drawn in the faint-star colour, not a star colour.
        stars = [(f"gsc {label}", STAR, -1, unit(math.radians(ra), math.radians(dec)), m) for label, ra, dec, m in gsc
                 if m <= GSC_LIMIT10 - 10]
        vectors = numpy.array([row[3] for row in stars])

        def objects(when, site):
            yield from stars
            yield from bodies(when, site)

        rows, sun_alt, limit10, _ = run_case((name, when, site_name, mode, centre, command), objects, GSC_LIMIT10,
                                             GSC_FIELD_DEG)
        by_label = {row[0]: row for row in stars}
        near = math.cos(math.radians(6.0 / (WIDTH / GSC_FIELD_DEG)))  # 6 pixels

        def crowded(label):
            return int(numpy.count_nonzero(vectors @ by_label[label][3] > near)) > 1

        out_rows = []
        for r in rows:
            if r[1] == STAR and crowded(r[0]):
                continue  # symbols run together: no place of its own to compare
            out_rows.append(r)
        heads.append(write_case(out, (name, when, site_name, mode, centre, command), out_rows, sun_alt, limit10,
                                centre))
    out.write("const SkyTruthCase kSkyTruthGscCases[] = {\n" + "\n".join(heads) + "\n};\n")

# ---- deep-sky objects and the picture mark on Jupiter ------------------------------------
# The deep-sky layer's symbols and a picture mark: J2000 places of a few Messier objects
# from OpenNGC as kstars-data ships it (the source the program's deep-sky tables were made
# from), and Jupiter from python3-ephem. The real program draws them with NEBULA,
# PICTUREMARK and the installed click-data file (an "@IMAGE" entry for Jupiter).
OPENNGC = "/usr/share/kstars/OpenNGC.kscat"
NEBULA = 4
# Messier objects at least 1.5 degrees (13 pixels) from any other of the list's
# neighbours in the Messier table, except M31 and M42, which the check must show.
DEEP_SKY_NAMES = ["M 31", "M 42", "M 1", "M 33", "M 35", "M 45", "M 77"]
# In mid-December Jupiter stands in Taurus beside M1 and M45, with M31 and M42 in the
# same equatorial chart.
DEEP_SKY_CASES = [
    ("DeepSkyDecemberEquatorial", (2024, 12, 15, 22, 0), "Greenwich (United Kingdom)", EQT, START_CENTRE,
     "MODE EQT"),
]


def read_deep_sky_rows():
    import sqlite3
    db = sqlite3.connect(OPENNGC)
    out = []
    for name in DEEP_SKY_NAMES:
        ra, dec, mag = db.execute("select ra, dec, magnitude from cat where name = ?", (name,)).fetchone()
        # Projected as the stars are (the layer's fixed-point path); written as NEBULA.
        out.append((name.replace(" ", ""), STAR, -1, unit(math.radians(ra), math.radians(dec)),
                    int(math.floor(10 * mag + 0.5))))
    return out


def write_deep_sky(out):
    nebulae = read_deep_sky_rows()

    def objects(when, site):
        for row in nebulae:
            yield row
        v, mag = body_j2000(ephem.Jupiter, when, site)
        yield ("Jupiter", PLANET, -1, v, int(math.floor(10 * mag + 0.5)))

    out.write(f"\n// Deep-sky objects (kind {NEBULA}): {', '.join(DEEP_SKY_NAMES)} from OpenNGC ({OPENNGC},\n")
    out.write("// kstars-data), and Jupiter (python3-ephem), on which the click-data file puts a picture mark.\n")
    out.write(f"constexpr int kSkyTruthDeepSkyKind = {NEBULA};\n\n")
    heads = []
    for case in DEEP_SKY_CASES:
        rows, sun_alt, limit10, centre = run_case(case, objects)
        # Projected as stars; written as nebulae.
        rows = [(r[0], NEBULA if r[1] == STAR else r[1]) + tuple(r[2:]) for r in rows]
        heads.append(write_case(out, case, rows, sun_alt, limit10, centre))
    out.write("const SkyTruthCase kSkyTruthDeepSkyCases[] = {\n" + "\n".join(heads) + "\n};\n")


if __name__ == "__main__":
    main()
