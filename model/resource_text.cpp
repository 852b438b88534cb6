#include "model/resource_text.h"

#include <cstring>

#include "resources/fallback.h"

namespace {

ResourceStringProvider currentProvider = nullptr;

// Copies the value with Xrm's escapes decoded, bounded by len.
void copyResourceValue(const char *value, char *buf, int len)
{
    int n = 0;
    for (const char *p = value; *p && n < len - 1; p++) {
        char c = *p;
        if (c == '\\' && p[1]) {
            char next = p[1];
            if (next == 'n') {
                c = '\n';
                p++;
            } else if (next == '\\' || next == ' ' || next == '\t') {
                c = next;
                p++;
            } else if (next >= '0' && next <= '7' && p[2] >= '0' && p[2] <= '7' && p[3] >= '0' &&
                       p[3] <= '7') {
                c = static_cast<char>(((next - '0') << 6) | ((p[2] - '0') << 3) | (p[3] - '0'));
                p += 3;
            }
        }
        buf[n++] = c;
    }
    buf[n] = '\0';
}

// The value of the line "TAvik*name: value" or "TAvik.name: value", or null.
const char *findFallbackValue(const char *name)
{
    static const char kClass[] = "TAvik";
    const size_t classLength = sizeof kClass - 1;
    const size_t nameLength = std::strlen(name);
    for (char **line = fallbackResources; *line; line++) {
        const char *l = *line;
        if (std::strncmp(l, kClass, classLength) != 0)
            continue;
        const char *p = l + classLength;
        if (*p != '*' && *p != '.')
            continue;
        p++;
        if (std::strncmp(p, name, nameLength) != 0)
            continue;
        p += nameLength;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p != ':')
            continue;
        p++;
        while (*p == ' ' || *p == '\t')
            p++;
        return p;
    }
    return nullptr;
}

enum ArgClass { kArgNone, kArgString, kArgInt, kArgDouble, kArgBad };

// Widest field and longest precision a resource format may ask for: a user's
// "%.999999999f" would make every message and status line take seconds.
constexpr int kFormatFieldMax = 64;

// Skips a run of digits; false when its value is above kFormatFieldMax.
bool skipFieldDigits(const char **p)
{
    int value = 0;
    for (; **p >= '0' && **p <= '9'; (*p)++) {
        value = value * 10 + (**p - '0');
        if (value > kFormatFieldMax)
            return false;
    }
    return true;
}

// Reads one conversion starting after its '%'; sets *end past it.
ArgClass readConversion(const char *p, const char **end)
{
    *end = p;
    while (*p && std::strchr("-+ #0", *p))
        p++;
    if (!skipFieldDigits(&p))
        return kArgBad;
    if (*p == '.') {
        p++;
        if (!skipFieldDigits(&p))
            return kArgBad;
    }
    bool longModifier = false;
    if (*p == 'l') {
        longModifier = true;
        p++;
    }
    char c = *p;
    *end = c ? p + 1 : p;
    if (c == '%' && !longModifier)
        return kArgNone;
    if (std::strchr("fFeEgG", c) && c)
        return kArgDouble;
    if (longModifier)
        return kArgBad;
    if (c == 's')
        return kArgString;
    if (c && std::strchr("diuxXoc", c))
        return kArgInt;
    return kArgBad;
}

char classLetter(ArgClass c)
{
    return c == kArgString ? 's' : c == kArgInt ? 'd' : 'f';
}

} // namespace

char *fallbackResourceString(const char *name, char *buf, int len)
{
    if (!buf || len <= 0)
        return buf;
    buf[0] = '\0';
    const char *value = name ? findFallbackValue(name) : nullptr;
    if (value)
        copyResourceValue(value, buf, len);
    return buf;
}

char *getResourceString(const char *name, char *buf, int len)
{
    if (currentProvider)
        return currentProvider(name, buf, len);
    return fallbackResourceString(name, buf, len);
}

void setResourceStringProvider(ResourceStringProvider provider) { currentProvider = provider; }

int formatConversions(const char *format, char *out, int len)
{
    int n = 0;
    if (len > 0)
        out[0] = '\0';
    for (const char *p = format; *p;) {
        if (*p != '%') {
            p++;
            continue;
        }
        const char *end;
        ArgClass c = readConversion(p + 1, &end);
        if (c == kArgBad)
            return 0;
        if (c != kArgNone) {
            if (n >= len - 1)
                return 0;
            out[n++] = classLetter(c);
            out[n] = '\0';
        }
        p = end;
    }
    return 1;
}

int formatTakesConversions(const char *format, const char *conversions)
{
    char found[64];
    if (!formatConversions(format, found, sizeof found))
        return 0;
    const size_t n = std::strlen(found);
    return n <= std::strlen(conversions) && std::strncmp(found, conversions, n) == 0;
}

char *getResourceFormat(const char *name, const char *conversions, char *buf, int len)
{
    getResourceString(name, buf, len);
    if (formatTakesConversions(buf, conversions))
        return buf;
    fallbackResourceString(name, buf, len);
    if (!formatTakesConversions(buf, conversions) && len > 0)
        buf[0] = '\0';
    return buf;
}
