// The scene-file reader and STL.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/file_input.h"
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

// COMET and MINORPLANET: the body's element line from the file's ORBIT
// block; occurrence counts the statements of that name and kind so far, so
// two bodies of one name each find their own line.
void runOrbitStatement(ChartState *chart, std::FILE *in, char **words, std::map<std::string, int> *seen)
{
    const char *name = words[1];
    if (name == nullptr || strIsBlank(name)) {
        stkSetError("stkErrorIllegalParam", name);
        return;
    }
    const bool comet = wordIs(words[0], "COMET");
    const int occurrence = ++(*seen)[std::string(comet ? "C" : "M") + name];
    char line[kElementLineSize];
    if (!findOrbitBlockLine(in, name, comet ? 'C' : 'M', occurrence, line, sizeof line)) {
        stkSetError("stkErrorCometNotFound", name);
        return;
    }
    OrbitalElements elements;
    if (!parseElementLine(&elements, line)) {
        stkSetError("stkErrorInvalidComet", name);
        return;
    }
    if (comet)
        addComet(chart, &elements);
    else
        addMinorPlanet(chart, &elements);
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

int sceneFileHasMain(const char *path)
{
    std::FILE *in = openRegularFile(path);
    if (in == nullptr)
        return 0;
    // A long line met while looking is no error of anyone's: the record's
    // pending error is put back as it was.
    char errorId[sizeof appData->errorId], errorArg[sizeof appData->errorArg];
    std::memcpy(errorId, appData->errorId, sizeof errorId);
    std::memcpy(errorArg, appData->errorArg, sizeof errorArg);
    SceneReader reader;
    sceneReaderStart(&reader, in);
    char *words[kSceneWords];
    int found = 0;
    while (!found && readSceneStatement(&reader, words))
        found = wordIs(words[0], "SCENE") && wordIs(words[1], "MAIN");
    std::fclose(in);
    std::memcpy(appData->errorId, errorId, sizeof errorId);
    std::memcpy(appData->errorArg, errorArg, sizeof errorArg);
    return found;
}

int loadSceneFile(ChartState *chart, const char *path)
{
    std::FILE *in = openRegularFile(path);
    if (in == nullptr)
        return 0;
    SceneReader reader;
    sceneReaderStart(&reader, in);
    char *words[kSceneWords];
    bool inScene = false;
    std::map<std::string, int> seen;
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
            runOrbitStatement(chart, in, words, &seen);
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
    if (!regularFileReadable(file)) {
        stkSetError("stkErrorFileNotFound", file);
        return;
    }
    // Restored, not cleared: an inner STL must leave the outer one loading.
    const int32_t wasLoading = appData->sceneLoading;
    appData->sceneLoading = 1;
    sceneDepth++;
    loadSceneFile(chart, file);
    sceneDepth--;
    appData->sceneLoading = wasLoading;
}
