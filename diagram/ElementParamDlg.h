// The element parameter dialog's own logic: fields filled by an object's
// Edit, flags choosing which boxes may change, and the reading back on OK.
#pragma once
#include <cstdint>
#include <string>

#include "diagram/DialogHost.h"

enum : uint32_t {
    PF_NAME = 0x1,
    PF_DESCRIPTION = 0x2,
    PF_VALUES = 0x4,
    PF_FROM = 0x8,
    PF_TO = 0x10,
    PF_STEP = 0x20,
    PF_SWITCH_LABELS = 0x80000000u,
};

enum : int { IDOK = 1, IDCANCEL = 2 };

// A number as the dialogs show it: the shortest text that reads back to the
// same double, so confirming a dialog never loses digits.
std::string NumberText(double value);
// Takes a number back from the text of its box, read wholly with a decimal
// point or comma. Text that still reads as NumberText(value), or that is no
// whole finite number, leaves value as it was, to the bit, even where the
// reading knows no such text (an infinity, a NaN from a file).
void ReadNumberBack(const std::string& text, double& value);

class CElementParamDlg {
public:
    std::string m_strName;
    std::string m_strDescription;
    std::string m_strValues;
    double m_dTo = 0.0;
    double m_dFrom = 0.0;
    double m_dStep = 0.0;
    int32_t m_bModified = 0;
    uint32_t m_nFlags = 0;
    // The values box holds a table's '/'-separated list, read by the table
    // itself, rather than one number.
    bool m_bValuesList = false;

    // IDOK or IDCANCEL.
    int DoModal(CDialogHost& host);

    // Exposed for tests: the boxes as the dialog opens (its check asks this
    // dialog, which must outlive it), and OK's reading.
    CElementDialogState InitialState() const;
    void ReadBack(const CElementDialogState& state);
    // OK's check: a changed number box must hold a whole finite number.
    std::optional<CBoxRefusal> Check(const CElementDialogState& state) const;
};
