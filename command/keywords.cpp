#include "command/keywords.h"

#include "model/chart_state.h"
#include "model/position.h"
#include "model/ui_hooks.h"

const KeywordEntry modeKeywords[] = {
    {"HRZ", kModeHrz},
    {"EQT", kModeEqt},
    {"ECL", kModeEcl},
    {"GAL", kModeGal},
    {"SOL1", kModeSol1},
    {"SOL2", kModeSol2},
    {"SOL3", kModeSol3},
    {"PLNS", kModePlns},
    {"ALL1_EQT", kModeAll1Eqt},
    {"ALL1_ECL", kModeAll1Ecl},
    {"ALL1_GAL", kModeAll1Gal},
    {"ALL2_EQT", kModeAll2Eqt},
    {"ALL2_ECL", kModeAll2Ecl},
    {"ALL2_GAL", kModeAll2Gal},
    {nullptr, 0},
};

const KeywordEntry timesysKeywords[] = {
    {"LST", 0},
    {"UT", 1},
    {"LMT", 2},
    {nullptr, 0},
};

const KeywordEntry gridKeywords[] = {
    {"NORMAL", 0},
    {"MODE1", 1},
    {"MODE2", 2},
    {"MODE3", 3},
    {nullptr, 0},
};

const KeywordEntry loadKeywords[] = {
    {"AD", 5},
    {"CLICKDATA", 7},
    {nullptr, 0},
};

const KeywordEntry inputKeywords[] = {
    {"DATE", kInputDialogDate},
    {"PERIOD", kInputDialogPeriod},
    {"LOCATE", kInputDialogLocate},
    {"OPENFILE", kInputDialogOpenFile},
    {"SAVEFILE", kInputDialogSaveFile},
    {nullptr, 0},
};

const KeywordEntry positionKeywords[] = {
    {"HRZ", kPosHrz},
    {"EQT", kPosEqt},
    {"EQT_B1950", kPosEqtB1950},
    {"EQT_DATE", kPosEqtDate},
    {"ECL", kPosEcl},
    {"GAL", kPosGal},
    {"STAR", kPosStar},
    {"CONS", kPosCons},
    {"NEBULA", kPosNebula},
    {"SCREEN", kPosScreen},
    {"AD", kPosUserObject},
    {"VIEW_CENTER", kPosViewCenter},
    {"SKYMARK", kPosSkyMark},
    {nullptr, 0},
};

// Japanese aliases are EUC-JP byte strings (octal escapes, the text in the
// comment), compared byte for byte after the ASCII upper-casing, which leaves
// bytes above 127 alone. "NEBULA" and "NEBULA_NAME" stand in the table twice.
const KeywordEntry displayItemKeywords[] = {
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
    {nullptr, 0},
};
