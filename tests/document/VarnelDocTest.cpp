// The model file: new-model defaults, the exact bytes of small models, the
// loading rules (version, markers, program pieces) and failed opens.
#include <gtest/gtest.h>

#include <filesystem>

#include "diagram/Primitives.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes EmptyModelBytes() { return ModelFileBytes(); }

Bytes OneLineModelBytes() {
    return ModelFileBytes("00", "01 00  FF FF 01 00 06 00 43 56 4C 69 6E 65"
                                "00 00 00 00  02 00 00 00  0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00");
}

// A document holding something, so a load visibly replaces it.
std::unique_ptr<CVarnelDoc> BusyDoc() {
    auto doc = samples::MixedModel(3, "old program");
    doc->m_nWidth = 1;
    doc->SetModifiedFlag();
    return doc;
}

void ExpectNewModel(const CVarnelDoc& doc) {
    ASSERT_NE(doc.m_pEntityList, nullptr);
    EXPECT_TRUE(doc.m_pEntityList->IsEmpty());
    EXPECT_EQ(doc.m_pEntityList->m_nNextId, 0);
    EXPECT_EQ(doc.m_nWidth, 640);
    EXPECT_EQ(doc.m_nHeight, 480);
    EXPECT_EQ(doc.m_bFullScale, 1);
    EXPECT_EQ(doc.m_strProgram, "");
    EXPECT_FALSE(doc.IsModified());
}

CFileError LoadFailure(CVarnelDoc& doc, const Bytes& bytes) {
    try {
        doc.Load(bytes);
    } catch (const CFileError& e) {
        return e;
    }
    ADD_FAILURE() << "the load did not fail";
    return CFileError(FileErrorKind::CannotOpen, "");
}

}  // namespace

TEST(VarnelDocNew, DefaultsOfANewModel) {
    CVarnelDoc doc;
    EXPECT_EQ(doc.m_pEntityList, nullptr);
    doc.SetModifiedFlag();
    doc.OnNewDocument();
    ExpectNewModel(doc);

    auto busy = BusyDoc();
    busy->OnNewDocument();
    ExpectNewModel(*busy);
}

TEST(VarnelDocStore, EmptyModelIs65Bytes) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    const Bytes bytes = doc.Store();
    EXPECT_EQ(bytes.size(), 65u);
    EXPECT_EQ(bytes, EmptyModelBytes());
}

TEST(VarnelDocStore, OneLineModelIs101Bytes) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    auto line = std::make_unique<CVLine>();
    samples::SetPoints(*line, {{10, 20}, {30, 40}});
    doc.m_pEntityList->Add(std::move(line));
    const Bytes bytes = doc.Store();
    EXPECT_EQ(bytes.size(), 101u);
    EXPECT_EQ(bytes, OneLineModelBytes());
}

TEST(VarnelDocStore, LongProgramPrefixes) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_strProgram = std::string(255, 'a');
    Bytes bytes = doc.Store();
    EXPECT_EQ(Bytes(bytes.begin() + 44, bytes.begin() + 47), HexBytes("FF FF 00"));
    doc.m_strProgram = std::string(65534, 'a');
    bytes = doc.Store();
    EXPECT_EQ(Bytes(bytes.begin() + 44, bytes.begin() + 51), HexBytes("FF FF FF FE FF 00 00"));
    CVarnelDoc back;
    back.Load(bytes);
    EXPECT_EQ(back.m_strProgram, doc.m_strProgram);
}

TEST(VarnelDocLoad, EmptyAndOneLineModels) {
    auto doc = BusyDoc();
    doc->Load(EmptyModelBytes());
    ExpectNewModel(*doc);

    doc->Load(OneLineModelBytes());
    ASSERT_EQ(doc->m_pEntityList->GetCount(), 1u);
    CVEntity* line = doc->m_pEntityList->GetAt(0);
    EXPECT_TRUE(line->IsKindOf(&CVLine::classCVLine));
    EXPECT_EQ(line->m_nId, 0);
    ASSERT_EQ(line->GetPointCount(), 2);
    EXPECT_EQ(line->GetPoint(0), (CPoint{10, 20}));
    EXPECT_EQ(line->GetPoint(1), (CPoint{30, 40}));
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 0);
}

TEST(VarnelDocLoad, KeepsStoredIdsAndTheZoomedOutState) {
    auto doc = samples::MixedModel(14, "var a = 1\r\nplot a\r\n");
    doc->m_nWidth = 320;
    doc->m_nHeight = 240;
    doc->m_bFullScale = 0;
    doc->m_pEntityList->GetAt(3)->m_nId = 77;
    const Bytes bytes = doc->Store();
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 20),
              HexBytes("40 01 00 00  F0 00 00 00  00 00 00 00"));

    CVarnelDoc back;
    back.Load(bytes);
    EXPECT_EQ(back.m_nWidth, 320);
    EXPECT_EQ(back.m_nHeight, 240);
    EXPECT_EQ(back.m_bFullScale, 0);
    EXPECT_EQ(back.m_strProgram, doc->m_strProgram);
    ASSERT_EQ(back.m_pEntityList->GetCount(), 14u);
    EXPECT_EQ(back.m_pEntityList->GetAt(3)->m_nId, 77);
    EXPECT_EQ(back.m_pEntityList->m_nNextId, 0);
    EXPECT_EQ(back.Store(), bytes);
}

TEST(VarnelDocLoad, OtherVersionGivesTheEmptyModelWithoutError) {
    Bytes version2 = OneLineModelBytes();
    version2[7] = 0x40;  // 2.0
    auto doc = BusyDoc();
    EXPECT_NO_THROW(doc->Load(version2));
    ExpectNewModel(*doc);

    doc = BusyDoc();
    EXPECT_NO_THROW(doc->Load(HexBytes("DE AD BE EF 01 02 03 04 FF FF FF")));
    ExpectNewModel(*doc);

    // Only exactly 1.0 counts: the next double up is another version.
    Bytes nearlyOne = OneLineModelBytes();
    nearlyOne[0] = 0x01;
    doc->Load(nearlyOne);
    ExpectNewModel(*doc);
}

TEST(VarnelDocLoad, MissingStartMarkerIsAnInternalDataError) {
    Bytes bytes = EmptyModelBytes();
    bytes[23] = 'X';  // "~!~ Xtart..."
    auto doc = BusyDoc();
    const CFileError e = LoadFailure(*doc, bytes);
    EXPECT_EQ(e.Kind(), FileErrorKind::InternalData);
    EXPECT_STREQ(e.what(), "Internal data error.");
    ExpectNewModel(*doc);
}

TEST(VarnelDocLoad, ProgramPiecesJoinUntilTheEndMarker) {
    const Bytes bytes = ModelFileBytes("03 61 0D 0A  00  FF 01 00 62  01 63");
    CVarnelDoc doc;
    doc.Load(bytes);
    EXPECT_EQ(doc.m_strProgram, "a\r\nbc");
}

TEST(VarnelDocLoad, ProgramThatIsTheEndMarkerReadsBackEmpty) {
    CVarnelDoc doc;
    doc.OnNewDocument();
    doc.m_strProgram = "~!~ End Program ~!~";
    const Bytes bytes = doc.Store();
    EXPECT_EQ(bytes.size(), 84u);
    CVarnelDoc back;
    back.Load(bytes);
    EXPECT_EQ(back.m_strProgram, "");
}

TEST(VarnelDocLoad, BadFormatResetsToANewModel) {
    const Bytes good = OneLineModelBytes();
    for (size_t cut : {size_t{0}, size_t{7}, size_t{8}, size_t{20}, size_t{33}, size_t{57},
                       size_t{80}, good.size() - 1}) {
        auto doc = BusyDoc();
        const CFileError e = LoadFailure(*doc, Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        EXPECT_EQ(e.Kind(), FileErrorKind::BadFormat) << cut;
        ExpectNewModel(*doc);
    }
    Bytes unknown = good;
    unknown[30] = 'X';  // "CVXine"
    CVarnelDoc doc;
    EXPECT_EQ(LoadFailure(doc, unknown).Kind(), FileErrorKind::BadFormat);
    Bytes schema2 = good;
    schema2[24] = 2;
    EXPECT_EQ(LoadFailure(doc, schema2).Kind(), FileErrorKind::BadFormat);
}

TEST(VarnelDocFiles, MissingFileOrFolderCannotOpen) {
    try {
        ReadFileBytes("/nonexistent-folder/model.vrn");
        ADD_FAILURE();
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::CannotOpen);
        EXPECT_NE(std::string(e.what()).find("model.vrn"), std::string::npos);
    }
    EXPECT_THROW(WriteFileBytes("/nonexistent-folder/model.vrn", Bytes{1}), CFileError);
    EXPECT_THROW(ReadFileBytes(::testing::TempDir()), CFileError);
}

// Writing replaces the file by a rename: the file keeps its permissions and
// a link to it stays a link.
TEST(VarnelDocFiles, WriteKeepsPermissionsAndLinks) {
    namespace fs = std::filesystem;
    const fs::path file = ::testing::TempDir() + "varnel_doc_write_target.vrn";
    const fs::path link = ::testing::TempDir() + "varnel_doc_write_link.vrn";
    fs::remove(link);
    WriteFileBytes(file.string(), Bytes{1, 2, 3});
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(file, link);
    WriteFileBytes(link.string(), Bytes{4});
    EXPECT_EQ(ReadFileBytes(file.string()), Bytes{4});
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}
