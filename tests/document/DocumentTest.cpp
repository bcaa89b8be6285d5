// The model: its file (models.txt) and damaged files, undoable changes
// judged by the whole file they leave, the values an experiment varies,
// and the heap a running program asks for.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <filesystem>
#include <new>

#include "diagram/FontCell.h"
#include "document/ExperimentValues.h"
#include "document/MoveSession.h"
#include "interpreter/Interpreter.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"
#include "support/Scene.h"

namespace {  // the largest heap request, and how many, while a probe lives
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

std::string Describe(const CVarnelDoc& doc) {
    const std::string& p = doc.m_strProgram;
    return std::to_string(doc.m_nWidth) + "x" + std::to_string(doc.m_nHeight) + (doc.m_bFullScale ? " full " : " half ") +
           (p.size() > 64 ? std::to_string(p.size()) + " bytes" : "\"" + Escaped(p) + "\"") + " " +
           DumpList(*doc.m_pEntityList);
}

// Loaded into a model that holds something: the model it becomes, or the
// failure, which leaves a new model. Whatever loads stores as a fixed point.
std::string Load(const Bytes& bytes) {
    auto doc = samples::MixedModel(3, "old program");
    doc->m_nWidth = 1;
    doc->SetModifiedFlag();
    try {
        doc->Load(bytes);
    } catch (const CFileError& e) {
        EXPECT_EQ(Describe(*doc) + std::to_string(doc->IsModified()), "640x480 full \"\" next=00");
        return e.Kind() == FileErrorKind::BadFormat ? "bad format" : "internal data: " + std::string(e.what());
    }
    CVarnelDoc again;
    again.Load(doc->Store());
    EXPECT_EQ(again.Store(), doc->Store());
    return Describe(*doc) + (doc->IsModified() ? " modified" : "");
}

// Cut short anywhere it fails; any byte overwritten, or a few random
// overwrites, deletions, insertions and extreme int32s, and it loads or
// fails cleanly.
void ExpectDamageHandled(const Bytes& good) {
    for (size_t pos = 0; pos < good.size(); ++pos) {
        EXPECT_EQ(Load(Bytes(good.begin(), good.begin() + long(pos))), "bad format") << pos;
        for (const int value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF, good[pos] ^ 0x40}) {
            Bytes bad = good;
            bad[pos] = static_cast<uint8_t>(value);
            Load(bad);
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
            const size_t pos = random(bad.size()), kind = random(4);
            if (kind == 1) bad.erase(bad.begin() + long(pos));
            if (kind == 2) bad.insert(bad.begin() + long(pos), static_cast<uint8_t>(random(256)));
            for (size_t k = pos; kind != 1 && kind != 2 && k < std::min(pos + (kind ? 4 : 1), bad.size()); ++k)
                bad[k] = static_cast<uint8_t>(kind == 0 ? random(256) : k < pos + 3 || random(2) ? 0xFF : 0x7F);
        }
        Load(bad);
    }
}

}  // namespace

TEST(Document, ModelFiles) {
    CVarnelDoc doc;
    EXPECT_EQ(doc.m_pEntityList, nullptr);
    doc.SetModifiedFlag();
    doc.OnNewDocument();
    EXPECT_EQ(Describe(doc) + std::to_string(doc.IsModified()), "640x480 full \"\" next=00");
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
        CVarnelDoc back;
        if (c.bothWays) EXPECT_EQ((back.Load(bytes), back.Store()), bytes);
        if (c.bothWays && bytes.size() < 4096) ExpectDamageHandled(bytes);
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
    const fs::path file = ::testing::TempDir() + "varnel_doc.vrn", link = ::testing::TempDir() + "varnel_doc_link.vrn";
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
    EXPECT_LE(longRun - shortRun, 5u) << shortRun << " then " << longRun;  // a few more doublings
}

namespace {

std::unique_ptr<CVarnelDoc> Model(std::initializer_list<const char*> specs) {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    for (const char* spec : specs) AddSpec(*doc->m_pEntityList, spec);
    return doc;
}

// A level with a flow arrow ending on its top edge and a line beside it.
std::unique_ptr<CVarnelDoc> FlowModel() {
    return Model({"Level 100,100 201,161 name=X", "Arrow 151,21 151,41 151,81 151,100", "Line 300,300 351,333"});
}

// Reverted, the change gives back the file of before; applied again, that of now.
void ExpectUndoRedo(CVarnelDoc& doc, CDocChange& change, const Bytes& before) {
    const Bytes after = doc.Store();
    change.Revert(doc);
    EXPECT_EQ(doc.Store(), before);
    change.Apply(doc);
    EXPECT_EQ(doc.Store(), after);
}

std::unique_ptr<CObjectsChange> Step(CVarnelDoc& doc, size_t object, CPoint offset) {
    CMoveSession step(doc, *doc.m_pEntityList->GetAt(object));
    step.MoveTo(offset);
    return step.Finish();
}

}  // namespace

// A drag takes the glued flow along and stops at the sheet's edges; steps
// of one object join into one undo; a drag back to the start leaves none.
TEST(Document, MovesUndoToTheByte) {
    auto doc = FlowModel();
    const Bytes before = doc->Store();
    CMoveSession drag(*doc, *doc->m_pEntityList->GetAt(0));
    EXPECT_EQ((std::vector<bool>{drag.MoveTo({-30, 10}), drag.MoveTo({-30, 10}), drag.MoveTo({-150, 1000})}),
              (std::vector<bool>{true, false, true}));
    EXPECT_EQ(PointText(drag.Offset()) + " " + DumpList(*doc->m_pEntityList),
              "-100,319 Level#0 0,419 101,480 8,8 \"X\" \"\" 0 / Arrow#1 151,21 151,41 51,400 51,419 10,10 / "
              "Line#2 300,300 351,333 / next=3");
    ExpectUndoRedo(*doc, *drag.Finish(), before);
    CMoveSession back(*doc, *doc->m_pEntityList->GetAt(2));
    back.MoveTo({5, 5});
    back.MoveTo({0, 0});
    EXPECT_EQ(back.Finish(), nullptr);

    doc = FlowModel();
    std::unique_ptr<CObjectsChange> first = Step(*doc, 2, {1, 0});
    doc->m_pEntityList->GetAt(2)->GetPoint(0) = {100, 100};  // on the level's corner: its steps take it along
    std::unique_ptr<CObjectsChange> second = Step(*doc, 0, {0, 10}), third = Step(*doc, 0, {10, 0});
    EXPECT_FALSE(first->Absorb(*second));  // another object
    EXPECT_TRUE(second->Absorb(*third));
    second->Revert(*doc);
    EXPECT_EQ(DumpList(*doc->m_pEntityList), "Level#0 100,100 201,161 8,8 \"X\" \"\" 0 / Arrow#1 151,21 151,41 151,81 "
                                             "151,100 10,10 / Line#2 100,100 352,333 / next=3");
    first->Revert(*doc);
    EXPECT_EQ(doc->Store(), before);
}

// Removing puts the object back at its place with its id; placing takes its
// id back with it. Zoom is no step of the history: steps replayed at the
// other scale put back what the zoom would have made of them.
TEST(Document, ListChangesAndZoom) {
    auto doc = samples::MixedModel(5);
    const Bytes before = doc->Store();
    CVEntity* middle = doc->m_pEntityList->GetAt(2);
    CRemoveChange remove(2);
    remove.Apply(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetCount(), 4u);
    ExpectUndoRedo(*doc, remove, before);
    remove.Revert(*doc);
    EXPECT_EQ(doc->m_pEntityList->GetAt(2), middle);
    CPlaceChange place(MakeToolEntity(ID_TOOL_LINE));
    place.Apply(*doc);
    EXPECT_EQ(Dump(*doc->m_pEntityList->GetAt(5)) + " next=" + std::to_string(doc->m_pEntityList->m_nNextId), "Line#5 0,0 0,0 next=6");
    ExpectUndoRedo(*doc, place, before);
    place.Revert(*doc);
    EXPECT_EQ(doc->m_pEntityList->m_nNextId, 5);

    const int32_t fontHeight = g_nFontHeight, fontWidth = g_nFontWidth;
    doc = FlowModel();
    auto twin = FlowModel();
    EXPECT_EQ((std::vector<bool>{twin->ZoomOut(), twin->ZoomOut()}), (std::vector<bool>{true, false}));
    std::unique_ptr<CObjectsChange> move = Step(*doc, 0, {40, 40});
    CRemoveChange removeLine(2);
    CSheetSizeChange sheet(*doc, 1001, 777);
    removeLine.Apply(*doc);
    sheet.Apply(*doc);
    doc->ZoomOut();
    sheet.Revert(*doc);
    removeLine.Revert(*doc);
    move->Revert(*doc);
    EXPECT_EQ(doc->Store(), twin->Store());
    move->Apply(*doc);
    sheet.Apply(*doc);
    EXPECT_EQ((std::vector<bool>{doc->ZoomIn(), doc->ZoomIn()}), (std::vector<bool>{true, false}));
    EXPECT_EQ(Describe(*doc), "1000x776 full \"\" Level#0 140,140 240,200 8,8 \"X\" \"\" 0 / Arrow#1 150,20 150,40 "
                              "190,120 190,140 10,10 / Line#2 300,300 350,332 / next=3");  // odd units lost
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
                      "Expert name=e value=0.5", "Switch name=q value=1 value2=2 threshold=25", "Variable name=X"});
    std::string listed;
    for (const CElementValue& v : ListElementValues(*doc->m_pEntityList))
        listed += v.OverrideName() + "=" + NumberText(v.dValue) + "(" + v.strDescription + "," +
                  std::to_string(static_cast<int>(v.kind)) + std::to_string(static_cast<int>(v.field)) + ") ";
    EXPECT_EQ(listed, "X=6(stock,00) Bx=0(,10) e=0.5(,30) q=1(,40) q.value2=2(,41) q.threshold=25(,42) ");
    const Bytes before = doc->Store();
    EXPECT_EQ(SetElementValues(*doc, {{"X", 6.0}, {"nobody", 1.0}}), nullptr);  // nothing differs
    auto change = SetElementValues(*doc, {{"X", 7.5}, {"q.threshold", 10.0}, {"q", -1.0}, {"nobody", 1.0}});
    EXPECT_EQ(Dump(*doc->m_pEntityList->GetAt(0)) + " " + Dump(*doc->m_pEntityList->GetAt(5)) + " " +
                  Dump(*doc->m_pEntityList->GetAt(6)),
              "Level#0 0,0 0,0 8,8 \"X\" \"stock\" 7.5 Switch#5 0,0 20,24 6,6 \"q\" \"\" -1 2 10 "
              "Variable#6 0,0 0,0 15,15 \"X\" \"\" 0");
    ExpectUndoRedo(*doc, *change, before);

    std::string ranges;
    for (double value : {0.4, -3.0, 0.0, 1e308})
        ranges += NumberText(CValueRange::Around(value).dFrom) + ":" + NumberText(CValueRange::Around(value).dTo) + " ";
    const CValueRange range{0.1, 0.7};
    for (int pos : {0, 1000, 333, -5}) ranges += NumberText(range.ValueAt(pos, 1000)) + " ";  // 0.2998, not 0.29979999999999996
    for (double value : {0.2998, 5.0, std::nan("")}) ranges += std::to_string(range.PositionOf(value, 1000)) + " ";
    EXPECT_EQ(ranges + NumberText(CValueRange{0.0, 200000.0}.ValueAt(1, 1000)),
              "0:0.8 -6:0 -1:1 0:1e+308 0.1 0.7 0.2998 0.1 333 1000 0 200");
}
