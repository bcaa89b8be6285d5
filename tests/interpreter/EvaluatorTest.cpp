// The table's interval, found by arithmetic, against the plain scan over
// every interval on random tables; the plain cases are corpus rows.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/RunSnapshot.h"

namespace {

// The rule as written: the first interval [from + i*step, from + (i+1)*step)
// that holds x, else the gap or the last value.
bool TableValueByScan(const SymbolRec& rec, double x, double& value) {
    const double* d = rec.pData;
    const int32_t n = PointCount(rec);
    value = x >= rec.dFrom ? d[n - 1] : d[0];
    for (int32_t i = 0; i + 1 < n && x >= rec.dFrom; ++i) {
        const double lo = rec.dFrom + i * rec.dStep, hi = rec.dFrom + (i + 1) * rec.dStep;
        if (x >= lo && x < hi) {
            value = d[i] + (x - lo) / rec.dStep * (d[i + 1] - d[i]);
            return true;
        }
    }
    return !(x >= rec.dFrom) || !(x < rec.dTo);
}

// Random ranges (uneven ones with a gap, negative steps, origins so far
// out that neighbouring boundaries round together) and arguments on, just
// beside and between the boundaries.
TEST(TableValue, ArithmeticIntervalMatchesTheScan) {
    std::mt19937_64 random(20240607);
    const auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    for (int table = 0; table < 3000; ++table) {
        const double from = table % 7 == 0 ? uniform(-1e17, 1e17) : uniform(-100, 100);
        double step = table % 5 == 0 ? uniform(1e-9, 1e-3) : uniform(0.01, 10);
        if (table % 11 == 0) step = -step;
        const int count = 1 + static_cast<int>(random() % (table % 13 == 0 ? 5000 : 40));
        const double gap = table % 3 == 0 ? uniform(0, 1) * step : 0.0;
        const double to = from + (count - 1) * step + gap;
        std::vector<double> values(static_cast<size_t>(std::max(PointCount(from, to, step), 1)));
        for (double& v : values) v = uniform(-50, 50);
        const SymbolRec rec{SK_TABLE, 0.0, values.data(), from, to, step};
        if (PointCount(rec) < 1) continue;
        std::vector<double> args{from, to, std::nan(""), std::numeric_limits<double>::infinity(), -1e300};
        for (int k = 0; k < 40; ++k) {
            const double boundary = from + static_cast<int32_t>(random() % (count + 1)) * step;
            args.insert(args.end(), {boundary, std::nextafter(boundary, -INFINITY),
                                     std::nextafter(boundary, INFINITY), uniform(from - step, to + step)});
        }
        for (double x : args) {
            double expected = 0, actual = 0;
            const bool bExpected = TableValueByScan(rec, x, expected);
            ASSERT_EQ(TableValue(rec, x, actual), bExpected) << from << " " << step << " " << to << " at " << x;
            ASSERT_TRUE(!bExpected || SameBits(actual, expected)) << from << " " << step << " at " << x;
        }
    }
}

}  // namespace
