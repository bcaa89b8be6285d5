// Interpreter throughput: a growth model whose loop executes ten million
// statements (arithmetic, a plot, a test and a jump per
// step), reported as statements per second. Also the start of a program
// with a hundred thousand marks and variables, which must stay linear.
#include <benchmark/benchmark.h>

#include <string>

#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"

namespace {

// Nine statements before the loop; seven per step (four sets, plot, if,
// goto), except that the last step's failed "if" skips its goto.
constexpr uint64_t kStatementsPerStep = 7;
constexpr uint64_t kSteps = 10'000'000 / kStatementsPerStep;
constexpr uint64_t kStatements = 9 + kSteps * kStatementsPerStep - 1;

std::string GrowthProgram() {
    return "var t\r\nvar level\r\nvar rate\r\nvar i\r\n"
           "var dt\r\nset level = 100\r\nset dt = 0.01\r\n"
           "graphic g color=255 text=\"level\"\r\n"
           "mark step\r\n"
           "set rate = level * 0.05 - level * level / 100000\r\n"
           "set level = level + rate * dt\r\n"
           "set t = t + dt\r\n"
           "set i = i + 1\r\n"
           "plot g t level\r\n"
           "if i < " + std::to_string(kSteps) + "\r\n"
           "goto step\r\n";
}

// Compiled by default; the line-reading path with a nonzero argument, in
// the same run, so the two can be compared under the same load.
void BM_InterpreterStatements(benchmark::State& state) {
    const std::string program = GrowthProgram();
    // The count is exact: the bound admits it and rejects one less.
    RunControl tight;
    tight.nMaxSteps = kStatements - 1;
    tight.bReference = state.range(0) != 0;
    if (BuildGraphs(nullptr, program, tight).outcome != RunOutcome::StepLimit) state.SkipWithError("count too high");
    RunControl control;
    control.nMaxSteps = kStatements;
    control.bReference = tight.bReference;
    for (auto _ : state) {
        BuildGraphsResult result = BuildGraphs(nullptr, program, control);
        if (result.outcome != RunOutcome::Ok || result.series.empty()) {
            state.SkipWithError("run failed");
            break;
        }
        benchmark::DoNotOptimize(result.series.front()->GetSampleCount());
    }
    state.counters["statements"] = static_cast<double>(kStatements);
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(kStatements) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InterpreterStatements)->ArgName("reference")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// A function call each step: x = exp(t * 1e-7) for 2,000,000 steps, four
// statements a step; the same loop as bench/exp_loop.lua and exp_loop.cc.
constexpr uint64_t kExpSteps = 2'000'000;

std::string ExpLoopProgram() {
    return "var t\r\nvar x\r\nmark step\r\nset x = exp(t * 1e-7)\r\nset t = t + 1\r\n"
           "if t < " + std::to_string(kExpSteps) + "\r\ngoto step\r\n";
}

void BM_ExpLoop(benchmark::State& state) {
    const std::string program = ExpLoopProgram();
    constexpr uint64_t kExpStatements = 2 + kExpSteps * 4 - 1;
    for (auto _ : state) {
        BuildGraphsResult result = BuildGraphs(nullptr, program);
        if (result.outcome != RunOutcome::Ok || result.nSteps != kExpStatements) {
            state.SkipWithError("run failed");
            break;
        }
    }
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(kExpStatements) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExpLoop)->Unit(benchmark::kMillisecond);

// A big diagram: every lookup of a name must stay cheap however many
// elements the model holds. One million statements over 5,000 variables.
void BM_InterpreterBigDiagram(benchmark::State& state) {
    EntityList list;
    for (int i = 0; i < 5000; ++i) {
        auto variable = std::make_unique<CVVariable>();
        variable->m_strName = "v" + std::to_string(i);
        variable->m_dValue = i;
        list.Add(std::move(variable));
    }
    constexpr uint64_t kLoopSteps = 250'000;
    const std::string program = "var i\r\nvar s\r\nmark step\r\n"
                                "set s = s + v4999 * v17 - v2500\r\n"
                                "set i = i + 1\r\n"
                                "if i < " + std::to_string(kLoopSteps) + "\r\n"
                                "goto step\r\n";
    const uint64_t statements = 2 + kLoopSteps * 4 - 1;
    for (auto _ : state) {
        BuildGraphsResult result = BuildGraphs(&list, program);
        if (result.outcome != RunOutcome::Ok) {
            state.SkipWithError("run failed");
            break;
        }
    }
    state.counters["statements/s"] =
        benchmark::Counter(static_cast<double>(statements) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InterpreterBigDiagram)->Unit(benchmark::kMillisecond);

// 100000 marks, then 100000 variables declared and each set once: every
// line looks a name up among all the earlier ones.
std::string ManyNamesProgram() {
    constexpr int kNames = 100000;
    std::string program;
    for (int i = 0; i < kNames; ++i) program += "mark m" + std::to_string(i) + "\r\n";
    for (int i = 0; i < kNames; ++i) program += "var v" + std::to_string(i) + "\r\n";
    for (int i = 0; i < kNames; ++i) program += "set v" + std::to_string(i) + " = 1\r\n";
    return program;
}

void BM_ManyMarksAndVariables(benchmark::State& state) {
    const std::string program = ManyNamesProgram();
    for (auto _ : state) {
        BuildGraphsResult result = BuildGraphs(nullptr, program);
        if (result.outcome != RunOutcome::Ok) {
            state.SkipWithError("run failed");
            break;
        }
    }
}
BENCHMARK(BM_ManyMarksAndVariables)->Unit(benchmark::kMillisecond);

}  // namespace
