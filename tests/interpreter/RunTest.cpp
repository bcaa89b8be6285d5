// Runs of model programs: every corpus row (see Corpus.h) compiled, line by
// line and through build-graphs; and around the interpreter, the name table,
// the diagram's import, value overrides and runs on a copy of the model.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <new>
#include <set>
#include <thread>

#include "Corpus.h"
#include "graphs/Graphic.h"
#include "interpreter/BackgroundRun.h"
#include "interpreter/Interpreter.h"
#include "interpreter/ModelSnapshot.h"
#include "interpreter/NameIndex.h"
#include "interpreter/ProgramCheck.h"
#include "support/RunSnapshot.h"

// This test program's own operator new and delete (every form a sanitizer
// would otherwise serve from its own heap) count the blocks alive.
namespace {
std::atomic<long> g_nBlocks{0};

void* Counted(void* p) noexcept {
    g_nBlocks += p != nullptr;
    return p;
}

void* Allocate(size_t n) {
    void* p = Counted(std::malloc(n ? n : 1));
    return p ? p : throw std::bad_alloc();
}

void Release(void* p) noexcept {
    g_nBlocks -= p != nullptr;
    std::free(p);
}
}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Counted(std::malloc(n ? n : 1)); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Counted(std::malloc(n ? n : 1)); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace {

// Every item the run bears out, as a row writes it; "defined: NAME" too.
std::set<std::string> Items(const CRunSnapshot& run) {
    const std::string prefix = "Interpretation error:\n";
    std::set<std::string> items{std::string("outcome: ") + OutcomeText(run.outcome),
                                "error " + std::to_string(run.nErrorLine) + ": " +
                                    run.strError.substr(run.strError.rfind(prefix, 0) ? 0 : prefix.size()),
                                "steps: " + std::to_string(run.nSteps),
                                "symbols: " + std::to_string(run.symbols.size())};
    std::string polls = "polls:", order = "order:";
    for (uint64_t step : run.polls) polls += " " + std::to_string(step);
    for (const CSymbolSnapshot& s : run.symbols) {
        items.insert("defined: " + s.strName);
        if (s.nKind == SK_NUMBER) items.insert(s.strName + " = " + FormatRoundTrip(s.dValue));
        if (!s.pGraphic) continue;
        const CVGraphic& g = *s.pGraphic;
        order += " " + s.strName;
        items.insert("samples " + s.strName + ": " + std::to_string(g.GetSampleCount()));
        items.insert("graphic " + s.strName + ": color=" + std::to_string(g.m_nColor) + " text=\"" + g.m_strText +
                     "\" loX=" + FormatRoundTrip(g.m_dLoX) + " hiX=" + FormatRoundTrip(g.m_dHiX) +
                     " loY=" + FormatRoundTrip(g.m_dLoY) + " hiY=" + FormatRoundTrip(g.m_dHiY) +
                     " divY=" + FormatRoundTrip(g.m_dDivY));
        std::string samples;
        for (const CSample& p : g.m_samples) samples += ", " + FormatRoundTrip(p.x) + " " + FormatRoundTrip(p.y);
        items.insert("series " + s.strName + ": " + samples.substr(std::min<size_t>(2, samples.size())));
    }
    items.insert({polls, order});
    return items;
}

void ExpectItem(const std::set<std::string>& items, const std::string& item) {
    std::string seen;
    for (const std::string& s : items) seen += "\n  " + s;
    if (item.rfind("undefined: ", 0) == 0)
        EXPECT_FALSE(items.count("defined: " + item.substr(11))) << item;
    else
        EXPECT_TRUE(items.count(item)) << item << "\nnot among:" << seen;
}

void ExpectRow(const CCorpusRow& row) {
    EntityList diagram;
    AddElements(diagram, row.diagram);
    RunControl control;
    bool bEnds = false, bChecked = false;
    std::vector<std::string> errors, findings;
    for (const std::string& item : row.items) {
        if (item.rfind("max-steps: ", 0) == 0) control.nMaxSteps = std::stoull(item.substr(11));
        if (item.rfind("cancel at poll: ", 0) == 0)
            control.pfnPoll = [calls = 0, last = std::stoi(item.substr(16))](uint64_t) mutable { return ++calls < last; };
        if (item.rfind("check ", 0) == 0) findings.push_back(item);
        if (item.rfind("error ", 0) == 0) errors.push_back(item);
        bChecked |= item.rfind("check", 0) == 0;
        bEnds |= item.rfind("error ", 0) == 0 || item.rfind("outcome: ", 0) == 0;
    }
    CInterpreter reference, compiled;
    EXPECT_TRUE(reference.ImportDrawingVariables(&diagram) && compiled.ImportDrawingVariables(&diagram));
    RunControl referenceControl = control;
    referenceControl.bReference = true;
    const CRunSnapshot run = SnapshotRun(compiled, row.strProgram, control);
    EXPECT_EQ(FirstDifference(SnapshotRun(reference, row.strProgram, referenceControl), run), "");
    const std::set<std::string> items = Items(run);
    for (const std::string& item : row.items)
        if (item.rfind("max-steps: ", 0) && item.rfind("cancel at poll: ", 0) && item.rfind("check", 0))
            ExpectItem(items, item);
    if (!bEnds) ExpectItem(items, "outcome: ok");

    // The static check finds what the check items say, else the run's error.
    std::vector<std::string> found;
    for (const CCheckFinding& f : CheckProgram(row.strProgram, &diagram))
        found.push_back((bChecked ? "check " : "error ") + std::to_string(f.nLine) + ": " + FindingText(f));
    EXPECT_EQ(found, bChecked ? findings : errors) << "the static check's findings";

    // Build-graphs ends as the run did and hands over every series when it
    // ends normally, destroying all it made otherwise: a second call leaves
    // no heap block behind (the first settles anything built once).
    size_t series = 0;
    for (const CSymbolSnapshot& s : run.symbols) series += s.nKind == SK_GRAPHIC && run.outcome == RunOutcome::Ok;
    const auto buildGraphs = [&] {
        const BuildGraphsResult built = BuildGraphs(&diagram, row.strProgram, RunControl(control));
        EXPECT_EQ(OutcomeText(built.outcome) + (" " + built.strError) + " line " + std::to_string(built.nErrorLine) +
                      " steps " + std::to_string(built.nSteps) + " series " + std::to_string(built.series.size()),
                  OutcomeText(run.outcome) + (" " + run.strError) + " line " + std::to_string(run.nErrorLine) +
                      " steps " + std::to_string(run.nSteps) + " series " + std::to_string(series));
    };
    buildGraphs();
    const long before = g_nBlocks;
    buildGraphs();
    EXPECT_EQ(g_nBlocks - before, 0) << "heap blocks left by the build-graphs run";
}

// Each row is a test of its own, named by its file and line, so that one
// row can run alone; a file without rows is a failing case of its own.
struct CCorpusCase {
    std::string strFile;
    CCorpusRow row;
};

std::vector<CCorpusCase> CorpusCases() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VARNEL_TESTS_DIR) + "/interpreter/corpus"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<CCorpusCase> cases;
    for (const auto& file : files) {
        const std::vector<CCorpusRow> rows = ReadCorpusFile(file);
        if (rows.empty()) cases.push_back({file.stem().string(), {}});
        for (const CCorpusRow& row : rows) cases.push_back({file.stem().string(), row});
    }
    return cases;
}

void PrintTo(const CCorpusCase& c, std::ostream* out) { *out << c.strFile << ".txt:" << c.row.nLine; }

class CorpusRow : public testing::TestWithParam<CCorpusCase> {};

TEST_P(CorpusRow, RunsBothWaysAsItSays) {
    const CCorpusRow& row = GetParam().row;
    ASSERT_NE(row.nLine, 0) << GetParam().strFile << ".txt has no rows";
    EXPECT_FALSE(row.items.empty()) << "a row without expectations";
    ExpectRow(row);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRow, testing::ValuesIn(CorpusCases()),
                         [](const testing::TestParamInfo<CCorpusCase>& info) {
                             std::string name = info.param.strFile + "_" + std::to_string(info.param.row.nLine);
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// Chains by bucket, newest first, beside an index: a name set again keeps
// its place, every name stays findable through removal and extraction.
TEST(SymbolTable, KeepsItsOrderAndFindsEveryNameThroughRemovalAndExtraction) {
    CNameTable<int> table;
    const auto order = [&] {
        std::string names;
        table.ForEach([&](const std::string& name, int) { names += name + " "; });
        return names;
    };
    for (const char* name : {"g1", "g", "x", "y", "\xff", "g"}) table.Set(name, 1);
    EXPECT_TRUE(table.Remove("x") && !table.Remove("x"));
    EXPECT_EQ(order(), "\xff g y g1 ");
    table.RemoveAll();
    const auto name = [](int i) { return "n" + std::to_string(i); };
    for (int i = 0; i < 5000; ++i) table.Set(name(i), i);
    table.Set(name(8), 3008);
    EXPECT_EQ(table.GetCount(), 5000u);
    for (int i = 0; i < 5000; i += 3) EXPECT_TRUE(table.Remove(name(i)));
    size_t taken = 0;
    table.ExtractIf([](const std::string&, int v) { return v % 3 == 1; }, [&](int) { ++taken; });
    EXPECT_EQ(taken, 1667u);
    EXPECT_EQ(table.GetCount(), 1666u);
    for (int i = 0; i < 5000; ++i)
        EXPECT_EQ(table.Find(name(i)) ? *table.Find(name(i)) : -1, i % 3 != 2 ? -1 : i == 8 ? 3008 : i) << i;
    table.Set(name(0), 42);  // a removed name can come back
    EXPECT_EQ(*table.Find(name(0)), 42);
}

// Names whose slots run across the end of the index's array and back to its
// start: taking out any one of them leaves every other one findable.
TEST(SymbolTable, IndexFindsEveryNameAfterARemovalWhereItsSlotsWrap) {
    using Entry = std::pair<std::string, int>;
    std::vector<Entry> entries;
    for (int i = 0; entries.size() < 7; ++i) {
        const std::string name = "n" + std::to_string(i);
        const size_t home = CNameIndex<Entry>::Hash(name) & 15;
        if (home >= 14 || home == 0) entries.push_back({name, i});
    }
    for (const Entry& gone : entries) {
        CNameIndex<Entry> index;
        index.Reserve(8);  // sixteen slots
        for (Entry& e : entries) index.Add(&e, CNameIndex<Entry>::Hash(e.first));
        index.Remove(gone.first);
        for (const Entry& e : entries)
            EXPECT_EQ(index.Find(e.first, CNameIndex<Entry>::Hash(e.first)) != nullptr, &e != &gone) << e.first;
        EXPECT_EQ(index.Count(), entries.size() - 1);
    }
}

// A run changes its own copies: the diagram keeps its values and a second
// import starts from them again; two elements of one name stop the import.
TEST(BuildGraphs, ImportCopiesTheDiagramsValuesAndRefusesANameTwice) {
    EntityList list;
    AddElements(list, {"level x 4"});
    CInterpreter interp;
    ASSERT_TRUE(interp.ImportDrawingVariables(&list));
    EXPECT_EQ(interp.Run("set x = 0"), RunOutcome::Ok);
    EXPECT_EQ(static_cast<CVLevel*>(list.GetAt(0))->m_dValue, 4);
    ASSERT_TRUE(interp.ImportDrawingVariables(&list));
    EXPECT_EQ(interp.m_symbols.Find("x")->dValue, 4);
    EXPECT_FALSE(interp.ImportDrawingVariables(nullptr));
    list.Add(CorpusElement("rate x 1"));
    EXPECT_EQ(BuildGraphs(&list, "graphic g").strError, "Import drawing variables:\nVariable x redefinition.");
}

std::vector<CSample> Samples(const BuildGraphsResult& result) {
    return result.outcome == RunOutcome::Ok && !result.series.empty() ? result.series[0]->m_samples
                                                                      : std::vector<CSample>{};
}

// NAME=VALUE with a finite decimal VALUE sets a number, a switch's value
// below or from the threshold (NAME.value2) or its threshold, an exact name
// before a switch field; any other name is the run's failure.
TEST(ValueOverride, SetsNumbersAndSwitchFieldsAndNamesWhatItMisses) {
    CValueOverride o;
    std::string error;
    for (const char* bad : {"k", "=1", "k=", "k=abc", "k=1x", "k=inf", "k=nan", "k= 1", "a=b=1"})
        EXPECT_FALSE(ParseValueOverride(bad, o, error)) << bad;
    EXPECT_NE(error.find("'b=1'"), std::string::npos) << error;

    EntityList list;
    AddElements(list, {"variable x 1", "switch s 1 2 5", "variable a.threshold 4", "table t 0 1 1 1 2"});
    const std::string program = ProgramText("graphic g|plot g x s(x)|plot g a.threshold x");
    const BuildGraphsResult result =
        BuildGraphs(&list, program, {}, {{"x", 6}, {"s.threshold", 6}, {"s.value2", -2}, {"a.threshold", 9}});
    EXPECT_EQ(Samples(result), (std::vector<CSample>{{6, -2}, {9, 6}}));
    for (const char* unknown : {"t", "nosuch", "x.threshold", "s.value", "nosuch.value2"}) {
        const BuildGraphsResult missed = BuildGraphs(&list, program, {}, {{"x", 2}, {unknown, 1}});
        EXPECT_EQ(OutcomeText(missed.outcome) + (" " + missed.strUnknownName), "unknown name " + std::string(unknown));
    }
}

// A copy of a model runs as the diagram did after the diagram is gone; a
// newer request cancels the run going, and only runs that started report.
TEST(BackgroundRun, RunsACopyOfTheModelAndANewerRequestCancelsTheRunGoing) {
    auto diagram = std::make_unique<EntityList>();
    AddElements(*diagram, {"table T 0 2 1 1 4 9", "switch S -1 1 0.5", "level L 0.25"});
    const std::string program = ProgramText(
        "var x|var y|graphic g|mark top|set y = T(x) + S(x) + L|plot g x y|set x = x + 0.125|if x < 2.5|goto top");
    const std::vector<CSample> expected = Samples(BuildGraphs(diagram.get(), program, {}, {{"L", 100}}));
    ASSERT_EQ(expected.size(), 20u);
    auto model = std::make_shared<const CModelSnapshot>(diagram.get(), program);
    auto endless = std::make_shared<const CModelSnapshot>(diagram.get(), "mark a\r\ngoto a");
    EXPECT_TRUE(model->SameAs(CModelSnapshot(diagram.get(), program)));
    EXPECT_FALSE(model->SameAs(CModelSnapshot(diagram.get(), program + "\r\n")));
    static_cast<CVTableData*>(diagram->GetAt(0))->m_data[2] = 10.0;
    EXPECT_FALSE(model->SameAs(CModelSnapshot(diagram.get(), program)));
    diagram.reset();

    std::mutex mutex;
    std::vector<std::string> reports;
    std::vector<CSample> samples;
    auto runner = std::make_unique<CBackgroundRun>([&](uint64_t nTicket, BuildGraphsResult result) {
        const std::lock_guard lock(mutex);
        reports.push_back(std::to_string(nTicket) + " " + OutcomeText(result.outcome));
        samples = Samples(result);
    });
    const auto waitFor = [&](auto condition) {
        for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return condition();
    };
    const auto reported = [&] {
        const std::lock_guard lock(mutex);
        return reports;
    };
    EXPECT_EQ(runner->Submit({endless, {}, 0}), 1u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 1; }));
    EXPECT_EQ(runner->Submit({model, {{"L", 100.0}}, 0}), 2u);
    ASSERT_TRUE(waitFor([&] { return reported().size() == 2; }));
    EXPECT_EQ(reported(), (std::vector<std::string>{"1 cancelled", "2 ok"}));
    EXPECT_EQ(samples, expected);
    // A run that never ends stops when its owner goes, and says nothing.
    EXPECT_EQ(runner->Submit({endless, {}, 0}), 3u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 3; }));
    runner.reset();
    EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
