// Runs as the user sees them: building graphs (errors leading to their line, the previous run behind,
// stopping), the graphs window (choice, readout, copy, saved pictures) and the experiment window.
#include <sstream>

#include "ShellTest.h"
#include "app/cli/Commands.h"
#include "app/cli/RunOutput.h"
#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "base/Cp1251.h"
#include "document/DocChanges.h"
#include "graphs/Graphic.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/ExperimentList.h"
#include "shell/dialogs/GraphsChoiceActions.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/ProgramEdit.h"
#include "shell/frame/BuildGraphsCommand.h"

namespace {

const QString kModel = QStringLiteral(VARNEL_SOURCE_DIR "/examples/predator-prey.vrn");

std::unique_ptr<CVGraphic> MakeSeries(const char* utf8Caption, COLORREF color, double hiY, double divY, double y) {
    auto series = std::make_unique<CVGraphic>();
    series->m_strText = Utf8ToCp1251Lossy(utf8Caption);
    series->m_nColor = static_cast<int32_t>(color);
    series->m_dHiX = 10;
    series->m_dHiY = hiY;
    series->m_dDivY = divY;
    series->AddSample(0, y);
    series->AddSample(10, y);
    return series;
}

QImage FrameImage(const CGraphsDlg& dialog) {
    QImage image(dialog.Plot()->size(), QImage::Format_RGB32);
    image.fill(Qt::gray);
    QPainter painter(&image);
    dialog.RenderFrame(painter);
    return image;
}

// What `varnel run` prints for a model with these --set values.
std::string RunOutput(const std::vector<std::string>& sets, const QString& model = kModel) {
    CommandArgs args = {model.toStdString(), "--format", "json"};
    for (const std::string& set : sets) args.insert(args.end(), {"--set", set});
    std::ostringstream out, err;
    RunModelCommand(args, out, err);
    return out.str();
}

std::string ShownJson(const CExperimentDlg& dlg) {
    BuildGraphsResult result;
    for (size_t i = 0; i < dlg.Shown().GetCount(); ++i)
        result.series.push_back(CloneSeries(*dynamic_cast<const CVGraphic*>(dlg.Shown().GetAt(i))));
    std::ostringstream out;
    WriteRunJson(result, out);
    return out.str();
}

void TypeInto(QLineEdit* pBox, const QString& text) { pBox->selectAll(), QTest::keyClicks(pBox, text); }

void SetProgram(CMainFrame& frame, const std::string& program) {
    View(frame)->PushChange(std::make_unique<CProgramChange>(frame.Document(), program), "изменение программы");
}

// Builds the graphs of a program that adds step to x ten times; look sees the graphs window.
void BuildRising(CMainFrame& frame, const char* step, std::function<void(CGraphsDlg*)> look) {
    frame.Document().m_strProgram = std::string("var t\r\nvar x\r\ngraphic g color=255 text=\"x\"\r\nmark m\r\nplot g t x\r\n"
                                                "set t = t + 1\r\nset x = x + ") + step + "\r\nif t < 10\r\ngoto m";
    OnNextModal<CGraphsDlg>([look](CGraphsDlg* dlg) { look(dlg), dlg->accept(); });
    QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
}

}  // namespace

class GraphsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    CExperimentDlg* OpenExperiment(CMainFrame& frame) {
        if (!frame.OpenDocumentFile(kModel, false)) return nullptr;
        frame.OnCommand(ID_EXPERIMENT);
        CExperimentDlg* pDlg = frame.Experiment();
        QSignalSpy shown(pDlg, &CExperimentDlg::RunShown);
        return pDlg != nullptr && !pDlg->isModal() && shown.wait(10000) ? pDlg : nullptr;
    }

private slots:
    // The error box comes instead of a graphs window; "Показать строку N" opens the editor on that line.
    void aFailedRunLeadsToItsLine() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        boxes.answers = {QMessageBox::Ok, QMessageBox::Open};
        frame.Document().m_strProgram = "var a\r\nvar a";
        QObject probe;  // no graphs window comes
        bool bGraphs = false;
        OnNextModal<CGraphsDlg>([&bGraphs](CGraphsDlg* dlg) { bGraphs = true, dlg->reject(); }, &probe);
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QVERIFY(!bGraphs && !frame.Document().IsModified());
        QCOMPARE(boxes.Last().strText, QString("Interpretation error:\nVariable a redefinition."));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Готово"));  // nothing is under way any more
        frame.Document().m_strProgram = "var t\r\n\r\nset popuation = t";
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) {
            if (dlg->ProgramEdit()->CurrentLine() == 3 && dlg->ProgramEdit()->MarkedLine() == 3 &&
                dlg->MessageText() == "Interpretation error:\nVariable popuation undefined.")
                dlg->Editor()->setPlainText("var t\n\nvar population\nset population = t");
            dlg->accept();
        });
        QVERIFY(frame.OnCommand(ID_BUILD_GRAPHS));
        QCOMPARE(boxes.Last().strExtraButton, QString("Показать строку 3"));
        QCOMPARE(frame.Document().m_strProgram, std::string("var t\r\n\r\nvar population\r\nset population = t"));
    }

    // The second run shows the first faded behind (golden/graphs-ghost.png), the first none; switched off,
    // the comparison stays off; an endless run can be stopped.
    void previousRunFadedBehindAndStopping() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        int ghosts = -1;
        bool bShown = true;
        BuildRising(frame, "1", [&](CGraphsDlg* dlg) { ghosts = dlg->Plot()->GhostCount(); });
        QCOMPARE(ghosts, 0);
        BuildRising(frame, "2", [&](CGraphsDlg* dlg) {
            ghosts = dlg->Plot()->GhostCount();
            const QImage withGhost = FrameImage(*dlg);
            CompareGolden(withGhost, "graphs-ghost");
            dlg->Plot()->ShowPreviousAction()->trigger();
            bShown = FrameImage(*dlg) == withGhost;
        });
        QVERIFY(ghosts == 1 && !bShown);
        BuildRising(frame, "3", [&](CGraphsDlg* dlg) { bShown = dlg->Plot()->ShowsPrevious() || dlg->Plot()->ShowPreviousAction()->isChecked(); });
        QVERIFY(!bShown);
        frame.Document().m_strProgram = "mark l\r\ngoto l";
        OnNextModal<QProgressDialog>([](QProgressDialog* progress) { progress->cancel(); });
        QCOMPARE(RunBuildGraphsCommand(&frame, frame.Document()), BuildGraphsShown::Stopped);
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Построение графиков прервано"));
        QVERIFY(boxes.requests.empty());
    }

    // The first series is chosen (its place counts objects that are no series) and dashed (golden/graphs-first.png);
    // the readout shows its nearest sample; the picture is copied; a file that cannot be written is reported.
    void graphsWindow() {
        CGraphsDlg dialog;
        dialog.Graphics().Add(std::make_unique<CVLine>());
        dialog.Graphics().Add(MakeSeries("Запасы", RGB(255, 0, 0), 10, 1, 5.5));
        dialog.Graphics().Add(MakeSeries("Темп", RGB(0, 0, 255), 1000, 1000, 250));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.Selector()->itemText(0) + dialog.Selector()->itemText(1), QStringLiteral("ЗапасыТемп"));
        QVERIFY(dialog.SelectedIndex() == 1 && dialog.Graphics().GetAt(1)->m_bHighlight);
        CompareGolden(dialog.grab().toImage(), "graphs-first");
        const CRect r = dialog.GetPlotRect();
        CGraphsPlot* plot = dialog.Plot();
        plot->HoverAt(QPoint(r.right - 3, r.top + 2));
        QCOMPARE(plot->ReadoutText(), QString("x = 10, y = 5.5"));
        plot->HoverAt(QPoint(2, 2));  // outside the plot
        QCOMPARE(plot->ReadoutText(), QString());
        QTest::keyClick(dialog.Selector(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), FrameImage(dialog));
        QString reported;
        plot->m_pfnShowError = [&reported](const QString& message) { reported = message; };
        QVERIFY(!plot->SaveData(m_dir.filePath("no/such/folder/data.csv")));
        QVERIFY(reported.contains("no/such/folder/data.csv"));
    }

    // The four choices redraw the window (golden/graphs-window-choices.png) and its saved pictures; unticked, the
    // usual look is back; the next window opens with the choices last made.
    void graphsWindowChoicesAreRememberedAndSaved() {
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(VARNEL_SOURCE_DIR "/examples/sir-epidemic.vrn", false));
        QImage usual, chosen, unticked;
        OnNextModal<CGraphsDlg>([&](CGraphsDlg* dlg) {
            CGraphsPlot* plot = dlg->Plot();
            usual = FrameImage(*dlg);
            for (QAction* pChoice : plot->ChoiceActions()) pChoice->trigger();
            chosen = FrameImage(*dlg);
            plot->SavePicture(m_dir.filePath("c.png")), plot->SavePicture(m_dir.filePath("c.svg"));
            for (QAction* pChoice : plot->ChoiceActions()) pChoice->trigger();
            unticked = FrameImage(*dlg);
            plot->ChoiceActions()[1]->trigger(), plot->ChoiceActions()[3]->trigger();
            dlg->accept();
        });
        frame.OnCommand(ID_BUILD_GRAPHS);
        CompareGolden(chosen, "graphs-window-choices");
        QVERIFY(QImage(m_dir.filePath("c.png")) == chosen && unticked == usual);
        const QString svg = ReadFile(m_dir.filePath("c.svg"));
        QVERIFY(svg.contains(">Общая шкала<") && svg.contains(">Контакты в день<"));
        QVERIFY(QSettings().value("graphs/commonScale").toBool() && !QSettings().value("graphs/legend", true).toBool());
        GraphsChoices shown;
        bool bTicked = false;
        OnNextModal<CGraphsDlg>([&](CGraphsDlg* dlg) {
            shown = dlg->Plot()->Choices(), bTicked = dlg->Plot()->ChoiceActions()[3]->isChecked(), dlg->accept();
        });
        frame.OnCommand(ID_BUILD_GRAPHS);
        QVERIFY(!shown.bLegend && shown.bCommonScale && !shown.bRoundTicks && shown.bLargeFont && bTicked);
        RememberGraphsChoices({});
    }

    // A slider's run gives exactly the series `varnel run --set` gives, the one before faded behind; a box that is no
    // number keeps the last valid value and holds "Применить" back; "Применить" is one undoable step, saved as `varnel run --set` runs it; "Сброс" returns to the diagram's values.
    void experimentRunsAsRunSetAppliesAndResets() {
        CMainFrame frame;
        CExperimentDlg* pDlg = OpenExperiment(frame);
        QVERIFY(pDlg);
        const std::vector<uint8_t> bytes = frame.Document().Store();
        QVERIFY(ShownJson(*pDlg) == RunOutput({}) && pDlg->Plot()->GhostCount() == 0 && !pDlg->ApplyButton()->isEnabled());
        QVERIFY(pDlg->List()->SetTicked("d", true) && pDlg->List()->SetTicked("a", true));
        QSlider* pSlider = pDlg->List()->SliderFor("d");
        QCOMPARE(pSlider->value(), 500);  // 0.4 halfway from 0 to 0.8
        pSlider->setSliderDown(true);
        for (int position : {520, 560, 610, 655}) pSlider->setValue(position), QTest::qWait(2);  // each supersedes the run before
        pSlider->setSliderDown(false);
        QCOMPARE(pDlg->List()->ValueBoxFor("d")->text(), QString("0.524"));
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunOutput({"d=0.524"}), 10000);
        QVERIFY(pDlg->Plot()->GhostCount() == 2 && pDlg->Plot()->ShowsPrevious());
        QVERIFY(frame.Document().Store() == bytes && !View(frame)->UndoStack()->canUndo());
        TypeInto(pDlg->List()->ValueBoxFor("d"), "0,3");  // a comma in any locale
        TypeInto(pDlg->List()->ValueBoxFor("a"), "1.25x");  // no number: the last valid one stands, nothing to apply
        QVERIFY(!pDlg->ApplyButton()->isEnabled());
        TypeInto(pDlg->List()->ValueBoxFor("a"), "1.25");
        QVERIFY(pDlg->ApplyButton()->isEnabled());
        QCOMPARE(pSlider->value(), 375);
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunOutput({"d=0.3", "a=1.25"}), 10000);
        QTest::mouseClick(pDlg->ApplyButton(), Qt::LeftButton);
        QCOMPARE(Item(frame, 1, ID_EDIT_UNDO)->text(), QString("Отменить применение эксперимента\tCtrl+Z"));
        QVERIFY(frame.DoSave(m_dir.filePath("applied.vrn")) && View(frame)->UndoStack()->count() == 1);
        QCOMPARE(RunOutput({}, m_dir.filePath("applied.vrn")), RunOutput({"d=0.3", "a=1.25"}));
        QTRY_VERIFY(!pDlg->ApplyButton()->isEnabled());  // the diagram holds the values now
        frame.OnCommand(ID_EDIT_UNDO);
        QCOMPARE(frame.Document().Store(), bytes);
        QTRY_COMPARE(pDlg->List()->ValueBoxFor("d")->text(), QString("0.4"));
        TypeInto(pDlg->List()->ValueBoxFor("d"), "0.6");
        QTest::mouseClick(pDlg->ResetButton(), Qt::LeftButton);
        QVERIFY(pDlg->List()->ValueBoxFor("d")->text() == "0.4" && pDlg->List()->SliderFor("d")->value() == 500 && !pDlg->ApplyButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunOutput({}), 10000);
    }

    // A failing or bounded run says so in the window; an endless one gives way to the next change.
    void experimentFailuresAndChanges() {
        CScriptedBoxes boxes;
        CMainFrame frame;
        CExperimentDlg* pDlg = OpenExperiment(frame);
        QVERIFY(pDlg);
        const std::string good = ShownJson(*pDlg);
        SetProgram(frame, "graphic g\r\nvar x\r\ngoto nowhere");
        QTRY_VERIFY_WITH_TIMEOUT(pDlg->StatusText().contains("Bad mark name in goto command(3)."), 10000);
        QVERIFY(pDlg->ShowLineButton()->isVisible() && pDlg->ShowLineButton()->text() == "Показать строку 3");
        QCOMPARE(ShownJson(*pDlg), good);  // the last good curves stay
        TypeInto(pDlg->StepBoundBox(), "1000");
        SetProgram(frame, "mark a\r\ngoto a");
        QTRY_VERIFY_WITH_TIMEOUT(pDlg->StatusText().contains("предел шагов"), 10000);
        QVERIFY(!pDlg->ShowLineButton()->isVisible());
        TypeInto(pDlg->StepBoundBox(), "-5");
        QCOMPARE(pDlg->StepBound(), uint64_t{1000});
        TypeInto(pDlg->StepBoundBox(), "100000000000");
        QTest::qWait(50);
        frame.OnCommand(ID_EDIT_UNDO);
        frame.OnCommand(ID_EDIT_UNDO);
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), good, 10000);
        QVERIFY(boxes.requests.empty());

        pDlg->List()->SetTicked("d", true);
        const EntityList& list = *frame.Document().m_pEntityList;
        size_t index = 0;
        while (list.GetAt(index)->GetName(nullptr) != "d") ++index;
        View(frame)->DeleteEntityAt(index);
        QTRY_COMPARE(pDlg->NoteText(), QString("Нет больше в диаграмме (удалены или переименованы): d"));
        QVERIFY(pDlg->List()->SliderFor("d") == nullptr && frame.OnFileNew());
        QTRY_COMPARE_WITH_TIMEOUT(pDlg->Shown().GetCount(), size_t{0}, 10000);
        SetProgram(frame, "mark a\r\ngoto a");  // the frame goes with the window open and its run going
    }
};
SHELL_TEST(GraphsTest)
#include "GraphsTest.moc"
