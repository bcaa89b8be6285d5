// The graphs window's arithmetic: plot rectangle, grid line positions,
// label texts and boxes, and the order in which they are drawn.
#include <gtest/gtest.h>

#include <limits>

#include "graphs/GraphsLayout.h"
#include "tests/support/RecordingDC.h"

namespace {

const CRect kFrame{0, 0, 420, 275};  // plot rectangle 45, 15, 400, 255

GraphsGrid Grid(double loX, double hiX, double loY, double hiY, double divY, const CRect& frame = kFrame) {
    return GraphsGridLayout(frame, GraphsPlotRect(frame), loX, hiX, loY, hiY, divY);
}

std::string Texts(const std::array<GraphsLabel, 11>& labels) {
    std::string texts;
    for (const GraphsLabel& label : labels) texts += label.strText + " ";
    return texts;
}

// Vertical lines at truncated tenths of the width, horizontal ones from the
// top down, each across the whole plot rectangle; label boxes hang below and
// beside them.
TEST(GraphsLayout, GridLinesAndLabelBoxesSpanThePlotRectangle) {
    EXPECT_EQ(GraphsPlotRect(kFrame), (CRect{45, 15, 400, 255}));
    EXPECT_EQ(GraphsPlotRect(CRect{0, 0, 424, 274}), (CRect{45, 15, 404, 254}));
    const GraphsGrid grid = Grid(0, 10, 0, 1, 1);
    const int expected[] = {45, 80, 116, 151, 187, 222, 258, 293, 329, 364, 400};
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(grid.vertical[i].from, (CPoint{expected[i], 15})) << i;
        EXPECT_EQ(grid.vertical[i].to, (CPoint{expected[i], 255})) << i;
        EXPECT_EQ(grid.horizontal[i].from, (CPoint{45, 15 + 24 * i})) << i;
        EXPECT_EQ(grid.horizontal[i].to, (CPoint{400, 15 + 24 * i})) << i;
    }
    EXPECT_EQ(grid.xLabels[2].box, (CRect{116, 257, 117, 275}));
    EXPECT_EQ(grid.xLabels[2].nFlags, 0x121u);
    EXPECT_EQ(grid.yLabels[0].box, (CRect{0, 13, 45, 275}));
    EXPECT_EQ(grid.yLabels[10].box, (CRect{0, 253, 45, 275}));
    EXPECT_EQ(grid.yLabels[0].nFlags, 0x21u);
}

// x labels run low to high as they are; y labels high at the top, divided;
// each in the shortest six-digit form.
TEST(GraphsLayout, LabelTextsRunAlongTheAxes) {
    const GraphsGrid grid = Grid(0, 10, 0, 1000, 1000);
    EXPECT_EQ(Texts(grid.xLabels), "0 1 2 3 4 5 6 7 8 9 10 ");
    EXPECT_EQ(Texts(grid.yLabels), "1 0.9 0.8 0.7 0.6 0.5 0.4 0.3 0.2 0.1 0 ");
    EXPECT_EQ(Grid(0, 1, 0, 1, 1).xLabels[3].strText, "0.3");  // 0.1 * 3 is not exactly 0.3
    const GraphsGrid large = Grid(0, 1000000, 0, 1, 1);
    EXPECT_EQ(large.xLabels[1].strText + " " + large.xLabels[10].strText, "100000 1e+06");
    EXPECT_EQ(Grid(0, 0.0001, 0, 1, 1).xLabels[1].strText, "1e-05");
}

TEST(GraphsLayout, DegenerateRangesNeverOverflow) {
    const GraphsGrid grid = Grid(0, std::numeric_limits<double>::infinity(), 5, 5, 0);
    EXPECT_EQ(grid.vertical[10].from.x, 400);
    EXPECT_EQ(grid.xLabels[10].strText, "inf");
    const GraphsGrid wide = Grid(0, 1, 0, 1, 1, CRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    EXPECT_EQ(wide.vertical[10].from.x, INT32_MAX - 20);
    EXPECT_EQ(wide.xLabels[10].box.right, INT32_MAX - 19);
    EXPECT_EQ(wide.vertical[0].from.x, INT32_MIN + 45);
}

TEST(GraphsLayout, GridIsDrawnLineLabelLineLabelPerStep) {
    RecordingDC dc;
    DrawGraphsGrid(dc, Grid(0, 10, 0, 10, 1));
    const std::vector<std::string> ops = dc.Ops();
    ASSERT_EQ(ops.size(), 66u);
    EXPECT_EQ(ops[0] + ops[1] + ops[3] + ops[4], "MoveTo(45,15)LineTo(45,255)MoveTo(45,15)LineTo(400,15)");
    EXPECT_EQ(ops[2].rfind("DrawText(\"0\",", 0), 0u) << ops[2];
    EXPECT_EQ(ops[5].rfind("DrawText(\"10\",", 0), 0u) << ops[5];
}

}  // namespace
