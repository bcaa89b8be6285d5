// CVGraphic: sample storage, ordering, the axis range rule, the mapping of
// samples to screen points, drawing as a polyline and the archive form.
#include "graphs/Graphic.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "archive/Archive.h"
#include "base/Numbers.h"
#include "graphs/ColumnPolyline.h"

VARNEL_IMPLEMENT_SERIAL(CVGraphic)


void CVGraphic::RemoveAllSamples() { m_samples.clear(); }

const CSample& CVGraphic::GetSample(int index) const {
    assert(index >= 0 && static_cast<size_t>(index) < m_samples.size());
    return m_samples[static_cast<size_t>(index)];
}

namespace {

// Without NaN the order by x is a strict weak order, and a stable sort of
// samples already in that order leaves them exactly as they are.
bool InOrderWithoutNaN(const std::vector<CSample>& samples) {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (std::isnan(samples[i].x) || (i > 0 && samples[i].x < samples[i - 1].x)) return false;
    }
    return true;
}

}  // namespace

void CVGraphic::SortByX() {
    // Programs usually plot against a growing time, so one pass that proves
    // the order spares the sort.
    if (InOrderWithoutNaN(m_samples)) return;
    // NaN x ranks after every number and equal to another NaN, so the order
    // stays a strict weak one; the stable sort keeps equal x (0 and -0, and
    // the NaNs among themselves) in arrival order.
    std::stable_sort(m_samples.begin(), m_samples.end(), [](const CSample& a, const CSample& b) {
        return !std::isnan(a.x) && (std::isnan(b.x) || a.x < b.x);
    });
}

bool CVGraphic::GetRange(double& loX, double& hiX, double& loY, double& hiY) const {
    loX = m_dLoX;
    hiX = m_dHiX;
    loY = m_dLoY;
    hiY = m_dHiY;
    if (m_dLoY == 0.0 && m_dHiY == 0.0) {
        if (m_samples.empty()) return false;
        loY = hiY = m_samples.front().y;
        for (const CSample& s : m_samples) {
            if (s.y > hiY) hiY = s.y;
            if (s.y < loY) loY = s.y;
        }
    }
    if (m_dLoX == 0.0 && m_dHiX == 0.0) {
        if (m_samples.empty()) return false;
        loX = m_samples.front().x;
        hiX = m_samples.back().x;
    }
    return true;
}

void CVGraphic::MapToRect(const CRect& r) {
    if (m_samples.empty()) return;
    CPlotRange range;
    GetRange(range);
    MapToRange(r, range);
}

void CVGraphic::MapToRange(const CRect& r, const CPlotRange& range) {
    if (m_samples.empty()) return;
    const auto [loX, hiX, loY, hiY] = range;
    // A range of zero width or height (a constant series, a single sample)
    // would divide by zero and put the samples nowhere on the plot; they go
    // to its middle instead, so a constant shows as a line. Infinities and
    // NaNs left by other ranges become edge or zero coordinates.
    const double sx = (static_cast<double>(r.right) - r.left) / (hiX - loX);
    const double sy = (static_cast<double>(r.bottom) - r.top) / (hiY - loY);
    const double midX = (static_cast<double>(r.left) + r.right) / 2, midY = (static_cast<double>(r.top) + r.bottom) / 2;
    ClearPoints();
    m_points.reserve(m_samples.size());
    for (const CSample& s : m_samples) {
        const int32_t px = SaturatingTrunc(hiX == loX ? midX : (s.x - loX) * sx + r.left);
        const int32_t py = SaturatingTrunc(hiY == loY ? midY : r.bottom - (s.y - loY) * sy);
        m_points.push_back(CPoint{px, py});
    }
}

void CVGraphic::Draw(CDrawContext& dc, const CRect* /*pClient*/) {
    const CPen previous = dc.GetPen();
    CPen pen;
    pen.nStyle = m_bHighlight ? PS_DASH : PS_SOLID;
    pen.nWidth = 1;
    pen.color = static_cast<COLORREF>(m_nColor);
    dc.SetPen(pen);
    // A dense series draws a few points per pixel column, the same pixels.
    DrawColumnPolyline(dc, m_points);
    dc.SetPen(previous);
}

void CVGraphic::Serialize(CArchive& ar) {
    CVEntity::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt32(static_cast<int32_t>(m_samples.size()));
        for (const CSample& s : m_samples) {
            ar.WriteDouble(s.x);
            ar.WriteDouble(s.y);
        }
        ar.WriteInt32(m_nColor);
        ar.WriteString(m_strText);
        return;
    }
    RemoveAllSamples();
    const uint32_t count = ar.ReadItemCount(2 * sizeof(double));
    m_samples.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const double x = ar.ReadDouble();
        const double y = ar.ReadDouble();
        AddSample(x, y);
    }
    m_nColor = ar.ReadInt32();
    m_strText = ar.ReadString();
}

void RegisterGraphClasses(CClassRegistry& registry) { registry.Register(&CVGraphic::classCVGraphic); }
