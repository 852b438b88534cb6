#include "model/site_list.h"

#include "model/app_data.h"
#include "model/ui_hooks.h"
#include "tests/model/settings_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A name padded to the 40-character column and its separator blank.
std::string named(const std::string &name)
{
    return name + std::string(40 - name.size(), ' ') + " ";
}

const std::string kTokyo = named("Tokyo (Japan)") + "139.767E 35.683N   10 +09.00 \n";
const std::string kHilo = named("Hilo (USA)") + "155.090W 19.730N 9999 -10.00 \n";
const std::string kLaPaz = named("La Paz (Bolivia)") + " 68.150W 16.500S 3632 -04.50 \n";
const std::string kDeadSea = named("Dead Sea Shore (Israel)") + " 35.500E 31.500N -999 +02.00 \n";
// Letters in lower case, as a hand-edited list may have them.
const std::string kLima = named("Lima (Peru)") + " 77.033w 12.050s  154 -05.00 \n";
const std::string kOslo = named("Oslo (Norway)") + " 10.750e 59.917n   23 +01.00 \n";

class SiteListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        uiHooksReset();
        uiHooksRecordMessages();
        siteListResetReports();
    }
    void TearDown() override { uiHooksReset(); }
};

TEST_F(SiteListTest, EverySiteOfTheInstalledListIsFound)
{
    std::string list = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.obs";
    std::ifstream in(list);
    std::string line;
    int sites = 0, missing = 0;
    double where[3], zone;
    while (std::getline(in, line)) {
        std::string name = line.substr(0, 40);
        name.erase(name.find_last_not_of(' ') + 1);
        ++sites;
        if (!findSiteIn(list.c_str(), name.c_str(), where, &zone))
            ADD_FAILURE() << "not found: " << name << " (" << ++missing << ")";
    }
    EXPECT_EQ(sites, 3419);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << uiHooksRecordedMessageText(0);
    ASSERT_EQ(findSiteIn(list.c_str(), "100 Mile House (Canada)", where, &zone), 1);
    EXPECT_DOUBLE_EQ(where[0], 51.65);
    EXPECT_DOUBLE_EQ(where[1], -121.283);
    EXPECT_DOUBLE_EQ(where[2], 916.0);
    EXPECT_DOUBLE_EQ(zone, -8.0);
}

TEST_F(SiteListTest, ColumnsGiveSignedCoordinatesAndZone)
{
    TempDir dir;
    std::string list =
        dir.write("tavik.obs", kTokyo + kHilo + kLaPaz + std::string(kDeadSea).insert(70, "\r") + kLima + kOslo);
    struct Case {
        const char *name;
        int found;
        double lat, lon, alt, zone;
    } cases[] = {
        {"Tokyo (Japan)", 1, 35.683, 139.767, 10, 9.0},
        {"Hilo (USA)", 1, 19.73, -155.09, 9999, -10.0},
        {"La Paz (Bolivia)", 1, -16.5, -68.15, 3632, -4.5},
        {"Dead Sea Shore (Israel)", 1, 31.5, 35.5, -999, 2.0}, // CR before the newline
        {"Lima (Peru)", 1, -12.05, -77.033, 154, -5.0},        // "w" and "s" are west and south
        {"Oslo (Norway)", 1, 59.917, 10.75, 23, 1.0},
        {"la paz (bolivia)", 0, 0, 0, 0, 0},
        {"La Paz", 0, 0, 0, 0, 0},
        {"La Paz (Bolivia) ", 0, 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        double where[3] = {0, 0, 0}, zone = 0;
        ASSERT_EQ(findSiteIn(list.c_str(), c.name, where, &zone), c.found) << c.name;
        if (!c.found)
            continue;
        EXPECT_DOUBLE_EQ(where[0], c.lat) << c.name;
        EXPECT_DOUBLE_EQ(where[1], c.lon) << c.name;
        EXPECT_DOUBLE_EQ(where[2], c.alt) << c.name;
        EXPECT_DOUBLE_EQ(zone, c.zone) << c.name;
    }
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST_F(SiteListTest, MalformedLinesAreReportedOnceAndSkipped)
{
    std::string shortLine = kTokyo;
    shortLine.erase(68, 1); // 70 bytes with the newline
    std::string column40 = kTokyo;
    column40[40] = 'x';
    std::string semicolon = named("A;B") + " 10.000E 10.000N    0 +00.00 \n";
    std::string longLine = std::string(kTokyo).insert(10, std::string(500, 'z'));
    struct Case {
        const char *what;
        std::string bad;
    } cases[] = {
        {"70 bytes", shortLine},
        {"column 40", column40},
        {"unsafe name", semicolon},
        {"long line", longLine},
        {"no hemisphere letter", std::string(kTokyo).replace(56, 1, "X")},
        {"no number", std::string(kTokyo).replace(50, 6, "  abc ")},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::string list = dir.write("tavik.obs", kTokyo + kHilo + c.bad + kLaPaz + c.bad);
        uiHooksRecordMessages();
        double where[3], zone;
        EXPECT_EQ(findSiteIn(list.c_str(), "La Paz (Bolivia)", where, &zone), 1) << c.what;
        EXPECT_DOUBLE_EQ(where[0], -16.5) << c.what;
        EXPECT_EQ(findSiteIn(list.c_str(), "A;B", where, &zone), 0) << c.what;
        ASSERT_EQ(uiHooksRecordedMessageCount(), 1) << c.what << ": one report per run";
        EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
        std::string text = uiHooksRecordedMessageText(0);
        EXPECT_NE(text.find(list), std::string::npos) << text;
        EXPECT_NE(text.find("line 3"), std::string::npos) << c.what << ": " << text;
        EXPECT_EQ(text.find("line 5"), std::string::npos) << text;
    }
}

TEST_F(SiteListTest, ComposeAndParseRoundTrip)
{
    struct Case {
        Site site;
        std::string line;
    } cases[] = {
        {{"Tokyo (Japan)", 35.683, 139.767, 10, 9.0}, kTokyo},
        {{"Hilo (USA)", 19.73, -155.09, 9999, -10.0}, kHilo},
        {{"La Paz (Bolivia)", -16.5, -68.15, 3632, -4.5}, kLaPaz},
        {{"Dead Sea Shore (Israel)", 31.5, 35.5, -999, 2.0}, kDeadSea},
        {{"Kiritimati (Kiribati)", 1.87, -157.4, 0, 14.0},
         named("Kiritimati (Kiribati)") + "157.400W  1.870N    0 +14.00 \n"},
        {{"Baker Island (USA)", 0.195, -176.477, 8, -12.0},
         named("Baker Island (USA)") + "176.477W  0.195N    8 -12.00 \n"},
        {{"South Pole", -90.0, 180.0, 2835, -14.0}, named("South Pole") + "180.000E 90.000S 2835 -14.00 \n"},
        {{"0123456789012345678901234567890123456789", 0.0, 0.0, 0, 0.0},
         "0123456789012345678901234567890123456789   0.000E  0.000N    0 +00.00 \n"},
    };
    for (const Case &c : cases) {
        char line[kSiteLineLength + 1];
        ASSERT_EQ(siteLineCompose(&c.site, line), 1) << c.site.name;
        EXPECT_EQ(std::string(line), c.line);
        Site back;
        ASSERT_EQ(siteLineParse(line, kSiteLineLength - 1, &back), 1) << c.site.name;
        EXPECT_STREQ(back.name, c.site.name);
        EXPECT_DOUBLE_EQ(back.latitude, c.site.latitude);
        EXPECT_DOUBLE_EQ(back.longitude, c.site.longitude);
        EXPECT_EQ(back.altitude, c.site.altitude);
        EXPECT_DOUBLE_EQ(back.zone, c.site.zone);
    }
}

TEST_F(SiteListTest, ComposeRefusesValuesThatBreakTheColumns)
{
    const Site good = {"Somewhere", 10.0, 20.0, 100, 1.0};
    struct Case {
        const char *what;
        Site site;
    } cases[] = {
        {"latitude 91", {"Somewhere", 91.0, 20.0, 100, 1.0}},
        {"longitude -181", {"Somewhere", 10.0, -181.0, 100, 1.0}},
        {"altitude 10000", {"Somewhere", 10.0, 20.0, 10000, 1.0}},
        {"altitude -1000", {"Somewhere", 10.0, 20.0, -1000, 1.0}},
        {"zone 100", {"Somewhere", 10.0, 20.0, 100, 100.0}},
        {"zone nan", {"Somewhere", 10.0, 20.0, 100, std::nan("")}},
        {"latitude inf", {"Somewhere", HUGE_VAL, 20.0, 100, 1.0}},
        {"empty name", {"", 10.0, 20.0, 100, 1.0}},
        {"semicolon", {"A;B", 10.0, 20.0, 100, 1.0}},
        {"quote", {"A\"B", 10.0, 20.0, 100, 1.0}},
        {"trailing blank", {"Somewhere ", 10.0, 20.0, 100, 1.0}},
    };
    char line[kSiteLineLength + 1];
    ASSERT_EQ(siteLineCompose(&good, line), 1);
    for (const Case &c : cases)
        EXPECT_EQ(siteLineCompose(&c.site, line), 0) << c.what;
}

TEST_F(SiteListTest, RewriteReplacesInsertsAndRemovesByteExact)
{
    TempDir dir;
    // A hand-edited line (CR LF) elsewhere in the file is kept as it is.
    const std::string crlf = std::string(kDeadSea).insert(70, "\r");
    const std::string old = kTokyo + kHilo + crlf;
    struct Case {
        const char *what;
        SiteEdit edit;
        int n;
        int result;
        std::string expected;
    } cases[] = {
        {"replace 2", kSiteEditReplace, 2, 1, kTokyo + kLaPaz + crlf},
        {"replace 3", kSiteEditReplace, 3, 1, kTokyo + kHilo + kLaPaz},
        {"insert first", kSiteEditInsertFirst, 0, 1, kLaPaz + kTokyo + kHilo + crlf},
        {"remove 1", kSiteEditRemove, 1, 1, kHilo + crlf},
        {"remove 3", kSiteEditRemove, 3, 1, kTokyo + kHilo},
        {"remove 4", kSiteEditRemove, 4, 0, old},
        {"replace 0", kSiteEditReplace, 0, 0, old},
    };
    for (const Case &c : cases) {
        std::string path = dir.write("tavik.obs", old);
        EXPECT_EQ(siteFileRewrite(path.c_str(), c.edit, c.n, kLaPaz.c_str()), c.result) << c.what;
        EXPECT_EQ(readFile(path), c.expected) << c.what;
        EXPECT_FALSE(pathExists(path + ".$NEW$")) << c.what;
    }
    std::string path = dir.write("tavik.obs", old);
    std::string notALine = kLaPaz.substr(0, 60) + "\n";
    EXPECT_EQ(siteFileRewrite(path.c_str(), kSiteEditReplace, 1, notALine.c_str()), 0);
    EXPECT_EQ(siteFileRewrite(path.c_str(), kSiteEditInsertFirst, 0, (kLaPaz + kHilo).c_str()), 0);
    EXPECT_EQ(readFile(path), old);
}

TEST_F(SiteListTest, FailedRewritesKeepTheOldFile)
{
    const std::string old = kTokyo + kHilo + kLaPaz + kDeadSea;
    {
        TempDir dir;
        std::string path = dir.write("tavik.obs", old);
        int result = runWithReadOnlyDir(dir.path(), [&] {
            return siteFileRewrite(path.c_str(), kSiteEditInsertFirst, 0, kLaPaz.c_str());
        });
        EXPECT_EQ(result, 0) << "unwritable directory reported as success";
        EXPECT_EQ(readFile(path), old);
        EXPECT_FALSE(pathExists(path + ".$NEW$"));
    }
    {
        TempDir dir;
        std::string path = dir.write("tavik.obs", old);
        int result = runWithFileSizeLimit(100, [&] {
            return siteFileRewrite(path.c_str(), kSiteEditReplace, 4, kTokyo.c_str());
        });
        EXPECT_EQ(result, 0) << "full disk reported as success";
        EXPECT_EQ(readFile(path), old) << "old list lost on a full disk";
        EXPECT_FALSE(pathExists(path + ".$NEW$")) << "partial temporary left behind";
    }
}

} // namespace
