// The click-data file: pictures and a text attached to objects, shown when
// an object is clicked. An entry starts with a ":" line naming its object
// (a PositionSpec in text) and holds "@IMAGE file [caption]" and
// "@TEXT text" lines up to the next ":" line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct ChartState;

constexpr int kClickDataLineMax = 2047; // characters of a line, without its end
constexpr int kClickDataWords = 5;

// One line as clickDataReadLine gives it; the words point into text.
struct ClickDataLine {
    char text[kClickDataLineMax + 2];  // a character past the limit tells a longer line
    char *words[kClickDataWords]; // null = absent (empty, or beginning with a blank)
    int entryStart;               // a ":" line, also one too long to read
    int malformed;                // over kClickDataLineMax or holding a NUL: no words
};

// The next line that is not empty or a comment, with its byte offset and
// words; of a longer line only what tells that it is one is kept (the rest
// is skipped unread into memory). 0 at the end of the file.
int clickDataReadLine(FILE *file, long *offset, ClickDataLine *line);

// Replaces the chart's click-data index with the entries of path. 1 on
// success (the index is null when the file has no entry; also 1 after a
// partial read when memory ran out); 0 when the file cannot be read
// (stkErrorFileNotFound): the index in use stays.
int loadClickData(ChartState *chart, const char *path);

// Frees the chart's click-data index.
void freeClickData(ChartState *chart);

// The "@TEXT" of the entry of kind and index (the last one counts; empty
// when none) into text[size]; hasImage 1 when an "@IMAGE" line names a
// file. 1 when the entry has any "@" line; 0 when there is no such entry or
// the click-data file cannot be read (stkErrorFileNotFound).
int clickDataText(ChartState *chart, int32_t kind, int32_t index, char *text, int size, int *hasImage);

// A list of pictures: file and caption, each owned and either may be null.
struct ImageListItem {
    char *file;
    char *caption;
};
struct ImageList {
    int count;
    ImageListItem *items;
};
ImageList *imageListNew(); // empty; null when memory ran out
// Appends copies of file and caption; 0 (nothing added) when memory ran out.
int imageListAppend(ImageList *list, const char *file, const char *caption);
void imageListFree(ImageList *list);

// Appends the file and caption of each "@IMAGE" line of the entry; their number.
int clickDataImages(ChartState *chart, int32_t kind, int32_t index, ImageList *list);
