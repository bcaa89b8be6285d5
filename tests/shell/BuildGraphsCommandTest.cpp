// The build-graphs command as the user sees it: status texts, the error box
// instead of a graphs window, the graphs window on success, and stopping a
// run that does not end.
#include <QProgressDialog>
#include <QTest>

#include "diagram/CommandIds.h"
#include "ShellTestSupport.h"
#include "shell/frame/BuildGraphsCommand.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/StatusBar.h"
#include "shell/dialogs/GraphsDlg.h"
#include "document/VarnelDoc.h"

namespace {

bool GraphsWindowVisible() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CGraphsDlg*>(w) && w->isVisible()) return true;
    return false;
}

}  // namespace

class BuildGraphsCommandTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void errorShowsMessageAndNoGraphsWindow() {
        CMainFrame frame;
        frame.Document().m_strProgram = "var a\r\nvar a";
        CScriptedBoxes boxes;  // restores the real boxes at the end
        bool bGraphsSeen = false;
        CMessageBoxRequest seen;
        SetMessageBoxHook([&](const CMessageBoxRequest& r) {
            seen = r;
            bGraphsSeen = GraphsWindowVisible();
            return QMessageBox::Ok;
        });
        QObject probeLife;
        OnNextModal([&bGraphsSeen](QWidget* w) {
            bGraphsSeen = bGraphsSeen || qobject_cast<CGraphsDlg*>(w) != nullptr;
            static_cast<QDialog*>(w)->reject();
        }, &probeLife);
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QCOMPARE(seen.strText, QString("Interpretation error:\nVariable a redefinition."));
        QCOMPARE(seen.icon, QMessageBox::Critical);
        QVERIFY(!bGraphsSeen);
        QVERIFY(!frame.Document().IsModified());
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Подождите, идет построение графиков модели..."));
    }

    void successShowsGraphsWindowAndReady() {
        CMainFrame frame;
        frame.Document().m_strProgram = "var t\r\ngraphic g color=255 text=\"x\"\r\nplot g t t";
        CScriptedBoxes boxes;
        int nSeries = -1;
        QString statusWhileShown;
        OnNextModal([&](QWidget* w) {
            auto* dlg = qobject_cast<CGraphsDlg*>(w);
            QVERIFY(dlg);
            nSeries = static_cast<int>(dlg->Graphics().GetCount());
            statusWhileShown = frame.StatusBar()->MessageText();
            dlg->accept();
        });
        QCOMPARE(RunBuildGraphsCommand(&frame, frame.Document()), BuildGraphsShown::Graphs);
        QCOMPARE(boxes.Count(), 0);
        QCOMPARE(nSeries, 1);
        QCOMPARE(statusWhileShown, QString("Готово"));
    }

    void endlessRunCanBeStopped() {
        CMainFrame frame;
        frame.Document().m_strProgram = "mark l\r\ngoto l";
        CScriptedBoxes boxes;
        bool bProgressSeen = false;
        OnNextModal([&](QWidget* w) {
            if (auto* progress = qobject_cast<QProgressDialog*>(w)) {
                bProgressSeen = true;
                progress->cancel();
            } else {
                static_cast<QDialog*>(w)->reject();  // a graphs window would fail below
            }
        });
        QCOMPARE(RunBuildGraphsCommand(&frame, frame.Document()), BuildGraphsShown::Stopped);
        QVERIFY(bProgressSeen);
        QCOMPARE(boxes.Count(), 0);
        QVERIFY(!GraphsWindowVisible());
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Построение графиков прервано"));
    }
};

QTEST_MAIN(BuildGraphsCommandTest)
#include "BuildGraphsCommandTest.moc"
