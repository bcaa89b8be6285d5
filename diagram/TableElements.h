// Table data, expert estimate and switch: the elements whose values the
// model program reads through an argument or a threshold, or that stand for
// a single estimate.
#pragma once
#include <string>
#include <vector>

#include "diagram/Elements.h"

class CElementParamDlg;

class CVTableData : public CVVariable {
    VARNEL_DECLARE_SERIAL(CVTableData)
public:
    CVTableData();
    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    std::string GetName(SymbolRec* pRec) override;

    bool LastEditLeftChanges() const override;
    // Number of values the current range calls for (0 when not positive).
    int32_t ValueCount() const;

    double m_dStep = 0.0;
    double m_dFrom = 0.0;
    double m_dTo = 0.0;
    // Exactly ValueCount() values when that is positive, else empty.
    std::vector<double> m_data;

private:
    int TakeBackEdit(const CElementParamDlg& dlg, CDialogHost& host);
    bool m_bRejectedEditChanged = false;
};

class CVExpert : public CVText {
    VARNEL_DECLARE_SERIAL(CVExpert)
public:
    CVExpert();
    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    void Offset(CPoint delta) override;  // P0 only
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    std::string GetName(SymbolRec* pRec) override;
    bool HitTest(CPoint p) const override;
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;  // bar, circle, label box
    bool HoldsConnectors() const override { return true; }
    CRect GetExtent() const override;  // the hit box

    std::string m_strDescription;
    double m_dValue = 0.0;
protected:
    int RequiredPointCount() const override { return 3; }
};

class CVSwitch : public CVExpert {
    VARNEL_DECLARE_SERIAL(CVSwitch)
public:
    CVSwitch();
    void Serialize(CArchive& ar) override;
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    std::string GetName(SymbolRec* pRec) override;

    double m_dValue2 = 0.0;
    double m_dThreshold = 0.0;
};

// Reads the '/'-separated values text of the table dialog into `values`
// (already sized to the table's count, all 0.0). Returns false when a field
// is malformed; `leftOver` tells whether text remained after the last value
// read.
bool ReadTableValues(const std::string& text, std::vector<double>& values, bool& leftOver);
