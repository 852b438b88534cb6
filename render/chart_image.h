// The chart image file: what the window shows, written as XPM.
#pragma once

struct ChartState;

/*
 * saveChartXpm: writes the chart as the window shows it (the status bar and
 * the chart below it when the bar is shown, the chart alone when hidden) to
 * path through a temporary renamed over the file, so that a failed save
 * leaves an old image whole.
 * Returns:  1 on success; 0 before the first frame (no pixmap), when path may
 *           not be replaced, or when the image cannot be made or written.
 */
int saveChartXpm(ChartState *chart, const char *path);
