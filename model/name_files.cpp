#include "model/name_files.h"

#include <cstdlib>
#include <cstring>

#include "model/app_data.h"
#include "model/file_input.h"
#include "resources/catalogs.h"

int readNameLine(std::FILE *f, char *buf, int len) {
    int n = 0;
    int c = 0;
    int read = 0;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') break;
        if (++read > kNameLineReadMax) {
            buf[n] = '\0';
            return -1;
        }
        if (n < len - 1) buf[n++] = static_cast<char>(c);
    }
    buf[n] = '\0';
    return (read > 0 || c == '\n') ? 1 : 0;
}

namespace {

// A fresh copy of text, or null when memory is short.
char *copyName(const char *text) {
    const size_t n = std::strlen(text);
    char *copy = static_cast<char *>(std::malloc(n + 1));
    if (copy != nullptr) std::memcpy(copy, text, n + 1);
    return copy;
}

// One name per row from the file, as a malloc'ed copy; a row without a line
// (or without memory) points at its built-in name, which freeNames skips.
template <typename Row, typename Builtin>
void loadNames(const char *path, Row *rows, int count, Builtin builtinOf) {
    std::FILE *f = (path != nullptr && path[0] != '\0') ? openRegularFile(path) : nullptr;
    char line[kNameLineSize];
    for (int i = 0; i < count; i++) {
        char *name = nullptr;
        const int got = f != nullptr ? readNameLine(f, line, sizeof line) : 0;
        if (got < 0) { // not a name file: the rest keep their built-in names
            std::fclose(f);
            f = nullptr;
        } else if (got > 0) {
            name = copyName(line);
        }
        rows[i].localName = name != nullptr ? name : const_cast<char *>(builtinOf(rows[i]));
    }
    if (f != nullptr) std::fclose(f);
}

template <typename Row, typename Builtin>
void freeNames(Row *rows, int count, Builtin builtinOf) {
    for (int i = 0; i < count; i++) {
        if (rows[i].localName != nullptr && rows[i].localName != builtinOf(rows[i])) std::free(rows[i].localName);
        rows[i].localName = nullptr;
    }
}

const char *constBuiltin(const ConstellationEntry &e) { return e.latinName; }
const char *starBuiltin(const StarNameEntry &e) { return e.builtinName; }

} // namespace

void loadConstNamesFrom(const char *path) {
    freeConstNames();
    loadNames(path, constellations, constellationCount, constBuiltin);
}

void loadStarNamesFrom(const char *path) {
    freeStarNames();
    loadNames(path, starNames, starNameCount, starBuiltin);
}

void loadConstNames() { loadConstNamesFrom(appData->constNameFile); }
void loadStarNames() { loadStarNamesFrom(appData->starNameFile); }

void freeConstNames() { freeNames(constellations, constellationCount, constBuiltin); }
void freeStarNames() { freeNames(starNames, starNameCount, starBuiltin); }
