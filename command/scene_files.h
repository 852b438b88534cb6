// Scene files (the chart as command text) and the chart image's name.
#pragma once

/*
 * chartImageName: the file name GSAVE writes for name: ".xpm" is appended
 * unless the name already ends in an extension "xpm" of any case (chart ->
 * chart.xpm, chart.XPM stays, chart.png -> chart.png.xpm, dir.d/chart ->
 * dir.d/chart.xpm).
 * Returns:  1 with out[outSize] filled; 0 with out empty when it does not fit.
 */
int chartImageName(const char *name, char *out, int outSize);

#include <cstddef>
#include <cstdio>

struct ChartState;

// Deepest STL nesting: a scene that loads itself stops there with one error.
constexpr int kSceneNestingMax = 8;
// The work of one outermost STL, its nested loads included: a scene that
// loads itself several times over is bounded in depth but would multiply its
// loads at every level (12 lines of "STL self" are 12^8 loads). When either
// is spent every load stops, with one stkErrorSceneWorkSpent.
constexpr int kSceneLoadBudget = 1000;
constexpr long kSceneStatementBudget = 1000000;
// Words of a scene statement: the command word and up to 19 parameters.
constexpr int kSceneWords = 20;

// Where one scene file's reading stands; each load has its own.
struct SceneReader {
    std::FILE *in;
    int atLineStart;                // the next character begins a line
    char statement[260];            // the current statement, tokenised in place
    size_t droppedLength;           // the length of the last statement too long
};

// What readSceneStatement found.
enum SceneRead { kSceneEnd = 0, kSceneStatement = 1, kSceneTooLong = 2 };

void sceneReaderStart(SceneReader *reader, std::FILE *in);

/*
 * readSceneStatement: the next statement of the file. Whole lines are read;
 * lines that are empty or begin with "#" are skipped; a line is split at ";"
 * and "\r". words[0] is the command word, words[1..19] the parameters (null
 * when omitted).
 * Returns:  kSceneStatement with words filled; kSceneEnd at the end of the
 *           file; kSceneTooLong for a statement of more than 259 characters
 *           (droppedLength says how long), dropped with the rest of its line
 *           so that no fragment of it runs.
 */
int readSceneStatement(SceneReader *reader, char *words[kSceneWords]);

// 1 when the file can be read and has a "SCENE MAIN" line, the files that
// STL runs something of; 0 otherwise.
int sceneFileHasMain(const char *path);

// Runs the statements of the file's SCENE MAIN. Errors are recorded, not
// shown: the last one is reported when the STL statement ends. Returns 0
// when the file cannot be opened.
int loadSceneFile(ChartState *chart, const char *path);
// The same on a file already open (read from where it stands; the ORBIT
// block is read from its start, once). Returns 1.
int loadSceneStream(ChartState *chart, std::FILE *in);

// ---- writing ----------------------------------------------------------------

#include <cstdint>

struct KeywordEntry;

// One SHOW line of the bits set in value and not in defaultValue, then one
// HIDE line of those clear in value and set in defaultValue, each bit named
// by its first keyword of group (bits without a keyword are skipped).
// Returns 0 when a write failed.
int writeDisplayFlags(std::FILE *out, uint8_t value, uint8_t defaultValue, int32_t groupCode,
                      const KeywordEntry *table);
// The same with the object names of body id.
int writeObjectDisplayFlags(ChartState *chart, std::FILE *out, uint8_t value, uint8_t defaultValue, int32_t id);

// What a scene could not hold, for the notice after a save: each statement
// left out and its text, "; " between them, cut to fit; empty when none.
constexpr int kSceneLeftOutSize = 200;
struct SceneLeftOut {
    char text[kSceneLeftOutSize];
};

// The settings, the command script and the whole scene (see the file's
// comments for the order). asStartupScript leaves out the date and the
// absolute star limit and writes the limit's offset instead. Each returns 1,
// or 0 when a write failed. A statement that cannot be written so that it
// reads back the same (a path or site name that cannot travel in quotes, a
// target without a name) is left out of the scene and named in leftOut
// (when not null); the rest is written.
int writeSettings(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut = nullptr);
int writeCommandScript(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut = nullptr);
int writeOrbitBlock(ChartState *chart, std::FILE *out);
int writeSceneFile(ChartState *chart, std::FILE *out, int asStartupScript, SceneLeftOut *leftOut = nullptr);
