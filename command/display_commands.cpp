// GRID, DISK_MAG, SOL_OFFSET and PERIOD: small view and time parameters.
#include "command/commands.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "command/parameters.h"
#include "model/chart_state.h"

void stkCmdGrid(ChartState *chart, char **params)
{
    int32_t code;
    if (!stkLookupKeywordCopy(params[0], gridKeywords, &code)) {
        stkSetError("stkErrorIllegalParam", params[0]);
        return;
    }
    chart->gridNumberFlags = static_cast<uint8_t>((chart->gridNumberFlags & ~kGridSubdivisionMask) | code);
}

void stkCmdDiskMag(ChartState *chart, char **params)
{
    int32_t mag;
    if (stkParamIntInRange(params[0], 1, 500, &mag))
        chart->diskMag = mag;
}

void stkCmdSolOffset(ChartState *chart, char **params)
{
    if (strEqualNoCase(params[0], "OFF")) {
        chart->solOffset[0] = chart->solOffset[1] = chart->solOffset[2] = 0.0;
        return;
    }
    for (int i = 0; i < 3; i++)
        chart->solOffset[i] = stkParamReal(params[i]); // omitted: 0
}

void stkCmdPeriod(ChartState *chart, char **params)
{
    chart->period.year = stkParamInt(params[0]);
    chart->period.month = stkParamInt(params[1]);
    chart->period.day = stkParamInt(params[2]);
    chart->period.hour = stkParamInt(params[3]);
    chart->period.minute = stkParamInt(params[4]);
    chart->period.second = stkParamReal(params[5]);
}
