#include "model/click_data.h"

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
#include "model/user_objects.h"

namespace {

constexpr int kIndexStep = 30;

bool isEntryStart(const char *text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return *text == ':';
}

// The position of a ":" line: the rest of its first word, or the next words
// when the word is ":" alone.
bool parseEntryStart(ChartState *chart, ClickDataLine *line, ClickDataEntry *row)
{
    char *const *w = line->words;
    if (line->malformed || !w[0] || w[0][0] != ':')
        return false;
    char *word = w[0] + 1;
    int next = 1;
    if (!word[0]) {
        word = w[1];
        next = 2;
    }
    if (!word)
        return false;
    const char *lon = next < kClickDataWords ? w[next] : nullptr;
    const char *lat = next + 1 < kClickDataWords ? w[next + 1] : nullptr;
    double values[2] = {0.0, 0.0};
    int32_t used = 0;
    if (!parsePositionSpecAny(chart, word, lon, lat, &row->kind, &row->index, values, &used))
        return false;
    row->value1 = values[0];
    row->value2 = values[1];
    return true;
}

const ClickDataEntry *findEntry(const ChartState *chart, int32_t kind, int32_t index)
{
    for (const ClickDataEntry *e = chart->clickDataIndex; e && e->kind != kClickDataEnd; ++e)
        if (e->kind == kind && e->index == index)
            return e;
    return nullptr;
}

// Hands each line of the entry of kind and index (after its ":" line, up
// to the next ":" line or the end of the file) to visit. False when there is
// no such entry or the click-data file cannot be read (stkErrorFileNotFound).
template <typename Visit>
bool scanEntry(const ChartState *chart, int32_t kind, int32_t index, Visit visit)
{
    const ClickDataEntry *entry = findEntry(chart, kind, index);
    if (!entry)
        return false;
    FILE *file = openRegularFile(appData->clickDataFile);
    if (!file) {
        stkSetError("stkErrorFileNotFound", appData->clickDataFile);
        return false;
    }
    ClickDataLine line;
    long offset;
    if (std::fseek(file, entry->offset, SEEK_SET) == 0 && clickDataReadLine(file, &offset, &line))
        while (clickDataReadLine(file, &offset, &line) && !line.entryStart)
            visit(line);
    std::fclose(file);
    return true;
}

void noMemoryBox()
{
    char text[256];
    getResourceString("messageSystemOutOfMemory", text, sizeof text);
    uiHooks.openMessageBox(appData->topLevel, text, kMessageBoxWarning);
}

} // namespace

int clickDataReadLine(FILE *file, long *offset, ClickDataLine *line)
{
    for (;;) {
        long at = std::ftell(file);
        size_t length;
        if (readTextLine(file, line->text, sizeof line->text, &length) == kTextLineEnd)
            return 0;
        // The line ends at its first CR as well.
        char *cr = static_cast<char *>(std::memchr(line->text, '\r', length));
        if (cr)
            length = static_cast<size_t>(cr - line->text);
        if (length == 0 || line->text[0] == '#')
            continue;
        line->text[length] = '\0';
        for (char *&w : line->words)
            w = nullptr;
        *offset = at;
        line->entryStart = isEntryStart(line->text);
        // A line too long to read whole is no line of words (its rest was
        // skipped, never to be read as a line of its own).
        line->malformed = length > static_cast<size_t>(kClickDataLineMax) || std::strlen(line->text) != length;
        if (line->malformed)
            return 1;
        StkTokenizer tokens{};
        char *word = stkNextTokenIn(&tokens, line->text, 0);
        for (int i = 0; word && i < kClickDataWords; ++i) {
            line->words[i] = word[0] && word[0] != ' ' ? word : nullptr;
            word = stkNextTokenIn(&tokens, nullptr, 1);
        }
        return 1;
    }
}

void freeClickData(ChartState *chart)
{
    std::free(chart->clickDataIndex);
    chart->clickDataIndex = nullptr;
}

int loadClickData(ChartState *chart, const char *path)
{
    FILE *file = openRegularFile(path);
    if (!file) {
        stkSetError("stkErrorFileNotFound", path);
        return 0;
    }
    int room = kIndexStep, used = 0;
    auto *rows = static_cast<ClickDataEntry *>(std::malloc(static_cast<size_t>(room + 1) * sizeof(ClickDataEntry)));
    if (!rows) {
        std::fclose(file);
        noMemoryBox();
        return 0;
    }
    ClickDataLine line;
    long offset;
    while (clickDataReadLine(file, &offset, &line)) {
        ClickDataEntry row{};
        if (!line.entryStart || offset > INT32_MAX || !parseEntryStart(chart, &line, &row))
            continue;
        row.offset = static_cast<int32_t>(offset);
        if (used == room) {
            auto *grown = static_cast<ClickDataEntry *>(
                std::realloc(rows, static_cast<size_t>(room + kIndexStep + 1) * sizeof(ClickDataEntry)));
            if (!grown) {
                noMemoryBox();
                break;
            }
            rows = grown;
            room += kIndexStep;
        }
        rows[used++] = row;
    }
    std::fclose(file);
    freeClickData(chart);
    if (used == 0) {
        std::free(rows);
        return 1;
    }
    rows[used] = ClickDataEntry{};
    rows[used].kind = kClickDataEnd;
    chart->clickDataIndex = rows;
    return 1;
}

int clickDataText(ChartState *chart, int32_t kind, int32_t index, char *text, int size, int *hasImage)
{
    if (size > 0)
        text[0] = '\0';
    *hasImage = 0;
    int any = 0;
    scanEntry(chart, kind, index, [&](const ClickDataLine &line) {
        const char *w0 = line.words[0];
        if (strEqualNoCase(w0, "@TEXT")) {
            any = 1;
            strCopyBounded(text, size, line.words[1]);
        } else if (strEqualNoCase(w0, "@IMAGE")) {
            any = 1;
            if (line.words[1])
                *hasImage = 1;
        }
    });
    return any;
}

ImageList *imageListNew()
{
    return static_cast<ImageList *>(std::calloc(1, sizeof(ImageList)));
}

namespace {
char *copyOrNull(const char *s, bool *failed)
{
    if (!s)
        return nullptr;
    char *copy = strdup(s);
    if (!copy)
        *failed = true;
    return copy;
}
} // namespace

int imageListAppend(ImageList *list, const char *file, const char *caption)
{
    auto *grown =
        static_cast<ImageListItem *>(std::realloc(list->items, static_cast<size_t>(list->count + 1) * sizeof(ImageListItem)));
    if (!grown)
        return 0;
    list->items = grown;
    bool failed = false;
    ImageListItem item{copyOrNull(file, &failed), copyOrNull(caption, &failed)};
    if (failed) {
        std::free(item.file);
        std::free(item.caption);
        return 0;
    }
    list->items[list->count++] = item;
    return 1;
}

void imageListFree(ImageList *list)
{
    if (!list)
        return;
    for (int i = 0; i < list->count; ++i) {
        std::free(list->items[i].file);
        std::free(list->items[i].caption);
    }
    std::free(list->items);
    std::free(list);
}

int clickDataImages(ChartState *chart, int32_t kind, int32_t index, ImageList *list)
{
    int n = 0;
    scanEntry(chart, kind, index, [&](const ClickDataLine &line) {
        if (strEqualNoCase(line.words[0], "@IMAGE") && imageListAppend(list, line.words[1], line.words[2]))
            ++n;
    });
    return n;
}
