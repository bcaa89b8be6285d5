// The plain drawing objects: line, rectangle, ellipse, Bezier spline, arrow
// and text. They carry no name or value. The line, spline and text also own
// the two-click, four-click and one-click placing that elements inherit.
#pragma once
#include <string>

#include "diagram/Entity.h"

class CVLine : public CVEntity {
    VARNEL_DECLARE_SERIAL(CVLine)
public:
    CVLine();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Track(const TrackEvent& event) override;  // two clicks
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;
    std::vector<CConnectorEnd> ConnectorEnds() const override;  // P0 and P1
protected:
    int RequiredPointCount() const override { return 2; }
};

class CVRectangle : public CVLine {
    VARNEL_DECLARE_SERIAL(CVRectangle)
public:
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;
    std::vector<CConnectorEnd> ConnectorEnds() const override { return {}; }
};

class CVEllipse : public CVLine {
    VARNEL_DECLARE_SERIAL(CVEllipse)
public:
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;
    std::vector<CConnectorEnd> ConnectorEnds() const override { return {}; }
};

class CVBSpline : public CVEntity {
    VARNEL_DECLARE_SERIAL(CVBSpline)
public:
    CVBSpline();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Track(const TrackEvent& event) override;  // four clicks
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;
    // P0 with the first control point, P3 with the second.
    std::vector<CConnectorEnd> ConnectorEnds() const override;
protected:
    void DrawCurve(CDrawContext& dc);
    int RequiredPointCount() const override { return 4; }
};

class CVArrow : public CVBSpline {
    VARNEL_DECLARE_SERIAL(CVArrow)
public:
    CVArrow();
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    void Offset(CPoint delta) override;  // the head size P4 stays
    CRect GetExtent() const override;
protected:
    int RequiredPointCount() const override { return 5; }
};

class CVText : public CVEntity {
    VARNEL_DECLARE_SERIAL(CVText)
public:
    CVText();
    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;
    int Track(const TrackEvent& event) override;  // one click
    int Edit(bool bDrawingMode, CDialogHost& host) override;
    bool IsOnOutline(CPoint p, int32_t nTolerance) const override;  // on the text's box
    CRect GetExtent() const override;  // one line of label-font cells
    std::string GetLabel() const override { return m_strText; }

    std::string m_strText;
protected:
    int RequiredPointCount() const override { return 1; }
};
