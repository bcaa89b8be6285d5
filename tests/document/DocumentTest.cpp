// The model: its files (models.txt), changes judged by the whole file they leave
// (changes/, a test per row), the values an experiment varies, the heap a running program asks for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <new>
#include <random>

#include "diagram/FontCell.h"
#include "document/ExperimentValues.h"
#include "document/MoveSession.h"
#include "interpreter/Interpreter.h"
#include "support/ModelBytes.h"
#include "support/ModelSamples.h"
#include "support/DiagramScript.h"

namespace {  // the largest heap request, and how many, while a probe lives
std::atomic<bool> g_bProbing{false};
std::atomic<size_t> g_nLargest{0}, g_nCount{0};
struct Probe {
    Probe() {
        g_nLargest = 0;
        g_nCount = 0;
        g_bProbing = true;
    }
    ~Probe() { g_bProbing = false; }
};
}  // namespace

void* operator new(size_t n) {
    if (g_bProbing) {
        ++g_nCount;
        g_nLargest = std::max<size_t>(g_nLargest, n);
    }
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
    return std::to_string(doc.m_nWidth) + "x" + std::to_string(doc.m_nHeight) + (doc.m_bFullScale ? " full \"" : " half \"") +
           Escaped(doc.m_strProgram) + "\" " + DumpList(*doc.m_pEntityList);
}

// Loaded into a busy model: what it becomes (storing as a fixed point), or the failure, leaving a new model.
std::string Load(const Bytes& bytes) {
    auto doc = samples::MixedModel(3, "old program");
    doc->m_nWidth = 1;
    doc->SetModifiedFlag();
    try {
        doc->Load(bytes);
    } catch (const CFileError& e) {
        EXPECT_EQ(Describe(*doc) + std::to_string(doc->IsModified()), "640x480 full \"\" next=00");
        if (e.Kind() == FileErrorKind::NotAModel) return "not a model";
        return e.Kind() == FileErrorKind::BadFormat ? "bad format" : "internal data: " + std::string(e.what());
    }
    CVarnelDoc again;
    again.Load(doc->Store());
    EXPECT_EQ(again.Store(), doc->Store());
    return Describe(*doc) + (doc->IsModified() ? " modified" : "");
}

// Cut short anywhere it fails; any byte overwritten, or a few random overwrites,
// deletions, insertions and extreme int32s, and it loads or fails cleanly.
void ExpectDamageHandled(const Bytes& good) {
    for (size_t pos = 0; pos < good.size(); ++pos) {
        EXPECT_EQ(Load(Bytes(good.begin(), good.begin() + long(pos))), "bad format") << pos;
        Bytes bad = good;
        for (const int value : {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF, good[pos] ^ 0x40}) Load((bad[pos] = uint8_t(value), bad));
    }
    std::minstd_rand next(static_cast<uint32_t>(good.size()));  // the same edits on every run
    auto random = [&next](size_t below) { return below ? next() % below : 0; };
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

// The parts of a model a change can touch, in order: the sheet, the scale,
// the program, every object at its place, the id counter.
std::vector<std::pair<std::string, std::string>> ModelParts(const CVarnelDoc& doc) {
    std::vector<std::pair<std::string, std::string>> parts;
    parts.emplace_back("sheet", std::to_string(doc.m_nWidth) + "x" + std::to_string(doc.m_nHeight));
    parts.emplace_back("scale", doc.m_bFullScale ? "full" : "half");
    parts.emplace_back("program", "\"" + Escaped(doc.m_strProgram) + "\"");
    const EntityList& list = *doc.m_pEntityList;
    for (size_t i = 0; i < list.GetCount(); ++i) {
        const CVEntity& e = *list.GetAt(i);
        const std::string key = std::string(e.GetRuntimeClass()->m_lpszClassName + 2) + "#" + std::to_string(e.m_nId);
        parts.emplace_back(key, std::to_string(i) + ":" + Dump(e));
    }
    parts.emplace_back("next", std::to_string(list.m_nNextId));
    return parts;
}

// What differs between two states of a model: name=VALUE for the sheet, the
// scale, the program and the counter; an object as INDEX:DUMP when it is new,
// moved or changed, and -CLASS#ID when it is gone. "no change" when none.
std::string ChangedParts(const std::vector<std::pair<std::string, std::string>>& before,
                         const std::vector<std::pair<std::string, std::string>>& after) {
    std::string s;
    auto add = [&s](const std::string& text) {
        if (!s.empty()) s += " / ";
        s += text;
    };
    auto find = [](const auto& parts, const std::string& key) {
        return std::find_if(parts.begin(), parts.end(), [&key](const auto& part) { return part.first == key; });
    };
    for (const auto& [key, value] : before) {
        if (find(after, key) == after.end()) add("-" + key);
    }
    for (const auto& [key, value] : after) {
        const auto old = find(before, key);
        if (old != before.end() && old->second == value) continue;
        const bool object = key.find('#') != std::string::npos;
        add(object ? value : key + "=" + value);
    }
    return s.empty() ? "no change" : s;
}

// The diagram script with the model's commands (changes/*.txt).
class DocumentScript : public DiagramScript {
protected:
    std::string More(const std::string& command, std::istream& in) override;

private:
    std::string NewModel(const std::string& command, std::istream& in);
    std::string Drag(const std::string& command, std::istream& in);
    std::string Keep(std::unique_ptr<CDocChange> change);
    std::string Values(std::istream& in);
    std::string Varied();

    std::unique_ptr<CVarnelDoc> doc;
    std::unique_ptr<CMoveSession> drag;
    std::vector<std::unique_ptr<CDocChange>> changes;  // in the order made
    std::map<std::string, Bytes> marks;                // files as they were
};

// model: a new model; mixed N: one of N mixed objects. Both answer the whole model.
std::string DocumentScript::NewModel(const std::string& command, std::istream& in) {
    if (command == "model") {
        doc = std::make_unique<CVarnelDoc>();
        doc->OnNewDocument();
    } else {
        int count = 0;
        in >> count;
        doc = samples::MixedModel(count);
    }
    list = doc->m_pEntityList.get();
    list->UseFontCell(&cell);
    changes.clear();
    return Describe(*doc);
}

// drag N OFFSET...: whether each offset moved the object, then the offset
// kept; step N OFFSET... ends the move at once and answers as done does.
std::string DocumentScript::Drag(const std::string& command, std::istream& in) {
    size_t index = 0;
    in >> index;
    drag = std::make_unique<CMoveSession>(*doc, *list->GetAt(index));
    std::string moved;
    for (CPoint offset : ReadPoints(in)) moved += drag->MoveTo(offset) ? '1' : '0';
    if (command == "drag") return moved + " " + PointText(drag->Offset());
    return Keep(drag->Finish());
}

// "change N" when there is a change to keep, else "none".
std::string DocumentScript::Keep(std::unique_ptr<CDocChange> change) {
    if (!change) return "none";
    changes.push_back(std::move(change));
    return "change " + std::to_string(changes.size() - 1);
}

// NAME=VALUE...: the values set as one change.
std::string DocumentScript::Values(std::istream& in) {
    std::vector<CValueOverride> values;
    for (std::string word; in >> word;) {
        const size_t eq = word.find('=');
        values.push_back({word.substr(0, eq), std::stod(word.substr(eq + 1))});
    }
    return Keep(SetElementValues(*doc, values));
}

// Every value a run can vary: NAME=VALUE(description,kind field).
std::string DocumentScript::Varied() {
    std::string s;
    for (const CElementValue& v : ListElementValues(*list)) {
        if (!s.empty()) s += " ";
        s += v.OverrideName() + "=" + NumberText(v.dValue) + "(" + v.strDescription + "," +
             std::to_string(static_cast<int>(v.kind)) + std::to_string(static_cast<int>(v.field)) + ")";
    }
    return s;
}

// The changes (remove N, place CLASS, sheet W H, revert N, apply N) answer
// what they changed in the model (ChangedParts).
std::string DocumentScript::More(const std::string& command, std::istream& in) {
    if (command == "model" || command == "mixed") return NewModel(command, in);
    if (command == "drag" || command == "step") return Drag(command, in);
    if (command == "done") return Keep(drag->Finish());
    if (command == "setvalues") return Values(in);
    if (command == "varied") return Varied();
    if (command == "describe") return Describe(*doc);
    if (command == "mark") {
        marks[Rest(in)] = doc->Store();
        return "";
    }
    if (command == "same") return std::to_string(marks.at(Rest(in)) == doc->Store());  // the file is as marked
    if (command == "zoomin") return std::to_string(doc->ZoomIn());
    if (command == "zoomout") return std::to_string(doc->ZoomOut());
    size_t n = 0;
    size_t m = 0;
    if (command == "is") {  // whether object N is the current one
        in >> n;
        return std::to_string(list->GetAt(n) == e);
    }
    if (command == "absorb") {  // whether change N takes change M in
        in >> n >> m;
        return std::to_string(changes.at(n)->Absorb(*changes.at(m)));
    }
    const auto before = ModelParts(*doc);
    if (command == "revert" || command == "apply") {
        in >> n;
        if (command == "revert") {
            changes.at(n)->Revert(*doc);
        } else {
            changes.at(n)->Apply(*doc);
        }
        return ChangedParts(before, ModelParts(*doc));
    }
    std::unique_ptr<CDocChange> change;
    if (command == "remove") {
        in >> n;
        change = std::make_unique<CRemoveChange>(n);
    } else if (command == "place") {
        change = std::make_unique<CPlaceChange>(MakeDescribedClass(Rest(in)));
    } else if (command == "sheet") {
        int32_t width = 0;
        int32_t height = 0;
        in >> width >> height;
        change = std::make_unique<CSheetSizeChange>(*doc, width, height);
    } else {
        return "?";
    }
    change->Apply(*doc);
    const std::string kept = Keep(std::move(change));
    return kept + ": " + ChangedParts(before, ModelParts(*doc));
}

}  // namespace

TEST(Document, ModelFiles) {
    CVarnelDoc doc;
    doc.SetModifiedFlag();
    doc.OnNewDocument();
    EXPECT_EQ(Describe(doc) + std::to_string(doc.IsModified()), "640x480 full \"\" next=00");
    doc.m_strProgram = "~!~ End Program ~!~";  // written as it is, read back as the end
    EXPECT_EQ(doc.Store().size(), 84u);
    const std::pair<std::string, std::string> parts[] = {
        {"{head}", kHeader640x480}, {"{start}", kStartMarker}, {"{end}", kEndMarker},
        {"{mixed}", HexText(samples::MixedModel(16, "var x = 1\r\nset x = x + 1\r\n")->Store())}};
    for (GoldenCase c : GoldenTable("document/models.txt")) {
        SCOPED_TRACE("models.txt:" + std::to_string(c.line));
        for (const auto& [name, hex] : parts) {
            for (size_t at = c.input.find(name); at != std::string::npos; at = c.input.find(name)) {
                c.input.replace(at, name.size(), hex);
            }
        }
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

// Writing replaces the file by a rename: it keeps its permissions, a link stays a link.
TEST(Document, Files) {
    namespace fs = std::filesystem;
    EXPECT_THROW(ReadFileBytes(::testing::TempDir()), CFileError);
    EXPECT_THROW(WriteFileBytes("/nonexistent-folder/model.vrn", Bytes{1}), CFileError);
    auto missing = [] { ReadFileBytes("/nonexistent-folder/model.vrn"); };
    EXPECT_THAT(missing, testing::ThrowsMessage<CFileError>(testing::HasSubstr("model.vrn")));
    EXPECT_THAT(missing, testing::Throws<CFileError>(testing::Property(&CFileError::Kind, FileErrorKind::CannotOpen)));
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

// A run allocates nothing per statement: over a loop of six (arithmetic, a table, a switch,
// a plot, a test, a jump) the only requests are its compilation and the samples' growth.
TEST(Document, RunAllocatesNothingPerStatement) {
    auto allocations = [](int steps) {
        EntityList diagram;
        AddDescribed(diagram, "TableData name=T to=10 step=2.5 data=1/2/4/8/16");
        AddDescribed(diagram, "Switch name=W value=1 value2=0.5 threshold=5");
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

class ChangeRow : public ::testing::TestWithParam<ScriptRow> {};

TEST_P(ChangeRow, Answers) {
    DocumentScript script;
    script.RunUpTo(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangeRow,
                         ::testing::ValuesIn(ScriptRows({"document/changes/moves.txt", "document/changes/objects.txt",
                                                         "document/changes/zoom.txt", "document/changes/values.txt"})),
                         RowName);

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

// A slider's range around a value and the short values along it.
TEST(Document, ValueRanges) {
    std::string ranges;
    for (double value : {0.4, -3.0, 0.0, 1e308})
        ranges += NumberText(CValueRange::Around(value).dFrom) + ":" + NumberText(CValueRange::Around(value).dTo) + " ";
    const CValueRange range{0.1, 0.7};
    for (int pos : {0, 1000, 333, -5}) ranges += NumberText(range.ValueAt(pos, 1000)) + " ";  // 0.2998, not 0.29979999999999996
    for (double value : {0.2998, 5.0, std::nan("")}) ranges += std::to_string(range.PositionOf(value, 1000)) + " ";
    EXPECT_EQ(ranges + NumberText(CValueRange{0.0, 200000.0}.ValueAt(1, 1000)) + " " + NumberText(CValueRange{0, 1}.ValueAt(1, 3)),
              "0:0.8 -6:0 -1:1 0:1e+308 0.1 0.7 0.2998 0.1 333 1000 0 200 0.33");
}
