// Deep-sky symbols and picture marks (one on the Sun) in pixels, on a day sky at depth 24
// (TrueColor) and depth 8 (writable cells): the same frame is drawn without
// and with the two layers, and inside each symbol's 9 x 9 cell the set bits
// are exactly the mark's colour while every other pixel keeps the sky drawn
// below; nothing outside the cells changes.
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "astro/body_records.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "render/frame.h"
#include "render/layers/deep_sky.h"
#include "render/layers/picture_marks.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/shown_objects.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "render/x/x_surface.h"
#include "resources/catalogs.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/x_server.h"

namespace {

struct DayChart : NightChartWindow {
    explicit DayChart(int depth) : NightChartWindow(depth, false)
    {
        if (!server.ok())
            return;
        // Noon in Tokyo: a bright sky behind every mark.
        const DateTime noon{2025, 1, 15, 12, 0, 0.0, 9.0};
        chartSetDate(chart.get(), &noon);
    }
    ~DayChart() { freeClickData(chart.get()); }

    std::vector<unsigned long> frame()
    {
        chart->redrawNeeded = 1;
        chartRedraw(chart.get());
        const ChartRect &r = chart->chartRect;
        XImage *image = XGetImage(d, surface->pixmap, 0, 0, static_cast<unsigned>(r.x + r.width),
                                  static_cast<unsigned>(r.y + r.height), AllPlanes, ZPixmap);
        std::vector<unsigned long> pixels;
        if (!image)
            return pixels;
        width = image->width;
        for (int y = 0; y < image->height; y++)
            for (int x = 0; x < image->width; x++)
                pixels.push_back(XGetPixel(image, x, y));
        XDestroyImage(image);
        return pixels;
    }
    int width = 0;
};

struct Cell {
    const char *what;
    int left, top; // top-left pixel of the 9 x 9 cell
    const uint16_t *rows;
    unsigned long pixel;
};

TEST(DeepSkyPixels, SymbolsAreExactlyTheirBitsInTheMarkColourOnADaySky)
{
    for (int depth : {24, 8}) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        DayChart day(depth);
        ASSERT_TRUE(day.server.ok()) << day.server.why();
        ChartState *chart = day.chart.get();
        TempDir dir;
        const std::string clicks = dir.write("marks.cdf", ":SUN\n@IMAGE a.jpg\n");
        stkExecute(chart, ("LOAD CLICKDATA \"" + clicks + "\"").c_str());
        stkExecute(chart, "HIDE NEBULA;HIDE PICTUREMARK;HIDE NGC;HIDE IC;HIDE NEBULA_NAME;HIDE NEBULA_MAG");
        ASSERT_STREQ(appData->errorId, "");
        const std::vector<unsigned long> below = day.frame();
        ASSERT_FALSE(below.empty());
        ASSERT_GT(chart->skyLevel, 0) << "a day sky";
        stkExecute(chart, "SHOW NEBULA;SHOW PICTUREMARK");
        const std::vector<unsigned long> above = day.frame();
        ASSERT_EQ(above.size(), below.size());
        const int w = day.width, h = static_cast<int>(below.size()) / w;

        std::vector<Cell> cells;
        ProjectedPoint p;
        const double none[2] = {0.0, 0.0};
        ASSERT_EQ(targetScreenPosition(chart, kPosBody, kObjectSun, none, &p), 1) << "the noon Sun on the chart";
        cells.push_back({"picture mark", p.x - 4, p.y - 4, kPictureMarkRows, appData->pixels[ColorPictureMark]});
        for (int32_t i = nebulaFirst[0]; i < nebulaFirst[0] + nebulaCounts[0]; ++i) {
            const NebulaRecord &record = nebulaRecords[i];
            if (!nebulaIsShown(chart, &record) || !targetScreenPosition(chart, kPosNebula, i, none, &p))
                continue;
            const int sizeClass = std::min(2, nebulaMag10(record) / 60);
            cells.push_back({"deep-sky symbol", p.x - 5, p.y - 5, nebulaSymbol(nebulaType(record), sizeClass),
                             appData->pixels[ColorNebulaMark]});
        }
        ASSERT_GE(cells.size(), 5u) << "the picture mark and some Messier objects";

        // Every pixel that changed lies in a cell; a cell's set bit is the
        // mark colour, its other pixels the sky below (where no other cell's
        // set bit falls on them).
        std::vector<int> setBy(below.size(), -1);
        for (size_t k = 0; k < cells.size(); ++k)
            for (int r = 0; r < 9; ++r)
                for (int c = 0; c < 9; ++c) {
                    const int x = cells[k].left + c, y = cells[k].top + r;
                    if (x >= 0 && y >= 0 && x < w && y < h && ((cells[k].rows[r] >> c) & 1))
                        setBy[static_cast<size_t>(y) * w + x] = static_cast<int>(k);
                }
        int wrong = 0, marked = 0, onSky = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const size_t at = static_cast<size_t>(y) * w + x;
                if (setBy[at] >= 0) {
                    marked++;
                    onSky += below[at] != cells[static_cast<size_t>(setBy[at])].pixel;
                    if (above[at] != cells[static_cast<size_t>(setBy[at])].pixel && wrong++ < 5)
                        ADD_FAILURE() << cells[static_cast<size_t>(setBy[at])].what << " pixel " << x << "," << y
                                      << " is " << above[at];
                } else if (above[at] != below[at] && wrong++ < 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " outside every symbol's bits changed from "
                                  << below[at] << " to " << above[at];
                }
            }
        EXPECT_EQ(wrong, 0);
        EXPECT_GT(onSky, marked / 2) << "the marks lie on the sky, not on their own colour";
        // The picture mark alone: its 31 pixels.
        int pictureBits = 0;
        for (size_t at = 0; at < setBy.size(); ++at)
            pictureBits += setBy[at] == 0;
        EXPECT_EQ(pictureBits, 31);
    }
}

} // namespace
