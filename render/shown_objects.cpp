#include "render/shown_objects.h"

#include "model/chart_state.h"
#include "resources/catalogs.h"

int nebulaIsShown(const ChartState *chart, const NebulaRecord *record) {
    const int32_t mag = nebulaMag10(*record);
    if (chart->nebulaLimitOn && (mag < chart->nebulaMax || mag > chart->nebulaMin)) return 0;
    const int32_t type = nebulaType(*record);
    if ((chart->nebulaTypeFlags & kNebulaTypeAllBits) && type >= 0 && type < 6 && !(chart->nebulaTypeFlags & kNebulaTypeBits[type]))
        return 0;
    const uint8_t catalogues = chart->nebulaCatalogFlags;
    return ((catalogues & kNebulaCatalogBits[0]) && (record->number & nebulaFlagMessier)) ||
           ((catalogues & kNebulaCatalogBits[1]) && (record->number & nebulaFlagNgc)) ||
           ((catalogues & kNebulaCatalogBits[2]) && (record->number & nebulaFlagIc));
}

int chartLimitMagAtLeast4(const ChartState *chart) { return chart->starLimit >= 40; }
