#include "model/user_objects.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

const KeywordEntry epochKeywords[] = {
    {"DATE", kPosEqtDate},
    {"B1950", kPosEqtB1950},
    {"J2000", kPosEqt},
    {nullptr, 0},
};

enum { kWordStar = 1, kWordNebula, kWordMark };
const KeywordEntry objectTypeKeywords[] = {
    {"STAR", kWordStar},
    {"NEBULA", kWordNebula},
    {"MARK", kWordMark},
    {nullptr, 0},
};

constexpr int32_t kLineDefaultColour = kUserObjectWhite; // colour 21 of old files, white
constexpr int32_t kObjectDefaultColour = 2;
constexpr int kTableStep = 100;

// A whole word as a decimal integer in [low, high]; 0 for anything else.
bool readInteger(const char *word, long low, long high, long *out)
{
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(word, &end, 10);
    if (end == word || *end || errno == ERANGE || v < low || v > high)
        return false;
    *out = v;
    return true;
}

// A colour number; anything outside 0..15 is white.
bool readColour(const char *word, int32_t *out)
{
    long v;
    if (!readInteger(word, LONG_MIN, LONG_MAX, &v))
        return false;
    *out = v < 0 || v > kUserObjectWhite ? kUserObjectWhite : static_cast<int32_t>(v);
    return true;
}

// Magnitudes outside this never reach the chart and would overflow x 10.
constexpr double kMagnitudeBound = 100.0;

bool readMagnitude(const char *word, int32_t *tenths)
{
    char *end = nullptr;
    double m = std::strtod(word, &end);
    if (end == word || *end || !std::isfinite(m) || std::fabs(m) > kMagnitudeBound)
        return false;
    *tenths = static_cast<int32_t>(std::trunc(m * 10.0));
    return true;
}

const char *wordAt(char *const words[], int count, int i) { return i < count ? words[i] : nullptr; }

} // namespace

void userObjectReadStateInit(UserObjectReadState *state)
{
    state->epoch = kPosEqt;
    state->linePattern = 0xFFFF;
    state->lineColour = kLineDefaultColour;
    state->colour = kObjectDefaultColour;
}

int userObjectSplitLine(char *line, char *words[kUserObjectMaxWords])
{
    StkTokenizer tokens{};
    int count = 0;
    char *word = stkNextTokenIn(&tokens, line, 0);
    while (word && count < kUserObjectMaxWords) {
        words[count++] = word[0] ? word : nullptr;
        word = stkNextTokenIn(&tokens, nullptr, 1);
    }
    // "LINE ,8" or "12.5,,30": an absent second word lets the rest move up.
    if (count > 1 && !words[1]) {
        for (int i = 1; i + 1 < count; ++i)
            words[i] = words[i + 1];
        --count;
    }
    return count;
}

int userObjectParseWords(ChartState *chart, char *const words[], int count, UserObjectReadState *state,
                         UserObject *out)
{
    if (count < 1 || !words[0])
        return kUserObjectLineMalformed;
    UserObject row{};
    int32_t code;
    if (strEqualNoCase(words[0], "EPOCH")) {
        const char *system = wordAt(words, count, 1);
        if (system && stkLookupKeywordCopy(system, epochKeywords, &code))
            state->epoch = code;
        return kUserObjectLineNoEntry;
    }
    if (strEqualNoCase(words[0], "END")) {
        row.type = kUserObjectEnd;
        *out = row;
        return kUserObjectLineEntry;
    }
    if (strEqualNoCase(words[0], "LINE")) {
        const char *colour = wordAt(words, count, 1), *pattern = wordAt(words, count, 2);
        int32_t newColour = state->lineColour, newPattern = state->linePattern;
        if (colour && !readColour(colour, &newColour))
            return kUserObjectLineMalformed;
        if (pattern) {
            char *end = nullptr;
            errno = 0;
            unsigned long long v = std::strtoull(pattern, &end, 16);
            if (end == pattern || *end || errno == ERANGE || v > 0xFFFFFFFFull || pattern[0] == '-')
                return kUserObjectLineMalformed;
            newPattern = static_cast<int32_t>(static_cast<uint32_t>(v));
        }
        state->lineColour = newColour;
        state->linePattern = newPattern;
        row.type = kUserObjectLine;
        row.param1 = newPattern;
        row.param2 = newColour;
        *out = row;
        return kUserObjectLineEntry;
    }

    // The position: bare coordinates are read in the file's epoch.
    double values[2] = {0.0, 0.0};
    int32_t used = 0, next = 0;
    if (std::isdigit(static_cast<unsigned char>(words[0][0]))) {
        char keyword[16];
        strCopyBounded(keyword, sizeof keyword, stkKeywordName(positionKeywords, state->epoch));
        if (!parsePositionSpec(chart, keyword, words[0], wordAt(words, count, 1), &row.kind, &row.index, values,
                               &used) ||
            used < 2)
            return kUserObjectLineMalformed;
        next = used - 1;
    } else {
        char first[kStkWordSize];
        if (!strCopyBounded(first, sizeof first, words[0]) ||
            !parsePositionSpecAny(chart, first, wordAt(words, count, 1), wordAt(words, count, 2), &row.kind,
                                  &row.index, values, &used))
            return kUserObjectLineMalformed;
        next = used;
    }
    row.value1 = values[0];
    row.value2 = values[1];

    // The object's type and its parameters; another word is already the name.
    const char *typeWord = wordAt(words, count, next);
    const char *name = nullptr;
    int32_t type = 0;
    if (typeWord && stkLookupKeywordCopy(typeWord, objectTypeKeywords, &type)) {
        const char *a = wordAt(words, count, next + 1);
        long v;
        ++next;
        switch (type) {
        case kWordStar: {
            row.type = kUserObjectStar;
            if (a && !readMagnitude(a, &row.param1))
                return kUserObjectLineMalformed;
            if (a)
                ++next;
            const char *colourClass = a ? wordAt(words, count, next) : nullptr;
            if (colourClass) {
                if (!readInteger(colourClass, LONG_MIN, LONG_MAX, &v))
                    return kUserObjectLineMalformed;
                row.param2 = v < 0 ? 0 : v > 9 ? 9 : static_cast<int32_t>(v);
                ++next;
            }
            break;
        }
        case kWordNebula:
            row.type = kUserObjectNebula;
            row.param1 = -1;
            if (a) {
                if (!readInteger(a, INT32_MIN + 1L, INT32_MAX, &v))
                    return kUserObjectLineMalformed;
                row.param1 = static_cast<int32_t>(v - 1);
                ++next;
            }
            break;
        default:
            row.type = kUserObjectMark;
            row.param1 = -1;
            if (a) {
                if (!readInteger(a, INT32_MIN, INT32_MAX, &v))
                    return kUserObjectLineMalformed;
                row.param1 = static_cast<int32_t>(v);
                ++next;
            }
            break;
        }
        name = wordAt(words, count, next++);
    } else {
        row.type = kUserObjectPoint;
        name = typeWord;
        ++next;
    }
    if (name) {
        strCopyBounded(row.name, sizeof row.name, name);
        if (!isSendableName(row.name, sizeof row.name))
            return kUserObjectLineMalformed;
    }
    int32_t colour = state->colour;
    const char *colourWord = wordAt(words, count, next);
    if (colourWord && !readColour(colourWord, &colour))
        return kUserObjectLineMalformed;
    state->colour = colour;
    row.colour = colour;
    *out = row;
    return kUserObjectLineEntry;
}

namespace {

// The file's last path component, so that a report of a long path keeps
// the part a user recognises.
const char *baseName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

void reportBox(const char *resource, const char *conversions, const char *path, int line)
{
    char format[256], text[kUserObjectPathSize + 256];
    getResourceFormat(resource, conversions, format, sizeof format);
    if (conversions[1] == 'd')
        std::snprintf(text, sizeof text, format, path, line);
    else
        std::snprintf(text, sizeof text, format, path);
    uiHooks.openMessageBox(appData ? appData->topLevel : nullptr, text, kMessageBoxWarning);
}

void reportBadLine(UserObjectReport report, const char *path, long line)
{
    if (report == kUserObjectReportCommand) {
        char arg[64];
        std::snprintf(arg, sizeof arg, "line %ld of %s", line, baseName(path));
        stkSetError("stkErrorInUserObjectFile", arg);
    } else {
        reportBox("messageErrorInUserObjectFile", "sd", path, static_cast<int>(line));
    }
}

void reportNoData(UserObjectReport report, const char *path)
{
    if (report == kUserObjectReportCommand)
        stkSetError("stkErrorNoDataInUserObjectFile", baseName(path));
    else
        reportBox("messageNoDataInUserObjectFile", "s", path, 0);
}

void reportNoMemory(UserObjectReport report)
{
    if (report == kUserObjectReportCommand) {
        stkSetError("stkErrorOutOfMemory", "");
    } else {
        char text[256];
        getResourceString("messageSystemOutOfMemory", text, sizeof text);
        uiHooks.openMessageBox(appData ? appData->topLevel : nullptr, text, kMessageBoxWarning);
    }
}

bool alreadyLoaded(const ChartState *chart, const char *path)
{
    for (int32_t i = 0; chart->userObjectFiles && i < chart->userObjectFileCount; ++i)
        if (std::strcmp(chart->userObjectFiles[i].path, path) == 0)
            return true;
    return false;
}

enum ReadResult { kReadDone, kReadMalformed, kReadNoMemory };

// Reads every line of file into a malloc'd table ended by the end marker.
ReadResult readTable(ChartState *chart, FILE *file, UserObject **table, int32_t *count, long *badLine)
{
    UserObjectReadState state;
    userObjectReadStateInit(&state);
    // A character past the limit tells a longer line; the rest of one is
    // skipped unread into memory.
    char line[kUserObjectLineMax + 2];
    size_t total;
    long lineNumber = 0;
    int32_t used = 0, room = 0;
    UserObject *rows = nullptr;
    ReadResult result = kReadDone;
    while (readTextLine(file, line, sizeof line, &total) != kTextLineEnd) {
        ++lineNumber;
        if (line[0] == '#')
            continue;
        // The line ends at its first CR; a NUL before that would hide the
        // rest of the line, so the line is malformed.
        size_t length = 0;
        while (length < total && line[length] != '\r')
            ++length;
        if (length == 0)
            continue;
        if (length > static_cast<size_t>(kUserObjectLineMax) || std::memchr(line, '\0', length)) {
            result = kReadMalformed;
            break;
        }
        line[length] = '\0';
        char *words[kUserObjectMaxWords];
        int n = userObjectSplitLine(line, words);
        UserObject row;
        int r = userObjectParseWords(chart, words, n, &state, &row);
        if (r == kUserObjectLineNoEntry)
            continue;
        if (r == kUserObjectLineMalformed) {
            result = kReadMalformed;
            break;
        }
        if (used + 1 >= room) { // room for the end marker too
            auto *grown = static_cast<UserObject *>(
                std::realloc(rows, static_cast<size_t>(room + kTableStep + 2) * sizeof(UserObject)));
            if (!grown) {
                result = kReadNoMemory;
                break;
            }
            rows = grown;
            room += kTableStep;
        }
        rows[used++] = row;
    }
    *badLine = lineNumber;
    if (result != kReadDone) {
        std::free(rows);
        return result;
    }
    if (rows) {
        rows[used] = UserObject{};
        rows[used].type = kUserObjectTableEnd;
    }
    *table = rows;
    *count = used;
    return kReadDone;
}

} // namespace

int loadUserObjectFile(ChartState *chart, const char *path, UserObjectFileEntry **list, int32_t *count,
                       UserObjectReport report)
{
    if (!chart || !path || !list || !count)
        return 0;
    if (alreadyLoaded(chart, path))
        return 0;
    FILE *file = std::strlen(path) < static_cast<size_t>(kUserObjectPathSize) ? openRegularFile(path) : nullptr;
    if (!file) {
        if (report == kUserObjectReportCommand)
            stkSetError("stkErrorFileNotFound", path);
        return 0;
    }
    UserObject *table = nullptr;
    int32_t rows = 0;
    long badLine = 0;
    ReadResult result = readTable(chart, file, &table, &rows, &badLine);
    std::fclose(file);
    if (result == kReadMalformed) {
        reportBadLine(report, path, badLine);
        return 0;
    }
    if (result == kReadNoMemory) {
        reportNoMemory(report);
        return 0;
    }
    if (rows == 0) {
        std::free(table);
        reportNoData(report, path);
        return 0;
    }
    auto *grown =
        static_cast<UserObjectFileEntry *>(std::realloc(*list, static_cast<size_t>(*count + 1) * sizeof **list));
    if (!grown) {
        std::free(table);
        reportNoMemory(report);
        return 0;
    }
    *list = grown;
    UserObjectFileEntry &entry = grown[(*count)++];
    entry.count = rows;
    strCopyBounded(entry.path, sizeof entry.path, path);
    entry.table = table;
    return 1;
}

namespace {

// A pick or LOOK/TRACK target of a user object names it by its running
// index, which no longer means the same object once files go.
void dropUserObjectReferences(ChartState *chart)
{
    if (chart->hitKind == kPosUserObject)
        chart->hitKind = kHitKindNone;
    if ((chart->trackKind & ~kTrackKindLockBit) == kPosUserObject)
        chart->trackState = kTrackNone;
}

} // namespace

int unloadUserObjectFile(ChartState *chart, const char *path)
{
    if (!chart || !path)
        return 0;
    for (int32_t i = 0; chart->userObjectFiles && i < chart->userObjectFileCount; ++i) {
        if (std::strcmp(chart->userObjectFiles[i].path, path) != 0)
            continue;
        std::free(chart->userObjectFiles[i].table);
        std::memmove(&chart->userObjectFiles[i], &chart->userObjectFiles[i + 1],
                     static_cast<size_t>(chart->userObjectFileCount - i - 1) * sizeof *chart->userObjectFiles);
        if (--chart->userObjectFileCount == 0) {
            std::free(chart->userObjectFiles);
            chart->userObjectFiles = nullptr;
        }
        dropUserObjectReferences(chart);
        return 1;
    }
    return 0;
}

int loadSkyMarks(ChartState *chart)
{
    if (!appData || !appData->skyMarkFile[0])
        return 0;
    return loadUserObjectFile(chart, appData->skyMarkFile, &appData->skyMarkFiles, &appData->skyMarkFileCount,
                              kUserObjectReportBox);
}

void unloadUserObjects(ChartState *chart)
{
    for (int32_t i = 0; chart->userObjectFiles && i < chart->userObjectFileCount; i++)
        std::free(chart->userObjectFiles[i].table);
    std::free(chart->userObjectFiles);
    chart->userObjectFiles = nullptr;
    chart->userObjectFileCount = 0;
    dropUserObjectReferences(chart);
}
