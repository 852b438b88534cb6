// The Date dialog, pure half: the chart's date and time of day in one of
// three layouts, and the time-of-day lock at sunrise or sunset.
#pragma once

#include "ui/dialogs/dialog_kit.h"

struct DateDialogValues {
    char year[7];        // "EditYear": room for any year the chart holds
    char month[3];       // "EditMonth" (Japanese and European layouts)
    int32_t monthChoice; // "MonthMenu" (English layout): 1..12
    char day[3];         // "EditDay" and the rest: at most 2
    char hour[3];
    char minute[3];
    ToggleValue stime;   // "ToggleStime": the lock is on
    char stimeMin[3];    // "EditStimeMin": minutes before or after
    ToggleValue before;  // "ToggleBefore"
    ToggleValue after;   // "ToggleAfter"
    ToggleValue rise;    // "ToggleRise"
    ToggleValue set;     // "ToggleSet"
    double zoneHours;    // the chart's zone, shown nowhere: Now reads the clock in it
};

// The layouts, by the chart's dateStyle: 1 Japanese (year, month, day),
// 2 European (day, month, year), any other English (month menu, day, year).
extern const DialogSpec kDateDialogJapanese;
extern const DialogSpec kDateDialogEuropean;
extern const DialogSpec kDateDialogEnglish;
const DialogSpec *dateDialogLayout(int dateStyle);

// The DATE text of the fields (seconds 0, the chart's zone), or a refusal
// with messageInputValidDate. 1 when added.
int dateDlgRead(const DateDialogValues *v, int englishLayout, const ChartState *chart, DialogResult *out);

// The STIME text of the lock fields ("STIME NONE" with the toggle off,
// which also removes an altitude lock the dialog cannot show), or a refusal
// with messageLockTimeMinimum. 1 unless refused.
int timeLockCommand(const DateDialogValues *v, const ChartState *chart, DialogResult *out);
