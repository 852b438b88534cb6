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
#include "model/command_error.h"
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

// Where one file's load stands: its reader, its ORBIT block (read at the
// first COMET or MINORPLANET statement) and the statements of each name
// and kind so far, so that two bodies of one name each find their own line.
struct SceneLoad {
    SceneReader reader;
    OrbitBlock *orbits = nullptr;
    bool orbitsRead = false;
    std::map<std::string, int> seen;
    ~SceneLoad() { freeOrbitBlock(orbits); }
};

// COMET and MINORPLANET: the body's element line from the file's ORBIT block.
void runOrbitStatement(ChartState *chart, SceneLoad *load, char **words)
{
    const char *name = words[1];
    if (name == nullptr || strIsBlank(name)) {
        stkSetError("stkErrorIllegalParam", name);
        return;
    }
    if (!load->orbitsRead) {
        load->orbits = readOrbitBlock(load->reader.in);
        load->orbitsRead = true;
    }
    if (load->orbits == nullptr) {
        stkSetError("stkErrorOutOfMemory", name);
        return;
    }
    const bool comet = wordIs(words[0], "COMET");
    const int occurrence = ++load->seen[std::string(comet ? "C" : "M") + name];
    char line[kElementLineSize];
    if (!findOrbitBlockLine(load->orbits, name, comet ? 'C' : 'M', occurrence, line, sizeof line)) {
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

int sceneDepth = 0; // scene loads running, outermost included

// What the outermost STL has left; once spent, every load running stops.
struct SceneBudget {
    int loads;
    long statements;
    bool spent;
};
SceneBudget sceneBudget;

// The whole budget, for an outermost load (an STL, or a file run directly).
void startSceneBudget() { sceneBudget = SceneBudget{kSceneLoadBudget, kSceneStatementBudget, false}; }

// Takes one unit of work; false (the error recorded once) when none is left.
bool spendSceneWork(int loads, long statements)
{
    if (sceneBudget.spent)
        return false;
    sceneBudget.loads -= loads;
    sceneBudget.statements -= statements;
    if (sceneBudget.loads >= 0 && sceneBudget.statements >= 0)
        return true;
    sceneBudget.spent = true;
    char what[40];
    if (sceneBudget.loads < 0)
        std::snprintf(what, sizeof what, "%d scene loads", kSceneLoadBudget);
    else
        std::snprintf(what, sizeof what, "%ld statements", kSceneStatementBudget);
    stkSetError("stkErrorSceneWorkSpent", what);
    return false;
}

} // namespace

void sceneReaderStart(SceneReader *reader, std::FILE *in)
{
    reader->in = in;
    reader->atLineStart = 1;
    reader->statement[0] = '\0';
    reader->droppedLength = 0;
}

int readSceneStatement(SceneReader *reader, char *words[kSceneWords])
{
    std::FILE *in = reader->in;
    for (;;) {
        if (reader->atLineStart) {
            const int first = std::getc(in);
            if (first == EOF)
                return kSceneEnd;
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
            // Running part of a statement could run something never written;
            // whether it is an error is the caller's to say.
            if (!reader->atLineStart)
                dropLine(in);
            reader->atLineStart = 1;
            reader->droppedLength = length;
            return kSceneTooLong;
        }
        reader->statement[length] = '\0';
        if (strIsBlank(reader->statement)) {
            if (c == EOF)
                return kSceneEnd;
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
        return kSceneStatement;
    }
}

int sceneFileHasMain(const char *path)
{
    std::FILE *in = openRegularFile(path);
    if (in == nullptr)
        return 0;
    SceneReader reader;
    sceneReaderStart(&reader, in);
    char *words[kSceneWords];
    int found = 0, read;
    while (!found && (read = readSceneStatement(&reader, words)) != kSceneEnd)
        found = read == kSceneStatement && wordIs(words[0], "SCENE") && wordIs(words[1], "MAIN");
    std::fclose(in);
    return found;
}

int loadSceneStream(ChartState *chart, std::FILE *in)
{
    // The outermost load opens the budget; every load, nested ones too, spends one.
    if (sceneDepth == 0)
        startSceneBudget();
    if (!spendSceneWork(1, 0))
        return 1;
    sceneDepth++;
    SceneLoad load;
    sceneReaderStart(&load.reader, in);
    char *words[kSceneWords];
    bool inScene = false;
    int read;
    while ((read = readSceneStatement(&load.reader, words)) != kSceneEnd) {
        // Anything outside SCENE MAIN is no statement: a long line there is
        // no error either.
        if (!inScene) {
            inScene = read == kSceneStatement && wordIs(words[0], "SCENE") && wordIs(words[1], "MAIN");
            continue;
        }
        if (!spendSceneWork(0, 1))
            break;
        if (read == kSceneTooLong) {
            char count[24];
            std::snprintf(count, sizeof count, "%zu", load.reader.droppedLength);
            stkSetError("stkErrorTextTooLong", count);
            continue;
        }
        if (wordIs(words[0], "END") && wordIs(words[1], "SCENE"))
            break;
        // Window layouts of other versions are not this program's.
        if (words[0] == nullptr || words[0][0] == '\0' || wordIs(words[1], "WINDOW"))
            continue;
        if (wordIs(words[0], "COMET") || wordIs(words[0], "MINORPLANET"))
            runOrbitStatement(chart, &load, words);
        else
            stkDispatch(chart, words[0], words + 1);
        if (sceneBudget.spent)
            break;
    }
    sceneDepth--;
    return 1;
}

int loadSceneFile(ChartState *chart, const char *path)
{
    std::FILE *in = openRegularFile(path);
    if (in == nullptr)
        return 0;
    loadSceneStream(chart, in);
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
    loadSceneFile(chart, file);
    appData->sceneLoading = wasLoading;
}
