#include "command/parameters.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "model/command_error.h"
#include "model/lexing.h"

namespace {

int32_t clampInt32(double v)
{
    if (!(v == v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

int32_t stkParamInt(const char *text)
{
    if (!text)
        return 0;
    errno = 0;
    const long long v = std::strtoll(text, nullptr, 10);
    return clampInt32(static_cast<double>(v));
}

double stkParamReal(const char *text)
{
    if (!text)
        return 0.0;
    const double v = std::strtod(text, nullptr);
    return std::isfinite(v) ? v : 0.0;
}

int32_t stkParamTenths(const char *text)
{
    // The nudge keeps a typed one-decimal value such as 0.7 (6.9999...
    // after the product) from losing a tenth; it is far below any digit a
    // user can type.
    const double v = stkParamReal(text) * 10.0;
    return clampInt32(std::trunc(v + (v < 0 ? -1e-9 : 1e-9)));
}

int stkParamIntInRange(const char *text, int32_t lo, int32_t hi, int32_t *value)
{
    if (!text) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return 0;
    }
    const int32_t v = stkParamInt(text);
    if (v < lo || v > hi) {
        stkSetError("stkErrorIllegalParam", text);
        return 0;
    }
    *value = v;
    return 1;
}

int stkParamKeyword(const char *text, const KeywordEntry *table, int32_t *code)
{
    if (!stkLookupKeywordCopy(text, table, code)) {
        stkSetError("stkErrorIllegalParam", text);
        return 0;
    }
    return 1;
}
