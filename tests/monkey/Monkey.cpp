// The monkey: a seeded generator drives the real main window offscreen with the mouse anywhere, keys,
// accelerators, every command the resources name, and dialogs filled with hostile values; saved models
// must load back with the same dump and run or fail with a message. A failed check, crash, sanitizer
// report or hang prints the seed, the event and the replay line.
//   varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose] [--hang-seconds T] [--record DIR --autosave S]
// With --record, autosave runs every S seconds, models are seldom replaced (autosave gets work), and each copy
// it makes (its dump) or deletes is noted in DIR/log.txt before it lands, for the kill test to compare.
#include <QtTest>
#include <QtWidgets>
#include <atomic>
#include <csignal>
#include <random>
#include <thread>

#include "app/cli/ModelJson.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"  // the run's series die with its result
#include "interpreter/BuildGraphs.h"
#include "shell/frame/Autosave.h"
#include "shell/frame/FileIo.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/VarnelApp.h"
#include "shell/view/VarnelView.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// UBSan's own death callback is not ours: an abort reaches OnSignal, which names the event.
extern "C" const char* __ubsan_default_options() { return "abort_on_error=1:print_stacktrace=1"; }

namespace {

std::atomic<uint64_t> g_seed{0}, g_event{0};  // where the run is, for the report of a crash or a hang
char g_model[1024] = {};

void PrintReplay(const char* what) {
    const auto event = static_cast<unsigned long long>(g_event.load()), seed = static_cast<unsigned long long>(g_seed.load());
    std::fprintf(stderr, "monkey: FAULT at event %llu of seed %llu on %s: %s\n"
                         "monkey: replay: varnel_monkey --model %s --seed %llu --events %llu\n",
                 event, seed, g_model, what, g_model, seed, event);
    std::fflush(stderr);
}

[[noreturn]] void Fault(const QString& what) { PrintReplay(qPrintable(what)), std::_Exit(1); }

// Each autosave copy as DIR/state-N.json, then the line "N TIME-MS copy|none" in DIR/log.txt; a kill
// may cut the last line, never an earlier one.
class CCopyRecord : public QObject {
public:
    CCopyRecord(const QString& dir, CAutosave& autosave) : m_dir(dir), m_log(dir + "/log.txt") {
        if (!m_log.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) Fault("cannot write " + m_log.fileName());
        connect(&autosave, &CAutosave::Snapshot, this, [this](const QByteArray& bytes) { Note(bytes); });
        connect(&autosave, &CAutosave::Discarded, this, [this] { Note({}); });
        Note({});
    }

private:
    void Note(const QByteArray& bytes) {
        if (!bytes.isEmpty()) {
            QFile state(QString("%1/state-%2.json").arg(m_dir).arg(m_n));
            const std::string dump = ModelFileToJson(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), size_t(bytes.size())));
            if (!state.open(QIODevice::WriteOnly) || state.write(dump.data(), qint64(dump.size())) != qint64(dump.size())) Fault("cannot record a copy");
            QFile::remove(QString("%1/state-%2.json").arg(m_dir).arg(m_n - 3));
        }
        m_log.write(QString("%1 %2 %3\n").arg(m_n++).arg(QDateTime::currentMSecsSinceEpoch()).arg(bytes.isEmpty() ? "none" : "copy").toUtf8());
    }
    QString m_dir;
    QFile m_log;
    int m_n = 0;
};

// The one source of chance: a seed and an event number replay a run exactly.
struct Random {
    std::mt19937_64 m_engine;
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(m_engine() % static_cast<uint64_t>(n)); }
    int Between(int lo, int hi) { return static_cast<int>(lo + static_cast<int64_t>(m_engine() % uint64_t(int64_t{hi} - lo + 1))); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename List>
    const auto& Pick(const List& list) { return list[Below(static_cast<int>(std::size(list)))]; }
    QPoint In(QWidget* w, int margin = 0) { return {Between(-margin, w->width() + margin), Between(-margin, w->height() + margin)}; }

    // What a user might type into a field: numbers of every kind, broken
    // numbers, words, program lines, and now and then a long text.
    QString FieldText() {
        static const QStringList kNumbers = {"0", "1", "-1", "42", "0.5", "-0", "2147483647", "2147483648", "-2147483648",
            "-2147483649", "99999999999999999999", "-99999999999", "1e308", "1e309", "-1e308", "1e-320", "4.9e-324", "3.14159",
            "1,5", "12abc", " 7", "+8", "--5", "0x10", ".", "1e", "e5", "nan", "inf", "1.7976931348623157e308", "007", "1 2 3",
            "0 10 20 30 40", "-5 -6 7e400", "1/2/3", "1;2"};
        static const QStringList kWords = {"", " ", "N", "Численность", "x_1", "Темп роста", "a b", "\"", "\\", "%s%n",
            "<b>bold</b>", "&Menu", "\t", "ЁёЪъ", "€", "日本", "🙂", "var", "graphic", "plot", "goto", "if"};
        static const QStringList kLines = {"var x = 1", "set x = x + 1", "if x < 10 goto 2", "goto 1", "graphic g caption=\"a\"",
            "plot g x x", "var t = 0\r\nset t = t + 0.5\r\nif t < 100 goto 2", "set = = =", ":mark", "var y = 1/0",
            "var z = sqrt(-1)", "goto 99999999999"};
        static const QString kAlphabet = QStringLiteral("abcxyz019 .,-+*/=()<>\"\r\nАБВабвЁё\t");
        switch (Below(10)) {
            case 0: case 1: case 2: case 3: return Pick(kNumbers);
            case 4: return QString::number(static_cast<int64_t>(m_engine()) >> Below(64));
            case 5: case 6: return Pick(kWords);
            case 7: return Pick(kLines);
            case 8: return Pick(kWords) + Pick(kNumbers) + Pick(kLines);
        }
        QString text(Chance(80) ? Between(100, 3000) : Between(10000, 70000), ' ');
        for (QChar& c : text) c = kAlphabet[Below(kAlphabet.size())];
        return text;
    }
};

const Qt::Key kKeys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space,
                         Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right,
                         Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_Insert, Qt::Key_F1,
                         Qt::Key_F6, Qt::Key_F10, Qt::Key_Alt, Qt::Key_A, Qt::Key_Y, Qt::Key_Z};
const Qt::KeyboardModifiers kMods[] = {Qt::NoModifier, Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                       Qt::AltModifier, Qt::ControlModifier | Qt::ShiftModifier};

// Command ids in the resources (menu items, buttons, keys): commands added later are driven too.
void CollectIds(const QJsonValue& value, std::vector<int>& ids) {
    if (value.isDouble() && value.toInt() != 0) ids.push_back(value.toInt());
    for (const QJsonValue& item : value.toArray()) CollectIds(item, ids);
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key() == "id" || it.value().isArray() || it.value().isObject()) CollectIds(it.value(), ids);
}

QAction* FindAction(const QList<QAction*>& actions, int nId) {
    for (QAction* a : actions)
        if (QAction* found = a->menu() ? FindAction(a->menu()->actions(), nId) : a->data().toInt() == nId ? a : nullptr)
            return found;
    return nullptr;
}

bool IsControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w);
}

bool EndsDialog(QWidget* w) {
    static const QStringList kEnding = {"OK", "Cancel", "Cacel", "Отмена", "Close", "Закрыть"};
    auto* pButton = qobject_cast<QPushButton*>(w);
    return pButton && (pButton->isDefault() || qobject_cast<QDialogButtonBox*>(pButton->parentWidget()) || kEnding.contains(pButton->text().remove('&')));
}

void Reject(QWidget* pWindow) {
    if (auto* pDialog = qobject_cast<QDialog*>(pWindow)) pDialog->reject(); else pWindow->close();
}

class Monkey {
public:
    Monkey(const QString& model, uint64_t seed, uint64_t events, bool verbose, const QString& record)
        : m_model(model), m_seed(seed), m_events(events), m_verbose(verbose), m_record(record), m_random{std::mt19937_64(seed)}, m_files(m_dir.filePath("files")) {
        g_seed = seed;
        std::snprintf(g_model, sizeof g_model, "%s", qPrintable(model));
        SetMessageBoxHook([this](const CMessageBoxRequest& r) { return AnswerBox(r); });
        SetFileDialogHook([this](bool bSave, const QString&, const QString&) { return AnswerFileName(bSave); });
    }
    ~Monkey() { SetMessageBoxHook({}), SetFileDialogHook({}); }

    int Run() {
        if (!m_dir.isValid()) Fault("no temporary folder");
        PrepareFiles();
        QDirIterator resources(":/resources", {"*.json"});
        while (resources.hasNext()) {
            QFile file(resources.next());
            if (!file.fileName().endsWith("strings.json") && file.open(QIODevice::ReadOnly))  // texts, not commands
                CollectIds(QJsonDocument::fromJson(file.readAll()).object(), m_commands);
        }
        std::sort(m_commands.begin(), m_commands.end());
        m_commands.erase(std::unique(m_commands.begin(), m_commands.end()), m_commands.end());
        if (m_commands.empty()) Fault("no commands in the resources");
        QApplication::setQuitOnLastWindowClosed(false);
        m_pFrame = std::make_unique<CMainFrame>();
        m_pFrame->show();
        if (!m_pFrame->IsCreated() || !QTest::qWaitForWindowExposed(m_pFrame.get())) Fault("the main window did not show");
        if (!m_record.isEmpty()) m_pFrame->EnableSafeguards();
        if (!m_pFrame->OpenDocumentFile(m_files.filePath("model.vrn"), false)) Fault("the model did not open");
        if (!m_record.isEmpty()) m_pRecord = std::make_unique<CCopyRecord>(m_record, *m_pFrame->Autosave());
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(0, &m_context, [this] { Tick(); });
        QApplication::exec();
        const double seconds = std::max(clock.elapsed() / 1000.0, 0.001);
        std::printf("monkey: %s seed %llu: %llu events in %.1f s (%.0f per second), %d round trips, no fault\n",
                    qPrintable(QFileInfo(m_model).fileName()), static_cast<unsigned long long>(m_seed),
                    static_cast<unsigned long long>(m_event), seconds, m_event / seconds, m_roundTrips);
        m_pFrame.reset();  // while the hooks still answer
        return 0;
    }

private:
    // The model where saving may overwrite it, files that are no models, and two with its sheet and its
    // points at the int32 limits; from a generator of their own, so files added change no seed's events.
    void PrepareFiles() {
        Random random{std::mt19937_64(m_seed ^ 0x5EED5EEDu)};
        QDir(m_dir.path()).mkdir("files");
        QFile source(m_model);
        if (!source.open(QIODevice::ReadOnly)) Fault("cannot read the model " + m_model);
        const QByteArray model = source.readAll();
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(m_files.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) Fault("cannot write " + name);
        };
        write("model.vrn", model);
        write("cut.vrn", model.left(model.size() / 2));
        write("empty.vrn", {});
        QByteArray noise(random.Between(1, 4096), '\0');
        for (char& c : noise) c = static_cast<char>(random.Below(256));
        write("noise.vrn", noise);
        CVarnelDoc doc;
        if (!LoadModelFile(m_files.filePath("model.vrn"), doc).isEmpty()) Fault("the model does not load");
        const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000000, -1, 0, 1, 1000000000, INT32_MAX - 1, INT32_MAX};
        for (size_t i = 0; i < doc.m_pEntityList->GetCount(); ++i)
            for (int k = 0; k < doc.m_pEntityList->GetAt(i)->GetPointCount(); ++k)
                if (random.Chance(70)) doc.m_pEntityList->GetAt(i)->GetPoint(k) = {random.Pick(extremes), random.Pick(extremes)};
        write("extreme-points.vrn", Bytes(doc.Store()));
        doc.m_nWidth = doc.m_nHeight = INT32_MAX;
        doc.m_bFullScale = 0;
        write("huge-sheet.vrn", Bytes(doc.Store()));
    }

    static QByteArray Bytes(const std::vector<uint8_t>& bytes) { return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())); }

    void Tick() {
        if (m_finished) return;
        // The next step is due even while this one waits in a dialog's loop.
        QTimer::singleShot(0, &m_context, [this] { Tick(); });
        QWidget* pWindow = QApplication::activePopupWidget() ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (m_event >= m_events) {  // the end: windows are dismissed and their loops unwind first
            if (auto* pProgress = qobject_cast<QProgressDialog*>(pWindow)) pProgress->cancel();
            else if (pWindow) Reject(pWindow);
            if (pWindow || m_depth > 0) return;
            m_finished = true;
            CheckRoundTrip();
            QApplication::quit();
            return;
        }
        if (!pWindow && m_depth > 0) return;  // a dialog has ended; its loop unwinds
        const uint64_t event = g_event = ++m_event;
        QElapsedTimer clock;
        clock.start();
        ++m_depth;
        const QString done = pWindow ? StepWindow(pWindow) : StepMainWindow();
        --m_depth;
        if (m_verbose) {
            std::printf("%llu %s (%lld ms)\n", static_cast<unsigned long long>(event), qPrintable(done), static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);  // a crash must not swallow the last events
        }
        if (m_depth == 0 && !m_pFrame->isVisible()) m_pFrame->show();  // after Exit: the user starts again
    }

    // One user's action on the main window; returns what was done.
    QString StepMainWindow() {
        CVarnelView* pView = m_pFrame->findChild<CVarnelView*>();
        const int roll = m_random.Below(100);
        if (roll < 40) {  // on the sheet, well outside it now and then, often on a point of an object
            QPoint at = m_random.In(pView->viewport(), m_random.Chance(20) ? 400 : 0);
            const EntityList& list = *m_pFrame->Document().m_pEntityList;
            if (list.GetCount() > 0 && m_random.Chance(35)) {
                const CVEntity* pEntity = list.GetAt(m_random.Below(static_cast<int>(list.GetCount())));
                const CPoint p = pEntity->GetPointCount() > 0 ? pEntity->GetPoint(m_random.Below(pEntity->GetPointCount())) : CPoint{};
                const CPoint scroll = pView->ScrollPosition();
                at = QPoint(std::clamp<int64_t>(int64_t{p.x} - scroll.x + m_random.Between(-3, 12), -5000, 5000),
                            std::clamp<int64_t>(int64_t{p.y} - scroll.y + m_random.Between(-3, 12), -5000, 5000));
            }
            return Mouse(pView->viewport(), at);
        }
        if (roll < 48) {  // anywhere on the window: menu bar, toolbar, status bar, panes added later
            QList<QWidget*> widgets = m_pFrame->findChildren<QWidget*>();
            widgets.removeIf([](QWidget* w) { return !w->isVisible() || w->isWindow(); });
            QWidget* pTarget = widgets.isEmpty() ? m_pFrame.get() : m_random.Pick(widgets);
            return Mouse(pTarget, m_random.In(pTarget));
        }
        if (roll < 54) {
            QScrollBar* pBar = m_random.Chance(50) ? pView->horizontalScrollBar() : pView->verticalScrollBar();
            const QPoint at = m_random.In(pView->viewport());
            QWheelEvent wheel(at, pView->viewport()->mapToGlobal(at), {}, {0, 120 * m_random.Between(-5, 5)}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
            switch (m_random.Below(4)) {
                case 0: pBar->setValue(pBar->maximum()); break;
                case 1: pBar->setValue(pBar->minimum()); break;
                case 2: pBar->setValue(m_random.Between(pBar->minimum(), pBar->maximum())); break;
                default: QApplication::sendEvent(pView->viewport(), &wheel);
            }
            return QString("scroll to %1,%2").arg(pView->horizontalScrollBar()->value()).arg(pView->verticalScrollBar()->value());
        }
        if (roll < 76) {  // its item in the menu bar now shown (a greyed one does nothing), else by id as a key or button sends it
            const int nId = m_random.Pick(m_commands);
            QAction* pAction = FindAction(m_pFrame->menuBar()->actions(), nId);
            if (pAction && m_random.Chance(70)) {
                if (pAction->isEnabled()) pAction->trigger();
            } else {
                m_pFrame->OnCommand(nId);
            }
            return QString("command %1").arg(nId);
        }
        // Offscreen, nothing gives the window its focus back after a dialog;
        // a user's keys go to the window in front.
        QApplication::setActiveWindow(m_pFrame.get());
        if (roll < 84 && !m_pFrame->Accelerators().empty()) {
            const QKeyCombination combo = m_random.Pick(m_pFrame->Accelerators())->shortcut()[0];
            QTest::keyClick(m_pFrame.get(), combo.key(), combo.keyboardModifiers());
            return "accelerator " + QKeySequence(combo).toString();
        }
        if (roll < 92) return Key(QApplication::focusWidget() ? QApplication::focusWidget() : m_pFrame.get());
        if (roll < 94) {
            m_pFrame->resize(m_random.Between(1, 1600), m_random.Between(1, 1200));
            return QString("resize to %1x%2").arg(m_pFrame->width()).arg(m_pFrame->height());
        }
        if (roll < 97 && !m_record.isEmpty()) return "nothing (another model would leave autosave nothing to copy)";
        if (roll < 97) {  // a file dropped on the window, model or not
            const QString path = AnswerFileName(false);
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
            QApplication::sendEvent(m_pFrame.get(), &enter);
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
            if (enter.isAccepted()) QApplication::sendEvent(m_pFrame.get(), &drop);
            return "drop " + path;
        }
        if (!m_record.isEmpty()) return "nothing (saving this often would leave autosave nothing to copy)";
        CheckRoundTrip();
        return "save and reload";
    }

    QString Mouse(QWidget* pTarget, QPoint at) {
        const int b = m_random.Below(20), kind = m_random.Below(10);
        const Qt::MouseButton button = b < 16 ? Qt::LeftButton : b < 19 ? Qt::RightButton : Qt::MiddleButton;
        const Qt::KeyboardModifiers mods = m_random.Chance(10) ? Qt::ShiftModifier : Qt::NoModifier;
        if (kind < 5) QTest::mouseMove(pTarget, at);
        else if (kind < 7) QTest::mousePress(pTarget, button, mods, at);
        else if (kind < 8) QTest::mouseRelease(pTarget, button, mods, at);
        else if (kind < 9) QTest::mouseClick(pTarget, button, mods, at);
        else QTest::mouseDClick(pTarget, button, mods, at);
        return QString("mouse %1 button %2 at %3,%4 on %5").arg(kind).arg(int(button)).arg(at.x()).arg(at.y()).arg(pTarget->metaObject()->className());
    }

    QString Key(QWidget* pTarget) {
        const Qt::Key key = m_random.Pick(kKeys);
        const Qt::KeyboardModifiers mods = m_random.Pick(kMods);
        QTest::keyClick(pTarget, key, mods);
        return QString("key %1 with %2 in %3").arg(int(key)).arg(int(mods)).arg(pTarget->metaObject()->className());
    }

    // One step in the window in front, known by the kinds of its controls
    // only, so that dialogs added later are filled in and ended the same way.
    QString StepWindow(QWidget* pWindow) {
        if (auto* pProgress = qobject_cast<QProgressDialog*>(pWindow)) {
            pProgress->cancel();  // chance-free: whether it shows is a matter of the clock
            return "progress cancelled";
        }
        if (!pWindow->property("monkeyLimit").isValid()) pWindow->setProperty("monkeyLimit", m_random.Between(0, 16));
        const int steps = pWindow->property("monkeySteps").toInt(), limit = pWindow->property("monkeyLimit").toInt();
        pWindow->setProperty("monkeySteps", steps + 1);
        if (auto* pBox = qobject_cast<QMessageBox*>(pWindow)) {
            if (pBox->buttons().isEmpty()) pBox->close(); else m_random.Pick(pBox->buttons())->click();
            return "message box answered";
        }
        if (auto* pFiles = qobject_cast<QFileDialog*>(pWindow)) {
            const QString path = m_random.Chance(40) ? QString() : AnswerFileName(pFiles->acceptMode() == QFileDialog::AcceptSave);
            if (path.isEmpty()) return pFiles->reject(), "file dialog cancelled";
            pFiles->selectFile(path);
            QMetaObject::invokeMethod(pFiles, "accept");
            return "file dialog: " + path;
        }
        if (steps >= limit + 4) return Reject(pWindow), "window forced shut";  // it would not end by its buttons or keys
        if (steps >= limit) {
            const int end = m_random.Below(4);
            QList<QPushButton*> buttons = pWindow->findChildren<QPushButton*>();
            buttons.removeIf([](QPushButton* b) { return !b->isVisible() || !b->isEnabled() || !(b->isDefault() || b->text().remove('&') == "OK"); });
            if (end < 2 && !buttons.isEmpty()) return buttons.front()->click(), "ended by " + buttons.front()->text();
            if (end < 3) return Reject(pWindow), "cancelled";
            QTest::keyClick(pWindow, Qt::Key_Escape);
            return "escaped";
        }
        // Its controls first; buttons that likely end it are left to the end.
        QList<QWidget*> all = pWindow->findChildren<QWidget*>(), controls;
        all.removeIf([](QWidget* w) { return !w->isVisible() || !w->isEnabled(); });
        for (QWidget* w : all)
            if (IsControl(w) && (!EndsDialog(w) || m_random.Chance(5))) controls.append(w);
        all.append(pWindow);
        const int roll = controls.isEmpty() ? m_random.Between(75, 99) : m_random.Below(100);
        if (roll < 75) return Fill(m_random.Pick(controls));
        QWidget* pTarget = m_random.Pick(all);
        if (roll < 78) return pWindow->resize(m_random.Between(1, 3000), m_random.Between(1, 2000)), "resized";
        if (roll < 88) return Key(QApplication::activePopupWidget() || !QApplication::focusWidget() ? pWindow : QApplication::focusWidget());
        const QPoint at = m_random.In(pTarget);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, pTarget->mapToGlobal(at));
        if (roll < 92) return QApplication::sendEvent(pTarget, &menuEvent), "context menu";
        return Mouse(pTarget, at);
    }

    // Text typed (through the field's validator) or pasted into a field,
    // or a value chosen in a list, or a button pressed.
    QString Fill(QWidget* pControl) {
        const QString text = m_random.FieldText(), kind = pControl->metaObject()->className();
        if (qobject_cast<QLineEdit*>(pControl) || qobject_cast<QPlainTextEdit*>(pControl) || qobject_cast<QTextEdit*>(pControl) ||
            qobject_cast<QAbstractSpinBox*>(pControl) || (qobject_cast<QComboBox*>(pControl) && m_random.Chance(50))) {
            pControl->setFocus();
            if (m_random.Chance(70)) QTest::keyClick(pControl, Qt::Key_A, Qt::ControlModifier);
            const bool bTypeable = text.size() <= 40 && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
            if (m_random.Chance(15)) {
                QTest::keyClick(pControl, Qt::Key_Backspace);
            } else if (bTypeable) {
                QTest::keyClicks(pControl, text);
            } else {
                QApplication::clipboard()->setText(text);
                QTest::keyClick(pControl, Qt::Key_V, Qt::ControlModifier);
            }
            if (m_random.Chance(10)) QTest::keyClick(pControl, Qt::Key_Return);
            return "typed into " + kind + ": " + text.left(40);
        }
        if (auto* pCombo = qobject_cast<QComboBox*>(pControl)) {
            pCombo->setCurrentIndex(m_random.Below(pCombo->count() + 1) - 1);
        } else if (auto* pView = qobject_cast<QAbstractItemView*>(pControl); pView && pView->model()) {
            const QModelIndex index = pView->model()->index(m_random.Below(pView->model()->rowCount(pView->rootIndex()) + 1) - 1, 0, pView->rootIndex());
            pView->setCurrentIndex(index);
            if (m_random.Chance(15)) QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {}, pView->visualRect(index).center());
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
            pButton->click();
        } else {
            return Mouse(pControl, m_random.In(pControl));
        }
        return "chose in " + kind;
    }

    // The frame's message boxes: an error without words is a fault.
    QMessageBox::StandardButton AnswerBox(const CMessageBoxRequest& request) {
        if (request.icon == QMessageBox::Critical && request.strText.trimmed().isEmpty()) Fault("an error was shown without a message");
        QList<QMessageBox::StandardButton> offered;
        for (uint bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
            if (request.buttons & bit) offered.append(static_cast<QMessageBox::StandardButton>(bit));
        return offered.isEmpty() ? QMessageBox::Ok : m_random.Pick(offered);
    }

    // Models, files that are none, a file that is not there, a folder; to
    // save, names without the extension, too long, or in no folder.
    QString AnswerFileName(bool bSave) {
        if (m_random.Chance(m_record.isEmpty() ? 15 : 90)) return {};  // the user cancels
        QStringList choices{m_files.filePath("vanished.vrn"), m_files.path()};
        if (bSave)
            choices << m_files.filePath(QString("saved-%1.vrn").arg(m_random.Below(3))) << m_files.filePath("no-extension")
                    << m_files.filePath("no/such/folder/model.vrn") << m_files.filePath(QString(300, QChar('n')) + ".vrn");
        else
            for (const QString& name : m_files.entryList(QDir::Files, QDir::Name)) choices << m_files.filePath(name);
        return m_random.Pick(choices);
    }

    // Saved bytes equal the model in memory, load back with the same dump,
    // and the reloaded program ends, fails with a message or reaches the bound.
    void CheckRoundTrip() {
        const QString path = m_dir.filePath(QString("check-%1.vrn").arg(++m_roundTrips % 2));
        const std::vector<uint8_t> inMemory = m_pFrame->Document().Store();
        if (!m_pFrame->DoSave(path)) Fault("saving to " + path + " failed");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != Bytes(inMemory)) Fault("the saved file differs from the model in memory");
        CVarnelDoc second;
        const QString error = LoadModelFile(path, second);
        if (!error.isEmpty()) Fault("the saved model does not load: " + error);
        try {
            const std::string before = ModelFileToJson(inMemory), after = ModelFileToJson(second.Store());
            const size_t at = std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin();
            const size_t from = at > 40 ? at - 40 : 0;
            if (before != after)
                Fault(QString("the reloaded model differs from the saved one at character %1:\n  saved:    %2\n  reloaded: %3")
                          .arg(at).arg(QString::fromStdString(before.substr(from, 120)), QString::fromStdString(after.substr(from, 120))));
        } catch (const std::exception& e) {
            Fault(QString("the saved model cannot be dumped: ") + e.what());
        }
        RunControl control;
        control.nMaxSteps = 5000;
        const BuildGraphsResult result = BuildGraphs(second.m_pEntityList.get(), second.m_strProgram, control);
        if (result.outcome == RunOutcome::Error && result.strError.empty()) Fault("the reloaded model's program failed without a message");
    }

    const QString m_model;
    const uint64_t m_seed, m_events;
    const bool m_verbose;
    const QString m_record;
    std::unique_ptr<CCopyRecord> m_pRecord;
    Random m_random;
    QTemporaryDir m_dir;
    QDir m_files;
    QObject m_context;  // the ticks die with the monkey
    std::unique_ptr<CMainFrame> m_pFrame;
    std::vector<int> m_commands;
    int m_depth = 0, m_roundTrips = 0;  // depth: events under way, as a dialog's loop runs inside them
    uint64_t m_event = 0;
    bool m_finished = false;
};

void OnSignal(int signal) {
    PrintReplay(strsignal(signal));
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// The offscreen platform's notes on what it cannot do are no news.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support") || message.contains("XDG_RUNTIME_DIR")) return;
    std::fprintf(stderr, "event %llu: %s\n", static_cast<unsigned long long>(g_event.load()), qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    QString model, record;
    double autosave = 5;
    uint64_t seed = 1, events = 3000;
    int hangSeconds = 120;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool bValue = i + 1 < argc;
        if (word == "--model" && bValue) model = QString::fromLocal8Bit(argv[++i]);
        else if (word == "--seed" && bValue) seed = std::stoull(argv[++i]);
        else if (word == "--events" && bValue) events = std::stoull(argv[++i]);
        else if (word == "--hang-seconds" && bValue) hangSeconds = std::stoi(argv[++i]);
        else if (word == "--verbose") verbose = true;
        else if (word == "--record" && bValue) record = QString::fromLocal8Bit(argv[++i]);
        else if (word == "--autosave" && bValue) autosave = std::stod(argv[++i]);
        else model.clear(), i = argc;
    }
    if (model.isEmpty()) {
        std::fprintf(stderr, "usage: varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose] [--hang-seconds T]\n");
        return 2;
    }
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { PrintReplay("the sanitizer report above"); });
    std::signal(SIGABRT, OnSignal);  // the sanitizers leave this one to us
#else
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(signal, OnSignal);
#endif
    std::thread([hangSeconds] {  // a run that stops making events is a hang: report it rather than wait
        uint64_t last = ~uint64_t{0};
        for (int still = 0; still < hangSeconds; last = g_event.load()) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            still = g_event.load() == last ? still + 1 : 0;
        }
        PrintReplay(("no event for " + std::to_string(hangSeconds) + " seconds: a hang").c_str());
        std::_Exit(1);
    }).detach();
    // Settings and the recent-file list stay in a folder of this run, so
    // runs replay alike and the user's settings stay untouched.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.filePath("config").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietPlatformNotes);
    QApplication app(argc, argv);
    SetApplicationIdentity();
    InstallFrameworkTranslations();
    if (!record.isEmpty()) QSettings().setValue("autosave/seconds", autosave);
    return Monkey(model, seed, events, verbose, record).Run();
}
