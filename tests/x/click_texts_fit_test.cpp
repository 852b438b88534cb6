// Every click-data text the program ships fits the info box: measured in
// ClickDataFontset on a real X server, in both locales the program runs in,
// against the width of the click-data dialog the info box fills.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/resource_text.h"
#include "model/user_objects.h"
#include "render/palette.h"
#include "render/x/font_sets.h"
#include "tests/support/x_server.h"

namespace {

TEST(ClickTexts, EveryShippedTextFitsTheInfoBox)
{
    XServer server(640, 480, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    appDataSetDefaults();
    appData->display = server.display();
    char widthText[16];
    const int width = std::atoi(fallbackResourceString("ClickDataDialog.width", widthText, sizeof widthText));
    ASSERT_GT(width, 0);

    ChartState chart{};
    chartStateSetDefaults(&chart);
    // As start-up reads the ClickDataFile resource: the path, then the index.
    std::snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s/data/tavik.cdf", TAVIK_SOURCE_DIR);
    ASSERT_EQ(loadClickData(&chart, appData->clickDataFile), 1) << appData->clickDataFile;
    ASSERT_NE(chart.clickDataIndex, nullptr);

    for (const char *locale : {"en_US.ISO-8859-1", "C"}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << locale;
        char names[kFontSetCount][128];
        const char *rows[kFontSetCount];
        for (int i = 0; i < kFontSetCount; i++)
            rows[i] = fallbackResourceString(fontSetRows[i].resource, names[i], sizeof names[i]);
        char bayer[128];
        fallbackResourceString(kStarBayerFontResource, bayer, sizeof bayer);
        ASSERT_EQ(loadFontSetsFrom(server.display(), rows, bayer), 1) << locale;
        XFontSet set = appData->fontSets[ClickDataFontset];
        ASSERT_NE(set, nullptr);
        int texts = 0;
        for (const ClickDataEntry *e = chart.clickDataIndex; e->kind != -1; ++e) {
            char text[512];
            int hasImage = 0;
            if (!clickDataText(&chart, e->kind, e->index, text, sizeof text, &hasImage) || !text[0])
                continue;
            ++texts;
            const int escapement = XmbTextEscapement(set, text, static_cast<int>(std::strlen(text)));
            EXPECT_LE(escapement, width) << "\"" << text << "\" in " << locale;
        }
        EXPECT_GT(texts, 0) << "no shipped text was read";
        freeFontSets();
    }
    std::setlocale(LC_ALL, "C");
    freeClickData(&chart);
    chartStateFreeTables(&chart);
}

} // namespace
