// Record and dialog of the elements that carry one value.
#include "diagram/ElementFields.h"

#include "archive/Archive.h"
#include "base/Numbers.h"
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
