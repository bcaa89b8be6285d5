// Nearness to drawn strokes, worked in doubles so that coordinates anywhere
// in the int32 range neither overflow nor lose the few units that matter.
#include "diagram/Outline.h"

#include <algorithm>
#include <cmath>

namespace {

// Pieces each Bezier curve is cut into: plenty for a tolerance of a few
// units on curves of diagram size.
constexpr int kBezierPieces = 24;
// Rounding slack, so that a point exactly at the tolerance counts as near.
constexpr double kSlack = 1e-7;

struct Vec {
    double x;
    double y;
};

Vec ToVec(CPoint p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

double SegmentDistance(Vec p, Vec a, Vec b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = 0.0;
    if (length2 > 0.0) t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

Vec BezierAt(const CPoint* q, double t) {
    const double u = 1.0 - t;
    const double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
    return {b0 * q[0].x + b1 * q[1].x + b2 * q[2].x + b3 * q[3].x,
            b0 * q[0].y + b1 * q[1].y + b2 * q[2].y + b3 * q[3].y};
}

}  // namespace

bool NearSegment(CPoint p, CPoint a, CPoint b, int32_t tol) {
    return SegmentDistance(ToVec(p), ToVec(a), ToVec(b)) <= tol + kSlack;
}

bool NearBoxBorder(CPoint p, CPoint a, CPoint b, int32_t tol) {
    const CRect r = NormalizedRect(a, b);
    if (!InBox(p, r, tol)) return false;
    // Inside the box shrunk by tol on every side is not on the border.
    const double x = p.x, y = p.y;
    const bool deepX = x > double(r.left) + tol && x < double(r.right) - tol;
    const bool deepY = y > double(r.top) + tol && y < double(r.bottom) - tol;
    return !(deepX && deepY);
}

bool NearEllipse(CPoint p, CPoint a, CPoint b, int32_t tol) {
    const CRect r = NormalizedRect(a, b);
    const double rx = (double(r.right) - r.left) / 2;
    const double ry = (double(r.bottom) - r.top) / 2;
    if (rx <= tol || ry <= tol) return InBox(p, r, tol);  // too flat to have an inside
    const double dx = p.x - (r.left + rx);
    const double dy = p.y - (r.top + ry);
    const double k = std::sqrt((dx / rx) * (dx / rx) + (dy / ry) * (dy / ry));
    if (k == 0.0) return std::min(rx, ry) <= tol;
    const double length = std::hypot(dx, dy);
    return std::fabs(length - length / k) <= tol + kSlack;
}

bool NearBezier(CPoint p, const CPoint* points, int count, int32_t tol) {
    const Vec v = ToVec(p);
    for (int first = 0; first + 3 < count; first += 3) {
        const CPoint* q = points + first;
        if (!InBox(p, BoundingBox(q, 4), tol)) continue;  // a curve stays in its points' box
        Vec from = ToVec(q[0]);
        for (int i = 1; i <= kBezierPieces; ++i) {
            const Vec to = BezierAt(q, double(i) / kBezierPieces);
            if (SegmentDistance(v, from, to) <= tol + kSlack) return true;
            from = to;
        }
    }
    return false;
}

CRect BoundingBox(const CPoint* points, int count) {
    if (count <= 0) return {};
    CRect r{points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) r = UnionRect(r, CRect{points[i].x, points[i].y, points[i].x, points[i].y});
    return r;
}

CRect UnionRect(const CRect& a, const CRect& b) {
    return CRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

bool InBox(CPoint p, const CRect& r, int32_t tol) {
    return int64_t{p.x} >= int64_t{r.left} - tol && int64_t{p.x} <= int64_t{r.right} + tol &&
           int64_t{p.y} >= int64_t{r.top} - tol && int64_t{p.y} <= int64_t{r.bottom} + tol;
}
