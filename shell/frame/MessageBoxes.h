// The message boxes and file-name questions of the desktop shell go through
// these functions so that tests can answer them without a real modal loop.
#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

struct CMessageBoxRequest {
    QWidget* pParent = nullptr;
    QString strText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    // A second button of the box's own, beside the standard ones; a hook
    // answers QMessageBox::Open to choose it.
    QString strExtraButton;
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const CMessageBoxRequest&)>;
// bSave chooses the save dialog; strProposed is the path the dialog starts
// with (empty: none); the result is the chosen path or empty.
using FileDialogHook = std::function<QString(bool bSave, const QString& strFilter, const QString& strProposed)>;

// Shows a modal box with the application's title; returns the button.
QMessageBox::StandardButton VarnelMessageBox(QWidget* pParent, const QString& text,
                                             QMessageBox::Icon icon = QMessageBox::NoIcon,
                                             QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// A box whose standard buttons carry texts of their own; a hook sees and
// answers the standard buttons.
QMessageBox::StandardButton VarnelChoiceBox(QWidget* pParent, const QString& text, QMessageBox::Icon icon,
                                            const QList<QPair<QMessageBox::StandardButton, QString>>& buttons);
// The error box of a failed run: OK, «Справка» (the answer Help) and, when
// strButton is not empty, a button of its own (the answer Open).
QMessageBox::StandardButton VarnelRunErrorBox(QWidget* pParent, const QString& text, const QString& strButton);
QString AskFileName(QWidget* pParent, bool bSave, const QString& strFilter,
                    const QString& strProposed = QString());

// An empty hook restores the real dialogs.
void SetMessageBoxHook(MessageBoxHook hook);
void SetFileDialogHook(FileDialogHook hook);
