// CPolylineDrawContext: the Qt drawing context, but a run of MoveTo and
// LineTo calls becomes one painter path. A curve of many samples is then
// one stroke, its dashes run on along the whole curve, and a saved SVG holds
// it as one path element instead of one line per sample.
#pragma once
#include <QPainterPath>

#include "shell/view/QtDrawContext.h"

class CPolylineDrawContext : public CDrawContext {
public:
    explicit CPolylineDrawContext(QPainter& painter) : m_painter(painter), m_inner(painter) {}
    ~CPolylineDrawContext() override { Flush(); }

    void MoveTo(CPoint p) override;
    void LineTo(CPoint p) override;
    void Rectangle(const CRect& r) override;
    void Ellipse(const CRect& r) override;
    void PolyBezier(const CPoint* points, int count) override;
    void DrawText(const std::string& text, const CRect& box, uint32_t flags) override;

    CPen GetPen() const override { return m_inner.GetPen(); }
    void SetPen(const CPen& pen) override;
    CFontSpec GetFont() const override { return m_inner.GetFont(); }
    void SetFont(const CFontSpec& font) override { m_inner.SetFont(font); }
    void SetTextColor(COLORREF color) override { m_inner.SetTextColor(color); }
    int32_t SetROP2(int32_t mode) override;

    // Strokes the path gathered so far.
    void Flush();

private:
    QPainter& m_painter;
    CQtDrawContext m_inner;
    QPainterPath m_path;
    CPoint m_current;
};
