// The main window: its menus, accelerators and toolbar as frame.txt lists
// them (VARNEL_GOLDEN=1 rewrites the file), the drawing-mode switch, the
// status bar; the single-document file flow (what asks to save, what Yes,
// No and Cancel keep, bad files, the recent list, atomic saving, dropped
// files) and the desktop command line.
#include <csignal>
#include <sys/resource.h>

#include "ShellTest.h"
#include "diagram/TableElements.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "shell/frame/CommandLine.h"
#include "shell/frame/PrintModel.h"
#include "shell/frame/VarnelApp.h"
#include "support/ModelBytes.h"

namespace {

const QByteArray kEmptyModel = Bytes(ModelFileBytes());  // 640 by 480, as New makes it

// Items as text=id, "-" a separator, "off" greyed, "on" checked.
QString Describe(QAction* a) {
    if (a->isSeparator()) return "-";
    QString text = a->text().replace('\t', "\\t") + "=" + a->data().toString();
    return text + (a->isEnabled() ? "" : " off") + (a->isChecked() ? " on" : "") + (a->isVisible() ? "" : " hidden");
}

QStringList DescribeFrame(CMainFrame& frame) {
    QStringList lines{"title: " + frame.windowTitle()};
    for (int menuId : {IDR_MAINFRAME, IDR_DRAWMENU}) {
        frame.SwitchMenu(menuId);
        for (QAction* top : frame.menuBar()->actions()) {
            emit top->menu()->aboutToShow();
            QStringList items;
            for (QAction* a : top->menu()->actions()) items << Describe(a);
            lines << QString("%1 %2: %3").arg(menuId).arg(top->text(), items.join(" | "));
        }
    }
    QStringList keys, buttons;
    for (QAction* a : frame.Accelerators()) keys << a->shortcut().toString(QKeySequence::PortableText) + "=" + a->data().toString();
    for (QAction* a : frame.ToolBar()->actions())
        buttons << (a->isSeparator() ? "-" : a->data().toString() + " " + a->toolTip() + " / " + a->statusTip());
    const QSize icon = frame.ToolBar()->iconSize();
    lines << "keys: " + keys.join(" | ") << QString("toolbar %1x%2: ").arg(icon.width()).arg(icon.height()) + buttons.join(" | ");
    QStringList panes{frame.StatusBar()->MessageText()};
    for (int i = 0; i < 3; ++i) panes << frame.StatusBar()->Indicator(i)->text();
    return lines << "status: " + panes.join(" | ");
}

}  // namespace

class FrameTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString Path(const QString& name) { return m_dir.filePath(name); }

private slots:
    void menusKeysAndToolbarAsListed() {
        CMainFrame frame;
        QVERIFY(frame.IsCreated());
        QVERIFY(!frame.windowIcon().isNull());
        const QString golden = VARNEL_SOURCE_DIR "/tests/shell/frame.txt";
        const QStringList lines = DescribeFrame(frame);
        if (qEnvironmentVariableIsSet("VARNEL_GOLDEN")) WriteFile(golden, (lines.join('\n') + '\n').toUtf8());
        QCOMPARE(lines, QString::fromUtf8(ReadFile(golden)).split('\n', Qt::SkipEmptyParts));
        QVERIFY(!frame.OnCommand(ID_EDIT_COPY));  // an accelerator without a handler does nothing
    }

    // The checked Чертеж item leaves drawing mode when clicked; Ctrl+D toggles.
    void drawingModeSwitchesTheMenuBar() {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OnCommand(ID_DRAWING_MODE);
        QCOMPARE(frame.menuBar()->property("varnelMenuId").toInt(), int(IDR_DRAWMENU));
        QCOMPARE(frame.ContextSubmenu(), Submenu(frame, 3));
        FindAction(Submenu(frame, 1)->actions(), ID_DRAWING_MODE)->trigger();
        QVERIFY(!frame.IsDrawingMode());
        QCOMPARE(frame.menuBar()->property("varnelMenuId").toInt(), int(IDR_MAINFRAME));
        QVERIFY(!FindAction(Submenu(frame, 1)->actions(), ID_DRAWING_MODE)->isChecked());
        QTest::keyClick(&frame, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(frame.IsDrawingMode());
        QTest::keyClick(&frame, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!frame.IsDrawingMode());
    }

    void statusPromptsAndBarsFollowTheUser() {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        FindAction(frame.ToolBar()->actions(), ID_BUILD_GRAPHS)->showStatusText(&frame);
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Просмотр графиков модели"));
        frame.StatusBar()->clearMessage();
        QCOMPARE(frame.StatusBar()->MessageText(), QString("Готово"));
        FindAction(Submenu(frame, 2)->actions(), ID_VIEW_TOOLBAR)->trigger();
        QVERIFY(frame.ToolBar()->isHidden());
        QVERIFY(!ItemText(frame, 2, ID_VIEW_TOOLBAR).isEmpty());
        QVERIFY(!FindAction(Submenu(frame, 2)->actions(), ID_VIEW_TOOLBAR)->isChecked());
        frame.OnCommand(ID_VIEW_STATUS_BAR);
        QVERIFY(frame.StatusBar()->isHidden());
    }

    // New, zoom and an unchanged program leave the model clean; a tool, the
    // sheet size, a changed program, a deletion in the database and a table
    // edit whose values are refused (its name and range stay) mark it.
    void whatAsksToSave() {
        CMainFrame frame;
        QCOMPARE(QuestionsOnNew(frame), 0);
        frame.OnCommand(ID_ZOOM_OUT);
        frame.OnCommand(ID_ZOOM_IN);
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) { dlg->accept(); });
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(QuestionsOnNew(frame), 0);
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) {
            dlg->Editor()->setPlainText("changed");
            dlg->reject();
        });
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(QuestionsOnNew(frame), 0);
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) {
            dlg->Editor()->setPlainText("var t\nset t = 1");
            dlg->accept();
        });
        frame.OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(frame.Document().m_strProgram, std::string("var t\r\nset t = 1"));
        QCOMPARE(QuestionsOnNew(frame), 1);

        CMainFrame sized;
        OnNextModal([](QDialog* dlg) { dlg->accept(); });
        sized.OnCommand(ID_DOC_SIZE);
        QCOMPARE(QuestionsOnNew(sized), 1);
        CMainFrame tool;
        tool.OnCommand(ID_DRAWING_MODE);
        tool.OnCommand(ID_TOOL_LEVEL);
        QCOMPARE(QuestionsOnNew(tool), 1);
        QVERIFY(tool.windowTitle().contains("[*]") && tool.isWindowModified());
    }

    void databaseChangesAskToSave() {
        CMainFrame frame;
        auto table = std::make_unique<CVTableData>();
        table->m_dTo = 10.0;
        table->m_dStep = 5.0;
        table->m_data = {1.0, 2.0, 3.0};
        frame.Document().m_pEntityList->Add(std::move(table));
        frame.Document().m_pEntityList->Add(std::make_unique<CVLine>());
        frame.OnCommand(ID_DRAWING_MODE);
        QString message;
        OnNextModal([&message](QDialog* db) {
            OnNextModal<CElementParamWindow>([&message](CElementParamWindow* w) {  // values refused
                OnNextModal<QMessageBox>([&message](QMessageBox* box) {
                    message = box->text();
                    box->accept();
                });
                QTest::keyClicks(w->Box(0), "2");
                w->Box(2)->selectAll();
                QTest::keyClicks(w->Box(2), "1;2");
                w->accept();
            });
            auto* list = db->findChild<QAbstractItemView*>();
            list->setCurrentIndex(list->model()->index(0, 0));
            db->findChild<QPushButton*>("editButton")->click();
            db->accept();
        });
        frame.OnCommand(ID_DATABASE);
        QCOMPARE(message, QString("Incorrect data."));
        QCOMPARE(QuestionsOnNew(frame), 1);
    }

    void yesSavesNoDiscardsCancelKeeps() {
        CMainFrame frame;
        frame.show();
        CScriptedBoxes boxes;
        frame.OnCommand(ID_TOOL_LINE);
        boxes.answers = {QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Yes};
        QVERIFY(!frame.OnFileNew());
        QVERIFY(!frame.close());
        QVERIFY(frame.Document().IsModified());
        boxes.files = {Path("yes.vrn")};
        QVERIFY(frame.OnFileNew());
        QCOMPARE(ReadFile(Path("yes.vrn")), kEmptyModel);
        QVERIFY(!frame.Document().IsModified() && frame.PathName().isEmpty());
        frame.OnCommand(ID_TOOL_LINE);
        QVERIFY(frame.close());  // answered No
        QCOMPARE(boxes.Questions(), 4);
    }

    // A file that cannot be read leaves the model as it was; one of another
    // version opens empty under its own name.
    void badFilesKeepTheModel() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        frame.Document().m_strProgram = "var keep";
        frame.Document().SetModifiedFlag();
        QByteArray bytes = kEmptyModel;
        bytes[23] = 'X';  // damages the start marker
        WriteFile(Path("bad.vrn"), bytes);
        QVERIFY(!frame.OpenDocumentFile(Path("bad.vrn")));
        QCOMPARE(boxes.Last().strText, QString("Internal data error."));
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        WriteFile(Path("bad.vrn"), kEmptyModel.left(30));  // ends early
        QVERIFY(!frame.OpenDocumentFile(Path("bad.vrn")));
        QVERIFY(boxes.Last().strText.contains("bad.vrn"));
        QVERIFY(!frame.OpenDocumentFile(Path("missing.vrn"), false));
        QVERIFY(boxes.Last().strText.contains("missing.vrn"));
        QCOMPARE(frame.Document().m_strProgram, std::string("var keep"));
        QVERIFY(frame.Document().IsModified() && frame.PathName().isEmpty());

        bytes = kEmptyModel;
        bytes[6] = 0x00;  // the version 2.0
        bytes[7] = 0x40;
        WriteFile(Path("v2.vrn"), bytes);
        const size_t shown = boxes.requests.size();
        QVERIFY(frame.OpenDocumentFile(Path("v2.vrn"), false));
        QCOMPARE(boxes.requests.size(), shown);
        QVERIFY(frame.Document().m_strProgram.empty());
        QVERIFY(frame.windowTitle().startsWith("v2.vrn"));
    }

    void recentListKeepsTwoNewestFirst() {
        CScriptedBoxes boxes;
        const QString a = Path("a.vrn"), b = Path("b.vrn"), c = Path("c.vrn");
        for (const QString& p : {a, b, c}) WriteFile(p, kEmptyModel);
        {
            CMainFrame frame;
            for (const QString& p : {a, b, c, b}) QVERIFY(frame.OpenDocumentFile(p));
        }
        CMainFrame next;  // read back from the settings
        QCOMPARE(next.RecentFiles().Files(), (QStringList{b, c}));
        QStringList entries;
        emit Submenu(next, 0)->aboutToShow();
        for (QAction* a : Submenu(next, 0)->actions())
            if (a->isVisible() && a->data().toInt() >= ID_FILE_MRU_FIRST && a->data().toInt() <= ID_FILE_MRU_LAST)
                entries << a->text();
        QCOMPARE(entries.size(), 2);
        QVERIFY(entries[0].startsWith("&1 ") && entries[0].endsWith("b.vrn"));
        next.OnCommand(ID_FILE_MRU_FIRST + 1);
        QCOMPARE(next.PathName(), c);
    }

    // A write that fails half-way (a file-size limit stops root too) keeps
    // the old file whole, leaves no temporary file and the model modified.
    void failedSaveKeepsTheOldFile() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        WriteFile(Path("keep.vrn"), "old contents");
        frame.Document().m_strProgram = std::string(4000, 'x');
        frame.Document().SetModifiedFlag();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &tiny);
        const bool bSaved = frame.DoSave(Path("keep.vrn"));
        setrlimit(RLIMIT_FSIZE, &saved);
        QVERIFY(!bSaved);
        QCOMPARE(boxes.Last().icon, QMessageBox::Critical);
        QVERIFY(boxes.Last().strText.contains("keep.vrn"));
        QCOMPARE(ReadFile(Path("keep.vrn")), QByteArray("old contents"));
        QCOMPARE(QDir(m_dir.path()).entryList({"keep.vrn*"}, QDir::Files), QStringList{"keep.vrn"});
        QVERIFY(!frame.DoSave(Path("no-such-dir/x.vrn")));
        QVERIFY(frame.Document().IsModified() && frame.PathName().isEmpty());
    }

    void droppedModelOpensAfterTheSaveQuestion() {
        CMainFrame frame;
        CScriptedBoxes boxes;
        WriteFile(Path("dropped.vrn"), kEmptyModel);
        frame.OnCommand(ID_TOOL_LINE);
        for (const QString& name : {"notes.txt", "dropped.vrn"}) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(Path(name))});
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            enter.setAccepted(false);
            QApplication::sendEvent(&frame, &enter);
            QCOMPARE(enter.isAccepted(), name.endsWith(".vrn"));
        }
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(Path("dropped.vrn"))});
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frame, &drop);
        QCOMPARE(boxes.Questions(), 1);
        QCOMPARE(frame.PathName(), Path("dropped.vrn"));
    }

    void fileQuestionsFilterProposeAndAddTheExtension() {
        CMainFrame frame;
        QString filter;
        SetFileDialogHook([&filter](bool, const QString& f, const QString&) {
            filter = f;
            return QString();
        });
        QVERIFY(!frame.OnFileOpen());
        QCOMPARE(filter, QString("Varnel Files (*.vrn)"));
        CScriptedBoxes boxes;
        QVERIFY(!frame.OnFileSaveAs());  // cancelled
        boxes.files = {Path("named")};
        QVERIFY(frame.OnFileSaveAs());
        QCOMPARE(frame.PathName(), Path("named.vrn"));
        QCOMPARE(ReadFile(Path("named.vrn")), kEmptyModel);
        QVERIFY(!frame.OnFileSaveAs());
        QCOMPARE(boxes.proposed, (std::vector<QString>{"Безымянный.vrn", "Безымянный.vrn", Path("named.vrn")}));
    }

    void commandLine() {
        QCOMPARE(ParseCommandLine({}).m_nShellCommand, CCommandLineInfo::FileNew);
        QCOMPARE(ParseCommandLine({"/home/me/m.vrn"}).m_strFileName, QString("/home/me/m.vrn"));
        QCOMPARE(ParseCommandLine({"/home/me/m.vrn"}).m_nShellCommand, CCommandLineInfo::FileOpen);
        for (const char* sw : {"/p", "/P", "-p", "--print"}) {
            QCOMPARE(ParseCommandLine({sw, "m.vrn"}).m_nShellCommand, CCommandLineInfo::FilePrint);
            QCOMPARE(ParseCommandLine({sw, "m.vrn"}).m_strFileName, QString("m.vrn"));
        }
        const auto to = ParseCommandLine({"/pt", "m.vrn", "Office", "driver", "port"});
        QCOMPARE(to.m_nShellCommand, CCommandLineInfo::FilePrintTo);
        QCOMPARE(to.m_strPrinterName, QString("Office"));
        QVERIFY(to.m_strError.isEmpty());
        for (QStringList refused : {QStringList{"/p"}, {"/pt", "m.vrn"}, {"--frobnicate"}})
            QVERIFY(!ParseCommandLine(refused).m_strError.isEmpty());
        CVarnelDoc doc;
        doc.OnNewDocument();
        QVERIFY(PrintModel(doc, "m.vrn", "no-such-printer").contains("no-such-printer"));
    }

    // Last: the translation stays installed for the process.
    void theSaveQuestionAnswersInRussian() {
        if (!QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).exists("qtbase_ru.qm"))
            QSKIP("the toolkit's translations are not installed");
        InstallFrameworkTranslations();
        QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Да"));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Отмена"));
    }
};
SHELL_TEST(FrameTest)
#include "FrameTest.moc"
