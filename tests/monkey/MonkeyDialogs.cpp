// The monkey's hand on dialogs, pop-up menus, message boxes and file-name
// questions.
#include "MonkeyDialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>

namespace {

const Qt::Key kKeys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Tab,     Qt::Key_Backtab,
                         Qt::Key_Space,  Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Up,   Qt::Key_Down,
                         Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,  Qt::Key_End,    Qt::Key_A,
                         Qt::Key_Z,      Qt::Key_F1,     Qt::Key_Left,    Qt::Key_Right,  Qt::Key_Insert};

// Steps taken on a window so far, and how many it gets before it is ended.
int Count(QWidget* pWindow, const char* name, int start) {
    const QVariant value = pWindow->property(name);
    return value.isValid() ? value.toInt() : start;
}

bool IsControl(QWidget* w) {
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) ||
           qobject_cast<QAbstractItemView*>(w);
}

bool IsTypeable(const QString& text) {
    if (text.size() > 40) return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
    return true;
}

// A button that most likely ends its dialog: those are left to the end,
// so that a dialog gets its fields filled first.
bool EndsDialog(QWidget* w) {
    auto* pButton = qobject_cast<QPushButton*>(w);
    if (pButton == nullptr) return false;
    static const QStringList kEnding = {"OK", "Cancel", "Cacel", "Отмена", "Close", "Закрыть"};
    return pButton->isDefault() || qobject_cast<QDialogButtonBox*>(pButton->parentWidget()) ||
           kEnding.contains(pButton->text().remove('&'));
}

QAbstractButton* AcceptButton(QWidget* pDialog) {
    for (auto* box : pDialog->findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole && b->isEnabled()) return b;
    for (auto* b : pDialog->findChildren<QPushButton*>())
        if (b->isVisible() && b->isEnabled() && (b->isDefault() || b->text().remove('&') == "OK")) return b;
    return nullptr;
}

}  // namespace

bool CMonkeyDialogs::Step(QString& described) {
    if (QWidget* pPopup = QApplication::activePopupWidget()) {
        StepPopup(pPopup, described);
        return true;
    }
    if (QWidget* pModal = QApplication::activeModalWidget()) {
        StepDialog(pModal, described);
        return true;
    }
    return false;
}

bool CMonkeyDialogs::Dismiss() {
    if (QWidget* pPopup = QApplication::activePopupWidget()) {
        pPopup->close();
        return true;
    }
    QWidget* pModal = QApplication::activeModalWidget();
    if (pModal == nullptr) return false;
    if (auto* pProgress = qobject_cast<QProgressDialog*>(pModal))
        pProgress->cancel();
    else if (auto* pDialog = qobject_cast<QDialog*>(pModal))
        pDialog->reject();
    else
        pModal->close();
    return true;
}

void CMonkeyDialogs::StepPopup(QWidget* pPopup, QString& described) {
    const int steps = Count(pPopup, "monkeySteps", 0);
    pPopup->setProperty("monkeySteps", steps + 1);
    if (steps > 6) {  // a pop-up that keys do not close
        pPopup->close();
        described = "pop-up closed";
        return;
    }
    if (auto* pMenu = qobject_cast<QMenu*>(pPopup)) {
        QList<QAction*> actions;
        for (QAction* a : pMenu->actions())
            if (a->isVisible() && a->isEnabled() && !a->isSeparator()) actions.append(a);
        if (actions.isEmpty() || m_random.Chance(15)) {
            QTest::keyClick(pMenu, Qt::Key_Escape);
            described = "menu escaped";
            return;
        }
        QAction* pAction = m_random.Pick(actions);
        described = "menu item " + pAction->text() + " " + pAction->data().toString();
        pMenu->setActiveAction(pAction);
        QTest::keyClick(pMenu, Qt::Key_Return);  // a submenu opens instead
        return;
    }
    const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Down, Qt::Key_Up, Qt::Key_Return};
    const Qt::Key key = m_random.Pick(keys);
    described = QString("key %1 on a pop-up").arg(int(key));
    QTest::keyClick(pPopup, key);
}

void CMonkeyDialogs::StepDialog(QWidget* pDialog, QString& described) {
    const QString name = pDialog->metaObject()->className();
    if (auto* pProgress = qobject_cast<QProgressDialog*>(pDialog)) {
        // Chance-free: whether a run lasts long enough to show it is a
        // matter of the clock.
        pProgress->cancel();
        described = "progress cancelled";
        return;
    }
    if (!pDialog->property("monkeyLimit").isValid()) pDialog->setProperty("monkeyLimit", m_random.Between(0, 16));
    const int steps = Count(pDialog, "monkeySteps", 0);
    const int limit = Count(pDialog, "monkeyLimit", 0);
    pDialog->setProperty("monkeySteps", steps + 1);
    if (auto* pBox = qobject_cast<QMessageBox*>(pDialog)) {
        const QList<QAbstractButton*> buttons = pBox->buttons();
        described = name + " answered";
        if (buttons.isEmpty()) pBox->close(); else m_random.Pick(buttons)->click();
        return;
    }
    if (auto* pFiles = qobject_cast<QFileDialog*>(pDialog)) {
        if (m_random.Chance(40)) {
            pFiles->reject();
            described = "file dialog cancelled";
            return;
        }
        const QString path = AnswerFileName(pFiles->acceptMode() == QFileDialog::AcceptSave);
        described = "file dialog: " + path;
        pFiles->selectFile(path);
        QMetaObject::invokeMethod(pFiles, "accept");
        return;
    }
    if (steps >= limit) {
        EndDialog(pDialog, described);
        return;
    }
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
        const Qt::Key key = m_random.Pick(kKeys);
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

void CMonkeyDialogs::EndDialog(QWidget* pDialog, QString& described) {
    auto* pQDialog = qobject_cast<QDialog*>(pDialog);
    const int steps = Count(pDialog, "monkeySteps", 0);
    const int limit = Count(pDialog, "monkeyLimit", 0);
    if (steps > limit + 4) {  // it would not end by its buttons or keys
        described = "dialog forced shut";
        if (pQDialog) pQDialog->reject(); else pDialog->close();
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
            if (pQDialog) pQDialog->reject(); else pDialog->close();
            return;
        default:
            described = "dialog escaped";
            QTest::keyClick(pDialog, Qt::Key_Escape);
    }
}

void CMonkeyDialogs::Fill(QWidget* pControl, QString& described) {
    described = QString("fill %1").arg(pControl->metaObject()->className());
    if (auto* pEdit = qobject_cast<QLineEdit*>(pControl)) {
        if (pEdit->isReadOnly()) return;
        pEdit->setFocus();
        const QString text = m_random.FieldText();
        described += " " + text.left(40);
        if (m_random.Chance(70)) pEdit->selectAll();
        if (m_random.Chance(15)) {
            QTest::keyClick(pEdit, Qt::Key_Backspace);
        } else if (IsTypeable(text)) {
            QTest::keyClicks(pEdit, text);  // through the field's validator
        } else {
            pEdit->insert(text);  // as a paste: validated too
        }
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
            default: QTest::keyClick(pPlain, m_random.Pick(kKeys));
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

QMessageBox::StandardButton CMonkeyDialogs::AnswerBox(const CMessageBoxRequest& request) {
    if (request.icon == QMessageBox::Critical && request.strText.trimmed().isEmpty())
        m_strFault = "an error was shown without a message";
    QList<QMessageBox::StandardButton> offered;
    for (uint bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1)
        if (request.buttons & bit) offered.append(static_cast<QMessageBox::StandardButton>(bit));
    return offered.isEmpty() ? QMessageBox::Ok : m_random.Pick(offered);
}

QString CMonkeyDialogs::AnswerFileName(bool bSave) {
    if (m_random.Chance(15)) return {};  // the user cancels
    if (bSave) {
        const QString choices[] = {
            m_files.filePath(QString("saved-%1.vrn").arg(m_random.Below(3))),
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
