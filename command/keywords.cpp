#include "command/keywords.h"

#include "model/chart_state.h"
#include "model/position_spec.h"
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
