// The single-document file flow of the main frame: when the save question
// comes, what Yes, No and Cancel keep, opening good and bad files, the
// recent-file list and atomic saving.
#include <QDropEvent>
#include <QFile>
#include <QLibraryInfo>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

#include "diagram/CommandIds.h"
#include "ShellTestSupport.h"
#include "support/ModelBytes.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/VarnelApp.h"
#include "shell/dialogs/ProgramDlg.h"
#include "document/VarnelDoc.h"
#include "shell/view/VarnelView.h"

namespace {

// An empty 640 by 480 model as a file holds it.
QByteArray EmptyModel() {
    const std::vector<uint8_t> bytes = ModelFileBytes();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Answers the program editor: replaces its text (or leaves it) and presses OK.
void AcceptProgramEditor(const QString& newText) {
    OnNextModal([newText](QWidget* w) {
        auto* dlg = qobject_cast<CProgramDlg*>(w);
        if (!dlg) return;
        if (!newText.isNull()) dlg->Editor()->setPlainText(newText);
        dlg->accept();
    });
}

}  // namespace

class DocumentFlowTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString Path(const QString& name) { return QDir(m_dir.path()).filePath(name); }

    // Runs New on a frame and returns how many save questions it asked.
    int QuestionsOnNew(CMainFrame& frame) {
        CScriptedBoxes boxes;
        boxes.Answer(QMessageBox::Cancel);
        frame.OnCommand(57600);
        return boxes.QuestionCount();
    }

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void newModelAndZoomDoNotAsk() {
        CMainFrame frame;
        QVERIFY(!frame.Document().IsModified());
        QCOMPARE(QuestionsOnNew(frame), 0);
        QCOMPARE(frame.Document().m_nWidth, 640);
        QCOMPARE(frame.Document().m_nHeight, 480);
        frame.OnCommand(ID_ZOOM_OUT);
        frame.OnCommand(ID_ZOOM_IN);
        QCOMPARE(QuestionsOnNew(frame), 0);
    }

    void choosingToolAsksToSave() {
        CMainFrame frame;
        frame.OnCommand(ID_DRAWING_MODE);
        frame.OnCommand(ID_TOOL_LEVEL);
        QCOMPARE(QuestionsOnNew(frame), 1);
        QVERIFY(frame.windowTitle().contains("[*]"));
        QVERIFY(frame.isWindowModified());
    }

    void sheetSizeOkAsksToSave() {
        CMainFrame frame;
        OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        frame.OnCommand(ID_DOC_SIZE);
        QCOMPARE(QuestionsOnNew(frame), 1);
    }

    void changedProgramAsksUnchangedDoesNot() {
        CMainFrame frame;
        AcceptProgramEditor(QString());
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(QuestionsOnNew(frame), 0);

        AcceptProgramEditor("var t\nset t = 1");
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(frame.Document().m_strProgram, std::string("var t\r\nset t = 1"));
        QCOMPARE(QuestionsOnNew(frame), 1);

        frame.Document().m_strProgram = "var a";
        frame.Document().SetModifiedFlag(false);
        OnNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<CProgramDlg*>(w);
            dlg->Editor()->setPlainText("changed");
            dlg->reject();
        });
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(frame.Document().m_strProgram, std::string("var a"));
        QVERIFY(!frame.Document().IsModified());
    }

    void yesSavesNoDiscardsCancelKeeps() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        frame.OnCommand(ID_TOOL_LINE);
        boxes.Answer(QMessageBox::Cancel);
        QVERIFY(!frame.OnFileNew());
        QVERIFY(frame.Document().IsModified());

        const QString path = Path("yes.vrn");
        boxes.Answer(QMessageBox::Yes);
        boxes.ChooseFile(path);
        QVERIFY(frame.OnFileNew());
        QCOMPARE(ReadFile(path), EmptyModel());
        QVERIFY(!frame.Document().IsModified());
        QVERIFY(frame.PathName().isEmpty());

        frame.OnCommand(ID_TOOL_LINE);
        boxes.Answer(QMessageBox::No);
        QVERIFY(frame.OnFileNew());
        QVERIFY(!frame.Document().IsModified());
    }

    void closingModifiedModelAsks() {
        CMainFrame frame;
        frame.show();
        CScriptedBoxes boxes;
        frame.OnCommand(ID_TOOL_LINE);
        boxes.Answer(QMessageBox::Cancel);
        QVERIFY(!frame.close());
        QCOMPARE(boxes.QuestionCount(), 1);
        boxes.Answer(QMessageBox::No);
        QVERIFY(frame.close());
    }

    void openKeepsModelWhenFileIsBad() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        frame.Document().m_strProgram = "var keep";
        frame.Document().SetModifiedFlag();
        const QString bad = Path("bad.vrn");
        QByteArray noMarker = EmptyModel();
        noMarker[23] = 'X';  // damages the start marker
        WriteFile(bad, noMarker);
        boxes.Answer(QMessageBox::No);
        QVERIFY(!frame.OpenDocumentFile(bad));
        QCOMPARE(boxes.Last().strText, QString("Internal data error."));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QCOMPARE(frame.Document().m_strProgram, std::string("var keep"));
        QVERIFY(frame.Document().IsModified());

        WriteFile(bad, EmptyModel().left(30));  // ends early
        boxes.Answer(QMessageBox::No);
        QVERIFY(!frame.OpenDocumentFile(bad));
        QVERIFY(boxes.Last().strText.contains("bad.vrn"));
        QCOMPARE(frame.Document().m_strProgram, std::string("var keep"));

        QVERIFY(!frame.OpenDocumentFile(Path("missing.vrn"), false));
        QVERIFY(boxes.Last().strText.contains("missing.vrn"));
        QVERIFY(frame.PathName().isEmpty());
    }

    void otherVersionOpensEmptyUnderItsName() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        frame.Document().m_strProgram = "var old";
        const QString path = Path("v2.vrn");
        QByteArray bytes = EmptyModel();
        bytes[7] = 0x40;  // the double 2.0
        bytes[6] = 0x00;
        WriteFile(path, bytes);
        QVERIFY(frame.OpenDocumentFile(path));
        QCOMPARE(boxes.Count(), 0);
        QVERIFY(frame.Document().m_strProgram.empty());
        QCOMPARE(frame.Document().m_nWidth, 640);
        QCOMPARE(QFileInfo(frame.PathName()).fileName(), QString("v2.vrn"));
        QVERIFY(frame.windowTitle().startsWith("v2.vrn"));
    }

    void recentListKeepsTwoNewestFirst() {
        CScriptedBoxes boxes;
        const QString a = Path("a.vrn"), b = Path("b.vrn"), c = Path("c.vrn");
        for (const QString& p : {a, b, c}) WriteFile(p, EmptyModel());
        {
            CMainFrame frame;
            for (const QString& p : {a, b, c}) QVERIFY(frame.OpenDocumentFile(p));
            QCOMPARE(frame.RecentFiles().Files(), (QStringList{c, b}));
            QVERIFY(frame.OpenDocumentFile(b));
            QCOMPARE(frame.RecentFiles().Files(), (QStringList{b, c}));
        }
        CMainFrame next;  // read back from the settings
        QCOMPARE(next.RecentFiles().Files(), (QStringList{b, c}));
        QMenu* file = next.menuBar()->actions()[0]->menu();
        emit file->aboutToShow();
        QStringList entries;
        for (QAction* act : file->actions())
            if (act->isVisible() && act->data().toInt() >= 57616 && act->data().toInt() <= 57631)
                entries << act->text();
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0].startsWith("&1 ") && entries[0].endsWith("b.vrn"));

        next.OnCommand(57617);
        QCOMPARE(next.PathName(), c);
    }

    void failedSaveKeepsOldFileAndModel() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        const QString path = Path("keep.vrn");
        const QByteArray old = QByteArray("old contents");
        WriteFile(path, old);
        frame.Document().m_strProgram = std::string(4000, 'x');
        frame.Document().SetModifiedFlag();

        // A file-size limit makes the write fail half-way, for root too.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &tiny);
        const bool bSaved = frame.DoSave(path);
        setrlimit(RLIMIT_FSIZE, &saved);

        QVERIFY(!bSaved);
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QVERIFY(boxes.Last().strText.contains("keep.vrn"));
        QCOMPARE(ReadFile(path), old);
        QVERIFY(frame.Document().IsModified());
        QVERIFY(frame.PathName().isEmpty());
        QCOMPARE(QDir(m_dir.path()).entryList({"keep.vrn*"}, QDir::Files), QStringList{"keep.vrn"});

        QVERIFY(!frame.DoSave(Path("no-such-dir/x.vrn")));
        QVERIFY(frame.Document().IsModified());
    }

    void droppedModelOpensAfterSaveQuestion() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        const QString path = Path("dropped.vrn");
        WriteFile(path, EmptyModel());
        frame.OnCommand(ID_TOOL_LINE);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        boxes.Answer(QMessageBox::No);
        QApplication::sendEvent(&frame, &drop);
        QCOMPARE(boxes.QuestionCount(), 1);
        QCOMPARE(frame.PathName(), path);

        QMimeData other;
        other.setUrls({QUrl::fromLocalFile(Path("notes.txt"))});
        QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
        refused.setAccepted(false);
        QApplication::sendEvent(&frame, &refused);
        QVERIFY(!refused.isAccepted());
    }

    void openAsksWithModelFilterSaveAsAddsExtension() {
        CMainFrame frame;
        QString filter;
        SetFileDialogHook([&filter](bool bSave, const QString& f, const QString&) {
            if (!bSave) filter = f;
            return QString();
        });
        QVERIFY(!frame.OnFileOpen());
        SetFileDialogHook({});
        QCOMPARE(filter, QString("Varnel Files (*.vrn)"));

        CScriptedBoxes boxes;
        boxes.ChooseFile(Path("named"));
        QVERIFY(frame.OnFileSaveAs());
        QCOMPARE(frame.PathName(), Path("named.vrn"));
        QCOMPARE(ReadFile(Path("named.vrn")), EmptyModel());
    }

    void saveAsStartsFromTheModelsOwnFile() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        QVERIFY(!frame.OnFileSaveAs());  // cancelled
        QCOMPARE(boxes.Proposed().back(), QStringLiteral("Безымянный.vrn"));
        boxes.ChooseFile(Path("first.vrn"));
        QVERIFY(frame.OnFileSaveAs());
        QVERIFY(!frame.OnFileSaveAs());
        QCOMPARE(boxes.Proposed().back(), Path("first.vrn"));
    }

    // Last, because the translation stays installed for the process.
    void theSaveQuestionAnswersInRussian() {
        const QDir translations(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (!translations.exists(QStringLiteral("qtbase_ru.qm"))) QSKIP("the toolkit's translations are not installed");
        InstallFrameworkTranslations();
        QMessageBox box(QMessageBox::Question, QString(), QString(),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Да"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));
    }
};

QTEST_MAIN(DocumentFlowTest)
#include "DocumentFlowTest.moc"
