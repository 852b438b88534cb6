// Coordinate grids, reference great circles, the meridian, the ground below
// the horizon and the direction labels.
//
// Every grid is one table of Q14 points of one octant in the grid's own
// system, reflected into the others by sign changes; a grid of another
// system is drawn by multiplying the chart's view matrices by that system's
// rotation for the time of the drawing, so the projection turns the table
// into screen points with no trigonometry per point.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "astro/types.h"
#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;

// ---- the point tables (render/layers/grid_tables.cpp) ----------------------
constexpr int kGridLatitudes = 9;        // i = 0..8: 80, 70, ..., 0 degrees
constexpr int kGridHourRows = 7;         // j = 0..6; 7..12 are rows 12 - j with x and y exchanged
constexpr int kGridHourMeridians = 12;   // per quadrant, 7.5 degrees apart
constexpr int kGridDegreeMeridians = 9;  // per quadrant, 10 degrees apart
extern const int32_t gridLatitudeZ[kGridLatitudes];
extern const int32_t gridHourXY[kGridLatitudes][kGridHourRows][2];
extern const int32_t gridDegreeXY[kGridLatitudes][kGridDegreeMeridians + 1][2];
extern const Vec3Q14 gridPoleBars[4][2]; // north two, then south two
extern const int32_t horizonSineQ14[19]; // sin(5k degrees), k = 0..18

// The nearest integer, halves away from zero (the vertex builders' rounding).
int roundHalfAway(double v);

/*
 * gridPoint: grid point of meridian j and latitude index i in octant o.
 * Given:    degree  1 degree meridians (j = 0..9), 0 hour meridians (0..12)
 *           octant  0..7: o > 3 negates z; 1 and 5 negate x; 2 and 6 x and y;
 *                   3 and 7 y
 * Returned: out     Q14 unit vector in the grid's system
 */
void gridPoint(int degree, int octant, int j, int i, Vec3Q14 *out);

// Label styles of gridLabelFormat.
enum : int32_t { kGridLabelGreatCircle = 0, kGridLabelCelestial = 1, kGridLabelHorizontal = 2 };

// The label formats of the grids' resources: the hour and degree formats 1
// (latitude >= 1), 2 (latitude <= 0) and 3 (great circles), and the
// meridian's altitude format.
constexpr int kGridFormatSize = 64;
struct GridLabelFormats {
    char ra[3][kGridFormatSize];
    char dc[3][kGridFormatSize];
    char altitude[kGridFormatSize];
};
void gridLabelFormatsLoad(GridLabelFormats *out);

// The grid labels of one frame: the formats read once, and each label's
// text and width made the first time the frame draws it (the grids of
// several systems share the labels of their tables).
struct GridLabelTexts {
    GridLabelFormats formats;
    struct Made {
        int32_t at = -1; // offset in text; -1 not made yet, -2 no label
        int16_t length = 0;
        int16_t width = 0;
    };
    std::vector<Made> made;
    std::string text;
};
// Reads the formats and empties the made labels.
void gridLabelTextsStart(GridLabelTexts *texts);

/*
 * gridLabelFormat: the text of a grid label.
 * Given:    mode     the chart mode (the horizontal style drops latitude 0 in
 *                    the horizontal chart and the planisphere)
 *           degree, octant, j, i as gridPoint; style kGridLabel*
 * Returned: 1 and the text in buf (size len); 0 when the point has no label
 *           (odd j on hour grids, latitude 0 in the horizontal style there)
 */
int gridLabelFormat(int32_t mode, int degree, int style, int octant, int j, int i, char *buf, int len);
// The same with the formats read beforehand.
int gridLabelFormatWith(const GridLabelFormats *formats, int32_t mode, int degree, int style, int octant, int j,
                        int i, char *buf, int len);

// Whether a grid line is dashed: main lines are dashed at subdivision 0
// and solid otherwise; the equator of the grid (i = 8) is always solid.
int gridLineDashed(int subdivision, int equator);

// The subdivision a grid is drawn with: 0 on the whole-sky maps.
int gridEffectiveSubdivision(int32_t mode, int subdivision);

struct GridRequest {
    ChartState *chart;
    Canvas *canvas;
    int degree;       // 1: degree meridians, 0: hour meridians
    int octants;      // 8 the whole sphere, 4 the upper hemisphere
    int subdivision;  // 0..3
    int labels;       // non-zero: labels on
    int style;        // kGridLabel*
    int32_t colour;   // PaletteIndex
    GridLabelTexts *texts;
    int kept;         // the system's record in the chart's kept grids, kKeptGrid*
};
enum : int { kKeptGridHorizon, kKeptGridJ2000, kKeptGridDate, kKeptGridB1950, kKeptGridEcliptic, kKeptGridGalactic };

void drawGrid(const GridRequest *req);
void drawGreatCircle(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int degree, int octants,
                     int labels, int32_t colour);
void drawGridSegment(ChartState *chart, Canvas *canvas, const ProjectedPoint *p, const ProjectedPoint *q, int dashed,
                     int32_t colour);
void gridLabelText(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, const ProjectedPoint *point,
                   int octant, int j, int i, int n, int labels, int style);
void drawAltitudeLabels(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int labels,
                        int32_t colour);

// Grid kinds of the system drawers.
enum : int32_t { kGridKindLine = 0, kGridKindGrid = 1, kGridKindMeridian = 2 };

void drawEquatorialGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
void drawEqtGridDate(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
void drawEqtGridB1950(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
void drawRotatedGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, const Mat3 *rotation,
                     int b1950, int32_t colour);
void drawEclipticGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
void drawGalacticGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
void drawHorizontalGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour);
// Runs draw with the chart's view in the horizon frame (x to the south point,
// y to the east point, z to the zenith), then puts the view back.
void drawInHorizonFrame(ChartState *chart, Canvas *canvas, void (*draw)(ChartState *chart, Canvas *canvas));

// The grids and lines of the display bits, in their fixed order.
void chartDrawGrids(ChartState *chart, Canvas *canvas);
