// The flag helper of the display commands and the digit reader the name
// look-ups share; the text helpers are in model/lexing.h.
#include "model/object_names.h"

#include <cctype>

uint8_t flagCombine(uint8_t value, uint8_t bits, int op)
{
    switch (op) {
    case kFlagShow:
        return static_cast<uint8_t>(value | bits);
    case kFlagHide:
        return static_cast<uint8_t>(value & ~bits);
    case kFlagToggle:
        return (value & bits) ? static_cast<uint8_t>(value & ~bits) : static_cast<uint8_t>(value | bits);
    default:
        return value;
    }
}

// Reads the decimal digits at p (at least one); end points past them.
int readNumber(const char *p, long *n, const char **end)
{
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return 0;
    long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p))) {
        if (v < 100000000)
            v = v * 10 + (*p - '0');
        ++p;
    }
    *n = v;
    *end = p;
    return 1;
}
