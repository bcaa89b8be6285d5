// What levels, rates and variables share over their shape: the name the
// model program sees, a description and a value; the element record after
// the points; P0 and P1 as positions with the label's inset as last point.
#pragma once
#include <string>

#include "diagram/ElementFields.h"
#include "diagram/Entity.h"
#include "diagram/Geometry.h"

template <class TShape>
class CVNamedElement : public TShape {
public:
    void Serialize(CArchive& ar) override {
        CVEntity::Serialize(ar);
        SerializeElementFields(ar, m_strName, m_strDescription, m_dValue);
    }
    void Offset(CPoint delta) override { this->OffsetFirst(this->GetPointCount() - 1, delta); }
    std::string GetName(SymbolRec* pRec) override { return NumberSymbol(pRec, m_strName, m_dValue); }
    // Flows and links attach to these elements; moving one takes them along.
    bool HoldsConnectors() const override { return true; }
    CRect GetExtent() const override { return NormalizedRect(this->m_points[0], this->m_points[1]); }

    std::string m_strName;
    std::string m_strDescription;
    double m_dValue = 0.0;

protected:
    CVNamedElement(const char* pszName, CPoint labelInset) : m_strName(pszName) { this->AddPoint(labelInset); }
    int RequiredPointCount() const override { return 3; }
    int EditFields(CDialogHost& host, uint32_t flags) {
        return EditElementFields(host, flags, m_strName, m_strDescription, m_dValue);
    }
    // The name in the box of P0 and P1 shrunk by `inset` on every side.
    void DrawName(CDrawContext& dc, CPoint inset, uint32_t format) {
        DrawElementLabel(dc, this->FontCell(), m_strName, this->m_points[0], this->m_points[1], inset, format, this->m_bHighlight != 0);
    }
};
