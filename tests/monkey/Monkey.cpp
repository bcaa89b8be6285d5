// The monkey's run: events on the main window, the commands of every menu,
// toolbar button and accelerator as the resources list them, and the
// save-and-reload check.
#include "Monkey.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>
#include <cstdlib>

#include "app/cli/ModelJson.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"  // the run's series die with its result
#include "interpreter/BuildGraphs.h"
#include "shell/frame/FileIo.h"
#include "shell/frame/MainFrame.h"
#include "shell/view/VarnelView.h"

CMonkeyWhere g_monkeyWhere;

namespace {

// Every command id the resources name: menu items, toolbar buttons and
// accelerators, so that commands added to them later are driven too.
void CollectIds(const QJsonValue& value, std::vector<int>& ids) {
    if (value.isArray()) {
        for (const QJsonValue& item : value.toArray()) {
            if (item.isDouble() && item.toInt() != 0) ids.push_back(item.toInt());  // toolbar buttons
            CollectIds(item, ids);
        }
    } else if (value.isObject()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (it.key() == "id" && it.value().toInt() != 0) ids.push_back(it.value().toInt());
            CollectIds(it.value(), ids);
        }
    }
}

std::vector<int> ResourceCommands() {
    std::vector<int> ids;
    QDirIterator files(":/resources", {"*.json"});
    QStringList names;
    while (files.hasNext()) names << files.next();
    names.sort();
    for (const QString& name : names) {
        if (name.endsWith("strings.json")) continue;  // texts, not commands
        QFile file(name);
        if (file.open(QIODevice::ReadOnly)) CollectIds(QJsonDocument::fromJson(file.readAll()).object(), ids);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

QAction* FindAction(const QList<QAction*>& actions, int nId) {
    for (QAction* a : actions) {
        if (a->menu()) {
            if (QAction* inner = FindAction(a->menu()->actions(), nId)) return inner;
        } else if (!a->isSeparator() && a->data().toInt() == nId) {
            return a;
        }
    }
    return nullptr;
}

// A bounded run of the model's program: it must end, fail with a message,
// or reach the bound. The reloaded model's dump equals the saved one, so
// its run stands for both.
bool RunsOrSaysWhy(const CVarnelDoc& doc) {
    RunControl control;
    control.nMaxSteps = 5000;
    const BuildGraphsResult result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control);
    return result.outcome != RunOutcome::Error || !result.strError.empty();
}

}  // namespace

void PrintReplay(const char* what) {
    std::fprintf(stderr, "monkey: FAULT at event %llu of seed %llu on %s: %s\n"
                         "monkey: replay: varnel_monkey --model %s --seed %llu --events %llu\n",
                 static_cast<unsigned long long>(g_monkeyWhere.nEvent.load()),
                 static_cast<unsigned long long>(g_monkeyWhere.nSeed.load()), g_monkeyWhere.szModel, what,
                 g_monkeyWhere.szModel, static_cast<unsigned long long>(g_monkeyWhere.nSeed.load()),
                 static_cast<unsigned long long>(g_monkeyWhere.nEvent.load()));
    std::fflush(stderr);
}

CMonkey::CMonkey(const CMonkeyOptions& options)
    : m_options(options), m_random(options.nSeed), m_dialogs(m_random, QDir(m_dir.filePath("files"))) {
    g_monkeyWhere.nSeed = options.nSeed;
    std::snprintf(g_monkeyWhere.szModel, sizeof g_monkeyWhere.szModel, "%s", qPrintable(options.strModel));
    SetMessageBoxHook([this](const CMessageBoxRequest& r) { return m_dialogs.AnswerBox(r); });
    SetFileDialogHook([this](bool bSave, const QString&, const QString&) { return m_dialogs.AnswerFileName(bSave); });
}

CMonkey::~CMonkey() {
    SetMessageBoxHook({});
    SetFileDialogHook({});
}

CVarnelView* CMonkey::View() const { return m_pFrame->findChild<CVarnelView*>(); }

void CMonkey::Fault(const QString& what) {
    PrintReplay(qPrintable(what));
    std::_Exit(1);
}

// The model copied where saving may overwrite it, beside files that are
// no models (random bytes, a cut copy, an empty file) and two that are
// extreme: its sheet at the int32 limit, its points at the int32 limits.
// They come from a generator of their own, so that the events of a seed
// stay the same whatever files are added here.
void CMonkey::PrepareFiles() {
    CMonkeyRandom random(m_options.nSeed ^ 0x5EED5EEDu);
    QDir files(m_dir.path());
    files.mkdir("files");
    files.cd("files");
    QFile source(m_options.strModel);
    if (!source.open(QIODevice::ReadOnly)) Fault("cannot read the model " + m_options.strModel);
    const QByteArray model = source.readAll();
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(files.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) Fault("cannot write " + name);
    };
    auto store = [&](const QString& name, CVarnelDoc& doc) {
        const std::vector<uint8_t> bytes = doc.Store();
        write(name, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    };
    write("model.vrn", model);
    write("cut.vrn", model.left(model.size() / 2));
    write("empty.vrn", {});
    QByteArray noise(random.Between(1, 4096), '\0');
    for (char& c : noise) c = static_cast<char>(random.Below(256));
    write("noise.vrn", noise);
    CVarnelDoc doc;
    if (!LoadModelFile(files.filePath("model.vrn"), doc).isEmpty()) Fault("the model does not load");
    const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000000, -1, 0, 1, 1000000000, INT32_MAX - 1, INT32_MAX};
    for (size_t i = 0; i < doc.m_pEntityList->GetCount(); ++i) {
        CVEntity* pEntity = doc.m_pEntityList->GetAt(i);
        for (int k = 0; k < pEntity->GetPointCount(); ++k)
            if (random.Chance(70)) pEntity->GetPoint(k) = {random.Pick(extremes), random.Pick(extremes)};
    }
    store("extreme-points.vrn", doc);
    doc.m_nWidth = INT32_MAX;
    doc.m_nHeight = INT32_MAX;
    doc.m_bFullScale = 0;
    store("huge-sheet.vrn", doc);
}

int CMonkey::Run() {
    if (!m_dir.isValid()) Fault("no temporary folder");
    PrepareFiles();
    QApplication::setQuitOnLastWindowClosed(false);
    m_pFrame = std::make_unique<CMainFrame>();
    if (!m_pFrame->IsCreated()) Fault("the main window was not created");
    m_pFrame->show();
    if (!QTest::qWaitForWindowExposed(m_pFrame.get())) Fault("the main window never showed");
    if (!m_pFrame->OpenDocumentFile(m_dir.filePath("files/model.vrn"), false)) Fault("the model did not open");
    m_commands = ResourceCommands();
    if (m_commands.empty()) Fault("no commands in the resources");

    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, this, [this] { Tick(); });
    QApplication::exec();
    const double seconds = clock.elapsed() / 1000.0;
    std::printf("monkey: %s seed %llu: %llu events in %.1f s (%.0f per second), %d round trips, no fault\n",
                qPrintable(QFileInfo(m_options.strModel).fileName()), static_cast<unsigned long long>(m_options.nSeed),
                static_cast<unsigned long long>(m_nEvent), seconds, m_nEvent / std::max(seconds, 0.001),
                m_nRoundTrips);
    m_pFrame.reset();
    return 0;
}

void CMonkey::Tick() {
    if (m_bFinished) return;
    // The next step is due even while this one waits in a dialog's loop.
    QTimer::singleShot(0, this, [this] { Tick(); });
    if (m_nEvent >= m_options.nEvents) {
        Finish();
        return;
    }
    const bool bWindowUp = QApplication::activePopupWidget() || QApplication::activeModalWidget();
    if (!bWindowUp && m_nDepth > 0) return;  // a dialog has ended; its loop unwinds
    const uint64_t nEvent = ++m_nEvent;
    g_monkeyWhere.nEvent = nEvent;
    QString described;
    QElapsedTimer clock;
    clock.start();
    ++m_nDepth;
    if (bWindowUp)
        m_dialogs.Step(described);
    else
        MainWindowEvent(described);
    --m_nDepth;
    if (m_options.bVerbose) {
        std::printf("%llu %s (%lld ms)\n", static_cast<unsigned long long>(nEvent), qPrintable(described),
                    static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);  // a crash must not swallow the last events
    }
    if (!m_dialogs.m_strFault.isEmpty()) Fault(m_dialogs.m_strFault);
    if (m_nDepth == 0 && !m_pFrame->isVisible()) m_pFrame->show();  // after Exit: the user starts again
}

void CMonkey::Finish() {
    if (m_dialogs.Dismiss() || m_nDepth > 0) return;  // unwind first
    m_bFinished = true;
    CheckRoundTrip();
    QApplication::quit();
}

void CMonkey::MainWindowEvent(QString& described) {
    const int roll = m_random.Below(100);
    if (roll < 45) {
        MouseOnView(described);
    } else if (roll < 51) {
        Scroll(described);
    } else if (roll < 73) {
        Command(described);
    } else if (roll < 81) {
        const std::vector<QAction*>& keys = m_pFrame->Accelerators();
        if (keys.empty()) return;
        const QKeyCombination combo = m_random.Pick(keys)->shortcut()[0];
        described = "accelerator " + QKeySequence(combo).toString();
        // Offscreen, nothing gives the window its focus back after a dialog;
        // a user's keys go to the window in front.
        QApplication::setActiveWindow(m_pFrame.get());
        QTest::keyClick(m_pFrame.get(), combo.key(), combo.keyboardModifiers());
    } else if (roll < 87) {
        const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Delete, Qt::Key_Left, Qt::Key_Up,
                                Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Tab, Qt::Key_F10, Qt::Key_Alt, Qt::Key_A,
                                Qt::Key_Space, Qt::Key_Backspace, Qt::Key_Z, Qt::Key_Y, Qt::Key_F6};
        const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                              Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier};
        const Qt::Key key = m_random.Pick(keys);
        const Qt::KeyboardModifiers mod = m_random.Pick(mods);
        QWidget* pTarget = QApplication::focusWidget() ? QApplication::focusWidget() : m_pFrame.get();
        described = QString("key %1 with %2").arg(int(key)).arg(int(mod));
        QTest::keyClick(pTarget, key, mod);
    } else if (roll < 94) {
        // Anywhere on the window: the menu bar, the toolbar, the status
        // bar, panes added later.
        QList<QWidget*> widgets = m_pFrame->findChildren<QWidget*>();
        widgets.erase(std::remove_if(widgets.begin(), widgets.end(),
                                     [](QWidget* w) { return !w->isVisible() || w->isWindow(); }),
                      widgets.end());
        if (widgets.isEmpty()) return;
        QWidget* pTarget = m_random.Pick(widgets);
        const QPoint at(m_random.Below(pTarget->width() + 1), m_random.Below(pTarget->height() + 1));
        described = QString("click on %1").arg(pTarget->metaObject()->className());
        QTest::mouseClick(pTarget, m_random.Chance(85) ? Qt::LeftButton : Qt::RightButton, {}, at);
    } else if (roll < 96) {
        const QSize size(m_random.Between(1, 1600), m_random.Between(1, 1200));
        described = QString("resize to %1x%2").arg(size.width()).arg(size.height());
        m_pFrame->resize(size);
    } else if (roll < 98) {
        // A file dropped on the window, model or not.
        const QString path = m_dialogs.AnswerFileName(false);
        described = "drop " + path;
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(m_pFrame.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        if (enter.isAccepted()) QApplication::sendEvent(m_pFrame.get(), &drop);
    } else {
        described = "save and reload";
        CheckRoundTrip();
    }
}

void CMonkey::MouseOnView(QString& described) {
    CVarnelView* pView = View();
    QWidget* pPort = pView->viewport();
    // Mostly on the client area, sometimes well outside it, and often on
    // a point of an object, where hovering highlights and a press edits.
    const int margin = m_random.Chance(20) ? 400 : 0;
    QPoint at(m_random.Between(-margin, pPort->width() + margin), m_random.Between(-margin, pPort->height() + margin));
    const EntityList* pList = m_pFrame->Document().m_pEntityList.get();
    if (pList != nullptr && pList->GetCount() > 0 && m_random.Chance(35)) {
        CVEntity* pEntity = pList->GetAt(m_random.Below(static_cast<int>(pList->GetCount())));
        if (pEntity->GetPointCount() > 0) {
            const CPoint p = pEntity->GetPoint(m_random.Below(pEntity->GetPointCount()));
            const CPoint scroll = pView->ScrollPosition();
            at = QPoint(std::clamp<int64_t>(int64_t{p.x} - scroll.x + m_random.Between(-3, 12), -5000, 5000),
                        std::clamp<int64_t>(int64_t{p.y} - scroll.y + m_random.Between(-3, 12), -5000, 5000));
        }
    }
    const int b = m_random.Below(20);
    const Qt::MouseButton button = b < 16 ? Qt::LeftButton : b < 19 ? Qt::RightButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers mods = m_random.Chance(10) ? Qt::ShiftModifier : Qt::NoModifier;
    const int kind = m_random.Below(10);
    described = QString("mouse %1 button %2 at %3,%4").arg(kind).arg(int(button)).arg(at.x()).arg(at.y());
    if (kind < 5)
        QTest::mouseMove(pPort, at);
    else if (kind < 7)
        QTest::mousePress(pPort, button, mods, at);
    else if (kind < 8)
        QTest::mouseRelease(pPort, button, mods, at);
    else if (kind < 9)
        QTest::mouseClick(pPort, button, mods, at);
    else
        QTest::mouseDClick(pPort, button, mods, at);
}

void CMonkey::Scroll(QString& described) {
    CVarnelView* pView = View();
    QScrollBar* pBar = m_random.Chance(50) ? pView->horizontalScrollBar() : pView->verticalScrollBar();
    switch (m_random.Below(4)) {
        case 0: pBar->setValue(pBar->maximum()); break;
        case 1: pBar->setValue(pBar->minimum()); break;
        case 2: pBar->setValue(m_random.Between(pBar->minimum(), pBar->maximum())); break;
        default: {
            const QPoint at(m_random.Below(pView->viewport()->width() + 1), m_random.Below(pView->viewport()->height() + 1));
            QWheelEvent wheel(at, pView->viewport()->mapToGlobal(at), {}, {0, 120 * m_random.Between(-5, 5)},
                              Qt::NoButton, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(pView->viewport(), &wheel);
        }
    }
    described = QString("scroll to %1,%2").arg(pView->horizontalScrollBar()->value()).arg(pView->verticalScrollBar()->value());
}

// A command as the user reaches it: its item in the menu bar now shown when
// there is one (a greyed item does nothing), else straight by its id as an
// accelerator or a button would send it.
void CMonkey::Command(QString& described) {
    const int nId = m_random.Pick(m_commands);
    QAction* pAction = FindAction(m_pFrame->menuBar()->actions(), nId);
    described = QString("command %1").arg(nId);
    if (pAction != nullptr && m_random.Chance(70)) {
        if (pAction->isEnabled()) pAction->trigger();
        return;
    }
    m_pFrame->OnCommand(nId);
}

void CMonkey::CheckRoundTrip() {
    ++m_nRoundTrips;
    const QString path = m_dir.filePath(QString("check-%1.vrn").arg(m_nRoundTrips % 2));
    CVarnelDoc& doc = m_pFrame->Document();
    const std::vector<uint8_t> inMemory = doc.Store();
    if (!m_pFrame->DoSave(path)) Fault("saving to " + path + " failed");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) Fault("the saved file cannot be read");
    const QByteArray saved = file.readAll();
    if (saved != QByteArray(reinterpret_cast<const char*>(inMemory.data()), qsizetype(inMemory.size())))
        Fault("the saved file differs from the model in memory");
    CVarnelDoc second;
    const QString error = LoadModelFile(path, second);
    if (!error.isEmpty()) Fault("the saved model does not load: " + error);
    try {
        // The whole model as `varnel dump` prints it.
        const std::string before = ModelFileToJson(inMemory);
        const std::string after = ModelFileToJson(second.Store());
        if (before != after) {
            size_t at = 0;
            while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
            Fault(QString("the reloaded model differs from the saved one at character %1:\n  saved:    %2\n  reloaded: %3")
                      .arg(at).arg(QString::fromStdString(before.substr(at > 40 ? at - 40 : 0, 120)),
                                   QString::fromStdString(after.substr(at > 40 ? at - 40 : 0, 120))));
        }
    } catch (const std::exception& e) {
        Fault(QString("the saved model cannot be dumped: ") + e.what());
    }
    if (!RunsOrSaysWhy(second)) Fault("the reloaded model's program failed without a message");
}
