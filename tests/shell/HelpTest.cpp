// The manual inside the application: «Вызов справки», F1 on a word of the
// program, and «Справка» in the error box of a failed run, each opening its
// entry in the help window.
#include "ShellTest.h"
#include "shell/dialogs/HelpWindow.h"
#include "shell/dialogs/ProgramDlg.h"

namespace {

CHelpWindow* HelpOf(QWidget* pOwner) { return pOwner->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly); }

QString Shown(CHelpWindow* pHelp) {
    const QUrl url = pHelp->Browser()->source();
    return url.fileName() + (url.hasFragment() ? "#" + url.fragment() : QString());
}

}  // namespace

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void helpCommandF1AndTheErrorBoxOpenTheirEntries() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        QVERIFY(frame.OnCommand(ID_HELP_INDEX));
        QVERIFY(HelpOf(&frame) && HelpOf(&frame)->isVisible());
        QVERIFY(HelpOf(&frame)->Browser()->toPlainText().contains("Руководство Varnel"));

        boxes.answers = {QMessageBox::Help};
        frame.Document().m_strProgram = "var t\r\nset t = -t";
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QVERIFY(boxes.Last().buttons & QMessageBox::Help);
        QCOMPARE(Shown(HelpOf(&frame)), QString("messages.html#bad-word-command-n"));

        CProgramDlg dlg;
        dlg.Editor()->setPlainText("var t\ngraphic g color=255");
        QTextCursor cursor = dlg.Editor()->textCursor();
        cursor.setPosition(int(QString("var t\ngraphic g col").size()));
        dlg.Editor()->setTextCursor(cursor);
        QCOMPARE(dlg.WordAtCursor(), QString("color"));
        dlg.OnHelp();
        QCOMPARE(Shown(HelpOf(&dlg)), QString("language.html#color"));
        cursor.setPosition(2);
        dlg.Editor()->setTextCursor(cursor);
        dlg.OnHelp();
        QCOMPARE(Shown(HelpOf(&dlg)), QString("language.html#var"));
    }
};
SHELL_TEST(HelpTest)
#include "HelpTest.moc"
