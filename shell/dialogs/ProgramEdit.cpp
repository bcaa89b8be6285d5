// The program editor's text box. The gutter is a child widget kept in the
// viewport margin; every tint and underline is an extra selection, so the
// text itself is never touched by them.
#include "shell/dialogs/ProgramEdit.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>
#include <memory>

namespace {

const QColor kCurrentLine(255, 250, 205);
const QColor kMarkedLine(255, 215, 215);
const QColor kProblem(192, 28, 40);
const QColor kGutterBack(240, 240, 240);
const QColor kGutterText(128, 128, 128);
constexpr int kGutterPadding = 6;

class CGutter : public QWidget {
public:
    explicit CGutter(CProgramEdit* pEdit) : QWidget(pEdit), m_pEdit(pEdit) {}
    QSize sizeHint() const override { return {m_pEdit->GutterWidth(), 0}; }

protected:
    void paintEvent(QPaintEvent* event) override { m_pEdit->PaintGutter(event); }
    bool event(QEvent* event) override {
        // The underlined line's message also shows over its number.
        if (event->type() == QEvent::ToolTip) {
            auto* help = static_cast<QHelpEvent*>(event);
            const QPoint inText(0, help->pos().y());
            const int line = m_pEdit->cursorForPosition(inText).blockNumber() + 1;
            const QString message = m_pEdit->ProblemAt(line);
            if (message.isEmpty())
                QToolTip::hideText();
            else
                QToolTip::showText(help->globalPos(), message, this);
            return true;
        }
        return QWidget::event(event);
    }

private:
    CProgramEdit* m_pEdit;
};

}  // namespace

CProgramEdit::CProgramEdit(QWidget* parent) : QPlainTextEdit(parent), m_pGutter(new CGutter(this)) {
    connect(this, &QPlainTextEdit::blockCountChanged, this, &CProgramEdit::UpdateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &CProgramEdit::UpdateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &CProgramEdit::UpdateSelections);
    UpdateGutterWidth();
    UpdateSelections();
}

int CProgramEdit::GutterWidth() const {
    int digits = 1;
    for (int count = std::max(1, blockCount()); count >= 10; count /= 10) ++digits;
    return 2 * kGutterPadding + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 2);
}

void CProgramEdit::UpdateGutterWidth() { setViewportMargins(GutterWidth(), 0, 0, 0); }

void CProgramEdit::UpdateGutter(const QRect& rect, int dy) {
    if (dy != 0)
        m_pGutter->scroll(0, dy);
    else
        m_pGutter->update(0, rect.y(), m_pGutter->width(), rect.height());
    if (rect.contains(viewport()->rect())) UpdateGutterWidth();
}

void CProgramEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_pGutter->setGeometry(QRect(area.left(), area.top(), GutterWidth(), area.height()));
}

void CProgramEdit::PaintGutter(QPaintEvent* event) {
    QPainter painter(m_pGutter);
    painter.fillRect(event->rect(), kGutterBack);
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int width = m_pGutter->width() - kGutterPadding;
    const int height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top()) {
            const int line = block.blockNumber() + 1;
            QFont font = painter.font();
            font.setBold(m_problems.count(line) != 0);
            painter.setFont(font);
            if (line == m_nMarkedLine) painter.fillRect(0, top, m_pGutter->width(), height, kMarkedLine);
            painter.setPen(m_problems.count(line) ? kProblem : kGutterText);
            painter.drawText(0, top, width, height, Qt::AlignRight, QString::number(line));
        }
        block = block.next();
        top = bottom;
    }
}

QTextEdit::ExtraSelection CProgramEdit::LineSelection(int nLine) const {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document()->findBlockByNumber(nLine - 1));
    return selection;
}

void CProgramEdit::UpdateSelections() {
    QList<QTextEdit::ExtraSelection> selections;
    auto wholeLine = [&](int nLine, const QColor& color) {
        QTextEdit::ExtraSelection s = LineSelection(nLine);
        s.format.setBackground(color);
        s.format.setProperty(QTextFormat::FullWidthSelection, true);
        s.cursor.clearSelection();
        selections.append(s);
    };
    wholeLine(CurrentLine(), kCurrentLine);
    if (m_nMarkedLine > 0 && m_nMarkedLine <= blockCount()) wholeLine(m_nMarkedLine, kMarkedLine);
    for (const auto& [line, message] : m_problems) {
        if (line < 1 || line > blockCount()) continue;
        QTextEdit::ExtraSelection s = LineSelection(line);
        // From the first character that is not a blank to the line's end.
        const QString text = s.cursor.block().text();
        int first = 0;
        while (first < text.size() && text[first] == QLatin1Char(' ')) ++first;
        s.cursor.setPosition(s.cursor.block().position() + first);
        s.cursor.setPosition(s.cursor.block().position() + text.size(), QTextCursor::KeepAnchor);
        s.format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
        s.format.setUnderlineColor(kProblem);
        selections.append(s);
    }
    setExtraSelections(selections);
}

void CProgramEdit::SetProblems(std::map<int, QString> problems) {
    if (problems == m_problems) return;
    m_problems = std::move(problems);
    UpdateSelections();
    m_pGutter->update();
}

QString CProgramEdit::ProblemAt(int nLine) const {
    const auto it = m_problems.find(nLine);
    return it == m_problems.end() ? QString() : it->second;
}

void CProgramEdit::MarkLine(int nLine) {
    m_nMarkedLine = nLine;
    UpdateSelections();
    m_pGutter->update();
}

void CProgramEdit::GoToLine(int nLine) {
    const QTextBlock block = document()->findBlockByNumber(std::clamp(nLine, 1, blockCount()) - 1);
    setTextCursor(QTextCursor(block));
    centerCursor();
}

bool CProgramEdit::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QTextCursor at = cursorForPosition(help->pos());
        const QString message = ProblemAt(at.blockNumber() + 1);
        // Only over the underlined text itself, not the empty space after it.
        QTextCursor end(at.block());
        end.movePosition(QTextCursor::EndOfBlock);
        if (message.isEmpty() || help->pos().x() > cursorRect(end).right() + 2)
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), message, viewport());
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void CProgramEdit::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!m_menuActions.empty()) menu->addSeparator();
    for (QAction* pAction : m_menuActions) menu->addAction(pAction);
    menu->exec(event->globalPos());
}
