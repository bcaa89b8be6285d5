// The build-graphs command as the user sees it: status texts, the error box
// instead of a graphs window (and from it the failing line in the program
// editor), the graphs window on success with the previous run faded behind
// and its data saved as `varnel run` prints it, and stopping a run that does
// not end.
#include <QAction>
#include <QComboBox>
#include <QPainter>
#include <QProgressDialog>
#include <QTest>
#include <sstream>

#include "app/cli/Commands.h"
#include "diagram/Elements.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/ProgramEdit.h"

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

// Pixels of the faded red the previous run of a red series is drawn in.
int FadedPixels(CGraphsDlg* dlg) {
    QImage image(dlg->Plot()->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    dlg->RenderFrame(painter);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixelColor(x, y) == QColor(255, 191, 191);
    return count;
}

const char* const kRising = "var t\r\nvar x\r\ngraphic g color=255 text=\"x\"\r\nmark m\r\nplot g t x\r\n"
                            "set t = t + 1\r\nset x = x + STEP\r\nif t < 10\r\ngoto m";

std::string Rising(const char* step) {
    std::string program = kRising;
    program.replace(program.find("STEP"), 4, step);
    return program;
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

    // "Показать строку N" beside OK opens the editor on the failing line
    // with the message under the text; what is typed there is kept.
    void errorBoxLeadsToTheFailingLine() {
        CMainFrame frame;
        frame.Document().m_strProgram = "var t\r\n\r\nset popuation = t";
        CScriptedBoxes boxes;
        boxes.Answer(QMessageBox::Open);
        bool bEditorChecked = false;
        OnNextModal([&](QWidget* w) {
            auto* dlg = qobject_cast<CProgramDlg*>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->ProgramEdit()->CurrentLine(), 3);
            QCOMPARE(dlg->ProgramEdit()->MarkedLine(), 3);
            QCOMPARE(dlg->MessageText(), QString("Interpretation error:\nVariable popuation undefined."));
            dlg->Editor()->setPlainText("var t\n\nvar population\nset population = t");
            bEditorChecked = true;
            dlg->accept();
        });
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QCOMPARE(boxes.Count(), 1);
        QCOMPARE(boxes.Last().strText, QString("Interpretation error:\nVariable popuation undefined."));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QCOMPARE(boxes.Last().strExtraButton, QString("Показать строку 3"));
        QVERIFY(bEditorChecked);
        QCOMPARE(frame.Document().m_strProgram, std::string("var t\r\n\r\nvar population\r\nset population = t"));
        // An error that belongs to no line (two elements of one name) has the
        // plain box; one without a number in its text still has its line.
        for (int i = 0; i < 2; ++i) {
            auto level = std::make_unique<CVLevel>();
            level->m_strName = "twin";
            frame.Document().m_pEntityList->Add(std::move(level));
        }
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QCOMPARE(boxes.Last().strText, QString("Import drawing variables:\nVariable twin redefinition."));
        QCOMPARE(boxes.Last().strExtraButton, QString());
        frame.Document().m_pEntityList->DeleteAll();
        frame.Document().m_strProgram = "\r\ngraphic g text=\"";
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QCOMPARE(boxes.Last().strExtraButton, QString("Показать строку 2"));
    }

    // The second run shows the first faded behind it, the first shows none;
    // switched off, the comparison stays off for the next run.
    void previousRunIsDrawnFadedBehind() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        auto runAndLook = [&frame](const char* step, std::function<void(CGraphsDlg*)> look) {
            frame.Document().m_strProgram = Rising(step);
            OnNextModal([look](QWidget* w) {
                auto* dlg = qobject_cast<CGraphsDlg*>(w);
                QVERIFY(dlg);
                look(dlg);
                dlg->accept();
            });
            frame.OnCommand(ID_BUILD_GRAPHS);
        };
        int ghosts = -1, faded = -1;
        runAndLook("1", [&](CGraphsDlg* dlg) {
            ghosts = dlg->Plot()->GhostCount();
            faded = FadedPixels(dlg);
        });
        QCOMPARE(ghosts, 0);
        QCOMPARE(faded, 0);
        runAndLook("2", [&](CGraphsDlg* dlg) {
            ghosts = dlg->Plot()->GhostCount();
            faded = FadedPixels(dlg);
            QVERIFY(dlg->Plot()->ShowPreviousAction()->isChecked());
            dlg->Plot()->ShowPreviousAction()->trigger();
            QCOMPARE(FadedPixels(dlg), 0);
        });
        QCOMPARE(ghosts, 1);
        QVERIFY(faded > 50);
        runAndLook("3", [&](CGraphsDlg* dlg) {
            faded = FadedPixels(dlg);
            QVERIFY(!dlg->Plot()->ShowPreviousAction()->isChecked());
        });
        QCOMPARE(faded, 0);
        QCOMPARE(boxes.Count(), 0);
    }

    // "Сохранить данные…" writes what `varnel run --format csv` prints.
    void savedDataEqualsTheRunCommandsCsv() {
        const QString model = QStringLiteral(VARNEL_SOURCE_DIR "/examples/sir-epidemic.vrn");
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(model, false));
        QTemporaryDir dir;
        CScriptedBoxes boxes;
        boxes.ChooseFile(dir.filePath("epidemic"));  // the extension is added
        OnNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CGraphsDlg*>(w);
            QVERIFY(dlg);
            dlg->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            QTest::keyClick(dlg->Selector(), Qt::Key_S, Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier));
            dlg->accept();
        });
        frame.OnCommand(ID_BUILD_GRAPHS);
        QFile saved(dir.filePath("epidemic.csv"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        std::ostringstream out, err;
        QCOMPARE(RunModelCommand({model.toStdString(), "--format", "csv"}, out, err), 0);
        QCOMPARE(saved.readAll().toStdString(), out.str());
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
