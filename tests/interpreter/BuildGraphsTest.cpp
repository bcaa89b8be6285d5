// The whole build-graphs run around the interpreter: the name table, the
// diagram's import, the teardown that leaves nothing behind, value
// overrides, and runs off the caller's thread on a copy of the model.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "Corpus.h"
#include "graphs/Graphic.h"
#include "interpreter/BackgroundRun.h"
#include "interpreter/BuildGraphs.h"
#include "interpreter/Interpreter.h"
#include "interpreter/ModelSnapshot.h"
#include "interpreter/SymbolTable.h"

namespace {

// Chains by bucket, newest first, beside an index for lookups: every name
// stays in its place through overwriting, and findable through removal and
// extraction.
TEST(SymbolTable, KeepsItsOrderAndFindsEveryNameThroughRemovalAndExtraction) {
    CNameTable<int> table;
    const auto order = [&] {
        std::string names;
        table.ForEach([&](const std::string& name, int) { names += name + " "; });
        return names;
    };
    for (const char* name : {"g1", "g", "x", "y", "\xff"}) table.Set(name, 1);
    table.Set("g", 2);
    EXPECT_EQ(order(), "\xff x g y g1 ");
    EXPECT_EQ(*table.Find("g"), 2);
    EXPECT_TRUE(table.Remove("x"));
    EXPECT_FALSE(table.Remove("x"));
    EXPECT_EQ(order(), "\xff g y g1 ");

    table.RemoveAll();
    const auto name = [](int i) { return "n" + std::to_string(i); };
    for (int i = 0; i < 5000; ++i) table.Set(name(i), i);
    table.Set(name(8), 3008);
    EXPECT_EQ(table.GetCount(), 5000u);
    for (int i = 0; i < 5000; i += 3) EXPECT_TRUE(table.Remove(name(i)));
    std::vector<int> taken;
    table.ExtractIf([](const std::string&, int v) { return v % 3 == 1; }, [&](int v) { taken.push_back(v); });
    EXPECT_EQ(taken.size(), 1667u);
    EXPECT_EQ(table.GetCount(), 1666u);
    for (int i = 0; i < 5000; ++i) {
        const int* found = table.Find(name(i));
        ASSERT_EQ(found != nullptr, i % 3 == 2) << i;
        if (found) EXPECT_EQ(*found, i == 8 ? 3008 : i);
    }
    table.Set(name(0), 42);  // a removed name can come back
    EXPECT_EQ(*table.Find(name(0)), 42);
    table.RemoveAll();
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_EQ(table.Find(name(2)), nullptr);
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
    const BuildGraphsResult twice = BuildGraphs(&list, "graphic g");
    EXPECT_EQ(twice.outcome, RunOutcome::Error);
    EXPECT_EQ(twice.strError, "Import drawing variables:\nVariable x redefinition.");
}

std::vector<CSample> Samples(const BuildGraphsResult& result) {
    return result.outcome == RunOutcome::Ok && !result.series.empty() ? result.series[0]->m_samples
                                                                      : std::vector<CSample>{};
}

// NAME=VALUE with a finite decimal VALUE sets a number, a switch's value
// below or from the threshold (NAME.value2) or its threshold; any other
// name is the run's failure.
TEST(ValueOverride, SetsNumbersAndSwitchFieldsAndNamesWhatItMisses) {
    CValueOverride o;
    std::string error;
    ASSERT_TRUE(ParseValueOverride("s.threshold=-1e5", o, error));
    EXPECT_EQ(o.strName + " " + FormatRoundTrip(o.dValue), "s.threshold -1e+05");
    for (const char* bad : {"k", "=1", "k=", "k=abc", "k=1x", "k=inf", "k=nan", "k= 1", "a=b=1"})
        EXPECT_FALSE(ParseValueOverride(bad, o, error)) << bad;
    EXPECT_NE(error.find("'b=1'"), std::string::npos) << error;

    EntityList list;
    // An exact name wins over a switch field.
    AddElements(list, {"variable x 1", "switch s 1 2 5", "variable a.threshold 4", "table t 0 1 1 1 2"});
    const std::string program = ProgramText("graphic g|plot g x s(x)|plot g a.threshold x");
    const BuildGraphsResult result =
        BuildGraphs(&list, program, {}, {{"x", 6}, {"s.threshold", 6}, {"s.value2", -2}, {"a.threshold", 9}});
    EXPECT_EQ(Samples(result), (std::vector<CSample>{{6, -2}, {9, 6}}));
    EXPECT_EQ(Samples(BuildGraphs(&list, program, {}, {{"s", 7}})), (std::vector<CSample>{{1, 7}, {4, 1}}));
    for (const char* unknown : {"t", "nosuch", "x.threshold", "s.value", "nosuch.value2"}) {
        const BuildGraphsResult missed = BuildGraphs(&list, program, {}, {{"x", 2}, {unknown, 1}});
        EXPECT_EQ(missed.outcome, RunOutcome::UnknownName) << unknown;
        EXPECT_EQ(missed.strUnknownName, unknown);
    }
    EXPECT_EQ(Samples(BuildGraphs(&list, program)), (std::vector<CSample>{{1, 1}, {4, 1}}));
}

// A table, a switch and a level, read by a program that plots all three.
std::unique_ptr<EntityList> Diagram() {
    auto list = std::make_unique<EntityList>();
    AddElements(*list, {"table T 0 2 1 1 4 9", "switch S -1 1 0.5", "level L 0.25"});
    return list;
}

const std::string kProgram =
    ProgramText("var x|var y|graphic g|mark top|set y = T(x) + S(x) + L|plot g x y|set x = x + 0.125|if x < 2.5|goto top");

TEST(ModelSnapshot, RunsAsTheDiagramAfterItIsGoneAndSeesChanges) {
    auto diagram = Diagram();
    const std::vector<CSample> expected = Samples(BuildGraphs(diagram.get(), kProgram));
    ASSERT_EQ(expected.size(), 20u);
    CModelSnapshot snapshot(diagram.get(), kProgram);
    EXPECT_TRUE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram)));
    EXPECT_FALSE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram + "\r\n")));
    static_cast<CVTableData*>(diagram->GetAt(0))->m_data[2] = 10.0;
    EXPECT_FALSE(snapshot.SameAs(CModelSnapshot(diagram.get(), kProgram)));
    diagram.reset();
    EXPECT_EQ(Samples(BuildGraphs(snapshot.List(), snapshot.Program())), expected);
}

TEST(BackgroundRun, NewerRequestCancelsTheRunGoingAndOnlyStartedRunsReport) {
    std::mutex mutex;
    std::vector<std::string> reports;  // TICKET OUTCOME SAMPLES FIRST-Y
    auto runner = std::make_unique<CBackgroundRun>([&](uint64_t nTicket, BuildGraphsResult result) {
        const std::vector<CSample> samples = Samples(result);
        const std::lock_guard lock(mutex);
        reports.push_back(std::to_string(nTicket) + " " + OutcomeText(result.outcome) + " " +
                          std::to_string(samples.size()) + " " + (samples.empty() ? "" : FormatRoundTrip(samples[0].y)));
    });
    const auto reported = [&] {
        const std::lock_guard lock(mutex);
        return reports;
    };
    const auto waitFor = [&](auto condition) {
        for (int i = 0; i < 2000 && !condition(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return condition();
    };
    auto diagram = Diagram();
    auto endless = std::make_shared<const CModelSnapshot>(diagram.get(), "mark a\r\ngoto a");
    EXPECT_EQ(runner->Submit({endless, {}, 0}), 1u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 1; }));
    EXPECT_EQ(runner->Submit({std::make_shared<const CModelSnapshot>(diagram.get(), kProgram), {{"L", 100.0}}, 0}), 2u);
    ASSERT_TRUE(waitFor([&] { return reported().size() == 2; }));
    // The superseded run was cancelled; the override reached the newer one.
    EXPECT_EQ(reported(), (std::vector<std::string>{"1 cancelled 0 ", "2 ok 20 100"}));
    // A run that never ends stops when its owner goes, and says nothing.
    EXPECT_EQ(runner->Submit({endless, {}, 0}), 3u);
    ASSERT_TRUE(waitFor([&] { return runner->RunningTicket() == 3; }));
    runner.reset();
    EXPECT_EQ(reports.size(), 2u);
}

}  // namespace
