// Hit areas of the elements the view can pick: the half-open box of levels
// and rates, the circle of variables and tables, the closed box of expert
// estimates and switches.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "diagram/TableElements.h"
#include "tests/support/PlacedEntity.h"

namespace {

}  // namespace

TEST(HitTest, LevelAndRateBoxIncludesLeftAndTopEdgesOnly) {
    auto forward = Placed<CVLevel>({10, 20}, {110, 80});
    auto backward = Placed<CVLevel>({110, 80}, {10, 20});
    for (const CVLevel& level : {std::cref(*forward), std::cref(*backward)}) {
        EXPECT_TRUE(level.HitTest({10, 20}));
        EXPECT_TRUE(level.HitTest({109, 79}));
        EXPECT_FALSE(level.HitTest({110, 50}));
        EXPECT_FALSE(level.HitTest({50, 80}));
        EXPECT_FALSE(level.HitTest({9, 50}));
        EXPECT_FALSE(level.HitTest({50, 19}));
    }
    auto rate = Placed<CVRate>({0, 0}, {40, 20});  // the valve is no part of it
    EXPECT_TRUE(rate->HitTest({39, 10}));
    EXPECT_FALSE(rate->HitTest({50, 10}));
}

TEST(HitTest, VariableAndTableAreHitInsideTheCircleOfTheLargerHalfAxis) {
    auto var = Placed<CVVariable>({0, 0}, {100, 40});  // centre (50, 20), radius 50
    EXPECT_TRUE(var->HitTest({99, 20}));
    EXPECT_FALSE(var->HitTest({100, 20}));
    EXPECT_TRUE(var->HitTest({50, 50}));  // outside the ellipse, inside the circle
    EXPECT_FALSE(var->HitTest({50, 70}));
    EXPECT_TRUE(var->HitTest({1, 20}));
    EXPECT_FALSE(var->HitTest({0, 20}));
    auto reversed = Placed<CVVariable>({100, 40}, {0, 0});
    EXPECT_TRUE(reversed->HitTest({99, 20}));
    EXPECT_FALSE(reversed->HitTest({100, 20}));
    auto table = Placed<CVTableData>({0, 0}, {100, 40});
    EXPECT_TRUE(table->HitTest({50, 50}));
    EXPECT_FALSE(table->HitTest({100, 20}));
}

TEST(HitTest, VariableCircleAtTheCoordinateLimitsDoesNotOverflow) {
    const int32_t lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    auto huge = Placed<CVVariable>({lo, lo}, {hi, hi});
    EXPECT_TRUE(huge->HitTest({0, 0}));
    EXPECT_TRUE(huge->HitTest({1000000000, 1000000000}));
    EXPECT_FALSE(huge->HitTest({hi, hi}));
    EXPECT_FALSE(huge->HitTest({lo, lo}));
    auto tiny = Placed<CVVariable>({0, 0}, {2, 2});
    EXPECT_FALSE(tiny->HitTest({hi, lo}));
    EXPECT_FALSE(tiny->HitTest({lo, hi}));
}

TEST(HitTest, ExpertBoxRunsFromTheNameTopToTheCircleBottomInclusive) {
    CVExpert expert;
    expert.GetPoint(0) = CPoint{100, 50};
    EXPECT_TRUE(expert.HitTest({80, 26}));
    EXPECT_TRUE(expert.HitTest({120, 56}));
    EXPECT_FALSE(expert.HitTest({100, 57}));
    EXPECT_FALSE(expert.HitTest({100, 25}));
    EXPECT_FALSE(expert.HitTest({79, 50}));
    EXPECT_FALSE(expert.HitTest({121, 50}));
    CVSwitch sw;
    sw.GetPoint(0) = CPoint{100, 50};
    EXPECT_TRUE(sw.HitTest({100, 56}));
}

TEST(HitTest, PrimitivesAndSourcesAreNeverHit) {
    auto line = Placed<CVLine>({0, 0}, {100, 100});
    EXPECT_FALSE(line->HitTest({50, 50}));
    auto rect = Placed<CVRectangle>({0, 0}, {100, 100});
    EXPECT_FALSE(rect->HitTest({50, 50}));
    auto sources = Placed<CVSources>({0, 0}, {100, 100});
    EXPECT_FALSE(sources->HitTest({0, 50}));
    CVText text;
    EXPECT_FALSE(text.HitTest({0, 0}));
}
