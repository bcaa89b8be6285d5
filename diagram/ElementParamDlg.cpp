// The element parameter dialog: which boxes it shows and how, and what OK
// reads back. The window itself is the host's.
#include "diagram/ElementParamDlg.h"

#include "base/Cp1251.h"
#include "base/Messages.h"

#include "base/Numbers.h"
#include "base/WholeText.h"

namespace {

// Captions in code page 1251.
const char* const kFromCaption = "\xCE\xF2:";     // "От:"
const char* const kToCaption = "\xC4\xEE:";       // "До:"
const char* const kStepCaption = "\xD8\xE0\xE3:"; // "Шаг:"
const char* const kFirstValueCaption = "1-\xE5 \xE7\xED\xE0\xF7.:";  // "1-е знач.:"
const char* const kSecondValueCaption = "2-\xE5 \xE7\xED\xE0\xF7.:"; // "2-е знач.:"
const char* const kThresholdCaption = "\xCF\xE5\xF0\xE5\xEA\xEB.:";  // "Перекл.:"
const char* const kValueCaption = "\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5:";  // "Значение:"

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
    if (text == NumberText(value)) return;
    if (const std::optional<double> typed = ReadWholeFinite(text, EDecimalSeparator::PointOrComma)) value = *typed;
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
    state.check = [this](const CElementDialogState& typed) { return Check(typed); };
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

std::optional<CBoxRefusal> CElementParamDlg::Check(const CElementDialogState& state) const {
    const CElementDialogState shown = InitialState();
    const std::pair<const CDialogBox*, std::string> numbers[] = {
        {m_bValuesList ? nullptr : &state.values, kValueCaption},
        {&state.first, shown.strFirstCaption},
        {&state.second, shown.strSecondCaption},
        {&state.third, shown.strThirdCaption}};
    const CDialogBox* const boxes[] = {&shown.values, &shown.first, &shown.second, &shown.third};
    for (int i = 0; i < 4; ++i) {
        const CDialogBox* box = numbers[i].first;
        // A box left as it was shown keeps its value exactly, whatever it holds.
        if (box == nullptr || box->strText == boxes[i]->strText) continue;
        if (ReadWholeFinite(box->strText, EDecimalSeparator::PointOrComma)) continue;
        std::string caption = numbers[i].second;
        if (!caption.empty() && caption.back() == ':') caption.pop_back();
        return CBoxRefusal{2 + i, Utf8ToCp1251Lossy(MessageText(EMessage::BoxNotANumber, {Cp1251ToUtf8(caption)}))};
    }
    return std::nullopt;
}

int CElementParamDlg::DoModal(CDialogHost& host) {
    m_bModified = 0;
    CElementDialogState state = InitialState();
    if (!host.RunElementDialog(state)) return IDCANCEL;
    ReadBack(state);
    return IDOK;
}
