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
#include "model/element_lines.h"
#include "model/file_input.h"
#include "model/lexing.h"

namespace {

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

void newPositionRow(BodyPosition *row, const OrbitalElements *el)
{
    std::memset(row, 0, sizeof *row);
    row->type = el->type;
    row->outline = smallBodyOrbitOutline(el, kSmallBodyOutlineSegments);
    row->outlineCount = row->outline ? kSmallBodyOutlinePoints : 0;
}

} // namespace


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
    elementNormaliseKey(std::string(name, length).c_str(), key);
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
