// The ranges the graphs window draws its series on: each its own, or one
// y scale shared by all, so that curves of different heights can be
// compared where they lie.
#pragma once
#include <vector>

#include "graphs/Graphic.h"

class CGraphsScale {
public:
    // Each series on its own range.
    CGraphsScale() = default;
    // With bCommon, one y range spanning every series' own y range
    // (explicit or from its samples); if no series gives a finite one, each
    // keeps its own.
    CGraphsScale(const std::vector<const CVGraphic*>& series, bool bCommon);

    bool IsCommon() const { return m_bCommon; }
    // The series' own x range with its own or the common y range; false
    // when the series has no range.
    bool RangeOf(const CVGraphic& series, CPlotRange& range) const;
    // What the y labels are divided by: the series' divisor, or on the
    // common scale the divisor all series share (1 when they differ).
    double DivisorOf(const CVGraphic& series) const;

private:
    bool m_bCommon = false;
    double m_dLoY = 0.0;
    double m_dHiY = 0.0;
    double m_dDivY = 1.0;
};
