// Table data: a function of one argument given by values over an evenly
// spaced range. Drawn as a variable with its name underlined; edited as one
// '/'-separated line of values.
#include <algorithm>
#include <cstring>
#include <string>

#include "archive/Archive.h"
#include "base/Numbers.h"
#include "diagram/DialogHost.h"
#include "diagram/DrawHelpers.h"
#include "diagram/ElementParamDlg.h"
#include "diagram/TableElements.h"

VARNEL_IMPLEMENT_SERIAL(CVTableData)

namespace {

// A range may call for more values than any edit can sensibly hold; such a
// range is refused instead of exhausting memory.
constexpr int32_t kMaxEditedValues = 1 << 24;

const char* const kIncorrectData = "Incorrect data.";
// "Incorrect range(или мусор после данных)."
const char* const kIncorrectRange =
    "Incorrect range(\xE8\xEB\xE8 \xEC\xF3\xF1\xEE\xF0 \xEF\xEE\xF1\xEB\xE5 \xE4\xE0\xED\xED\xFB\xF5).";

std::string JoinValues(const std::vector<double>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += '/';
        text += NumberText(values[i]);
    }
    return text;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

CVTableData::CVTableData() { m_strName = "Table"; }

int32_t CVTableData::ValueCount() const {
    const int32_t n = PointCount(m_dFrom, m_dTo, m_dStep);
    return n > 0 ? n : 0;
}

void CVTableData::Draw(CDrawContext& dc, const CRect*) {
    dc.Ellipse(CRect{m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y});
    DrawElementLabel(dc, FontCell(), m_strName, m_points[0], m_points[1], m_points[2], DT_CENTER | DT_WORDBREAK,
                     m_bHighlight != 0, true);
}

std::string CVTableData::GetName(SymbolRec* pRec) {
    if (pRec) {
        pRec->nKind = SK_TABLE;
        pRec->dFrom = m_dFrom;
        pRec->dTo = m_dTo;
        pRec->dStep = m_dStep;
        const bool hasData = m_dStep != 0.0 && ValueCount() != 0 &&
                             m_data.size() == static_cast<size_t>(ValueCount());
        pRec->pData = hasData ? m_data.data() : nullptr;
    }
    return m_strName;
}

void CVTableData::Serialize(CArchive& ar) {
    CVEntity::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteString(m_strName);
        ar.WriteString(m_strDescription);
        ar.WriteDouble(m_dFrom);
        ar.WriteDouble(m_dTo);
        ar.WriteDouble(m_dStep);
        // Exactly as many values as the range calls for: nothing else marks
        // the end of the record, so a table out of step with its range
        // cannot be written.
        if (m_data.size() != static_cast<size_t>(ValueCount()))
            throw CFileError(FileErrorKind::BadFormat,
                             "Table " + m_strName + " holds " + std::to_string(m_data.size()) +
                                 " values where its range calls for " + std::to_string(ValueCount()) + ".");
        for (double value : m_data) ar.WriteDouble(value);
        return;
    }
    m_strName = ar.ReadString();
    m_strDescription = ar.ReadString();
    m_dFrom = ar.ReadDouble();
    m_dTo = ar.ReadDouble();
    m_dStep = ar.ReadDouble();
    m_data = ar.ReadDoubles(static_cast<size_t>(ValueCount()));
}

bool CVTableData::LastEditLeftChanges() const { return m_bRejectedEditChanged; }

int CVTableData::Edit(bool bDrawingMode, CDialogHost& host) {
    m_bRejectedEditChanged = false;
    CElementParamDlg dlg;
    dlg.m_strName = m_strName;
    dlg.m_strDescription = m_strDescription;
    dlg.m_dFrom = m_dFrom;
    dlg.m_dTo = m_dTo;
    dlg.m_dStep = m_dStep;
    dlg.m_strValues = JoinValues(m_data);
    dlg.m_bValuesList = true;
    dlg.m_nFlags = PF_VALUES | PF_FROM | PF_TO | PF_STEP | (bDrawingMode ? uint32_t{PF_NAME | PF_DESCRIPTION} : 0u);
    if (dlg.DoModal(host) != IDOK) return EDIT_UNCHANGED;

    const bool sameBefore = m_strName == dlg.m_strName && m_strDescription == dlg.m_strDescription &&
                            SameBits(m_dFrom, dlg.m_dFrom) && SameBits(m_dTo, dlg.m_dTo) &&
                            SameBits(m_dStep, dlg.m_dStep);
    const std::vector<double> oldData = m_data;
    const int result = TakeBackEdit(dlg, host);
    if (result == EDIT_REJECTED) {
        const bool sameData = oldData.size() == m_data.size() &&
                              std::equal(oldData.begin(), oldData.end(), m_data.begin(), SameBits);
        m_bRejectedEditChanged = dlg.m_bModified != 0 || !sameBefore || !sameData;
    }
    return result;
}

// Writes name, description and range back, then reads the values. Nothing
// is rolled back when the values are refused.
int CVTableData::TakeBackEdit(const CElementParamDlg& dlg, CDialogHost& host) {
    m_strName = dlg.m_strName;
    m_strDescription = dlg.m_strDescription;
    // Values whose text and range come back as shown stay as they were, to
    // the bit, even those the reading rule cannot take (a NaN from a file).
    const bool bAsShown = dlg.m_strValues == JoinValues(m_data) && SameBits(m_dFrom, dlg.m_dFrom) &&
                          SameBits(m_dTo, dlg.m_dTo) && SameBits(m_dStep, dlg.m_dStep);
    std::vector<double> shown = bAsShown ? m_data : std::vector<double>{};
    if (PointCount(dlg.m_dFrom, dlg.m_dTo, dlg.m_dStep) > kMaxEditedValues) {
        // The table keeps its old range and values: a table always holds
        // exactly as many values as its range calls for.
        host.ShowMessage(kIncorrectRange);
        return EDIT_REJECTED;
    }
    m_dFrom = dlg.m_dFrom;
    m_dTo = dlg.m_dTo;
    m_dStep = dlg.m_dStep;
    m_data.clear();
    const int32_t n = ValueCount();
    if (n == 0) return EDIT_REJECTED;
    if (bAsShown && shown.size() == static_cast<size_t>(n)) {
        m_data = std::move(shown);
        return dlg.m_bModified ? EDIT_CHANGED : EDIT_UNCHANGED;
    }
    m_data.assign(static_cast<size_t>(n), 0.0);
    bool leftOver = false;
    if (!ReadTableValues(dlg.m_strValues, m_data, leftOver)) {
        host.ShowMessage(kIncorrectData);
        return EDIT_REJECTED;
    }
    if (leftOver) host.ShowMessage(kIncorrectRange);
    return dlg.m_bModified ? EDIT_CHANGED : EDIT_UNCHANGED;
}
