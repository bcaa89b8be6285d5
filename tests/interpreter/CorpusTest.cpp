// Every corpus row (see Corpus.h) runs compiled and line by line: both runs
// must leave exactly the same (outcome, message, line, steps, polls, every
// symbol and sample to the bit), the build-graphs run must end as they did
// and leave no heap block behind, and all must bear out the row's items.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <set>

#include "Corpus.h"
#include "interpreter/ProgramCheck.h"
#include "support/RunSnapshot.h"

// This test program's own operator new and delete (every form a sanitizer
// would otherwise serve from its own heap) count the blocks alive.
namespace {
std::atomic<long> g_nBlocks{0};

void* AllocateOrNull(size_t n) noexcept {
    void* p = std::malloc(n ? n : 1);
    g_nBlocks += p != nullptr;
    return p;
}

void* Allocate(size_t n) {
    void* p = AllocateOrNull(n);
    return p ? p : throw std::bad_alloc();
}

void Release(void* p) noexcept {
    g_nBlocks -= p != nullptr;
    std::free(p);
}
}  // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace {

// The heap blocks the second of two calls of fn left (the first settles
// anything built once per process).
template <typename Fn>
long BlocksLeftBy(Fn fn) {
    fn();
    const long before = g_nBlocks;
    fn();
    return g_nBlocks - before;
}

// Every item the run bears out, written as a row writes it, and "defined:
// NAME" for every symbol.
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
    std::vector<std::string> expected, errors, findings;
    for (const std::string& item : row.items) {
        if (item.rfind("max-steps: ", 0) == 0) control.nMaxSteps = std::stoull(item.substr(11));
        if (item.rfind("cancel at poll: ", 0) == 0)
            control.pfnPoll = [calls = 0, last = std::stoi(item.substr(16))](uint64_t) mutable { return ++calls < last; };
        bChecked |= item.rfind("check", 0) == 0;
        bEnds |= item.rfind("error ", 0) == 0 || item.rfind("outcome: ", 0) == 0;
        (item.rfind("check ", 0) == 0 ? findings : item.rfind("error ", 0) == 0 ? errors : expected).push_back(item);
    }
    CInterpreter reference, compiled;
    EXPECT_TRUE(reference.ImportDrawingVariables(&diagram) && compiled.ImportDrawingVariables(&diagram));
    RunControl referenceControl = control;
    referenceControl.bReference = true;
    const CRunSnapshot run = SnapshotRun(compiled, row.strProgram, control);
    EXPECT_EQ(FirstDifference(SnapshotRun(reference, row.strProgram, referenceControl), run), "");
    const std::set<std::string> items = Items(run);
    for (const std::string& item : expected)
        if (item.rfind("max-steps: ", 0) && item.rfind("cancel at poll: ", 0) && item != "check: none")
            ExpectItem(items, item);
    for (const std::string& item : errors) ExpectItem(items, item);
    if (!bEnds) ExpectItem(items, "outcome: ok");

    // The static check finds what the check items say, else the run's error.
    std::vector<std::string> found;
    for (const CCheckFinding& f : CheckProgram(row.strProgram, &diagram))
        found.push_back((bChecked ? "check " : "error ") + std::to_string(f.nLine) + ": " + FindingText(f));
    EXPECT_EQ(found, bChecked ? findings : errors) << "the static check's findings";

    // Build-graphs ends as the run did and hands over every series when it
    // ends normally, destroying all it made otherwise.
    size_t series = 0;
    for (const CSymbolSnapshot& s : run.symbols) series += s.nKind == SK_GRAPHIC && run.outcome == RunOutcome::Ok;
    const long left = BlocksLeftBy([&] {
        const BuildGraphsResult built = BuildGraphs(&diagram, row.strProgram, RunControl(control));
        EXPECT_EQ(OutcomeText(built.outcome) + (" " + built.strError) + " line " + std::to_string(built.nErrorLine),
                  OutcomeText(run.outcome) + (" " + run.strError) + " line " + std::to_string(run.nErrorLine));
        EXPECT_EQ(built.nSteps, run.nSteps);
        EXPECT_EQ(built.series.size(), series);
    });
    EXPECT_EQ(left, 0) << "heap blocks left by the build-graphs run";
}

TEST(Corpus, EveryRowRunsBothWaysAsItSays) {
    for (const auto& entry : std::filesystem::directory_iterator(std::string(VARNEL_TESTS_DIR) + "/interpreter/corpus"))
        for (const CCorpusRow& row : ReadCorpusFile(entry.path())) {
            SCOPED_TRACE(entry.path().filename().string() + ":" + std::to_string(row.nLine));
            EXPECT_FALSE(row.items.empty()) << "a row without expectations";
            ExpectRow(row);
        }
}

}  // namespace
