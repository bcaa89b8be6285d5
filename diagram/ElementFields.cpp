// Record, dialog, symbol and label of the elements that carry one value.
#include "diagram/ElementFields.h"

#include "archive/Archive.h"
#include "base/Numbers.h"
#include "diagram/DrawHelpers.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/Entity.h"

void SerializeElementFields(CArchive& ar, std::string& name, std::string& description, double& value) {
    if (ar.IsStoring()) {
        ar.WriteString(name);
        ar.WriteString(description);
        ar.WriteDouble(value);
        return;
    }
    name = ar.ReadString();
    description = ar.ReadString();
    value = ar.ReadDouble();
}

int EditElementFields(CDialogHost& host, uint32_t flags, std::string& name, std::string& description,
                      double& value) {
    CElementParamDlg dlg;
    dlg.m_strName = name;
    dlg.m_strDescription = description;
    dlg.m_strValues = NumberText(value);
    dlg.m_nFlags = flags;
    if (dlg.DoModal(host) == IDOK) {
        name = dlg.m_strName;
        description = dlg.m_strDescription;
        // Also for boxes the user could not change: the value comes back
        // through its text, which holds every digit.
        ReadNumberBack(dlg.m_strValues, value);
    }
    return dlg.m_bModified ? EDIT_CHANGED : EDIT_UNCHANGED;
}

std::string NumberSymbol(SymbolRec* pRec, const std::string& name, double value) {
    if (pRec) {
        pRec->nKind = SK_NUMBER;
        pRec->dValue = value;
    }
    return name;
}

void DrawElementLabel(CDrawContext& dc, const CFontCell& cell, const std::string& text, CPoint p0, CPoint p1,
                      CPoint inset, uint32_t format, bool bHighlight, bool bUnderline) {
    LabelFontScope font(dc, cell, bHighlight, bUnderline);
    const CRect box{SaturatingAdd(p0.x, inset.x), SaturatingAdd(p0.y, inset.y), SaturatingSub(p1.x, inset.x),
                    SaturatingSub(p1.y, inset.y)};
    dc.DrawText(text, box, format);
}
