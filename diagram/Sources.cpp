// The sources symbol: a vertical arrow with a cloud at one end, standing for
// an uncontrolled source or sink. The drag's vertical direction sets where
// the arrow points, its horizontal direction at which end the cloud sits.
#include "diagram/DrawHelpers.h"
#include "diagram/Elements.h"
#include "diagram/Outline.h"

VARNEL_IMPLEMENT_SERIAL(CVSources)

namespace {

constexpr int kOutlineFirst = 2;
constexpr int kOutlineCount = 13;
constexpr int kHeadSize = 15;
constexpr int kCloudBelow = 16;
constexpr int kCloudAbove = 17;

const CPoint kCloudOutline[kOutlineCount] = {
    {0, 0},   {5, -4},  {20, -8}, {30, -3}, {32, 5}, {32, 24}, {25, 25},
    {20, 20}, {20, 20}, {0, 25},  {-2, 20}, {6, 20}, {0, 0},
};

}  // namespace

CVSources::CVSources() {
    for (const CPoint& p : kCloudOutline) AddPoint(p);
    AddPoint(CPoint{8, 8});
    AddPoint(CPoint{16, 6});
    AddPoint(CPoint{16, 22});
}

void CVSources::Offset(CPoint delta) { OffsetFirst(2, delta); }

namespace {

// Everything the symbol draws, worked out from its points.
struct SourcesShape {
    CPoint start;  // P0
    CPoint end;    // (P0.x, P1.y): the shaft is always vertical
    CPoint barbs[2];
    CPoint cloud[kOutlineCount];
};

SourcesShape ShapeOf(const std::vector<CPoint>& points) {
    SourcesShape shape;
    const CPoint p0 = points[0];
    const CPoint p1 = points[1];
    shape.start = p0;
    shape.end = CPoint{p0.x, p1.y};

    const CPoint head = points[kHeadSize];
    const int32_t barbY = p0.y < p1.y ? SaturatingSub(p1.y, head.y) : SaturatingAdd(p1.y, head.y);
    shape.barbs[0] = CPoint{SaturatingSub(p0.x, head.x), barbY};
    shape.barbs[1] = CPoint{SaturatingAdd(p0.x, head.x), barbY};

    const int32_t top = p0.y < p1.y ? p0.y : p1.y;
    const int32_t bottom = p0.y < p1.y ? p1.y : p0.y;
    const CPoint below = points[kCloudBelow];
    const CPoint above = points[kCloudAbove];
    const CPoint origin = p0.x < p1.x ? CPoint{SaturatingSub(p0.x, below.x), SaturatingAdd(bottom, below.y)}
                                      : CPoint{SaturatingSub(p0.x, above.x), SaturatingSub(top, above.y)};
    for (int i = 0; i < kOutlineCount; ++i) {
        const CPoint& q = points[kOutlineFirst + i];
        shape.cloud[i] = CPoint{SaturatingAdd(origin.x, q.x), SaturatingAdd(origin.y, q.y)};
    }
    return shape;
}

}  // namespace

void CVSources::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    const SourcesShape shape = ShapeOf(m_points);
    dc.MoveTo(shape.start);
    dc.LineTo(shape.end);
    for (const CPoint& barb : shape.barbs) {
        dc.MoveTo(shape.end);
        dc.LineTo(barb);
    }
    dc.PolyBezier(shape.cloud, kOutlineCount);
}

bool CVSources::IsOnOutline(CPoint p, int32_t nTolerance) const {
    const SourcesShape shape = ShapeOf(m_points);
    return NearSegment(p, shape.start, shape.end, nTolerance) ||
           NearSegment(p, shape.end, shape.barbs[0], nTolerance) ||
           NearSegment(p, shape.end, shape.barbs[1], nTolerance) ||
           NearBezier(p, shape.cloud, kOutlineCount, nTolerance);
}

CRect CVSources::GetExtent() const {
    const SourcesShape shape = ShapeOf(m_points);
    const CPoint ends[4] = {shape.start, shape.end, shape.barbs[0], shape.barbs[1]};
    return UnionRect(BoundingBox(ends, 4), BoundingBox(shape.cloud, kOutlineCount));
}
