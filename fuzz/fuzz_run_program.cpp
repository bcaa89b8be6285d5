// Fuzz target: any text as the model program, run over a small diagram that
// holds one element of every kind the program can read, with a step bound so
// that endless loops end. The program runs both compiled and line by line
// (with a poll, and compiled once more without one), and any difference in
// outcome, message, line, step count, poll steps, symbol value or sample
// bits stops the fuzzer. The build-graphs run's series are then laid out
// and drawn as the graphs window does.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/TableElements.h"
#include "fuzz/FuzzSupport.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"
#include "tests/support/RunSnapshot.h"

namespace {

constexpr uint64_t kMaxSteps = 20000;

void Place(CVEntity& e, int32_t x) {
    for (int i = 0; i < 3; ++i) e.AddPoint(CPoint{x + 10 * i, 20 + 10 * i});
}

std::unique_ptr<EntityList> SmallDiagram() {
    auto list = std::make_unique<EntityList>();
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "S";
    level->m_dValue = 100.0;
    auto rate = std::make_unique<CVRate>();
    rate->m_strName = "R";
    rate->m_dValue = 0.5;
    auto variable = std::make_unique<CVVariable>();
    variable->m_strName = "k";
    variable->m_dValue = -2.5;
    auto table = std::make_unique<CVTableData>();
    table->m_strName = "T";
    table->m_dFrom = 0.0;
    table->m_dTo = 2.0;
    table->m_dStep = 0.5;
    table->m_data = {1.0, 2.0, 4.0, 8.0, 16.0};
    auto expert = std::make_unique<CVExpert>();
    expert->m_strText = "E";
    expert->m_dValue = 3.0;
    auto sw = std::make_unique<CVSwitch>();
    sw->m_strText = "W";
    sw->m_dValue = 1.0;
    sw->m_dValue2 = 0.4;
    sw->m_dThreshold = 25.0;
    CVEntity* all[] = {level.get(), rate.get(), variable.get(), table.get(), expert.get(), sw.get()};
    for (size_t i = 0; i < std::size(all); ++i) Place(*all[i], static_cast<int32_t>(40 * i));
    list->Add(std::move(level));
    list->Add(std::move(rate));
    list->Add(std::move(variable));
    list->Add(std::move(table));
    list->Add(std::move(expert));
    list->Add(std::move(sw));
    return list;
}

// The compiled path against the line-reading one, on fresh interpreters.
void CompareBothPaths(const EntityList& diagram, const std::string& program) {
    CInterpreter reference, compiled, unpolled;
    for (CInterpreter* interp : {&reference, &compiled, &unpolled}) interp->ImportDrawingVariables(&diagram);
    RunControl control;
    control.nMaxSteps = kMaxSteps;
    control.pfnPoll = [](uint64_t) { return true; };
    control.bReference = true;
    const CRunSnapshot expected = SnapshotRun(reference, program, control);
    control.bReference = false;
    const std::string difference = FirstDifference(expected, SnapshotRun(compiled, program, control));
    if (!difference.empty()) std::fprintf(stderr, "compiled run differs: %s\n", difference.c_str());
    FUZZ_CHECK(difference.empty(), "the compiled run differs from the line-reading run");
    control.pfnPoll = nullptr;
    CRunSnapshot quiet = SnapshotRun(unpolled, program, control);
    quiet.polls = expected.polls;
    FUZZ_CHECK(FirstDifference(expected, quiet).empty(), "a compiled run without a poll differs");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<EntityList> diagram = SmallDiagram();
    {
        const std::string program(reinterpret_cast<const char*>(data), size);
        CompareBothPaths(*diagram, program);
        RunControl control;
        control.nMaxSteps = kMaxSteps;
        BuildGraphsResult result = BuildGraphs(diagram.get(), program, control);
        FUZZ_CHECK(result.outcome == RunOutcome::Ok || result.series.empty(),
                   "a failed or stopped run handed out series");
        FUZZ_CHECK(result.outcome != RunOutcome::Error || !result.strError.empty(),
                   "an interpreter error without a message");
        for (const auto& series : result.series) ShowSeriesAsTheGraphsWindowDoes(*series);
    }
    return 0;
}
