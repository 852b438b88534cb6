#include "model/element_lines.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "astro/calendar.h"
#include "model/lexing.h"

namespace {

// Columns [from, to] of the key fields, in ElementKeyField order.
constexpr int kKeyColumns[kElementKeyFields][2] = {{188, 202}, {9, 18}, {2, 7}, {20, 49}};

// Columns [from, to] of field text cut from a normalised line.
void cutField(const char *line, int from, int to, char *out)
{
    const int n = to - from + 1;
    std::memcpy(out, line + from, static_cast<size_t>(n));
    out[n] = '\0';
}

bool blank(const char *s)
{
    for (; *s; ++s)
        if (*s != ' ')
            return false;
    return true;
}

// A number filling columns [from, to] (blanks around it allowed); false when
// the field holds none or anything else, or it is not finite.
bool numberField(const char *line, int from, int to, double *out)
{
    char field[32];
    cutField(line, from, to, field);
    char *end = nullptr;
    errno = 0;
    double v = std::strtod(field, &end);
    if (end == field || !blank(end) || !std::isfinite(v))
        return false;
    *out = v;
    return true;
}

bool optionalField(const char *line, int from, int to, double fallback, double *out)
{
    char field[32];
    cutField(line, from, to, field);
    if (blank(field)) {
        *out = fallback;
        return true;
    }
    return numberField(line, from, to, out);
}

// Text dropped of its leading blanks and padded to `width` ("%-Ns").
void leftAligned(const char *line, int from, int to, char *out, int size)
{
    char field[32];
    cutField(line, from, to, field);
    const char *s = field;
    while (*s == ' ')
        ++s;
    std::snprintf(out, static_cast<size_t>(size), "%-*.*s", size - 1, size - 1, s);
}

void normalise(const char *text, size_t n, char key[kElementKeySize])
{
    size_t from = 0;
    while (from < n && text[from] == ' ')
        ++from;
    while (n > from && text[n - 1] == ' ')
        --n;
    size_t k = 0;
    for (size_t i = from; i < n && k < static_cast<size_t>(kElementKeySize - 1); ++i)
        key[k++] = stkUpperAscii(text[i]);
    key[k] = '\0';
}

// Characters of a line before its line end, at most kElementLineChars.
int lineChars(const char *line)
{
    int n = 0;
    while (n < kElementLineChars && line[n] && line[n] != '\n' && line[n] != '\r')
        ++n;
    return n;
}

} // namespace

void elementLineColumns(const char *line, char text[kElementLineSize])
{
    const int n = lineChars(line);
    std::memcpy(text, line, static_cast<size_t>(n));
    std::memset(text + n, ' ', static_cast<size_t>(kElementLineChars - n));
    text[kElementLineChars] = '\n';
    text[kElementLineChars + 1] = '\0';
}

int parseElementLine(OrbitalElements *out, const char *line)
{
    const int n = lineChars(line);
    if (n < kElementLineMinChars)
        return 0;
    char text[kElementLineSize];
    elementLineColumns(line, text);

    const char type = text[0];
    if (type != 'C' && type != 'M' && type != 'N')
        return 0;
    double year, month, day;
    OrbitalElements e{};
    if (!numberField(text, 51, 54, &year) || !numberField(text, 55, 56, &month) ||
        !numberField(text, 57, 65, &day) || !numberField(text, 67, 76, &e.eccentricity) ||
        !numberField(text, 78, 88, &e.perihelionDistance) || !numberField(text, 90, 99, &e.argPerihelion) ||
        !numberField(text, 101, 110, &e.ascendingNode) || !numberField(text, 112, 121, &e.inclination))
        return 0;
    if (month < 1.0 || month > 12.0 || month != std::floor(month) || year != std::floor(year) ||
        e.perihelionDistance <= 0.0 || e.eccentricity < 0.0)
        return 0;
    if (!optionalField(text, 123, 128, 2000.0, &e.equinox) || !optionalField(text, 130, 135, 6.0, &e.absMagnitude) ||
        !optionalField(text, 137, 141, 10.0, &e.slope) || !optionalField(text, 143, 146, 0.01, &e.dustTailLength) ||
        !optionalField(text, 148, 151, 0.01, &e.ionTailLength) ||
        !optionalField(text, 153, 155, 1.0, &e.dustParameter))
        return 0;
    e.type = type;
    cutField(text, 2, 7, e.id);
    leftAligned(text, 9, 18, e.designation, kElementDesignationSize);
    cutField(text, 20, 49, e.name);
    leftAligned(text, 188, 202, e.extension, kElementExtensionSize);
    e.perihelionJd = calendarToJd(year, month, day);
    // The line as it came, so that a scene carries it unchanged.
    std::memcpy(e.lineText, line, static_cast<size_t>(n));
    e.lineText[n] = '\0';
    *out = e;
    return 1;
}

void elementLineKey(const char *line, ElementKeyField field, char key[kElementKeySize])
{
    const int from = kKeyColumns[field][0], to = kKeyColumns[field][1];
    normalise(line + from, static_cast<size_t>(to - from + 1), key);
}

int readElementFileLine(FILE *f, char text[kElementLineSize], int64_t *bytes)
{
    int n = 0, c;
    int64_t used = 0;
    bool cut = false;
    while ((c = std::getc(f)) != EOF) {
        ++used;
        if (c == '\n')
            break;
        if (c == '\r')
            cut = true;
        if (!cut && n < kElementLineChars)
            text[n++] = static_cast<char>(c);
    }
    std::memset(text + n, ' ', static_cast<size_t>(kElementLineChars - n));
    text[kElementLineChars] = '\n';
    text[kElementLineChars + 1] = '\0';
    *bytes = used;
    return used > 0;
}

void elementNormaliseKey(const char *text, char key[kElementKeySize])
{
    normalise(text, std::strlen(text), key);
}
