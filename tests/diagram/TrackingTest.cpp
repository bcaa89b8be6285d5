// Placing objects with the mouse: the two-click, four-click and one-click
// machines event by event, with their rubber bands.
#include <gtest/gtest.h>

#include "diagram/TableElements.h"
#include "diagram/TrackingState.h"
#include "tests/support/RecordingDC.h"

namespace {

using Ops = std::vector<std::string>;

class Tracking : public ::testing::Test {
protected:
    void SetUp() override { ResetTrackingState(); }
    void TearDown() override { ResetTrackingState(); }

    int Send(CVEntity& e, int32_t kind, CPoint p = {}, int32_t mode = MODE_DRAW) {
        TrackEvent ev;
        ev.nKind = kind;
        ev.nMode = mode;
        ev.point = p;
        ev.pDC = (kind == TE_PRESS || kind == TE_MOVE) ? &dc : nullptr;
        return e.Track(ev);
    }
    int Press(CVEntity& e, CPoint p) { return Send(e, TE_PRESS, p); }
    int Move(CVEntity& e, CPoint p) { return Send(e, TE_MOVE, p); }

    RecordingDC dc;
};

}  // namespace

TEST_F(Tracking, LineCompletesOnTheSecondPress) {
    CVLine line;
    EXPECT_EQ(Move(line, {5, 5}), 0);  // before the first press: nothing
    EXPECT_TRUE(dc.calls.empty());
    EXPECT_EQ(Press(line, {10, 20}), 0);
    EXPECT_EQ(line.GetPoint(0), (CPoint{10, 20}));
    EXPECT_EQ(Press(line, {30, 40}), 1);
    EXPECT_EQ(line.GetPoint(1), (CPoint{30, 40}));
    EXPECT_FALSE(g_bTwoClickFirstPlaced);
}

TEST_F(Tracking, RubberBandIsDrawnThenErasedAndRedrawnInInvertingMode) {
    CVLine line;
    Press(line, {10, 20});
    Move(line, {50, 60});
    // P1 was still (0, 0): nothing to erase yet.
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "MoveTo(10,20)", "LineTo(50,60)"}));
    dc.Clear();
    Move(line, {70, 80});
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "MoveTo(10,20)", "LineTo(50,60)", "MoveTo(10,20)", "LineTo(70,80)"}));
    EXPECT_EQ(dc.rop, R2_NOTXORPEN);  // not restored
    EXPECT_EQ(Press(line, {90, 95}), 1);
}

TEST_F(Tracking, RubberBandThroughTheOriginIsNotErased) {
    CVLine line;
    Press(line, {10, 20});
    Move(line, {0, 0});
    dc.Clear();
    Move(line, {5, 5});
    // P1 sits at (0, 0), which reads as "not drawn yet".
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "MoveTo(10,20)", "LineTo(5,5)"}));
}

TEST_F(Tracking, LevelIsDraggedOutInItsFinalShape) {
    CVLevel level;
    Press(level, {0, 0});
    Move(level, {100, 50});
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "Rectangle(0,0,100,50)", "SetFont(16x8,300,Courier New)",
                             "SetTextColor(#000000)", "DrawText(\"Level\",(8,8,92,42),0x10)",
                             "SetFont(0x0,400,System)"}));
}

TEST_F(Tracking, LeavingTheToolStartsTheNextObjectFromItsFirstPoint) {
    CVLine first;
    Press(first, {10, 10});
    EXPECT_EQ(Send(first, TE_FINISH), 0);
    Send(first, TE_START);
    CVLine second;
    EXPECT_EQ(Press(second, {40, 40}), 0);
    EXPECT_EQ(second.GetPoint(0), (CPoint{40, 40}));
    EXPECT_EQ(Press(second, {50, 50}), 1);
}

TEST_F(Tracking, EventsOutsideDrawingModeAreIgnored) {
    CVLine line;
    EXPECT_EQ(Send(line, TE_PRESS, {1, 1}, MODE_MODIFY), 0);
    EXPECT_FALSE(g_bTwoClickFirstPlaced);
    CVBSpline spline;
    EXPECT_EQ(Send(spline, TE_PRESS, {1, 1}, MODE_MODIFY), 0);
    EXPECT_EQ(g_nFourClickStage, 0);
    CVText text;
    EXPECT_EQ(Send(text, TE_PRESS, {1, 1}, MODE_MODIFY), 0);
    EXPECT_EQ(text.GetPoint(0), (CPoint{0, 0}));
    EXPECT_TRUE(dc.calls.empty());
}

TEST_F(Tracking, SplineTakesStartEndAndTwoControlPoints) {
    CVBSpline spline;
    EXPECT_EQ(Press(spline, {10, 10}), 0);
    EXPECT_EQ(g_nFourClickStage, 3);
    for (int i = 1; i < 4; ++i) EXPECT_EQ(spline.GetPoint(i), (CPoint{10, 10}));

    Move(spline, {90, 10});
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "PolyBezier[(10,10),(10,10),(10,10),(10,10)]",
                             "PolyBezier[(10,10),(10,10),(10,10),(90,10)]"}));

    EXPECT_EQ(Press(spline, {100, 10}), 0);  // the end: a straight curve for now
    EXPECT_EQ(g_nFourClickStage, 1);
    EXPECT_EQ(spline.GetPoint(1), (CPoint{10, 10}));
    EXPECT_EQ(spline.GetPoint(2), (CPoint{100, 10}));

    dc.Clear();
    Move(spline, {40, 60});  // both control points follow the mouse
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "PolyBezier[(10,10),(10,10),(100,10),(100,10)]",
                             "PolyBezier[(10,10),(40,60),(40,60),(100,10)]"}));

    EXPECT_EQ(Press(spline, {30, 50}), 0);
    EXPECT_EQ(g_nFourClickStage, 2);
    dc.Clear();
    Move(spline, {70, 50});  // now only the second one
    EXPECT_EQ(dc.Ops(), (Ops{"SetROP2(10)", "PolyBezier[(10,10),(30,50),(40,60),(100,10)]",
                             "PolyBezier[(10,10),(30,50),(70,50),(100,10)]"}));

    EXPECT_EQ(Press(spline, {80, 55}), 1);
    EXPECT_EQ(g_nFourClickStage, 0);
    EXPECT_EQ(spline.GetPoint(2), (CPoint{80, 55}));
}

TEST_F(Tracking, ArrowRubberBandIsTheBareCurveEvenWhenHighlighted) {
    CVArrow arrow;
    arrow.m_bHighlight = 1;
    Press(arrow, {0, 0});
    Move(arrow, {50, 0});
    for (const std::string& op : dc.Ops()) {
        EXPECT_NE(op.rfind("SetPen", 0), 0u) << op;
        EXPECT_NE(op.rfind("LineTo", 0), 0u) << op;
    }
}

TEST_F(Tracking, SplineMovesBeforeTheFirstPressAndFinishingResetTheStage) {
    CVBSpline spline;
    EXPECT_EQ(Move(spline, {5, 5}), 0);
    EXPECT_TRUE(dc.calls.empty());
    Press(spline, {1, 1});
    Press(spline, {2, 2});
    EXPECT_EQ(Send(spline, TE_FINISH), 0);
    EXPECT_EQ(g_nFourClickStage, 0);
    CVBSpline next;
    Press(next, {7, 7});
    EXPECT_EQ(next.GetPoint(3), (CPoint{7, 7}));
    EXPECT_EQ(g_nFourClickStage, 3);
}

TEST_F(Tracking, TextAndExpertArePlacedWithOneClick) {
    CVText text;
    EXPECT_EQ(Move(text, {3, 3}), 0);
    EXPECT_EQ(Press(text, {12, 34}), 1);
    EXPECT_EQ(text.GetPoint(0), (CPoint{12, 34}));
    CVSwitch sw;
    EXPECT_EQ(Press(sw, {5, 6}), 1);
    EXPECT_EQ(sw.GetPoint(0), (CPoint{5, 6}));
    EXPECT_EQ(sw.GetPoint(1), (CPoint{20, 24}));
    EXPECT_TRUE(dc.calls.empty());
}
