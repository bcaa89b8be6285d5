// CQtDrawContext: the diagram's drawing context over a QPainter. Pens,
// the white fill brush, a current position for MoveTo/LineTo, Bezier
// curves, boxed text in the label fonts and the inverting raster mode
// that rubber bands use (which needs a QImage as the paint device).
#pragma once
#include <QFont>
#include <QPainter>

#include "diagram/DrawContext.h"
#include "shell/view/QtBoundary.h"

class CQtDrawContext : public CDrawContext {
public:
    // The painter's transformation and clip stay the caller's; the context
    // sets the black one-pixel pen, the white brush and copy mode.
    explicit CQtDrawContext(QPainter& painter);

    void MoveTo(CPoint p) override;
    void LineTo(CPoint p) override;
    void Rectangle(const CRect& r) override;
    void Ellipse(const CRect& r) override;
    void PolyBezier(const CPoint* points, int count) override;
    void DrawText(const std::string& text, const CRect& box, uint32_t flags) override;

    CPen GetPen() const override { return m_pen; }
    void SetPen(const CPen& pen) override;
    CFontSpec GetFont() const override { return m_font; }
    void SetFont(const CFontSpec& font) override;
    void SetTextColor(COLORREF color) override { m_textColor = color; }
    int32_t SetROP2(int32_t mode) override;

    // Narrows the painter's clip to a box (right and bottom exclusive).
    void IntersectClip(const CRect& box);

private:
    QPainter& m_painter;
    CQtBoundary m_boundary;  // every coordinate handed to the painter passes it
    CPoint m_current;
    CPen m_pen;
    CFontSpec m_font;
    COLORREF m_textColor = RGB(0, 0, 0);
    int32_t m_nRop = R2_COPYPEN;
    bool m_bDashed = false;
    double m_dDashPosition = 0.0;  // along the polyline since the last MoveTo
};

// COLORREF (red in the low byte) to a Qt colour.
QColor ColorFromRef(COLORREF color);
// The Qt font that stands for a label font: the face mapped to one that is
// installed, its cell height and average character width in pixels.
QFont QtFontFor(const CFontSpec& wanted);
