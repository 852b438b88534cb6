// Stand-ins for the services of a frame that other parts of the system
// provide. Each does nothing (or answers "none") until its routine exists;
// then the routine's name replaces the stand-in in kPendingFrameServices'
// place below, and the stand-in goes.
#include "model/chart_state.h"
#include "render/frame.h"

namespace {

void pendingSkyContextFromChart(ChartState *) {}
double pendingTimeLockJd(ChartState *) { return 0.0; }
void pendingSkyContextFromJd(ChartState *, double) {}
void pendingEphemUpdateAll(ChartState *) {}
void pendingUpdateViewCenterFromTarget(ChartState *) {}
void pendingUpdateSkyLevel(ChartState *) {}
void pendingSetSkyColors(ChartState *) {}
void pendingViewApplyStarLimit(ChartState *) {}
int pendingStatusBarHeight() { return 0; }
void pendingStatusBarRect(ChartState *, ChartRect *out) { *out = ChartRect{0, 0, 0, 0}; }
void pendingDrawStatusBar(ChartState *, Canvas *, const ChartRect *) {}

} // namespace

const ChartFrameServices kPendingFrameServices = {
    pendingSkyContextFromChart, pendingTimeLockJd,  pendingSkyContextFromJd,
    pendingEphemUpdateAll,      pendingUpdateViewCenterFromTarget,
    pendingUpdateSkyLevel,      pendingSetSkyColors, pendingViewApplyStarLimit,
    pendingStatusBarHeight,     pendingStatusBarRect, pendingDrawStatusBar,
};

ChartFrameServices chartFrameServices = kPendingFrameServices;
