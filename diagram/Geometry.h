// Integer points and rectangles in logical drawing units (x right, y down).
#pragma once
#include <cstdint>

struct CPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const CPoint&, const CPoint&) = default;
};

struct CRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const CRect&, const CRect&) = default;
};

// Corners in any order, sorted so that left <= right and top <= bottom.
CRect NormalizedRect(CPoint a, CPoint b);
