// The model: its file (models.txt), damaged files, undoable changes judged
// by the whole file they leave, the values an experiment varies, and the
// heap a running program asks for.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <new>

#include "document/DocChanges.h"
#include "document/ExperimentValues.h"
#include "document/MoveSession.h"
#include "diagram/FontCell.h"
#include "interpreter/Interpreter.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"
#include "support/Scene.h"

// The largest heap request and the count of them while a probe is alive.
namespace {
std::atomic<bool> g_bProbing{false};
std::atomic<size_t> g_nLargest{0}, g_nCount{0};
struct Probe {
    Probe() { g_nLargest = g_nCount = 0, g_bProbing = true; }
    ~Probe() { g_bProbing = false; }
};
}  // namespace

void* operator new(size_t n) {
    if (g_bProbing) ++g_nCount, g_nLargest = std::max<size_t>(g_nLargest, n);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kNewModel = "640x480 full \"\" next=0";

std::string Describe(const CVarnelDoc& doc) {
    const std::string& p = doc.m_strProgram;
    return std::to_string(doc.m_nWidth) + "x" + std::to_string(doc.m_nHeight) + (doc.m_bFullScale ? " full " : " half ") +
           (p.size() > 64 ? std::to_string(p.size()) + " bytes" : "\"" + Escaped(p) + "\"") + " " +
           DumpList(*doc.m_pEntityList);
}

// Loads into a model that holds something: the model it becomes, or the
// failure (which leaves a new model).
std::string Load(const Bytes& bytes) {
    auto doc = samples::MixedModel(3, "old program");
    doc->m_nWidth = 1;
    doc->SetModifiedFlag();
    try {
        doc->Load(bytes);
    } catch (const CFileError& e) {
        EXPECT_EQ(Describe(*doc), kNewModel);
        return e.Kind() == FileErrorKind::BadFormat ? "bad format" : "internal data: " + std::string(e.what());
    }
    EXPECT_FALSE(doc->IsModified());
    return Describe(*doc);
}

// A damaged file loads, and then stores again as a fixed point, or fails
// with a file error.
void ExpectLoadOrCleanFailure(const Bytes& bytes) {
    CVarnelDoc doc, again;
    try {
        doc.Load(bytes);
    } catch (const CFileError&) {
        EXPECT_TRUE(doc.m_pEntityList->IsEmpty());
        return;
    }
    again.Load(doc.Store());
    EXPECT_EQ(again.Store(), doc.Store());
}

// Cut short anywhere it fails; any byte overwritten, or a few random edits,
// and it loads or fails cleanly.
void ExpectDamageHandled(const Bytes& good) {
    for (size_t pos = 0; pos < good.size(); ++pos) {
        EXPECT_EQ(Load(Bytes(good.begin(), good.begin() + long(pos))), "bad format") << pos;
        for (const int value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF, good[pos] ^ 0x40}) {
            Bytes bad = good;
            bad[pos] = static_cast<uint8_t>(value);
            ExpectLoadOrCleanFailure(bad);
        }
    }
    uint64_t state = good.size();
    auto random = [&state](size_t below) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return below ? (state >> 33) % below : 0;
    };
    for (int round = 0; round < 600; ++round) {
        Bytes bad = good;
        for (size_t edits = 1 + random(4); edits > 0 && !bad.empty(); --edits) {
            const size_t pos = random(bad.size());
            switch (random(4)) {
            case 0: bad[pos] = static_cast<uint8_t>(random(256)); break;
            case 1: bad.erase(bad.begin() + long(pos)); break;
            case 2: bad.insert(bad.begin() + long(pos), static_cast<uint8_t>(random(256))); break;
            default:  // an extreme int32
                for (size_t k = pos; k < std::min(pos + 4, bad.size()); ++k) bad[k] = k < pos + 3 || random(2) ? 0xFF : 0x7F;
            }
        }
        ExpectLoadOrCleanFailure(bad);
    }
}

}  // namespace

TEST(Document, ModelFiles) {
    CVarnelDoc doc;
    EXPECT_EQ(doc.m_pEntityList, nullptr);
    doc.SetModifiedFlag();
    doc.OnNewDocument();
    EXPECT_EQ(Describe(doc), kNewModel);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.Store(), ModelFileBytes());
    doc.m_strProgram = "~!~ End Program ~!~";  // written as it is, read back as the end
    EXPECT_EQ(doc.Store().size(), 84u);
    const std::pair<std::string, std::string> parts[] = {
        {"{head}", kHeader640x480}, {"{start}", kStartMarker}, {"{end}", kEndMarker},
        {"{mixed}", HexText(samples::MixedModel(16, "var x = 1\r\nset x = x + 1\r\n")->Store())}};
    for (GoldenCase c : GoldenTable("document/models.txt")) {
        SCOPED_TRACE("models.txt:" + std::to_string(c.line));
        for (const auto& [name, hex] : parts)
            for (size_t at; (at = c.input.find(name)) != std::string::npos;) c.input.replace(at, name.size(), hex);
        const Bytes bytes = GoldenBytes(c.input);
        Probe probe;
        EXPECT_EQ(Load(bytes), c.expected);
        EXPECT_LT(g_nLargest, 1u << 20);
        if (!c.bothWays) continue;
        CVarnelDoc back;
        back.Load(bytes);
        EXPECT_EQ(back.Store(), bytes);
        if (bytes.size() < 4096) ExpectDamageHandled(bytes);
    }
}

// Writing replaces the file by a rename: it keeps its permissions and a
// link to it stays a link.
TEST(Document, Files) {
    namespace fs = std::filesystem;
    EXPECT_THROW(ReadFileBytes(::testing::TempDir()), CFileError);
    EXPECT_THROW(WriteFileBytes("/nonexistent-folder/model.vrn", Bytes{1}), CFileError);
    try {
        ReadFileBytes("/nonexistent-folder/model.vrn");
        ADD_FAILURE();
    } catch (const CFileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::CannotOpen);
        EXPECT_NE(std::string(e.what()).find("model.vrn"), std::string::npos);
    }
    const fs::path file = ::testing::TempDir() + "varnel_doc_target.vrn", link = ::testing::TempDir() + "varnel_doc_link.vrn";
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::remove(link);
    WriteFileBytes(file.string(), Bytes{1, 2, 3});
    fs::permissions(file, perms);
    fs::create_symlink(file, link);
    WriteFileBytes(link.string(), Bytes{4});
    EXPECT_EQ(ReadFileBytes(file.string()), Bytes{4});
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(file).permissions(), perms);
}

// A running program allocates nothing per statement: over a loop of six
// statements (arithmetic, a table, a switch, a plot, a test, a jump) the
// only requests are its compilation and the growth of the samples.
TEST(Document, RunAllocatesNothingPerStatement) {
    auto allocations = [](int steps) {
        EntityList diagram;
        AddSpec(diagram, "TableData name=T to=10 step=2.5 data=1/2/4/8/16");
        AddSpec(diagram, "Switch name=W value=1 value2=0.5 threshold=5");
        CInterpreter interp;
        interp.ImportDrawingVariables(&diagram);
        Probe probe;
        EXPECT_EQ(interp.Run("var i\r\nvar x\r\nvar y\r\ngraphic g\r\nmark m\r\n"
                             "set x = x * 1.01 + T(y) / 3 - (i + 1) * W(y)\r\nset y = i / 1000\r\nplot g i x\r\n"
                             "set i = i + 1\r\nif i < " + std::to_string(steps) + "\r\ngoto m"),
                  RunOutcome::Ok);
        EXPECT_EQ(interp.StepCount(), 4u + 6u * static_cast<uint64_t>(steps));
        return size_t{g_nCount};
    };
    const size_t shortRun = allocations(2000), longRun = allocations(20000);
    EXPECT_LT(longRun, 100u);
    EXPECT_LE(longRun - shortRun, 5u) << shortRun << " then " << longRun;
}

namespace {

// A level with a flow arrow ending on its top edge, a line beside it, and a program.
std::unique_ptr<CVarnelDoc> Model(std::initializer_list<const char*> specs) {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    for (const char* spec : specs) AddSpec(*doc->m_pEntityList, spec);
    doc->m_strProgram = "var x = 1\r\n";
    return doc;
}

std::unique_ptr<CVarnelDoc> FlowModel() {
    return Model({"Level 100,100 201,161 name=X", "Arrow 151,21 151,41 151,81 151,100", "Line 300,300 351,333"});
}

CVEntity& At(CVarnelDoc& doc, size_t i) { return *doc.m_pEntityList->GetAt(i); }

}  // namespace

// A drag takes the glued flow along, stops at the sheet's edges and undoes
// and redoes to the byte; steps of one object join into one undo.
TEST(Document, MovesUndoToTheByte) {
    auto doc = FlowModel();
    const Bytes before = doc->Store();
    CMoveSession drag(*doc, At(*doc, 0));
    EXPECT_TRUE(drag.MoveTo({-30, 10}));
    EXPECT_FALSE(drag.MoveTo({-30, 10}));
    EXPECT_TRUE(drag.MoveTo({-150, 1000}));
    EXPECT_EQ(drag.Offset(), (CPoint{-100, 319}));
    EXPECT_EQ(DumpList(*doc->m_pEntityList), "Level#0 0,419 101,480 8,8 \"X\" \"\" 0 / Arrow#1 151,21 151,41 51,400 "
                                             "51,419 10,10 / Line#2 300,300 351,333 / next=3");
    std::unique_ptr<CObjectsChange> change = drag.Finish();
    const Bytes after = doc->Store();
    change->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    change->Apply(*doc);
    EXPECT_EQ(doc->Store(), after);
    CMoveSession back(*doc, At(*doc, 2));
    back.MoveTo({5, 5});
    back.MoveTo({0, 0});
    EXPECT_EQ(back.Finish(), nullptr);  // ended where it began

    doc = FlowModel();
    auto step = [&](CVEntity& object, CPoint delta) {
        CMoveSession s(*doc, object);
        s.MoveTo(delta);
        return s.Finish();
    };
    std::unique_ptr<CObjectsChange> first = step(At(*doc, 2), {1, 0});
    At(*doc, 2).GetPoint(0) = {100, 100};  // now on the level's corner: its steps take the line along
    std::unique_ptr<CObjectsChange> second = step(At(*doc, 0), {0, 10}), third = step(At(*doc, 0), {10, 0});
    EXPECT_FALSE(first->Absorb(*second));  // another object
    EXPECT_TRUE(second->Absorb(*third));
    second->Revert(*doc);
    EXPECT_EQ(DumpList(*doc->m_pEntityList), "Level#0 100,100 201,161 8,8 \"X\" \"\" 0 / Arrow#1 151,21 151,41 151,81 "
                                             "151,100 10,10 / Line#2 100,100 352,333 / next=3");
    first->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
}

// Removing puts the object back at its place with its id; placing takes its
// id back with it. Zoom is no step of the history: a step replayed at the
// other scale puts back what the zoom would have made of it.
TEST(Document, ListChangesAndZoom) {
    auto doc = samples::MixedModel(5);
    const Bytes before = doc->Store();
    CVEntity* middle = doc->m_pEntityList->GetAt(2);
    CRemoveChange remove(2);
    remove.Apply(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetCount(), 4u);
    remove.Revert(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetAt(2), middle);
    EXPECT_EQ(doc->Store(), before);
    CPlaceChange place(MakeToolEntity(ID_TOOL_LINE));
    place.Apply(*doc);
    const Bytes placed = doc->Store();
    EXPECT_EQ(doc->m_pEntityList->GetAt(5)->m_nId, 5);
    place.Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 5);
    place.Apply(*doc);
    EXPECT_EQ(doc->Store(), placed);
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 6);

    const int32_t fontHeight = g_nFontHeight, fontWidth = g_nFontWidth;
    doc = FlowModel();
    auto twin = FlowModel();
    EXPECT_TRUE(twin->ZoomOut());
    EXPECT_FALSE(twin->ZoomOut());
    CMoveSession drag(*doc, At(*doc, 0));
    drag.MoveTo({40, 40});
    std::unique_ptr<CObjectsChange> move = drag.Finish();
    CRemoveChange removeLine(2);
    removeLine.Apply(*doc);
    CSheetSizeChange sheet(*doc, 1001, 777);
    sheet.Apply(*doc);
    doc->ZoomOut();
    sheet.Revert(*doc);
    removeLine.Revert(*doc);
    move->Revert(*doc);
    EXPECT_EQ(doc->Store(), twin->Store());
    move->Apply(*doc);
    sheet.Apply(*doc);
    EXPECT_TRUE(doc->ZoomIn());
    EXPECT_FALSE(doc->ZoomIn());
    EXPECT_EQ(At(*doc, 0).GetPoint(0), (CPoint{140, 140}));
    EXPECT_EQ(doc->m_nWidth, 1000);  // halved at half scale, then doubled
    g_nFontHeight = fontHeight, g_nFontWidth = fontWidth;
}

TEST(Document, MoveKeepsTheListenerThatHearsTheFlag) {
    CVarnelDoc doc, loaded;
    std::vector<bool> heard;
    doc.OnNewDocument();
    doc.SetModifiedListener([&heard](bool b) { heard.push_back(b); });
    loaded.OnNewDocument();
    loaded.SetModifiedFlag();
    doc = std::move(loaded);
    doc.SetModifiedFlag(false);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

// Every value a run can vary, once under its override name; the chosen ones
// written back as one change that undoes to the byte; a slider's range.
TEST(Document, ExperimentValues) {
    auto doc = Model({"Level name=X desc=stock value=6", "Rate name=Bx", "TableData name=T", "Variable name=",
                      "Expert name=e value=0.5", "Switch name=q value=1 value2=2 threshold=25", "Variable name=X",
                      "Line"});
    std::string listed;
    for (const CElementValue& v : ListElementValues(*doc->m_pEntityList))
        listed += v.OverrideName() + "=" + NumberText(v.dValue) + "(" + v.strDescription + "," +
                  std::to_string(static_cast<int>(v.kind)) + std::to_string(static_cast<int>(v.field)) + ") ";
    EXPECT_EQ(listed, "X=6(stock,00) Bx=0(,10) e=0.5(,30) q=1(,40) q.value2=2(,41) q.threshold=25(,42) ");

    const Bytes before = doc->Store();
    EXPECT_EQ(SetElementValues(*doc, {{"X", 6.0}, {"nobody", 1.0}}), nullptr);  // nothing differs
    EXPECT_EQ(doc->Store(), before);
    auto change = SetElementValues(*doc, {{"X", 7.5}, {"q.threshold", 10.0}, {"q", -1.0}, {"nobody", 1.0}});
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(Dump(At(*doc, 0)) + " " + Dump(At(*doc, 5)) + " " + Dump(At(*doc, 6)),
              "Level#0 0,0 0,0 8,8 \"X\" \"stock\" 7.5 Switch#5 0,0 20,24 6,6 \"q\" \"\" -1 2 10 "
              "Variable#6 0,0 0,0 15,15 \"X\" \"\" 0");
    const Bytes after = doc->Store();
    change->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
    change->Apply(*doc);
    EXPECT_EQ(doc->Store(), after);

    for (const auto& [value, from, to] : {std::tuple{0.4, 0.0, 0.8}, {-3.0, -6.0, 0.0}, {0.0, -1.0, 1.0}, {1e308, 0.0, 1e308}})
        EXPECT_EQ(NumberText(CValueRange::Around(value).dFrom) + ":" + NumberText(CValueRange::Around(value).dTo),
                  NumberText(from) + ":" + NumberText(to));
    const CValueRange range{0.1, 0.7};
    EXPECT_EQ(range.ValueAt(0, 1000), 0.1);
    EXPECT_EQ(range.ValueAt(1000, 1000), 0.7);
    EXPECT_EQ(range.ValueAt(333, 1000), 0.2998);  // not 0.29979999999999996
    EXPECT_EQ(range.ValueAt(-5, 1000), 0.1);
    EXPECT_EQ(range.PositionOf(0.2998, 1000), 333);
    EXPECT_EQ(range.PositionOf(5.0, 1000), 1000);
    EXPECT_EQ(range.PositionOf(std::nan(""), 1000), 0);
    EXPECT_EQ((CValueRange{0.0, 200000.0}).ValueAt(1, 1000), 200.0);
}
