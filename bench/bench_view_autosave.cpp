// What one autosave of a 100,000-object model costs the interface thread:
// serializing the model and handing the bytes to the worker. The write to
// disk happens on the worker and is not counted.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "document/VarnelDoc.h"
#include "shell/frame/Autosave.h"
#include "support/ModelSamples.h"

namespace {

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "bench_view_autosave";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// Later copies: the worker hands each buffer back for the next.
void BM_AutosaveInterfaceThread(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir dir;  // the copies go here, never into the user's folders
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    const auto doc = samples::MixedModel(static_cast<int>(state.range(0)));
    doc->SetModifiedFlag(true);
    CAutosave autosave(*doc, {}, {});
    for (auto _ : state) {
        autosave.WriteNow();
        state.PauseTiming();
        autosave.WaitForWrites();
        QCoreApplication::processEvents();  // the worker's report ends the write under way
        state.ResumeTiming();
    }
    autosave.Discard();
}
BENCHMARK(BM_AutosaveInterfaceThread)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first copy of a session: no earlier buffer lends its pages.
void BM_AutosaveFirstCopy(benchmark::State& state) {
    EnsureApplication();
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    // Opened from its file, as a model this large always is.
    CVarnelDoc opened;
    const std::vector<uint8_t> file = samples::MixedModel(static_cast<int>(state.range(0)))->Store();
    opened.Load(file);
    const auto doc = &opened;
    doc->SetModifiedFlag(true);
    for (auto _ : state) {
        state.PauseTiming();
        auto autosave = std::make_unique<CAutosave>(*doc, std::function<bool()>{}, std::function<QString()>{});
        state.ResumeTiming();
        autosave->WriteNow();
        state.PauseTiming();
        autosave->WaitForWrites();
        QCoreApplication::processEvents();
        autosave->Discard();
        autosave.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AutosaveFirstCopy)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
