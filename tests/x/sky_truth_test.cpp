// The real program's chart against the sky: tavik starts on a private X
// server, a key sends it LOCATE, DATE and MODE for a fixed site, moment and
// chart mode, its chart is read back from the window,
// the star symbols and bodies are found by their palette colours, and each
// object of tools/sky_truth.py's table (places computed with ERFA and PyEphem,
// projected independently) must have a drawn symbol within 2 pixels, with no
// large symbol drawn where the table expects none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "resources/fallback.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/x/sky_truth_table.h"

namespace {

// Pinned for the direction labels and the status bar, so that the chart's
// geometry is the table's whatever fonts the server prefers for the fallback
// patterns: the horizontal chart's projection centre sits one direction-font
// height above its bottom edge.
const char kPinnedFont[] = "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1";

// The sites as data/tavik.obs has them.
const char *const kSiteLines[] = {
    "Greenwich (United Kingdom)                 0.000E 51.468N   39 +00.00 ",
    "Cape Town (South Africa)                  18.467E 33.800S   41 +02.00 ",
};

constexpr double kTolerancePx = 2.0;
// The Aitoff map is drawn in Q14 arithmetic throughout (square roots and arc
// cosines of 1/16384 steps, products truncated): near its rim that is worth
// up to about 3 pixels at this size.
constexpr double kAitoffTolerancePx = 3.5;

double toleranceFor(int mode) { return isAitoffMode(mode) ? kAitoffTolerancePx : kTolerancePx; }

// The cases the real program can draw today: the commands of each give the
// start-up chart its site, moment and mode. The two "...OnOrion" rows join
// when the view centre can be moved by a command.
const char *const kDrawableCases[] = {"GreenwichJanuaryNight",       "GreenwichAnHourLater",
                                      "CapeTownJanuaryNight",        "GreenwichFullMoonWithSaturn",
                                      "EquatorialFromTheStartChart", "AitoffFromTheStartChart",
                                      "PlanisphereGreenwich"};

const SkyTruthCase *caseNamed(const std::string &name)
{
    for (const SkyTruthCase &c : kSkyTruthCases)
        if (name == c.name)
            return &c;
    return nullptr;
}

// The star palette (ColorStar0..9) as 24-bit pixels of a TrueColor screen.
std::map<unsigned long, int> starPalette(Display *d)
{
    std::map<unsigned long, int> out;
    for (int i = 0; i < fallbackResourceCount && fallbackResources[i]; i++) {
        const char *line = fallbackResources[i];
        int n = -1;
        char value[64];
        if (std::sscanf(line, "TAvik*ColorStar%d: %63s", &n, value) != 2 || n < 0 || n > 9)
            continue;
        XColor c;
        if (XParseColor(d, DefaultColormap(d, DefaultScreen(d)), value, &c))
            out[((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8)] = n;
    }
    return out;
}

int fontHeight(Display *d)
{
    XFontStruct *f = XLoadQueryFont(d, kPinnedFont);
    if (!f)
        return 0;
    const int h = f->ascent + f->descent;
    XFreeFont(d, f);
    return h;
}

struct Point {
    double x, y;
};

// What the chart shows: centres of the large symbols (pixels whose 3 x 3
// neighbourhood is one star colour: stars of class 5 and above, planets, the
// discs of the Moon and the Sun, each cluster of such pixels one symbol) and
// the points of every group of star-coloured pixels (the small symbols too).
struct DrawnSky {
    std::vector<Point> big, any;
    int chartTop = -1;
    // The drawing area's size in the case's mode less its size at start-up:
    // the vertical scroll bar comes and goes with the mode, and the area
    // takes or gives its width.
    int grewBy[2] = {0, 0};
    std::string error;
};

std::vector<Point> clusters(const std::vector<std::vector<int>> &mask, int w, int h)
{
    std::vector<Point> out;
    std::vector<std::vector<int>> seen(h, std::vector<int>(w, 0));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            if (!mask[y][x] || seen[y][x])
                continue;
            std::vector<std::pair<int, int>> stack{{x, y}};
            seen[y][x] = 1;
            double sx = 0, sy = 0;
            int n = 0, minX = x, maxX = x, minY = y, maxY = y;
            while (!stack.empty()) {
                auto [px, py] = stack.back();
                stack.pop_back();
                sx += px;
                sy += py;
                n++;
                minX = std::min(minX, px);
                maxX = std::max(maxX, px);
                minY = std::min(minY, py);
                maxY = std::max(maxY, py);
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) {
                        const int qx = px + dx, qy = py + dy;
                        if (qx >= 0 && qy >= 0 && qx < w && qy < h && mask[qy][qx] && !seen[qy][qx]) {
                            seen[qy][qx] = 1;
                            stack.push_back({qx, qy});
                        }
                    }
            }
            // A 2 x 2 symbol hangs right and down from its point.
            const double shift = n == 4 && maxX - minX == 1 && maxY - minY == 1 ? 0.5 : 0.0;
            out.push_back(Point{sx / n - shift, sy / n - shift});
        }
    return out;
}

// Starts tavik at the case's moment and site (with extra resources given as
// -xrm lines), waits until its chart stands still and reads it back.
// startGrowth: what the area is expected to grow by when the case's mode is
// set, so that it is then the table's size.
DrawnSky drawChartOnce(const SkyTruthCase &c, const int startGrowth[2], const std::vector<std::string> &resources)
{
    DrawnSky sky;
    XServer server(1600, 1200, 24);
    if (!server.ok()) {
        sky.error = server.why();
        return sky;
    }
    Display *d = server.display();
    const int fh = fontHeight(d);
    if (fh != kSkyTruthDirFontHeight) {
        sky.error = "the pinned font is " + std::to_string(fh) + " pixels high, the table's geometry wants " +
                    std::to_string(kSkyTruthDirFontHeight);
        return sky;
    }
    const int statusHeight = fh * 12 / 10;
    const int width = kSkyTruthWidth, height = kSkyTruthHeight + statusHeight;

    TempDir home;
    writeOptionsFile(home.path(), {std::string("SiteName = ") + c.site, "ConfirmQuit = False"});
    writeSiteList(home.path(), {kSiteLines[0], kSiteLines[1]});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    // The start-up chart must differ from every case's for the key's change
    // to show: a November night, a moment no case has.
    o.clock = "1700085600"; // 2023-11-15 22:00 UTC
    const int startWidth = width - startGrowth[0], startHeight = height - startGrowth[1];
    o.args = {"-xrm", "TAvik.Main.DrawingArea.width: " + std::to_string(startWidth),
              "-xrm", "TAvik.Main.DrawingArea.height: " + std::to_string(startHeight),
              "-xrm", std::string("TAvik*DirNameFontset: ") + kPinnedFont,
              "-xrm", std::string("TAvik*StatusFontset: ") + kPinnedFont};
    for (const std::string &r : resources) {
        o.args.push_back("-xrm");
        o.args.push_back(r);
    }
    const std::vector<std::string> key = xrmBindStkDoit("F5", std::string(c.command) + ";DRIVE");
    o.args.insert(o.args.end(), key.begin(), key.end());
    TavikProcess p(TAVIK_EXECUTABLE, o);
    Window top = xWaitForWindow(d, "tavik", "TAvik", 60000);
    if (!top) {
        sky.error = "no main window; stderr: " + p.err();
        return sky;
    }
    Window area = 0;
    waitUntil([&] { return (area = xFindWindowOfSize(d, top, startWidth, startHeight)) != 0; }, 30000);
    if (!area) {
        sky.error = "no drawing area of " + std::to_string(startWidth) + " x " + std::to_string(startHeight);
        return sky;
    }

    const std::map<unsigned long, int> palette = starPalette(d);
    std::vector<unsigned long> pixels, previous;
    unsigned int areaWidth = 0, areaHeight = 0;
    auto capture = [&] {
        Window root;
        int x, y;
        unsigned int border, depth;
        if (!XGetGeometry(d, area, &root, &x, &y, &areaWidth, &areaHeight, &border, &depth))
            return false;
        // The start-up chart may be smaller than the table's: read what there is.
        const int cw = std::min(static_cast<int>(areaWidth), width);
        const int ch = std::min(static_cast<int>(areaHeight), height);
        XImage *image = XGetImage(d, area, 0, 0, cw, ch, AllPlanes, ZPixmap);
        if (!image)
            return false;
        pixels.assign(static_cast<size_t>(width) * height, 0);
        int starPixels = 0;
        for (int y = 0; y < ch; y++)
            for (int x = 0; x < cw; x++) {
                const unsigned long v = XGetPixel(image, x, y) & 0xFFFFFF;
                pixels[static_cast<size_t>(y) * width + x] = v;
                starPixels += palette.count(v) ? 1 : 0;
            }
        XDestroyImage(image);
        const bool still = starPixels > 0 && pixels == previous;
        previous = pixels;
        return still;
    };
    if (!waitUntil(capture, 60000)) {
        sky.error = "the chart never showed a still picture with star pixels";
        return sky;
    }
    // The start-up chart (the clock's moment) stands; the key's
    // commands give it the case's site, moment and mode.
    const std::vector<unsigned long> startChart = pixels;
    xSendKey(d, top, "F5");
    if (!waitUntil([&] { return capture() && pixels != startChart; }, 60000)) {
        sky.error = std::string("\"") + c.command + "\" did not change the chart";
        return sky;
    }
    p.kill();
    sky.grewBy[0] = static_cast<int>(areaWidth) - startWidth;
    sky.grewBy[1] = static_cast<int>(areaHeight) - startHeight;
    if (sky.grewBy[0] != startGrowth[0] || sky.grewBy[1] != startGrowth[1]) {
        sky.error = "the drawing area is " + std::to_string(areaWidth) + " x " + std::to_string(areaHeight) +
                    " in the case's mode";
        return sky;
    }

    // The status bar is a band of one colour at the right-hand end of its
    // rows, closed by a line on its last row; the chart starts below it.
    const unsigned long band = pixels[static_cast<size_t>(width) - 1];
    int rows = 0;
    while (rows < height && pixels[static_cast<size_t>(rows) * width + width - 1] == band)
        rows++;
    const int top0 = rows + 1;
    sky.chartTop = top0;
    if (top0 != statusHeight) {
        sky.error = "the chart starts at row " + std::to_string(top0) + ", not below a status bar of " +
                    std::to_string(statusHeight);
        return sky;
    }

    const int w = kSkyTruthWidth, h = kSkyTruthHeight;
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y + top0) * width + x]; };
    std::vector<std::vector<int>> star(h, std::vector<int>(w, 0)), big(h, std::vector<int>(w, 0));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            star[y][x] = palette.count(at(x, y)) ? 1 : 0;
    // A Galilean moon is one white pixel and may sit on Jupiter's symbol: a
    // block of one star colour with white pixels in it still counts.
    const unsigned long white = WhitePixel(d, DefaultScreen(d)) & 0xFFFFFF;
    for (int y = 1; y + 1 < h; y++)
        for (int x = 1; x + 1 < w; x++) {
            unsigned long colour = 0;
            int coloured = 0;
            bool one = true;
            for (int dy = -1; dy <= 1 && one; dy++)
                for (int dx = -1; dx <= 1 && one; dx++) {
                    const unsigned long v = at(x + dx, y + dy);
                    if (v == white)
                        continue;
                    one = palette.count(v) && (coloured == 0 || v == colour);
                    colour = v;
                    coloured++;
                }
            big[y][x] = one && coloured >= 5 ? 1 : 0;
        }
    sky.big = clusters(big, w, h);
    sky.any = clusters(star, w, h);
    return sky;
}

// The chart drawn in a drawing area of the table's size in the case's mode:
// a second start when setting the mode resized the area.
DrawnSky drawChart(const SkyTruthCase &c, const std::vector<std::string> &resources = {})
{
    const int none[2] = {0, 0};
    DrawnSky sky = drawChartOnce(c, none, resources);
    if (!sky.error.empty() && (sky.grewBy[0] || sky.grewBy[1])) {
        const int growth[2] = {sky.grewBy[0], sky.grewBy[1]};
        sky = drawChartOnce(c, growth, resources);
    }
    return sky;
}

double nearest(const std::vector<Point> &points, double x, double y, Point *found = nullptr)
{
    double best = 1e9;
    for (const Point &p : points) {
        const double dist = std::hypot(p.x - x, p.y - y);
        if (dist < best) {
            best = dist;
            if (found)
                *found = p;
        }
    }
    return best;
}

// Each expected object near a drawn symbol of its size; each large symbol
// near an expected object. Returns the findings, empty when all is well.
std::vector<std::string> compare(const SkyTruthCase &c, const DrawnSky &sky)
{
    std::vector<std::string> bad;
    for (int i = 0; i < c.count; i++) {
        const SkyTruthObject &o = c.objects[i];
        const double dist = nearest(o.bigSymbol ? sky.big : sky.any, o.x, o.y);
        if (dist > toleranceFor(c.mode)) {
            std::ostringstream s;
            s << o.name << " expected at (" << o.x << ", " << o.y << "), altitude " << o.altitudeDeg
              << ": nearest " << (o.bigSymbol ? "large " : "") << "symbol " << dist << " px away";
            bad.push_back(s.str());
        }
    }
    int unmatched = 0;
    std::ostringstream where;
    for (const Point &p : sky.big) {
        // The table holds objects 3 pixels or more inside the chart: a symbol
        // cut by the edge has no place to be compared with.
        if (p.x < 3 || p.y < 3 || p.x > kSkyTruthWidth - 4 || p.y > kSkyTruthHeight - 4)
            continue;
        bool expected = false;
        for (int i = 0; i < c.count && !expected; i++)
            expected = std::hypot(c.objects[i].x - p.x, c.objects[i].y - p.y) <= toleranceFor(c.mode);
        if (!expected) {
            unmatched++;
            where << " (" << p.x << ", " << p.y << ")";
        }
    }
    if (unmatched)
        bad.push_back(std::to_string(unmatched) + " large symbols where no bright object is expected:" + where.str());
    return bad;
}

TEST(SkyTruthX, TheTableHasItsCasesWithStarsMoonAndPlanets)
{
    // The generator's rows this check relies on, so that a regenerated table
    // that lost them fails here rather than passing with nothing to compare.
    std::set<int> kinds;
    for (const char *name : kDrawableCases) {
        const SkyTruthCase *c = caseNamed(name);
        ASSERT_NE(c, nullptr) << name;
        EXPECT_STRNE("", c->command) << name;

        EXPECT_LT(c->sunAltitudeDeg, -18.0) << name << ": a dark sky, so the automatic star limit is 6.0";
        EXPECT_GE(c->count, 3) << name;
        for (int i = 0; i < c->count; i++)
            kinds.insert(c->objects[i].kind);
    }
    for (int kind : {0, 1, 2})
        EXPECT_EQ(1u, kinds.count(kind)) << "stars (0), the Moon (1) and a planet (2): " << kind;
}

TEST(SkyTruthX, EveryBrightObjectIsDrawnWhereTheSkyHasItAndNothingElseIs)
{
    for (const char *name : kDrawableCases) {
        SCOPED_TRACE(name);
        const SkyTruthCase *c = caseNamed(name);
        ASSERT_NE(c, nullptr);
        const DrawnSky sky = drawChart(*c);
        ASSERT_TRUE(sky.error.empty()) << sky.error;
        for (const std::string &finding : compare(*c, sky))
            ADD_FAILURE() << finding;
    }
}

// The stars of the catalogue file at MAG STAR 8.5 on the equatorial chart:
// faint stars (one pixel each, none of the bright table) where their source
// catalogue puts them, and every large symbol a star of the source to 4.5
// or a body.
TEST(SkyTruthX, CatalogueFileStarsAreDrawnWhereTheirSourceCatalogueHasThem)
{
    for (const SkyTruthCase &c : kSkyTruthCatalogueFileCases) {
        SCOPED_TRACE(c.name);
        int faint = 0;
        for (int i = 0; i < c.count; i++)
            faint += std::strncmp(c.objects[i].name, "faint", 5) == 0 ? 1 : 0;
        EXPECT_GE(faint, 6) << "faint catalogue stars to look for";
        EXPECT_NE(std::strstr(c.command, "STARDATA SAO"), nullptr);
        const DrawnSky sky =
            drawChart(c, {std::string("TAvik*SaoFile: ") + TAVIK_SOURCE_DIR + "/data/tavik.sao"});
        ASSERT_TRUE(sky.error.empty()) << sky.error;
        for (const std::string &finding : compare(c, sky))
            ADD_FAILURE() << finding;
    }
}

// The Guide Star Catalog's committed test regions, drawn by "STARDATA GSC"
// on a 2-degree chart of the Pleiades: every star to 8.5 where its row's
// J2000 columns put it, and no large symbol elsewhere.
TEST(SkyTruthX, GuideStarCatalogStarsAreDrawnWhereTheirRowsPutThem)
{
    for (const SkyTruthCase &c : kSkyTruthGscCases) {
        SCOPED_TRACE(c.name);
        EXPECT_GE(c.count, 20) << "stars of the field to look for";
        const DrawnSky sky = drawChart(c, {std::string("TAvik*GscPath: ") + TAVIK_SOURCE_DIR + "/tests/data/gsc",
                                           std::string("TAvik*GscIndexFile: ") + TAVIK_SOURCE_DIR + "/data/tavik.gsc"});
        ASSERT_TRUE(sky.error.empty()) << sky.error;
        for (const std::string &finding : compare(c, sky))
            ADD_FAILURE() << finding;
    }
}

TEST(SkyTruthX, AnHourLaterEveryStarHasMovedWestwardByTheExpectedAmount)
{
    const SkyTruthCase *before = caseNamed("GreenwichJanuaryNight");
    const SkyTruthCase *after = caseNamed("GreenwichAnHourLater");
    ASSERT_TRUE(before && after);
    ASSERT_EQ(3600, after->clockSeconds - before->clockSeconds);
    const DrawnSky a = drawChart(*before), b = drawChart(*after);
    ASSERT_TRUE(a.error.empty()) << a.error;
    ASSERT_TRUE(b.error.empty()) << b.error;
    int compared = 0;
    for (int i = 0; i < before->count; i++) {
        const SkyTruthObject &o = before->objects[i];
        for (int j = 0; j < after->count; j++) {
            const SkyTruthObject &q = after->objects[j];
            if (o.kind != 0 || q.starRow != o.starRow || !o.bigSymbol || !q.bigSymbol)
                continue;
            SCOPED_TRACE(o.name);
            Point p0{0, 0}, p1{0, 0};
            ASSERT_LE(nearest(a.big, o.x, o.y, &p0), kTolerancePx);
            ASSERT_LE(nearest(b.big, q.x, q.y, &p1), kTolerancePx);
            // Facing south, west is to the right: the sky turns that way.
            EXPECT_GT(q.x - o.x, 50.0);
            EXPECT_GT(p1.x - p0.x, 50.0);
            EXPECT_NEAR(q.x - o.x, p1.x - p0.x, kTolerancePx);
            EXPECT_NEAR(q.y - o.y, p1.y - p0.y, kTolerancePx);
            compared++;
        }
    }
    EXPECT_GE(compared, 8);
}

} // namespace
