// Round ticks are chosen in the units the labels show (after the divisor),
// and the finest round step is taken whose labels still fit between their
// neighbours, measured with the font's cell: the labels are digits of a
// fixed-pitch face.
#include "graphs/GraphsAxes.h"

#include <algorithm>
#include <cmath>

#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "graphs/RoundTicks.h"

const char* const kCommonScaleTitleUtf8 = "Общая шкала";

namespace {

constexpr int kMaxIntervals = 10;

// A tick: where it stands along its axis (pixels) and the label it carries.
struct Tick {
    double position;
    std::string strLabel;
};

// Round ticks of the shown values lo/divisor .. hi/divisor, placed between
// pixLo (where lo lies) and pixHi, the finest whose step in pixels leaves
// room for the widest label's extent.
template <class Extent>
std::vector<Tick> RoundTicksFitting(double pixLo, double pixHi, double lo, double hi, double divisor, Extent extent) {
    if (!std::isfinite(divisor) || divisor == 0.0) divisor = 1.0;
    // A range of one value is drawn across the middle; its one tick goes there.
    if (hi == lo) pixLo = (pixLo + pixHi) / 2;
    const double scale = hi == lo ? 0.0 : (pixHi - pixLo) / (hi - lo);
    std::vector<Tick> ticks;
    for (int intervals = kMaxIntervals; intervals >= 1; --intervals) {
        ticks.clear();
        double widest = 0.0;
        for (const double shown : RoundTicks(lo / divisor, hi / divisor, intervals)) {
            ticks.push_back({pixLo + (shown * divisor - lo) * scale, FormatG(shown)});
            widest = std::max(widest, extent(ticks.back().strLabel));
        }
        const double step = RoundStep(lo / divisor, hi / divisor, intervals);
        if (!(std::fabs(step * divisor * scale) < widest)) break;
    }
    return ticks;
}

bool Within(double position, int32_t a, int32_t b) {
    return position >= std::min(a, b) - 0.5 && position <= std::max(a, b) + 0.5;
}

// The usual ten-by-ten grid, its y labels centred on their lines; where
// x labels would run into each other only every second (third...) is kept.
GraphsAxes TenthAxes(const CRect& fr, const CRect& r, const CPlotRange& range, double divY, const CFontSpec& font,
                     int32_t raise) {
    const GraphsGrid grid = GraphsGridLayout(fr, r, range.loX, range.hiX, range.loY, range.hiY, divY);
    GraphsAxes axes;
    axes.lines.assign(grid.vertical.begin(), grid.vertical.end());
    axes.lines.insert(axes.lines.end(), grid.horizontal.begin(), grid.horizontal.end());
    size_t widest = 0;
    for (const GraphsLabel& label : grid.xLabels) widest = std::max(widest, label.strText.size());
    const double cellWidth = (static_cast<double>(r.right) - r.left) * 0.1;
    const double every = std::ceil((static_cast<double>(widest) + 1.0) * font.nWidth / std::max(cellWidth, 1.0));
    for (size_t i = 0; i < grid.xLabels.size(); ++i)
        if (every <= 1.0 || std::fmod(static_cast<double>(i), every) == 0.0) axes.labels.push_back(grid.xLabels[i]);
    for (GraphsLabel label : grid.yLabels) {
        label.box.top = SaturatingSub(SaturatingAdd(label.box.top, 2), raise);
        axes.labels.push_back(label);
    }
    return axes;
}

GraphsAxes RoundAxes(const CRect& fr, const CRect& r, const CPlotRange& range, double divY, const CFontSpec& font,
                     int32_t raise) {
    const std::vector<Tick> xTicks =
        RoundTicksFitting(r.left, r.right, range.loX, range.hiX, 1.0, [&font](const std::string& label) {
            return (static_cast<double>(label.size()) + 2.0) * font.nWidth;
        });
    const std::vector<Tick> yTicks = RoundTicksFitting(r.bottom, r.top, range.loY, range.hiY, divY,
                                                       [&font](const std::string&) { return font.nHeight + 6.0; });
    GraphsAxes axes;
    // Round ticks seldom fall on the edges, so the plot gets its outline.
    axes.lines = {{{r.left, r.top}, {r.right, r.top}}, {{r.left, r.bottom}, {r.right, r.bottom}},
                  {{r.left, r.top}, {r.left, r.bottom}}, {{r.right, r.top}, {r.right, r.bottom}}};
    for (const Tick& tick : xTicks) {
        if (!Within(tick.position, r.left, r.right)) continue;
        const int32_t x = SaturatingTrunc(tick.position);
        axes.lines.push_back({{x, r.top}, {x, r.bottom}});
        axes.labels.push_back({tick.strLabel, {x, SaturatingAdd(r.bottom, 2), SaturatingAdd(x, 1), fr.bottom}, kXLabelFlags});
    }
    for (const Tick& tick : yTicks) {
        if (!Within(tick.position, r.top, r.bottom)) continue;
        const int32_t y = SaturatingTrunc(tick.position);
        axes.lines.push_back({{r.left, y}, {r.right, y}});
        axes.labels.push_back({tick.strLabel, {fr.left, SaturatingSub(y, raise), r.left, fr.bottom}, kYLabelFlags});
    }
    return axes;
}

}  // namespace

CFontSpec GraphsLabelFont(const GraphsChoices& choices) {
    CFontSpec font = GraphsLabelFont();
    if (choices.bLargeFont) font.nHeight = 14, font.nWidth = 7, font.nWeight = 400;
    return font;
}

CRect GraphsPlotRect(const CRect& fr, const GraphsChoices& choices, int32_t legendHeight) {
    CRect r = GraphsPlotRect(fr);
    if (choices.bLargeFont)
        r = {SaturatingAdd(fr.left, 64), SaturatingAdd(fr.top, 18), SaturatingAdd(fr.right, -24),
             SaturatingAdd(fr.bottom, -22)};
    r.top = SaturatingAdd(r.top, legendHeight);
    return r;
}

GraphsAxes GraphsAxesLayout(const CRect& fr, const CRect& r, const CPlotRange& range, double divY,
                            const GraphsChoices& choices) {
    const CFontSpec font = GraphsLabelFont(choices);
    const int32_t raise = font.nHeight / 2 - 2;  // centres a y label on its line
    GraphsAxes axes = choices.bRoundTicks ? RoundAxes(fr, r, range, divY, font, raise)
                                          : TenthAxes(fr, r, range, divY, font, raise);
    // In the strip over the plot, left of where the readout stands.
    const int32_t strip = SaturatingSub(GraphsPlotRect(fr, choices).top, fr.top);
    if (choices.bCommonScale)
        axes.labels.push_back({Utf8ToCp1251Lossy(kCommonScaleTitleUtf8),
                               {SaturatingAdd(r.left, 2), SaturatingAdd(SaturatingSub(r.top, strip), 2), r.right, r.top},
                               DT_LEFT | DT_SINGLELINE});
    return axes;
}

void DrawGraphsAxes(CDrawContext& dc, const GraphsAxes& axes) {
    for (const GraphsLine& line : axes.lines) {
        dc.MoveTo(line.from);
        dc.LineTo(line.to);
    }
    for (const GraphsLabel& label : axes.labels) dc.DrawText(label.strText, label.box, label.nFlags);
}

void DrawGraphsBackground(CDrawContext& dc, const CRect& fr, const CRect& r, const CPlotRange& range, double divY,
                          const GraphsChoices& choices) {
    dc.SetFont(GraphsLabelFont(choices));
    const CPen previous = dc.GetPen();
    dc.SetPen(kGridPen);
    if (choices.IsDefault())
        DrawGraphsGrid(dc, GraphsGridLayout(fr, r, range.loX, range.hiX, range.loY, range.hiY, divY));
    else
        DrawGraphsAxes(dc, GraphsAxesLayout(fr, r, range, divY, choices));
    dc.SetPen(previous);
}
