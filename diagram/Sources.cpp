// The sources symbol: a vertical arrow with a cloud at one end, standing for
// an uncontrolled source or sink. The drag's vertical direction sets where
// the arrow points, its horizontal direction at which end the cloud sits.
#include "diagram/DrawHelpers.h"
#include "diagram/Elements.h"

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

void CVSources::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    const CPoint p0 = m_points[0];
    const CPoint p1 = m_points[1];
    const CPoint end{p0.x, p1.y};
    dc.MoveTo(p0);
    dc.LineTo(end);

    const CPoint head = m_points[kHeadSize];
    const int32_t barbY = p0.y < p1.y ? SaturatingSub(p1.y, head.y) : SaturatingAdd(p1.y, head.y);
    dc.MoveTo(end);
    dc.LineTo(CPoint{SaturatingSub(p0.x, head.x), barbY});
    dc.MoveTo(end);
    dc.LineTo(CPoint{SaturatingAdd(p0.x, head.x), barbY});

    const int32_t top = p0.y < p1.y ? p0.y : p1.y;
    const int32_t bottom = p0.y < p1.y ? p1.y : p0.y;
    const CPoint below = m_points[kCloudBelow];
    const CPoint above = m_points[kCloudAbove];
    const CPoint origin = p0.x < p1.x ? CPoint{SaturatingSub(p0.x, below.x), SaturatingAdd(bottom, below.y)}
                                      : CPoint{SaturatingSub(p0.x, above.x), SaturatingSub(top, above.y)};
    CPoint cloud[kOutlineCount];
    for (int i = 0; i < kOutlineCount; ++i) {
        const CPoint& q = m_points[kOutlineFirst + i];
        cloud[i] = CPoint{SaturatingAdd(origin.x, q.x), SaturatingAdd(origin.y, q.y)};
    }
    dc.PolyBezier(cloud, kOutlineCount);
}
