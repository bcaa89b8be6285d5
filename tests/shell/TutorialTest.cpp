// «Первая модель» of the manual, done as its reader does it: a new sheet,
// drawing mode, a level, a rate and a variable placed with the clicks the
// chapter names, the sources cloud and three arrows of four clicks, names
// and the level's value in the element dialog, the program typed from the
// chapter's own text, a run, k varied and applied in the experiment window,
// the graphs, saving. The model saved runs like the chapter's
// models/first-model.json, and the chapter's two pictures are what this run
// shows, within a small tolerance (VARNEL_GOLDEN=1 takes them anew).
#include "ShellTest.h"
#include "app/cli/ModelJson.h"
#include "app/cli/Commands.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/ExperimentList.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "tools/manual/ManualMarkdown.h"

namespace {

const QString kManual = VARNEL_SOURCE_DIR "/docs/manual";

// The share of pixels whose colour differs in some channel by more than 48.
double DifferentShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    qint64 different = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            different += std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
                         std::abs(qBlue(p) - qBlue(q)) > 48;
        }
    return double(different) / (double(x.width()) * x.height());
}

void ComparePicture(const QImage& shown, const QString& name) {
    const QString path = kManual + "/pictures/" + name;
    if (qEnvironmentVariableIsSet("VARNEL_GOLDEN")) QVERIFY(shown.save(path));
    const double share = DifferentShare(shown, QImage(path));
    QVERIFY2(share < 0.01, qPrintable(QString("%1 differs in %2 % of its pixels").arg(name).arg(share * 100)));
}

// The program of the chapter, as its reader copies it.
QString ChapterProgram() {
    for (const MdCodeBlock& block : ReadCodeBlocks(ReadFile(kManual + "/first-model.md").toStdString()))
        if (block.strInfo == "varnel first-model") return QString::fromStdString(block.strText).trimmed();
    return {};
}

std::string RunJson(const std::string& path) {
    std::ostringstream out, err;
    RunModelCommand({path, "--format", "json"}, out, err);
    return out.str();
}

}  // namespace

class TutorialTest : public QObject {
    Q_OBJECT
    std::unique_ptr<CMainFrame> frame;

    QWidget* Port() { return View(*frame)->viewport(); }
    void Click(QPoint p) {
        QTest::mouseMove(Port(), p + QPoint(1, 1)), QTest::mouseMove(Port(), p);
        QTest::mouseClick(Port(), Qt::LeftButton, {}, p);
    }
    void Place(int tool, std::initializer_list<QPoint> clicks) {
        frame->OnCommand(tool);
        for (const QPoint& p : clicks) Click(p);
    }
    // «Изменить», a click on the element, its name (and value) typed, OK.
    void Name(QPoint at, const QString& name, const QString& value = QString()) {
        OnNextModal<CElementParamWindow>([=](CElementParamWindow* dlg) {
            dlg->Box(0)->selectAll(), QTest::keyClicks(dlg->Box(0), name);
            if (!value.isEmpty()) dlg->Box(2)->selectAll(), QTest::keyClicks(dlg->Box(2), value);
            dlg->accept();
        });
        frame->OnCommand(ID_MODIFY);
        Click(at);
    }

private slots:
    void firstModelAsTheChapterTellsIt() {
        QTemporaryDir dir;
        CScriptedBoxes boxes;
        frame = std::make_unique<CMainFrame>();
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        // 1. A new sheet, drawing mode.
        frame->OnCommand(ID_FILE_NEW);
        frame->OnCommand(ID_DRAWING_MODE);
        // 2. Level, rate, variable: two clicks each.
        Place(ID_TOOL_LEVEL, {{100, 250}, {240, 310}});
        Place(ID_TOOL_RATE, {{140, 130}, {200, 170}});
        Place(ID_TOOL_VARIABLE, {{295, 126}, {365, 174}});
        // 3. The source above the rate, the arrows: start, end, two bends.
        Place(ID_TOOL_SOURCES, {{170, 70}, {150, 130}});
        Place(ID_TOOL_ARROW, {{170, 170}, {170, 250}, {170, 196}, {170, 223}});
        Place(ID_TOOL_ARROW, {{295, 150}, {230, 150}, {270, 150}, {250, 150}});
        Place(ID_TOOL_ARROW, {{240, 280}, {215, 175}, {300, 280}, {300, 200}});
        QCOMPARE(frame->Document().m_pEntityList->GetCount(), size_t{7});
        // 4. Names and the level's value.
        Name({130, 290}, "N", "100");
        Name({150, 160}, "R");
        Name({330, 150}, "k");
        // 5. The program, line by line.
        const QString program = ChapterProgram();
        QCOMPARE(program.count('\n'), 10);
        OnNextModal<CProgramDlg>([program](CProgramDlg* dlg) {
            dlg->Editor()->setPlainText(program);
            dlg->accept();
        });
        frame->OnCommand(ID_EDIT_PROGRAM);
        // 6. A run: one curve, flat while k is 0.
        QString caption;
        OnNextModal<CGraphsDlg>([&caption](CGraphsDlg* dlg) {
            caption = dlg->Selector()->currentText();
            dlg->accept();
        });
        frame->OnCommand(ID_BUILD_GRAPHS);
        QCOMPARE(caption, QString("Численность N"));
        QVERIFY(boxes.requests.empty());
        // 7. The experiment: k ticked, 0.1 typed, applied.
        frame->OnCommand(ID_EXPERIMENT);
        CExperimentDlg* pExperiment = frame->Experiment();
        QVERIFY(pExperiment && pExperiment->List()->SetTicked("k", true));
        QSignalSpy shown(pExperiment, &CExperimentDlg::RunShown);
        QLineEdit* pValue = pExperiment->List()->ValueBoxFor("k");
        pValue->selectAll(), QTest::keyClicks(pValue, "0.1");
        QTRY_VERIFY_WITH_TIMEOUT(pExperiment->ApplyButton()->isEnabled() && shown.count() > 0, 10000);
        QTest::mouseClick(pExperiment->ApplyButton(), Qt::LeftButton);
        pExperiment->close();
        // The graphs at k = 0.1, and the sheet.
        OnNextModal<CGraphsDlg>([](CGraphsDlg* dlg) {
            ComparePicture(dlg->grab().toImage(), "first-model-graphs.png");
            dlg->accept();
        });
        frame->OnCommand(ID_BUILD_GRAPHS);
        frame->OnCommand(ID_DRAWING_MODE);  // drawing mode off, as the picture shows
        QTest::qWait(100);                  // the new menu bar laid out
        ComparePicture(frame->grab().toImage(), "first-model-sheet.png");
        // 8. Saved, it runs as the chapter's model does.
        const QString saved = dir.filePath("first-model.vrn");
        QVERIFY(frame->DoSave(saved));
        const std::vector<uint8_t> model = JsonToModelFile(ReadFile(kManual + "/models/first-model.json").toStdString());
        WriteFile(dir.filePath("chapter.vrn"), QByteArray(reinterpret_cast<const char*>(model.data()), qsizetype(model.size())));
        QCOMPARE(RunJson(saved.toStdString()), RunJson(dir.filePath("chapter.vrn").toStdString()));
        frame.reset();
    }
};
SHELL_TEST(TutorialTest)
#include "TutorialTest.moc"
