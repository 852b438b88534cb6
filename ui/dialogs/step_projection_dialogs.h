// The Time Step and Projection dialogs, pure halves: the play step or real-
// time playing, and the chart mode, as command text.
#pragma once

#include "ui/dialogs/dialog_kit.h"

// ---- Time Step --------------------------------------------------------------

// The five step fields in order: years, months, days, hours, minutes.
constexpr int kTimeStepFieldCount = 5;
constexpr int kTimeStepYearMax = 9999; // the other fields stop at 99
constexpr int kTimeStepFieldMax = 99;

struct TimeStepValues {
    ToggleValue realTime;   // "ToggleRealTime"
    ToggleValue sysTime;    // "ToggleRTSysTime": playing by the system clock
    ToggleValue setting;    // "ToggleRTSetting": from the current setting
    char year[5];           // "EditYear", at most 4 characters
    char month[4];          // "EditMonth" and the rest: at most 3
    char day[4];
    char hour[4];
    char minute[4];
};

extern const DialogSpec kTimeStepDialog;

// ---- Projection --------------------------------------------------------------

constexpr int kProjMajorCount = 5; // chart, All-Sky cylindrical, Aitoff, solar system, planisphere
constexpr int kProjMinorCount = 4; // horizontal, equatorial, ecliptic, galactic

struct ProjectionValues {
    ToggleValue major[kProjMajorCount]; // "ToggleMajorModeGeneral" .. "ToggleMajorModePlns"
    ToggleValue minor[kProjMinorCount]; // "ToggleMinorModeHrz" .. "ToggleMinorModeGal"
};

// The toggles of a chart mode: 1 with *major and *minor (minor -1 when the
// mode has none), 0 for a code that is no mode.
int projDlgModeToToggles(int mode, int *major, int *minor);

extern const DialogSpec kProjectionDialog;
