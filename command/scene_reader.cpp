// The scene-file reader and STL.
#include <cstdio>
#include <cstring>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/lexing.h"

namespace {

bool endsStatement(int c) { return c == ';' || c == '\r' || c == '\n'; }

// Skips to the end of the current line.
void dropLine(std::FILE *in)
{
    int c;
    while ((c = std::getc(in)) != EOF && c != '\n') {
    }
}

bool wordIs(const char *word, const char *keyword) { return strEqualNoCase(word, keyword) != 0; }

// The trimmed text between leading blanks and trailing blanks and newline.
void trimInPlace(char *text, char **start)
{
    char *p = text;
    while (*p == ' ' || *p == '\t')
        p++;
    size_t n = std::strlen(p);
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\t' || p[n - 1] == '\n' || p[n - 1] == '\r'))
        n--;
    p[n] = '\0';
    *start = p;
}

// Reads one line into line[size]; a longer line is cut and its rest dropped.
// 0 at the end of the file.
int readLine(std::FILE *in, char *line, int size)
{
    int n = 0, c;
    bool any = false;
    while ((c = std::getc(in)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        if (n < size - 1)
            line[n++] = static_cast<char>(c);
    }
    line[n] = '\0';
    return any;
}

// COMET and MINORPLANET: the body's element line from the ORBIT block.
void runOrbitStatement(const char *path, char **words)
{
    const char *name = words[1];
    if (name == nullptr || strIsBlank(name)) {
        stkSetError("stkErrorIllegalParam", name);
        return;
    }
    char line[206];
    if (!findOrbitBlockLine(path, name, line, sizeof line)) {
        stkSetError("stkErrorCometNotFound", name);
        return;
    }
    // The element-line parser comes with the element files.
    stkSetError("stkErrorNotAvailable", name);
}

int sceneDepth = 0; // STL loads running, outermost included

} // namespace

void sceneReaderStart(SceneReader *reader, std::FILE *in)
{
    reader->in = in;
    reader->atLineStart = 1;
    reader->statement[0] = '\0';
}

int readSceneStatement(SceneReader *reader, char *words[kSceneWords])
{
    std::FILE *in = reader->in;
    for (;;) {
        if (reader->atLineStart) {
            const int first = std::getc(in);
            if (first == EOF)
                return 0;
            if (first == '\n')
                continue;
            if (first == '#') {
                dropLine(in);
                continue;
            }
            std::ungetc(first, in);
            reader->atLineStart = 0;
        }
        size_t length = 0;
        int c;
        while ((c = std::getc(in)) != EOF && !endsStatement(c)) {
            if (length < sizeof reader->statement - 1)
                reader->statement[length] = static_cast<char>(c);
            length++;
        }
        if (c == EOF || c == '\n')
            reader->atLineStart = 1;
        if (length >= sizeof reader->statement) {
            // Running part of a statement could run something never written.
            char count[24];
            std::snprintf(count, sizeof count, "%zu", length);
            stkSetError("stkErrorTextTooLong", count);
            if (!reader->atLineStart)
                dropLine(in);
            reader->atLineStart = 1;
            continue;
        }
        reader->statement[length] = '\0';
        if (strIsBlank(reader->statement)) {
            if (c == EOF)
                return 0;
            continue;
        }
        for (int i = 0; i < kSceneWords; i++)
            words[i] = nullptr;
        StkTokenizer tokens;
        words[0] = stkNextTokenIn(&tokens, reader->statement, 0);
        for (int i = 1; i < kSceneWords; i++) {
            char *param = stkNextTokenIn(&tokens, nullptr, 1);
            if (!param)
                break;
            words[i] = (param[0] == '\0' || param[0] == ' ') ? nullptr : param;
        }
        return 1;
    }
}

int findOrbitBlockLine(const char *path, const char *name, char *line, int size)
{
    std::FILE *in = std::fopen(path, "r");
    if (in == nullptr)
        return 0;
    char wanted[kStkTextSize];
    strCopyBounded(wanted, sizeof wanted, name);
    char *want;
    trimInPlace(wanted, &want);
    char text[kStkTextSize];
    bool inBlock = false, found = false;
    while (!found && readLine(in, text, sizeof text)) {
        char *t;
        trimInPlace(text, &t);
        if (!inBlock) {
            StkTokenizer tokens;
            char *first = stkNextTokenIn(&tokens, t, 0);
            char *second = stkNextTokenIn(&tokens, nullptr, 1);
            inBlock = wordIs(first, "BLOCK") && wordIs(second, "ORBIT");
            continue;
        }
        if (strPrefixNoCase(t, "END BLOCK", 9)) {
            inBlock = false;
            continue;
        }
        if (t[0] != ':')
            continue;
        char *bodyName;
        trimInPlace(t + 1, &bodyName);
        if (std::strcmp(bodyName, want) == 0)
            found = readLine(in, line, size) != 0;
    }
    std::fclose(in);
    return found;
}

int loadSceneFile(ChartState *chart, const char *path)
{
    std::FILE *in = std::fopen(path, "r");
    if (in == nullptr)
        return 0;
    SceneReader reader;
    sceneReaderStart(&reader, in);
    char *words[kSceneWords];
    bool inScene = false;
    while (readSceneStatement(&reader, words)) {
        if (!inScene) {
            inScene = wordIs(words[0], "SCENE") && wordIs(words[1], "MAIN");
            continue;
        }
        if (wordIs(words[0], "END") && wordIs(words[1], "SCENE"))
            break;
        // Window layouts of other versions are not this program's.
        if (words[0] == nullptr || words[0][0] == '\0' || wordIs(words[1], "WINDOW"))
            continue;
        if (wordIs(words[0], "COMET") || wordIs(words[0], "MINORPLANET"))
            runOrbitStatement(path, words);
        else
            stkDispatch(chart, words[0], words + 1);
    }
    std::fclose(in);
    return 1;
}

void stkCmdStl(ChartState *chart, char **params)
{
    const char *file = params[0];
    if (file == nullptr) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    // A scene that loads itself would recurse until the stack ran out.
    if (sceneDepth >= kSceneNestingMax) {
        stkSetError("stkErrorIllegalParam", file);
        return;
    }
    std::FILE *probe = std::fopen(file, "r");
    if (probe == nullptr) {
        stkSetError("stkErrorFileNotFound", file);
        return;
    }
    std::fclose(probe);
    // Restored, not cleared: an inner STL must leave the outer one loading.
    const int32_t wasLoading = appData->sceneLoading;
    appData->sceneLoading = 1;
    sceneDepth++;
    loadSceneFile(chart, file);
    sceneDepth--;
    appData->sceneLoading = wasLoading;
}
