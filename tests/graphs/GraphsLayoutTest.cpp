// The graphs window's arithmetic: plot rectangle, grid line positions,
// label texts and boxes, and the order in which they are drawn.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "graphs/GraphsLayout.h"

namespace {

const CRect kFrame{0, 0, 420, 275};  // plot rectangle 45, 15, 400, 255

std::vector<std::string> Texts(const std::array<GraphsLabel, 11>& labels) {
    std::vector<std::string> texts;
    for (const GraphsLabel& label : labels) texts.push_back(label.strText);
    return texts;
}

TEST(GraphsLayout, PlotRectIsTheFrameWithTheInsetsTakenOff) {
    EXPECT_EQ(GraphsPlotRect(kFrame), (CRect{45, 15, 400, 255}));
    EXPECT_EQ(GraphsPlotRect(CRect{0, 0, 424, 274}), (CRect{45, 15, 404, 254}));
}

TEST(GraphsLayout, VerticalGridLinesAreTruncatedTenths) {
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 1, 1);
    const int expected[] = {45, 80, 116, 151, 187, 222, 258, 293, 329, 364, 400};
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(grid.vertical[i].from.x, expected[i]) << i;
        EXPECT_EQ(grid.vertical[i].to.x, expected[i]) << i;
        EXPECT_EQ(grid.vertical[i].from.y, 15);
        EXPECT_EQ(grid.vertical[i].to.y, 255);
    }
}

TEST(GraphsLayout, HorizontalGridLinesRunFromTopToBottom) {
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 1, 1);
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(grid.horizontal[i].from, (CPoint{45, 15 + 24 * i})) << i;
        EXPECT_EQ(grid.horizontal[i].to, (CPoint{400, 15 + 24 * i})) << i;
    }
}

TEST(GraphsLayout, XLabelsRunFromLowToHighAndAreNotDivided) {
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 1000, 1000);
    EXPECT_EQ(Texts(grid.xLabels), (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
}

TEST(GraphsLayout, YLabelsRunFromHighAtTheTopAndAreDivided) {
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 1000, 1000);
    EXPECT_EQ(Texts(grid.yLabels),
              (std::vector<std::string>{"1", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0"}));
}

TEST(GraphsLayout, LabelsUseTheShortestSixDigitForm) {
    const GraphsGrid tenths = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 1, 0, 1, 1);
    EXPECT_EQ(tenths.xLabels[3].strText, "0.3");  // 0.1 * 3 is not exactly 0.3
    const GraphsGrid large = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 1000000, 0, 1, 1);
    EXPECT_EQ(large.xLabels[1].strText, "100000");
    EXPECT_EQ(large.xLabels[10].strText, "1e+06");
    const GraphsGrid tiny = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 0.0001, 0, 1, 1);
    EXPECT_EQ(tiny.xLabels[1].strText, "1e-05");
}

TEST(GraphsLayout, LabelBoxesHangBelowAndBesideTheGridLines) {
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 1, 1);
    EXPECT_EQ(grid.xLabels[2].box, (CRect{116, 257, 117, 275}));
    EXPECT_EQ(grid.xLabels[2].nFlags, 0x121u);
    EXPECT_EQ(grid.yLabels[0].box, (CRect{0, 13, 45, 275}));
    EXPECT_EQ(grid.yLabels[10].box, (CRect{0, 253, 45, 275}));
    EXPECT_EQ(grid.yLabels[0].nFlags, 0x21u);
}

TEST(GraphsLayout, DegenerateRangesNeverOverflow) {
    const double inf = std::numeric_limits<double>::infinity();
    const GraphsGrid grid = GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, inf, 5, 5, 0);
    EXPECT_EQ(grid.vertical[10].from.x, 400);
    EXPECT_EQ(grid.xLabels[10].strText, "inf");
    const CRect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    const GraphsGrid wide = GraphsGridLayout(huge, GraphsPlotRect(huge), 0, 1, 0, 1, 1);
    EXPECT_EQ(wide.vertical[10].from.x, INT32_MAX - 20);
    EXPECT_EQ(wide.xLabels[10].box.right, INT32_MAX - 19);
    EXPECT_EQ(wide.vertical[0].from.x, INT32_MIN + 45);
}

TEST(GraphsLayout, SwatchSitsAtFixedOffsetsFromTheFrameSize) {
    EXPECT_EQ(GraphsSwatchRect(kFrame), (CRect{225, 310, 250, 311}));
}

// Records what the grid drawing asks of a context.
class GridRecorder : public CDrawContext {
public:
    std::vector<std::string> calls;
    void MoveTo(CPoint p) override { calls.push_back("M" + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void LineTo(CPoint p) override { calls.push_back("L" + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void Rectangle(const CRect&) override { calls.push_back("R"); }
    void Ellipse(const CRect&) override { calls.push_back("E"); }
    void PolyBezier(const CPoint*, int) override { calls.push_back("B"); }
    void DrawText(const std::string& text, const CRect&, uint32_t) override { calls.push_back("T" + text); }
    CPen GetPen() const override { return {}; }
    void SetPen(const CPen&) override {}
    CFontSpec GetFont() const override { return {}; }
    void SetFont(const CFontSpec&) override {}
    void SetTextColor(COLORREF) override {}
    int32_t SetROP2(int32_t) override { return 0; }
};

TEST(GraphsLayout, GridIsDrawnLineLabelLineLabelPerStep) {
    GridRecorder dc;
    DrawGraphsGrid(dc, GraphsGridLayout(kFrame, GraphsPlotRect(kFrame), 0, 10, 0, 10, 1));
    ASSERT_EQ(dc.calls.size(), 66u);
    const std::vector<std::string> first(dc.calls.begin(), dc.calls.begin() + 6);
    EXPECT_EQ(first, (std::vector<std::string>{"M45,15", "L45,255", "T0", "M45,15", "L400,15", "T10"}));
}

TEST(GraphsLayout, LabelFontIsTheSmallCourierCell) {
    const CFontSpec font = GraphsLabelFont();
    EXPECT_EQ(font.nHeight, 8);
    EXPECT_EQ(font.nWidth, 4);
    EXPECT_EQ(font.nWeight, 300);
    EXPECT_EQ(font.strFace, "Courier New Cyrr");
}

}  // namespace
