// Real and scripted message boxes and file dialogs.
#include "shell/frame/MessageBoxes.h"

#include <QFileDialog>
#include <QPushButton>

#include "shell/view/CommandIds.h"
#include "shell/frame/Resources.h"

namespace {
MessageBoxHook& BoxHook() {
    static MessageBoxHook hook;
    return hook;
}
FileDialogHook& FileHook() {
    static FileDialogHook hook;
    return hook;
}
}  // namespace

QMessageBox::StandardButton VarnelMessageBox(QWidget* pParent, const QString& text,
                                             QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons) {
    if (BoxHook()) return BoxHook()({pParent, text, icon, buttons, QString()});
    QMessageBox box(icon, LoadResString(IDS_APP_TITLE), text, buttons, pParent);
    box.setTextFormat(Qt::PlainText);  // interpreter messages are no markup
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton VarnelRunErrorBox(QWidget* pParent, const QString& text, const QString& strButton) {
    const QMessageBox::StandardButtons buttons = QMessageBox::Ok | QMessageBox::Help;
    if (BoxHook()) return BoxHook()({pParent, text, QMessageBox::Critical, buttons, strButton});
    QMessageBox box(QMessageBox::Critical, LoadResString(IDS_APP_TITLE), text, buttons, pParent);
    box.setTextFormat(Qt::PlainText);
    box.button(QMessageBox::Help)->setText(QStringLiteral("Справка"));
    QPushButton* pExtra = strButton.isEmpty() ? nullptr : box.addButton(strButton, QMessageBox::ActionRole);
    // OK stays what Return and Escape choose, as in the plain error box.
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (pExtra && box.clickedButton() == pExtra) return QMessageBox::Open;
    return box.clickedButton() == box.button(QMessageBox::Help) ? QMessageBox::Help : QMessageBox::Ok;
}

QMessageBox::StandardButton VarnelChoiceBox(QWidget* pParent, const QString& text, QMessageBox::Icon icon,
                                            const QList<QPair<QMessageBox::StandardButton, QString>>& buttons) {
    QMessageBox::StandardButtons all;
    for (const auto& button : buttons) all |= button.first;
    if (BoxHook()) return BoxHook()({pParent, text, icon, all, QString()});
    QMessageBox box(icon, LoadResString(IDS_APP_TITLE), text, all, pParent);
    box.setTextFormat(Qt::PlainText);
    for (const auto& [standard, name] : buttons) {
        box.button(standard)->setText(name);
        box.button(standard)->setIcon(QIcon());  // the standard one would no longer fit the text
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString AskFileName(QWidget* pParent, bool bSave, const QString& strFilter, const QString& strProposed) {
    if (FileHook()) return FileHook()(bSave, strFilter, strProposed);
    if (bSave) return QFileDialog::getSaveFileName(pParent, QString(), strProposed, strFilter);
    return QFileDialog::getOpenFileName(pParent, QString(), QString(), strFilter);
}

void SetMessageBoxHook(MessageBoxHook hook) { BoxHook() = std::move(hook); }
void SetFileDialogHook(FileDialogHook hook) { FileHook() = std::move(hook); }
