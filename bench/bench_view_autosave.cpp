// What one autosave of a 100,000-object model costs the interface thread:
// serializing the model and handing the bytes to the worker. The write to
// disk happens on the worker and is not counted.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "shell/frame/Autosave.h"
#include "support/ModelSamples.h"

namespace {

void BM_AutosaveInterfaceThread(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "bench_view_autosave";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
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

}  // namespace
