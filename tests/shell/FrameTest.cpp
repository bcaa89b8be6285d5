// The main window: menus, keys, toolbar and status bar as golden/frame.txt lists them, the file flow
// (save questions, bad files, the recent list, atomic saving, drops) and the command line.
#include <csignal>
#include <sys/resource.h>

#include "ShellTest.h"
#include "document/DocChanges.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/frame/CommandLine.h"
#include "support/ModelBytes.h"

namespace {

const QByteArray kEmptyModel = QByteArray::fromHex(QByteArray(kHeader640x480) + "0000" + kStartMarker + "00" + kEndMarker);  // as New makes it

// How many save questions New asks (answered Cancel).
int QuestionsOnNew(CMainFrame& frame) {
    CScriptedBoxes boxes;
    boxes.answers = {QMessageBox::Cancel};
    frame.OnCommand(ID_FILE_NEW);
    return boxes.Questions();
}

// A line a menu (items as text=id, "-" a separator, "off" greyed, "on"
// checked), then the keys, the toolbar buttons and the status panes.
QStringList DescribeFrame(CMainFrame& frame) {
    QStringList lines{"title: " + frame.windowTitle()};
    for (int menuId : {IDR_MAINFRAME, IDR_DRAWMENU}) {
        frame.SwitchMenu(menuId);
        for (QAction* top : frame.menuBar()->actions()) {
            emit top->menu()->aboutToShow();
            QStringList items;
            for (QAction* a : top->menu()->actions())
                items << (a->isSeparator() ? "-" : a->text().replace('\t', "\\t") + "=" + a->data().toString() +
                                                       (a->isEnabled() ? "" : " off") + (a->isChecked() ? " on" : ""));
            lines << QString("%1 %2: %3").arg(menuId).arg(top->text(), items.join(" | "));
        }
    }
    QStringList keys, buttons, panes{frame.StatusBar()->MessageText()};
    for (QAction* a : frame.Accelerators()) keys << a->shortcut().toString(QKeySequence::PortableText) + "=" + a->data().toString();
    for (QAction* a : frame.ToolBar()->actions())
        buttons << (a->isSeparator() ? "-" : a->data().toString() + " " + a->toolTip());
    for (int i = 0; i < 3; ++i) panes << frame.StatusBar()->Indicator(i)->text();
    const QSize icon = frame.ToolBar()->iconSize();
    return lines << "keys: " + keys.join(" | ") << QString("toolbar %1x%2: ").arg(icon.width()).arg(icon.height()) + buttons.join(" | ")
                 << "status: " + panes.join(" | ");
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString Path(const QString& name) { return m_dir.filePath(name); }

private slots:
    // Then the checked Чертеж item leaves drawing mode, and a button's prompt shows.
    void menusKeysToolbarAndStatusAsListed() {
        CMainFrame frame;
        QVERIFY(frame.IsCreated() && !frame.windowIcon().isNull());
        CompareGolden(DescribeFrame(frame), "frame.txt");
        QVERIFY(!frame.OnCommand(ID_EDIT_COPY));  // a key without a handler does nothing
        Item(frame, 1, ID_DRAWING_MODE)->trigger();
        QVERIFY(!frame.IsDrawingMode() && frame.menuBar()->property("varnelMenuId").toInt() == IDR_MAINFRAME);
        FindAction(frame.ToolBar()->actions(), ID_BUILD_GRAPHS)->showStatusText(&frame);
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Просмотр графиков модели"));
    }

    // New, zoom, a tool, the same size and an unchanged or cancelled program leave it clean; a new program marks it.
    void whatAsksToSave() {
        CMainFrame frame;
        frame.OnCommand(ID_ZOOM_OUT);
        frame.OnCommand(ID_ZOOM_IN);
        for (QString text : {"", "changed", "var t\nset t = 1"}) {
            OnNextModal<CProgramDlg>([text](CProgramDlg* dlg) {
                if (!text.isEmpty()) dlg->Editor()->setPlainText(text);
                if (text == "changed") dlg->reject(); else dlg->accept();
            });
            frame.OnCommand(ID_EDIT_PROGRAM);
            QCOMPARE(QuestionsOnNew(frame), int(text.startsWith("var")));
        }
        QCOMPARE(frame.Document().m_strProgram, std::string("var t\r\nset t = 1"));
        CMainFrame sized, tool;
        OnNextModal([](QDialog* dlg) { dlg->accept(); });
        sized.OnCommand(ID_DOC_SIZE);
        QCOMPARE(QuestionsOnNew(sized), 0);
        tool.OnCommand(ID_DRAWING_MODE);
        tool.OnCommand(ID_TOOL_LEVEL);
        QVERIFY(tool.windowTitle().contains("[*]") && !tool.isWindowModified());
        QCOMPARE(QuestionsOnNew(tool), 0);
        // A model that differs from its file from the start (recovered, imported): no undo makes it clean.
        CVarnelDoc recovered;
        recovered.OnNewDocument();
        recovered.m_strProgram = "var r";
        tool.ShowModel(std::move(recovered), Path("r.vrn"), true);
        View(tool)->PushChange(std::make_unique<CProgramChange>(tool.Document(), "var s"), "изменение программы");
        tool.OnCommand(ID_EDIT_UNDO);
        QVERIFY(tool.isWindowModified() && tool.IsModified() && tool.Document().IsModified() && tool.PathName() == Path("r.vrn"));
        QCOMPARE(QuestionsOnNew(tool), 1);
    }

    // Cancel keeps the model, Yes saves it (adding .vrn), No drops it; a dropped model opens, other files not.
    void saveQuestionsAndDrops() {
        CMainFrame frame;
        frame.show();
        CScriptedBoxes boxes;
        View(frame)->MarkNotClean();
        boxes.answers = {QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Yes};
        QVERIFY(!frame.OnFileNew() && !frame.close() && frame.Document().IsModified());
        boxes.files = {Path("yes")};
        QVERIFY(frame.OnFileNew());
        QCOMPARE(ReadFile(Path("yes.vrn")), kEmptyModel);
        QVERIFY(!frame.Document().IsModified() && frame.PathName().isEmpty());
        View(frame)->MarkNotClean();
        for (QString name : {"notes.txt", "yes.vrn"}) {  // the question answered No
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(Path(name))});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QApplication::sendEvent(&frame, &enter);
            QCOMPARE(enter.isAccepted(), name.endsWith(".vrn"));
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            if (enter.isAccepted()) QApplication::sendEvent(&frame, &drop);
        }
        QCOMPARE(frame.PathName(), Path("yes.vrn"));
        View(frame)->MarkNotClean();
        QVERIFY(frame.close());
        QCOMPARE(boxes.Questions(), 5);
    }

    // A file that cannot be read is reported and leaves the model as it was.
    void badFilesKeepTheModel() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        frame.Document().m_strProgram = "var keep";
        View(frame)->MarkNotClean();
        WriteFile(Path("cut.vrn"), kEmptyModel.left(30));
        WriteFile(Path("model.json"), "{\"version\":1.0,\"width\":640}");  // another program's file
        for (QString name : {"cut.vrn", "missing.vrn", "model.json"}) QVERIFY(!frame.OpenDocumentFile(Path(name)) && boxes.Last().strText.contains(name));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QVERIFY(boxes.Last().strText.contains("не является моделью Varnel"));
        QVERIFY(frame.Document().m_strProgram == "var keep" && frame.Document().IsModified() && frame.PathName().isEmpty());
    }

    // The two newest first, kept in the settings; Save As starts from the model's own file.
    void recentListAndFileQuestions() {
        CScriptedBoxes boxes;
        const QString a = Path("a.vrn"), b = Path("b.vrn"), c = Path("c.vrn");
        for (const QString& p : {a, b, c}) WriteFile(p, kEmptyModel);
        for (const QString& p : {a, b, c, b}) QVERIFY(CMainFrame().OpenDocumentFile(p));
        CMainFrame next;
        QCOMPARE(next.RecentFiles().Files(), (QStringList{b, c}));
        QAction* first = Item(next, 0, ID_FILE_MRU_FIRST);
        QVERIFY(first->isVisible() && first->text().startsWith("&1 ") && first->text().endsWith("b.vrn"));
        next.OnCommand(ID_FILE_MRU_FIRST + 1);
        QCOMPARE(next.PathName(), c);
        CScriptedBoxes saving;
        QVERIFY(!next.OnFileSaveAs() && !CMainFrame().OnFileSaveAs());
        QCOMPARE(saving.proposed, (std::vector<QString>{c, "Безымянный.vrn"}));
    }

    // A write failing half-way (a size limit stops root too) keeps the old file whole and the model modified.
    void failedSaveKeepsTheOldFile() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        WriteFile(Path("keep.vrn"), "old contents");
        frame.Document().m_strProgram = std::string(4000, 'x');
        View(frame)->MarkNotClean();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit tiny{64, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &tiny);
        const bool bSaved = frame.DoSave(Path("keep.vrn"));
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!bSaved && boxes.Last().icon == QMessageBox::Critical && boxes.Last().strText.contains("keep.vrn"));
        QCOMPARE(ReadFile(Path("keep.vrn")), QByteArray("old contents"));
        QCOMPARE(QDir(m_dir.path()).entryList({"keep.vrn*"}, QDir::Files), QStringList{"keep.vrn"});
        QVERIFY(!frame.DoSave(Path("no-such-dir/x.vrn")));
        QVERIFY(frame.Document().IsModified() && frame.PathName().isEmpty());
    }

    void commandLine() {
        QCOMPARE(ParseCommandLine({}).m_nShellCommand, CCommandLineInfo::FileNew);
        QCOMPARE(ParseCommandLine({"/home/me/m.vrn"}).m_nShellCommand, CCommandLineInfo::FileOpen);
        for (const char* sw : {"/p", "/P", "-p", "--print"}) QCOMPARE(ParseCommandLine({sw, "m.vrn"}).m_nShellCommand, CCommandLineInfo::FilePrint);
        const auto to = ParseCommandLine({"/pt", "m.vrn", "Office", "driver", "port"});
        QCOMPARE(to.m_nShellCommand, CCommandLineInfo::FilePrintTo);
        QCOMPARE(to.m_strFileName + " " + to.m_strPrinterName + to.m_strError, QString("m.vrn Office"));
        for (QStringList refused : {QStringList{"/p"}, {"/pt", "m.vrn"}, {"--frobnicate"}}) QVERIFY(!ParseCommandLine(refused).m_strError.isEmpty());
    }
};
SHELL_TEST(FrameTest)
#include "FrameTest.moc"
