// The chart image file: what the window shows, written as XPM.
#pragma once

#include <cstdio>
#include <string>

struct ChartState;
struct ChartImage;

// The C array name an XPM file at `path` carries: its base name with every
// "." and "-" turned into "_" (chart.xpm gives chart_xpm), as libXpm names
// the arrays of the files it writes.
std::string xpmArrayName(const char *path);

// Writes `image` as the XPM text of an array named `name` to out. Returns 1
// when every write succeeded (a full disk gives 0).
int writeXpmText(FILE *out, const char *name, const ChartImage &image);

/*
 * saveChartXpm: writes the chart as the window shows it (the status bar and
 * the chart below it when the bar is shown, the chart alone when hidden) to
 * path through a temporary renamed over the file, so that a failed save
 * leaves an old image whole and never a cut new one.
 * Returns:  1 on success; 0 before the first frame (no pixmap), when path may
 *           not be replaced, or when the image cannot be made or written
 *           whole.
 */
int saveChartXpm(ChartState *chart, const char *path);
