#include "render/layers/grids.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/calendar.h"
#include "astro/coords.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "render/lines.h"
#include "render/palette.h"
#include "render/projection.h"

// The projected table of one octant: each point projected once.
struct GridOctantTable {
    ProjectedPoint p[kGridHourMeridians + 1][kGridLatitudes];
    int visible[kGridHourMeridians + 1][kGridLatitudes];
};

namespace {

constexpr int kLabelSize = 64;
constexpr int kEquatorRow = kGridLatitudes - 1;

// A system's rotation (system frame to J2000) applied to the chart's view
// and view-depth matrices, double and Q14; the destructor puts all four back.
class SystemView {
  public:
    explicit SystemView(ChartState *chart) : chart_(chart) {
        view_ = chart->viewMatrix;
        horizon_ = chart->horizonMatrix;
        viewQ14_ = chart->viewMatrixQ14;
        horizonQ14_ = chart->horizonMatrixQ14;
    }
    SystemView(const SystemView &) = delete;
    SystemView &operator=(const SystemView &) = delete;
    ~SystemView() {
        chart_->viewMatrix = view_;
        chart_->horizonMatrix = horizon_;
        chart_->viewMatrixQ14 = viewQ14_;
        chart_->horizonMatrixQ14 = horizonQ14_;
    }

    void rotate(const Mat3 *r) {
        mat3Mul(&view_, r, &chart_->viewMatrix);
        mat3Mul(&horizon_, r, &chart_->horizonMatrix);
        mat3ToQ14(&chart_->viewMatrix, &chart_->viewMatrixQ14);
        mat3ToQ14(&chart_->horizonMatrix, &chart_->horizonMatrixQ14);
    }

    // The horizon frame itself: the view matrix is the given one and the
    // depth is the height above the horizon plane (identity depth matrix).
    void horizonFrame(const Mat3 *view) {
        chart_->viewMatrix = *view;
        mat3Identity(&chart_->horizonMatrix);
        mat3ToQ14(&chart_->viewMatrix, &chart_->viewMatrixQ14);
        mat3ToQ14(&chart_->horizonMatrix, &chart_->horizonMatrixQ14);
    }

  private:
    ChartState *chart_;
    Mat3 view_, horizon_;
    Mat3Q14 viewQ14_, horizonQ14_;
};

void drawLabelAt(Canvas *canvas, int x, int y, const char *text, int centred) {
    const int len = static_cast<int>(std::strlen(text));
    const int w = canvas->textExtent(GridNumFontset, text, len).width;
    canvas->setForeground(chartPixel(ColorGridNumFont));
    canvas->drawString(GridNumFontset, centred ? x - w / 2 : x - w, y - 2, text, len);
}

// Kept out of the optimiser's whole-program analysis: GCC 12 with -O3 or
// link-time optimisation took this for a routine that writes no memory and
// dropped its calls, so the shipped build drew every grid from unset tables
// (ShippedBuildX shows it).
__attribute__((noipa)) void projectOctant(ChartState *chart, int degree, int octant, int n, GridOctantTable *out) {
    for (int j = 0; j <= n; j++)
        for (int i = 0; i < kGridLatitudes; i++) {
            Vec3Q14 v;
            gridPoint(degree, octant, j, i, &v);
            out->p[j][i] = ProjectedPoint{0, 0, 0, 0};
            out->visible[j][i] = projectPoint(chart, &v, &out->p[j][i]);
        }
}

// The system's octant tables from the chart's kept record, projected anew
// into it when the projection's inputs (the view turned to the system) or
// the tables changed; null when there is no room for them.
const GridOctantTable *keptGridTables(ChartState *chart, int slot, int degree, int octants) {
    if (slot < 0 || slot >= kKeptGridCount || octants < 0 || octants > 8) return nullptr;
    KeptGrid &grid = chart->frame.grids[slot];
    ProjectionInputs now;
    projectionInputs(chart, &now);
    if (grid.tables != nullptr && grid.degree == degree && grid.octants == octants &&
        std::memcmp(&grid.inputs, &now, sizeof now) == 0)
        return grid.tables;
    if (grid.tables == nullptr) {
        grid.tables = static_cast<GridOctantTable *>(std::malloc(8 * sizeof(GridOctantTable)));
        if (grid.tables == nullptr) {
            grid = KeptGrid{};
            return nullptr;
        }
    }
    const int n = degree ? kGridDegreeMeridians : kGridHourMeridians;
    for (int octant = 0; octant < octants; octant++)
        projectOctant(chart, degree, octant, n, &grid.tables[octant]);
    grid.inputs = now;
    grid.degree = degree;
    grid.octants = octants;
    return grid.tables;
}

ProjectedPoint between(const ProjectedPoint &a, const ProjectedPoint &b, int k, int c) {
    ProjectedPoint r = a;
    r.x = a.x + roundHalfAway(static_cast<double>(b.x - a.x) * k / c);
    r.y = a.y + roundHalfAway(static_cast<double>(b.y - a.y) * k / c);
    return r;
}

// Dashed lines across a cell, interpolated in screen space between two
// opposite edges (a0-a1 and b0-b1) at the fractions k / c, k = 1..c - 1.
void cellLines(const GridRequest *req, const ProjectedPoint &a0, const ProjectedPoint &a1, const ProjectedPoint &b0,
               const ProjectedPoint &b1, int c) {
    for (int k = 1; k < c; k++) {
        const ProjectedPoint p = between(a0, a1, k, c), q = between(b0, b1, k, c);
        drawGridSegment(req->chart, req->canvas, &p, &q, 1, req->colour);
    }
}

void subdivideCell(const GridRequest *req, const GridOctantTable &o, int j, int i) {
    static const int kParts[4] = {1, 2, 5, 10};
    const int c = kParts[req->subdivision];
    const ProjectedPoint &tl = o.p[j - 1][i - 1], &tr = o.p[j][i - 1];
    const ProjectedPoint &bl = o.p[j - 1][i], &br = o.p[j][i];
    // Sub-meridians between the cell's upper and lower parallel.
    int meridianParts = c;
    if (!req->degree) {
        if (j % 2 == 1) drawGridSegment(req->chart, req->canvas, &tr, &br, 1, req->colour); // the half hour
        meridianParts = req->subdivision == 2 ? 3 : (req->subdivision == 3 ? 6 : 1);
    }
    cellLines(req, tl, tr, bl, br, meridianParts);
    // Sub-parallels between the cell's two meridians.
    cellLines(req, tl, bl, tr, br, c);
}

} // namespace

int roundHalfAway(double v) { return static_cast<int>(v >= 0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5)); }

void gridPoint(int degree, int octant, int j, int i, Vec3Q14 *out) {
    int32_t x, y;
    if (degree) {
        x = gridDegreeXY[i][j][0];
        y = gridDegreeXY[i][j][1];
    } else if (j < kGridHourRows) {
        x = gridHourXY[i][j][0];
        y = gridHourXY[i][j][1];
    } else {
        x = gridHourXY[i][kGridHourMeridians - j][1];
        y = gridHourXY[i][kGridHourMeridians - j][0];
    }
    const int q = octant & 3;
    if (q == 1 || q == 2) x = -x;
    if (q == 2 || q == 3) y = -y;
    out->x = x;
    out->y = y;
    out->z = octant > 3 ? -gridLatitudeZ[i] : gridLatitudeZ[i];
}

void gridLabelFormatsLoad(GridLabelFormats *out) {
    static const char *const kRa[3] = {"messageGridEqtRaFormat1", "messageGridEqtRaFormat2", "messageGridEqtRaFormat3"};
    static const char *const kDc[3] = {"messageGridEqtDcFormat1", "messageGridEqtDcFormat2", "messageGridEqtDcFormat3"};
    for (int k = 0; k < 3; k++) {
        getResourceFormat(kRa[k], k == 2 ? "d" : "dd", out->ra[k], sizeof out->ra[k]);
        getResourceFormat(kDc[k], k == 2 ? "d" : "dd", out->dc[k], sizeof out->dc[k]);
    }
    getResourceFormat("messageGridDegFormat", "d", out->altitude, sizeof out->altitude);
}

int gridLabelFormatWith(const GridLabelFormats *formats, int32_t mode, int degree, int style, int octant, int j,
                        int i, char *buf, int len) {
    const int q = octant & 3;
    int g;
    if (degree) {
        const int a = 10 * j;
        g = q == 0 ? a : q == 1 ? 180 - a : q == 2 ? 180 + a : (a == 0 ? 0 : 360 - a);
    } else {
        if (j % 2 != 0) return 0;
        const int h = j / 2;
        g = q == 0 ? h : q == 1 ? 12 - h : q == 2 ? 12 + h : (h == 0 ? 0 : 24 - h);
    }
    const int d = octant < 4 ? 80 - 10 * i : 10 * i - 80;
    if (style == kGridLabelGreatCircle) {
        std::snprintf(buf, static_cast<size_t>(len), degree ? formats->dc[2] : formats->ra[2], g);
        return 1;
    }
    if (style == kGridLabelHorizontal) {
        if (d == 0 && (mode == kModeHrz || mode == kModePlns)) return 0;
        if (g != 0) g = 360 - g; // azimuths count from the south through the west
    }
    const char(*set)[kGridFormatSize] = degree || style == kGridLabelHorizontal ? formats->dc : formats->ra;
    std::snprintf(buf, static_cast<size_t>(len), set[d >= 1 ? 0 : 1], g, d);
    return 1;
}

int gridLabelFormat(int32_t mode, int degree, int style, int octant, int j, int i, char *buf, int len) {
    GridLabelFormats formats;
    gridLabelFormatsLoad(&formats);
    return gridLabelFormatWith(&formats, mode, degree, style, octant, j, i, buf, len);
}

int gridLineDashed(int subdivision, int equator) { return !equator && subdivision == 0; }

int gridEffectiveSubdivision(int32_t mode, int subdivision) {
    if (isCylindricalMode(mode) || isAitoffMode(mode)) return 0;
    return subdivision & kGridSubdivisionMask;
}

void drawGridSegment(ChartState *chart, Canvas *canvas, const ProjectedPoint *p, const ProjectedPoint *q, int dashed,
                     int32_t colour) {
    canvas->setLineAttributes(appData->lineWidth, dashed ? LineStyleOnOffDash : LineStyleSolid, CapStyleButt,
                              JoinStyleMiter);
    canvas->setForeground(chartPixel(colour));
    chartDrawSegment(chart, canvas, p, q);
}

void gridLabelTextsStart(GridLabelTexts *texts) {
    gridLabelFormatsLoad(&texts->formats);
    texts->made.assign(2 * 3 * 8 * (kGridHourMeridians + 1) * kGridLatitudes, GridLabelTexts::Made{});
    texts->text.clear();
}

void gridLabelText(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, const ProjectedPoint *point,
                   int octant, int j, int i, int n, int labels, int style) {
    if (!labels) return;
    const int degree = n == kGridDegreeMeridians;
    GridLabelTexts::Made &m =
        texts->made[static_cast<size_t>((((degree * 3 + style) * 8 + octant) * (kGridHourMeridians + 1) + j) *
                                            kGridLatitudes + i)];
    if (m.at == -1) {
        char text[kLabelSize];
        if (!gridLabelFormatWith(&texts->formats, chart->mode, degree, style, octant, j, i, text, sizeof text)) {
            m.at = -2;
        } else {
            m.at = static_cast<int32_t>(texts->text.size());
            m.length = static_cast<int16_t>(std::strlen(text));
            m.width = static_cast<int16_t>(canvas->textExtent(GridNumFontset, text, m.length).width);
            texts->text.append(text, static_cast<size_t>(m.length));
        }
    }
    if (m.at < 0) return;
    canvas->setForeground(chartPixel(ColorGridNumFont));
    canvas->drawString(GridNumFontset, point->x - m.width / 2, point->y - 2, texts->text.data() + m.at, m.length);
}

void drawGrid(const GridRequest *req) {
    ChartState *chart = req->chart;
    Canvas *canvas = req->canvas;
    GridRequest r = *req;
    r.subdivision = gridEffectiveSubdivision(chart->mode, req->subdivision);
    const int n = r.degree ? kGridDegreeMeridians : kGridHourMeridians;
    const int mainDashed = gridLineDashed(r.subdivision, 0);
    GridOctantTable projected; // about 2 kB
    const GridOctantTable *kept = keptGridTables(chart, r.kept, r.degree, r.octants);
    for (int octant = 0; octant < r.octants; octant++) {
        if (kept == nullptr) projectOctant(chart, r.degree, octant, n, &projected);
        const GridOctantTable &o = kept != nullptr ? kept[octant] : projected;
        for (int i = 1; i < kGridLatitudes; i++)
            if (o.visible[0][i - 1] && o.visible[0][i])
                drawGridSegment(chart, canvas, &o.p[0][i - 1], &o.p[0][i], mainDashed, r.colour);
        for (int j = 1; j <= n; j++) {
            for (int i = 0; i < kGridLatitudes; i++) {
                if (i > 0 && (r.degree || j % 2 == 0) && o.visible[j][i - 1] && o.visible[j][i])
                    drawGridSegment(chart, canvas, &o.p[j][i - 1], &o.p[j][i], mainDashed, r.colour);
                if (!o.visible[j - 1][i] || !o.visible[j][i]) continue;
                drawGridSegment(chart, canvas, &o.p[j - 1][i], &o.p[j][i], gridLineDashed(r.subdivision, i == kEquatorRow),
                                r.colour);
                gridLabelText(chart, canvas, r.texts, &o.p[j - 1][i], octant, j - 1, i, n, r.labels, r.style);
                if (j == n) gridLabelText(chart, canvas, r.texts, &o.p[j][i], octant, j, i, n, r.labels, r.style);
            }
            if (r.subdivision == 0) continue;
            for (int i = 1; i < kGridLatitudes; i++)
                if (o.visible[j - 1][i - 1] && o.visible[j][i - 1] && o.visible[j - 1][i] && o.visible[j][i])
                    subdivideCell(&r, o, j, i);
        }
    }
    const int bars = r.octants == 8 ? 4 : 2;
    for (int b = 0; b < bars; b++) {
        ProjectedPoint p{0, 0, 0, 0}, q{0, 0, 0, 0};
        if (projectPoint(chart, &gridPoleBars[b][0], &p) && projectPoint(chart, &gridPoleBars[b][1], &q))
            drawGridSegment(chart, canvas, &p, &q, 0, r.colour);
    }
}

void drawGreatCircle(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int degree, int octants,
                     int labels, int32_t colour) {
    const int n = degree ? kGridDegreeMeridians : kGridHourMeridians;
    if (octants > 4) octants = 4;
    for (int octant = 0; octant < octants; octant++) {
        ProjectedPoint prev{0, 0, 0, 0};
        int prevVisible = 0;
        for (int j = 0; j <= n; j++) {
            Vec3Q14 v;
            gridPoint(degree, octant, j, kEquatorRow, &v);
            ProjectedPoint p{0, 0, 0, 0};
            const int visible = projectPoint(chart, &v, &p);
            if (visible && prevVisible) drawGridSegment(chart, canvas, &prev, &p, 0, colour);
            if (visible)
                gridLabelText(chart, canvas, texts, &p, octant, j, kEquatorRow, n, labels, kGridLabelGreatCircle);
            prev = p;
            prevVisible = visible;
        }
    }
}

void drawAltitudeLabels(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int labels,
                        int32_t colour) {
    // South horizon, 10 .. 80 on the south side, the zenith, 80 .. 10 on the
    // north side, north horizon: the degree table's meridian 0 in octants 0
    // and 1 (latitude index 8 is the horizon).
    static const int kRows[] = {8, 7, 6, 5, 4, 3, 2, 1, 0};
    ProjectedPoint prev{0, 0, 0, 0};
    int prevVisible = 0;
    char text[kLabelSize];
    for (int step = 0; step < 19; step++) {
        Vec3Q14 v{0, 0, Q14_ONE};
        int altitude = 90;
        if (step < 9) {
            gridPoint(1, 0, 0, kRows[step], &v);
            altitude = 80 - 10 * kRows[step];
        } else if (step > 9) {
            gridPoint(1, 1, 0, kRows[18 - step], &v);
            altitude = 80 - 10 * kRows[18 - step];
        }
        ProjectedPoint p{0, 0, 0, 0};
        const int visible = projectPoint(chart, &v, &p);
        if (visible && prevVisible) drawGridSegment(chart, canvas, &prev, &p, 0, colour);
        if (visible && labels && altitude > 0) {
            std::snprintf(text, sizeof text, texts->formats.altitude, altitude);
            drawLabelAt(canvas, p.x, p.y, text, 0);
        }
        prev = p;
        prevVisible = visible;
    }
}

namespace {

// One celestial system's grid (kind 1) or great circle (kind 0), drawn with
// the view matrices turned by rotation (system to J2000; null for J2000).
void drawSystemGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision,
                    const Mat3 *rotation, int degree, uint8_t gridNumBit, uint8_t lineNumBit, int32_t colour,
                    int kept) {
    SystemView view(chart);
    if (rotation != nullptr) view.rotate(rotation);
    if (kind == kGridKindGrid) {
        const GridRequest req{chart, canvas, degree, 8, subdivision, chart->gridNumberFlags & gridNumBit,
                              kGridLabelCelestial, colour, texts, kept};
        drawGrid(&req);
    } else {
        drawGreatCircle(chart, canvas, texts, degree, 4, chart->lineNumberFlags & lineNumBit, colour);
    }
}

} // namespace

void drawRotatedGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, const Mat3 *rotation, int b1950,
                     int32_t colour) {
    drawSystemGrid(chart, canvas, texts, kind, subdivision, rotation, 0, b1950 ? kEqtGrid1950Num : kEqtGridDateNum,
                   b1950 ? kEqt1950Num : kEqtDateNum, colour, b1950 ? kKeptGridB1950 : kKeptGridDate);
}

void drawEquatorialGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    drawSystemGrid(chart, canvas, texts, kind, subdivision, nullptr, 0, kEqtGrid2000Num, kEqt2000Num, colour,
                   kKeptGridJ2000);
}

void drawEqtGridDate(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    drawRotatedGrid(chart, canvas, texts, kind, subdivision, &chart->precessionMatrix, 0, colour);
}

void drawEqtGridB1950(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    Mat3 p;
    precessionMatrix(JD_B1950, JD_J2000, &p);
    drawRotatedGrid(chart, canvas, texts, kind, subdivision, &p, 1, colour);
}

void drawEclipticGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    Mat3 tilt, r;
    rotX(-chart->sky.obliquityDeg, &tilt);
    mat3Mul(&chart->precessionMatrix, &tilt, &r);
    drawSystemGrid(chart, canvas, texts, kind, subdivision, &r, 1, kEclGridNum, kEclNum, colour, kKeptGridEcliptic);
}

void drawGalacticGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    Mat3 node, tilt, longitude, r;
    rotZ(-282.85, &node);
    rotX(-62.867, &tilt);
    rotZ(32.925, &longitude);
    mat3Mul(&node, &tilt, &r);
    mat3Mul(&r, &longitude, &r);
    drawSystemGrid(chart, canvas, texts, kind, subdivision, &r, 1, kGalGridNum, kGalNum, colour, kKeptGridGalactic);
}

namespace {

// The chart's view turned to the horizon frame for as long as it lives.
class HorizonView {
  public:
    explicit HorizonView(ChartState *chart) : view_(chart) {
        if (chart->mode == kModeHrz) {
            view_.horizonFrame(&chart->rotationMatrix);
        } else {
            // Horizon frame to J2000: P x rotZ(-sidereal time) x rotY(latitude - 90).
            Mat3 z, y, r, toView;
            rotZ(-chart->sky.siderealDeg, &z);
            rotY(chart->sky.latitudeDeg - 90.0, &y);
            mat3Mul(&chart->precessionMatrix, &z, &r);
            mat3Mul(&r, &y, &r);
            mat3Mul(&chart->viewMatrix, &r, &toView);
            view_.horizonFrame(&toView);
        }
    }

  private:
    SystemView view_;
};

} // namespace

void drawInHorizonFrame(ChartState *chart, Canvas *canvas, void (*draw)(ChartState *chart, Canvas *canvas)) {
    HorizonView view(chart);
    draw(chart, canvas);
}

void drawHorizontalGrid(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision, int32_t colour) {
    HorizonView view(chart);
    if (kind == kGridKindGrid) {
        const GridRequest req{chart, canvas, 1, 4, subdivision, chart->gridNumberFlags & kHrzGridNum,
                              kGridLabelHorizontal, colour, texts, kKeptGridHorizon};
        drawGrid(&req);
    } else {
        drawAltitudeLabels(chart, canvas, texts, chart->lineNumberFlags & kMeridianNum, colour);
    }
}

namespace {

// The grids and lines in the order they are drawn, each with its display bit.
struct GridStep {
    uint8_t ChartState::*flags;
    uint8_t bit;
    void (*draw)(ChartState *chart, Canvas *canvas, GridLabelTexts *texts, int kind, int subdivision,
                 int32_t colour);
    int kind;
    int32_t colour;
};

const GridStep kGridSteps[] = {
    {&ChartState::horizonGridFlags, kHrzGrid, drawHorizontalGrid, kGridKindGrid, ColorHorizontalGrid},
    {&ChartState::equatorialGridFlags, kEqtGrid2000, drawEquatorialGrid, kGridKindGrid, ColorEquatorialGrid},
    {&ChartState::equatorialGridFlags, kEqtGridDate, drawEqtGridDate, kGridKindGrid, ColorEquatorialGrid},
    {&ChartState::equatorialGridFlags, kEqtGrid1950, drawEqtGridB1950, kGridKindGrid, ColorEquatorialGrid},
    {&ChartState::otherGridFlags, kEclGrid, drawEclipticGrid, kGridKindGrid, ColorEclipticGrid},
    {&ChartState::otherGridFlags, kGalGrid, drawGalacticGrid, kGridKindGrid, ColorGalacticGrid},
    {&ChartState::horizonGridFlags, kMeridian, drawHorizontalGrid, kGridKindMeridian, ColorMeridianLine},
    {&ChartState::equatorialGridFlags, kEqt2000, drawEquatorialGrid, kGridKindLine, ColorEquatorialLine},
    {&ChartState::equatorialGridFlags, kEqtDate, drawEqtGridDate, kGridKindLine, ColorEquatorialLine},
    {&ChartState::equatorialGridFlags, kEqt1950, drawEqtGridB1950, kGridKindLine, ColorEquatorialLine},
    {&ChartState::otherGridFlags, kEcl, drawEclipticGrid, kGridKindLine, ColorEclipticLine},
    {&ChartState::otherGridFlags, kGal, drawGalacticGrid, kGridKindLine, ColorGalacticLine},
};

} // namespace

void chartDrawGrids(ChartState *chart, Canvas *canvas) {
    chartSetWrapMode(chart);
    const int s = chart->gridNumberFlags & kGridSubdivisionMask;
    // The label formats are resources and the labels' texts the same in
    // every grid of a table: made once a frame, not once a label.
    GridLabelTexts texts;
    bool started = false;
    for (const GridStep &step : kGridSteps) {
        if (!(chart->*step.flags & step.bit)) continue;
        if (!started) gridLabelTextsStart(&texts);
        started = true;
        step.draw(chart, canvas, &texts, step.kind, s, step.colour);
    }
}
