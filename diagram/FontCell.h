// The label font cell. Every text-bearing object makes its font from the
// cell of the list it belongs to; only EntityList::ScaleAll changes it. The
// desktop view owns the cell it lends to each model's list, so that neither
// New nor Open resets it; a list without a lender uses its own.
#pragma once
#include <cstdint>

#include "diagram/DrawContext.h"

struct CFontCell {
    int32_t nHeight = 16;
    int32_t nWidth = 8;

    // The label font at this cell size.
    CFontSpec LabelFont(bool bUnderline = false) const;
    // Zooms the cell as the objects are zoomed (fy 0: as fx).
    void Scale(double fx, double fy);
};

// The cell of an object that belongs to no list yet.
inline constexpr CFontCell kStartFontCell{};
