// Batches longer than one call may carry are cut into pieces: a canvas that
// fails every call above a small limit gets all of a 5-million-point batch,
// in order, joined where the shape needs it.
#include <gtest/gtest.h>

#include <vector>

#include "render/canvas_pieces.h"
#include "render/recording_canvas.h"

namespace {

constexpr int kLimit = 1000;

// Refuses (counts and drops) any batched call longer than kLimit points.
struct LimitedCanvas : RecordingCanvas {
    int tooLong = 0;
    void drawPoints(const CanvasPoint *pts, int n) override {
        if (n > kLimit) tooLong++;
        else RecordingCanvas::drawPoints(pts, n);
    }
    void drawLines(const CanvasPoint *pts, int n) override {
        if (n > kLimit) tooLong++;
        else RecordingCanvas::drawLines(pts, n);
    }
    void fillPolygon(const CanvasPoint *pts, int n, CanvasPolygonShape shape) override {
        if (n > kLimit) tooLong++;
        else RecordingCanvas::fillPolygon(pts, n, shape);
    }
};

std::vector<CanvasPoint> numbered(int n) {
    std::vector<CanvasPoint> pts(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) pts[i] = CanvasPoint{static_cast<int16_t>(i % 2500), static_cast<int16_t>(i / 2500)};
    return pts;
}

bool same(const std::vector<CanvasPoint> &a, const std::vector<CanvasPoint> &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
    return true;
}

TEST(CanvasPieces, PointsAndPolylinesOfEveryLengthArriveWholeInCallsTheCanvasTakes) {
    const int sizes[] = {1, 2, kLimit - 1, kLimit, kLimit + 1, 2 * kLimit - 1, 2 * kLimit, 5000000};
    for (const int n : sizes) {
        SCOPED_TRACE(n);
        const std::vector<CanvasPoint> pts = numbered(n);

        LimitedCanvas points;
        drawPointsInPieces(&points, pts.data(), n, kLimit);
        std::vector<CanvasPoint> got;
        for (const CanvasCall &c : points.calls) got.insert(got.end(), c.points.begin(), c.points.end());
        EXPECT_EQ(points.tooLong, 0);
        EXPECT_TRUE(same(got, pts)) << "points lost, repeated or reordered";
        EXPECT_EQ(points.calls.size(), static_cast<size_t>((n + kLimit - 1) / kLimit));

        LimitedCanvas lines;
        drawLinesInPieces(&lines, pts.data(), n, kLimit);
        EXPECT_EQ(lines.tooLong, 0);
        // Each piece starts where the last ended: the same segments, none twice.
        got.clear();
        for (const CanvasCall &c : lines.calls) {
            ASSERT_GE(c.points.size(), 2u);
            if (!got.empty()) {
                EXPECT_TRUE(c.points.front().x == got.back().x && c.points.front().y == got.back().y)
                    << "a gap in the line";
                got.pop_back();
            }
            got.insert(got.end(), c.points.begin(), c.points.end());
        }
        EXPECT_TRUE(n < 2 ? lines.calls.empty() : same(got, pts));
    }
}

TEST(CanvasPieces, AConvexPolygonIsAFanOfPiecesAndAnotherShapeTooBigIsNotDrawn) {
    for (const int n : {3, kLimit, kLimit + 1, 5000000}) {
        SCOPED_TRACE(n);
        const std::vector<CanvasPoint> pts = numbered(n);
        LimitedCanvas canvas;
        fillPolygonInPieces(&canvas, pts.data(), n, PolygonConvex, kLimit);
        EXPECT_EQ(canvas.tooLong, 0);
        // Every piece is vertex 0 and a run of the outline that starts on
        // the end of the run before: the runs are the outline, once.
        std::vector<CanvasPoint> outline(1, pts[0]);
        for (const CanvasCall &c : canvas.calls) {
            ASSERT_GE(c.points.size(), 3u);
            EXPECT_EQ(c.a[1], PolygonConvex);
            EXPECT_TRUE(c.points[0].x == pts[0].x && c.points[0].y == pts[0].y) << "a piece off the fan's centre";
            if (outline.size() > 1) {
                EXPECT_TRUE(c.points[1].x == outline.back().x && c.points[1].y == outline.back().y) << "a gap";
                outline.pop_back();
            }
            outline.insert(outline.end(), c.points.begin() + 1, c.points.end());
        }
        EXPECT_TRUE(same(outline, pts));
    }
    for (const CanvasPolygonShape shape : {PolygonComplex, PolygonNonconvex}) {
        const std::vector<CanvasPoint> pts = numbered(kLimit + 1);
        LimitedCanvas canvas;
        fillPolygonInPieces(&canvas, pts.data(), kLimit + 1, shape, kLimit);
        EXPECT_EQ(canvas.tooLong, 0);
        EXPECT_TRUE(canvas.calls.empty()) << "a fan of pieces would fill another shape";
        fillPolygonInPieces(&canvas, pts.data(), kLimit, shape, kLimit);
        EXPECT_EQ(canvas.calls.size(), 1u);
    }
}

} // namespace
