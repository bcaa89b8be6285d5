// Expert estimate and switch: a bar with a small circle on its middle and
// the name above it, anchored at one clicked point. The switch adds a second
// value and the threshold between the two.
#include "archive/Archive.h"
#include "diagram/DrawHelpers.h"
#include "diagram/ElementFields.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/Outline.h"
#include "diagram/TableElements.h"

VARNEL_IMPLEMENT_SERIAL(CVExpert)
VARNEL_IMPLEMENT_SERIAL(CVSwitch)

// ---- expert estimate ----

CVExpert::CVExpert() {
    AddPoint(CPoint{20, 24});
    AddPoint(CPoint{6, 6});
    m_strText = "Expert";
}

void CVExpert::Serialize(CArchive& ar) {
    CVEntity::Serialize(ar);
    SerializeElementFields(ar, m_strText, m_strDescription, m_dValue);
}

void CVExpert::Draw(CDrawContext& dc, const CRect*) {
    const CPoint p0 = m_points[0];
    const CPoint half = m_points[1];
    const int32_t r = m_points[2].y;
    dc.MoveTo(CPoint{SaturatingSub(p0.x, half.x), p0.y});
    dc.LineTo(CPoint{SaturatingAdd(p0.x, half.x), p0.y});
    dc.Ellipse(CRect{SaturatingSub(p0.x, r), SaturatingSub(p0.y, r), SaturatingAdd(p0.x, r), SaturatingAdd(p0.y, r)});
    LabelFontScope font(dc, FontCell(), m_bHighlight != 0);
    dc.DrawText(m_strText, CRect{SaturatingSub(p0.x, half.x), SaturatingSub(p0.y, half.y), SaturatingAdd(p0.x, half.x), p0.y},
                DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
}

void CVExpert::Offset(CPoint delta) { OffsetFirst(GetPointCount() - 2, delta); }

int CVExpert::Edit(bool bDrawingMode, CDialogHost& host) {
    const uint32_t flags = bDrawingMode ? (PF_NAME | PF_DESCRIPTION | PF_VALUES) : PF_VALUES;
    return EditElementFields(host, flags, m_strText, m_strDescription, m_dValue);
}

std::string CVExpert::GetName(SymbolRec* pRec) { return NumberSymbol(pRec, m_strText, m_dValue); }

// From the top of the name down to the bottom of the circle, all edges
// included.
bool CVExpert::HitTest(CPoint p) const {
    const int64_t x0 = m_points[0].x, y0 = m_points[0].y;
    return x0 - m_points[1].x <= p.x && p.x <= x0 + m_points[1].x && y0 - m_points[1].y <= p.y &&
           p.y <= y0 + m_points[2].y;
}

CRect CVExpert::GetExtent() const {
    const CPoint p0 = m_points[0];
    return CRect{SaturatingSub(p0.x, m_points[1].x), SaturatingSub(p0.y, m_points[1].y),
                 SaturatingAdd(p0.x, m_points[1].x), SaturatingAdd(p0.y, m_points[2].y)};
}

bool CVExpert::IsOnOutline(CPoint p, int32_t nTolerance) const {
    const CPoint p0 = m_points[0];
    const int32_t half = m_points[1].x;
    const int32_t r = m_points[2].y;
    const CRect box = GetExtent();
    return NearSegment(p, CPoint{SaturatingSub(p0.x, half), p0.y}, CPoint{SaturatingAdd(p0.x, half), p0.y}, nTolerance) ||
           NearEllipse(p, CPoint{SaturatingSub(p0.x, r), SaturatingSub(p0.y, r)},
                       CPoint{SaturatingAdd(p0.x, r), SaturatingAdd(p0.y, r)}, nTolerance) ||
           NearBoxBorder(p, CPoint{box.left, box.top}, CPoint{box.right, box.bottom}, nTolerance);
}

// ---- switch ----

CVSwitch::CVSwitch() { m_strText = "Switch"; }

void CVSwitch::Serialize(CArchive& ar) {
    CVExpert::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteDouble(m_dValue2);
        ar.WriteDouble(m_dThreshold);
        return;
    }
    m_dValue2 = ar.ReadDouble();
    m_dThreshold = ar.ReadDouble();
}

// The three numbers can always be changed; name and description only in
// drawing mode. The values box stays empty and disabled.
int CVSwitch::Edit(bool bDrawingMode, CDialogHost& host) {
    CElementParamDlg dlg;
    dlg.m_strName = m_strText;
    dlg.m_strDescription = m_strDescription;
    dlg.m_dFrom = m_dValue;
    dlg.m_dTo = m_dValue2;
    dlg.m_dStep = m_dThreshold;
    dlg.m_nFlags = PF_SWITCH_LABELS | PF_FROM | PF_TO | PF_STEP | (bDrawingMode ? uint32_t{PF_NAME | PF_DESCRIPTION} : 0u);
    if (dlg.DoModal(host) == IDOK) {
        m_strText = dlg.m_strName;
        m_strDescription = dlg.m_strDescription;
        m_dValue = dlg.m_dFrom;
        m_dValue2 = dlg.m_dTo;
        m_dThreshold = dlg.m_dStep;
    }
    return dlg.m_bModified ? EDIT_CHANGED : EDIT_UNCHANGED;
}

std::string CVSwitch::GetName(SymbolRec* pRec) {
    if (pRec) {
        pRec->nKind = SK_SWITCH;
        pRec->dValue = m_dValue;
        pRec->dFrom = m_dValue2;
        pRec->dTo = m_dThreshold;
    }
    return m_strText;
}
