// The manual inside the application: the help window's pages, index and
// full-text search; «Вызов справки», F1 on a word of the program, and
// «Справка» in the error box of a failed run, each opening its entry.
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QHelpSearchResult>

#include "ShellTest.h"
#include "shell/dialogs/HelpTopics.h"
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
    void windowShowsPagesAndFindsWordsByFullTextSearch() {
        CHelpWindow help;
        QSignalSpy indexed(&help, &CHelpWindow::IndexReady);
        help.show();
        help.ShowPage("language.html#set");
        QVERIFY(help.Browser()->toPlainText().contains("присваивает числовому символу"));
        QTRY_VERIFY2_WITH_TIMEOUT(indexed.count() >= 1, qPrintable(QString::number(indexed.count())), 20000);
        QHelpSearchEngine* pSearch = help.Engine()->searchEngine();
        // An indexing pass that the window's own pass cancels may report
        // first, so a search is asked again until the index answers.
        const auto finds = [&](const QString& word) {
            QSignalSpy finished(pSearch, &QHelpSearchEngine::searchingFinished);
            help.Search(word);
            if (finished.isEmpty() && !finished.wait(5000)) return false;
            return pSearch->searchResultCount() > 0;
        };
        for (const QString& word : {QString("divY"), QString("переключатель")}) {
            QTRY_VERIFY2_WITH_TIMEOUT(finds(word), qPrintable(word), 60000);
            QStringList pages;
            for (const QHelpSearchResult& result : pSearch->searchResults(0, pSearch->searchResultCount()))
                pages << result.url().fileName();
            QVERIFY2(pages.contains("language.html"), qPrintable(pages.join(' ')));
        }
        QVERIFY(help.Engine()->contentModel() != nullptr);
    }

    void topicsOfWordsAndMessages() {
        const std::vector<CHelpTopic>& topics = HelpTopics();
        QCOMPARE(HelpRefForWord(topics, "goto"), QString("language.html#goto"));
        QCOMPARE(HelpRefForWord(topics, "divY"), QString("language.html#divy"));
        QCOMPARE(HelpRefForWord(topics, "sqrt"), QString("language.html#sqrt"));
        QCOMPARE(HelpRefForWord(topics, "population"), QString());
        QCOMPARE(HelpRefForMessage(topics, "Interpretation error:\nBad 'set' command (2)."),
                 QString("messages.html#bad-word-command-n"));
        QCOMPARE(HelpRefForMessage(topics, "Interpretation error:\nBad 'if' command attributes (12)."),
                 QString("messages.html#bad-word-command-attributes-n"));
        QCOMPARE(HelpRefForMessage(topics, "Import drawing variables:\nVariable N redefinition."),
                 QString("messages.html#import-drawing-variables-variable-name-redefinition"));
        QCOMPARE(HelpRefForMessage(topics, "Interpretation error:\nVariable N redefinition."),
                 QString("messages.html#variable-name-redefinition"));
    }

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
