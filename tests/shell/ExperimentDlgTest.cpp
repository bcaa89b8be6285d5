// The experiment window as the user meets it on the predator-prey model: a
// slider's run gives exactly the series `varnel run --set` gives, with the
// run before the drag faded behind; nothing reaches the document before
// "Применить", which is one step of the history; "Сброс" goes back; a
// failing or endless program shows its message in the window; and the
// window survives its model changing, going and being closed mid-run.
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QUndoStack>
#include <sstream>

#include "ShellTestSupport.h"
#include "app/cli/Commands.h"
#include "app/cli/RunOutput.h"
#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "diagram/CommandIds.h"
#include "document/DocChanges.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"
#include "graphs/PreviousRun.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/ExperimentList.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/frame/MainFrame.h"
#include "shell/view/VarnelView.h"

namespace {

const QString kModel = QStringLiteral(VARNEL_SOURCE_DIR "/examples/predator-prey.vrn");

std::string ShownJson(const CExperimentDlg& dlg) {
    BuildGraphsResult result;
    for (size_t i = 0; i < dlg.Shown().GetCount(); ++i)
        result.series.push_back(CloneSeries(*dynamic_cast<const CVGraphic*>(dlg.Shown().GetAt(i))));
    std::ostringstream out;
    WriteRunJson(result, out);
    return out.str();
}

std::string RunJson(const std::vector<std::string>& sets) {
    CommandArgs args = {kModel.toStdString(), "--format", "json"};
    for (const std::string& set : sets) args.insert(args.end(), {"--set", set});
    std::ostringstream out, err;
    RunModelCommand(args, out, err);
    return out.str();
}

CVarnelView* View(CMainFrame& frame) { return qobject_cast<CVarnelView*>(frame.centralWidget()); }

double ElementValue(CMainFrame& frame, const char* name) {
    for (const auto& pEntity : *frame.Document().m_pEntityList) {
        SymbolRec rec;
        if (pEntity->GetName(&rec) == name) return rec.dValue;
    }
    return -12345.0;
}

void TypeInto(QLineEdit* pBox, const QString& text) {
    pBox->selectAll();
    QTest::keyClicks(pBox, text);
}

QString UndoItemText(CMainFrame& frame) {
    QMenu* pEdit = frame.menuBar()->actions()[1]->menu();
    emit pEdit->aboutToShow();
    return pEdit->actions()[0]->text();
}

void SetProgram(CMainFrame& frame, const std::string& program) {
    View(frame)->PushChange(std::make_unique<CProgramChange>(frame.Document(), program), "изменение программы");
}

}  // namespace

class ExperimentDlgTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    CExperimentDlg* Open(CMainFrame& frame) {
        frame.OnCommand(ID_EXPERIMENT);
        CExperimentDlg* pDlg = frame.Experiment();
        if (pDlg == nullptr) return nullptr;
        QSignalSpy shown(pDlg, &CExperimentDlg::RunShown);
        if (!shown.wait(10000)) return nullptr;
        return pDlg;
    }

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void sliderRunsExactlyAsRunSetAndLeavesTheDocument() {
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(kModel, false));
        const std::vector<uint8_t> bytes = frame.Document().Store();
        CExperimentDlg* pDlg = Open(frame);
        QVERIFY(pDlg);
        QVERIFY(!pDlg->isModal());
        QCOMPARE(ShownJson(*pDlg), RunJson({}));
        QCOMPARE(pDlg->Plot()->GhostCount(), 0);

        QVERIFY(pDlg->List()->SetTicked("d", true));
        QSlider* pSlider = pDlg->List()->SliderFor("d");
        QVERIFY(pSlider);
        QCOMPARE(pSlider->value(), 500);  // 0.4 halfway from 0 to 0.8
        pSlider->setSliderDown(true);
        for (int position : {520, 560, 610, 655}) {
            pSlider->setValue(position);
            QTest::qWait(2);
        }
        pSlider->setSliderDown(false);
        const QString value = pDlg->List()->ValueBoxFor("d")->text();
        QCOMPARE(value, QString("0.524"));
        const std::string expected = RunJson({"d=" + value.toStdString()});
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), expected, 10000);
        // The run before the drag stands faded behind each curve.
        QCOMPARE(pDlg->Plot()->GhostCount(), 2);
        QVERIFY(pDlg->Plot()->ShowsPrevious());
        QCOMPARE(frame.Document().Store(), bytes);
        QCOMPARE(View(frame)->UndoStack()->count(), 0);
        QVERIFY(!frame.Document().IsModified());
    }

    void applyIsOneUndoableStepAndResetGoesBack() {
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(kModel, false));
        const std::vector<uint8_t> bytes = frame.Document().Store();
        CExperimentDlg* pDlg = Open(frame);
        QVERIFY(pDlg);
        QVERIFY(!pDlg->ApplyButton()->isEnabled());
        pDlg->List()->SetTicked("d", true);
        pDlg->List()->SetTicked("a", true);
        TypeInto(pDlg->List()->ValueBoxFor("d"), "0.3");
        TypeInto(pDlg->List()->ValueBoxFor("a"), "1.25");
        QCOMPARE(pDlg->List()->SliderFor("d")->value(), 375);
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunJson({"d=0.3", "a=1.25"}), 10000);
        QVERIFY(pDlg->ApplyButton()->isEnabled());

        QTest::mouseClick(pDlg->ApplyButton(), Qt::LeftButton);
        QCOMPARE(View(frame)->UndoStack()->count(), 1);
        QCOMPARE(ElementValue(frame, "d"), 0.3);
        QCOMPARE(ElementValue(frame, "a"), 1.25);
        QVERIFY(frame.Document().IsModified());
        QCOMPARE(UndoItemText(frame), QString("Отменить применение эксперимента\tCtrl+Z"));
        QTRY_VERIFY(!pDlg->ApplyButton()->isEnabled());  // the diagram holds the values now

        frame.OnCommand(ID_EDIT_UNDO);
        QCOMPARE(frame.Document().Store(), bytes);
        QVERIFY(!frame.Document().IsModified());
        // The experiment follows the diagram back.
        QTRY_COMPARE(pDlg->List()->ValueBoxFor("d")->text(), QString("0.4"));
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunJson({}), 10000);

        TypeInto(pDlg->List()->ValueBoxFor("d"), "0.6");
        QVERIFY(pDlg->ResetButton()->isEnabled());
        QTest::mouseClick(pDlg->ResetButton(), Qt::LeftButton);
        QCOMPARE(pDlg->List()->ValueBoxFor("d")->text(), QString("0.4"));
        QCOMPARE(pDlg->List()->SliderFor("d")->value(), 500);
        QVERIFY(!pDlg->ApplyButton()->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunJson({}), 10000);
        QCOMPARE(frame.Document().Store(), bytes);
    }

    void failuresAndTheStepBoundShowInTheWindow() {
        CScriptedBoxes boxes;
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(kModel, false));
        CExperimentDlg* pDlg = Open(frame);
        QVERIFY(pDlg);
        const std::string good = ShownJson(*pDlg);
        SetProgram(frame, "graphic g\r\nvar x\r\ngoto nowhere");
        QTRY_VERIFY_WITH_TIMEOUT(pDlg->StatusText().contains("Bad mark name in goto command(3)."), 10000);
        QVERIFY(pDlg->ShowLineButton()->isVisible());
        QCOMPARE(pDlg->ShowLineButton()->text(), QString("Показать строку 3"));
        QCOMPARE(ShownJson(*pDlg), good);  // the last good curves stay
        QCOMPARE(boxes.Count(), 0);

        TypeInto(pDlg->StepBoundBox(), "1000");
        QCOMPARE(pDlg->StepBound(), uint64_t{1000});
        SetProgram(frame, "mark a\r\ngoto a");
        QTRY_VERIFY_WITH_TIMEOUT(pDlg->StatusText().contains("предел шагов"), 10000);
        QVERIFY(pDlg->StatusText().contains("1 000") || pDlg->StatusText().contains("1\u00a0000"));
        QVERIFY(!pDlg->ShowLineButton()->isVisible());
        TypeInto(pDlg->StepBoundBox(), "-5");
        QCOMPARE(pDlg->StepBound(), uint64_t{1000});
        QCOMPARE(boxes.Count(), 0);
    }

    void survivesItsModelChangingGoingAndClosingMidRun() {
        CScriptedBoxes boxes;
        CMainFrame frame;
        QVERIFY(frame.OpenDocumentFile(kModel, false));
        CExperimentDlg* pDlg = Open(frame);
        QVERIFY(pDlg);
        pDlg->List()->SetTicked("d", true);
        const EntityList& list = *frame.Document().m_pEntityList;
        size_t index = 0;
        while (index < list.GetCount() && list.GetAt(index)->GetName(nullptr) != "d") ++index;
        View(frame)->DeleteEntityAt(index);
        QTRY_VERIFY(pDlg->List()->SliderFor("d") == nullptr);
        QCOMPARE(pDlg->NoteText(), QString("Нет больше в диаграмме (удалены или переименованы): d"));
        frame.OnCommand(ID_EDIT_UNDO);
        QTRY_VERIFY(pDlg->List()->SetTicked("d", true));

        QVERIFY(frame.OnFileNew());  // "d" was ticked: the model it belonged to is gone
        QTRY_VERIFY(pDlg->List()->topLevelItemCount() == 0);
        QTRY_COMPARE_WITH_TIMEOUT(pDlg->Shown().GetCount(), size_t{0}, 10000);
        QVERIFY(frame.OpenDocumentFile(kModel, false));
        QTRY_COMPARE_WITH_TIMEOUT(ShownJson(*pDlg), RunJson({}), 10000);
        for (QSize size : {QSize(1, 1), QSize(3000, 2000)}) {
            pDlg->resize(size);
            QTest::qWait(5);
            pDlg->Plot()->grab();
        }

        // Closed and opened again and again while a run that never ends goes.
        TypeInto(pDlg->StepBoundBox(), "100000000000");
        SetProgram(frame, "mark a\r\ngoto a");
        for (int i = 0; i < 20; ++i) {
            frame.OnCommand(ID_EXPERIMENT);
            QTest::qWait(5);
            QVERIFY(frame.Experiment()->close());
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(frame.Experiment() == nullptr);
        }
        frame.OnCommand(ID_EXPERIMENT);
        QTest::qWait(20);
        // The frame goes with the window open and its run going.
    }
};

QTEST_MAIN(ExperimentDlgTest)
#include "ExperimentDlgTest.moc"
