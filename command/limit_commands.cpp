// MAG, INCMAG, DECMAG, STARSIZE, STARDATA and MIRROR: limiting magnitudes
// (tenths), the star catalogue and the chart's orientation.
#include <cstdio>
#include <set>
#include <string>
#include <sys/stat.h>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/resource_text.h"
#include "render/layers/gsc_stars.h"
#include "render/layers/sao_stars.h"

namespace {

// A catalogue STARDATA chose but the frame cannot draw (it draws the bright
// stars instead): STARDATA never fails, so the user hears which file it is,
// once a run, on standard error; a file that is there but no catalogue is
// unusable, not missing.
void reportStarFile(const char *path)
{
    static std::set<std::string> said;
    if (!said.insert(path).second)
        return;
    struct stat st;
    char format[256];
    getResourceFormat(stat(path, &st) == 0 ? "messageStarFileUnusable" : "messageStarFileNotFound", "s", format,
                      sizeof format);
    std::fprintf(stderr, format, path);
    std::fputc('\n', stderr);
}

enum LimitKind { kLimitStar, kLimitStarName, kLimitNebulaMin, kLimitNebulaMax, kLimitNebulaLimit };

const KeywordEntry kLimitKeywords[] = {
    {"STAR", kLimitStar},
    {"STARNAME", kLimitStarName},
    {"NEBULAMIN", kLimitNebulaMin},
    {"NEBULAMAX", kLimitNebulaMax},
    {"NEBULALIMIT", kLimitNebulaLimit},
    {nullptr, 0},
};

// The limit keyword of params[0]; reports it and returns -1 when it is none.
int limitKind(char *word)
{
    int32_t code;
    if (stkLookupKeywordCopy(word, kLimitKeywords, &code))
        return code;
    stkSetError("stkErrorIllegalParam", word);
    return -1;
}

// INCMAG and DECMAG: a signed amount added to the limit.
void stepLimit(ChartState *chart, char **params, int sign)
{
    const int kind = limitKind(params[0]);
    if (kind < 0)
        return;
    if (kind == kLimitNebulaLimit) {
        stkSetError("stkErrorIllegalParam", params[0]);
        return;
    }
    if (!params[1]) { // a step needs its size
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    // Wide arithmetic, then one clamp: a huge amount from any command source
    // must not overflow the tenths.
    const int64_t step = int64_t{sign} * stkParamTenths(params[1]);
    switch (kind) {
    case kLimitStar: {
        chart->fixedLimitOn = 1;
        int64_t limit = chart->starLimit + step;
        if (sign > 0 && limit > chart->catalogLimit)
            limit = chart->catalogLimit;
        if (sign < 0 && limit < -20)
            limit = -20;
        chart->fixedLimit = chartClampLimit(limit);
        break;
    }
    case kLimitStarName:
        if (sign < 0 && chart->starNameLimit > chart->starLimit)
            chart->starNameLimit = chart->starLimit;
        chart->starNameLimit = chartClampLimit(chart->starNameLimit + step);
        break;
    case kLimitNebulaMin:
        chart->nebulaMin = chartClampLimit(chart->nebulaMin + step);
        break;
    case kLimitNebulaMax:
        chart->nebulaMax = chartClampLimit(chart->nebulaMax + step);
        break;
    }
}

} // namespace

void stkCmdMag(ChartState *chart, char **params)
{
    const int kind = limitKind(params[0]);
    const char *value = params[1];
    switch (kind) {
    case kLimitStar:
        if (value) {
            chart->fixedLimitOn = 1;
            chart->fixedLimit = chartClampLimit(stkParamTenths(value));
        } else {
            // Back to the automatic limit, also when a step has just fixed
            // one that the next frame would otherwise apply.
            chart->fixedLimitOn = 0;
            chart->starLimitSet = 0;
        }
        break;
    case kLimitStarName:
        chart->starNameLimit = value ? chartClampLimit(stkParamTenths(value)) : 14;
        break;
    case kLimitNebulaMin:
        chart->nebulaMin = value ? chartClampLimit(stkParamTenths(value)) : 110;
        break;
    case kLimitNebulaMax:
        chart->nebulaMax = value ? chartClampLimit(stkParamTenths(value)) : 0;
        break;
    case kLimitNebulaLimit:
        chart->nebulaLimitOn = value ? (stkParamInt(value) == 1) : 1;
        break;
    }
}

void stkCmdIncMag(ChartState *chart, char **params) { stepLimit(chart, params, 1); }
void stkCmdDecMag(ChartState *chart, char **params) { stepLimit(chart, params, -1); }

void stkCmdStarSize(ChartState *chart, char **params)
{
    if (!params[0]) { // no size to set
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    const int32_t size = stkParamInt(params[0]);
    // Bounded only so that the tenths cannot overflow.
    chart->starSize = (size > 100000 ? 100000 : size < -100000 ? -100000 : size) * 10;
}

void stkCmdStarData(ChartState *chart, char **params)
{
    chart->starFlags &= static_cast<uint8_t>(~(kStarsFromCatalogFile | kStarsFromGsc));
    if (strEqualNoCase(params[0], "SAO")) {
        chart->starFlags |= kStarsFromCatalogFile;
        chart->catalogLimit = kCatalogLimitCatalogFile;
        // The choice is kept (a scene keeps it) whether or not it can be drawn.
        if (!saoFileUsable(appData->saoFile)) reportStarFile(appData->saoFile);
    } else if (strEqualNoCase(params[0], "GSC")) {
        chart->starFlags |= kStarsFromGsc;
        chart->catalogLimit = kCatalogLimitGsc;
        char missing[1024];
        if (!gscAvailable(missing, sizeof missing)) reportStarFile(missing);
    } else {
        chart->catalogLimit = kCatalogLimitBrightTable;
    }
}

void stkCmdMirror(ChartState *chart, char **params)
{
    int32_t mirror;
    if (stkParamIntInRange(params[0], kMirrorNormal, kMirrorFlipped, &mirror))
        chart->mirror = mirror;
}
