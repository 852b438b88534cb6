// The window size the option Geometry stores and the Environment dialog
// edits: width "x" height, decimal digits only. No X here, so that start-up
// and the dialog check a size by the same rule (start-up parses the whole
// X geometry, position included, with X's own parser and bounds its sizes
// here).
#pragma once

// The sizes a Geometry may ask for, pixels: the main window's own minimum,
// and the largest side X's signed 16-bit sizes leave. A larger stored size
// (60000x60000) once ended every start with an X error.
constexpr int kGeometryMinWidth = 120;
constexpr int kGeometryMinHeight = 160;
constexpr int kGeometryMaxSide = 32767;

// 1 when the sides a geometry gives are sizes it may ask for: the width
// (when hasWidth) in kGeometryMinWidth..kGeometryMaxSide, the height (when
// hasHeight) in kGeometryMinHeight..kGeometryMaxSide. A side not given is
// left to the window's default.
int geometrySidesInBounds(bool hasWidth, unsigned width, bool hasHeight, unsigned height);

// Width and height as two texts: each non-empty decimal digits only (no
// sign, blank or position), width in kGeometryMinWidth..kGeometryMaxSide,
// height in kGeometryMinHeight..kGeometryMaxSide. Returns 1 and *width,
// *height (either pointer may be null), else 0.
int geometrySizeValid(const char *widthText, const char *heightText, int *width, int *height);

// The same on the stored form "WxH" (one "x", nothing around it).
int geometryOptionValid(const char *text, int *width, int *height);
