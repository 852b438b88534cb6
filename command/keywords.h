// Keyword tables of the command language: rows of {keyword, code}, each
// ended by a null row; looked up with stkLookupKeyword.
#pragma once

#include "command/interpreter.h"
#include "model/position.h" // positionKeywords, beside its parser

extern const KeywordEntry modeKeywords[];     // MODE: ChartMode codes
extern const KeywordEntry timesysKeywords[];  // TIMESYS: 0 LST, 1 UT, 2 LMT
extern const KeywordEntry gridKeywords[];     // GRID: NORMAL 0 .. MODE3 3
// LOAD, UNLOAD.
enum : int32_t { kLoadUserObjects = 5, kLoadClickData = 7 };
extern const KeywordEntry loadKeywords[];
extern const KeywordEntry inputKeywords[];    // INPUT: kInputDialog* codes
// SHOW, HIDE, TOGGLE: code = group << 8 | bits, the group selecting a display
// byte of the chart state; the first row of a code names it in scene files.
extern const KeywordEntry displayItemKeywords[];
// The keyword groups of displayItemKeywords (code >> 8).
enum : int32_t {
    kGroupJupiterMoons = 0x05,
    kGroupStars = 0x0A,
    kGroupConstellations = 0x0B,
    kGroupNebulae = 0x0C,
    kGroupNebulaTypes = 0x0D,
    kGroupNebulaCatalogs = 0x0E,
    kGroupSky = 0x0F,
    kGroupGridNumbers = 0x10,
    kGroupHorizonGrid = 0x11,
    kGroupEquatorialGrid = 0x12,
    kGroupOtherGrids = 0x13,
    kGroupLineNumbers = 0x14,
    kGroupTrace = 0x16,
    kGroupUserObjects = 0x17,
    kGroupStatusBar = 0x18,
    kGroupStarLabels = 0x19,
    kGroupMilkyWay = 0x1A,
    kGroupSkyMarks = 0x1C,
    kGroupPictureMarks = 0x1D,
};
