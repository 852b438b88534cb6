#include "model/element_files.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "astro/calendar.h"
#include "astro/orbits.h"
#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "model/file_input.h"
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

bool lineHasKey(const char *lineText, const char *key)
{
    for (int f = 0; f < kElementKeyFields; ++f) {
        char k[kElementKeySize];
        elementLineKey(lineText, static_cast<ElementKeyField>(f), k);
        if (k[0] && std::strcmp(k, key) == 0)
            return true;
    }
    return false;
}

// The rows a table of count rows has room for: a whole power of two, so
// that adding bodies one at a time (a scene of thousands of minor planets)
// copies each row a few times, not once for every body added after it.
size_t tableRoom(int32_t count)
{
    size_t room = count > 0 ? 1 : 0;
    while (room < static_cast<size_t>(count))
        room *= 2;
    return room;
}

// Makes room in *p for count + 1 rows; false (p unchanged) when memory runs out.
template <typename T> bool growRows(T **p, int32_t count)
{
    const size_t room = tableRoom(count + 1);
    if (*p && room == tableRoom(count))
        return true;
    void *grown = std::realloc(*p, sizeof(T) * room);
    if (!grown)
        return false;
    *p = static_cast<T *>(grown);
    return true;
}

void freeRowOutlines(BodyPosition *rows, int32_t count)
{
    for (int32_t i = 0; rows && i < count; ++i) {
        std::free(rows[i].outline);
        rows[i].outline = nullptr;
        rows[i].outlineCount = 0;
    }
}

void newPositionRow(BodyPosition *row, const OrbitalElements *el)
{
    std::memset(row, 0, sizeof *row);
    row->type = el->type;
    row->outline = smallBodyOrbitOutline(el, kSmallBodyOutlineSegments);
    row->outlineCount = row->outline ? kSmallBodyOutlinePoints : 0;
}

} // namespace

namespace {

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

namespace {

// The line at `offset` of elementFile (up to its 205th byte), or false.
bool readLineAt(const char *elementFile, int64_t offset, char line[kElementLineSize])
{
    if (offset < 0)
        return false;
    FILE *f = openRegularFile(elementFile);
    if (!f)
        return false;
    const bool ok = std::fseek(f, static_cast<long>(offset), SEEK_SET) == 0 &&
                    std::fgets(line, kElementLineSize, f) != nullptr;
    std::fclose(f);
    return ok;
}

// The key columns of a line as the file holds it.
bool rawLineHasKey(const char *line, const char *key)
{
    char text[kElementLineSize];
    elementLineColumns(line, text);
    return lineHasKey(text, key);
}

} // namespace

int readElementRecordAt(const char *elementFile, int64_t offset, OrbitalElements *out)
{
    char line[kElementLineSize];
    return readLineAt(elementFile, offset, line) && parseElementLine(out, line);
}

int readElementRecord(const char *key, int, OrbitalElements *out, const char *elementFile, const char *indexFile,
                      int64_t *offsetOut)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        int64_t offset;
        char line[kElementLineSize];
        CatalogIndexAnswer answer = catalogIndexAsk(indexFile, key, &offset);
        if (answer == kIndexNoKey)
            return 0;
        if (answer == kIndexFound && readLineAt(elementFile, offset, line) && rawLineHasKey(line, key)) {
            // The key's own line; one that cannot be computed is no body.
            if (!parseElementLine(out, line))
                return 0;
            if (offsetOut)
                *offsetOut = offset;
            return 1;
        }
        // The index answers with something that is not the key's line.
        if (!catalogIndexRepair(elementFile, indexFile))
            return 0;
    }
    return 0;
}

struct OrbitBlock {
    // Type letter and name key -> the element lines under that header, in order.
    std::unordered_map<std::string, std::vector<std::string>> lines;
};

namespace {

// Longest scene line looked at; the rest of a longer one is skipped.
constexpr int kSceneLineSize = 1024;

// The next line cut at its carriage return or newline, at most
// kSceneLineSize - 1 characters kept. false at the end of the file.
bool nextSceneLine(FILE *f, std::string *line)
{
    line->clear();
    int c = std::getc(f);
    if (c == EOF)
        return false;
    bool cut = false;
    for (; c != EOF && c != '\n'; c = std::getc(f)) {
        if (c == '\r')
            cut = true;
        if (!cut && line->size() < static_cast<size_t>(kSceneLineSize - 1))
            line->push_back(static_cast<char>(c));
    }
    return true;
}

// "word1" + blanks + "word2" at the start of line, any case.
bool isBlockLine(const std::string &line, const char *word1, const char *word2)
{
    const size_t n1 = std::strlen(word1);
    if (!strPrefixNoCase(line.c_str(), word1, n1) || line.size() <= n1 || (line[n1] != ' ' && line[n1] != '\t'))
        return false;
    const char *p = line.c_str() + n1;
    while (*p == ' ' || *p == '\t')
        ++p;
    return strPrefixNoCase(p, word2, std::strlen(word2)) != 0;
}

std::string blockKey(char type, const char *name, size_t length)
{
    char key[kElementKeySize];
    normalise(name, length, key);
    return std::string(1, type) + key;
}

} // namespace

OrbitBlock *readOrbitBlock(FILE *scene)
{
    const long saved = std::ftell(scene);
    std::rewind(scene);
    OrbitBlock *block = new (std::nothrow) OrbitBlock;
    try {
        std::string line, header;
        bool inBlock = false;
        while (block && nextSceneLine(scene, &line)) {
            if (!inBlock) {
                inBlock = isBlockLine(line, "BLOCK", "ORBIT");
                continue;
            }
            if (isBlockLine(line, "END", "BLOCK"))
                break;
            if (line.empty() || line[0] != ':')
                continue;
            header.assign(line, 1, std::string::npos);
            if (!nextSceneLine(scene, &line) || isBlockLine(line, "END", "BLOCK"))
                break;
            if (!line.empty())
                block->lines[blockKey(line[0], header.c_str(), header.size())].push_back(line);
        }
    } catch (const std::bad_alloc &) {
        delete block;
        block = nullptr;
    }
    std::clearerr(scene);
    if (saved >= 0)
        std::fseek(scene, saved, SEEK_SET);
    return block;
}

void freeOrbitBlock(OrbitBlock *block) { delete block; }

int findOrbitBlockLine(const OrbitBlock *block, const char *name, char type, int occurrence, char *buf, int size)
{
    if (!block || !name || size <= 0 || occurrence < 1)
        return 0;
    const auto found = block->lines.find(blockKey(type, name, std::strlen(name)));
    if (found == block->lines.end() || static_cast<size_t>(occurrence) > found->second.size())
        return 0;
    std::snprintf(buf, static_cast<size_t>(size), "%s", found->second[static_cast<size_t>(occurrence - 1)].c_str());
    return 1;
}

void clearComets(ChartState *chart)
{
    freeRowOutlines(chart->cometPositions, chart->cometCount);
    std::free(chart->cometPositions);
    std::free(chart->cometElements);
    std::free(chart->cometTails);
    std::free(chart->cometFlags);
    chart->cometPositions = nullptr;
    chart->cometElements = nullptr;
    chart->cometTails = nullptr;
    chart->cometFlags = nullptr;
    chart->cometCount = 0;
}

void clearMinorPlanets(ChartState *chart)
{
    freeRowOutlines(chart->minorPlanetPositions, chart->minorPlanetCount);
    std::free(chart->minorPlanetPositions);
    std::free(chart->minorPlanetElements);
    std::free(chart->minorPlanetFlags);
    chart->minorPlanetPositions = nullptr;
    chart->minorPlanetElements = nullptr;
    chart->minorPlanetFlags = nullptr;
    chart->minorPlanetCount = 0;
}

int addComet(ChartState *chart, const OrbitalElements *el)
{
    const int32_t n = chart->cometCount;
    if (!growRows(&chart->cometPositions, n) || !growRows(&chart->cometElements, n) ||
        !growRows(&chart->cometTails, n) || !growRows(&chart->cometFlags, n)) {
        clearComets(chart);
        return 0;
    }
    chart->cometElements[n] = *el;
    std::memset(&chart->cometTails[n], 0, sizeof chart->cometTails[n]);
    chart->cometFlags[n] = kCometAddedFlags;
    newPositionRow(&chart->cometPositions[n], el);
    chart->cometCount = n + 1;
    return 1;
}

int addMinorPlanet(ChartState *chart, const OrbitalElements *el)
{
    const int32_t n = chart->minorPlanetCount;
    if (!growRows(&chart->minorPlanetPositions, n) || !growRows(&chart->minorPlanetElements, n) ||
        !growRows(&chart->minorPlanetFlags, n)) {
        clearMinorPlanets(chart);
        return 0;
    }
    chart->minorPlanetElements[n] = *el;
    chart->minorPlanetFlags[n] = kMinorPlanetAddedFlags;
    newPositionRow(&chart->minorPlanetPositions[n], el);
    chart->minorPlanetCount = n + 1;
    return 1;
}
