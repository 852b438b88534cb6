// The services a frame takes from other parts of the system, one routine
// each; the two sky-context steps adapt the date routines to the frame's call.
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/star_limit.h"
#include "model/position.h"
#include "model/time_lock.h"
#include "render/frame.h"
#include "render/sky_colours.h"
#include "render/layers/status_bar.h"

namespace {

void skyFromChartDate(ChartState *chart) { chartSetDate(chart, &chart->sky.date); }

// The locked moment keeps the chart's zone, so the clock shows local time.
void skyFromJd(ChartState *chart, double jd) { chartSetJd(chart, jd, chart->sky.date.zone); }

} // namespace

// The frame's ephemeris update leaves the comet tails to the tail layer,
// which computes only those that can reach the chart.
const ChartFrameServices kFrameServices = {
    skyFromChartDate,      timeLockJd,        skyFromJd,          ephemUpdateBodies,
    updateViewCenterFromTarget,               updateSkyLevel,     setSkyColors,
    viewApplyStarLimit,    statusBarHeight,                statusBarRect,
    chartDrawStatusBar,
};

ChartFrameServices chartFrameServices = kFrameServices;
