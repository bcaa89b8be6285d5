// CVEntity: points, scaling, offsets, highlighting and the base record that
// every diagram object writes first.
#include "diagram/Entity.h"

#include <cassert>

#include "archive/Archive.h"
#include "base/Numbers.h"
#include "diagram/DrawHelpers.h"
#include "diagram/Outline.h"

VARNEL_IMPLEMENT_SERIAL(CVEntity)

bool EditChangedDocument(const CVEntity& entity, int editResult) {
    return editResult == EDIT_CHANGED || (editResult == EDIT_REJECTED && entity.LastEditLeftChanges());
}

void CVEntity::Draw(CDrawContext&, const CRect*) {}

bool CVEntity::Scale(double fx, double fy) {
    const double fyEff = fy == 0.0 ? fx : fy;
    for (CPoint& p : m_points) {
        p.x = SaturatingTrunc(static_cast<double>(p.x) * fx);
        p.y = SaturatingTrunc(static_cast<double>(p.y) * fyEff);
    }
    return true;
}

CPoint& CVEntity::GetPoint(int index) {
    assert(index >= 0 && index < GetPointCount());
    return m_points[static_cast<size_t>(index)];
}

const CPoint& CVEntity::GetPoint(int index) const {
    assert(index >= 0 && index < GetPointCount());
    return m_points[static_cast<size_t>(index)];
}

bool CVEntity::AddPoint(CPoint p) {
    m_points.push_back(p);
    return true;
}

void CVEntity::ClearPoints() { m_points.clear(); }

void CVEntity::Offset(CPoint delta) { OffsetFirst(GetPointCount(), delta); }

void CVEntity::OffsetFirst(int count, CPoint delta) {
    for (int i = 0; i < count && i < static_cast<int>(m_points.size()); ++i) {
        CPoint& p = m_points[static_cast<size_t>(i)];
        p.x = SaturatingAdd(p.x, delta.x);
        p.y = SaturatingAdd(p.y, delta.y);
    }
}

int CVEntity::GetPointCount() const { return static_cast<int>(m_points.size()); }

int CVEntity::Track(const TrackEvent&) { return 0; }

int CVEntity::Edit(bool, CDialogHost&) { return EDIT_NO_DIALOG; }

std::string CVEntity::GetName(SymbolRec*) { return ""; }

bool CVEntity::HitTest(CPoint) const { return false; }

bool CVEntity::IsOnOutline(CPoint, int32_t) const { return false; }

CRect CVEntity::GetExtent() const { return BoundingBox(m_points.data(), GetPointCount()); }

void CVEntity::SetHighlight(bool bOn, CDrawContext* pDC, const CPoint* pScroll) {
    const int32_t on = bOn ? 1 : 0;
    if (pDC == nullptr || on == m_bHighlight) {
        m_bHighlight = on;
        return;
    }
    m_bHighlight = on;
    // Sheet to client coordinates through the virtual Offset, so shape
    // parameter points stay as they are.
    if (pScroll) Offset(CPoint{SaturatingSub(0, pScroll->x), SaturatingSub(0, pScroll->y)});
    Draw(*pDC, nullptr);
    if (pScroll) Offset(*pScroll);
}

void CVEntity::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(m_nId);
        ar.WriteInt32(GetPointCount());
        for (const CPoint& p : m_points) {
            ar.WriteInt32(p.x);
            ar.WriteInt32(p.y);
        }
        return;
    }
    ClearPoints();
    m_nId = ar.ReadInt32();
    const uint32_t count = ar.ReadItemCount(8);
    for (uint32_t i = 0; i < count; ++i) {
        CPoint p;
        p.x = ar.ReadInt32();
        p.y = ar.ReadInt32();
        AddPoint(p);
    }
    if (GetPointCount() < RequiredPointCount())
        ar.Fail(std::string("a ") + GetRuntimeClass()->m_lpszClassName + " record has too few points");
}
