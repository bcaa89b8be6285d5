// Drawing: the exact operations each object issues, with the highlight pen,
// label font and text colours.
#include <gtest/gtest.h>

#include "diagram/TableElements.h"
#include "tests/support/PlacedEntity.h"
#include "tests/support/RecordingDC.h"

namespace {

using Ops = std::vector<std::string>;

const std::string kLabelFont = "SetFont(16x8,300,Courier New)";
const std::string kSavedFont = "SetFont(0x0,400,System)";

Ops DrawOps(CVEntity& e) {
    RecordingDC dc;
    e.Draw(dc, nullptr);
    return dc.Ops();
}

}  // namespace

TEST(DrawElements, LevelIsABoxWithItsNameInsetAndWrapped) {
    auto level = Placed<CVLevel>({10, 20}, {110, 80});
    EXPECT_EQ(DrawOps(*level), (Ops{"Rectangle(10,20,110,80)", kLabelFont, "SetTextColor(#000000)",
                                   "DrawText(\"Level\",(18,28,102,72),0x10)", kSavedFont}));
}

TEST(DrawElements, RateIsAnOpenBoxWithAValve) {
    auto rate = Placed<CVRate>({0, 0}, {40, 20});
    EXPECT_EQ(DrawOps(*rate), (Ops{"MoveTo(40,20)", "LineTo(0,20)", "LineTo(0,0)", "LineTo(40,0)",
                                  "LineTo(60,15)", "LineTo(60,5)", "LineTo(40,20)", kLabelFont,
                                  "SetTextColor(#000000)", "DrawText(\"Rate\",(8,8,32,12),0x10)", kSavedFont}));
    // Drawn backwards the valve's sizes divide toward zero: q = -23 / 4 = -5,
    // h = -41 / 2 = -20.
    auto backwards = Placed<CVRate>({41, 23}, {0, 0});
    const Ops ops = DrawOps(*backwards);
    EXPECT_EQ(ops[4], "LineTo(-20,5)");
    EXPECT_EQ(ops[5], "LineTo(-20,18)");
}

// Highlighted, a named element changes only its text colour, not its pen.
TEST(DrawElements, VariableIsAnEllipseWithItsNameCentred) {
    auto var = Placed<CVVariable>({0, 0}, {100, 40});
    var->m_bHighlight = 1;
    EXPECT_EQ(DrawOps(*var), (Ops{"Ellipse(0,0,100,40)", kLabelFont, "SetTextColor(#0000ff)",
                                 "DrawText(\"Var\",(15,15,85,25),0x11)", kSavedFont}));
}

TEST(DrawElements, TableIsAVariableWithItsNameUnderlined) {
    auto table = Placed<CVTableData>({0, 0}, {100, 40});
    EXPECT_EQ(DrawOps(*table), (Ops{"Ellipse(0,0,100,40)", "SetFont(16x8,300,underline,Courier New)",
                                   "SetTextColor(#000000)", "DrawText(\"Table\",(15,15,85,25),0x11)", kSavedFont}));
}

TEST(DrawElements, ExpertIsABarWithACircleAndItsNameAbove) {
    CVExpert expert;
    expert.GetPoint(0) = CPoint{100, 50};
    EXPECT_EQ(DrawOps(expert), (Ops{"MoveTo(80,50)", "LineTo(120,50)", "Ellipse(94,44,106,56)", kLabelFont,
                                    "SetTextColor(#000000)", "DrawText(\"Expert\",(80,26,120,50),0x121)",
                                    kSavedFont}));
}

TEST(DrawElements, SourcesDraggedDownRightSinksIntoACloudBelow) {
    auto sources = Placed<CVSources>({100, 100}, {150, 200});
    EXPECT_EQ(DrawOps(*sources),
              (Ops{"MoveTo(100,100)", "LineTo(100,200)", "MoveTo(100,200)", "LineTo(92,192)", "MoveTo(100,200)",
                   "LineTo(108,192)",
                   "PolyBezier[(84,206),(89,202),(104,198),(114,203),(116,211),(116,230),(109,231),"
                   "(104,226),(104,226),(84,231),(82,226),(90,226),(84,206)]"}));
}

// Dragged down-left the cloud stays above; dragged up the head points up.
TEST(DrawElements, SourcesCloudAndHeadFollowTheDragDirection) {
    auto downLeft = Placed<CVSources>({100, 100}, {50, 200});
    Ops ops = DrawOps(*downLeft);
    ASSERT_EQ(ops.size(), 7u);
    EXPECT_EQ(ops[3], "LineTo(92,192)");
    EXPECT_EQ(ops[6].substr(0, 20), "PolyBezier[(84,78),(");

    auto up = Placed<CVSources>({100, 200}, {150, 100});
    ops = DrawOps(*up);
    EXPECT_EQ(ops[1], "LineTo(100,100)");
    EXPECT_EQ(ops[3], "LineTo(92,108)");
    EXPECT_EQ(ops[5], "LineTo(108,108)");
    EXPECT_EQ(ops[6].substr(0, 21), "PolyBezier[(84,206),(");
}

TEST(DrawElements, HighlightedSourcesUseTheBluePenAndRestoreThePrevious) {
    auto sources = Placed<CVSources>({100, 100}, {150, 200});
    sources->m_bHighlight = 1;
    RecordingDC dc;
    dc.pen = CPen{PS_DASH, 3, RGB(1, 2, 3)};
    sources->Draw(dc, nullptr);
    EXPECT_EQ(dc.calls.front(), "GetPen()");
    EXPECT_EQ(dc.calls[1], "SetPen(solid,1,#0000ff)");
    EXPECT_EQ(dc.calls.back(), "SetPen(dash,3,#010203)");
    EXPECT_EQ(dc.pen, (CPen{PS_DASH, 3, RGB(1, 2, 3)}));
}

TEST(DrawPrimitives, OutlinesTakeTheHighlightPenOnlyWhenHighlighted) {
    auto line = Placed<CVLine>({1, 2}, {3, 4});
    EXPECT_EQ(DrawOps(*line), (Ops{"MoveTo(1,2)", "LineTo(3,4)"}));
    line->m_bHighlight = 1;
    EXPECT_EQ(DrawOps(*line), (Ops{"SetPen(solid,1,#0000ff)", "MoveTo(1,2)", "LineTo(3,4)", "SetPen(solid,1,#000000)"}));

    auto rect = Placed<CVRectangle>({5, 6}, {1, 2});
    EXPECT_EQ(DrawOps(*rect), (Ops{"Rectangle(5,6,1,2)"}));
    auto ellipse = Placed<CVEllipse>({5, 6}, {1, 2});
    ellipse->m_bHighlight = 1;
    EXPECT_EQ(DrawOps(*ellipse), (Ops{"SetPen(solid,1,#0000ff)", "Ellipse(5,6,1,2)", "SetPen(solid,1,#000000)"}));
}

TEST(DrawPrimitives, TextIsOneUnclippedLineAtItsPoint) {
    CVText text;
    text.GetPoint(0) = CPoint{7, 9};
    text.m_bHighlight = 1;
    EXPECT_EQ(DrawOps(text), (Ops{kLabelFont, "SetTextColor(#0000ff)",
                                  "DrawText(\"Linor(ver 1.0)\",(7,9,7,9),0x120)", kSavedFont}));
}

TEST(DrawPrimitives, ArrowHeadHasTwoBarbsAtFortyFiveDegrees) {
    CVArrow arrow;
    arrow.GetPoint(0) = CPoint{0, 0};
    arrow.GetPoint(1) = CPoint{0, 50};
    arrow.GetPoint(2) = CPoint{100, 0};
    arrow.GetPoint(3) = CPoint{100, 100};  // the curve arrives from above
    EXPECT_EQ(DrawOps(arrow), (Ops{"PolyBezier[(0,0),(0,50),(100,0),(100,100)]", "MoveTo(100,100)",
                                   "LineTo(92,92)", "MoveTo(100,100)", "LineTo(107,92)"}));
}

TEST(DrawPrimitives, ArrowWhoseLastControlPointIsItsTipHasNoHead) {
    CVArrow arrow;
    EXPECT_EQ(DrawOps(arrow), (Ops{"PolyBezier[(0,0),(0,0),(0,0),(0,0)]"}));
}

TEST(DrawPrimitives, ArrowHeadFarAwaySaturatesInsteadOfOverflowing) {
    CVArrow arrow;
    arrow.GetPoint(2) = CPoint{-2147483647, 0};
    arrow.GetPoint(3) = CPoint{2147483647, 0};
    arrow.GetPoint(4) = CPoint{-2000000000, -2000000000};
    const Ops ops = DrawOps(arrow);
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[2], "LineTo(2147483647,-1414213562)");
}
