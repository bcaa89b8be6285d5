// The nearest sample is searched outwards from the mouse's x, since the
// samples are sorted by x: a sample further away on screen in x than the
// best one found so far cannot be nearer, so long series cost a few steps.
#include "graphs/SampleReadout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/Numbers.h"
#include "graphs/Graphic.h"

int NearestSample(const CVGraphic& series, const CRect& r, double px, double py) {
    CPlotRange range;
    return series.GetRange(range) ? NearestSample(series, range, r, px, py) : -1;
}

int NearestSample(const CVGraphic& series, const CPlotRange& range, const CRect& r, double px, double py) {
    const std::vector<CSample>& samples = series.m_samples;
    // Plain copies, not a structured binding: lambdas below capture them.
    const double loX = range.loX, hiX = range.hiX, loY = range.loY, hiY = range.hiY;
    if (samples.empty()) return -1;
    const double sx = (static_cast<double>(r.right) - r.left) / (hiX - loX);
    const double sy = (static_cast<double>(r.bottom) - r.top) / (hiY - loY);
    auto screenX = [&](const CSample& s) { return (s.x - loX) * sx + r.left; };
    auto screenY = [&](const CSample& s) { return r.bottom - (s.y - loY) * sy; };

    // Where the mouse's x falls among the samples (NaN x sort anywhere;
    // they are simply never nearest).
    const double xValue = std::isfinite(sx) && sx != 0.0 ? (px - r.left) / sx + loX : loX;
    const auto start = std::lower_bound(samples.begin(), samples.end(), xValue,
                                        [](const CSample& s, double x) { return s.x < x; });
    const ptrdiff_t origin = start - samples.begin();

    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    auto visit = [&](ptrdiff_t i) {
        const CSample& s = samples[static_cast<size_t>(i)];
        const double dx = screenX(s) - px;
        const double dy = screenY(s) - py;
        const double distance = std::hypot(dx, dy);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
        // Beyond this sample in this direction x only moves further away.
        return !(std::fabs(dx) > bestDistance);
    };
    for (ptrdiff_t i = origin; i < static_cast<ptrdiff_t>(samples.size()); ++i)
        if (!visit(i)) break;
    for (ptrdiff_t i = origin - 1; i >= 0; --i)
        if (!visit(i)) break;
    if (best < 0) best = std::min<int>(static_cast<int>(origin), static_cast<int>(samples.size()) - 1);
    return best;
}

std::string ReadoutText(double x, double y) { return "x = " + FormatG(x) + ", y = " + FormatG(y); }
