// Level, rate and variable: construction, drawing, hit areas and dialogs.
// Their shared fields and record are CVNamedElement's; the sources cloud is
// in Sources.cpp.
#include "diagram/Elements.h"

#include "diagram/DrawHelpers.h"
#include "diagram/ElementFields.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/Outline.h"

VARNEL_IMPLEMENT_SERIAL(CVLevel)
VARNEL_IMPLEMENT_SERIAL(CVRate)
VARNEL_IMPLEMENT_SERIAL(CVVariable)

namespace {

// The rate's valve on the open side x1 of its box, half as wide as the box:
// drawn from (x1, y0) to its lower corner, up to its upper corner and back
// to (x1, y1), two crossing diagonals and an upright.
struct RateValve {
    CPoint lower;
    CPoint upper;
};

RateValve ValveOf(CPoint p0, CPoint p1) {
    const int32_t q = SaturatingNarrow((int64_t{p1.y} - p0.y) / 4);
    const int32_t h = SaturatingNarrow((int64_t{p1.x} - p0.x) / 2);
    return {CPoint{SaturatingAdd(p1.x, h), SaturatingSub(p1.y, q)}, CPoint{SaturatingAdd(p1.x, h), SaturatingAdd(p0.y, q)}};
}

}  // namespace

// ---- level ----

CVLevel::CVLevel() : CVNamedElement("Level", CPoint{8, 8}) {}

void CVLevel::Draw(CDrawContext& dc, const CRect*) {
    dc.Rectangle(CRect{m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y});
    DrawName(dc, m_points[2], DT_WORDBREAK);
}

int CVLevel::Edit(bool bDrawingMode, CDialogHost& host) {
    return EditFields(host, bDrawingMode ? (PF_NAME | PF_DESCRIPTION | PF_VALUES) : PF_VALUES);
}

// Half-open box: the left and top edges belong to it, right and bottom not.
bool CVLevel::HitTest(CPoint p) const {
    const CRect r = NormalizedRect(m_points[0], m_points[1]);
    return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}


// ---- rate ----

CVRate::CVRate() { m_strName = "Rate"; }

// Three sides of the box, open at x1, with the valve on the open side. The
// label inset is a fixed 8 that does not follow the zoom.
void CVRate::Draw(CDrawContext& dc, const CRect*) {
    const int32_t x0 = m_points[0].x, y0 = m_points[0].y;
    const int32_t x1 = m_points[1].x, y1 = m_points[1].y;
    dc.MoveTo(CPoint{x1, y1});
    dc.LineTo(CPoint{x0, y1});
    dc.LineTo(CPoint{x0, y0});
    dc.LineTo(CPoint{x1, y0});
    const RateValve valve = ValveOf(m_points[0], m_points[1]);
    dc.LineTo(valve.lower);
    dc.LineTo(valve.upper);
    dc.LineTo(CPoint{x1, y1});
    DrawName(dc, CPoint{8, 8}, DT_WORDBREAK);
}

int CVRate::Edit(bool bDrawingMode, CDialogHost& host) {
    return EditFields(host, bDrawingMode ? (PF_NAME | PF_DESCRIPTION) : 0);
}

bool CVRate::IsOnOutline(CPoint p, int32_t nTolerance) const {
    const RateValve valve = ValveOf(m_points[0], m_points[1]);
    const CPoint top{m_points[1].x, m_points[0].y};
    return CVLevel::IsOnOutline(p, nTolerance) || NearSegment(p, top, valve.lower, nTolerance) ||
           NearSegment(p, valve.lower, valve.upper, nTolerance) ||
           NearSegment(p, valve.upper, m_points[1], nTolerance);
}

CRect CVRate::GetExtent() const {
    const RateValve valve = ValveOf(m_points[0], m_points[1]);
    const CPoint corners[4] = {m_points[0], m_points[1], valve.lower, valve.upper};
    return BoundingBox(corners, 4);
}

// ---- variable ----

CVVariable::CVVariable() : CVNamedElement("Var", CPoint{15, 15}) {}

void CVVariable::Draw(CDrawContext& dc, const CRect*) {
    dc.Ellipse(CRect{m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y});
    DrawName(dc, m_points[2], DT_CENTER | DT_WORDBREAK);
}

int CVVariable::Edit(bool bDrawingMode, CDialogHost& host) {
    return EditFields(host, bDrawingMode ? (PF_NAME | PF_DESCRIPTION) : 0);
}

// The circle round the box's centre with the larger half-axis as radius,
// strictly inside. Worked in 64 bits so extreme coordinates cannot
// overflow; ordinary drawings get what int32 arithmetic would give.
bool CVVariable::HitTest(CPoint p) const {
    const CRect r = NormalizedRect(m_points[0], m_points[1]);
    const int64_t hw = (int64_t{r.right} - r.left) / 2;
    const int64_t hh = (int64_t{r.bottom} - r.top) / 2;
    const int64_t dx = int64_t{p.x} - (r.left + hw);
    const int64_t dy = int64_t{p.y} - (r.top + hh);
    const uint64_t radius = static_cast<uint64_t>(hw > hh ? hw : hh);
    const uint64_t ax = static_cast<uint64_t>(dx < 0 ? -dx : dx);
    const uint64_t ay = static_cast<uint64_t>(dy < 0 ? -dy : dy);
    // Each square fits in 64 unsigned bits; the sum is compared without
    // being formed.
    const uint64_t rr = radius * radius;
    const uint64_t xx = ax * ax;
    return xx < rr && ay * ay < rr - xx;
}
