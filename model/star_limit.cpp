// The automatic star limit, the last bright star it admits, and the
// field-of-view limits of the sky charts.
#include "model/star_limit.h"

#include <cmath>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "resources/catalogs.h"

int32_t viewAutoStarLimit(ChartState *chart)
{
    double x = chart->fieldWidth;
    double v;
    if (x > 120.0)
        v = 60.0;
    else if (x >= 10.0)
        v = 80.0 - (x - 10.0) * 20.0 / 110.0;
    else if (x >= 1.0)
        v = 120.0 - (x - 1.0) * 40.0 / 9.0;
    else
        v = 160.0 - (x - 0.1) * 40.0 / 0.9;
    int32_t mode = chart->mode;
    if (isCylindricalMode(mode) || isAitoffMode(mode))
        return 45;
    int32_t limit;
    if (mode == kModePlns) {
        limit = 45;
    } else {
        // A field far below the smallest zoom could overflow the int.
        double t = std::trunc(v);
        limit = t > 1000.0 ? 1000 : static_cast<int32_t>(t);
        if (chart->catalogLimit < limit)
            limit = chart->catalogLimit;
    }
    if ((chart->skyFlags & kSkyDaylight) && isHorizonMode(mode)) {
        if (chart->skyLevel > 32)
            limit -= 65;
        else
            limit -= chart->skyLevel * 65 / 32;
    }
    return limit;
}

void viewApplyStarLimit(ChartState *chart)
{
    // In 64 bits and clamped: the fixed limit and the offset come from
    // commands and scene files, and may be anything an int32 holds.
    const int64_t automatic = viewAutoStarLimit(chart);
    const int64_t span = int64_t{kLimitTenthsMax} - kLimitTenthsMin;
    if (chart->fixedLimitOn) {
        const int32_t fixed = chartClampLimit(chart->fixedLimit);
        const int64_t offset = fixed - automatic;
        chart->starLimitSet = static_cast<int32_t>(offset < -span ? -span : offset > span ? span : offset);
        chart->starLimit = fixed;
        chart->fixedLimitOn = 0;
    } else {
        chart->starLimit = chartClampLimit(automatic + chart->starLimitSet);
    }
    if (chart->starLimit > chart->catalogLimit)
        chart->starLimit = chart->catalogLimit;
}

static double pixelAspect()
{
    double a = appData ? appData->pixelAspect : 1.0;
    return a > 0.0 ? a : 1.0;
}

int viewClampFieldOfView(ChartState *chart, int apply)
{
    if (chartModeKind(chart->mode) != kKindSky || chart->chartRect.width == 0 || chart->chartRect.height == 0)
        return 1;
    // The chart's shape first: a field of any size keeps a finite height
    // (an infinite one would turn the widest field into 0).
    const double shape = static_cast<double>(chart->chartRect.height) / chart->chartRect.width / pixelAspect();
    double vertical = chart->fieldWidth * shape;
    double limit = chart->mode == kModeHrz ? 110.0 : 180.0;
    if (vertical > limit && apply)
        chart->fieldWidth *= limit / vertical;
    return 1;
}

double viewMaxFieldOfView(ChartState *chart)
{
    double limit = chart->mode == kModeHrz ? 110.0 : 180.0;
    if (chart->chartRect.height == 0)
        return 180.0;
    double x = limit * chart->chartRect.width / chart->chartRect.height * pixelAspect();
    if (x > 180.0)
        x = 180.0;
    return std::floor(x * 10.0 + 0.5) / 10.0;
}

int starLastIndexForLimit(ChartState *chart, int32_t *last)
{
    int32_t limit = chart->starLimit;
    int32_t index;
    if (limit < -15)
        return 0;
    if (limit <= -8)
        index = 0;
    else if (limit <= -1)
        index = 1;
    else if (limit < starLimitCountSize)
        index = starLimitCounts[limit] - 1;
    else
        index = brightStarCount - 1;
    if (last)
        *last = index;
    return 1;
}
