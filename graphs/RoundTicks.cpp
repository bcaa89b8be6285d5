// Each tick is k times the step for a whole k, never a running sum, so
// no rounding error builds up and zero is exactly zero.
#include "graphs/RoundTicks.h"

#include <algorithm>
#include <cmath>

double RoundStep(double lo, double hi, int maxIntervals) {
    const double span = std::fabs(hi - lo);
    if (maxIntervals < 1 || !std::isfinite(span) || span == 0.0) return 0.0;
    const double wanted = span / maxIntervals;
    const double power = std::pow(10.0, std::floor(std::log10(wanted)));
    for (const double multiple : {1.0, 2.0, 5.0, 10.0}) {
        const double step = multiple * power;
        // A hair of tolerance, so that 0..10 in 10 parts keeps the step 1.
        if (step >= wanted * (1.0 - 1e-9)) return std::isfinite(step) && step > 0.0 ? step : 0.0;
    }
    return 0.0;
}

std::vector<double> RoundTicks(double lo, double hi, int maxIntervals) {
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi && std::isfinite(lo)) return {lo};
    const double step = RoundStep(lo, hi, maxIntervals);
    const double first = std::ceil(lo / step - 1e-9), last = std::floor(hi / step + 1e-9);
    std::vector<double> ticks;
    if (step > 0.0 && last - first <= maxIntervals)
        for (int i = 0; i <= static_cast<int>(last - first); ++i) {
            // Counted in whole steps, since far from zero k + 1 may equal k;
            // the ceiling of a small negative is -0, which would read "-0".
            const double tick = (first + i) * step + 0.0;
            if (ticks.empty() || tick > ticks.back()) ticks.push_back(tick);
        }
    if (ticks.empty()) return {lo, hi};
    return ticks;
}
