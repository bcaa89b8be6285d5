// Shared by the widget tests: the registry that lets one executable run any
// test class by name, golden files, scripted message boxes and file
// questions, acting on the next modal dialog from inside its own event
// loop, and the frame's menus and files as tests reach them.
#pragma once
#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <map>

#include "diagram/CommandIds.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/VarnelView.h"

inline std::map<QString, std::function<QObject*()>>& TestClasses() {
    static std::map<QString, std::function<QObject*()>> classes;
    return classes;
}
#define SHELL_TEST(Class) static const bool kRegistered = (TestClasses()[#Class] = [] { return new Class; }, true);

// tests/shell/golden/NAME: VARNEL_GOLDEN=1 writes what the test sees
// instead (look at the difference before committing it).
inline QString GoldenPath(const QString& name) { return VARNEL_SOURCE_DIR "/tests/shell/golden/" + name; }
inline bool WritingGolden() { return qEnvironmentVariableIsSet("VARNEL_GOLDEN"); }
inline void CompareGolden(const QImage& image, const QString& name) {
    if (WritingGolden()) QVERIFY(image.save(GoldenPath(name + ".png")));
    QCOMPARE(image.convertToFormat(QImage::Format_RGB32),
             QImage(GoldenPath(name + ".png")).convertToFormat(QImage::Format_RGB32));
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
inline void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}
inline QByteArray Bytes(const std::vector<uint8_t>& bytes) { return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())); }

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
            return Next(answers, (r.buttons & QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok);
        });
        SetFileDialogHook([this](bool, const QString&, const QString& path) {
            proposed.push_back(path);
            return Next(files, QString());
        });
    }
    ~CScriptedBoxes() {
        SetMessageBoxHook({});
        SetFileDialogHook({});
    }
    template <class T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
    int Questions() const {
        return int(std::count_if(requests.begin(), requests.end(), [](auto& r) { return r.icon == QMessageBox::Question; }));
    }
    const CMessageBoxRequest& Last() const { return requests.back(); }
};

// Runs action on the next modal dialog of type T as soon as its event loop
// is up. The probe dies with its context, so a probe for a window that
// never came does not linger into the next test.
template <class T = QDialog>
void OnNextModal(std::type_identity_t<std::function<void(T*)>> action, QObject* pContext = qApp, int nTriesLeft = 200) {
    QTimer::singleShot(10, pContext, [action, pContext, nTriesLeft] {
        if (auto* pModal = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(pModal);
        else if (nTriesLeft > 0)
            OnNextModal<T>(action, pContext, nTriesLeft - 1);
    });
}

inline CVarnelView* View(CMainFrame& frame) { return qobject_cast<CVarnelView*>(frame.centralWidget()); }
inline QMenu* Submenu(CMainFrame& frame, int index) { return frame.menuBar()->actions()[index]->menu(); }
inline QAction* FindAction(const QList<QAction*>& actions, int id) {
    for (QAction* a : actions)
        if (a->data().toInt() == id) return a;
    return nullptr;
}
// A menu item as the opened menu shows it.
inline QAction* Item(CMainFrame& frame, int submenu, int id) {
    emit Submenu(frame, submenu)->aboutToShow();
    return FindAction(Submenu(frame, submenu)->actions(), id);
}
// How many save questions New asks (answered Cancel).
inline int QuestionsOnNew(CMainFrame& frame) {
    CScriptedBoxes boxes;
    boxes.answers = {QMessageBox::Cancel};
    frame.OnCommand(ID_FILE_NEW);
    return boxes.Questions();
}
