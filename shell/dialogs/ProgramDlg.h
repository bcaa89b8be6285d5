// CProgramDlg: the program editor (template 135). It edits a copy of the
// model program; the caller takes m_strText back only after OK.
#pragma once
#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class ProgramDlg;
}
class QPlainTextEdit;

class CProgramDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgramDlg(QWidget* parent = nullptr);
    ~CProgramDlg() override;

    // Code page 1251, lines separated by CR LF as the editor delivers them.
    std::string m_strText;

    // Shows m_strText, runs modally; OK writes the edited text back.
    int DoModal();
    QPlainTextEdit* Editor() const;

public slots:
    void accept() override;

private:
    std::unique_ptr<Ui::ProgramDlg> m_pUi;
};

// Line ends as the edit control keeps them (LF) and as the model stores them.
QString ProgramToEditorText(const std::string& program);
std::string EditorTextToProgram(const QString& text);
