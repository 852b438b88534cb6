// The canvas's text against the font sets' own drawing and measuring in
// libX11, which is the oracle: in the ISO 8859-1 locale every font set of
// the fallback resources draws chart labels (degree signs, accented
// letters, digits, blanks) through the canvas in exactly the pixels
// XmbDrawString gives, and the canvas measures them as XmbTextExtents does;
// text the font set must convert (control codes) still goes through it.
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "model/app_data.h"
#include "render/palette.h"
#include "render/x/font_sets.h"
#include "render/x/x_canvas.h"
#include "render/x/x_traffic.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/x_server.h"
#include "tests/support/x_xpm.h"

namespace {

constexpr int kWidth = 400, kHeight = 40;

TEST(CanvasText, EveryFontSetDrawsAndMeasuresLabelsAsItsOwnDrawingDoes)
{
    XServer server(640, 480, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    setUpChartDisplay(d);
    const Pixmap pixmap = XCreatePixmap(d, DefaultRootWindow(d), kWidth, kHeight, DefaultDepth(d, 0));
    GC gc = XCreateGC(d, pixmap, 0, nullptr);
    GC own = XCreateGC(d, pixmap, 0, nullptr);
    XCanvas canvas(d, pixmap, gc);
    canvas.fontSets = appData->fontSets;
    const std::vector<std::string> labels = {
        "3h+40\260", "12h00\260", "350\260-80\260", "Sirius", "M31 NGC224", "\311t\351 \340 \377 \241\277",
        "SSW", "90", "Jupiter 2025/01/15", "~{}|`", "tab\there", "C1\205C1",
    };
    int drawn = 0;
    for (int set = 0; set < kFontSetCount; set++) {
        ASSERT_NE(appData->fontSets[set], nullptr) << fontSetRows[set].resource;
        for (const std::string &text : labels) {
            SCOPED_TRACE(std::string(fontSetRows[set].resource) + " \"" + text + "\"");
            const int len = static_cast<int>(text.size());
            XSetForeground(d, own, 0);
            XFillRectangle(d, pixmap, own, 0, 0, kWidth, kHeight);
            XSetForeground(d, own, 0xC0E0FF);
            XmbDrawString(d, pixmap, appData->fontSets[set], own, 5, 25, text.data(), len);
            const std::vector<unsigned long> expected = drawablePixels(d, pixmap, kWidth, kHeight);
            XFillRectangle(d, pixmap, own, 0, 0, kWidth, kHeight); // cleared in the text's colour...
            XSetForeground(d, own, 0);
            XFillRectangle(d, pixmap, own, 0, 0, kWidth, kHeight); // ...then black again
            canvas.setForeground(0xC0E0FF);
            canvas.drawString(set, 5, 25, text.data(), len);
            const std::vector<unsigned long> got = drawablePixels(d, pixmap, kWidth, kHeight);
            ASSERT_EQ(got.size(), expected.size());
            EXPECT_TRUE(got == expected);
            for (unsigned long p : got)
                drawn += p != 0 ? 1 : 0;

            XRectangle ink, logical;
            XmbTextExtents(appData->fontSets[set], text.data(), len, &ink, &logical);
            const CanvasTextExtent e = canvas.textExtent(set, text.data(), len);
            EXPECT_EQ(e.x, logical.x);
            EXPECT_EQ(e.y, logical.y);
            EXPECT_EQ(e.width, logical.width);
            EXPECT_EQ(e.height, logical.height);
        }
    }
    EXPECT_GT(drawn, 1000) << "the texts drew";

    // The cheapest way: a label with a degree sign, which the font set
    // sends as a string of each half of the code table, goes as one string
    // once its font is the GC's.
    const char degree[] = "3h+40\260";
    canvas.drawString(GridNumFontset, 5, 25, degree, 6);
    XSync(d, False);
    XTrafficMeter meter(d);
    canvas.drawString(GridNumFontset, 5, 25, degree, 6);
    EXPECT_EQ(meter.read().requests, 1u);
    XFreeGC(d, gc);
    XFreeGC(d, own);
    XFreePixmap(d, pixmap);
    freeFontSets();
    std::setlocale(LC_ALL, "C");
}

} // namespace
