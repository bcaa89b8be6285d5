// CProgramDlg: the program editor (template 135). It edits a copy of the
// model program; the caller takes m_strText back only after OK. Beside the
// template's text box and buttons it checks the program as it is typed,
// colours it, finds text (Ctrl+F), goes to a line (Ctrl+L), can open on the
// line a run failed on, and remembers its size.
#pragma once
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "interpreter/ProgramCheck.h"

namespace Ui {
class ProgramDlg;
}
class CFindBar;
class CProgramEdit;
class CProgramHighlighter;
class EntityList;
class QLabel;
class QPlainTextEdit;
class QTimer;

class CProgramDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgramDlg(QWidget* parent = nullptr);
    ~CProgramDlg() override;

    // Code page 1251, lines separated by CR LF as the editor delivers them.
    std::string m_strText;
    // The diagram whose element names the program may use (not owned).
    const EntityList* m_pDiagram = nullptr;

    // Before DoModal: open with the cursor on this line (1-based), the line
    // marked and the message shown under the text.
    void ShowLine(int64_t nLine, const std::string& strMessage);

    // Shows m_strText, runs modally; OK writes the edited text back.
    int DoModal();
    QPlainTextEdit* Editor() const;
    CProgramEdit* ProgramEdit() const;
    CFindBar* FindBar() const { return m_pFindBar; }
    // The text under the text box: the run's message or the current line's problem.
    QString MessageText() const;
    // The program word the cursor stands in or beside.
    QString WordAtCursor() const;

    // Checks the text now (otherwise it runs shortly after typing stops).
    void CheckNow();

public slots:
    void accept() override;
    void done(int result) override;
    void OnFind();
    void OnGoToLine();
    // F1: the manual's entry of the word under the cursor.
    void OnHelp();

private:
    void LayOut();
    void CreateActions();
    void UpdateMessage();

    std::unique_ptr<Ui::ProgramDlg> m_pUi;
    CProgramHighlighter* m_pHighlighter = nullptr;
    CFindBar* m_pFindBar = nullptr;
    QLabel* m_pMessage = nullptr;
    QTimer* m_pCheckTimer = nullptr;
    std::vector<CCheckFinding> m_findings;
    int64_t m_nShowLine = 0;
    QString m_strRunMessage;
};

// Line ends as the edit control keeps them (LF) and as the model stores them
// (CR LF). A line feed without a carriage return does not end a program line,
// so the editor shows it as the sign U+240A inside its line.
QString ProgramToEditorText(const std::string& program);
std::string EditorTextToProgram(const QString& text);
