// Deep-sky object names (Messier, NGC, IC), places and type names.
#include "model/deep_sky_names.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "astro/q14.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "resources/catalogs.h"

int parseNebulaName(const char *text, int32_t *index)
{
    if (!text)
        return 0;
    int catalog;
    const char *p = text + 1;
    switch (stkUpperAscii(text[0])) {
    case 'M':
        catalog = 0;
        break;
    case 'N':
        catalog = 1;
        if (stkUpperAscii(p[0]) == 'G' && stkUpperAscii(p[1]) == 'C')
            p += 2;
        break;
    case 'I':
        catalog = 2;
        if (stkUpperAscii(p[0]) == 'C')
            p += 1;
        break;
    default:
        return 0;
    }
    errno = 0;
    long number = std::strtol(p, nullptr, 10);
    if (errno || number <= 0 || number > nebulaNumberMask)
        return 0;
    static const int32_t flags[nebulaCatalogCount] = {nebulaFlagMessier, nebulaFlagNgc, nebulaFlagIc};
    for (int32_t i = 0; i < nebulaCounts[catalog]; ++i) {
        const NebulaRecord &r = nebulaRecords[nebulaFirst[catalog] + i];
        if ((r.number & flags[catalog]) && (r.number & nebulaNumberMask) == number) {
            if (index)
                *index = nebulaFirst[catalog] + i;
            return 1;
        }
    }
    return 0;
}

int nebulaCount() { return nebulaTotalCount; }

int nebulaPosition(int32_t index, double out[2])
{
    if (index < 0 || index >= nebulaTotalCount)
        return 0;
    vecQ14ToSph(&nebulaPositions[index], out);
    return 1;
}

char *nebulaTypeName(int32_t type, char *buf, int32_t len)
{
    static const char *const resources[] = {
        "messageNebulaPlanetary", "messageNebulaDiffuse", "messageNebulaOpen",
        "messageNebulaGlobular",  "messageNebulaGalaxy",  "messageNebulaCompound",
    };
    if (type >= 0 && type < 6)
        return getResourceString(resources[type], buf, len);
    strCopyBounded(buf, len, "");
    return buf;
}
