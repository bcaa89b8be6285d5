// The program editor: line ends and code page on the way in and out, the
// Return key, scroll bars and font. (Cancel is checked in DocumentFlowTest.)
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTest>

#include "shell/dialogs/ProgramDlg.h"

class ProgramDlgTest : public QObject {
    Q_OBJECT

private slots:
    void textTravelsAsCp1251WithCrLf() {
        // "Уровень" in code page 1251, then a second line.
        const std::string program = "var \xD3\xF0\xEE\xE2\xE5\xED\xFC\r\nset a = 1";
        QCOMPARE(ProgramToEditorText(program), QString("var Уровень\nset a = 1"));
        QCOMPARE(EditorTextToProgram("var Уровень\nset a = 1\n"), program + "\r\n");
        QCOMPARE(ProgramToEditorText("a\rb"), QString("a\nb"));
        QCOMPARE(EditorTextToProgram("€ ☺"), std::string("\x88 ?"));
        const std::string all = [] {
            std::string s;
            for (int c = 1; c < 256; ++c)
                if (c != '\r' && c != '\n') s.push_back(static_cast<char>(c));
            return s;
        }();
        QCOMPARE(EditorTextToProgram(ProgramToEditorText(all)), all);
    }

    void returnBreaksLineAndOkTakesText() {
        CProgramDlg dlg;
        dlg.m_strText = "var a";
        bool tabInserted = true;
        QTimer::singleShot(0, [&dlg, &tabInserted] {
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
        QCOMPARE(dlg.DoModal(), int(QDialog::Accepted));
        QCOMPARE(dlg.m_strText, std::string("var a\r\nset a = 2"));
        QVERIFY(!tabInserted);
    }

    void editorLooksAsTemplateSays() {
        CProgramDlg dlg;
        QCOMPARE(dlg.windowTitle(), QString("Редактор программы"));
        QPlainTextEdit* edit = dlg.Editor();
        QCOMPARE(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(QFontInfo(edit->font()).fixedPitch());
        QStringList buttons;
        for (auto* b : dlg.findChildren<QPushButton*>()) buttons << b->text();
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"Cacel", "OK"}));
    }
};

QTEST_MAIN(ProgramDlgTest)
#include "ProgramDlgTest.moc"
