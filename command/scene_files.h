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

/*
 * findOrbitBlockLine: the element line that follows the line ":" + name in
 * the file's ORBIT block (the whole trimmed name, any indentation).
 * Returns:  1 with line[size] filled; 0 when there is none.
 */
int findOrbitBlockLine(const char *path, const char *name, char *line, int size);

// Runs the statements of the file's SCENE MAIN. Errors are recorded, not
// shown: the last one is reported when the STL statement ends. Returns 0
// when the file cannot be opened.
int loadSceneFile(ChartState *chart, const char *path);
