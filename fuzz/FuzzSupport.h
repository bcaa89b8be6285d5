// Shared pieces of the fuzz targets: a drawing context that draws nothing
// but answers like a real one, and a check that aborts with a message so
// libFuzzer keeps the input that broke an invariant.
#pragma once
#include <cstdio>
#include <cstdlib>

#include "diagram/DrawContext.h"
#include "graphs/Graphic.h"
#include "graphs/GraphsLayout.h"

class CNullDrawContext : public CDrawContext {
public:
    void MoveTo(CPoint) override {}
    void LineTo(CPoint) override {}
    void Rectangle(const CRect&) override {}
    void Ellipse(const CRect&) override {}
    void PolyBezier(const CPoint*, int) override {}
    void DrawText(const std::string&, const CRect&, uint32_t) override {}
    CPen GetPen() const override { return m_pen; }
    void SetPen(const CPen& pen) override { m_pen = pen; }
    CFontSpec GetFont() const override { return m_font; }
    void SetFont(const CFontSpec& font) override { m_font = font; }
    void SetTextColor(COLORREF) override {}
    int32_t SetROP2(int32_t mode) override {
        const int32_t old = m_rop;
        m_rop = mode;
        return old;
    }

private:
    CPen m_pen;
    CFontSpec m_font;
    int32_t m_rop = R2_COPYPEN;
};

#define FUZZ_CHECK(condition, what)                                       \
    do {                                                                  \
        if (!(condition)) {                                               \
            std::fprintf(stderr, "fuzz invariant broken: %s\n", what);    \
            std::abort();                                                 \
        }                                                                 \
    } while (0)

// What the graphs window does with a series: map it into the plot, draw it
// selected, and lay out the grid and labels of its range.
inline void ShowSeriesAsTheGraphsWindowDoes(CVGraphic& series) {
    const CRect frame{0, 0, 500, 300};
    const CRect plot = GraphsPlotRect(frame);
    CNullDrawContext dc;
    series.MapToRect(plot);
    series.SetHighlight(true, nullptr, nullptr);
    series.Draw(dc, &plot);
    double loX = 0, hiX = 0, loY = 0, hiY = 0;
    if (series.GetRange(loX, hiX, loY, hiY))
        DrawGraphsGrid(dc, GraphsGridLayout(frame, plot, loX, hiX, loY, hiY, series.m_dDivY));
}
