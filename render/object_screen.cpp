#include "render/object_screen.h"

#include "astro/coords.h"
#include "astro/q14.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "render/projection.h"

namespace {


// The three position forms of a body.
struct BodyForms {
    const Vec3 *geoUnit;
    const Vec3Q14 *geoUnitQ14;
    const Vec3 *helio;
};

bool shown(const uint8_t *flags, int i) { return flags != nullptr && (flags[i] & kBodyShown) != 0; }

// A comet's or minor planet's row i of a table of count rows.
bool smallBodyForms(const BodyPosition *rows, const uint8_t *flags, int count, int i, BodyForms *forms) {
    if (rows == nullptr || i >= count || !shown(flags, i)) return false;
    *forms = BodyForms{&rows[i].geoUnit, &rows[i].geoUnitQ14, &rows[i].helio};
    return true;
}

// The forms of a body that is shown and has a place in this kind of chart.
bool bodyForms(const ChartState *chart, int id, BodyForms *forms) {
    static const Vec3 kSunHelio{0.0, 0.0, 0.0};
    const bool solarView = isSolarMode(chart->mode);
    if (id >= kObjectMinorPlanetBase)
        return smallBodyForms(chart->minorPlanetPositions, chart->minorPlanetFlags, chart->minorPlanetCount,
                              id - kObjectMinorPlanetBase, forms);
    if (id >= kObjectCometBase)
        return smallBodyForms(chart->cometPositions, chart->cometFlags, chart->cometCount, id - kObjectCometBase, forms);
    switch (id) {
    case -3: // only the solar-system views use the heliocentric form
        if (!(chart->earthFlags & kBodyShown) || !solarView) return false;
        *forms = BodyForms{&chart->sun.unit, &chart->sun.unitQ14, &chart->sun.earthHelio};
        return true;
    case -2:
        if (!(chart->sunFlags & kBodyShown)) return false;
        *forms = BodyForms{&chart->sun.unit, &chart->sun.unitQ14, &kSunHelio};
        return true;
    case -1:
        if (!(chart->moonFlags & kBodyShown) || solarView) return false;
        *forms = BodyForms{&chart->moon.unit, &chart->moon.unitQ14, &kSunHelio};
        return true;
    default:
        if (id < 0 || id >= kPlanetCount || !(chart->planetFlags[id] & kBodyShown)) return false;
        *forms = BodyForms{&chart->planets[id].unit, &chart->planets[id].unitQ14, &chart->planets[id].helio};
        return true;
    }
}

} // namespace

int objectScreenPosition(ChartState *chart, int id, ProjectedPoint *out) {
    BodyForms forms;
    if (!bodyForms(chart, id, &forms)) return 0;
    return projectBodyByMode(chart, forms.geoUnit, forms.geoUnitQ14, forms.helio, out);
}

namespace {

int screenPoint(int32_t x, int32_t y, ProjectedPoint *out) {
    out->x = x;
    out->y = y;
    out->depth = 0;
    out->cosCentre = kScreenPointCosCentre;
    return 1;
}

} // namespace

int targetScreenPosition(ChartState *chart, int32_t kind, int32_t index, const double values[2], ProjectedPoint *out) {
    double value1 = values ? values[0] : 0.0, value2 = values ? values[1] : 0.0;
    if (kind == kPosUserObject) {
        const UserObject *row = userObjectFileRow(chart->userObjectFiles, chart->userObjectFileCount, index);
        if (row == nullptr || row->kind == kPosUserObject || row->kind == kPosSkyMark) return 0;
        kind = row->kind;
        index = row->index;
        value1 = row->value1;
        value2 = row->value2;
    }
    if (positionIsCoordinates(kind)) {
        const double pair[2] = {value1, value2};
        double j2000[2];
        convertCoords(&chart->sky, kind, pair, COORD_EQT, j2000);
        Vec3Q14 v;
        sphToVecQ14(j2000, &v);
        return projectPoint(chart, &v, out);
    }
    Vec3Q14 v;
    if (positionObjectVector(chart, kind, index, &v)) return projectPoint(chart, &v, out);
    switch (kind) {
    case kPosBody:
        return objectScreenPosition(chart, index, out);
    case kPosScreen:
        if (!(value1 >= -32768.0 && value1 < 32768.0 && value2 >= -32768.0 && value2 < 32768.0)) return 0;
        return screenPoint(static_cast<int32_t>(value1), static_cast<int32_t>(value2), out);
    case kPosViewCenter: {
        const ChartRect &r = chart->chartRect;
        return screenPoint(r.x + r.width / 2, r.y + r.height / 2, out);
    }
    default:
        return 0;
    }
}

int userObjectScreenPos(ChartState *chart, const UserObject *record, ProjectedPoint *out) {
    const double values[2] = {record->value1, record->value2};
    return targetScreenPosition(chart, record->kind, record->index, values, out);
}
