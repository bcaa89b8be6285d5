// Answers whatever window waits for the user: the topmost modal dialog or
// pop-up menu, the message boxes and the file-name questions. It knows no
// dialog by name, only the kinds of controls in it, so dialogs added later
// are filled in and ended the same way.
#pragma once
#include <QDir>
#include <QString>

#include "MonkeyRandom.h"
#include "shell/frame/MessageBoxes.h"

class QWidget;

class CMonkeyDialogs {
public:
    CMonkeyDialogs(CMonkeyRandom& random, const QDir& files) : m_random(random), m_files(files) {}

    // One step on the topmost modal window or pop-up menu: a field filled,
    // a button pressed, a click, or the end with OK or Cancel. False when
    // nothing is up. What was done goes to described.
    bool Step(QString& described);
    // Ends whatever is up, by chance-free Cancel and Escape.
    bool Dismiss();

    // The answers of the frame's hooks.
    QMessageBox::StandardButton AnswerBox(const CMessageBoxRequest& request);
    QString AnswerFileName(bool bSave);

    // Why the last box was a fault (an error shown without words), or empty.
    QString m_strFault;

private:
    void StepDialog(QWidget* pDialog, QString& described);
    void StepPopup(QWidget* pPopup, QString& described);
    void EndDialog(QWidget* pDialog, QString& described);
    void Fill(QWidget* pControl, QString& described);

    CMonkeyRandom& m_random;
    QDir m_files;
};
