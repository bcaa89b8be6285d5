// The arithmetic of the graphs window: the plot rectangle inside the frame,
// the ten-by-ten grid with its axis labels, and the colour swatch. Plain
// numbers and boxes, drawn through any drawing context.
#pragma once
#include <array>
#include <string>

#include "diagram/DrawContext.h"

// Insets of the plot rectangle inside the frame's client area.
constexpr int32_t kPlotInsetLeft = 45;
constexpr int32_t kPlotInsetTop = 15;
constexpr int32_t kPlotInsetRight = 20;
constexpr int32_t kPlotInsetBottom = 20;

constexpr uint32_t kXLabelFlags = DT_CENTER | DT_SINGLELINE | DT_NOCLIP;  // 0x121
constexpr uint32_t kYLabelFlags = DT_CENTER | DT_SINGLELINE;              // 0x21
constexpr CPen kGridPen{PS_SOLID, 1, RGB(192, 192, 192)};

struct GraphsLine {
    CPoint from;
    CPoint to;
};

struct GraphsLabel {
    std::string strText;
    CRect box;
    uint32_t nFlags = 0;
};

// Grid lines and labels, index 0 at the left and at the top.
struct GraphsGrid {
    std::array<GraphsLine, 11> vertical;
    std::array<GraphsLabel, 11> xLabels;  // loX at the left .. hiX at the right
    std::array<GraphsLine, 11> horizontal;
    std::array<GraphsLabel, 11> yLabels;  // hiY/divY at the top .. loY/divY at the bottom
};

// The frame's client rectangle with the plot insets taken off.
CRect GraphsPlotRect(const CRect& frameClient);

// Grid lines at trunc(left + i * width/10) and trunc(top + i * height/10);
// labels in "%g", only the y labels divided by divY.
GraphsGrid GraphsGridLayout(const CRect& frameClient, const CRect& plot, double loX, double hiX, double loY,
                            double hiY, double divY);

// The label font of the grid.
CFontSpec GraphsLabelFont();

// The colour swatch, in the window's client coordinates, placed from the
// frame's client size.
CRect GraphsSwatchRect(const CRect& frameClient);

// Lines and labels in drawing order: for each i the vertical line, its x
// label, the horizontal line, its y label; with the context's pen and font.
void DrawGraphsGrid(CDrawContext& dc, const GraphsGrid& grid);
