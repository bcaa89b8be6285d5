// Level, rate, variable and sources: the stock-and-flow elements. The first
// three carry a name, a description and a value and become number symbols
// of the model program; the sources cloud is drawing only.
#pragma once
#include <string>

#include "diagram/Primitives.h"

class CVLevel : public CVRectangle {
    VARNEL_DECLARE_SERIAL(CVLevel)
public:
    CVLevel();
    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    void Offset(CPoint delta) override;  // P0 and P1
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    std::string GetName(SymbolRec* pRec) override;
    bool HitTest(CPoint p) const override;
    bool HoldsConnectors() const override { return true; }
    CRect GetExtent() const override;  // the box

    std::string m_strName;
    std::string m_strDescription;
    double m_dValue = 0.0;
protected:
    int RequiredPointCount() const override { return 3; }
};

class CVRate : public CVLevel {
    VARNEL_DECLARE_SERIAL(CVRate)
public:
    CVRate();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;  // the box and the valve
    CRect GetExtent() const override;
};

class CVVariable : public CVEllipse {
    VARNEL_DECLARE_SERIAL(CVVariable)
public:
    CVVariable();
    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    void Offset(CPoint delta) override;  // P0 and P1
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    std::string GetName(SymbolRec* pRec) override;
    bool HitTest(CPoint p) const override;
    bool HoldsConnectors() const override { return true; }
    CRect GetExtent() const override;  // the ellipse's box

    std::string m_strName;
    std::string m_strDescription;
    double m_dValue = 0.0;
protected:
    int RequiredPointCount() const override { return 3; }
};

class CVSources : public CVLine {
    VARNEL_DECLARE_SERIAL(CVSources)
public:
    CVSources();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    void Offset(CPoint delta) override;  // P0 and P1 only
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;  // shaft, head and cloud
    bool HoldsConnectors() const override { return true; }
    std::vector<CConnectorEnd> ConnectorEnds() const override { return {}; }
    CRect GetExtent() const override;
protected:
    int RequiredPointCount() const override { return 18; }
};
