// Shared by the widget tests: test classes by name, golden files, scripted message boxes and file
// questions, acting on the next modal dialog inside its own loop, and the frame's menus.
#pragma once
#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <map>

#include "shell/view/CommandIds.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/VarnelView.h"

inline std::map<QString, std::function<QObject*()>>& TestClasses() {  // main runs them by name
    static std::map<QString, std::function<QObject*()>> classes;
    return classes;
}
#define SHELL_TEST(Class) static const bool kRegistered = (TestClasses()[#Class] = [] { return new Class; }, true);

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// tests/shell/golden/NAME; VARNEL_GOLDEN=1 writes what the test sees there
// instead (look at the difference before committing it).
inline QString GoldenPath(const QString& name) { return VARNEL_SOURCE_DIR "/tests/shell/golden/" + name; }
inline void CompareGolden(const QImage& image, const QString& name) {
    if (qEnvironmentVariableIsSet("VARNEL_GOLDEN")) QVERIFY(image.save(GoldenPath(name + ".png")));
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32), QImage(GoldenPath(name + ".png")).convertToFormat(QImage::Format_RGB32));
}
// Lines over 120 bytes of UTF-8 broken before a " | " (or, where one item
// alone is longer, before a blank inside it), each rest indented.
inline qsizetype WrapPoint(const QString& line) {
    for (const char* gap : {" | ", " "})
        for (qsizetype cut = line.lastIndexOf(gap); cut > 4; cut = line.lastIndexOf(gap, cut - 1))
            if (line.left(cut).toUtf8().size() <= 120) return cut;
    return -1;
}
inline QStringList Wrapped(const QStringList& lines) {
    QStringList out;
    for (QString line : lines) {
        for (qsizetype cut; line.toUtf8().size() > 120 && (cut = WrapPoint(line)) > 4; line = "    " + line.mid(cut + 1))
            out << line.left(cut);
        out << line;
    }
    return out;
}
inline void CompareGolden(const QStringList& seen, const QString& name) {
    const QStringList lines = Wrapped(seen);
    if (qEnvironmentVariableIsSet("VARNEL_GOLDEN")) WriteFile(GoldenPath(name), (lines.join('\n') + '\n').toUtf8());
    QCOMPARE(lines, QString::fromUtf8(ReadFile(GoldenPath(name))).split('\n', Qt::SkipEmptyParts));
}

// Records every message box and answers from a script; unscripted, a box
// is answered No where offered, else Ok, and a file question is cancelled.
struct CScriptedBoxes {
    std::vector<CMessageBoxRequest> requests;
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> files;      // the paths the file questions choose
    std::vector<QString> proposed;  // the paths they were opened with

    CScriptedBoxes() {
        SetMessageBoxHook([this](const CMessageBoxRequest& r) {
            requests.push_back(r);
            const auto answer = answers.empty() ? (r.buttons & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok) : answers.front();
            if (!answers.empty()) answers.pop_front();
            return answer;
        });
        SetFileDialogHook([this](bool, const QString&, const QString& path) {
            proposed.push_back(path);
            const QString answer = files.empty() ? QString() : files.front();
            if (!files.empty()) files.pop_front();
            return answer;
        });
    }
    ~CScriptedBoxes() { SetMessageBoxHook({}), SetFileDialogHook({}); }
    int Questions() const { return int(std::count_if(requests.begin(), requests.end(), [](auto& r) { return r.icon == QMessageBox::Question; })); }
    const CMessageBoxRequest& Last() const { return requests.back(); }
};

// Runs action on the next modal dialog of type T once its event loop is up.
// The probe dies with its context, so one for a window that never came
// does not linger into the next test.
template <class T = QDialog>
void OnNextModal(std::type_identity_t<std::function<void(T*)>> action, QObject* pContext = qApp, int nTriesLeft = 200) {
    QTimer::singleShot(10, pContext, [action, pContext, nTriesLeft] {
        if (auto* pModal = qobject_cast<T*>(QApplication::activeModalWidget())) action(pModal);
        else if (nTriesLeft > 0) OnNextModal<T>(action, pContext, nTriesLeft - 1);
    });
}

inline CVarnelView* View(CMainFrame& frame) { return qobject_cast<CVarnelView*>(frame.centralWidget()); }
inline QMenu* Submenu(CMainFrame& frame, int index) { return frame.menuBar()->actions()[index]->menu(); }
inline QAction* FindAction(const QList<QAction*>& actions, int id) {
    auto it = std::find_if(actions.begin(), actions.end(), [id](QAction* a) { return a->data().toInt() == id; });
    return it == actions.end() ? nullptr : *it;
}
inline QAction* Item(CMainFrame& frame, int submenu, int id) {  // as the opened menu shows it
    emit Submenu(frame, submenu)->aboutToShow();
    return FindAction(Submenu(frame, submenu)->actions(), id);
}
