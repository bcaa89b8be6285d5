// The find bar searches with the text box's own find, without case, and
// starts over from the other end when it runs out of matches.
#include "shell/dialogs/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

CFindBar::CFindBar(QPlainTextEdit* pEdit, QWidget* parent)
    : QWidget(parent), m_pEdit(pEdit), m_pField(new QLineEdit(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel(QStringLiteral("Найти:"), this));
    layout->addWidget(m_pField, 1);
    auto addButton = [&](const QString& text, const QString& tip, auto slot) {
        auto* button = new QToolButton(this);
        button->setText(text);
        button->setToolTip(tip);
        connect(button, &QToolButton::clicked, this, slot);
        layout->addWidget(button);
    };
    addButton(QStringLiteral("Назад"), QStringLiteral("Предыдущее (Shift+F3)"), [this] { FindNext(true); });
    addButton(QStringLiteral("Далее"), QStringLiteral("Следующее (F3)"), [this] { FindNext(false); });
    addButton(QStringLiteral("✕"), QStringLiteral("Закрыть (Esc)"), [this] { Close(); });
    m_pField->installEventFilter(this);
    connect(m_pField, &QLineEdit::textEdited, this, [this] { m_pField->setStyleSheet(QString()); });
    hide();
}

void CFindBar::Open() {
    const QString selected = m_pEdit->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) m_pField->setText(selected);
    show();
    m_pField->setFocus();
    m_pField->selectAll();
}

void CFindBar::Close() {
    hide();
    m_pEdit->setFocus();
}

bool CFindBar::FindNext(bool bBackward) {
    const QString text = m_pField->text();
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags = bBackward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool bFound = m_pEdit->find(text, flags);
    if (!bFound) {
        const QTextCursor keep = m_pEdit->textCursor();
        QTextCursor from(m_pEdit->document());
        from.movePosition(bBackward ? QTextCursor::End : QTextCursor::Start);
        m_pEdit->setTextCursor(from);
        bFound = m_pEdit->find(text, flags);
        if (!bFound) m_pEdit->setTextCursor(keep);
    }
    m_pField->setStyleSheet(bFound ? QString() : QStringLiteral("QLineEdit { background: #ffd7d7; }"));
    return bFound;
}

bool CFindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pField && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Return must not reach the dialog, whose default button is OK.
            FindNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
