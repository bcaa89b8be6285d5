#include "diagram/SymbolRec.h"

#include <cmath>
#include <cstdint>
#include <limits>

int32_t PointCount(double dFrom, double dTo, double dStep) {
    if (dStep == 0.0) return 0;
    const double count = std::trunc((dTo - dFrom) / dStep + 1.0);
    // NaN or a count beyond int32 means no values at all, which is what
    // existing files hold for such ranges.
    if (!(count >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          count <= static_cast<double>(std::numeric_limits<int32_t>::max())))
        return 0;
    return static_cast<int32_t>(count);
}
