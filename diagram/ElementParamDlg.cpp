// The element parameter dialog: which boxes it shows and how, and what OK
// reads back. The window itself is the host's.
#include "diagram/ElementParamDlg.h"

#include "base/Numbers.h"

namespace {

// Captions in code page 1251.
const char* const kFromCaption = "\xCE\xF2:";     // "От:"
const char* const kToCaption = "\xC4\xEE:";       // "До:"
const char* const kStepCaption = "\xD8\xE0\xE3:"; // "Шаг:"
const char* const kFirstValueCaption = "1-\xE5 \xE7\xED\xE0\xF7.:";  // "1-е знач.:"
const char* const kSecondValueCaption = "2-\xE5 \xE7\xED\xE0\xF7.:"; // "2-е знач.:"
const char* const kThresholdCaption = "\xCF\xE5\xF0\xE5\xEA\xEB.:";  // "Перекл.:"

CDialogBox TextBox(const std::string& text, bool bEditable) {
    CDialogBox box;
    box.strText = text;
    box.bReadOnly = !bEditable;
    return box;
}

CDialogBox EnabledBox(const std::string& text, bool bEnabled) {
    CDialogBox box;
    box.strText = text;
    box.bEnabled = bEnabled;
    return box;
}

}  // namespace

std::string NumberText(double value) { return FormatRoundTrip(value); }

void ReadNumberBack(const std::string& text, double& value) {
    if (text != NumberText(value)) value = DecimalToDouble(text);
}

CElementDialogState CElementParamDlg::InitialState() const {
    CElementDialogState state;
    state.name = TextBox(m_strName, (m_nFlags & PF_NAME) != 0);
    state.description = TextBox(m_strDescription, (m_nFlags & PF_DESCRIPTION) != 0);
    state.values = EnabledBox(m_strValues, (m_nFlags & PF_VALUES) != 0);
    state.first = EnabledBox(NumberText(m_dFrom), (m_nFlags & PF_FROM) != 0);
    state.second = EnabledBox(NumberText(m_dTo), (m_nFlags & PF_TO) != 0);
    state.third = EnabledBox(NumberText(m_dStep), (m_nFlags & PF_STEP) != 0);
    const bool bSwitch = (m_nFlags & PF_SWITCH_LABELS) != 0;
    state.strFirstCaption = bSwitch ? kFirstValueCaption : kFromCaption;
    state.strSecondCaption = bSwitch ? kSecondValueCaption : kToCaption;
    state.strThirdCaption = bSwitch ? kThresholdCaption : kStepCaption;
    return state;
}

void CElementParamDlg::ReadBack(const CElementDialogState& state) {
    // Every box is read, disabled and read-only ones too: their texts come
    // back as they were shown.
    for (const CDialogBox* box : {&state.name, &state.description, &state.values, &state.first,
                                  &state.second, &state.third})
        m_bModified |= box->bModified ? 1 : 0;
    m_strName = state.name.strText;
    m_strDescription = state.description.strText;
    m_strValues = state.values.strText;
    ReadNumberBack(state.first.strText, m_dFrom);
    ReadNumberBack(state.second.strText, m_dTo);
    ReadNumberBack(state.third.strText, m_dStep);
}

int CElementParamDlg::DoModal(CDialogHost& host) {
    m_bModified = 0;
    CElementDialogState state = InitialState();
    if (!host.RunElementDialog(state)) return IDCANCEL;
    ReadBack(state);
    return IDOK;
}
