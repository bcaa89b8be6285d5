// The program editor: a monospace text box with both scroll bars where
// Return breaks the line instead of pressing OK, checked and coloured as the
// user types. The template's controls keep their places at the template's
// size; a layout lets them follow when the window is resized.
#include "shell/dialogs/ProgramDlg.h"

#include <QAction>
#include <QTextBlock>
#include <climits>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/dialogs/FindBar.h"
#include "shell/dialogs/ProgramEdit.h"
#include "shell/dialogs/ProgramHighlighter.h"
#include "shell/dialogs/HelpWindow.h"
#include "shell/view/QtText.h"
#include "shell/view/WindowKeys.h"
#include "ui_ProgramDlg.h"

namespace {

const char* const kSizeKey = "Program Editor/Size";
const char* const kMaximizedKey = "Program Editor/Maximized";
constexpr int kCheckDelayMs = 300;
const QChar kLoneLineFeed(0x240A);

QFont EditorFont() {
    QFont font("Liberation Mono");
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

}  // namespace

CProgramDlg::CProgramDlg(QWidget* parent) : QDialog(parent), m_pUi(std::make_unique<Ui::ProgramDlg>()) {
    m_pUi->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    m_pUi->edit1008->setFont(EditorFont());
    m_pHighlighter = new CProgramHighlighter(m_pUi->edit1008->document());
    m_pFindBar = new CFindBar(m_pUi->edit1008, this);
    m_pMessage = new QLabel(this);
    m_pMessage->setObjectName("messageLabel");
    m_pMessage->setWordWrap(true);
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_pMessage->setStyleSheet(QStringLiteral("QLabel { color: #a51d2d; padding: 2px 4px; }"));
    m_pMessage->hide();
    LayOut();
    CreateActions();

    m_pCheckTimer = new QTimer(this);
    m_pCheckTimer->setSingleShot(true);
    m_pCheckTimer->setInterval(kCheckDelayMs);
    connect(m_pCheckTimer, &QTimer::timeout, this, &CProgramDlg::CheckNow);
    connect(m_pUi->edit1008, &QPlainTextEdit::textChanged, m_pCheckTimer, qOverload<>(&QTimer::start));
    connect(m_pUi->edit1008, &QPlainTextEdit::cursorPositionChanged, this, &CProgramDlg::UpdateMessage);

    const QSettings settings;
    const QSize size = settings.value(kSizeKey).toSize();
    if (size.isValid()) resize(size.expandedTo(minimumSize()));
    if (settings.value(kMaximizedKey).toBool()) setWindowState(windowState() | Qt::WindowMaximized);
}

CProgramDlg::~CProgramDlg() = default;

void CProgramDlg::LayOut() {
    // At the template's size the text box fills the top and the two buttons
    // sit at the template's places in the bottom right corner.
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 0, 6, 4);
    buttons->setSpacing(4);
    buttons->addStretch(1);
    for (QPushButton* button : {m_pUi->okButton, m_pUi->cancelButton}) {
        button->setFixedSize(button->size());
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_pUi->edit1008, 1);
    layout->addWidget(m_pFindBar);
    layout->addWidget(m_pMessage);
    layout->addLayout(buttons);
    setMinimumSize(260, 160);
}

void CProgramDlg::CreateActions() {
    auto add = [this](const QString& text, const char* action, auto slot) {
        auto* pAction = new QAction(text, this);
        pAction->setShortcuts(WindowKeys("program", action));
        pAction->setShortcutContext(Qt::WindowShortcut);
        connect(pAction, &QAction::triggered, this, slot);
        addAction(pAction);
        return pAction;
    };
    ProgramEdit()->AddMenuAction(add(QStringLiteral("Найти…"), "find",
                                     &CProgramDlg::OnFind));
    add(QStringLiteral("Найти далее"), "findNext", [this] { m_pFindBar->FindNext(false); });
    add(QStringLiteral("Найти назад"), "findPrevious", [this] { m_pFindBar->FindNext(true); });
    ProgramEdit()->AddMenuAction(add(QStringLiteral("Перейти к строке…"), "goToLine",
                                     &CProgramDlg::OnGoToLine));
    add(QStringLiteral("Справка"), "help", &CProgramDlg::OnHelp);
}

QPlainTextEdit* CProgramDlg::Editor() const { return m_pUi->edit1008; }
CProgramEdit* CProgramDlg::ProgramEdit() const { return m_pUi->edit1008; }

void CProgramDlg::ShowLine(int64_t nLine, const std::string& strMessage) {
    m_nShowLine = nLine;
    m_strRunMessage = FromCp1251(strMessage);
}

int CProgramDlg::DoModal() {
    m_pUi->edit1008->setPlainText(ProgramToEditorText(m_strText));
    CheckNow();
    if (m_nShowLine > 0) {
        const int line = static_cast<int>(std::min<int64_t>(m_nShowLine, m_pUi->edit1008->blockCount()));
        ProgramEdit()->GoToLine(line);
        ProgramEdit()->MarkLine(line);
        // The run's message speaks of the text as it was run: the first
        // change makes it stale, and the check takes over.
        connect(
            m_pUi->edit1008, &QPlainTextEdit::textChanged, this,
            [this] {
                m_strRunMessage.clear();
                ProgramEdit()->MarkLine(0);
                UpdateMessage();
            },
            Qt::SingleShotConnection);
    }
    UpdateMessage();
    m_pUi->edit1008->setFocus();
    return exec();
}

void CProgramDlg::CheckNow() {
    m_pCheckTimer->stop();
    const std::string program = EditorTextToProgram(m_pUi->edit1008->toPlainText());
    CProgramNames names;
    names.ImportDiagram(m_pDiagram);
    names.ScanProgram(program);
    m_findings = CheckProgram(program, names);
    std::map<int, QString> problems;
    for (const CCheckFinding& finding : m_findings)
        if (finding.nLine <= INT_MAX) problems.emplace(static_cast<int>(finding.nLine), FromCp1251(finding.strMessage));
    ProgramEdit()->SetProblems(std::move(problems));
    m_pHighlighter->SetNames(names);
    UpdateMessage();
}

QString CProgramDlg::MessageText() const { return m_pMessage->isHidden() ? QString() : m_pMessage->text(); }

void CProgramDlg::UpdateMessage() {
    QString text = ProgramEdit()->ProblemAt(ProgramEdit()->CurrentLine());
    if (text.isEmpty()) text = m_strRunMessage;
    m_pMessage->setText(text);
    m_pMessage->setVisible(!text.isEmpty());
}

void CProgramDlg::OnFind() { m_pFindBar->Open(); }

QString CProgramDlg::WordAtCursor() const {
    // Program words end at the language's delimiters, not at Qt's word ends.
    const QString line = Editor()->textCursor().block().text();
    const int column = Editor()->textCursor().positionInBlock();
    static const QString kDelimiters = QStringLiteral("+-/*=() ");
    int start = column;
    while (start > 0 && !kDelimiters.contains(line[start - 1])) --start;
    int end = column;
    while (end < line.size() && !kDelimiters.contains(line[end])) ++end;
    return line.mid(start, end - start);
}

void CProgramDlg::OnHelp() { ShowManualForWord(this, WordAtCursor()); }

void CProgramDlg::OnGoToLine() {
    QPlainTextEdit* edit = m_pUi->edit1008;
    bool bOk = false;
    const int line = QInputDialog::getInt(this, QStringLiteral("Перейти к строке"),
                                          QStringLiteral("Номер строки (1–%1):").arg(edit->blockCount()),
                                          ProgramEdit()->CurrentLine(), 1, edit->blockCount(), 1, &bOk);
    if (bOk) ProgramEdit()->GoToLine(line);
    edit->setFocus();
}

void CProgramDlg::accept() {
    m_strText = EditorTextToProgram(m_pUi->edit1008->toPlainText());
    QDialog::accept();
}

void CProgramDlg::done(int result) {
    QSettings settings;
    settings.setValue(kMaximizedKey, isMaximized());
    if (!isMaximized()) settings.setValue(kSizeKey, size());
    QDialog::done(result);
}

QString ProgramToEditorText(const std::string& program) {
    QString text = FromCp1251(program);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\n'), kLoneLineFeed);
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));  // the lexer also ends a line at a bare CR
    return text;
}

std::string EditorTextToProgram(const QString& text) {
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    crlf.replace(kLoneLineFeed, QLatin1Char('\n'));
    return ToCp1251(crlf);
}
