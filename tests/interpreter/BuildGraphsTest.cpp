// The whole build-graphs run: the diagram's import, the order of the series
// by their names' hash, sorting, and the teardown that leaves no series
// behind on an error or a stopped run.
#include <gtest/gtest.h>

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
    const long before = CVGraphic::LiveCount();
    std::vector<std::string> lines{"var t", "graphic a", "graphic b", "plot a t t"};
    while (lines.size() < 9) lines.push_back("");
    lines.push_back("set t = nosuch");
    const BuildGraphsResult result = BuildGraphs(nullptr, Program(lines));
    EXPECT_EQ(result.outcome, RunOutcome::Error);
    EXPECT_EQ(result.strError, "Interpretation error:\nBad 'set' command (10).");
    EXPECT_TRUE(result.series.empty());
    EXPECT_EQ(CVGraphic::LiveCount(), before);
}

TEST(BuildGraphs, FailingGraphicLineDestroysItsOwnSeries) {
    const long before = CVGraphic::LiveCount();
    EXPECT_EQ(BuildGraphs(nullptr, "graphic g Color=1").outcome, RunOutcome::Error);
    EXPECT_EQ(BuildGraphs(nullptr, Program({"var g", "graphic g"})).outcome, RunOutcome::Error);
    EXPECT_EQ(CVGraphic::LiveCount(), before);
}

TEST(BuildGraphs, StoppedRunDestroysItsSeriesLikeAnError) {
    const long before = CVGraphic::LiveCount();
    RunControl control;
    control.nMaxSteps = 50;
    BuildGraphsResult result = BuildGraphs(nullptr, Program({"graphic g", "var t", "mark a", "plot g t t", "goto a"}), control);
    EXPECT_EQ(result.outcome, RunOutcome::StepLimit);
    EXPECT_TRUE(result.series.empty());
    RunControl cancel;
    cancel.pfnPoll = [](uint64_t) { return false; };
    result = BuildGraphs(nullptr, Program({"graphic g", "mark a", "goto a"}), cancel);
    EXPECT_EQ(result.outcome, RunOutcome::Cancelled);
    EXPECT_TRUE(result.series.empty());
    EXPECT_EQ(CVGraphic::LiveCount(), before);
}

TEST(BuildGraphs, SuccessfulRunHandsOverOwnership) {
    const long before = CVGraphic::LiveCount();
    {
        BuildGraphsResult result = BuildGraphs(nullptr, Program({"graphic a", "graphic b"}));
        EXPECT_EQ(result.series.size(), 2u);
        EXPECT_EQ(CVGraphic::LiveCount(), before + 2);
    }
    EXPECT_EQ(CVGraphic::LiveCount(), before);
    EntityList list;
    list.Add(Named("x", NumberRec(1)));
    const BuildGraphsResult empty = BuildGraphs(&list, "");
    EXPECT_EQ(empty.outcome, RunOutcome::Ok);
    EXPECT_TRUE(empty.series.empty());
}

}  // namespace
