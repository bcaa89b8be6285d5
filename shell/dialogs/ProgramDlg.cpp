// The program editor: a plain multi-line editor in a monospace font with
// both scroll bars; Return breaks the line instead of pressing OK.
#include "shell/dialogs/ProgramDlg.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

#include "shell/view/QtText.h"
#include "ui_ProgramDlg.h"

CProgramDlg::CProgramDlg(QWidget* parent) : QDialog(parent), m_pUi(std::make_unique<Ui::ProgramDlg>()) {
    m_pUi->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    QFont font("Liberation Mono");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    m_pUi->edit1008->setFont(font);
}

CProgramDlg::~CProgramDlg() = default;

QPlainTextEdit* CProgramDlg::Editor() const { return m_pUi->edit1008; }

int CProgramDlg::DoModal() {
    m_pUi->edit1008->setPlainText(ProgramToEditorText(m_strText));
    m_pUi->edit1008->setFocus();
    return exec();
}

void CProgramDlg::accept() {
    m_strText = EditorTextToProgram(m_pUi->edit1008->toPlainText());
    QDialog::accept();
}

QString ProgramToEditorText(const std::string& program) {
    QString text = FromCp1251(program);
    text.replace("\r\n", "\n");
    text.replace('\r', '\n');  // the lexer also ends a line at a bare CR
    return text;
}

std::string EditorTextToProgram(const QString& text) {
    QString crlf = text;
    crlf.replace('\n', "\r\n");
    return ToCp1251(crlf);
}
