// The program editor: line ends and code page on the way in and out, the
// Return key, scroll bars and font; problems underlined as the user types,
// colours of known and unknown names, find, go to line, opening on a failed
// run's line, and the remembered size. (Cancel is checked in DocumentFlowTest.)
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <functional>

#include "ShellTestSupport.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "shell/dialogs/FindBar.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/ProgramEdit.h"

namespace {

// The foreground colour the highlighter gave to the text at a column.
QColor ColourAt(QPlainTextEdit* edit, int line, int column) {
    const QTextBlock block = edit->document()->findBlockByNumber(line - 1);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
    return QColor();
}

bool HasWavyUnderlineOn(QPlainTextEdit* edit, int line) {
    for (const QTextEdit::ExtraSelection& s : edit->extraSelections())
        if (s.cursor.blockNumber() == line - 1 && s.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
            return true;
    return false;
}

// Runs body inside the dialog's modal loop; the dialog is closed afterwards
// even when a check in body failed, so a failure never hangs the test.
int RunModal(CProgramDlg& dlg, std::function<void()> body) {
    QTimer::singleShot(0, &dlg, [&dlg, body] {
        // Keys reach the dialog's shortcuts only in the active window.
        const auto step = [&dlg, &body] {
            dlg.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dlg));
            body();
        };
        step();
        if (dlg.isVisible()) dlg.reject();
    });
    return dlg.DoModal();
}

}  // namespace

class ProgramDlgTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void textTravelsAsCp1251WithCrLf() {
        // "Уровень" in code page 1251, then a second line.
        const std::string program = "var \xD3\xF0\xEE\xE2\xE5\xED\xFC\r\nset a = 1";
        QCOMPARE(ProgramToEditorText(program), QString("var Уровень\nset a = 1"));
        QCOMPARE(EditorTextToProgram("var Уровень\nset a = 1\n"), program + "\r\n");
        QCOMPARE(ProgramToEditorText("a\rb"), QString("a\nb"));
        QCOMPARE(EditorTextToProgram("€ ☺"), std::string("\x88 ?"));
        // A line feed alone ends no program line: it stays inside its line,
        // so the editor's line numbers are the run's.
        QCOMPARE(ProgramToEditorText("a\nb\r\nc"), QString("a\u240Ab\nc"));
        const std::string all = [] {
            std::string s;
            for (int c = 1; c < 256; ++c)
                if (c != '\r') s.push_back(static_cast<char>(c));
            return s;
        }();
        QCOMPARE(EditorTextToProgram(ProgramToEditorText(all)), all);
    }

    void returnBreaksLineAndOkTakesText() {
        CProgramDlg dlg;
        dlg.m_strText = "var a";
        bool tabInserted = true;
        const int result = RunModal(dlg, [&dlg, &tabInserted] {
            QPlainTextEdit* edit = dlg.Editor();
            edit->moveCursor(QTextCursor::End);
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClicks(edit, "set a = 2");
            QVERIFY(dlg.isVisible());  // Return did not press OK
            // A tab would belong to the word around it and break the line
            // for the interpreter, so Tab moves on as in every dialog.
            QTest::keyClick(edit, Qt::Key_Tab);
            tabInserted = edit->toPlainText().contains('\t');
            dlg.accept();
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(dlg.m_strText, std::string("var a\r\nset a = 2"));
        QVERIFY(!tabInserted);
    }

    void editorLooksAsTemplateSays() {
        CProgramDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("Редактор программы"));
        QPlainTextEdit* edit = dlg.Editor();
        QCOMPARE(edit->objectName(), QString("edit1008"));
        QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(QFontInfo(edit->font()).fixedPitch());
        QStringList buttons;
        for (auto* b : dlg.findChildren<QPushButton*>()) buttons << b->text();
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Cacel", "OK"}));
        QVERIFY(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
        // The gutter makes room for the widest line number.
        const int narrow = dlg.ProgramEdit()->GutterWidth();
        edit->setPlainText(QString("\n").repeated(12345));
        QVERIFY(dlg.ProgramEdit()->GutterWidth() > narrow);
    }

    // A misspelt name is underlined with the run's message while typing,
    // coloured as unknown, and the underline goes once it is corrected.
    void problemsShowWhileTyping() {
        EntityList diagram;
        auto level = std::make_unique<CVLevel>();
        level->m_strName = "population";
        diagram.Add(std::move(level));
        CProgramDlg dlg;
        dlg.m_pDiagram = &diagram;
        dlg.m_strText = "var t\r\n";
        RunModal(dlg, [&] {
            CProgramEdit* edit = dlg.ProgramEdit();
            edit->moveCursor(QTextCursor::End);
            QTest::keyClicks(edit, "set popuation = t");
            QTRY_VERIFY(HasWavyUnderlineOn(edit, 2));  // after the short pause
            QCOMPARE(edit->ProblemAt(2), QString("Interpretation error:\nVariable popuation undefined."));
            QCOMPARE(dlg.MessageText(), edit->ProblemAt(2));
            QCOMPARE(ColourAt(edit, 2, 5), QColor(192, 28, 40));  // unknown name
            QCOMPARE(ColourAt(edit, 2, 16), QColor(14, 107, 115));  // t, declared
            edit->moveCursor(QTextCursor::StartOfLine);
            edit->moveCursor(QTextCursor::NextWord);
            for (int i = 0; i < 4; ++i) edit->moveCursor(QTextCursor::Right);
            QTest::keyClicks(edit, "l");
            dlg.CheckNow();
            QVERIFY(!HasWavyUnderlineOn(edit, 2));
            QCOMPARE(ColourAt(edit, 2, 5), QColor(14, 107, 115));  // now the element
            QVERIFY(dlg.MessageText().isEmpty());
            dlg.accept();
        });
        QCOMPARE(dlg.m_strText, std::string("var t\r\nset population = t"));
    }

    void opensOnTheLineARunFailedOn() {
        CProgramDlg dlg;
        dlg.m_strText = "var t\r\n\r\nplot g t t\r\n' end";
        dlg.ShowLine(3, "Interpretation error:\nVariable g undefined.");
        RunModal(dlg, [&] {
            QCOMPARE(dlg.ProgramEdit()->CurrentLine(), 3);
            QCOMPARE(dlg.ProgramEdit()->MarkedLine(), 3);
            QCOMPARE(dlg.MessageText(), QString("Interpretation error:\nVariable g undefined."));
            // Once the text changes the run's message and mark are gone.
            QTest::keyClicks(dlg.Editor(), "' ");
            dlg.CheckNow();
            QCOMPARE(dlg.ProgramEdit()->MarkedLine(), 0);
            QCOMPARE(dlg.MessageText(), QString());
        });
    }

    void findAndGoToLineByKeys() {
        CProgramDlg dlg;
        dlg.m_strText = "var a\r\nset a = 1\r\nset a = 2\r\nvar b";
        const int result = RunModal(dlg, [&] {
            QPlainTextEdit* edit = dlg.Editor();
            QTest::keyClick(edit, Qt::Key_F, Qt::ControlModifier);
            QVERIFY(dlg.FindBar()->isVisible());
            QTest::keyClicks(dlg.FindBar()->Field(), "set");
            QTest::keyClick(dlg.FindBar()->Field(), Qt::Key_Return);
            QCOMPARE(edit->textCursor().blockNumber(), 1);
            QTest::keyClick(dlg.FindBar()->Field(), Qt::Key_Return);
            QCOMPARE(edit->textCursor().blockNumber(), 2);
            QTest::keyClick(dlg.FindBar()->Field(), Qt::Key_Return);  // round to the top
            QCOMPARE(edit->textCursor().blockNumber(), 1);
            // A text that is not there tints the field and moves nothing.
            QLineEdit* field = dlg.FindBar()->Field();
            field->setText("zzz");
            const int before = dlg.Editor()->textCursor().position();
            QVERIFY(!dlg.FindBar()->FindNext());
            QCOMPARE(dlg.Editor()->textCursor().position(), before);
            // Return and Escape in the field never close the dialog.
            QTest::keyClick(field, Qt::Key_Escape);
            QVERIFY(dlg.isVisible());
            QVERIFY(dlg.FindBar()->isHidden());
            OnNextModal([](QWidget* w) {
                auto* input = qobject_cast<QInputDialog*>(w);
                QVERIFY(input);
                input->setIntValue(4);
                input->accept();
            }, &dlg);
            QTest::keyClick(dlg.Editor(), Qt::Key_L, Qt::ControlModifier);
            QCOMPARE(dlg.ProgramEdit()->CurrentLine(), 4);
        });
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void sizeIsRemembered() {
        {
            CProgramDlg dlg;
            QCOMPARE(dlg.size(), QSize(438, 294));  // the template's size at first
            RunModal(dlg, [&] { dlg.resize(700, 520); });
        }
        CProgramDlg again;
        QCOMPARE(again.size(), QSize(700, 520));
        // The buttons follow the corner, the text box fills the rest.
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QPushButton* cancel = again.findChild<QPushButton*>("cancelButton");
        QCOMPARE(cancel->geometry().right(), 700 - 7);
        QCOMPARE(cancel->geometry().bottom(), 520 - 5);
        QCOMPARE(again.Editor()->width(), 700);
    }
};

QTEST_MAIN(ProgramDlgTest)
#include "ProgramDlgTest.moc"
