// The monkey: a seeded generator drives the real main window, offscreen,
// with random input: the mouse anywhere (also outside the sheet and while
// scrolled), keys and every accelerator, every command the resources name,
// dialogs and pop-up menus answered with hostile values and ended by OK or
// Cancel, files dropped on the window. At random points the model is saved
// and must load back with the same dump and still run or fail with a
// message. A failed check, a crash, a sanitizer report or a hang prints the
// seed, the event number and the command that replays it.
//   varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose] [--hang-seconds T]
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
#include "shell/frame/FileIo.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/VarnelApp.h"
#include "shell/view/VarnelView.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

// UBSan keeps a death callback of its own runtime; an abort reaches the
// signal handler below instead, which names the event.
extern "C" const char* __ubsan_default_options() { return "abort_on_error=1:print_stacktrace=1"; }

namespace {

// Where the run is, for the report of a crash or a hang.
std::atomic<uint64_t> g_seed{0}, g_event{0};
char g_model[1024] = {};

void PrintReplay(const char* what) {
    const auto event = static_cast<unsigned long long>(g_event.load());
    const auto seed = static_cast<unsigned long long>(g_seed.load());
    std::fprintf(stderr, "monkey: FAULT at event %llu of seed %llu on %s: %s\n"
                         "monkey: replay: varnel_monkey --model %s --seed %llu --events %llu\n",
                 event, seed, g_model, what, g_model, seed, event);
    std::fflush(stderr);
}

[[noreturn]] void Fault(const QString& what) {
    PrintReplay(qPrintable(what));
    std::_Exit(1);
}

// The one source of chance: a seed and an event number replay a run exactly.
class Random {
public:
    explicit Random(uint64_t seed) : m_engine(seed) {}
    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(m_engine() % static_cast<uint64_t>(n)); }
    int Between(int lo, int hi) {
        return static_cast<int>(lo + static_cast<int64_t>(m_engine() % static_cast<uint64_t>(int64_t{hi} - lo + 1)));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename List>
    const auto& Pick(const List& list) { return list[Below(static_cast<int>(std::size(list)))]; }

    // What a user might type into a field: numbers of every kind, broken
    // numbers, words, program lines, and now and then a long text.
    QString FieldText() {
        static const QStringList kNumbers = {
            "0", "1", "-1", "42", "0.5", "-0", "2147483647", "2147483648", "-2147483648", "-2147483649",
            "99999999999999999999", "-99999999999", "1e308", "1e309", "-1e308", "1e-320", "4.9e-324",
            "3.14159", "1,5", "12abc", " 7", "+8", "--5", "0x10", ".", "1e", "e5", "nan", "inf",
            "1.7976931348623157e308", "007", "1 2 3", "0 10 20 30 40", "-5 -6 7e400"};
        static const QStringList kWords = {
            "", " ", "N", "Численность", "x_1", "Темп роста", "a b", "\"", "\\", "%s%n", "<b>bold</b>",
            "&Menu", "\t", "ЁёЪъ", "€", "日本", "🙂", "var", "graphic", "plot", "goto", "if"};
        static const QStringList kLines = {
            "var x = 1", "set x = x + 1", "if x < 10 goto 2", "goto 1", "graphic g caption=\"a\"",
            "plot g x x", "var t = 0\r\nset t = t + 0.5\r\nif t < 100 goto 2", "set = = =", ":mark",
            "var y = 1/0", "var z = sqrt(-1)", "goto 99999999999"};
        switch (Below(10)) {
            case 0: case 1: case 2: case 3: return Pick(kNumbers);
            case 4: return QString::number(static_cast<int64_t>(m_engine()) >> Below(64));
            case 5: case 6: return Pick(kWords);
            case 7: return Pick(kLines);
            case 8: return Pick(kWords) + Pick(kNumbers) + Pick(kLines);
            default: {
                const int length = Chance(80) ? Between(100, 3000) : Between(10000, 70000);
                static const QString kAlphabet = QStringLiteral("abcxyz019 .,-+*/=()<>\"\r\nАБВабвЁё\t");
                QString text;
                for (int i = 0; i < length; ++i) text += kAlphabet[Below(kAlphabet.size())];
                return text;
            }
        }
    }

private:
    std::mt19937_64 m_engine;
};

const Qt::Key kDialogKeys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Backtab,
                               Qt::Key_Space, Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Up, Qt::Key_Down,
                               Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End, Qt::Key_A,
                               Qt::Key_Z, Qt::Key_F1, Qt::Key_Left, Qt::Key_Right, Qt::Key_Insert};

// Every command id the resources name (menu items, toolbar buttons,
// accelerators), so that commands added to them later are driven too.
void CollectIds(const QJsonValue& value, std::vector<int>& ids) {
    if (value.isDouble() && value.toInt() != 0) ids.push_back(value.toInt());  // a toolbar button
    if (value.isArray())
        for (const QJsonValue& item : value.toArray()) CollectIds(item, ids);
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it)
        if (it.key() == "id" || it.value().isArray() || it.value().isObject()) CollectIds(it.value(), ids);
}

std::vector<int> ResourceCommands() {
    std::vector<int> ids;
    QDirIterator files(":/resources", {"*.json"});
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.fileName().endsWith("strings.json") && file.open(QIODevice::ReadOnly))  // texts, not commands
            CollectIds(QJsonDocument::fromJson(file.readAll()).object(), ids);
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

bool IsControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QAbstractItemView*>(w);
}

bool IsTypeable(const QString& text) {
    return text.size() <= 40 && std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() <= 0x7E; });
}

// A button that most likely ends its dialog: those are left to the end,
// so that a dialog gets its fields filled first.
bool EndsDialog(QWidget* w) {
    auto* pButton = qobject_cast<QPushButton*>(w);
    static const QStringList kEnding = {"OK", "Cancel", "Cacel", "Отмена", "Close", "Закрыть"};
    return pButton && (pButton->isDefault() || qobject_cast<QDialogButtonBox*>(pButton->parentWidget()) ||
                       kEnding.contains(pButton->text().remove('&')));
}

QAbstractButton* AcceptButton(QWidget* pDialog) {
    for (auto* box : pDialog->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole && b->isEnabled()) return b;
    for (auto* b : pDialog->findChildren<QPushButton*>())
        if (b->isVisible() && b->isEnabled() && (b->isDefault() || b->text().remove('&') == "OK")) return b;
    return nullptr;
}

void Reject(QWidget* pWindow) {
    if (auto* pDialog = qobject_cast<QDialog*>(pWindow)) pDialog->reject(); else pWindow->close();
}

// Steps taken on a window so far (a property of the window).
int Steps(QWidget* pWindow, const char* name = "monkeySteps") { return pWindow->property(name).toInt(); }

class Monkey {
public:
    Monkey(const QString& model, uint64_t seed, uint64_t events, bool verbose)
        : m_model(model), m_seed(seed), m_events(events), m_verbose(verbose), m_random(seed),
          m_files(m_dir.filePath("files")) {
        g_seed = seed;
        std::snprintf(g_model, sizeof g_model, "%s", qPrintable(model));
        SetMessageBoxHook([this](const CMessageBoxRequest& r) { return AnswerBox(r); });
        SetFileDialogHook([this](bool bSave, const QString&, const QString&) { return AnswerFileName(bSave); });
    }
    ~Monkey() {
        SetMessageBoxHook({});
        SetFileDialogHook({});
    }

    int Run() {
        if (!m_dir.isValid()) Fault("no temporary folder");
        PrepareFiles();
        QApplication::setQuitOnLastWindowClosed(false);
        m_pFrame = std::make_unique<CMainFrame>();
        if (!m_pFrame->IsCreated()) Fault("the main window was not created");
        m_pFrame->show();
        if (!QTest::qWaitForWindowExposed(m_pFrame.get())) Fault("the main window never showed");
        if (!m_pFrame->OpenDocumentFile(m_files.filePath("model.vrn"), false)) Fault("the model did not open");
        m_commands = ResourceCommands();
        if (m_commands.empty()) Fault("no commands in the resources");
        QElapsedTimer clock;
        clock.start();
        QTimer::singleShot(0, &m_context, [this] { Tick(); });
        QApplication::exec();
        const double seconds = std::max(clock.elapsed() / 1000.0, 0.001);
        std::printf("monkey: %s seed %llu: %llu events in %.1f s (%.0f per second), %d round trips, no fault\n",
                    qPrintable(QFileInfo(m_model).fileName()), static_cast<unsigned long long>(m_seed),
                    static_cast<unsigned long long>(m_event), seconds, m_event / seconds, m_roundTrips);
        m_pFrame.reset();
        return 0;
    }

private:
    // The model copied where saving may overwrite it, beside files that are
    // no models (random bytes, a cut copy, an empty file) and two extreme
    // ones: its sheet at the int32 limit, its points at the int32 limits.
    // A generator of their own keeps a seed's events whatever files are added.
    void PrepareFiles() {
        Random random(m_seed ^ 0x5EED5EEDu);
        QDir(m_dir.path()).mkdir("files");
        QFile source(m_model);
        if (!source.open(QIODevice::ReadOnly)) Fault("cannot read the model " + m_model);
        const QByteArray model = source.readAll();
        auto write = [&](const QString& name, const QByteArray& bytes) {
            QFile file(m_files.filePath(name));
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
        if (!LoadModelFile(m_files.filePath("model.vrn"), doc).isEmpty()) Fault("the model does not load");
        const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000000, -1, 0, 1, 1000000000, INT32_MAX - 1, INT32_MAX};
        for (size_t i = 0; i < doc.m_pEntityList->GetCount(); ++i) {
            CVEntity* pEntity = doc.m_pEntityList->GetAt(i);
            for (int k = 0; k < pEntity->GetPointCount(); ++k)
                if (random.Chance(70)) pEntity->GetPoint(k) = {random.Pick(extremes), random.Pick(extremes)};
        }
        store("extreme-points.vrn", doc);
        doc.m_nWidth = doc.m_nHeight = INT32_MAX;
        doc.m_bFullScale = 0;
        store("huge-sheet.vrn", doc);
    }

    void Tick() {
        if (m_finished) return;
        // The next step is due even while this one waits in a dialog's loop.
        QTimer::singleShot(0, &m_context, [this] { Tick(); });
        if (m_event >= m_events) {
            if (Dismiss() || m_depth > 0) return;  // unwind first
            m_finished = true;
            CheckRoundTrip();
            QApplication::quit();
            return;
        }
        const bool bWindowUp = QApplication::activePopupWidget() || QApplication::activeModalWidget();
        if (!bWindowUp && m_depth > 0) return;  // a dialog has ended; its loop unwinds
        const uint64_t event = g_event = ++m_event;
        QString described;
        QElapsedTimer clock;
        clock.start();
        ++m_depth;
        if (QWidget* pPopup = QApplication::activePopupWidget())
            StepPopup(pPopup, described);
        else if (QWidget* pModal = QApplication::activeModalWidget())
            StepDialog(pModal, described);
        else
            MainWindowEvent(described);
        --m_depth;
        if (m_verbose) {
            std::printf("%llu %s (%lld ms)\n", static_cast<unsigned long long>(event), qPrintable(described),
                        static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);  // a crash must not swallow the last events
        }
        if (m_depth == 0 && !m_pFrame->isVisible()) m_pFrame->show();  // after Exit: the user starts again
    }

    void MainWindowEvent(QString& described) {
        const int roll = m_random.Below(100);
        if (roll < 45) {
            MouseOnView(described);
        } else if (roll < 51) {
            Scroll(described);
        } else if (roll < 73) {
            // A command as the user reaches it: its item in the menu bar now
            // shown (a greyed item does nothing), else by its id as an
            // accelerator or a button sends it.
            const int nId = m_random.Pick(m_commands);
            QAction* pAction = FindAction(m_pFrame->menuBar()->actions(), nId);
            described = QString("command %1").arg(nId);
            if (pAction != nullptr && m_random.Chance(70)) {
                if (pAction->isEnabled()) pAction->trigger();
            } else {
                m_pFrame->OnCommand(nId);
            }
        } else if (roll < 81) {
            const std::vector<QAction*>& keys = m_pFrame->Accelerators();
            if (keys.empty()) return;
            const QKeyCombination combo = m_random.Pick(keys)->shortcut()[0];
            described = "accelerator " + QKeySequence(combo).toString();
            // Offscreen, nothing gives the window its focus back after a
            // dialog; a user's keys go to the window in front.
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
            // Anywhere on the window: menu bar, toolbar, status bar, panes added later.
            QList<QWidget*> widgets = m_pFrame->findChildren<QWidget*>();
            widgets.removeIf([](QWidget* w) { return !w->isVisible() || w->isWindow(); });
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
            const QString path = AnswerFileName(false);  // a file dropped on the window, model or not
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

    // Mostly on the client area, sometimes well outside it, and often on a
    // point of an object, where hovering highlights and a press edits.
    void MouseOnView(QString& described) {
        CVarnelView* pView = m_pFrame->findChild<CVarnelView*>();
        QWidget* pPort = pView->viewport();
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
        if (kind < 5) QTest::mouseMove(pPort, at);
        else if (kind < 7) QTest::mousePress(pPort, button, mods, at);
        else if (kind < 8) QTest::mouseRelease(pPort, button, mods, at);
        else if (kind < 9) QTest::mouseClick(pPort, button, mods, at);
        else QTest::mouseDClick(pPort, button, mods, at);
    }

    void Scroll(QString& described) {
        CVarnelView* pView = m_pFrame->findChild<CVarnelView*>();
        QScrollBar* pBar = m_random.Chance(50) ? pView->horizontalScrollBar() : pView->verticalScrollBar();
        switch (m_random.Below(4)) {
            case 0: pBar->setValue(pBar->maximum()); break;
            case 1: pBar->setValue(pBar->minimum()); break;
            case 2: pBar->setValue(m_random.Between(pBar->minimum(), pBar->maximum())); break;
            default: {
                QWidget* pPort = pView->viewport();
                const QPoint at(m_random.Below(pPort->width() + 1), m_random.Below(pPort->height() + 1));
                QWheelEvent wheel(at, pPort->mapToGlobal(at), {}, {0, 120 * m_random.Between(-5, 5)},
                                  Qt::NoButton, {}, Qt::NoScrollPhase, false);
                QApplication::sendEvent(pPort, &wheel);
            }
        }
        described = QString("scroll to %1,%2").arg(pView->horizontalScrollBar()->value()).arg(pView->verticalScrollBar()->value());
    }

    // Ends whatever is up, chance-free.
    bool Dismiss() {
        if (QWidget* pPopup = QApplication::activePopupWidget()) {
            pPopup->close();
            return true;
        }
        QWidget* pModal = QApplication::activeModalWidget();
        if (auto* pProgress = qobject_cast<QProgressDialog*>(pModal)) pProgress->cancel();
        else if (pModal) Reject(pModal);
        return pModal != nullptr;
    }

    void StepPopup(QWidget* pPopup, QString& described) {
        const int steps = Steps(pPopup);
        pPopup->setProperty("monkeySteps", steps + 1);
        if (steps > 6) {  // a pop-up that keys do not close
            pPopup->close();
            described = "pop-up closed";
        } else if (auto* pMenu = qobject_cast<QMenu*>(pPopup)) {
            QList<QAction*> actions = pMenu->actions();
            actions.removeIf([](QAction* a) { return !a->isVisible() || !a->isEnabled() || a->isSeparator(); });
            if (actions.isEmpty() || m_random.Chance(15)) {
                QTest::keyClick(pMenu, Qt::Key_Escape);
                described = "menu escaped";
                return;
            }
            QAction* pAction = m_random.Pick(actions);
            described = "menu item " + pAction->text() + " " + pAction->data().toString();
            pMenu->setActiveAction(pAction);
            QTest::keyClick(pMenu, Qt::Key_Return);  // a submenu opens instead
        } else {
            const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return};
            const Qt::Key key = m_random.Pick(keys);
            described = QString("key %1 on a pop-up").arg(int(key));
            QTest::keyClick(pPopup, key);
        }
    }

    // A dialog known by the kinds of its controls only, so that dialogs
    // added later are filled in and ended the same way.
    void StepDialog(QWidget* pDialog, QString& described) {
        const QString name = pDialog->metaObject()->className();
        if (auto* pProgress = qobject_cast<QProgressDialog*>(pDialog)) {
            pProgress->cancel();  // chance-free: whether it shows is a matter of the clock
            described = "progress cancelled";
            return;
        }
        if (!pDialog->property("monkeyLimit").isValid()) pDialog->setProperty("monkeyLimit", m_random.Between(0, 16));
        const int steps = Steps(pDialog), limit = Steps(pDialog, "monkeyLimit");
        pDialog->setProperty("monkeySteps", steps + 1);
        if (auto* pBox = qobject_cast<QMessageBox*>(pDialog)) {
            const QList<QAbstractButton*> buttons = pBox->buttons();
            described = name + " answered";
            if (buttons.isEmpty()) pBox->close(); else m_random.Pick(buttons)->click();
        } else if (auto* pFiles = qobject_cast<QFileDialog*>(pDialog)) {
            if (m_random.Chance(40)) {
                pFiles->reject();
                described = "file dialog cancelled";
                return;
            }
            const QString path = AnswerFileName(pFiles->acceptMode() == QFileDialog::AcceptSave);
            described = "file dialog: " + path;
            pFiles->selectFile(path);
            QMetaObject::invokeMethod(pFiles, "accept");
        } else if (steps >= limit) {
            EndDialog(pDialog, steps >= limit + 4, described);
        } else {
            StepInDialog(pDialog, name, described);
        }
    }

    void StepInDialog(QWidget* pDialog, const QString& name, QString& described) {
        QList<QWidget*> controls;
        for (QWidget* w : pDialog->findChildren<QWidget*>())
            if (w->isVisible() && w->isEnabled() && IsControl(w) && (!EndsDialog(w) || m_random.Chance(5)))
                controls.append(w);
        if (!controls.isEmpty() && m_random.Chance(80)) {
            Fill(m_random.Pick(controls), described);
        } else if (m_random.Chance(15)) {
            const QSize size(m_random.Between(1, 3000), m_random.Between(1, 2000));
            described = QString("%1 resized to %2x%3").arg(name).arg(size.width()).arg(size.height());
            pDialog->resize(size);
        } else if (m_random.Chance(50)) {
            QWidget* pTarget = QApplication::focusWidget() ? QApplication::focusWidget() : pDialog;
            const Qt::Key key = m_random.Pick(kDialogKeys);
            const Qt::KeyboardModifiers mods = m_random.Chance(20) ? Qt::ControlModifier : Qt::NoModifier;
            described = QString("key %1 in %2").arg(int(key)).arg(name);
            QTest::keyClick(pTarget, key, mods);
        } else {
            QList<QWidget*> all = pDialog->findChildren<QWidget*>();
            all.append(pDialog);
            QWidget* pTarget = m_random.Pick(all);
            if (!pTarget->isVisible()) return;
            const QPoint at(m_random.Below(pTarget->width() + 1), m_random.Below(pTarget->height() + 1));
            described = QString("click in %1 of %2").arg(pTarget->metaObject()->className(), name);
            if (m_random.Chance(70)) {
                QTest::mouseClick(pTarget, Qt::LeftButton, {}, at);
            } else {
                QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, pTarget->mapToGlobal(at));
                QApplication::sendEvent(pTarget, &menuEvent);
            }
        }
    }

    void EndDialog(QWidget* pDialog, bool bStuck, QString& described) {
        if (bStuck) {  // it would not end by its buttons or keys
            described = "dialog forced shut";
            Reject(pDialog);
            return;
        }
        switch (m_random.Below(4)) {
            case 0:
            case 1:
                if (QAbstractButton* pOk = AcceptButton(pDialog)) {
                    described = "dialog ended by " + pOk->text();
                    pOk->click();
                    return;
                }
                [[fallthrough]];
            case 2:
                described = "dialog cancelled";
                Reject(pDialog);
                return;
            default:
                described = "dialog escaped";
                QTest::keyClick(pDialog, Qt::Key_Escape);
        }
    }

    void Fill(QWidget* pControl, QString& described) {
        described = QString("fill %1").arg(pControl->metaObject()->className());
        if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
            if (pEdit->isReadOnly()) return;
            pEdit->setFocus();
            const QString text = m_random.FieldText();
            described += " " + text.left(40);
            if (m_random.Chance(70)) pEdit->selectAll();
            if (m_random.Chance(15)) QTest::keyClick(pEdit, Qt::Key_Backspace);
            else if (IsTypeable(text)) QTest::keyClicks(pEdit, text);  // through the field's validator
            else pEdit->insert(text);                                  // as a paste: validated too
            if (m_random.Chance(10)) QTest::keyClick(pEdit, Qt::Key_Return);
        } else if (auto* pPlain = qobject_cast<QPlainTextEdit*>(pControl)) {
            if (pPlain->isReadOnly()) return;
            pPlain->setFocus();
            const QString text = m_random.FieldText();
            described += " " + text.left(40);
            switch (m_random.Below(4)) {
                case 0: pPlain->setPlainText(text); break;
                case 1: pPlain->selectAll(); QTest::keyClick(pPlain, Qt::Key_Delete); break;
                case 2: if (IsTypeable(text)) QTest::keyClicks(pPlain, text); else pPlain->insertPlainText(text); break;
                default: QTest::keyClick(pPlain, m_random.Pick(kDialogKeys));
            }
        } else if (auto* pRich = qobject_cast<QTextEdit*>(pControl)) {
            if (!pRich->isReadOnly()) pRich->setPlainText(m_random.FieldText());
        } else if (auto* pSpin = qobject_cast<QSpinBox*>(pControl)) {
            pSpin->setValue(m_random.Chance(50) ? pSpin->maximum() : m_random.Between(pSpin->minimum() / 2, pSpin->maximum() / 2));
        } else if (auto* pDouble = qobject_cast<QDoubleSpinBox*>(pControl)) {
            pDouble->setValue(m_random.Chance(50) ? pDouble->minimum() : pDouble->maximum());
        } else if (auto* pCombo = qobject_cast<QComboBox*>(pControl)) {
            if (pCombo->isEditable() && m_random.Chance(30)) pCombo->setEditText(m_random.FieldText());
            else if (pCombo->count() > 0) pCombo->setCurrentIndex(m_random.Below(pCombo->count()));
        } else if (auto* pView = qobject_cast<QAbstractItemView*>(pControl)) {
            const int rows = pView->model() ? pView->model()->rowCount(pView->rootIndex()) : 0;
            if (rows == 0 || m_random.Chance(15)) {
                pView->clearSelection();
                return;
            }
            const QModelIndex index = pView->model()->index(m_random.Below(rows), 0, pView->rootIndex());
            pView->setCurrentIndex(index);
            if (m_random.Chance(15)) QTest::mouseDClick(pView->viewport(), Qt::LeftButton, {}, pView->visualRect(index).center());
        } else if (auto* pButton = qobject_cast<QAbstractButton*>(pControl)) {
            described += " " + pButton->text();
            pButton->click();
        }
    }

    // The frame's message boxes: an error without words is a fault.
    QMessageBox::StandardButton AnswerBox(const CMessageBoxRequest& request) {
        if (request.icon == QMessageBox::Critical && request.strText.trimmed().isEmpty())
            Fault("an error was shown without a message");
        QList<QMessageBox::StandardButton> offered;
        for (uint bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
            if (request.buttons & bit) offered.append(static_cast<QMessageBox::StandardButton>(bit));
        return offered.isEmpty() ? QMessageBox::Ok : m_random.Pick(offered);
    }

    QString AnswerFileName(bool bSave) {
        if (m_random.Chance(15)) return {};  // the user cancels
        if (bSave) {
            const QString choices[] = {m_files.filePath(QString("saved-%1.vrn").arg(m_random.Below(3))),
                                       m_files.filePath(QString("no-extension-%1").arg(m_random.Below(2))),
                                       m_files.filePath("no/such/folder/model.vrn"),  // the save fails with a report
                                       m_files.path(),                                  // a folder
                                       m_files.filePath(QString(300, QChar('n')) + ".vrn")};
            return m_random.Pick(choices);
        }
        QStringList choices = m_files.entryList(QDir::Files, QDir::Name);
        for (QString& name : choices) name = m_files.filePath(name);
        choices << m_files.filePath("vanished.vrn") << m_files.path();
        return m_random.Pick(choices);
    }

    // Saved bytes equal the model in memory, load back with the same dump,
    // and the reloaded program ends, fails with a message or reaches the bound.
    void CheckRoundTrip() {
        const QString path = m_dir.filePath(QString("check-%1.vrn").arg(++m_roundTrips % 2));
        const std::vector<uint8_t> inMemory = m_pFrame->Document().Store();
        if (!m_pFrame->DoSave(path)) Fault("saving to " + path + " failed");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) Fault("the saved file cannot be read");
        if (file.readAll() != QByteArray(reinterpret_cast<const char*>(inMemory.data()), qsizetype(inMemory.size())))
            Fault("the saved file differs from the model in memory");
        CVarnelDoc second;
        const QString error = LoadModelFile(path, second);
        if (!error.isEmpty()) Fault("the saved model does not load: " + error);
        try {
            const std::string before = ModelFileToJson(inMemory), after = ModelFileToJson(second.Store());
            size_t at = 0;
            while (at < before.size() && at < after.size() && before[at] == after[at]) ++at;
            const size_t from = at > 40 ? at - 40 : 0;
            if (before != after)
                Fault(QString("the reloaded model differs from the saved one at character %1:\n  saved:    %2\n  reloaded: %3")
                          .arg(at).arg(QString::fromStdString(before.substr(from, 120)),
                                       QString::fromStdString(after.substr(from, 120))));
        } catch (const std::exception& e) {
            Fault(QString("the saved model cannot be dumped: ") + e.what());
        }
        RunControl control;
        control.nMaxSteps = 5000;
        const BuildGraphsResult result = BuildGraphs(second.m_pEntityList.get(), second.m_strProgram, control);
        if (result.outcome == RunOutcome::Error && result.strError.empty())
            Fault("the reloaded model's program failed without a message");
    }

    const QString m_model;
    const uint64_t m_seed, m_events;
    const bool m_verbose;
    Random m_random;
    QTemporaryDir m_dir;
    QDir m_files;
    QObject m_context;  // the ticks die with the monkey
    std::unique_ptr<CMainFrame> m_pFrame;
    std::vector<int> m_commands;
    int m_depth = 0;  // events under way: a dialog's loop runs inside them
    uint64_t m_event = 0;
    int m_roundTrips = 0;
    bool m_finished = false;
};

void OnSignal(int signal) {
    PrintReplay(strsignal(signal));
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void InstallCrashReports() {
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_set_death_callback([] { PrintReplay("the sanitizer report above"); });
    std::signal(SIGABRT, OnSignal);  // the sanitizers leave this one to us
#else
    for (int signal : {SIGSEGV, SIGABRT, SIGFPE, SIGILL, SIGBUS}) std::signal(signal, OnSignal);
#endif
}

// A run that stops making events is a hang: report it rather than wait.
void StartWatchdog(int seconds) {
    std::thread([seconds] {
        uint64_t last = ~uint64_t{0};
        for (int still = 0; still < seconds;) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const uint64_t now = g_event.load();
            still = now == last ? still + 1 : 0;
            last = now;
        }
        PrintReplay(("no event for " + std::to_string(seconds) + " seconds: a hang").c_str());
        std::_Exit(1);
    }).detach();
}

// The offscreen platform's notes on what it cannot do are no news.
void QuietPlatformNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.startsWith("This plugin does not support") || message.contains("XDG_RUNTIME_DIR")) return;
    std::fprintf(stderr, "event %llu: %s\n", static_cast<unsigned long long>(g_event.load()), qPrintable(message));
    if (type == QtFatalMsg) std::abort();
}

}  // namespace

int main(int argc, char** argv) {
    QString model;
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
        else {
            model.clear();
            break;
        }
    }
    if (model.isEmpty()) {
        std::fprintf(stderr, "usage: varnel_monkey --model MODEL.vrn [--seed S] [--events N] [--verbose] [--hang-seconds T]\n");
        return 2;
    }
    // Settings and the recent-file list stay in a folder of this run, so
    // runs replay alike and the user's settings stay untouched.
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.filePath("config").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    InstallCrashReports();
    StartWatchdog(hangSeconds);
    qInstallMessageHandler(QuietPlatformNotes);
    QApplication app(argc, argv);
    SetApplicationIdentity();
    InstallFrameworkTranslations();
    return Monkey(model, seed, events, verbose).Run();
}
