// Copies of a finished run and the pairing of its series with the next
// run's by caption.
#include "graphs/PreviousRun.h"

#include <map>
#include <string>

#include "graphs/Graphic.h"

CPreviousRun::CPreviousRun() = default;
CPreviousRun::~CPreviousRun() = default;

void CPreviousRun::Remember(const std::vector<const CVGraphic*>& series) {
    std::vector<std::unique_ptr<CVGraphic>> copies;
    copies.reserve(series.size());
    for (const CVGraphic* pSeries : series) copies.push_back(CloneSeries(*pSeries));
    m_series = std::move(copies);
}

void CPreviousRun::Forget() { m_series.clear(); }

std::vector<const CVGraphic*> CPreviousRun::Match(const std::vector<const CVGraphic*>& current) const {
    std::map<std::string, std::vector<const CVGraphic*>> byCaption;
    for (const auto& pKept : m_series) byCaption[pKept->m_strText].push_back(pKept.get());
    std::map<std::string, size_t> used;
    std::vector<const CVGraphic*> matched;
    for (const CVGraphic* pSeries : current) {
        const auto it = byCaption.find(pSeries->m_strText);
        size_t& rank = used[pSeries->m_strText];
        const bool bFound = it != byCaption.end() && rank < it->second.size();
        matched.push_back(bFound ? it->second[rank++] : nullptr);
    }
    return matched;
}

std::unique_ptr<CVGraphic> CloneSeries(const CVGraphic& series) {
    auto copy = std::make_unique<CVGraphic>();
    copy->m_samples = series.m_samples;
    copy->m_nColor = series.m_nColor;
    copy->m_strText = series.m_strText;
    copy->m_dLoX = series.m_dLoX;
    copy->m_dHiX = series.m_dHiX;
    copy->m_dLoY = series.m_dLoY;
    copy->m_dHiY = series.m_dHiY;
    copy->m_dDivY = series.m_dDivY;
    return copy;
}

std::unique_ptr<CVGraphic> MakeGhost(const CVGraphic& previous, const CVGraphic& current, const CRect& r) {
    CPlotRange range;
    if (current.GetRange(range)) return MakeGhost(previous, current, range, r);
    auto ghost = CloneSeries(previous);  // nothing to compare against
    ghost->m_nColor = static_cast<int32_t>(FadedColor(static_cast<COLORREF>(current.m_nColor)));
    return ghost;
}

std::unique_ptr<CVGraphic> MakeGhost(const CVGraphic& previous, const CVGraphic& current, const CPlotRange& range,
                                     const CRect& r) {
    auto ghost = CloneSeries(previous);
    ghost->m_nColor = static_cast<int32_t>(FadedColor(static_cast<COLORREF>(current.m_nColor)));
    ghost->m_dLoX = range.loX;
    ghost->m_dHiX = range.hiX;
    ghost->m_dLoY = range.loY;
    ghost->m_dHiY = range.hiY;
    ghost->MapToRange(r, range);
    return ghost;
}

COLORREF FadedColor(COLORREF color) {
    auto fade = [](uint32_t channel) { return static_cast<int>(channel + (255 - channel) * 3 / 4); };
    return RGB(fade(color & 0xFF), fade((color >> 8) & 0xFF), fade((color >> 16) & 0xFF));
}
