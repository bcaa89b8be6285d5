// Loading and saving a large model: 100,000 objects of every class in turn,
// as a file and through the JSON form of dump and pack.
#include <benchmark/benchmark.h>

#include "app/cli/ModelJson.h"

#include "support/ModelSamples.h"

namespace {

constexpr int kObjects = 100000;

const std::vector<uint8_t>& LargeModelBytes() {
    static const std::vector<uint8_t> bytes = samples::MixedModel(kObjects)->Store();
    return bytes;
}

void BM_LoadModel(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = LargeModelBytes();
    for (auto _ : state) {
        CVarnelDoc doc;
        doc.Load(bytes);
        benchmark::DoNotOptimize(doc.m_pEntityList->GetCount());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond);

void BM_SaveModel(benchmark::State& state) {
    const auto doc = samples::MixedModel(kObjects);
    for (auto _ : state) {
        std::vector<uint8_t> bytes = doc->Store();
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_SaveModel)->Unit(benchmark::kMillisecond);

void BM_DumpModelJson(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = LargeModelBytes();
    for (auto _ : state) {
        std::string json = ModelFileToJson(bytes);
        benchmark::DoNotOptimize(json.data());
    }
}
BENCHMARK(BM_DumpModelJson)->Unit(benchmark::kMillisecond);

void BM_PackModelJson(benchmark::State& state) {
    const std::string json = ModelFileToJson(LargeModelBytes());
    for (auto _ : state) {
        std::vector<uint8_t> bytes = JsonToModelFile(json);
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_PackModelJson)->Unit(benchmark::kMillisecond);

}  // namespace
