// The drawing view with 10,000 objects on the offscreen platform: one full
// repaint of the client area, one hover move that changes which object is
// highlighted (which must not repaint the sheet), the same with the move
// tool, which tests every outline too, and one step of a drag.
#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/Primitives.h"
#include "document/VarnelDoc.h"
#include "shell/view/VarnelView.h"

namespace {

constexpr int kObjects = 10000;

// A 100 by 100 grid of small objects over a 2000 by 1500 sheet, a mix of
// named elements (with text) and plain primitives.
void Populate(CVarnelDoc& doc) {
    doc.OnNewDocument();
    doc.m_nWidth = 2000;
    doc.m_nHeight = 1500;
    for (int i = 0; i < kObjects; ++i) {
        const CPoint a{(i % 100) * 20, (i / 100) * 15};
        const CPoint b{a.x + 18, a.y + 13};
        std::unique_ptr<CVEntity> object;
        switch (i % 4) {
            case 0: {
                auto level = std::make_unique<CVLevel>();
                level->m_strName = "L" + std::to_string(i);
                object = std::move(level);
                break;
            }
            case 1: object = std::make_unique<CVVariable>(); break;
            case 2: object = std::make_unique<CVLine>(); break;
            default: object = std::make_unique<CVRectangle>(); break;
        }
        object->GetPoint(0) = a;
        object->GetPoint(1) = b;
        doc.m_pEntityList->Add(std::move(object));
    }
}

// The benchmark library owns main; the widgets need an application first.
QApplication& Application() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "bench_view";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

struct ViewFixture {
    QApplication& app = Application();
    CVarnelDoc doc;
    CVarnelView view;
    ViewFixture() {
        Populate(doc);
        view.resize(1024, 768);
        view.SetDocument(&doc);
        view.show();
        QApplication::processEvents();
        view.OnInitialUpdate();
    }
};

ViewFixture& Fixture() {
    static ViewFixture fixture;
    return fixture;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(type, p, target->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void SendMove(QWidget* target, QPoint p) { SendMouse(target, QEvent::MouseMove, p); }

void BM_FullRepaint(benchmark::State& state) {
    ViewFixture& f = Fixture();
    for (auto _ : state) f.view.RepaintView();
    state.SetLabel(std::to_string(kObjects) + " objects");
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_HoverMove(benchmark::State& state) {
    ViewFixture& f = Fixture();
    QWidget* port = f.view.viewport();
    // Alternate between two levels so that every move changes two highlights.
    const QPoint over[2] = {QPoint(5, 5), QPoint(85, 5)};
    int next = 0;
    for (auto _ : state) {
        SendMove(port, over[next]);
        next ^= 1;
    }
    state.SetLabel(std::to_string(kObjects) + " objects");
}
BENCHMARK(BM_HoverMove)->Unit(benchmark::kMicrosecond);

void BM_MoveToolHover(benchmark::State& state) {
    ViewFixture& f = Fixture();
    f.view.OnChooseMoveTool();
    QWidget* port = f.view.viewport();
    const QPoint over[2] = {QPoint(5, 5), QPoint(85, 5)};
    int next = 0;
    for (auto _ : state) {
        SendMove(port, over[next]);
        next ^= 1;
    }
    f.view.OnModify();
    state.SetLabel(std::to_string(kObjects) + " objects");
}
BENCHMARK(BM_MoveToolHover)->Unit(benchmark::kMicrosecond);

// A level dragged back and forth by one unit: the move and a full repaint.
void BM_DragStep(benchmark::State& state) {
    ViewFixture& f = Fixture();
    f.view.OnChooseMoveTool();
    QWidget* port = f.view.viewport();
    SendMouse(port, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    int next = 0;
    for (auto _ : state) {
        SendMouse(port, QEvent::MouseMove, QPoint(5 + next, 5), Qt::LeftButton);
        next ^= 1;
    }
    SendMouse(port, QEvent::MouseButtonRelease, QPoint(5, 5));
    f.view.OnModify();
    state.SetLabel(std::to_string(kObjects) + " objects");
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMillisecond);

}  // namespace
