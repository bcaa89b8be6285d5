#include "diagram/Geometry.h"

#include <algorithm>

CRect NormalizedRect(CPoint a, CPoint b) {
    return CRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}
