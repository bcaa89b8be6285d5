// The plot series: sample order, the automatic and explicit axis ranges,
// the mapping to screen points (also for degenerate ranges), and drawing
// with its pen. Its record is part of the dump's golden file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "graphs/Graphic.h"
#include "tests/support/RecordingDC.h"

namespace {

const double kNaN = std::nan(""), kInf = std::numeric_limits<double>::infinity();

std::unique_ptr<CVGraphic> Series(std::vector<CSample> samples, std::vector<double> range = {0, 0, 0, 0}) {
    auto g = std::make_unique<CVGraphic>();
    g->m_samples = std::move(samples);
    g->m_dLoX = range[0], g->m_dHiX = range[1], g->m_dLoY = range[2], g->m_dHiY = range[3];
    return g;
}

// The screen points after mapping into r, as "(x,y) ...".
std::string Mapped(CVGraphic& g, const CRect& r) {
    g.MapToRect(r);
    std::string points;
    for (int i = 0; i < g.GetPointCount(); ++i) points += RecordingDC::Pt(g.GetPoint(i)) + " ";
    return points;
}

std::string Drawn(const CVGraphic& g, RecordingDC& dc) {
    const_cast<CVGraphic&>(g).Draw(dc, nullptr);
    std::string ops;
    for (const std::string& op : dc.Ops()) ops += op + " ";
    return ops;
}

// Samples in order stay as they are; with a NaN among them the result is
// still the stable sort's, whatever it moves.
TEST(Graphic, SortByXGivesTheStableSortsResult) {
    const std::vector<std::vector<CSample>> cases{
        {{3, 30}, {1, 10}, {2, 20}, {1, 11}, {1, 12}}, {{1, 1}, {1, 2}, {2, 3}, {5, 4}}, {{2, 1}, {kNaN, 2}, {1, 3}},
        {{kNaN, 1}, {3, 2}, {1, 3}, {kNaN, 4}, {0, 5}}, {{0, 1}, {-0.0, 2}, {-1, 3}},
    };
    for (const auto& samples : cases) {
        std::vector<CSample> expected = samples;
        std::stable_sort(expected.begin(), expected.end(), [](const CSample& a, const CSample& b) { return a.x < b.x; });
        const auto g = Series(samples);
        g->SortByX();
        ASSERT_EQ(g->m_samples.size(), expected.size());
        EXPECT_EQ(std::memcmp(g->m_samples.data(), expected.data(), expected.size() * sizeof(CSample)), 0);
    }
}

// Without an explicit range the samples give it; an explicit one is used
// as it stands, even with one end zero. High y is at the top of the screen;
// a flat range maps its 0/0 to 0, and no range fails nothing.
TEST(Graphic, RangeAndMappingFollowTheSamplesUnlessGiven) {
    const auto g = Series({});
    double r[4];
    EXPECT_FALSE(g->GetRange(r[0], r[1], r[2], r[3]));
    g->m_samples = {{0, 5}, {4, -7}, {10, 3}};
    EXPECT_EQ(g->GetSample(1).y, -7);
    ASSERT_TRUE(g->GetRange(r[0], r[1], r[2], r[3]));
    EXPECT_EQ(std::vector<double>(r, r + 4), (std::vector<double>{0, 10, -7, 5}));
    g->m_dLoX = -1, g->m_dLoY = 0, g->m_dHiY = 50;
    ASSERT_TRUE(g->GetRange(r[0], r[1], r[2], r[3]));
    EXPECT_EQ(std::vector<double>(r, r + 4), (std::vector<double>{-1, 0, 0, 50}));
    g->RemoveAllSamples();
    EXPECT_EQ(g->GetSampleCount(), 0);

    const CRect rect{45, 15, 255, 235};
    EXPECT_EQ(Mapped(*Series({{0, 5}, {5, 0}, {10, -5}}), rect), "(45,15) (150,125) (255,235) ");
    EXPECT_EQ(Mapped(*Series({{0, 7}, {10, 7}}), rect), "(45,0) (255,0) ");
    EXPECT_EQ(Mapped(*Series({{3, 4}}), rect), "(0,0) ");
    EXPECT_EQ(Mapped(*Series({{0, 0}, {1e-300, kInf}, {1, kNaN}}), rect), "(45,235) (45,0) (255,0) ");
    CVGraphic none;
    none.AddPoint(CPoint{1, 2});
    EXPECT_EQ(Mapped(none, rect), "(1,2) ");  // no samples: the points stay
}

TEST(Graphic, DrawsAPolylineWithItsPenAndGivesThePreviousBack) {
    const CPen previous{PS_SOLID, 3, RGB(1, 2, 3)};
    RecordingDC empty, dc, highlighted;
    empty.pen = dc.pen = previous;
    Drawn(CVGraphic(), empty);
    EXPECT_EQ(empty.pen, previous);
    const auto g = Series({{0, 5}, {5, 0}, {10, -5}});
    g->m_nColor = 255;
    g->MapToRect({45, 15, 255, 235});
    EXPECT_EQ(Drawn(*g, dc), "SetPen(solid,1,#ff0000) MoveTo(45,15) LineTo(150,125) LineTo(255,235) "
                             "SetPen(solid,3,#010203) ");
    g->m_bHighlight = 1;
    EXPECT_EQ(Drawn(*g, highlighted).substr(0, 23), "SetPen(dash,1,#ff0000) ");
}

// Where more than four points in a row share a pixel column only the first,
// the lowest, the highest and the last are drawn to, in their order.
TEST(Graphic, DenseColumnsDrawTheirFirstLowestHighestAndLast) {
    const auto g = Series({{0, 5}, {0, 9}, {0, 7}, {0, 3}, {0, 8}, {0, 6}, {1, 1}, {1, 2}, {1, 0}, {1, 2}, {2, 4}},
                          {0, 2, 0, 10});
    g->MapToRect({0, 0, 2, 10});
    RecordingDC dc;
    EXPECT_EQ(Drawn(*g, dc), "SetPen(solid,1,#000000) MoveTo(0,5) LineTo(0,1) LineTo(0,7) LineTo(0,4) LineTo(1,9) "
                             "LineTo(1,8) LineTo(1,10) LineTo(1,8) LineTo(2,6) SetPen(solid,1,#000000) ");
}

}  // namespace
