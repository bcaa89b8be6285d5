// varnel sweep over the predator-prey example: 1,000 runs of the
// predators' death rate, on one thread and on two. The lines go to a
// stream that drops them, so the figure is the runs, their JSON and the
// ordering.
#include <benchmark/benchmark.h>

#include <ostream>
#include <sstream>

#include "app/cli/Commands.h"

namespace {

class CNullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_SweepPredatorPrey1000(benchmark::State& state) {
    CNullBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    const CommandArgs args = {VARNEL_SOURCE_DIR "/examples/predator-prey.vrn", "--vary", "d=0.2:0.6:1000", "--jobs",
                              std::to_string(state.range(0))};
    for (auto _ : state)
        if (SweepCommand(args, out, err) != 0) state.SkipWithError(err.str().c_str());
    state.counters["runs/s"] = benchmark::Counter(1000.0 * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SweepPredatorPrey1000)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
