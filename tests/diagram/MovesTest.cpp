// Moving objects: what lies on each class's outline, which object a press
// picks, the connector ends that follow a moved element, the sheet limit,
// and the rows that tell objects apart in the drawing database.
#include <gtest/gtest.h>

#include <functional>

#include "diagram/Elements.h"
#include "diagram/Moves.h"
#include "diagram/ObjectRows.h"
#include "diagram/TableElements.h"
#include "support/PlacedEntity.h"

namespace {

std::unique_ptr<CVArrow> Arrow(CPoint p0, CPoint p1, CPoint p2, CPoint p3) {
    auto a = std::make_unique<CVArrow>();
    a->GetPoint(0) = p0;
    a->GetPoint(1) = p1;
    a->GetPoint(2) = p2;
    a->GetPoint(3) = p3;
    return a;
}

std::unique_ptr<CVExpert> ExpertAt(CPoint p0) {
    auto e = std::make_unique<CVExpert>();
    e->GetPoint(0) = p0;
    return e;
}

struct OutlineCase {
    const char* what;
    std::function<std::unique_ptr<CVEntity>()> make;
    CPoint on;   // within 3 of a stroke
    CPoint off;  // 4 or more from every stroke
};

}  // namespace

TEST(Outline, EachClassIsPickedNearItsStrokesOnly) {
    const OutlineCase cases[] = {
        {"line", [] { return Placed<CVLine>({0, 0}, {100, 0}); }, {50, 3}, {50, 4}},
        {"rectangle border", [] { return Placed<CVRectangle>({0, 0}, {100, 60}); }, {97, 30}, {96, 30}},
        {"ellipse", [] { return Placed<CVEllipse>({0, 0}, {100, 100}); }, {50, 97}, {50, 96}},
        {"level from its far corner", [] { return Placed<CVLevel>({100, 60}, {0, 0}); }, {50, -3}, {50, -4}},
        // The rate (0,0)-(60,40) has its valve upright at x = 90, y 10..30.
        {"rate valve", [] { return Placed<CVRate>({0, 0}, {60, 40}); }, {93, 20}, {94, 20}},
        {"variable", [] { return Placed<CVVariable>({0, 0}, {60, 40}); }, {62, 20}, {64, 20}},
        // Bar y = 100 from x 80 to 120, circle radius 6, the box from the
        // label's top y = 76 to the circle's bottom y = 106.
        {"expert bar", [] { return ExpertAt({100, 100}); }, {110, 97}, {110, 96}},
        {"expert circle", [] { return ExpertAt({100, 100}); }, {100, 91}, {100, 90}},
        {"expert label box", [] { return ExpertAt({100, 100}); }, {90, 73}, {90, 72}},
        // Shaft x = 100 from y 100 to 200; a drag down and right puts the
        // cloud below: its outline starts at (84, 206).
        {"sources shaft", [] { return Placed<CVSources>({100, 100}, {150, 200}); }, {103, 150}, {104, 150}},
        {"sources cloud", [] { return Placed<CVSources>({100, 100}, {150, 200}); }, {84, 209}, {84, 235}},
        {"arrow curve", [] { return Arrow({0, 0}, {0, 0}, {90, 0}, {90, 0}); }, {45, 3}, {45, 4}},
    };
    for (const OutlineCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<CVEntity> e = c.make();
        EXPECT_TRUE(e->IsOnOutline(c.on, kMoveTolerance));
        EXPECT_FALSE(e->IsOnOutline(c.off, kMoveTolerance));
    }
    // A text is picked anywhere on the cells of its line, 8 by 16 each.
    CVText text;
    text.m_strText = "abc";
    text.GetPoint(0) = {10, 10};
    EXPECT_EQ(text.GetExtent(), (CRect{10, 10, 34, 26}));
    EXPECT_TRUE(text.IsOnOutline({37, 20}, kMoveTolerance));
    EXPECT_FALSE(text.IsOnOutline({38, 20}, kMoveTolerance));
}

TEST(Pick, TakesTheTopmostObjectHitOrTouched) {
    EntityList list;
    list.Add(Placed<CVLevel>({0, 0}, {100, 100}));
    list.Add(Placed<CVLevel>({50, 50}, {150, 150}));
    list.Add(Placed<CVLine>({0, 200}, {100, 200}));
    EXPECT_EQ(PickAt(list, {75, 75}), list.GetAt(1));
    EXPECT_EQ(PickAt(list, {10, 10}), list.GetAt(0));
    EXPECT_EQ(PickAt(list, {50, 202}), list.GetAt(2));  // a line has no hit area, only its stroke
    EXPECT_EQ(PickAt(list, {50, 205}), nullptr);

    // Only the picked object ends highlighted, and the keys find it.
    EXPECT_EQ(HighlightPick(list, {75, 75}, nullptr), list.GetAt(1));
    EXPECT_EQ(list.GetAt(0)->m_bHighlight, 0);
    EXPECT_EQ(HighlightedObject(list), list.GetAt(1));
    HighlightPick(list, {500, 500}, nullptr);
    EXPECT_EQ(HighlightedObject(list), nullptr);
}

// The flows of a level: one arrow ends on its top edge, one starts 2 units
// right of its right edge, one starts 4 units below it; a line ends inside
// it, away from the border.
TEST(Glue, ConnectorEndsOnTheOutlineFollowWithTheirControlPoints) {
    EntityList list;
    list.Add(Placed<CVLevel>({100, 100}, {200, 160}));
    CVEntity& level = *list.GetAt(0);
    list.Add(Arrow({150, 20}, {150, 40}, {150, 80}, {150, 100}));
    list.Add(Arrow({202, 130}, {230, 130}, {260, 130}, {300, 130}));
    list.Add(Arrow({150, 164}, {150, 200}, {150, 220}, {150, 260}));
    list.Add(Placed<CVLine>({0, 0}, {150, 130}));

    const std::vector<CGluedEnd> glued = FindGluedEnds(list, level);
    ASSERT_EQ(glued.size(), 2u);
    EXPECT_EQ(glued[0].pConnector, list.GetAt(1));
    EXPECT_EQ(glued[0].end, (CConnectorEnd{3, 2}));
    EXPECT_EQ(glued[1].pConnector, list.GetAt(2));
    EXPECT_EQ(glued[1].end, (CConnectorEnd{0, 1}));
    EXPECT_EQ(ObjectsOfMove(level, glued), (std::vector<CVEntity*>{&level, list.GetAt(1), list.GetAt(2)}));

    MoveWithGlue(level, glued, {10, -5});
    EXPECT_EQ(level.GetPoint(0), (CPoint{110, 95}));
    EXPECT_EQ(level.GetPoint(2), (CPoint{8, 8}));  // the text inset is no position
    CVEntity& in = *list.GetAt(1);
    EXPECT_EQ(in.GetPoint(3), (CPoint{160, 95}));
    EXPECT_EQ(in.GetPoint(2), (CPoint{160, 75}));
    EXPECT_EQ(in.GetPoint(1), (CPoint{150, 40}));  // the far end stays
    EXPECT_EQ(in.GetPoint(4), (CPoint{10, 10}));   // the head size stays
    EXPECT_EQ(list.GetAt(2)->GetPoint(0), (CPoint{212, 125}));
    EXPECT_EQ(list.GetAt(3)->GetPoint(0), (CPoint{150, 164}));
    EXPECT_EQ(list.GetAt(4)->GetPoint(1), (CPoint{150, 130}));

    // A moved connector takes nothing along, though other ends touch it.
    EXPECT_TRUE(FindGluedEnds(list, *list.GetAt(4)).empty());
}

TEST(Glue, EveryElementHoldsConnectorsNoShapeDoes) {
    for (CVEntity* e : std::initializer_list<CVEntity*>{new CVLevel, new CVRate, new CVVariable, new CVTableData,
                                                        new CVExpert, new CVSwitch, new CVSources}) {
        EXPECT_TRUE(e->HoldsConnectors()) << e->GetRuntimeClass()->m_lpszClassName;
        EXPECT_TRUE(e->ConnectorEnds().empty());
        delete e;
    }
    for (CVEntity* e : std::initializer_list<CVEntity*>{new CVLine, new CVRectangle, new CVEllipse, new CVBSpline,
                                                        new CVArrow, new CVText}) {
        EXPECT_FALSE(e->HoldsConnectors()) << e->GetRuntimeClass()->m_lpszClassName;
        delete e;
    }
}

TEST(KeepOnSheet, StopsAtTheEdgesAndNeverPushesFurtherOff) {
    const CRect inside{100, 100, 200, 150};
    EXPECT_EQ(KeepOnSheet(inside, 640, 480, {-500, 500}), (CPoint{-100, 330}));
    EXPECT_EQ(KeepOnSheet(inside, 640, 480, {20, -30}), (CPoint{20, -30}));
    const CRect partlyOff{-50, 10, 50, 60};
    EXPECT_EQ(KeepOnSheet(partlyOff, 640, 480, {-10, 0}), (CPoint{0, 0}));
    EXPECT_EQ(KeepOnSheet(partlyOff, 640, 480, {70, 0}), (CPoint{70, 0}));
    const CRect wider{-10, 0, 700, 10};
    EXPECT_EQ(KeepOnSheet(wider, 640, 480, {5, 5}), (CPoint{0, 5}));
    EXPECT_EQ(KeepOnSheet({INT32_MIN, 0, INT32_MAX, 1}, 640, 480, {INT32_MAX, 0}), (CPoint{0, 0}));
}

TEST(DatabaseRow, ElementsByNameOtherObjectsByClassWithTextOrPosition) {
    auto level = Placed<CVLevel>({20, 30}, {120, 90});
    level->m_strName = "L1";
    auto text = std::make_unique<CVText>();
    text->m_strText = "\xC7\xE0\xEF\xE0\xF1";  // "Запас"
    EXPECT_EQ(DatabaseRowText(*level), "L1");
    EXPECT_EQ(DatabaseRowText(*text), "CVText \"\xC7\xE0\xEF\xE0\xF1\"");
    EXPECT_EQ(DatabaseRowText(*Arrow({120, 85}, {}, {}, {})), "CVArrow (120, 85)");
    EXPECT_EQ(DatabaseRowText(*Placed<CVSources>({-4, 7}, {0, 0})), "CVSources (-4, 7)");
    CVEntity bare;
    EXPECT_EQ(DatabaseRowText(bare), "CVEntity");
}
