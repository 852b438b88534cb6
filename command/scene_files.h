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

#include <cstdio>

struct ChartState;

// Deepest STL nesting: a scene that loads itself stops there with one error.
constexpr int kSceneNestingMax = 8;
// Words of a scene statement: the command word and up to 19 parameters.
constexpr int kSceneWords = 20;

// Where one scene file's reading stands; each load has its own.
struct SceneReader {
    std::FILE *in;
    int atLineStart;                // the next character begins a line
    char statement[260];            // the current statement, tokenised in place
};

void sceneReaderStart(SceneReader *reader, std::FILE *in);

/*
 * readSceneStatement: the next statement of the file. Whole lines are read;
 * lines that are empty or begin with "#" are skipped; a line is split at ";"
 * and "\r". words[0] is the command word, words[1..19] the parameters (null
 * when omitted).
 * Returns:  1 with words filled; 0 at the end of the file.
 * Notes:    A statement of more than 259 characters records
 *           stkErrorTextTooLong and the rest of its line is dropped, so no
 *           fragment of it runs.
 */
int readSceneStatement(SceneReader *reader, char *words[kSceneWords]);

// 1 when the file can be read and has a "SCENE MAIN" line, the files that
// STL runs something of; 0 otherwise.
int sceneFileHasMain(const char *path);

// Runs the statements of the file's SCENE MAIN. Errors are recorded, not
// shown: the last one is reported when the STL statement ends. Returns 0
// when the file cannot be opened.
int loadSceneFile(ChartState *chart, const char *path);

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

// The settings, the command script and the whole scene (see the file's
// comments for the order). asStartupScript leaves out the date and the
// absolute star limit and writes the limit's offset instead. Each returns 1,
// or 0 when a write failed or a name could not be written so that it reads
// back the same (the scene would load differently).
int writeSettings(ChartState *chart, std::FILE *out, int asStartupScript);
int writeCommandScript(ChartState *chart, std::FILE *out, int asStartupScript);
int writeOrbitBlock(ChartState *chart, std::FILE *out);
int writeSceneFile(ChartState *chart, std::FILE *out, int asStartupScript);
