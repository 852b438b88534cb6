#include "render/canvas_pieces.h"

#include <vector>

void drawPointsInPieces(Canvas *canvas, const CanvasPoint *pts, int n, int perCall) {
    if (perCall < 1) return;
    for (int first = 0; first < n; first += perCall)
        canvas->drawPoints(pts + first, n - first < perCall ? n - first : perCall);
}

void drawLinesInPieces(Canvas *canvas, const CanvasPoint *pts, int n, int perCall) {
    if (perCall < 2) return;
    // Each piece starts on the last point of the one before.
    for (int first = 0; first < n - 1; first += perCall - 1)
        canvas->drawLines(pts + first, n - first < perCall ? n - first : perCall);
}

void fillPolygonInPieces(Canvas *canvas, const CanvasPoint *pts, int n, CanvasPolygonShape shape, int perCall) {
    if (n <= perCall) {
        canvas->fillPolygon(pts, n, shape);
        return;
    }
    if (shape != PolygonConvex || perCall < 3) return;
    // Fans round vertex 0: vertex 0 and a run of the outline, each run
    // starting on the last vertex of the one before.
    std::vector<CanvasPoint> piece;
    for (int first = 1; first < n - 1; first += perCall - 2) {
        const int count = n - first < perCall - 1 ? n - first : perCall - 1;
        piece.assign(1, pts[0]);
        piece.insert(piece.end(), pts + first, pts + first + count);
        canvas->fillPolygon(piece.data(), static_cast<int>(piece.size()), shape);
    }
}

int bitmapPoints(int x, int y, const uint16_t *rows, int width, int height, CanvasPoint out[kBitmapMaxPoints]) {
    if (rows == nullptr || width <= 0 || width > 16 || height <= 0 || height > 16) return 0;
    int n = 0;
    for (int r = 0; r < height; ++r) {
        const long py = static_cast<long>(y) + r;
        if (py < -32768 || py > 32767) continue;
        for (int col = 0; col < width; ++col) {
            const long px = static_cast<long>(x) + col;
            if ((rows[r] & (1u << col)) == 0 || px < -32768 || px > 32767) continue;
            out[n++] = CanvasPoint{static_cast<int16_t>(px), static_cast<int16_t>(py)};
        }
    }
    return n;
}
