// The drawing operations the diagram objects need, kept abstract so that
// geometry and placing run without a window system. The desktop shell
// implements it over its painter; tests record the calls.
#pragma once
#include <cstdint>
#include <string>

#include "diagram/Geometry.h"

using COLORREF = uint32_t;  // red in the lowest byte, then green, then blue
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

enum PenStyle : int32_t { PS_SOLID = 0, PS_DASH = 1 };

struct CPen {
    int32_t nStyle = PS_SOLID;
    int32_t nWidth = 1;
    COLORREF color = 0;
    friend bool operator==(const CPen&, const CPen&) = default;
};

struct CFontSpec {
    int32_t nHeight = 16;
    int32_t nWidth = 8;
    int32_t nWeight = 300;
    bool bUnderline = false;
    std::string strFace = "Courier New";
    friend bool operator==(const CFontSpec&, const CFontSpec&) = default;
};

// Text layout flags, as the objects pass them.
enum : uint32_t {
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_NOCLIP = 0x100,
};

// Raster operations: copy (normal drawing) and the inverting mode in which
// drawing the same figure twice restores what was there.
enum : int32_t { R2_NOTXORPEN = 10, R2_COPYPEN = 13 };

class CDrawContext {
public:
    virtual ~CDrawContext() = default;

    virtual void MoveTo(CPoint p) = 0;
    virtual void LineTo(CPoint p) = 0;
    // Outline with the current pen, interior with the white brush.
    virtual void Rectangle(const CRect& r) = 0;
    virtual void Ellipse(const CRect& r) = 0;
    // 1 + 3k points: start, then (control, control, end) per segment.
    virtual void PolyBezier(const CPoint* points, int count) = 0;
    // Text bytes in code page 1251.
    virtual void DrawText(const std::string& text, const CRect& box, uint32_t flags) = 0;

    virtual CPen GetPen() const = 0;
    virtual void SetPen(const CPen& pen) = 0;
    virtual CFontSpec GetFont() const = 0;
    virtual void SetFont(const CFontSpec& font) = 0;
    virtual void SetTextColor(COLORREF color) = 0;
    virtual int32_t SetROP2(int32_t mode) = 0;  // returns the previous mode
};
