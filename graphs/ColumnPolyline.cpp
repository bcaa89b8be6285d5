// The pixel-column reduction of a polyline.
#include "graphs/ColumnPolyline.h"

#include <algorithm>
#include <array>

namespace {

// Offsets into a run of count points that shape what it draws, in order:
// all of a short run; else its first, lowest, highest and last points.
size_t KeptOfRun(const CPoint* run, size_t count, std::array<size_t, 4>& kept) {
    if (count <= kept.size()) {
        for (size_t i = 0; i < count; ++i) kept[i] = i;
        return count;
    }
    size_t lowest = 0, highest = 0;
    for (size_t i = 1; i < count; ++i) {
        if (run[i].y < run[lowest].y) lowest = i;
        if (run[i].y > run[highest].y) highest = i;
    }
    kept = {0, lowest, highest, count - 1};
    std::sort(kept.begin(), kept.end());
    return static_cast<size_t>(std::unique(kept.begin(), kept.end()) - kept.begin());
}

}  // namespace

void DrawColumnPolyline(CDrawContext& dc, const std::vector<CPoint>& points) {
    std::array<size_t, 4> kept{};
    for (size_t begin = 0, end = 0; begin < points.size(); begin = end) {
        for (end = begin + 1; end < points.size() && points[end].x == points[begin].x;) ++end;
        const size_t count = KeptOfRun(&points[begin], end - begin, kept);
        for (size_t k = 0; k < count; ++k) {
            const CPoint p = points[begin + kept[k]];
            if (begin + kept[k] == 0)
                dc.MoveTo(p);
            else
                dc.LineTo(p);
        }
    }
}
