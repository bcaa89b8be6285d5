// The plot series: sample order, the automatic and explicit axis ranges,
// the mapping to screen points (also for degenerate ranges), drawing with
// its pen, and the archive form written out byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "archive/Archive.h"
#include "graphs/Graphic.h"
#include "tests/support/RecordingDC.h"

namespace {

std::vector<CPoint> PointsOf(CVGraphic& g) {
    std::vector<CPoint> points;
    for (int i = 0; i < g.GetPointCount(); ++i) points.push_back(g.GetPoint(i));
    return points;
}

const CRect kRect{45, 15, 255, 235};

TEST(Graphic, SortByXIsStable) {
    CVGraphic g;
    g.AddSample(3, 30);
    g.AddSample(1, 10);
    g.AddSample(2, 20);
    g.AddSample(1, 11);
    g.AddSample(1, 12);
    g.SortByX();
    const std::vector<CSample> expected{{1, 10}, {1, 11}, {1, 12}, {2, 20}, {3, 30}};
    EXPECT_EQ(g.Samples(), expected);
    g.RemoveAllSamples();
    EXPECT_EQ(g.GetSampleCount(), 0);
}

// Samples already in order are left as they are without sorting; with a
// NaN among them the result is still the stable sort's, whatever it moves.
TEST(Graphic, SortByXGivesTheStableSortsResult) {
    const double nan = std::nan("");
    const std::vector<std::vector<CSample>> cases{
        {{1, 1}, {1, 2}, {2, 3}, {5, 4}},
        {{2, 1}, {nan, 2}, {1, 3}},
        {{nan, 1}, {3, 2}, {1, 3}, {nan, 4}, {0, 5}},
        {{0, 1}, {-0.0, 2}, {-1, 3}},
    };
    for (const auto& samples : cases) {
        std::vector<CSample> expected = samples;
        std::stable_sort(expected.begin(), expected.end(), [](const CSample& a, const CSample& b) { return a.x < b.x; });
        CVGraphic g;
        g.m_samples = samples;
        g.SortByX();
        ASSERT_EQ(g.m_samples.size(), expected.size());
        EXPECT_EQ(std::memcmp(g.m_samples.data(), expected.data(), expected.size() * sizeof(CSample)), 0);
    }
}

// Without an explicit range the samples give it; an explicit one is used
// as it stands, even with one end zero.
TEST(Graphic, RangeComesFromTheSamplesUnlessGiven) {
    CVGraphic g;
    double loX, hiX, loY, hiY;
    EXPECT_FALSE(g.GetRange(loX, hiX, loY, hiY));
    g.AddSample(0, 5);
    g.AddSample(4, -7);
    g.AddSample(10, 3);
    ASSERT_TRUE(g.GetRange(loX, hiX, loY, hiY));
    EXPECT_EQ((std::vector<double>{loX, hiX, loY, hiY}), (std::vector<double>{0, 10, -7, 5}));

    g.m_dLoY = 0;
    g.m_dHiY = 50;
    g.m_dLoX = -1;
    g.m_dHiX = 0;
    ASSERT_TRUE(g.GetRange(loX, hiX, loY, hiY));
    EXPECT_EQ((std::vector<double>{loX, hiX, loY, hiY}), (std::vector<double>{-1, 0, 0, 50}));
}

TEST(Graphic, MapToRectPutsHighYAtTheTop) {
    CVGraphic g;
    g.AddSample(0, 5);
    g.AddSample(10, -5);
    g.MapToRect(kRect);
    EXPECT_EQ(PointsOf(g), (std::vector<CPoint>{{45, 15}, {255, 235}}));
    g.AddSample(5, 0);
    g.SortByX();
    g.MapToRect(kRect);
    EXPECT_EQ(PointsOf(g), (std::vector<CPoint>{{45, 15}, {150, 125}, {255, 235}}));
}

TEST(Graphic, EmptyOrDegenerateRangesMapWithoutFailing) {
    CVGraphic none;
    none.AddPoint(CPoint{1, 2});
    none.MapToRect(kRect);  // no samples: the points stay
    EXPECT_EQ(none.GetPointCount(), 1);

    CVGraphic flat;
    flat.AddSample(0, 7);
    flat.AddSample(10, 7);
    flat.MapToRect(kRect);  // 0/0 in y: NaN becomes 0
    EXPECT_EQ(PointsOf(flat), (std::vector<CPoint>{{45, 0}, {255, 0}}));

    CVGraphic single;
    single.AddSample(3, 4);
    single.MapToRect(kRect);
    EXPECT_EQ(single.GetPointCount(), 1);

    CVGraphic wild;
    wild.AddSample(0, 0);
    wild.AddSample(1e-300, std::numeric_limits<double>::infinity());
    wild.AddSample(1, std::nan(""));
    wild.MapToRect(kRect);
    ASSERT_EQ(wild.GetPointCount(), 3);
    EXPECT_EQ(wild.GetPoint(0).x, 45);
}

TEST(Graphic, DrawsAPolylineWithItsPenAndRestoresThePrevious) {
    const CPen previous{PS_SOLID, 3, RGB(1, 2, 3)};
    CVGraphic g;
    RecordingDC empty;
    empty.pen = previous;
    g.Draw(empty, nullptr);
    EXPECT_EQ(empty.pen, previous);  // nothing drawn, pen still given back

    g.m_nColor = 255;
    g.AddSample(0, 5);
    g.AddSample(5, 0);
    g.AddSample(10, -5);
    g.MapToRect(kRect);
    RecordingDC dc;
    dc.pen = previous;
    g.Draw(dc, nullptr);
    EXPECT_EQ(dc.Ops(), (std::vector<std::string>{"SetPen(solid,1,#ff0000)", "MoveTo(45,15)", "LineTo(150,125)",
                                                  "LineTo(255,235)", "SetPen(solid,3,#010203)"}));
    g.m_bHighlight = 1;
    RecordingDC highlighted;
    g.Draw(highlighted, nullptr);
    EXPECT_EQ(highlighted.Ops()[0], "SetPen(dash,1,#ff0000)");
}

// Where more than four points in a row share a pixel column only the first,
// the lowest, the highest and the last are drawn to, in their order.
TEST(Graphic, DenseColumnsDrawTheirFirstLowestHighestAndLast) {
    CVGraphic g;
    for (double y : {5.0, 9.0, 7.0, 3.0, 8.0, 6.0}) g.AddSample(0, y);   // one column
    for (double y : {1.0, 2.0, 0.0, 2.0}) g.AddSample(1, y);             // four: all kept
    g.AddSample(2, 4);
    g.m_dLoX = 0;
    g.m_dHiX = 2;
    g.m_dLoY = 0;
    g.m_dHiY = 10;
    g.MapToRect({0, 0, 2, 10});
    RecordingDC dc;
    g.Draw(dc, nullptr);
    EXPECT_EQ(dc.Ops(), (std::vector<std::string>{"SetPen(solid,1,#000000)", "MoveTo(0,5)", "LineTo(0,1)",
                                                  "LineTo(0,7)", "LineTo(0,4)", "LineTo(1,9)", "LineTo(1,8)",
                                                  "LineTo(1,10)", "LineTo(1,8)", "LineTo(2,6)",
                                                  "SetPen(solid,1,#000000)"}));
}

// id 7, no points, samples (1, 2) and (-0.5, 0), colour 255, caption "ab".
const std::vector<uint8_t> kSeriesBytes{
    0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // id, point count
    0x02, 0x00, 0x00, 0x00,                                      // sample count
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F,              // 1.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x40,              // 2.0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0xBF,              // -0.5
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // 0.0
    0xFF, 0x00, 0x00, 0x00,                                      // colour
    0x02, 0x61, 0x62,                                            // "ab"
};

CClassRegistry Registry() {
    CClassRegistry registry;
    RegisterGraphClasses(registry);
    return registry;
}

TEST(Graphic, StoresSamplesColourAndCaption) {
    CVGraphic g;
    g.m_nId = 7;
    g.AddSample(1, 2);
    g.AddSample(-0.5, 0);
    g.m_nColor = 255;
    g.m_strText = "ab";
    g.m_dDivY = 10;  // not part of the record
    CArchive ar;
    g.Serialize(ar);
    EXPECT_EQ(ar.Buffer(), kSeriesBytes);
}

TEST(Graphic, LoadsItsRecordAndKeepsDefaultRanges) {
    const CClassRegistry registry = Registry();
    CArchive ar(kSeriesBytes, registry);
    CVGraphic g;
    g.AddSample(9, 9);
    g.m_dLoX = 3;
    g.Serialize(ar);
    EXPECT_EQ(g.m_nId, 7);
    EXPECT_EQ(g.Samples(), (std::vector<CSample>{{1, 2}, {-0.5, 0}}));
    EXPECT_EQ(g.m_nColor, 255);
    EXPECT_EQ(g.m_strText, "ab");
    EXPECT_EQ(ar.BytesLeft(), 0u);
    EXPECT_NE(registry.Find("CVGraphic"), nullptr);
}

TEST(Graphic, SampleCountBeyondTheFileFailsAndANegativeOneReadsNoPairs) {
    const CClassRegistry registry = Registry();
    std::vector<uint8_t> huge(kSeriesBytes.begin(), kSeriesBytes.begin() + 8);
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0x7F}) huge.push_back(b);
    huge.insert(huge.end(), 16, 0);
    CArchive hugeAr(huge, registry);
    CVGraphic g;
    try {
        g.Serialize(hugeAr);
        ADD_FAILURE() << "loaded";
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat);
    }

    std::vector<uint8_t> negative(kSeriesBytes.begin(), kSeriesBytes.begin() + 8);
    for (uint8_t b : {0xFF, 0xFF, 0xFF, 0xFF, 0x05, 0x00, 0x00, 0x00, 0x00}) negative.push_back(b);
    CArchive ar(negative, registry);
    CVGraphic back;
    back.Serialize(ar);
    EXPECT_EQ(back.GetSampleCount(), 0);
    EXPECT_EQ(back.m_nColor, 5);
}

}  // namespace
