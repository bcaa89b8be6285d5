// Shared pieces of the fuzz targets: a drawing context that draws nothing
// but answers like a real one, and a check that aborts with a message so
// libFuzzer keeps the input that broke an invariant.
#pragma once
#include <cstdio>
#include <cstdlib>

#include "diagram/DrawContext.h"

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
