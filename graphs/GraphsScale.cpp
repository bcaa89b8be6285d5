// The common range leaves out ends that are not finite: one series that
// ran off to infinity would otherwise flatten every other curve.
#include "graphs/GraphsScale.h"

#include <algorithm>
#include <cmath>

CGraphsScale::CGraphsScale(const std::vector<const CVGraphic*>& series, bool bCommon) {
    if (!bCommon) return;
    bool bAny = false, bFirstDivisor = true, bSameDivisor = true;
    for (const CVGraphic* pSeries : series) {
        CPlotRange range;
        if (pSeries == nullptr || !pSeries->GetRange(range)) continue;
        bSameDivisor = bSameDivisor && (bFirstDivisor || pSeries->m_dDivY == m_dDivY);
        m_dDivY = pSeries->m_dDivY, bFirstDivisor = false;
        for (const double end : {range.loY, range.hiY}) {
            if (!std::isfinite(end)) continue;
            m_dLoY = bAny ? std::min(m_dLoY, end) : end;
            m_dHiY = bAny ? std::max(m_dHiY, end) : end;
            bAny = true;
        }
    }
    m_bCommon = bAny;
    if (!bSameDivisor) m_dDivY = 1.0;
}

bool CGraphsScale::RangeOf(const CVGraphic& series, CPlotRange& range) const {
    if (!series.GetRange(range)) return false;
    if (m_bCommon) range.loY = m_dLoY, range.hiY = m_dHiY;
    return true;
}

double CGraphsScale::DivisorOf(const CVGraphic& series) const { return m_bCommon ? m_dDivY : series.m_dDivY; }
