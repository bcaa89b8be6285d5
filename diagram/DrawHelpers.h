// Small helpers the diagram objects share while drawing: the highlight pen
// held for one Draw and the label font held for one text output. Coordinate
// arithmetic saturates through the helpers of Numbers.h.
#pragma once
#include "base/Numbers.h"
#include "diagram/DrawContext.h"
#include "diagram/FontCell.h"

constexpr COLORREF kHighlightColor = RGB(0, 0, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);

// Selects the blue highlight pen for the lifetime of the scope when `bOn`,
// then selects the previous pen again.
class HighlightPenScope {
public:
    HighlightPenScope(CDrawContext& dc, bool bOn) : m_dc(dc), m_bOn(bOn) {
        if (!m_bOn) return;
        m_old = dc.GetPen();
        dc.SetPen(CPen{PS_SOLID, 1, kHighlightColor});
    }
    ~HighlightPenScope() {
        if (m_bOn) m_dc.SetPen(m_old);
    }
    HighlightPenScope(const HighlightPenScope&) = delete;
    HighlightPenScope& operator=(const HighlightPenScope&) = delete;

private:
    CDrawContext& m_dc;
    bool m_bOn;
    CPen m_old;
};

// Selects the label font and the text colour of a (highlighted) label, then
// the previous font again when the scope ends. The text colour stays.
class LabelFontScope {
public:
    LabelFontScope(CDrawContext& dc, const CFontCell& cell, bool bHighlight, bool bUnderline = false)
        : m_dc(dc), m_old(dc.GetFont()) {
        dc.SetFont(cell.LabelFont(bUnderline));
        dc.SetTextColor(bHighlight ? kHighlightColor : kTextColor);
    }
    ~LabelFontScope() { m_dc.SetFont(m_old); }
    LabelFontScope(const LabelFontScope&) = delete;
    LabelFontScope& operator=(const LabelFontScope&) = delete;

private:
    CDrawContext& m_dc;
    CFontSpec m_old;
};
