// The legend of the graphs window: each series' colour (dashed for the
// chosen one, as its curve) beside its caption, in rows above the plot,
// which moves down to make room, so that no curve is ever hidden under it.
#pragma once
#include <vector>

#include "graphs/GraphsLayout.h"

class CVGraphic;

struct GraphsLegendEntry {
    CPen pen;
    GraphsLine stroke;  // from == to for the line that counts the series left out
    GraphsLabel caption;
};

struct GraphsLegend {
    int32_t nHeight = 0;  // what the rows take from the top of the frame
    std::vector<GraphsLegendEntry> entries;
};

// The series in list order, left to right in rows across the frame, at
// most three rows; captions longer than half the frame are cut, and the
// series that find no room are counted at the end.
GraphsLegend GraphsLegendLayout(const std::vector<const CVGraphic*>& series, const CRect& frameClient,
                                const CFontSpec& font);

// Each stroke and caption; the context's pen is given back.
void DrawGraphsLegend(CDrawContext& dc, const GraphsLegend& legend);
