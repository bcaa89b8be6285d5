// The graphs window with one series of a million samples, on the offscreen
// platform: opening it after the run (sorting the samples, which arrive in
// order, mapping them into the plot and the first paint of the frame) and
// one repaint of the frame.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "shell/dialogs/GraphsDlg.h"

namespace {

constexpr int kSamples = 1'000'000;

QApplication& Application() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_view_graphs";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// A noisy growth curve, as a stochastic model would plot it.
const std::vector<CSample>& RunSamples() {
    static const std::vector<CSample> samples = [] {
        std::vector<CSample> s;
        s.reserve(kSamples);
        for (int i = 0; i < kSamples; ++i) s.push_back({i * 0.001, std::exp(i * 2e-6) + std::sin(i * 0.7)});
        return s;
    }();
    return samples;
}

std::unique_ptr<CVGraphic> RunSeries() {
    auto series = std::make_unique<CVGraphic>();
    series->m_samples = RunSamples();
    series->m_nColor = 255;
    series->m_strText = "level";
    return series;
}

QImage PaintFrame(const CGraphsDlg& window) {
    const CRect plot = window.GetPlotRect();
    QImage image(plot.right + 20, plot.bottom + 20, QImage::Format_RGB32);
    QPainter painter(&image);
    window.RenderFrame(painter);
    return image;
}

void BM_GraphsOpenMillionSamples(benchmark::State& state) {
    Application();
    for (auto _ : state) {
        state.PauseTiming();
        auto series = RunSeries();
        state.ResumeTiming();
        series->SortByX();
        CGraphsDlg window;
        window.Graphics().Add(std::move(series));
        window.InitDialog();
        benchmark::DoNotOptimize(PaintFrame(window));
    }
}
BENCHMARK(BM_GraphsOpenMillionSamples)->Unit(benchmark::kMillisecond);

void BM_GraphsRepaintMillionSamples(benchmark::State& state) {
    Application();
    CGraphsDlg window;
    window.Graphics().Add(RunSeries());
    window.InitDialog();
    for (auto _ : state) benchmark::DoNotOptimize(PaintFrame(window));
}
BENCHMARK(BM_GraphsRepaintMillionSamples)->Unit(benchmark::kMillisecond);

}  // namespace
