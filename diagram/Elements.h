// Level, rate, variable and sources: the stock-and-flow elements. The first
// three carry a name, a description and a value and become number symbols
// of the model program; the sources cloud is drawing only.
#pragma once
#include <string>

#include "diagram/NamedElement.h"
#include "diagram/Primitives.h"

class CVLevel : public CVNamedElement<CVRectangle> {
    VARNEL_DECLARE_SERIAL(CVLevel)
public:
    CVLevel();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    bool HitTest(CPoint p) const override;
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

class CVVariable : public CVNamedElement<CVEllipse> {
    VARNEL_DECLARE_SERIAL(CVVariable)
public:
    CVVariable();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    bool HitTest(CPoint p) const override;
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
