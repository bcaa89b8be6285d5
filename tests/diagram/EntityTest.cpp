// Entity base and owning list: scaling arithmetic, offsets, numbering,
// highlighting and the font cell.
#include <gtest/gtest.h>

#include <limits>

#include "diagram/EntityList.h"
#include "diagram/FontCell.h"
#include "diagram/TableElements.h"
#include "tests/support/RecordingDC.h"

namespace {

std::unique_ptr<CVEntity> EntityWith(std::initializer_list<CPoint> points) {
    auto e = std::make_unique<CVEntity>();
    for (CPoint p : points) e->AddPoint(p);
    return e;
}

std::unique_ptr<CVLevel> LevelAt(CPoint a, CPoint b) {
    auto level = std::make_unique<CVLevel>();
    level->GetPoint(0) = a;
    level->GetPoint(1) = b;
    return level;
}

struct FontCellGuard {
    int32_t h = g_nFontHeight, w = g_nFontWidth;
    ~FontCellGuard() {
        g_nFontHeight = h;
        g_nFontWidth = w;
    }
};

}  // namespace

// Truncation toward zero, so halving loses odd units that doubling keeps;
// a zero y factor means the x factor; huge products saturate.
TEST(EntityScale, TruncatesTowardZeroAndSaturates) {
    auto e = EntityWith({{-5, 5}, {7, -7}});
    e->Scale(0.5, 0.5);
    EXPECT_EQ(e->GetPoint(0), (CPoint{-2, 2}));
    EXPECT_EQ(e->GetPoint(1), (CPoint{3, -3}));

    auto odd = EntityWith({{5, -13}});
    odd->Scale(2.0, 2.0);
    odd->Scale(0.5, 0.5);
    EXPECT_EQ(odd->GetPoint(0), (CPoint{5, -13}));
    odd->Scale(0.5, 0.5);
    odd->Scale(2.0, 2.0);
    EXPECT_EQ(odd->GetPoint(0), (CPoint{4, -12}));

    auto sameY = EntityWith({{10, 20}});
    sameY->Scale(0.5, 0.0);
    EXPECT_EQ(sameY->GetPoint(0), (CPoint{5, 10}));
    sameY->Scale(3.0, 1.0);
    EXPECT_EQ(sameY->GetPoint(0), (CPoint{15, 10}));

    auto huge = EntityWith({{2000000000, -2000000000}});
    huge->Scale(2.0, 2.0);
    EXPECT_EQ(huge->GetPoint(0),
              (CPoint{std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}));
}

TEST(EntityOffset, ParameterPointsStayPut) {
    CVArrow arrow;
    arrow.Offset(CPoint{5, 5});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(arrow.GetPoint(i), (CPoint{5, 5}));
    EXPECT_EQ(arrow.GetPoint(4), (CPoint{10, 10}));
    arrow.Scale(2.0, 2.0);
    EXPECT_EQ(arrow.GetPoint(4), (CPoint{20, 20}));

    CVLevel level;
    level.Offset(CPoint{3, 4});
    EXPECT_EQ(level.GetPoint(1), (CPoint{3, 4}));
    EXPECT_EQ(level.GetPoint(2), (CPoint{8, 8}));

    CVExpert expert;
    expert.Offset(CPoint{3, 4});
    EXPECT_EQ(expert.GetPoint(0), (CPoint{3, 4}));
    EXPECT_EQ(expert.GetPoint(1), (CPoint{20, 24}));
    EXPECT_EQ(expert.GetPoint(2), (CPoint{6, 6}));

    CVSources sources;
    sources.Offset(CPoint{3, 4});
    EXPECT_EQ(sources.GetPoint(1), (CPoint{3, 4}));
    EXPECT_EQ(sources.GetPoint(3), (CPoint{5, -4}));
    EXPECT_EQ(sources.GetPoint(17), (CPoint{16, 22}));

    CVLine line;
    line.Offset(CPoint{-1, 2});
    EXPECT_EQ(line.GetPoint(1), (CPoint{-1, 2}));
}

TEST(EntityScale, LevelInsetZoomsWhileRateDrawsAFixedInset) {
    CVLevel level;
    level.Scale(0.5, 0.5);
    EXPECT_EQ(level.GetPoint(2), (CPoint{4, 4}));

    CVRate rate;
    rate.GetPoint(1) = CPoint{100, 60};
    rate.Scale(0.5, 0.5);
    RecordingDC dc;
    rate.Draw(dc, nullptr);
    bool found = false;
    for (const std::string& op : dc.Ops())
        if (op.rfind("DrawText", 0) == 0) {
            EXPECT_EQ(op, "DrawText(\"Rate\",(8,8,42,22),0x10)");
            found = true;
        }
    EXPECT_TRUE(found);
}

TEST(EntityList, NumbersObjectsAndRestartsAfterDeleteAll) {
    EntityList list;
    list.Add(std::make_unique<CVLine>());
    list.Add(std::make_unique<CVText>());
    EXPECT_EQ(list.GetAt(0)->m_nId, 0);
    EXPECT_EQ(list.GetAt(1)->m_nId, 1);
    EXPECT_EQ(list.m_nNextId, 2);
    list.DeleteAll();
    EXPECT_TRUE(list.IsEmpty());
    list.Add(std::make_unique<CVLine>());
    EXPECT_EQ(list.GetAt(0)->m_nId, 0);
}

TEST(EntityList, ScaleAllScalesObjectsAndTheFontCell) {
    FontCellGuard guard;
    g_nFontHeight = 16;
    g_nFontWidth = 8;
    EntityList list;
    list.Add(EntityWith({{9, 9}}));
    list.ScaleAll(0.5, 0.0);
    EXPECT_EQ(list.GetAt(0)->GetPoint(0), (CPoint{4, 4}));
    EXPECT_EQ(g_nFontHeight, 8);
    EXPECT_EQ(g_nFontWidth, 4);
    list.ScaleAll(2.0, 3.0);
    EXPECT_EQ(g_nFontWidth, 8);
    EXPECT_EQ(g_nFontHeight, 24);
    EXPECT_EQ(LabelFont(true), (CFontSpec{24, 8, 300, true, "Courier New"}));
}

TEST(EntityHighlight, HighlightAtMarksEveryHitAndReturnsTheTopOne) {
    EntityList list;
    list.Add(LevelAt({0, 0}, {100, 100}));
    list.Add(std::make_unique<CVLine>());
    list.Add(LevelAt({50, 50}, {150, 150}));
    list.Add(LevelAt({500, 500}, {600, 600}));
    CVEntity* top = list.HighlightAt(CPoint{60, 60}, nullptr);
    EXPECT_EQ(top, list.GetAt(2));
    EXPECT_EQ(list.GetAt(0)->m_bHighlight, 1);
    EXPECT_EQ(list.GetAt(1)->m_bHighlight, 0);
    EXPECT_EQ(list.GetAt(2)->m_bHighlight, 1);
    EXPECT_EQ(list.GetAt(3)->m_bHighlight, 0);

    EXPECT_EQ(list.HighlightAt(CPoint{-10, -10}, nullptr), nullptr);
    for (const auto& e : list) EXPECT_EQ(e->m_bHighlight, 0);
}

TEST(EntityHighlight, SetHighlightDrawsInClientCoordinatesAndRestoresSheetCoordinates) {
    CVArrow arrow;
    arrow.GetPoint(0) = CPoint{100, 100};
    arrow.GetPoint(1) = CPoint{100, 100};
    arrow.GetPoint(2) = CPoint{130, 100};
    arrow.GetPoint(3) = CPoint{150, 100};
    RecordingDC dc;
    const CPoint scroll{40, 30};
    arrow.SetHighlight(true, &dc, &scroll);
    const std::vector<std::string> expected = {
        "SetPen(solid,1,#0000ff)",
        "PolyBezier[(60,70),(60,70),(90,70),(110,70)]",
        "MoveTo(110,70)",
        "LineTo(102,77)",
        "MoveTo(110,70)",
        "LineTo(102,62)",
        "SetPen(solid,1,#000000)",
    };
    EXPECT_EQ(dc.Ops(), expected);
    EXPECT_EQ(arrow.GetPoint(0), (CPoint{100, 100}));
    EXPECT_EQ(arrow.GetPoint(3), (CPoint{150, 100}));
    EXPECT_EQ(arrow.GetPoint(4), (CPoint{10, 10}));

    // Without a context, or with no change, only the state is recorded.
    CVLine line;
    line.SetHighlight(true, nullptr, nullptr);
    EXPECT_EQ(line.m_bHighlight, 1);
    RecordingDC unchanged;
    line.SetHighlight(true, &unchanged, nullptr);
    EXPECT_TRUE(unchanged.calls.empty());
}
