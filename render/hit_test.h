// Picking: which shown object lies under a chart pixel, and stepping through
// the objects found on one spot by repeated clicks.
//
// A pick is a PositionSpec kind and index kept in the chart state (hitKind,
// hitIndex). The classes are searched in a fixed order, each over a range of
// its own rows; cycling starts just after the current pick and wraps round to
// end at the pick itself, so a lone object under the pointer is found again.
#pragma once

#include <cstdint>

struct ChartState;
struct ImageList;

// The searched classes, in search order.
enum HitClass : int {
    kHitViewCenter = 0,     // empty
    kHitBodies = 1,         // Earth, Sun, Moon, Mercury .. Pluto (kind 51)
    kHitComets = 2,         // kind 51, ids 10000 + i
    kHitMinorPlanets = 3,   // kind 51, ids 20000 + i
    kHitConstellations = 4, // empty
    kHitStars = 5,          // kind 50
    kHitNebulae = 6,        // kind 53
    kHitJupiterMoons = 7,   // kind 54
    kHitUserObjects = 8,    // kind 55
    kHitNamedPoints = 9,    // kind 56
    kHitSkyMarks = 10,      // empty
    kHitClassCount = 11,
};

// Rows [first, end) of each class to search; end 0 leaves a class out.
struct HitSearchRange {
    int32_t first, end;
};

// The number of rows of a class on the chart as it is now (the comet and
// minor-planet tables and the user-object files change while a pick lives).
int32_t hitClassRowCount(const ChartState *chart, int hitClass);

// The class and row of a pick; 0 when the pick names nothing on the chart as
// it is now (no pick, an unknown kind, or a row past its table).
int hitPickRow(const ChartState *chart, int32_t kind, int32_t index, int *hitClass, int32_t *row);

// 1 when hitKind/hitIndex name an object that still exists.
int hitPickIsValid(const ChartState *chart);

/*
 * hitTestObjects: the class-by-class search at a pixel.
 * Given:    xy      screenPointPack(x, y) of the pixel already moved to
 *                   the hot spot (one left and one up of the click)
 *           ranges  kHitClassCount rows to search per class
 * Returned: 1 and hitKind/hitIndex set on the first hit, else 0 (they stay)
 */
int hitTestObjects(ChartState *chart, int32_t xy, const HitSearchRange ranges[kHitClassCount]);

/*
 * hitTest: the object under a clicked pixel, cycling from the current pick.
 * Given:    xy  screenPointPack(x, y) of the click in drawing-area pixels
 * Returned: 1 and hitKind/hitIndex set when an object was found, else 0
 *           (they stay). Nothing is found in the status bar, off the map
 *           or below the horizon of the horizontal chart and planisphere.
 */
int hitTest(ChartState *chart, int32_t xy);

// The quarter of chartRect a pixel lies in: 1 upper left, 2 upper right,
// 3 lower left, 4 lower right; the middle column and row count as right and
// lower.
int hitQuarter(const ChartState *chart, int32_t x, int32_t y);

/*
 * clickDataSelect: picks at a click and prepares the click-data dialog.
 * Returned: 1 when an object is selected (the dialog shows it), 0 when not;
 *           a miss clears the selection (clickFlags, clickText, the point).
 */
int clickDataSelect(ChartState *chart, int32_t xy);

/*
 * chartCountObjectsAtPoint: every object hit at a pixel, each once, with
 * its click-data pictures appended to list.
 * Returned: the number of pictures added; hitKind/hitIndex are unchanged.
 */
int chartCountObjectsAtPoint(ChartState *chart, int32_t xy, ImageList *list);

// The pop-up menu's object buttons: one per kind of object at a pixel.
enum PopupObjectButton : int {
    kPopupStar,
    kPopupSun,
    kPopupMoon,
    kPopupPlanet,
    kPopupComet,
    kPopupMinorPlanet,
    kPopupNebula,
    kPopupJupiterMoon,
    kPopupButtonKinds,
};

// The button kind of a pick, or -1 for one that has no dialog (the Earth,
// user objects, named points).
int popupButtonOfPick(int32_t kind, int32_t index);

/*
 * popupObjectButtonsAt: the button kinds of the objects at a pixel, at most
 * one per kind, in the order their objects are found.
 * Returned: their number (at most max); hitKind/hitIndex are unchanged.
 */
int popupObjectButtonsAt(ChartState *chart, int32_t xy, int *buttons, int max);
