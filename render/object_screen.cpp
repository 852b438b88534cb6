#include "render/object_screen.h"

#include "model/chart_state.h"
#include "render/projection.h"

namespace {

constexpr uint8_t kShown = 0x02; // display byte: the body is drawn

// The three position forms of a body.
struct BodyForms {
    const Vec3 *geoUnit;
    const Vec3Q14 *geoUnitQ14;
    const Vec3 *helio;
};

bool shown(const uint8_t *flags, int i) { return flags != nullptr && (flags[i] & kShown) != 0; }

// A comet's or minor planet's row i of a table of count rows.
bool smallBodyForms(const BodyPosition *rows, const uint8_t *flags, int count, int i, BodyForms *forms) {
    if (rows == nullptr || i >= count || !shown(flags, i)) return false;
    *forms = BodyForms{&rows[i].geoUnit, &rows[i].geoUnitQ14, &rows[i].helio};
    return true;
}

// The forms of a body that is shown and has a place in this kind of chart.
bool bodyForms(const ChartState *chart, int id, BodyForms *forms) {
    static const Vec3 kSunHelio{0.0, 0.0, 0.0};
    const bool solarView = chartModeKind(chart->mode) == 2;
    if (id >= kMinorPlanetIdBase)
        return smallBodyForms(chart->minorPlanetPositions, chart->minorPlanetFlags, chart->minorPlanetCount,
                              id - kMinorPlanetIdBase, forms);
    if (id >= kCometIdBase)
        return smallBodyForms(chart->cometPositions, chart->cometFlags, chart->cometCount, id - kCometIdBase, forms);
    switch (id) {
    case -3: // only the solar-system views use the heliocentric form
        if (!(chart->earthFlags & kShown) || !solarView) return false;
        *forms = BodyForms{&chart->sun.unit, &chart->sun.unitQ14, &chart->sun.earthHelio};
        return true;
    case -2:
        if (!(chart->sunFlags & kShown)) return false;
        *forms = BodyForms{&chart->sun.unit, &chart->sun.unitQ14, &kSunHelio};
        return true;
    case -1:
        if (!(chart->moonFlags & kShown) || solarView) return false;
        *forms = BodyForms{&chart->moon.unit, &chart->moon.unitQ14, &kSunHelio};
        return true;
    default:
        if (id < 0 || id >= kPlanetCount || !(chart->planetFlags[id] & kShown)) return false;
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
