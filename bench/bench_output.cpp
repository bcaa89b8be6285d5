// What `varnel run` prints of one series of a million samples, as CSV and
// as JSON, into a stream that only counts the bytes: the cost of the text
// beyond the run itself.
#include <benchmark/benchmark.h>

#include <cmath>
#include <ostream>
#include <streambuf>

#include "app/cli/RunOutput.h"
#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "graphs/SeriesCsv.h"

namespace {

class CCountingBuffer : public std::streambuf {
public:
    size_t m_nBytes = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        m_nBytes += static_cast<size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++m_nBytes;
        return c;
    }
};

// A growth curve stepped by 0.01: most numbers need all their digits.
BuildGraphsResult MillionSamples() {
    BuildGraphsResult result;
    auto series = std::make_unique<CVGraphic>();
    double t = 0.0, level = 100.0;
    for (int i = 0; i < 1'000'000; ++i) {
        series->AddSample(t, level);
        level += level * 0.05 * 0.01;
        t += 0.01;
    }
    series->m_strText = "\xd3\xf0\xee\xe2\xe5\xed\xfc";  // "Уровень"
    result.series.push_back(std::move(series));
    return result;
}

void BM_RunCsvMillionSamples(benchmark::State& state) {
    const BuildGraphsResult result = MillionSamples();
    const std::vector<const CVGraphic*> series{result.series[0].get()};
    for (auto _ : state) {
        CCountingBuffer buffer;
        std::ostream out(&buffer);
        WriteSeriesCsv(series, out);
        state.counters["bytes"] = static_cast<double>(buffer.m_nBytes);
    }
}
BENCHMARK(BM_RunCsvMillionSamples)->Unit(benchmark::kMillisecond);

void BM_RunJsonMillionSamples(benchmark::State& state) {
    const BuildGraphsResult result = MillionSamples();
    for (auto _ : state) {
        CCountingBuffer buffer;
        std::ostream out(&buffer);
        WriteRunJson(result, out);
        state.counters["bytes"] = static_cast<double>(buffer.m_nBytes);
    }
}
BENCHMARK(BM_RunJsonMillionSamples)->Unit(benchmark::kMillisecond);

}  // namespace
