// The one place where the chart's date turns into its sky context and precession.
#include "model/chart_date.h"

#include "model/chart_state.h"
#include "model/sky_context.h"

namespace {

void siteOf(const ChartState *chart, double site[3]) {
    site[0] = chart->sky.latitudeDeg;
    site[1] = chart->sky.longitudeDeg;
    site[2] = chart->sky.altitudeM;
}

// The view matrices take the chart's precession from here; it is the
// context's own matrix, so both follow the same date.
void syncPrecession(ChartState *chart) { chart->precessionMatrix = chart->sky.precessionToJ2000; }

} // namespace

void chartSetDate(ChartState *chart, const DateTime *date) {
    double site[3];
    siteOf(chart, site);
    const DateTime d = *date; // date may point into chart->sky
    skyContextFromDate(&d, site, &chart->sky);
    syncPrecession(chart);
}

void chartSetJd(ChartState *chart, double jd, double zoneHours) {
    double site[3];
    siteOf(chart, site);
    skyContextFromJd(jd, zoneHours, site, &chart->sky);
    syncPrecession(chart);
}

void chartSetSite(ChartState *chart, double latitudeDeg, double longitudeDeg, double altitudeM) {
    const double site[3] = {latitudeDeg, longitudeDeg, altitudeM};
    const DateTime d = chart->sky.date;
    skyContextFromDate(&d, site, &chart->sky);
    syncPrecession(chart);
}
