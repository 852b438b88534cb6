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
