// The plot series (its record is part of the dump's golden file) and the
// graphs window's data: grid and labels, round ticks, the common scale and
// the legend, the sample nearest the mouse, and the previous run's series
// laid on the current scale.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <sstream>

#include "graphs/Graphic.h"
#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "graphs/GraphsAxes.h"
#include "graphs/GraphsLayout.h"
#include "graphs/GraphsLegend.h"
#include "graphs/GraphsScale.h"
#include "graphs/RoundTicks.h"
#include "graphs/PreviousRun.h"
#include "graphs/SampleReadout.h"
#include "tests/support/Golden.h"
#include "tests/support/RecordingDC.h"

namespace {

const double kNaN = std::nan(""), kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<CVGraphic> Series(std::vector<CSample> samples, std::vector<double> range = {0, 0, 0, 0},
                                  const std::string& caption = "") {
    auto g = std::make_unique<CVGraphic>();
    g->m_samples = std::move(samples);
    g->m_dLoX = range[0], g->m_dHiX = range[1], g->m_dLoY = range[2], g->m_dHiY = range[3];
    g->m_strText = caption;
    return g;
}

std::vector<double> Range(const CVGraphic& g) {
    double r[4];
    return g.GetRange(r[0], r[1], r[2], r[3]) ? std::vector<double>(r, r + 4) : std::vector<double>{};
}

// The screen points after mapping into r, as "(x,y) ...".
std::string Mapped(CVGraphic& g, const CRect& r) {
    g.MapToRect(r);
    std::string points;
    for (int i = 0; i < g.GetPointCount(); ++i) points += RecordingDC::Pt(g.GetPoint(i)) + " ";
    return points;
}

std::string Drawn(CVGraphic& g, RecordingDC& dc) {
    g.Draw(dc, nullptr);
    std::string ops;
    for (const std::string& op : dc.Ops()) ops += op + " ";
    return ops;
}

// By x, equal x (0 and -0 too) in arrival order, NaN x after every number
// in arrival order; the samples' y tell them apart.
TEST(Graphic, SortByXPutsNaNLastAndKeepsArrivalOrderOfEquals) {
    const std::pair<std::vector<CSample>, std::vector<double>> cases[] = {
        {{{3, 30}, {1, 10}, {2, 20}, {1, 11}, {1, 12}}, {10, 11, 12, 20, 30}},
        {{{1, 1}, {1, 2}, {2, 3}, {5, 4}}, {1, 2, 3, 4}},
        {{{kNaN, 1}, {3, 2}, {1, 3}, {kNaN, 4}, {0, 5}}, {5, 3, 2, 1, 4}},
        {{{0, 1}, {-0.0, 2}, {-1, 3}}, {3, 1, 2}},
    };
    for (const auto& [samples, expectedY] : cases) {
        const auto g = Series(samples);
        g->SortByX();
        std::vector<double> y;
        for (const CSample& s : g->m_samples) y.push_back(s.y);
        EXPECT_EQ(y, expectedY);
    }
}

// The samples give the range unless one is given (even with an end zero);
// high y maps to the top, a flat range to the middle, and no range fails.
TEST(Graphic, RangeAndMappingFollowTheSamplesUnlessGiven) {
    const auto g = Series({});
    EXPECT_EQ(Range(*g), std::vector<double>{});
    g->m_samples = {{0, 5}, {4, -7}, {10, 3}};
    EXPECT_EQ(g->GetSample(1).y, -7);
    EXPECT_EQ(Range(*g), (std::vector<double>{0, 10, -7, 5}));
    g->m_dLoX = -1, g->m_dLoY = 0, g->m_dHiY = 50;
    EXPECT_EQ(Range(*g), (std::vector<double>{-1, 0, 0, 50}));
    g->RemoveAllSamples();
    EXPECT_EQ(g->GetSampleCount(), 0);

    const CRect rect{45, 15, 255, 235};
    EXPECT_EQ(Mapped(*Series({{3, 4}}), rect), "(150,125) ");
    EXPECT_EQ(Mapped(*Series({{0, 0}, {1e-300, kInf}, {1, kNaN}}), rect), "(45,235) (45,0) (255,0) ");
    CVGraphic none;
    none.AddPoint(CPoint{1, 2});
    EXPECT_EQ(Mapped(none, rect), "(1,2) ");  // no samples: the points stay
}

// Drawn with its pen, dashed when highlighted, the previous pen given back.
// Where more than four points in a row share a pixel column only the first,
// the lowest, the highest and the last are drawn to, in their order.
TEST(Graphic, DrawsAPolylineWithItsPenAndFourPointsAColumn) {
    const CPen previous{PS_SOLID, 3, RGB(1, 2, 3)};
    RecordingDC empty, dc, highlighted, dense;
    empty.pen = dc.pen = previous;
    CVGraphic none;
    Drawn(none, empty);
    EXPECT_EQ(empty.pen, previous);
    auto g = Series({{0, 5}, {5, 0}, {10, -5}});
    g->m_nColor = 255;
    g->MapToRect({45, 15, 255, 235});
    EXPECT_EQ(Drawn(*g, dc), "SetPen(solid,1,#ff0000) MoveTo(45,15) LineTo(150,125) LineTo(255,235) "
                             "SetPen(solid,3,#010203) ");
    g->m_bHighlight = 1;
    EXPECT_EQ(Drawn(*g, highlighted).substr(0, 23), "SetPen(dash,1,#ff0000) ");
    g = Series({{0, 5}, {0, 9}, {0, 7}, {0, 3}, {0, 8}, {0, 6}, {1, 1}, {1, 2}, {1, 0}, {1, 2}, {2, 4}}, {0, 2, 0, 10});
    g->MapToRect({0, 0, 2, 10});
    EXPECT_EQ(Drawn(*g, dense), "SetPen(solid,1,#000000) MoveTo(0,5) LineTo(0,1) LineTo(0,7) LineTo(0,4) LineTo(1,9) "
                                "LineTo(1,8) LineTo(1,10) LineTo(1,8) LineTo(2,6) SetPen(solid,1,#000000) ");
}

const CRect kFrame{0, 0, 420, 275};  // plot rectangle 45, 15, 400, 255
const CRect kPlot{0, 0, 100, 100};   // one pixel per unit for series on k100
const std::vector<double> k100{0, 100, 0, 100};

GraphsGrid Grid(double loX, double hiX, double loY, double hiY, double divY, const CRect& frame = kFrame) {
    return GraphsGridLayout(frame, GraphsPlotRect(frame), loX, hiX, loY, hiY, divY);
}

template <class Labels>
std::string Texts(const Labels& labels) {
    std::string texts;
    for (const GraphsLabel& label : labels) texts += Cp1251ToUtf8(label.strText) + " ";
    return texts;
}

// Lines at truncated tenths across the whole plot rectangle, label boxes
// below and beside them.
TEST(GraphsLayout, GridLinesAndLabelBoxesSpanThePlotRectangle) {
    const GraphsGrid grid = Grid(0, 10, 0, 1, 1);
    const int expected[] = {45, 80, 116, 151, 187, 222, 258, 293, 329, 364, 400};
    for (int i = 0; i <= 10; ++i) {
        EXPECT_EQ(grid.vertical[i].from, (CPoint{expected[i], 15})) << i;
        EXPECT_EQ(grid.vertical[i].to, (CPoint{expected[i], 255})) << i;
        EXPECT_EQ(grid.horizontal[i].from, (CPoint{45, 15 + 24 * i})) << i;
        EXPECT_EQ(grid.horizontal[i].to, (CPoint{400, 15 + 24 * i})) << i;
    }
    EXPECT_EQ(grid.xLabels[2].box, (CRect{116, 257, 117, 275}));
    EXPECT_EQ(grid.yLabels[0].box, (CRect{0, 13, 45, 275}));
    EXPECT_EQ(grid.yLabels[10].box, (CRect{0, 253, 45, 275}));
    EXPECT_EQ(grid.xLabels[2].nFlags, 0x121u);
    EXPECT_EQ(grid.yLabels[0].nFlags, 0x21u);
    // Drawn line, label, line, label per step.
    RecordingDC dc;
    DrawGraphsGrid(dc, Grid(0, 10, 0, 10, 1));
    const std::vector<std::string> ops = dc.Ops();
    ASSERT_EQ(ops.size(), 66u);
    EXPECT_EQ(ops[0] + ops[1] + ops[3] + ops[4], "MoveTo(45,15)LineTo(45,255)MoveTo(45,15)LineTo(400,15)");
    EXPECT_EQ(ops[2].substr(0, 13) + ops[5].substr(0, 14), "DrawText(\"0\",DrawText(\"10\",");
}

// x labels run low to high as they are; y labels high at the top, divided;
// each in the shortest six-digit form. Degenerate ranges never overflow.
TEST(GraphsLayout, LabelTextsRunAlongTheAxes) {
    const GraphsGrid grid = Grid(0, 10, 0, 1000, 1000);
    EXPECT_EQ(Texts(grid.xLabels), "0 1 2 3 4 5 6 7 8 9 10 ");
    EXPECT_EQ(Texts(grid.yLabels), "1 0.9 0.8 0.7 0.6 0.5 0.4 0.3 0.2 0.1 0 ");
    EXPECT_EQ(Grid(0, 1, 0, 1, 1).xLabels[3].strText, "0.3");  // 0.1 * 3 is not exactly 0.3
    const GraphsGrid large = Grid(0, 1000000, 0, 1, 1);
    EXPECT_EQ(large.xLabels[1].strText + " " + large.xLabels[10].strText, "100000 1e+06");
    EXPECT_EQ(Grid(0, 0.0001, 0, 1, 1).xLabels[1].strText, "1e-05");

    const GraphsGrid infinite = Grid(0, std::numeric_limits<double>::infinity(), 5, 5, 0);
    EXPECT_EQ(infinite.vertical[10].from.x, 400);
    EXPECT_EQ(infinite.xLabels[10].strText, "inf");
    const GraphsGrid wide = Grid(0, 1, 0, 1, 1, CRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    EXPECT_EQ(wide.vertical[10].from.x, INT32_MAX - 20);
    EXPECT_EQ(wide.xLabels[10].box.right, INT32_MAX - 19);
    EXPECT_EQ(wide.vertical[0].from.x, INT32_MIN + 45);
}

TEST(RoundTicks, GoldenRows) {
    for (const GoldenCase& c : GoldenTable("graphs/ticks.txt")) {
        std::istringstream words(c.input);
        std::string lo, hi;
        int intervals = 0;
        words >> lo >> hi >> intervals;
        double ends[2];
        std::from_chars(lo.data(), lo.data() + lo.size(), ends[0]);
        std::from_chars(hi.data(), hi.data() + hi.size(), ends[1]);
        std::string ticks;
        for (const double tick : RoundTicks(ends[0], ends[1], intervals)) ticks += (ticks.empty() ? "" : " ") + FormatG(tick);
        EXPECT_EQ(ticks, c.expected) << "line " << c.line;
    }
}

// Round ticks in the divided units, coarser where wide labels would touch;
// the common scale names its axis, and spans every series' range, explicit
// or automatic, leaving out what is not finite.
TEST(GraphsAxes, RoundTicksAndTheCommonScale) {
    const GraphsChoices round{.bRoundTicks = true}, large{.bRoundTicks = true, .bLargeFont = true};
    EXPECT_EQ(Texts(GraphsAxesLayout(kFrame, GraphsPlotRect(kFrame), {0, 49.95, 0, 1000}, 1000, round).labels),
              "0 5 10 15 20 25 30 35 40 45 0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1 ");
    const GraphsAxes wide = GraphsAxesLayout(kFrame, GraphsPlotRect(kFrame, large), {0, 1e6, 0, 0}, 1, large);
    EXPECT_EQ(Texts(wide.labels), "0 200000 400000 600000 800000 1e+06 0 ");  // a flat y across the middle
    EXPECT_EQ(wide.labels.back().box.top, (18 + 253) / 2 - 5);
    EXPECT_EQ(wide.lines[4].from, (CPoint{64, 18}));  // the outline, then the ticks
    const GraphsChoices plainLarge{.bLargeFont = true};  // tenths, every other one where they would touch
    EXPECT_EQ(Texts(GraphsAxesLayout(kFrame, GraphsPlotRect(kFrame, plainLarge), {0, 1e6, 0, 1}, 1, plainLarge).labels),
              "0 200000 400000 600000 800000 1e+06 1 0.9 0.8 0.7 0.6 0.5 0.4 0.3 0.2 0.1 0 ");
    const GraphsChoices common{.bCommonScale = true};
    const GraphsAxes named = GraphsAxesLayout(kFrame, GraphsPlotRect(kFrame), {0, 1, 0, 1}, 1, common);
    EXPECT_EQ(Cp1251ToUtf8(named.labels.back().strText), "Общая шкала");

    auto a = Series({{0, -3}, {1, 5}}, {0, 0, 0, 0}), b = Series({{0, 40}, {2, 60}}, {0, 2, 0, 100});
    auto c = Series({{0, kInf}, {3, 7}}), d = Series({{0, kInf}});
    b->m_dDivY = 2;
    CPlotRange range;
    EXPECT_TRUE(CGraphsScale({a.get(), b.get(), c.get()}, true).RangeOf(*a, range));
    EXPECT_EQ((std::vector<double>{range.loX, range.hiX, range.loY, range.hiY}), (std::vector<double>{0, 1, -3, 100}));
    EXPECT_EQ(CGraphsScale({a.get(), b.get()}, true).DivisorOf(*b), 1);  // divisors that differ
    EXPECT_EQ(CGraphsScale({b.get()}, true).DivisorOf(*a), 2);
    EXPECT_TRUE(CGraphsScale({a.get(), b.get()}, false).RangeOf(*b, range) && range.hiY == 100);
    EXPECT_FALSE(CGraphsScale({d.get()}, true).IsCommon() || CGraphsScale({}, true).RangeOf(CVGraphic(), range));
}

// Entries in rows above the plot, the chosen one dashed; what finds no
// room in three rows is counted, and the plot moves down by the rows.
TEST(GraphsLegend, RowsAboveThePlotCountWhatHasNoRoom) {
    std::vector<std::unique_ptr<CVGraphic>> owned;
    std::vector<const CVGraphic*> series;
    for (char name = 'a'; name < 'i'; ++name) {
        owned.push_back(Series({}, k100, std::string(10, name)));
        owned.back()->m_nColor = name;
        series.push_back(owned.back().get());
    }
    owned[1]->m_bHighlight = true;
    const GraphsLegend legend = GraphsLegendLayout(series, {0, 0, 200, 275}, GraphsLabelFont());
    std::string texts;
    for (const GraphsLegendEntry& e : legend.entries) texts += e.pen.color ? e.caption.strText.substr(0, 1) : Cp1251ToUtf8(e.caption.strText);
    EXPECT_EQ(texts, "abcdeи ещё 3");
    EXPECT_EQ(legend.entries[1].pen, (CPen{PS_DASH, 1, 'b'}));
    EXPECT_EQ(legend.entries[2].stroke.from, (CPoint{6, 20}));
    EXPECT_EQ(legend.entries[1].caption.box.left, 130);  // after the first entry and its own stroke
    EXPECT_EQ(legend.entries[5].caption.box.top, 28);
    EXPECT_EQ(legend.nHeight, 40);
    EXPECT_EQ(GraphsPlotRect(kFrame, {.bLegend = true}, legend.nHeight).top, 55);
}

TEST(Readout, NearestSampleIsNearestOnScreen) {
    // Screen y grows downwards: the sample (50, 90) is drawn at (50, 10).
    const auto g = Series({{10, 10}, {40, 90}, {50, 90}, {50, 10}, {60, 50}, {90, 90}}, k100);
    // Of two at x = 50 the one near in y, the nearer of two neighbours, beyond the ends.
    const int cases[][3] = {{11, 88, 0}, {49, 12, 2}, {50, 85, 3}, {44, 10, 1}, {-500, 50, 0}, {500, 10, 5}};
    for (auto [x, y, index] : cases) EXPECT_EQ(NearestSample(*g, kPlot, x, y), index) << x << " " << y;
    // Samples far away in x but close in distance are still found.
    EXPECT_EQ(NearestSample(*Series({{0, 0}, {49, 100}, {51, 0}, {100, 100}}, k100), kPlot, 48, 0), 1);
    EXPECT_EQ(ReadoutText(1.5, -2e-7), "x = 1.5, y = -2e-07");
    // None in an empty series; one sample under an automatic range (0/0) is still found.
    EXPECT_EQ(NearestSample(CVGraphic(), kPlot, 5, 5), -1);
    EXPECT_EQ(NearestSample(*Series({{3, 4}}), kPlot, 70, 70), 0);
    EXPECT_EQ(NearestSample(*Series({{kNaN, 5}, {20, 20}, {30, 30}}, k100), kPlot, 29, 70), 2);
    // A large series costs a few steps, not one per sample (and is right).
    std::vector<CSample> many;
    for (int i = 0; i < 1'000'000; ++i) many.push_back({i / 10000.0, 50});
    EXPECT_EQ(NearestSample(*Series(many, k100), kPlot, 42.00004, 50), 420000);
}

TEST(PreviousRun, SeriesMeetByCaptionInTurnAndTheGhostIsFadedOnTheCurrentScale) {
    CPreviousRun previous;
    const auto a1 = Series({{1, 1}}, k100, "a"), a2 = Series({{2, 2}}, k100, "a"), b = Series({{3, 3}}, k100, "b");
    previous.Remember({a1.get(), b.get(), a2.get()});
    a1->AddSample(9, 9);  // the kept copies do not follow the originals
    const auto c = Series({}, k100, "c"), newA = Series({}, k100, "a");
    const auto match = previous.Match({c.get(), newA.get(), newA.get(), newA.get()});
    ASSERT_EQ(match.size(), 4u);
    ASSERT_NE(match[1], nullptr);
    EXPECT_EQ(match[1]->m_samples, (std::vector<CSample>{{1, 1}}));
    EXPECT_EQ(match[2]->m_samples, (std::vector<CSample>{{2, 2}}));
    EXPECT_TRUE(!match[0] && !match[3]);
    previous.Forget();
    EXPECT_TRUE(previous.IsEmpty());

    // The current series runs 0..10 automatically; the previous one 0..20.
    const auto current = Series({{0, 0}, {10, 10}}), earlier = Series({{0, 0}, {5, 20}});
    current->m_nColor = static_cast<int32_t>(RGB(255, 0, 0));
    const auto ghost = MakeGhost(*earlier, *current, kPlot);
    ASSERT_EQ(ghost->GetPointCount(), 2);
    EXPECT_EQ(ghost->GetPoint(1), (CPoint{50, -100}));  // above the plot: higher than now
    EXPECT_EQ(ghost->m_nColor, static_cast<int32_t>(RGB(255, 191, 191)));
}

}  // namespace
