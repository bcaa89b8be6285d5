// CVGraphic: one plot series made by the model program, with its samples,
// caption, colour, axis range and y-label divisor. Its entity points are the
// screen points of the samples, rebuilt by MapToRect.
#pragma once
#include <string>
#include <vector>

#include "archive/ClassRegistry.h"
#include "diagram/Entity.h"

struct CSample {
    double x = 0.0;
    double y = 0.0;
    friend bool operator==(const CSample&, const CSample&) = default;
};

// The x and y ranges a series is drawn on.
struct CPlotRange {
    double loX = 0.0, hiX = 0.0, loY = 0.0, hiY = 0.0;
};

class CVGraphic : public CVEntity {
    VARNEL_DECLARE_SERIAL(CVGraphic)
public:

    void Serialize(CArchive& ar) override;
    void Draw(CDrawContext& dc, const CRect* pClient) override;

    void AddSample(double x, double y) { m_samples.push_back(CSample{x, y}); }
    void RemoveAllSamples();
    const CSample& GetSample(int index) const;
    int GetSampleCount() const { return static_cast<int>(m_samples.size()); }
    const std::vector<CSample>& Samples() const { return m_samples; }
    // Stable ascending order of x.
    void SortByX();
    // The effective axis range; false when an automatic range has no samples.
    bool GetRange(double& loX, double& hiX, double& loY, double& hiY) const;
    bool GetRange(CPlotRange& range) const { return GetRange(range.loX, range.hiX, range.loY, range.hiY); }
    // Rebuilds the point list from the samples inside rectangle r.
    void MapToRect(const CRect& r);
    // The same on a range of the caller's, such as a scale shared by all series.
    void MapToRange(const CRect& r, const CPlotRange& range);

    std::vector<CSample> m_samples;
    int32_t m_nColor = 0;
    std::string m_strText;
    double m_dLoX = 0.0;
    double m_dHiX = 0.0;
    double m_dLoY = 0.0;
    double m_dHiY = 0.0;
    double m_dDivY = 1.0;
};

void RegisterGraphClasses(CClassRegistry& registry);
