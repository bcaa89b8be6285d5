// The plot series: sample order, the automatic and explicit axis ranges,
// the mapping to screen points (also for degenerate ranges), drawing with
// its pen, and the archive form written out byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "archive/Archive.h"
#include "graphs/Graphic.h"
#include "tests/support/HexBytes.h"
#include "tests/support/RecordingDC.h"

namespace {

const double kNaN = std::nan("");

std::unique_ptr<CVGraphic> Series(std::vector<CSample> samples) {
    auto g = std::make_unique<CVGraphic>();
    g->m_samples = std::move(samples);
    return g;
}

std::vector<CPoint> Mapped(CVGraphic& g, const CRect& r) {
    g.MapToRect(r);
    std::vector<CPoint> points;
    for (int i = 0; i < g.GetPointCount(); ++i) points.push_back(g.GetPoint(i));
    return points;
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
// as it stands, even with one end zero.
TEST(Graphic, RangeComesFromTheSamplesUnlessGiven) {
    const auto g = Series({});
    double r[4];
    EXPECT_FALSE(g->GetRange(r[0], r[1], r[2], r[3]));
    g->m_samples = {{0, 5}, {4, -7}, {10, 3}};
    ASSERT_TRUE(g->GetRange(r[0], r[1], r[2], r[3]));
    EXPECT_EQ(std::vector<double>(r, r + 4), (std::vector<double>{0, 10, -7, 5}));
    g->m_dLoY = 0;
    g->m_dHiY = 50;
    g->m_dLoX = -1;
    ASSERT_TRUE(g->GetRange(r[0], r[1], r[2], r[3]));
    EXPECT_EQ(std::vector<double>(r, r + 4), (std::vector<double>{-1, 0, 0, 50}));
    g->RemoveAllSamples();
    EXPECT_EQ(g->GetSampleCount(), 0);
}

TEST(Graphic, MapsHighYToTheTopAndDegenerateRangesWithoutFailing) {
    const CRect rect{45, 15, 255, 235};
    EXPECT_EQ(Mapped(*Series({{0, 5}, {5, 0}, {10, -5}}), rect), (std::vector<CPoint>{{45, 15}, {150, 125}, {255, 235}}));
    EXPECT_EQ(Mapped(*Series({{0, 7}, {10, 7}}), rect), (std::vector<CPoint>{{45, 0}, {255, 0}}));  // 0/0 in y: 0
    EXPECT_EQ(Mapped(*Series({{3, 4}}), rect).size(), 1u);
    const auto wild = Series({{0, 0}, {1e-300, std::numeric_limits<double>::infinity()}, {1, kNaN}});
    const std::vector<CPoint> points = Mapped(*wild, rect);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].x, 45);
    CVGraphic none;
    none.AddPoint(CPoint{1, 2});
    EXPECT_EQ(Mapped(none, rect).size(), 1u);  // no samples: the points stay
}

TEST(Graphic, DrawsAPolylineWithItsPenAndGivesThePreviousBack) {
    const CPen previous{PS_SOLID, 3, RGB(1, 2, 3)};
    RecordingDC empty;
    empty.pen = previous;
    CVGraphic().Draw(empty, nullptr);
    EXPECT_EQ(empty.pen, previous);

    const auto g = Series({{0, 5}, {5, 0}, {10, -5}});
    g->m_nColor = 255;
    g->MapToRect({45, 15, 255, 235});
    RecordingDC dc;
    dc.pen = previous;
    g->Draw(dc, nullptr);
    EXPECT_EQ(dc.Ops(), (std::vector<std::string>{"SetPen(solid,1,#ff0000)", "MoveTo(45,15)", "LineTo(150,125)",
                                                  "LineTo(255,235)", "SetPen(solid,3,#010203)"}));
    g->m_bHighlight = 1;
    RecordingDC highlighted;
    g->Draw(highlighted, nullptr);
    EXPECT_EQ(highlighted.Ops()[0], "SetPen(dash,1,#ff0000)");
}

// Where more than four points in a row share a pixel column only the first,
// the lowest, the highest and the last are drawn to, in their order.
TEST(Graphic, DenseColumnsDrawTheirFirstLowestHighestAndLast) {
    const auto g = Series({{0, 5}, {0, 9}, {0, 7}, {0, 3}, {0, 8}, {0, 6}, {1, 1}, {1, 2}, {1, 0}, {1, 2}, {2, 4}});
    g->m_dHiX = 2;
    g->m_dHiY = 10;
    g->MapToRect({0, 0, 2, 10});
    RecordingDC dc;
    g->Draw(dc, nullptr);
    EXPECT_EQ(dc.Ops(), (std::vector<std::string>{"SetPen(solid,1,#000000)", "MoveTo(0,5)", "LineTo(0,1)",
                                                  "LineTo(0,7)", "LineTo(0,4)", "LineTo(1,9)", "LineTo(1,8)",
                                                  "LineTo(1,10)", "LineTo(1,8)", "LineTo(2,6)",
                                                  "SetPen(solid,1,#000000)"}));
}

// id 7, no points, samples (1, 2) and (-0.5, 0), colour 255, caption "ab";
// the ranges and the divisor are no part of the record.
const std::string kRecord = "07000000 00000000 02000000 000000000000F03F 0000000000000040 000000000000E0BF"
                            "0000000000000000 FF000000 026162";

TEST(Graphic, StoresAndLoadsSamplesColourAndCaption) {
    const auto g = Series({{1, 2}, {-0.5, 0}});
    g->m_nId = 7;
    g->m_nColor = 255;
    g->m_strText = "ab";
    g->m_dDivY = 10;
    CArchive out;
    g->Serialize(out);
    EXPECT_EQ(out.Buffer(), HexBytes(kRecord));

    CClassRegistry registry;
    RegisterGraphClasses(registry);
    EXPECT_NE(registry.Find("CVGraphic"), nullptr);
    const std::vector<uint8_t> bytes = HexBytes(kRecord);
    CArchive in(bytes, registry);
    const auto back = Series({{9, 9}});
    back->Serialize(in);
    EXPECT_EQ(back->m_nId, 7);
    EXPECT_EQ(back->Samples(), g->Samples());
    EXPECT_EQ(back->GetSample(1).x, -0.5);
    EXPECT_EQ(back->m_nColor, 255);
    EXPECT_EQ(back->m_strText, "ab");
    EXPECT_EQ(in.BytesLeft(), 0u);

    // A sample count beyond the file fails; a negative one reads no pairs.
    const std::vector<uint8_t> huge = HexBytes("07000000 00000000 FFFFFF7F" + std::string(32, '0'));
    CArchive hugeIn(huge, registry);
    try {
        CVGraphic().Serialize(hugeIn);
        ADD_FAILURE() << "loaded";
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat);
    }
    const std::vector<uint8_t> negative = HexBytes("07000000 00000000 FFFFFFFF 05000000 00");
    CArchive negativeIn(negative, registry);
    back->Serialize(negativeIn);
    EXPECT_EQ(back->GetSampleCount(), 0);
    EXPECT_EQ(back->m_nColor, 5);
}

}  // namespace
