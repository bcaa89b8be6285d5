// Shared helpers of the widget tests: a scripted stand-in for message boxes
// and file dialogs, an isolated settings store, and a way to act on the
// next modal dialog from inside its own event loop.
#pragma once
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>
#include <vector>

#include "shell/frame/MessageBoxes.h"
#include "shell/frame/VarnelApp.h"

// Records every message box and answers from a script (default: the
// box's first offered answer among No, Ok).
class CScriptedBoxes {
public:
    CScriptedBoxes() {
        SetMessageBoxHook([this](const CMessageBoxRequest& r) {
            m_requests.push_back(r);
            if (!m_answers.empty()) {
                const auto answer = m_answers.front();
                m_answers.pop_front();
                return answer;
            }
            return (r.buttons & QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
        });
        SetFileDialogHook([this](bool, const QString&, const QString& proposed) {
            m_proposed.push_back(proposed);
            if (m_fileNames.empty()) return QString();
            const QString name = m_fileNames.front();
            m_fileNames.pop_front();
            return name;
        });
    }
    ~CScriptedBoxes() {
        SetMessageBoxHook({});
        SetFileDialogHook({});
    }
    void Answer(QMessageBox::StandardButton b) { m_answers.push_back(b); }
    void ChooseFile(const QString& path) { m_fileNames.push_back(path); }
    int Count() const { return static_cast<int>(m_requests.size()); }
    int QuestionCount() const {
        int n = 0;
        for (const auto& r : m_requests) n += r.icon == QMessageBox::Question;
        return n;
    }
    const CMessageBoxRequest& Last() const { return m_requests.back(); }
    // The paths the file dialogs were opened with, in order.
    const std::vector<QString>& Proposed() const { return m_proposed; }

private:
    std::vector<CMessageBoxRequest> m_requests;
    std::deque<QMessageBox::StandardButton> m_answers;
    std::deque<QString> m_fileNames;
    std::vector<QString> m_proposed;
};

// Keeps the recent-file list of the tests away from the user's settings.
inline void IsolateSettings(QTemporaryDir& dir) {
    qputenv("XDG_CONFIG_HOME", QDir(dir.path()).filePath("config").toLocal8Bit());
    SetApplicationIdentity();
}

// Runs action on the next modal dialog as soon as its event loop is up. The
// probe dies with its context, so a probe for a window that never came does
// not linger into the next test.
inline void OnNextModal(std::function<void(QWidget*)> action, QObject* pContext = qApp, int nTriesLeft = 200) {
    QTimer::singleShot(10, pContext, [action, pContext, nTriesLeft] {
        QWidget* pModal = QApplication::activeModalWidget();
        if (pModal)
            action(pModal);
        else if (nTriesLeft > 0)
            OnNextModal(action, pContext, nTriesLeft - 1);
    });
}
