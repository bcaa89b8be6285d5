// Reading and comparing runs in the graphs window: the nearest sample to
// the mouse on screen, its readout text, and the previous run's series met
// by caption and laid on the current series' scale.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "graphs/Graphic.h"
#include "graphs/PreviousRun.h"
#include "graphs/SampleReadout.h"

namespace {

const CRect kPlot{0, 0, 100, 100};  // one pixel per unit below

// On the plot 0..100 both ways.
std::unique_ptr<CVGraphic> Series(const std::string& caption, std::vector<CSample> samples) {
    auto g = std::make_unique<CVGraphic>();
    g->m_strText = caption;
    g->m_dHiX = g->m_dHiY = 100;
    g->m_samples = std::move(samples);
    return g;
}

TEST(Readout, NearestSampleIsNearestOnScreen) {
    // Screen y grows downwards: the sample (50, 90) is drawn at (50, 10).
    const auto g = Series("g", {{10, 10}, {40, 90}, {50, 90}, {50, 10}, {60, 50}, {90, 90}});
    // Of two at x = 50 the one near in y, the nearer of two neighbours, beyond the ends.
    const int cases[][3] = {{11, 88, 0}, {49, 12, 2}, {50, 85, 3}, {44, 10, 1}, {-500, 50, 0}, {500, 10, 5}};
    for (auto [x, y, index] : cases) EXPECT_EQ(NearestSample(*g, kPlot, x, y), index) << x << " " << y;
    // Samples far away in x but close in distance are still found.
    const auto steep = Series("s", {{0, 0}, {49, 100}, {51, 0}, {100, 100}});
    EXPECT_EQ(NearestSample(*steep, kPlot, 48, 0), 1);
    EXPECT_EQ(ReadoutText(1.5, -2e-7), "x = 1.5, y = -2e-07");
}

TEST(Readout, DegenerateSeriesGiveNoneOrASample) {
    CVGraphic empty;
    EXPECT_EQ(NearestSample(empty, kPlot, 5, 5), -1);
    // One sample under an automatic range divides by zero; it is still found.
    CVGraphic single;
    single.m_samples = {{3, 4}};
    EXPECT_EQ(NearestSample(single, kPlot, 70, 70), 0);
    const auto withNaN = Series("n", {{std::nan(""), 5}, {20, 20}, {30, 30}});
    EXPECT_EQ(NearestSample(*withNaN, kPlot, 29, 70), 2);
    // A large series costs a few steps, not one per sample (and is right).
    std::vector<CSample> many;
    for (int i = 0; i < 1'000'000; ++i) many.push_back({i / 10000.0, 50});
    const auto big = Series("b", many);
    EXPECT_EQ(NearestSample(*big, kPlot, 42.00004, 50), 420000);
}

TEST(PreviousRun, SeriesMeetByCaptionInTurn) {
    CPreviousRun previous;
    EXPECT_TRUE(previous.IsEmpty());
    const auto a1 = Series("a", {{1, 1}});
    const auto a2 = Series("a", {{2, 2}});
    const auto b = Series("b", {{3, 3}});
    previous.Remember({a1.get(), b.get(), a2.get()});
    a1->AddSample(9, 9);  // the kept copies do not follow the originals
    const auto c = Series("c", {});
    const auto newA = Series("a", {});
    const auto match = previous.Match({c.get(), newA.get(), newA.get(), newA.get()});
    ASSERT_EQ(match.size(), 4u);
    EXPECT_EQ(match[0], nullptr);
    ASSERT_NE(match[1], nullptr);
    EXPECT_EQ(match[1]->m_samples, (std::vector<CSample>{{1, 1}}));
    EXPECT_EQ(match[2]->m_samples, (std::vector<CSample>{{2, 2}}));
    EXPECT_EQ(match[3], nullptr);
    previous.Forget();
    EXPECT_TRUE(previous.IsEmpty());
    EXPECT_EQ(previous.Match({newA.get()})[0], nullptr);
}

TEST(PreviousRun, GhostIsFadedAndOnTheCurrentScale) {
    // The current series runs 0..10 automatically; the previous one 0..20.
    CVGraphic current, previous;
    current.m_nColor = static_cast<int32_t>(RGB(255, 0, 0));
    current.m_samples = {{0, 0}, {10, 10}};
    previous.m_samples = {{0, 0}, {5, 20}};
    const auto ghost = MakeGhost(previous, current, kPlot);
    ASSERT_EQ(ghost->GetPointCount(), 2);
    EXPECT_EQ(ghost->GetPoint(1), (CPoint{50, -100}));  // above the plot: higher than now
    EXPECT_EQ(ghost->m_nColor, static_cast<int32_t>(RGB(255, 191, 191)));
    EXPECT_EQ(ghost->m_bHighlight, 0);
    EXPECT_EQ(FadedColor(RGB(0, 0, 0)), RGB(191, 191, 191));
    EXPECT_EQ(FadedColor(RGB(255, 255, 255)), RGB(255, 255, 255));
}

}  // namespace
