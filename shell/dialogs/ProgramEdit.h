// CProgramEdit: the text box of the program editor. A plain text editor
// with a line-number gutter, the current line tinted, lines the check
// refuses underlined with the run's message as their tooltip, and one line
// that a failed run pointed at marked.
#pragma once
#include <QPlainTextEdit>
#include <map>

class CProgramEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit CProgramEdit(QWidget* parent = nullptr);

    // 1-based line -> message; replaces the previous problems.
    void SetProblems(std::map<int, QString> problems);
    // The message of the problem on a line, or an empty string.
    QString ProblemAt(int nLine) const;
    // Marks a line (1-based) as the one a run failed on; 0 clears it.
    void MarkLine(int nLine);
    int MarkedLine() const { return m_nMarkedLine; }
    // Puts the cursor at the start of a line and shows it mid-view.
    void GoToLine(int nLine);
    int CurrentLine() const { return textCursor().blockNumber() + 1; }

    int GutterWidth() const;
    void PaintGutter(QPaintEvent* event);
    // Shown in the text's context menu after the standard entries.
    void AddMenuAction(QAction* pAction) { m_menuActions.push_back(pAction); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void UpdateGutterWidth();
    void UpdateGutter(const QRect& rect, int dy);
    void UpdateSelections();
    QTextEdit::ExtraSelection LineSelection(int nLine) const;

    QWidget* m_pGutter = nullptr;
    std::map<int, QString> m_problems;
    int m_nMarkedLine = 0;
    std::vector<QAction*> m_menuActions;
};
