// Line, rectangle, ellipse, Bezier spline and text: construction and
// drawing. The placing machines are in Tracking.cpp, the arrow in Arrow.cpp.
#include "diagram/Primitives.h"

#include "archive/Archive.h"
#include "diagram/DialogHost.h"
#include "diagram/DrawHelpers.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/Outline.h"

VARNEL_IMPLEMENT_SERIAL(CVLine)
VARNEL_IMPLEMENT_SERIAL(CVRectangle)
VARNEL_IMPLEMENT_SERIAL(CVEllipse)
VARNEL_IMPLEMENT_SERIAL(CVBSpline)
VARNEL_IMPLEMENT_SERIAL(CVText)

CVLine::CVLine() {
    AddPoint(CPoint{0, 0});
    AddPoint(CPoint{0, 0});
}

void CVLine::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    dc.MoveTo(m_points[0]);
    dc.LineTo(m_points[1]);
}

bool CVLine::IsOnOutline(CPoint p, int32_t nTolerance) const {
    return NearSegment(p, m_points[0], m_points[1], nTolerance);
}

std::vector<CConnectorEnd> CVLine::ConnectorEnds() const { return {{0, -1}, {1, -1}}; }

bool CVRectangle::IsOnOutline(CPoint p, int32_t nTolerance) const {
    return NearBoxBorder(p, m_points[0], m_points[1], nTolerance);
}

bool CVEllipse::IsOnOutline(CPoint p, int32_t nTolerance) const {
    return NearEllipse(p, m_points[0], m_points[1], nTolerance);
}

void CVRectangle::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    dc.Rectangle(CRect{m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y});
}

void CVEllipse::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    dc.Ellipse(CRect{m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y});
}

CVBSpline::CVBSpline() {
    for (int i = 0; i < 4; ++i) AddPoint(CPoint{0, 0});
}

void CVBSpline::DrawCurve(CDrawContext& dc) { dc.PolyBezier(m_points.data(), 4); }

void CVBSpline::Draw(CDrawContext& dc, const CRect*) {
    HighlightPenScope pen(dc, m_bHighlight != 0);
    DrawCurve(dc);
}

bool CVBSpline::IsOnOutline(CPoint p, int32_t nTolerance) const {
    return NearBezier(p, m_points.data(), 4, nTolerance);
}

std::vector<CConnectorEnd> CVBSpline::ConnectorEnds() const { return {{0, 1}, {3, 2}}; }

CVText::CVText() : m_strText("Linor(ver 1.0)") { AddPoint(CPoint{0, 0}); }

void CVText::Serialize(CArchive& ar) {
    CVEntity::Serialize(ar);
    if (ar.IsStoring())
        ar.WriteString(m_strText);
    else
        m_strText = ar.ReadString();
}

void CVText::Draw(CDrawContext& dc, const CRect*) {
    LabelFontScope font(dc, FontCell(), m_bHighlight != 0);
    const CPoint p0 = m_points[0];
    dc.DrawText(m_strText, CRect{p0.x, p0.y, p0.x, p0.y}, DT_SINGLELINE | DT_NOCLIP);
}

int CVText::Edit(bool bDrawingMode, CDialogHost& host) {
    CElementParamDlg dlg;
    dlg.m_strName = m_strText;
    dlg.m_nFlags = bDrawingMode ? uint32_t{PF_NAME} : 0u;
    if (dlg.DoModal(host) == IDOK) m_strText = dlg.m_strName;
    return dlg.m_bModified ? EDIT_CHANGED : EDIT_UNCHANGED;
}

bool CVText::IsOnOutline(CPoint p, int32_t nTolerance) const { return InBox(p, GetExtent(), nTolerance); }

// The label font is fixed-pitch, so one line of the text covers a cell per
// character.
CRect CVText::GetExtent() const {
    const CPoint p0 = m_points[0];
    const int64_t width = int64_t{FontCell().nWidth} * static_cast<int64_t>(m_strText.size());
    return CRect{p0.x, p0.y, SaturatingNarrow(p0.x + width), SaturatingAdd(p0.y, FontCell().nHeight)};
}
