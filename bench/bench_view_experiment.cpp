// The experiment window on the offscreen platform, from a value's change to
// the redrawn plot: the change goes to the run thread, the result comes back
// through the event loop, the series replace the old ones, are mapped and
// painted. Each change is timed on its own; the median and the 99th
// percentile over 200 changes are the counters. Two models: the
// predator-prey example, and a program of 100,000 executed statements.
#include <QApplication>
#include <QSlider>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "diagram/Elements.h"
#include "document/FileBytes.h"
#include "document/VarnelDoc.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/ExperimentList.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/view/VarnelView.h"

namespace {

constexpr int kChanges = 200;

QApplication& Application() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_view_experiment";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

// 20,000 turns of five statements, a sample each.
std::unique_ptr<CVarnelDoc> HundredThousandStatements() {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->OnNewDocument();
    auto k = std::make_unique<CVVariable>();
    k->m_strName = "k";
    k->m_dValue = 0.001;
    doc->m_pEntityList->Add(std::move(k));
    doc->m_strProgram =
        "var i\r\nvar x\r\ngraphic g color=255 text=\"x\"\r\nmark top\r\nset x = x + k * i\r\nplot g i x\r\n"
        "set i = i + 1\r\nif i < 20000\r\ngoto top";
    return doc;
}

std::unique_ptr<CVarnelDoc> PredatorPrey() {
    auto doc = std::make_unique<CVarnelDoc>();
    doc->Load(ReadFileBytes(VARNEL_SOURCE_DIR "/examples/predator-prey.vrn"));
    return doc;
}

void TimeSliderChanges(benchmark::State& state, std::unique_ptr<CVarnelDoc> doc, const char* name) {
    Application();
    CVarnelView view;
    view.SetDocument(doc.get());
    CExperimentDlg window(view);
    window.show();
    int shown = 0;
    QObject::connect(&window, &CExperimentDlg::RunShown, [&shown] { ++shown; });
    auto waitShown = [&](int count) {
        while (shown < count) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    };
    waitShown(1);
    window.List()->SetTicked(name, true);
    QSlider* pSlider = window.List()->SliderFor(name);
    std::vector<double> ms;
    for (auto _ : state) {
        ms.clear();
        for (int i = 0; i < kChanges; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const int before = shown;
            pSlider->setValue(300 + (i * 37) % 400);
            waitShown(before + 1);
            window.Plot()->repaint();
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
    state.counters["max_ms"] = ms.back();
}

void BM_ExperimentSliderPredatorPrey(benchmark::State& state) { TimeSliderChanges(state, PredatorPrey(), "d"); }
BENCHMARK(BM_ExperimentSliderPredatorPrey)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ExperimentSliderHundredThousandStatements(benchmark::State& state) {
    TimeSliderChanges(state, HundredThousandStatements(), "k");
}
BENCHMARK(BM_ExperimentSliderHundredThousandStatements)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
