// The dialogs: numbers typed into the element dialog, and the program editor
// (code page and line ends, keys, problems underlined while typing, a failed run's line, find, go to line).
#include "ShellTest.h"
#include "diagram/ElementParamDlg.h"
#include "shell/dialogs/FindBar.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/ProgramEdit.h"
#include "shell/dialogs/QtDialogHost.h"

namespace {

// The foreground colour the highlighter gave to the text at a column.
QColor ColourAt(QPlainTextEdit* edit, int line, int column) {
    for (const QTextLayout::FormatRange& range : edit->document()->findBlockByNumber(line - 1).layout()->formats())
        if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
    return QColor();
}

bool HasWavyUnderlineOn(QPlainTextEdit* edit, int line) {
    const auto selections = edit->extraSelections();
    return std::any_of(selections.begin(), selections.end(), [line](const QTextEdit::ExtraSelection& s) {
        return s.cursor.blockNumber() == line - 1 && s.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline;
    });
}

// Runs body inside the dialog's modal loop, the dialog active (keys reach
// its shortcuts only then); closes it afterwards even when a check failed.
int RunModal(CProgramDlg& dlg, std::function<void()> body) {
    QTimer::singleShot(0, &dlg, [&dlg, body] {
        [&] {
            dlg.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            body();
        }();
        if (dlg.isVisible()) dlg.reject();
    });
    return dlg.DoModal();
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // OK takes a box only when all of it is the number, comma or point: otherwise a message names the box and
    // the dialog stays open.
    void numbersTypedIntoBoxes() {
        CElementParamDlg level;
        level.m_strValues = "1", level.m_dStep = 7, level.m_nFlags = PF_VALUES | PF_STEP;
        CElementParamWindow window;
        window.Load(level.InitialState());
        window.show();
        QStringList messages;
        for (const char* typed : {"12abc", "", "1e999", "1,5"}) {
            OnNextModal<QMessageBox>([&messages](QMessageBox* box) { messages << box->text(), box->accept(); });
            window.Box(2)->setText(typed);
            window.accept();
            QCOMPARE(window.isVisible(), typed != std::string("1,5"));
        }
        QCOMPARE(messages, QStringList(3, "В поле «Значение» должно быть число, например 1,5 или -2e3."));
    }

    // A line feed alone ends no program line, so the editor's line numbers are the run's.
    void programTextTravelsAsCp1251WithCrLf() {
        const std::string program = "var \xD3\xF0\xEE\xE2\xE5\xED\xFC\r\nset a = 1";  // "Уровень"
        QCOMPARE(ProgramToEditorText(program), QString("var Уровень\nset a = 1"));
        QCOMPARE(EditorTextToProgram("var Уровень\nset a = 1\n"), program + "\r\n");
        QCOMPARE(ProgramToEditorText("a\rb"), QString("a\nb"));
        QCOMPARE(ProgramToEditorText("a\nb\r\nc"), QString("a\u240Ab\nc"));
        std::string all;
        for (int c = 1; c < 256; ++c) all += c == '\r' ? "" : std::string(1, char(c));
        QCOMPARE(EditorTextToProgram(ProgramToEditorText(all)), all);
    }

    // Return breaks the line, Tab moves on; a misspelt name is underlined with the run's message (the line's
    // tooltip) while typing, coloured as unknown.
    void programEditorWhileTyping() {
        EntityList diagram;
        diagram.Add(std::make_unique<CVLevel>());
        static_cast<CVLevel*>(diagram.GetAt(0))->m_strName = "population";
        CProgramDlg dlg;
        dlg.m_pDiagram = &diagram;
        dlg.m_strText = "var t";
        const int result = RunModal(dlg, [&] {
            CProgramEdit* edit = dlg.ProgramEdit();
            edit->moveCursor(QTextCursor::End);
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, "set popuation = t");
            QTest::keyClick(edit, Qt::Key_Tab);
            QVERIFY(dlg.isVisible() && !edit->toPlainText().contains('\t'));
            QTRY_VERIFY(HasWavyUnderlineOn(edit, 2));  // after the short pause
            QCOMPARE(edit->ProblemAt(2), QString("Interpretation error:\nVariable popuation undefined."));
            QCOMPARE(dlg.MessageText(), edit->ProblemAt(2));
            QCOMPARE(ColourAt(edit, 2, 5), QColor(192, 28, 40));   // unknown name
            QCOMPARE(ColourAt(edit, 2, 16), QColor(14, 107, 115));  // t, declared
            for (int i = 0; i < 9; ++i) edit->moveCursor(QTextCursor::Left);
            QTest::keyClicks(edit, "l");
            dlg.CheckNow();
            QVERIFY(!HasWavyUnderlineOn(edit, 2) && dlg.MessageText().isEmpty());
            QCOMPARE(ColourAt(edit, 2, 5), QColor(14, 107, 115));  // now the element
            dlg.accept();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(dlg.m_strText, std::string("var t\r\nset population = t"));
    }

    // Opened on a failed run's line; Ctrl+F finds round to the top; Ctrl+L goes to a line; the size is kept.
    void programEditorLinesFindAndSize() {
        {
            CProgramDlg dlg;
            QCOMPARE(dlg.size(), QSize(438, 294));  // the template's size at first
            dlg.m_strText = "var a\r\nset a = 1\r\nplot g a a\r\nset a = 2";
            dlg.ShowLine(3, "Interpretation error:\nVariable g undefined.");
            const int result = RunModal(dlg, [&] {
                CProgramEdit* edit = dlg.ProgramEdit();
                QTest::keyClick(edit, Qt::Key_F, Qt::ControlModifier);
                QLineEdit* field = dlg.FindBar()->Field();
                QTest::keyClicks(field, "set");
                for (int line : {4, 2, 4}) {
                    QTest::keyClick(field, Qt::Key_Return);
                    QCOMPARE(edit->CurrentLine(), line);
                }
                QTest::keyClick(field, Qt::Key_Escape);
                QVERIFY(dlg.isVisible() && dlg.FindBar()->isHidden());
                OnNextModal<QInputDialog>([](QInputDialog* input) { input->setIntValue(1), input->accept(); }, &dlg);
                QTest::keyClick(edit, Qt::Key_L, Qt::ControlModifier);
                QCOMPARE(edit->CurrentLine(), 1);
                QTest::keyClicks(edit, "' ");  // once the text changes the run's mark is gone
                dlg.CheckNow();
                QVERIFY(edit->MarkedLine() == 0 && dlg.MessageText().isEmpty());
                dlg.resize(700, 520);
            });
            QCOMPARE(result, int(QDialog::Rejected));
        }
        QCOMPARE(CProgramDlg().size(), QSize(700, 520));
    }
};
SHELL_TEST(DialogsTest)
#include "DialogsTest.moc"
