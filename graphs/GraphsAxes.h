// The grid and labels of the graphs window when the reader has asked for
// more than its usual look: round ticks, larger labels, the y axis of the
// common scale named above it. With none of these the window keeps its
// ten-by-ten grid (GraphsLayout.h).
#pragma once
#include <vector>

#include "graphs/Graphic.h"
#include "graphs/GraphsChoices.h"
#include "graphs/GraphsLayout.h"

struct GraphsAxes {
    std::vector<GraphsLine> lines;
    std::vector<GraphsLabel> labels;
};

// The caption above the y axis of the common scale.
extern const char* const kCommonScaleTitleUtf8;

CFontSpec GraphsLabelFont(const GraphsChoices& choices);
// Larger labels take wider margins, and a legend the given height above
// the strip over the plot, so the plot rectangle shrinks.
CRect GraphsPlotRect(const CRect& frameClient, const GraphsChoices& choices, int32_t legendHeight = 0);

// Ten cells each way, or round ticks spaced so their labels do not touch;
// y labels divided by divY. Lines outside the plot rectangle are left out.
GraphsAxes GraphsAxesLayout(const CRect& frameClient, const CRect& plot, const CPlotRange& range, double divY,
                            const GraphsChoices& choices);

// The lines, then the labels, with the context's pen and font.
void DrawGraphsAxes(CDrawContext& dc, const GraphsAxes& axes);

// The grid and labels of the chosen series' range in the grid pen and
// label font, in the usual look when no choice is made; the context's pen
// is given back. choices.bCommonScale says that range is the common one.
void DrawGraphsBackground(CDrawContext& dc, const CRect& frameClient, const CRect& plot, const CPlotRange& range,
                          double divY, const GraphsChoices& choices);
