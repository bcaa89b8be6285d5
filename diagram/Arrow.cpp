// The arrow: a Bezier curve with a two-barbed head at its end point, the
// head's size kept as a fifth point that zooms with the drawing.
#include <cmath>

#include "base/Numbers.h"
#include "diagram/DrawHelpers.h"
#include "diagram/Outline.h"
#include "diagram/Primitives.h"

VARNEL_IMPLEMENT_SERIAL(CVArrow)

CVArrow::CVArrow() { AddPoint(CPoint{10, 10}); }

void CVArrow::Offset(CPoint delta) { OffsetFirst(GetPointCount() - 1, delta); }

// The curve lies within the box of its four points; the head size is no
// position.
CRect CVArrow::GetExtent() const { return BoundingBox(m_points.data(), 4); }

namespace {

// Two barbs at 45 degrees on either side of the direction from the tip back
// to the last control point. No direction, no head.
void DrawHead(CDrawContext& dc, CPoint tip, CPoint control, CPoint size) {
    const double dx = static_cast<double>(int64_t{control.x} - tip.x);
    const double dy = static_cast<double>(int64_t{control.y} - tip.y);
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0.0) return;
    const double c = std::sqrt(2.0) * 0.5;
    const double a = (dx + dy) * c / length;
    const double b = (dy - dx) * c / length;
    const double cc = (dx - dy) * c / length;
    dc.MoveTo(tip);
    dc.LineTo(CPoint{SaturatingTrunc(tip.x + size.x * a), SaturatingTrunc(tip.y + size.y * b)});
    dc.MoveTo(tip);
    dc.LineTo(CPoint{SaturatingTrunc(tip.x + size.x * cc), SaturatingTrunc(tip.y + size.y * a)});
}

}  // namespace

void CVArrow::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    DrawCurve(dc);
    if (GetPointCount() >= 5) DrawHead(dc, m_points[3], m_points[2], m_points[4]);
}
