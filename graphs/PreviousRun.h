// The series of the last run the graphs window showed, kept while the
// application runs so that the next run can be drawn against it: each new
// series meets the kept one of the same caption, drawn faded behind it on
// the new series' own scale.
#pragma once
#include <memory>
#include <vector>

#include "diagram/DrawContext.h"

class CVGraphic;
struct CPlotRange;

class CPreviousRun {
public:
    CPreviousRun();
    ~CPreviousRun();

    // Keeps copies of these series, replacing what was kept.
    void Remember(const std::vector<const CVGraphic*>& series);
    void Forget();
    bool IsEmpty() const { return m_series.empty(); }

    // For each current series the kept one of the same caption, or null.
    // The k-th series of a caption meets the k-th kept one of that caption.
    std::vector<const CVGraphic*> Match(const std::vector<const CVGraphic*>& current) const;

    // Whether the graphs window draws the kept run; on until the user says no.
    bool m_bShow = true;

private:
    std::vector<std::unique_ptr<CVGraphic>> m_series;
};

// A copy of a series' samples, caption, colour, range and divisor.
std::unique_ptr<CVGraphic> CloneSeries(const CVGraphic& series);

// A kept series prepared for drawing behind current: its colour faded
// towards white, solid, mapped into r on current's effective range.
std::unique_ptr<CVGraphic> MakeGhost(const CVGraphic& previous, const CVGraphic& current, const CRect& r);
// The same on the range current is drawn on, such as a common scale.
std::unique_ptr<CVGraphic> MakeGhost(const CVGraphic& previous, const CVGraphic& current, const CPlotRange& range,
                                     const CRect& r);

// The colour three parts of the way to white.
COLORREF FadedColor(COLORREF color);
