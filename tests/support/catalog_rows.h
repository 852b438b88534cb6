// Rows of the built-in catalogues found by the names a reader knows them by,
// so tests name their stars and nebulae instead of typing row numbers.
#pragma once

#include <cstdint>
#include <cstring>

#include "resources/catalogs.h"

// The bright-star row of a star's built-in proper name, or -1.
inline int32_t starNamed(const char *name)
{
    for (int32_t i = 0; i < starNameCount; ++i)
        if (std::strcmp(starNames[i].builtinName, name) == 0)
            return starNames[i].index;
    return -1;
}

// The nebula row of Messier number `number`, or -1.
inline int32_t messierRow(int32_t number)
{
    for (int32_t i = 0; i < nebulaCounts[0]; ++i)
        if ((nebulaRecords[i].number & nebulaNumberMask) == number)
            return i;
    return -1;
}
