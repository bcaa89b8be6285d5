// The XMILE import of a generated model of 5,000 variables with a view
// (1,000 stocks, each with an inflow, an outflow and two auxiliaries, and a
// connector per auxiliary), and the speed of its imported program in
// statements per second beside the growth loop's in the same process. A
// run's start (reading 13,000 lines, 5,000 elements and 1,000 series) is
// timed apart, as a run of the same model whose stop is its start.
#include <benchmark/benchmark.h>

#include <string>

#include "exchange/XmileImport.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"

namespace {

constexpr int kStocks = 1000;

std::string GeneratedModel(int stop = 100) {
    std::string vars, view;
    for (int i = 0; i < kStocks; ++i) {
        const std::string n = std::to_string(i), prev = std::to_string(i == 0 ? kStocks - 1 : i - 1);
        const std::string x = std::to_string(100 + (i % 40) * 150), y = std::to_string(100 + (i / 40) * 200);
        vars += "<stock name=\"Stock " + n + "\"><eqn>100</eqn><inflow>in_" + n + "</inflow><outflow>out_" + n +
                "</outflow></stock>"
                "<flow name=\"in " + n + "\"><eqn>Stock_" + n + " * growth_" + n + "</eqn></flow>"
                "<flow name=\"out " + n + "\"><eqn>Stock_" + n + " / life_" + n + "</eqn></flow>"
                "<aux name=\"growth " + n + "\"><eqn>0.02 + Stock_" + prev + " / 100000</eqn></aux>"
                "<aux name=\"life " + n + "\"><eqn>IF Stock_" + n + " &gt; 150 THEN 20 ELSE 40</eqn></aux>";
        view += "<stock name=\"Stock_" + n + "\" x=\"" + x + "\" y=\"" + y + "\"/>"
                "<flow name=\"in_" + n + "\" x=\"" + x + "\" y=\"" + y + "\"><pts><pt x=\"0\" y=\"0\"/></pts></flow>"
                "<aux name=\"growth_" + n + "\" x=\"" + x + "\" y=\"" + y + "\"/>"
                "<aux name=\"life_" + n + "\" x=\"" + x + "\" y=\"" + y + "\"/>"
                "<connector uid=\"" + n + "\"><from>growth_" + n + "</from><to>in_" + n + "</to></connector>"
                "<connector uid=\"" + n + "b\"><from>life_" + n + "</from><to>out_" + n + "</to></connector>";
    }
    return "<xmile version=\"1.0\"><sim_specs method=\"Euler\"><start>0</start><stop>" + std::to_string(stop) +
           "</stop><dt>0.25</dt>"
           "<save_step>1</save_step></sim_specs><model><variables>" +
           vars + "</variables><views><view>" + view + "</view></views></model></xmile>";
}

void BM_ImportXmile5000(benchmark::State& state) {
    const std::string model = GeneratedModel();
    for (auto _ : state) {
        XImport imported = ImportXmile(model);
        benchmark::DoNotOptimize(imported.doc.m_strProgram.size());
    }
    state.counters["bytes"] = static_cast<double>(model.size());
}
BENCHMARK(BM_ImportXmile5000)->Unit(benchmark::kMillisecond);

void Rate(benchmark::State& state, const EntityList* pList, const std::string& program) {
    uint64_t statements = 0;
    for (auto _ : state) {
        const BuildGraphsResult result = BuildGraphs(pList, program);
        if (result.outcome != RunOutcome::Ok) {
            state.SkipWithError("run failed");
            break;
        }
        statements += result.nSteps;
    }
    state.counters["statements/s"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kIsRate);
}

void BM_ImportedRun(benchmark::State& state) {
    const XImport imported = ImportXmile(GeneratedModel());
    Rate(state, imported.doc.m_pEntityList.get(), imported.doc.m_strProgram);
}
BENCHMARK(BM_ImportedRun)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ImportedRunStart(benchmark::State& state) {
    const XImport imported = ImportXmile(GeneratedModel(0));
    Rate(state, imported.doc.m_pEntityList.get(), imported.doc.m_strProgram);
}
BENCHMARK(BM_ImportedRunStart)->Unit(benchmark::kMillisecond);

// The growth loop of bench_interpreter, a million steps.
void BM_GrowthLoop(benchmark::State& state) {
    const std::string program =
        "var t\r\nvar level\r\nvar rate\r\nvar i\r\nvar dt\r\nset level = 100\r\nset dt = 0.01\r\n"
        "graphic g color=255 text=\"level\"\r\nmark step\r\n"
        "set rate = level * 0.05 - level * level / 100000\r\nset level = level + rate * dt\r\n"
        "set t = t + dt\r\nset i = i + 1\r\nplot g t level\r\nif i < 1000000\r\ngoto step\r\n";
    Rate(state, nullptr, program);
}
BENCHMARK(BM_GrowthLoop)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
