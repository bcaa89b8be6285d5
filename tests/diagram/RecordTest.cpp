// The file records of every diagram class and of the list, as bytes written
// out by hand, and how damaged records fail.
#include <gtest/gtest.h>


#include "archive/Archive.h"
#include "diagram/DiagramClasses.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"
#include "tests/support/HexBytes.h"

namespace {

// The body an object writes, without its class tag.
std::vector<uint8_t> Stored(CVEntity& e) {
    CArchive ar;
    e.Serialize(ar);
    return ar.Buffer();
}

const CClassRegistry& Registry() {
    static CClassRegistry registry = [] {
        CClassRegistry r;
        RegisterDiagramClasses(r);
        return r;
    }();
    return registry;
}

template <class T>
void Load(T& e, const std::vector<uint8_t>& bytes) {
    CArchive ar(bytes, Registry());
    e.Serialize(ar);
}

template <class T>
void ExpectBadFormat(T& e, const std::string& hex) {
    const std::vector<uint8_t> bytes = HexBytes(hex);
    try {
        Load(e, bytes);
        ADD_FAILURE() << "loaded " << hex;
    } catch (const CFileError& error) {
        EXPECT_EQ(error.Kind(), FileErrorKind::BadFormat);
    }
}

const char* const kOnePointAt3_4 = "00000000 01000000 03000000 04000000";

}  // namespace

TEST(Records, BaseRecordIsIdCountAndPoints) {
    CVEntity e;
    e.m_nId = 7;
    e.AddPoint(CPoint{1, 2});
    e.AddPoint(CPoint{-1, -2});
    e.m_bHighlight = 1;  // not stored
    EXPECT_EQ(Stored(e), HexBytes("07000000 02000000 01000000 02000000 ffffffff feffffff"));
}

TEST(Records, PrimitivesStoreOnlyTheirPoints) {
    CVLine line;
    line.GetPoint(1) = CPoint{256, 1};
    EXPECT_EQ(Stored(line), HexBytes("00000000 02000000 00000000 00000000 00010000 01000000"));
    CVBSpline spline;
    spline.GetPoint(3) = CPoint{1, 1};
    EXPECT_EQ(Stored(spline), HexBytes("00000000 04000000 0000000000000000 0000000000000000 0000000000000000"
                                     "01000000 01000000"));
    CVArrow arrow;
    arrow.m_nId = 2;
    EXPECT_EQ(Stored(arrow), HexBytes("02000000 05000000"
                                    "00000000 00000000 00000000 00000000 00000000 00000000 00000000 00000000"
                                    "0a000000 0a000000"));
}

TEST(Records, TextAddsItsString) {
    CVText text;
    text.GetPoint(0) = CPoint{3, 4};
    text.m_strText = "Hi";
    EXPECT_EQ(Stored(text), HexBytes(std::string(kOnePointAt3_4) + "02 4869"));
}

TEST(Records, LevelRateAndVariableAddNameDescriptionAndValue) {
    CVLevel level;
    level.m_nId = 1;
    level.GetPoint(1) = CPoint{10, 20};
    level.m_strName = "L";
    level.m_dValue = 2.5;
    const std::vector<uint8_t> body = HexBytes(
        "01000000 03000000 00000000 00000000 0a000000 14000000 08000000 08000000"
        "01 4c  00  0000000000000440");
    EXPECT_EQ(Stored(level), body);

    CVRate rate;
    rate.m_nId = 1;
    rate.GetPoint(1) = CPoint{10, 20};
    rate.m_strName = "L";
    rate.m_dValue = 2.5;
    EXPECT_EQ(Stored(rate), body);

    CVVariable var;
    var.m_strDescription = "\xD3\xF0";  // "Ур" in code page 1251
    var.m_dValue = -1.0;
    EXPECT_EQ(Stored(var), HexBytes("00000000 03000000 00000000 00000000 00000000 00000000 0f000000 0f000000"
                                  "03 566172  02 d3f0  000000000000f0bf"));
}

TEST(Records, TableAddsRangeAndExactlyItsValues) {
    CVTableData table;
    table.m_strName = "T";
    table.m_strDescription = "d";
    table.m_dFrom = 0;
    table.m_dTo = 1;
    table.m_dStep = 0.5;
    table.m_data = {1, 2, 3};
    EXPECT_EQ(Stored(table), HexBytes("00000000 03000000 00000000 00000000 00000000 00000000 0f000000 0f000000"
                                    "01 54  01 64"
                                    "0000000000000000 000000000000f03f 000000000000e03f"
                                    "000000000000f03f 0000000000000040 0000000000000840"));
}

TEST(Records, ExpertAndSwitchStoreTheirTextAsName) {
    CVExpert expert;
    expert.GetPoint(0) = CPoint{5, 6};
    expert.m_dValue = -1.0;
    const std::string points = "00000000 03000000 05000000 06000000 14000000 18000000 06000000 06000000";
    EXPECT_EQ(Stored(expert), HexBytes(points + "06 457870657274  00  000000000000f0bf"));

    CVSwitch sw;
    sw.GetPoint(0) = CPoint{5, 6};
    sw.m_dValue = 1;
    sw.m_dValue2 = 2;
    sw.m_dThreshold = 10;
    EXPECT_EQ(Stored(sw), HexBytes(points + "06 537769746368  00  000000000000f03f"
                                          "0000000000000040 0000000000002440"));
}

TEST(Records, SourcesStoreTheWholeCloudOutline) {
    CVSources sources;
    EXPECT_EQ(Stored(sources),
              HexBytes("00000000 12000000"
                     "00000000 00000000  00000000 00000000"                                    // P0 P1
                     "00000000 00000000  05000000 fcffffff  14000000 f8ffffff  1e000000 fdffffff"
                     "20000000 05000000  20000000 18000000  19000000 19000000  14000000 14000000"
                     "14000000 14000000  00000000 19000000  feffffff 14000000  06000000 14000000"
                     "00000000 00000000"                                                       // outline
                     "08000000 08000000  10000000 06000000  10000000 16000000"));              // P15-P17
}

TEST(Records, LoadingReplacesPointsAndFieldsAndKeepsHighlightOff) {
    CVSwitch sw;
    Load(sw, HexBytes("09000000 03000000 05000000 06000000 14000000 18000000 06000000 06000000"
                   "01 53  02 6464  000000000000f03f 0000000000000040 0000000000002440"));
    EXPECT_EQ(sw.m_nId, 9);
    EXPECT_EQ(sw.GetPoint(0), (CPoint{5, 6}));
    EXPECT_EQ(sw.m_strText, "S");
    EXPECT_EQ(sw.m_strDescription, "dd");
    EXPECT_EQ(sw.m_dValue, 1.0);
    EXPECT_EQ(sw.m_dValue2, 2.0);
    EXPECT_EQ(sw.m_dThreshold, 10.0);
    EXPECT_EQ(sw.m_bHighlight, 0);
}

TEST(Records, BaseRecordWithoutPointsLoadsAsAnEmptyObject) {
    CVEntity e;
    e.AddPoint(CPoint{1, 1});
    Load(e, HexBytes("05000000 00000000"));
    EXPECT_EQ(e.GetPointCount(), 0);
    EXPECT_EQ(e.m_nId, 5);
    Load(e, HexBytes("05000000 ffffffff"));  // a negative count is no points
    EXPECT_EQ(e.GetPointCount(), 0);
}

TEST(Records, TooFewOrTooManyPointsAreABadFormat) {
    CVLine line;
    ExpectBadFormat(line, "00000000 01000000 00000000 00000000");
    CVSources sources;
    ExpectBadFormat(sources, "00000000 02000000 00000000 00000000 00000000 00000000");
    CVText text;
    ExpectBadFormat(text, "00000000 00000000 00");
    // A count beyond the bytes left fails before anything is allocated.
    CVEntity e;
    ExpectBadFormat(e, "00000000 ffffff7f 01000000 02000000");
}

TEST(Records, TableLoadsAsManyValuesAsItsRangeCallsFor) {
    CVTableData table;
    const std::string points = "00000000 03000000 00000000 00000000 00000000 00000000 0f000000 0f000000";
    Load(table, HexBytes(points + "01 54 00"
                               "0000000000000000 0000000000000040 000000000000f03f"  // 0 to 2 step 1
                               "000000000000f03f 0000000000000040 0000000000000840"));
    EXPECT_EQ(table.m_data, (std::vector<double>{1, 2, 3}));

    // From 10 to 0: a negative count means no values follow.
    Load(table, HexBytes(points + "01 54 00 0000000000002440 0000000000000000 000000000000f03f"));
    EXPECT_TRUE(table.m_data.empty());

    // From 0 to 1e9 step 1 with nothing behind: no billion-value allocation.
    ExpectBadFormat(table, points + "01 54 00 0000000000000000 0000000065cdcd41 000000000000f03f");
}

TEST(Records, TableOutOfStepWithItsRangeIsNotWritten) {
    CVTableData table;
    table.m_dTo = 1e9;
    table.m_dStep = 1;
    CArchive ar;
    EXPECT_THROW(table.Serialize(ar), CFileError);
}

TEST(Records, ListIsCountThenTaggedObjects) {
    EntityList list;
    list.Add(std::make_unique<CVLine>());
    list.Add(std::make_unique<CVLine>());
    auto text = std::make_unique<CVText>();
    text->m_strText = "";
    list.Add(std::move(text));
    CArchive ar;
    list.Serialize(ar);
    EXPECT_EQ(ar.Buffer(),
              HexBytes("0300"
                     "ffff 0100 0600 43564c696e65"  // new class CVLine
                     "00000000 02000000 0000000000000000 0000000000000000"
                     "0180"                         // CVLine again
                     "01000000 02000000 0000000000000000 0000000000000000"
                     "ffff 0100 0600 435654657874"  // new class CVText
                     "02000000 01000000 0000000000000000 00"));
}

TEST(Records, LoadingAListAppendsKeepingIdsAndTheCounter) {
    const auto bytes = HexBytes("0200"
                             "ffff 0100 0600 43564c696e65  05000000 02000000 0000000000000000 0000000000000000"
                             "0180  05000000 02000000 0000000000000000 0000000000000000");
    EntityList list;
    list.Add(std::make_unique<CVText>());
    CArchive ar(bytes, Registry());
    list.Serialize(ar);
    ASSERT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.GetAt(1)->m_nId, 5);
    EXPECT_EQ(list.GetAt(2)->m_nId, 5);
    EXPECT_EQ(list.m_nNextId, 1);
    EXPECT_STREQ(list.GetAt(2)->GetRuntimeClass()->m_lpszClassName, "CVLine");
}

namespace {

class CNotAnEntity : public CObject {
public:
    static const CRuntimeClass classCNotAnEntity;
    const CRuntimeClass* GetRuntimeClass() const override { return &classCNotAnEntity; }
    void Serialize(CArchive&) override {}
};
const CRuntimeClass CNotAnEntity::classCNotAnEntity{
    "CNotAnEntity", 1, []() -> std::unique_ptr<CObject> { return std::make_unique<CNotAnEntity>(); }};

void ExpectListLoadFails(const CClassRegistry& registry, const std::string& hex) {
    const auto bytes = HexBytes(hex);
    EntityList list;
    list.Add(std::make_unique<CVLine>());
    CArchive ar(bytes, registry);
    try {
        list.Serialize(ar);
        ADD_FAILURE() << "loaded " << hex;
    } catch (const CFileError& error) {
        EXPECT_EQ(error.Kind(), FileErrorKind::BadFormat);
    }
    EXPECT_EQ(list.GetCount(), 1u);  // nothing of the damaged list was added
}

}  // namespace

TEST(Records, ListRefusesObjectsThatAreNoDiagramObjects) {
    CClassRegistry registry;
    RegisterDiagramClasses(registry);
    registry.Register(&CNotAnEntity::classCNotAnEntity);
    ExpectListLoadFails(registry, "0100 ffff 0100 0c00 434e6f74416e456e74697479");
}

TEST(Records, TruncatedListAddsNothing) {
    ExpectListLoadFails(Registry(),
                        "0200 ffff 0100 0600 43564c696e65  05000000 02000000 0000000000000000 0000000000000000"
                        "0180 05000000 02000000 00000000");
}
