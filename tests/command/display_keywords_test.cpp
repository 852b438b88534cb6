// The display-item keywords of SHOW, HIDE and TOGGLE, every row, against a
// table written here from the language's own list of display items, and the
// GRID modes. A code is group << 8 | bits: the group picks a display byte of
// the chart state, the bits are what its drawing layer tests.
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "command/keywords.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/ui_hooks.h"
#include "render/recording_canvas.h"
#include "render/shown_objects.h"
#include "render/sky_colours.h"
#include "render/layers/deep_sky.h"
#include "resources/catalogs.h"
#include "render/layers/solar_bodies.h"
#include "render/star_symbols.h"
#include "render/layers/status_bar.h"

namespace {

struct Item {
    const char *word;
    int32_t code;
};

// Every row in the language's order; the Japanese aliases are the EUC-JP
// bytes of the text in the comment. The first row of a code is its name in
// scene files.
const Item kItems[] = {
    {"JMOON", 0x0501},
    {"\245\254\245\352\245\354\245\252\261\322\300\261", 0x0501}, // ガリレオ衛星
    {"JMOON_NAME", 0x0502},
    {"\245\254\245\352\245\354\245\252\261\322\300\261\314\276", 0x0502}, // ガリレオ衛星名
    {"JMOON_NO", 0x0504},
    {"\245\254\245\352\245\354\245\252\261\322\300\261\310\326\271\346", 0x0504}, // ガリレオ衛星番号
    {"STAR", 0x0A01},
    {"\271\261\300\261", 0x0A01}, // 恒星
    {"CONS_NAME1", 0x0B01},
    {"\300\261\272\302\314\2761", 0x0B01}, // 星座名1
    {"CONS_NAME2", 0x0B02},
    {"\300\261\272\302\314\2762", 0x0B02}, // 星座名2
    {"CONS_LINE", 0x0B08},
    {"\300\261\272\302\300\376", 0x0B08}, // 星座線
    {"CONS_PICT", 0x0B10},
    {"\300\261\272\302\263\250", 0x0B10}, // 星座絵
    {"CONS_LIMIT", 0x0B20},
    {"\300\261\272\302\266\255\263\246\300\376", 0x0B20}, // 星座境界線
    {"NEBULA", 0x0C01},
    {"\300\261\261\300\303\304", 0x0C01}, // 星雲団
    {"NEBULA", 0x0C01},
    {"\300\261\261\300\300\261\303\304", 0x0C01}, // 星雲星団
    {"NEBULA_NAME", 0x0C02},
    {"\300\261\261\300\303\304\314\276", 0x0C02}, // 星雲団名
    {"NEBULA_NAME", 0x0C02},
    {"\300\261\261\300\300\261\303\304\314\276", 0x0C02}, // 星雲星団名
    {"NEBULA_MAG", 0x0C04},
    {"\300\261\261\300\305\371\265\351", 0x0C04}, // 星雲等級
    {"NEBULA_LINE", 0x0C08},
    {"\300\261\261\300\300\376", 0x0C08}, // 星雲線
    {"PLANETARY", 0x0D01},
    {"\317\307\300\261\276\365\300\261\261\300", 0x0D01}, // 惑星状星雲
    {"DIFFUSE", 0x0D02},
    {"\273\266\270\367\300\261\261\300", 0x0D02}, // 散光星雲
    {"GLOBE", 0x0D08},
    {"\265\345\276\365\300\261\303\304", 0x0D08}, // 球状星団
    {"OPEN", 0x0D10},
    {"\273\266\263\253\300\261\303\304", 0x0D10}, // 散開星団
    {"GALAXY", 0x0D20},
    {"\266\344\262\317", 0x0D20}, // 銀河
    {"COMPOUND", 0x0D40},
    {"\300\261\303\304\241\334\300\261\261\300", 0x0D40}, // 星団＋星雲
    {"MESSIER", 0x0E01},
    {"\245\341\245\267\245\250", 0x0E01}, // メシエ
    {"NGC", 0x0E02},
    {"IC", 0x0E04},
    {"DAYLIGHT", 0x0F01},
    {"\303\353\270\367", 0x0F01}, // 昼光
    {"TWILIGHT", 0x0F02},
    {"\315\274\276\306\244\261", 0x0F02}, // 夕焼け
    {"GROUNDLIGHT", 0x0F02},
    {"\303\317\276\345\270\367", 0x0F02}, // 地上光
    {"LANDSCAPE", 0x0F04},
    {"\303\317\276\345\311\367\267\312", 0x0F04}, // 地上風景
    {"METEOR", 0x0F08},
    {"\316\256\300\261", 0x0F08}, // 流星
    {"SWMETEOR", 0x0F10},
    {"\267\262\316\256\300\261", 0x0F10}, // 群流星
    {"SCMETEOR", 0x0F20},
    {"\273\266\272\337\316\256\300\261", 0x0F20}, // 散在流星
    {"HORIZON", 0x0F40},
    {"\303\317\312\277\300\376", 0x0F40}, // 地平線
    {"HRZ_GRID_NUM", 0x1004},
    {"EQT_GRID_2000_NUM", 0x1008},
    {"EQT_GRID_1950_NUM", 0x1010},
    {"EQT_GRID_DATE_NUM", 0x1020},
    {"ECL_GRID_NUM", 0x1040},
    {"GAL_GRID_NUM", 0x1080},
    {"HRZ_GRID", 0x1101},
    {"\271\342\305\331\312\375\260\314\300\376", 0x1101}, // 高度方位線
    {"DIR", 0x1102},
    {"\312\375\260\314", 0x1102}, // 方位
    {"MERIDIAN", 0x1104},
    {"\273\322\270\341\300\376", 0x1104}, // 子午線
    {"EQT_GRID_2000", 0x1201},
    {"\300\326\267\320\260\336\300\376_2000", 0x1201}, // 赤経緯線_2000
    {"EQT_GRID_1950", 0x1202},
    {"\300\326\267\320\260\336\300\376_1950", 0x1202}, // 赤経緯線_1950
    {"EQT_GRID_DATE", 0x1204},
    {"\300\326\267\320\260\336\300\376_DATE", 0x1204}, // 赤経緯線_DATE
    {"EQT_2000", 0x1208},
    {"\300\326\306\273_2000", 0x1208}, // 赤道_2000
    {"EQT_1950", 0x1210},
    {"\300\326\306\273_1950", 0x1210}, // 赤道_1950
    {"EQT_DATE", 0x1220},
    {"\300\326\306\273_DATE", 0x1220}, // 赤道_DATE
    {"ECL_GRID", 0x1301},
    {"\262\253\267\320\260\336\300\376", 0x1301}, // 黄経緯線
    {"ECL", 0x1302},
    {"\262\253\306\273", 0x1302}, // 黄道
    {"GAL_GRID", 0x1304},
    {"\266\344\262\317\267\320\260\336\300\376", 0x1304}, // 銀河経緯線
    {"GAL", 0x1308},
    {"\266\344\262\317\300\326\306\273", 0x1308}, // 銀河赤道
    {"SOL_GRID", 0x1310},
    {"\302\300\315\333\267\317\272\302\311\270\274\264", 0x1310}, // 太陽系座標軸
    {"WINDOW_CENTER", 0x1320},
    {"\245\246\245\243\245\363\245\311\245\246\303\346\261\373", 0x1320}, // ウィンドウ中央
    {"MRD_NUM", 0x1401},
    {"EQT_2000_NUM", 0x1402},
    {"EQT_1950_NUM", 0x1404},
    {"EQT_DATE_NUM", 0x1408},
    {"ECL_NUM", 0x1410},
    {"GAL_NUM", 0x1420},
    {"MENUBAR", 0x1501},
    {"TOOLBOX", 0x1502},
    {"TOOLBAR", 0x1502},
    {"STEPBOX", 0x1504},
    {"CTRLMENU", 0x1504},
    {"TRACE", 0x1601},
    {"FULLOW", 0x1601},
    {"\270\367\300\327", 0x1601}, // 光跡
    {"AD", 0x1701},
    {"AD_NAME", 0x1702},
    {"CD", 0x1704},
    {"STATUSBAR", 0x1801},
    {"STARNAME_J", 0x1901},
    {"\271\261\300\261\317\302\314\276", 0x1901}, // 恒星和名
    {"STARNAME", 0x1901},
    {"\271\261\300\261\270\307\315\255\314\276", 0x1901}, // 恒星固有名
    {"BAYER", 0x1902},
    {"\245\320\245\244\245\250\245\353\314\276", 0x1902}, // バイエル名
    {"FLAMSTEED", 0x1904},
    {"\245\325\245\351\245\340\245\271\245\301\241\274\245\311\314\276", 0x1904}, // フラムスチード名
    {"STAR_MAG", 0x1908},
    {"\271\261\300\261\305\371\265\351", 0x1908}, // 恒星等級
    {"VARIABLE", 0x1910},
    {"\312\321\270\367\300\261\314\276", 0x1910}, // 変光星名
    {"MILKYWAY", 0x1A04},
    {"\305\267\244\316\300\356", 0x1A04}, // 天の川
    {"VIEW_CIRCLE", 0x1B01},
    {"\273\353\314\356\261\337", 0x1B01}, // 視野円
    {"VIEW_PHOTO", 0x1B02},
    {"\274\314\314\356", 0x1B02}, // 写野
    {"IMAGE_MARK", 0x1B04},
    {"\262\350\301\374\245\336\241\274\245\257", 0x1B04}, // 画像マーク
    {"SKYMARK", 0x1C01},
    {"SKYMARK_NAME", 0x1C02},
    {"PICTUREMARK", 0x1D01},
};

// The display byte of each group and the bits that mean something in it;
// groups 0x15 and 0x1B are accepted words that switch nothing.
struct Group {
    int32_t group;
    uint8_t ChartState::*byte; // null: no byte
    uint8_t bits;
};
const Group kGroups[] = {
    {0x05, &ChartState::jupiterMoonFlags, 0x07},
    {0x0A, &ChartState::starFlags, 0x01}, // 0x20 and 0x40 belong to STARDATA
    {0x0B, &ChartState::constellationFlags, 0x3B},
    {0x0C, &ChartState::nebulaFlags, 0x0F},
    {0x0D, &ChartState::nebulaTypeFlags, 0x7B},
    {0x0E, &ChartState::nebulaCatalogFlags, 0x07},
    {0x0F, &ChartState::skyFlags, 0x7F}, // METEOR's 0x08 stands for 0x10 and 0x20
    {0x10, &ChartState::gridNumberFlags, 0xFC}, // bits 0..1 are the GRID mode
    {0x11, &ChartState::horizonGridFlags, 0x07},
    {0x12, &ChartState::equatorialGridFlags, 0x3F},
    {0x13, &ChartState::otherGridFlags, 0x3F},
    {0x14, &ChartState::lineNumberFlags, 0x3F},
    {0x15, nullptr, 0x07},
    {0x16, &ChartState::traceFlags, 0x01},
    {0x17, &ChartState::userObjectFlags, 0x07},
    {0x18, &ChartState::statusBar, 0x01},
    {0x19, &ChartState::starLabelFlags, 0x1F},
    {0x1A, &ChartState::milkyWayFlags, 0x04},
    {0x1B, nullptr, 0x07},
    {0x1C, &ChartState::skyMarkFlags, 0x03},
    {0x1D, &ChartState::pictureMarkFlags, 0x01},
};

const Group *groupOf(int32_t code)
{
    for (const Group &g : kGroups)
        if (g.group == code >> 8) return &g;
    return nullptr;
}

std::string printable(const char *word)
{
    std::string s;
    for (const char *p = word; *p; p++) {
        if (static_cast<unsigned char>(*p) < 128) {
            s += *p;
        } else {
            char oct[8];
            std::snprintf(oct, sizeof oct, "\\%03o", static_cast<unsigned char>(*p));
            s += oct;
        }
    }
    return s;
}

int32_t lookUp(const char *word)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s", word);
    int32_t code = -1;
    return stkLookupKeyword(buf, displayItemKeywords, &code) ? code : -1;
}

TEST(DisplayKeywords, EveryRowStandsInItsPlaceWithItsCode)
{
    size_t i = 0;
    for (const KeywordEntry *row = displayItemKeywords; row->keyword; row++, i++) {
        ASSERT_LT(i, sizeof kItems / sizeof kItems[0]) << "extra row " << printable(row->keyword);
        EXPECT_STREQ(row->keyword, kItems[i].word) << "row " << i;
        EXPECT_EQ(row->code, kItems[i].code) << printable(row->keyword);
    }
    EXPECT_EQ(i, sizeof kItems / sizeof kItems[0]) << "rows missing";
}

TEST(DisplayKeywords, EveryWordAnyCaseFindsItsCodeAndEveryCodeNamesItsFirstWord)
{
    std::map<int32_t, const char *> firstWord;
    for (const Item &item : kItems) firstWord.emplace(item.code, item.word);
    for (const Item &item : kItems) {
        SCOPED_TRACE(printable(item.word));
        EXPECT_EQ(lookUp(item.word), item.code);
        std::string lower = item.word;
        for (char &ch : lower)
            if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
        EXPECT_EQ(lookUp(lower.c_str()), item.code);
        // name -> code -> name: the scene writer's word reads back as the code.
        const char *name = stkKeywordName(displayItemKeywords, item.code);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, firstWord[item.code]);
        EXPECT_EQ(lookUp(name), item.code);
    }
}

// Two different items of one byte never share a bit, and each switches
// one bit that means something in its group's byte.
TEST(DisplayKeywords, ItemsOfOneGroupSwitchDistinctMeaningfulBits)
{
    std::map<int32_t, std::set<int32_t>> codesOfGroup;
    for (const KeywordEntry *row = displayItemKeywords; row->keyword; row++) {
        SCOPED_TRACE(printable(row->keyword));
        const Group *g = groupOf(row->code);
        ASSERT_NE(g, nullptr) << "a group with no display byte";
        const int bits = row->code & 0xFF;
        EXPECT_EQ(bits & (bits - 1), 0) << "one bit per item";
        EXPECT_NE(bits, 0);
        EXPECT_EQ(bits & ~g->bits, 0) << "a bit that means nothing in its byte";
        codesOfGroup[row->code >> 8].insert(row->code);
    }
    for (const auto &group : codesOfGroup) {
        int seen = 0;
        for (int32_t code : group.second) {
            EXPECT_EQ(seen & code & 0xFF, 0) << std::hex << code << " shares a bit";
            seen |= code & 0xFF;
        }
    }
}

// Where a layer already reads a display byte, the item's bit is the one it
// tests: by name where the layer exports it, and by what it draws.
TEST(DisplayKeywords, ItemBitsAreTheBitsTheirLayersRead)
{
    const struct {
        const char *word;
        uint8_t layerBit;
    } named[] = {
        {"JMOON", kJmoonShown},           {"JMOON", kJmoonShown},       {"JMOON_NAME", kJmoonName},
        {"JMOON_NO", kJmoonNo},      {"STAR", kStarShown},                {"STARNAME", kStarLabelName},
        {"BAYER", kStarLabelBayer},     {"FLAMSTEED", kStarLabelFlamsteed}, {"STAR_MAG", kStarLabelMag},
        {"DAYLIGHT", kSkyDaylight},     {"STATUSBAR", kStatusBarShown},
    };
    for (const auto &n : named) EXPECT_EQ(lookUp(n.word) & 0xFF, n.layerBit) << n.word;

    appDataSetDefaults();
    const Group *bar = groupOf(lookUp("STATUSBAR"));
    ASSERT_NE(bar, nullptr);
    for (bool on : {false, true}) {
        ChartState chart{};
        chart.*bar->byte = on ? static_cast<uint8_t>(lookUp("STATUSBAR") & 0xFF) : 0;
        RecordingCanvas canvas;
        const ChartRect r{0, 0, 400, 16};
        chartDrawStatusBar(&chart, &canvas, &r);
        EXPECT_EQ(!canvas.calls.empty(), on) << "status bar drawn";
    }

    // At noon on the equator at the equinox the Sun stands high: DAYLIGHT
    // lights the horizontal chart's sky, without it the sky stays dark.
    const Group *sky = groupOf(lookUp("DAYLIGHT"));
    ASSERT_NE(sky, nullptr);
    for (bool on : {false, true}) {
        std::unique_ptr<ChartState> chart(new ChartState());
        chartStateSetDefaults(chart.get());
        chart->mode = kModeHrz;
        chartSetSite(chart.get(), 0.0, 0.0, 0.0);
        const DateTime noon{2024, 3, 20, 12, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &noon);
        ephemUpdateAll(chart.get());
        (*chart).*sky->byte = on ? static_cast<uint8_t>(lookUp("DAYLIGHT") & 0xFF) : 0;
        updateSkyLevel(chart.get());
        EXPECT_EQ(chart->skyLevel, on ? kSkyLevelMax : 0) << "daylight " << on;
        chartStateFreeTables(chart.get());
    }
}

// SHOW sets and HIDE clears exactly the item's bits in its group's byte and
// touches no other display byte, but for the deep-sky switch that follows
// the type and catalogue items; the words of groups 0x15 and 0x1B change
// nothing.
TEST(DisplayKeywords, ShowAndHideSwitchTheItemsBitsInItsGroupsByteOnly)
{
    uiHooksRecordMessages();
    const Group *nebula = groupOf(0x0C01);
    for (const Item &item : kItems) {
        if (std::strcmp(stkKeywordName(displayItemKeywords, item.code), item.word) != 0) continue; // aliases
        const Group *g = groupOf(item.code);
        ASSERT_NE(g, nullptr);
        uint8_t bits = static_cast<uint8_t>(item.code & 0xFF);
        if (item.code == 0x0F08) bits = 0x30; // METEOR: shower and sporadic meteors
        for (bool show : {false, true}) {
            SCOPED_TRACE(std::string(show ? "SHOW " : "HIDE ") + item.word);
            appDataSetDefaults();
            appData->commandFromSocket = 1;
            std::unique_ptr<ChartState> chart(new ChartState());
            chartStateSetDefaults(chart.get());
            ChartState before = *chart;
            stkExecute(chart.get(), (std::string(show ? "SHOW " : "HIDE ") + item.word).c_str());
            EXPECT_STREQ(appData->errorId, "");
            for (const Group &other : kGroups) {
                if (!other.byte) continue;
                uint8_t expected = before.*other.byte;
                if (&other == g) expected = show ? (expected | bits) : (expected & ~bits);
                if (&other == nebula && show && (g->group == 0x0D || g->group == 0x0E)) expected |= 0x01;
                EXPECT_EQ((*chart).*other.byte, expected) << "byte of group " << std::hex << other.group;
            }
        }
    }
    appData->commandFromSocket = 0;
    uiHooksReset();
}

// The deep-sky type switches reach every type, the cluster with nebula
// (type 5) too: HIDE COMPOUND hides it and no other type, and hiding
// another type leaves it. The built-in tables hold no type 5 object, so the
// records are made here.
TEST(DisplayKeywords, EachDeepSkyTypeSwitchHidesItsOwnTypeOnly)
{
    uiHooksRecordMessages();
    auto record = [](uint32_t type) {
        return NebulaRecord{90u << 8 | type, nebulaFlagNgc | 1, 100};
    };
    struct Case {
        const char *command;
        int hiddenType; // -1: none
    } cases[] = {
        {"SHOW NEBULA", -1},        {"SHOW NEBULA; HIDE COMPOUND", 5}, {"SHOW NEBULA; HIDE GALAXY", 4},
        {"SHOW NEBULA; HIDE GLOBE", 3}, {"SHOW NEBULA; HIDE OPEN", 2},   {"SHOW NEBULA; HIDE PLANETARY", 0},
        {"SHOW NEBULA; HIDE COMPOUND; SHOW COMPOUND", -1},
    };
    for (const Case &c : cases) {
        appDataSetDefaults();
        std::unique_ptr<ChartState> chart(new ChartState());
        chartStateSetDefaults(chart.get());
        stkExecute(chart.get(), c.command);
        ASSERT_STREQ(appData->errorId, "") << c.command;
        for (uint32_t type = 0; type < 6; type++) {
            const NebulaRecord r = record(type);
            EXPECT_EQ(nebulaIsShown(chart.get(), &r), static_cast<int>(type) == c.hiddenType ? 0 : 1)
                << c.command << ", type " << type;
        }
    }
    uiHooksReset();
}

// Each GRID mode is stored as its own setting in bits 0..1 of the grid
// byte; the grid-number bits around them stay as they were.
TEST(GridKeyword, EachModeStoresItsOwnSettingAndKeepsTheNumberBits)
{
    const struct {
        const char *word;
        int mode;
    } modes[] = {{"NORMAL", 0}, {"MODE1", 1}, {"MODE2", 2}, {"MODE3", 3}};
    uiHooksRecordMessages();
    std::set<int> stored;
    for (uint8_t numbers : {uint8_t{0x00}, uint8_t{0xFC}, uint8_t{0x54}}) {
        for (const auto &m : modes) {
            SCOPED_TRACE(std::string(m.word) + " over " + std::to_string(numbers));
            appDataSetDefaults();
            appData->commandFromSocket = 1; // keep the message, show no box
            std::unique_ptr<ChartState> chart(new ChartState());
            chartStateSetDefaults(chart.get());
            chart->gridNumberFlags = static_cast<uint8_t>(numbers | (3 - m.mode));
            stkExecute(chart.get(), (std::string("GRID ") + m.word).c_str());
            EXPECT_STREQ(appData->errorId, "");
            EXPECT_EQ(chart->gridNumberFlags & 0x03, m.mode);
            EXPECT_EQ(chart->gridNumberFlags & 0xFC, numbers);
            stored.insert(chart->gridNumberFlags);
        }
    }
    EXPECT_EQ(stored.size(), 12u) << "four modes, each its own setting";
    appData->commandFromSocket = 0;
    uiHooksReset();
}

} // namespace
