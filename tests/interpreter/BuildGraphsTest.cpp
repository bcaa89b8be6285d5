// The whole build-graphs run: the diagram's import, the order of the series
// by their names' hash, sorting, the teardown that leaves no series behind
// on an error or a stopped run, value overrides, and runs side by side.
#include <gtest/gtest.h>

#include <thread>

#include "HeapBlocks.h"
#include "RunHelpers.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/SymbolTable.h"

namespace {

std::vector<std::string> Captions(const BuildGraphsResult& result) {
    std::vector<std::string> captions;
    for (const auto& pSeries : result.series) captions.push_back(pSeries->m_strText);
    return captions;
}

std::unique_ptr<CVEntity> Named(const std::string& name, SymbolRec rec) {
    return std::make_unique<CNamedStub>(name, rec);
}

TEST(SymbolTable, HashExamples) {
    EXPECT_EQ(HashName("g1"), 3448u);
    EXPECT_EQ(HashName("x"), 120u);
    EXPECT_EQ(HashName("y"), 121u);
    EXPECT_EQ(HashName("g"), 103u);
    EXPECT_EQ(HashName("\xff"), 4294967295u);
    EXPECT_EQ(HashName("\xe0"), 4294967264u);
    EXPECT_EQ(HashName("\xff") % 17, 0u);
    EXPECT_EQ(HashName("\xe0") % 17, 3u);
}

TEST(SymbolTable, IteratesByBucketNewestFirstAndKeepsPlaceOnOverwrite) {
    CNameTable<int> table;
    for (const char* name : {"g1", "g", "x", "y", "\xff"}) table.Set(name, 1);
    table.Set("g", 2);
    std::vector<std::string> order;
    table.ForEach([&](const std::string& name, int) { order.push_back(name); });
    EXPECT_EQ(order, (std::vector<std::string>{"\xff", "x", "g", "y", "g1"}));
    EXPECT_EQ(*table.Find("g"), 2);
    EXPECT_TRUE(table.Remove("x"));
    EXPECT_FALSE(table.Remove("x"));
    order.clear();
    table.ForEach([&](const std::string& name, int) { order.push_back(name); });
    EXPECT_EQ(order, (std::vector<std::string>{"\xff", "g", "y", "g1"}));
}

std::string NameOf(int i) { return "n" + std::to_string(i); }

// Lookups go through an index beside the ordered chains; every name must
// stay findable through removal and extraction.
TEST(SymbolTable, ManyNamesStayFindableThroughRemovalAndExtraction) {
    constexpr int kNames = 5000;
    CNameTable<int> table;
    for (int i = 0; i < kNames; ++i) table.Set(NameOf(i), i);
    table.Set(NameOf(8), 3008);  // overwriting keeps a single entry
    EXPECT_EQ(table.GetCount(), static_cast<size_t>(kNames));

    for (int i = 0; i < kNames; i += 3) EXPECT_TRUE(table.Remove(NameOf(i)));
    std::vector<int> taken;
    table.ExtractIf([](const std::string&, int v) { return v % 3 == 1; }, [&](int v) { taken.push_back(v); });
    EXPECT_EQ(taken.size(), 1667u);
    EXPECT_EQ(table.GetCount(), 1666u);
    for (int i = 0; i < kNames; ++i) {
        const int* found = table.Find(NameOf(i));
        if (i % 3 != 2) {
            EXPECT_EQ(found, nullptr) << NameOf(i);
            continue;
        }
        ASSERT_NE(found, nullptr) << NameOf(i);
        EXPECT_EQ(*found, i == 8 ? 3008 : i);
    }

    table.Set(NameOf(0), 42);  // a removed name can come back
    ASSERT_NE(table.Find(NameOf(0)), nullptr);
    EXPECT_EQ(*table.Find(NameOf(0)), 42);
    table.RemoveAll();
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_EQ(table.Find(NameOf(0)), nullptr);
    EXPECT_EQ(table.Find(NameOf(2)), nullptr);
}

TEST(BuildGraphs, SeriesComeOutInHashOrderSortedByX) {
    const BuildGraphsResult result = BuildGraphs(
        nullptr, Program({"var a", "var b", "graphic g1 text=\"g1\"", "graphic x text=\"x\"",
                          "graphic y text=\"y\"", "set a = 3", "set b = 30", "plot x a b", "set a = 1",
                          "plot x a b", "set a = 2", "plot x a b"}));
    ASSERT_EQ(result.outcome, RunOutcome::Ok) << result.strError;
    EXPECT_EQ(Captions(result), (std::vector<std::string>{"x", "y", "g1"}));
    ASSERT_EQ(result.series[0]->GetSampleCount(), 3);
    EXPECT_EQ(result.series[0]->GetSample(0).x, 1);
    EXPECT_EQ(result.series[0]->GetSample(1).x, 2);
    EXPECT_EQ(result.series[0]->GetSample(2).x, 3);
}

TEST(BuildGraphs, NamesInOneBucketComeOutNewestFirst) {
    const BuildGraphsResult result =
        BuildGraphs(nullptr, Program({"graphic g text=\"g\"", "graphic x text=\"x\""}));
    EXPECT_EQ(Captions(result), (std::vector<std::string>{"x", "g"}));
}

TEST(BuildGraphs, ImportsNamedElementsAndLeavesTheDiagramAlone) {
    EntityList list;
    std::vector<double> values{1, 2, 3};
    list.Add(Named("x", NumberRec(4)));
    list.Add(Named("X", NumberRec(5)));
    list.Add(Named("", NumberRec(6)));
    list.Add(Named("t", TableRec(0, 10, 5, &values)));
    list.Add(Named("s", SwitchRec(1, 2, 5)));
    list.Add(std::make_unique<CVEntity>());
    CInterpreter interp;
    ASSERT_TRUE(interp.ImportDrawingVariables(&list));
    EXPECT_EQ(interp.m_symbols.GetCount(), 4u);
    EXPECT_EQ(NumberOf(interp, "X"), 5);
    EXPECT_EQ(interp.m_symbols.Find(""), nullptr);
    EXPECT_EQ(RunError(interp, Program({"set x = t(x) + s(X) + X", "set X = 0"})), "");
    EXPECT_DOUBLE_EQ(NumberOf(interp, "x"), 8.8);
    // A second import starts from the diagram's values again.
    ASSERT_TRUE(interp.ImportDrawingVariables(&list));
    EXPECT_EQ(NumberOf(interp, "X"), 5);
    EXPECT_FALSE(interp.ImportDrawingVariables(nullptr));
}

TEST(BuildGraphs, DuplicateElementNamesStopTheImport) {
    EntityList list;
    list.Add(Named("x", NumberRec(1)));
    list.Add(Named("x", NumberRec(2)));
    const BuildGraphsResult result = BuildGraphs(&list, "graphic g");
    EXPECT_EQ(result.outcome, RunOutcome::Error);
    EXPECT_EQ(result.strError, "Import drawing variables:\nVariable x redefinition.");
    EXPECT_TRUE(result.series.empty());
}

TEST(BuildGraphs, FailedRunDestroysEverySeriesItMade) {
    std::vector<std::string> lines{"var t", "graphic a", "graphic b", "plot a t t"};
    while (lines.size() < 9) lines.push_back("");
    lines.push_back("set t = nosuch");
    EXPECT_EQ(BlocksLeftBy([&] {
                  const BuildGraphsResult result = BuildGraphs(nullptr, Program(lines));
                  EXPECT_EQ(result.outcome, RunOutcome::Error);
                  EXPECT_EQ(result.strError, "Interpretation error:\nBad 'set' command (10).");
                  EXPECT_TRUE(result.series.empty());
              }),
              0);
}

TEST(BuildGraphs, FailingGraphicLineDestroysItsOwnSeries) {
    EXPECT_EQ(BlocksLeftBy([] {
                  EXPECT_EQ(BuildGraphs(nullptr, "graphic g Color=1").outcome, RunOutcome::Error);
                  EXPECT_EQ(BuildGraphs(nullptr, Program({"var g", "graphic g"})).outcome, RunOutcome::Error);
              }),
              0);
}

TEST(BuildGraphs, StoppedRunDestroysItsSeriesLikeAnError) {
    EXPECT_EQ(BlocksLeftBy([] {
                  RunControl control;
                  control.nMaxSteps = 50;
                  BuildGraphsResult result =
                      BuildGraphs(nullptr, Program({"graphic g", "var t", "mark a", "plot g t t", "goto a"}), control);
                  EXPECT_EQ(result.outcome, RunOutcome::StepLimit);
                  EXPECT_TRUE(result.series.empty());
                  RunControl cancel;
                  cancel.pfnPoll = [](uint64_t) { return false; };
                  result = BuildGraphs(nullptr, Program({"graphic g", "mark a", "goto a"}), cancel);
                  EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
                  EXPECT_TRUE(result.series.empty());
              }),
              0);
}

TEST(BuildGraphs, SuccessfulRunHandsOverOwnership) {
    EXPECT_EQ(BlocksLeftBy([] { EXPECT_EQ(BuildGraphs(nullptr, Program({"graphic a", "graphic b"})).series.size(), 2u); }),
              0);
    EntityList list;
    list.Add(Named("x", NumberRec(1)));
    const BuildGraphsResult empty = BuildGraphs(&list, "");
    EXPECT_EQ(empty.outcome, RunOutcome::Ok);
    EXPECT_TRUE(empty.series.empty());
}

}  // namespace

namespace {

std::vector<CSample> SamplesOf(const BuildGraphsResult& result) {
    return result.outcome == RunOutcome::Ok && !result.series.empty() ? result.series[0]->m_samples
                                                                      : std::vector<CSample>{};
}

TEST(ValueOverride, ReadsNameEqualsFiniteNumber) {
    CValueOverride o;
    std::string error;
    ASSERT_TRUE(ParseValueOverride("k=1e5", o, error));
    EXPECT_EQ(o.strName, "k");
    EXPECT_EQ(o.dValue, 100000);
    ASSERT_TRUE(ParseValueOverride("s.threshold=-0.5", o, error));
    EXPECT_EQ(o.strName, "s.threshold");
    for (const char* bad : {"k", "=1", "k=", "k=abc", "k=1x", "k=inf", "k=nan", "k= 1", "a=b=1"})
        EXPECT_FALSE(ParseValueOverride(bad, o, error)) << bad;
    EXPECT_NE(error.find("'b=1'"), std::string::npos) << error;
}

TEST(ValueOverride, SetsNumbersAndSwitchFieldsAndNamesWhatItMisses) {
    EntityList list;
    std::vector<double> values{1, 2};
    list.Add(Named("x", NumberRec(1)));
    list.Add(Named("s", SwitchRec(1, 2, 5)));
    list.Add(Named("a.threshold", NumberRec(4)));  // an exact name wins over a switch field
    list.Add(Named("t", TableRec(0, 1, 1, &values)));
    const std::string program = Program({"graphic g", "plot g x s(x)", "plot g a.threshold x"});
    const BuildGraphsResult result =
        BuildGraphs(&list, program, {}, {{"x", 6}, {"s.threshold", 6}, {"s.value2", -2}, {"a.threshold", 9}});
    EXPECT_EQ(SamplesOf(result), (std::vector<CSample>{{6, -2}, {9, 6}}));
    EXPECT_EQ(SamplesOf(BuildGraphs(&list, program, {}, {{"s", 7}})), (std::vector<CSample>{{1, 7}, {4, 1}}));
    for (const char* unknown : {"t", "nosuch", "x.threshold", "s.value", "nosuch.value2"}) {
        const BuildGraphsResult missed = BuildGraphs(&list, program, {}, {{"x", 2}, {unknown, 1}});
        EXPECT_EQ(missed.outcome, RunOutcome::UnknownName) << unknown;
        EXPECT_EQ(missed.strUnknownName, unknown);
    }
    // The diagram keeps its own values.
    EXPECT_EQ(SamplesOf(BuildGraphs(&list, program)), (std::vector<CSample>{{1, 1}, {4, 1}}));
}

// A run keeps all its state to itself, so runs over one diagram (a sweep)
// may go on side by side and give what they give one after another.
TEST(BuildGraphs, RunsOverOneDiagramGoOnInParallelThreads) {
    EntityList list;
    std::vector<double> values{0, 10, 5};
    list.Add(Named("k", NumberRec(0.5)));
    list.Add(Named("t", TableRec(0, 2, 1, &values)));
    list.Add(Named("s", SwitchRec(1, -1, 100)));
    const std::string program =
        Program({"var i", "var y", "graphic g", "mark m", "set y = y + k * t(k) - s(i)", "plot g i y",
                 "set i = i + 1", "if i < 20000", "goto m"});
    std::vector<std::vector<CSample>> serial, parallel(4);
    for (int n = 0; n < 4; ++n) serial.push_back(SamplesOf(BuildGraphs(&list, program, {}, {{"k", 0.25 * n}})));
    std::vector<std::thread> threads;
    for (int n = 0; n < 4; ++n)
        threads.emplace_back([&, n] { parallel[n] = SamplesOf(BuildGraphs(&list, program, {}, {{"k", 0.25 * n}})); });
    for (std::thread& thread : threads) thread.join();
    for (int n = 0; n < 4; ++n) {
        ASSERT_EQ(serial[n].size(), 20000u);
        EXPECT_TRUE(SameSamples(parallel[n], serial[n])) << n;
    }
}

}  // namespace
