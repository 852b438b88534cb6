// What the scroll bars, a drag and the pop-up menu's position readout turn
// into, as pure functions of the chart state (no X here): the callbacks in
// navigation.cpp read the widgets, ask these, and run the text.
//
// Slider units are tenths of a degree. The sky's longitude grows to the left,
// so in the equatorial, ecliptic and galactic charts the horizontal slider
// runs against it (value 3601 - longitude x 10).
#pragma once

#include <cstdint>

struct ChartState;
struct Vec3;

// Scroll actions (viewScrollHorizontal/viewScrollVertical).
enum {
    kScrollStepBack = 1,
    kScrollStepForward = 2,
    kScrollPageBack = 3,
    kScrollPageForward = 4,
    kScrollDrag = 5,
};

// The horizontal bar's fixed range.
constexpr int kHScrollMinimum = 0;
constexpr int kHScrollMaximum = 3761;
constexpr int kHScrollSlider = 160;

// The command a scroll runs and the slider value it leaves. value is the
// bar's value for kScrollDrag and ignored otherwise. The command is empty
// when the mode's system has no scroll (never for the fourteen modes).
void scrollHorizontalCommand(const ChartState *chart, int action, int value, char *command, int size,
                             int *slider);
void scrollVerticalCommand(const ChartState *chart, int action, int value, char *command, int size,
                           int *slider);

// How both bars show the view.
struct ScrollBarSettings {
    int verticalShown;                 // 0: unmanaged (whole-sky maps, planisphere)
    int vMinimum, vMaximum, vSlider, vValue;
    int hValue;                        // minimum, maximum, slider: the constants above
};
ScrollBarSettings scrollBarSettings(const ChartState *chart);

// A value moved into [minimum, maximum - slider], the only values Motif takes
// without a warning (it would move the slider on its own).
int scrollValueClamped(int value, int minimum, int maximum, int slider);

// The pan of a drag by (dx, dy) pixels from (x, y): "TRACK OFF;LOOK ..."
// with the centre moved by the sky angle between the two pixels, folded over
// a pole. Returns 0 (command empty) when either pixel is off the sky.
int panCommand(const ChartState *chart, int x, int y, int dx, int dy, char *command, int size);

// The pointer-position readout of the pop-up menu, one text per format
// (format and name resources already fetched by the caller).
void formatEquatorialPosition(char *out, int size, const char *format, const char *name, double raDeg,
                              double decDeg);
void formatEclipticPosition(char *out, int size, const char *format, const char *name, double lonDeg,
                            double latDeg);
void formatHorizontalPosition(char *out, int size, const char *format, const char *name, double azDeg,
                              double altDeg);

// The four readout lines for the J2000 direction dir (J2000, of date,
// ecliptic, horizontal), each of size kPositionLabelSize, with the label
// and format resources. Returns 3, or 4 when the chart is not a
// solar-system view (which has no horizon).
constexpr int kPositionLabelSize = 256;
int positionLabelTexts(const ChartState *chart, const Vec3 *dir, char texts[4][kPositionLabelSize]);

// How a tool-bar button shows the chart: shadow 1 pressed in, 0 raised, -1
// left as it is; sensitive 1 or 0, -1 left as it is.
struct ToolbarButtonState {
    int shadowIn;
    int sensitive;
};
ToolbarButtonState toolbarButtonState(int button, const ChartState *chart);

// The mode a mode button switches to, or 0 for another button.
int32_t toolbarButtonMode(int button);
