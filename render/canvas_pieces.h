// Batched drawing calls cut into pieces that a bounded canvas takes: the X
// protocol carries at most the server's maximum request size in one
// request, and a longer batch ends the client with BadLength.
#pragma once

#include "render/canvas.h"

// The n points as calls of at most perCall points each, in their order.
void drawPointsInPieces(Canvas *canvas, const CanvasPoint *pts, int n, int perCall);

// The polyline of n points as polylines of at most perCall points (perCall
// >= 2), each starting where the one before ended, so the line stays joined;
// a dash pattern starts again at each piece.
void drawLinesInPieces(Canvas *canvas, const CanvasPoint *pts, int n, int perCall);

// A convex polygon as a fan of convex pieces of at most perCall vertices
// (perCall >= 3) round its first vertex, which together fill it. Another
// shape cannot be cut so and is not drawn when it is too big for one call.
void fillPolygonInPieces(Canvas *canvas, const CanvasPoint *pts, int n, CanvasPolygonShape shape, int perCall);

// The set pixels of a one-bit symbol (drawBitmap's rows, at most 16 x 16) as
// points, row by row; a pixel beyond the 16-bit coordinates a canvas
// carries is left out (no drawable reaches it). Returns their number.
constexpr int kBitmapMaxPoints = 256;
int bitmapPoints(int x, int y, const uint16_t *rows, int width, int height, CanvasPoint out[kBitmapMaxPoints]);
