// Editing a diagram in the main window as a user does: the move tool and
// Shift+drag with glued flows, the arrow keys, Delete, undo and redo of
// every kind of change with named menu items, the modified flag following
// the saved state, the mode pane and the checked tool, and dialogs that
// give back every digit.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QUndoStack>
#include <cstring>

#include "ShellTestSupport.h"
#include "diagram/CommandIds.h"
#include "diagram/TableElements.h"
#include "document/VarnelDoc.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/VarnelView.h"
#include "support/ModelSamples.h"

namespace {

// Level X (100,100)-(200,160) with a flow arrow ending on its top edge and
// one leaving its right edge, a table T and an expert E; then a line.
void FillFlowModel(CVarnelDoc& doc) {
    EntityList& list = *doc.m_pEntityList;
    auto level = std::make_unique<CVLevel>();
    samples::SetPoints(*level, {{100, 100}, {200, 160}, {8, 8}});
    level->m_strName = "X";
    list.Add(std::move(level));
    auto in = std::make_unique<CVArrow>();
    samples::SetPoints(*in, {{150, 20}, {150, 40}, {150, 80}, {150, 100}, {10, 10}});
    list.Add(std::move(in));
    auto out = std::make_unique<CVArrow>();
    samples::SetPoints(*out, {{200, 130}, {230, 130}, {260, 130}, {300, 130}, {10, 10}});
    list.Add(std::move(out));
    auto table = std::make_unique<CVTableData>();
    samples::SetPoints(*table, {{300, 250}, {380, 300}, {15, 15}});
    table->m_strName = "T";
    table->m_dTo = 2;
    table->m_dStep = 1;
    table->m_data = {1, 2, 3};
    list.Add(std::move(table));
    auto expert = std::make_unique<CVExpert>();
    samples::SetPoints(*expert, {{450, 100}, {20, 24}, {6, 6}});
    expert->m_strText = "E";
    list.Add(std::move(expert));
    auto line = std::make_unique<CVLine>();
    samples::SetPoints(*line, {{20, 400}, {200, 400}});
    list.Add(std::move(line));
}

QAction* FindAction(const QList<QAction*>& actions, int id) {
    for (QAction* a : actions)
        if (a->data().toInt() == id) return a;
    return nullptr;
}

QMenu* Submenu(CMainFrame& frame, int index) { return frame.menuBar()->actions()[index]->menu(); }

// The text of a menu item as the opened menu shows it.
QString ItemText(CMainFrame& frame, int submenu, int id) {
    QMenu* menu = Submenu(frame, submenu);
    emit menu->aboutToShow();
    return FindAction(menu->actions(), id)->text();
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Answers the next element dialog: types into box `box` (unless -1) and
// presses OK.
void AnswerElementDialog(int box, const QString& text) {
    OnNextModal([box, text](QWidget* w) {
        auto* dlg = qobject_cast<CElementParamWindow*>(w);
        if (!dlg) return;
        if (box >= 0) {
            dlg->Box(box)->selectAll();
            QTest::keyClicks(dlg->Box(box), text);
        }
        dlg->accept();
    });
}

}  // namespace

class EditingTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<CMainFrame> frame;
    CVarnelView* view = nullptr;

    CVarnelDoc& Doc() { return frame->Document(); }
    CVEntity& At(size_t i) { return *Doc().m_pEntityList->GetAt(i); }
    QWidget* Port() { return view->viewport(); }
    QString Mode() { return frame->StatusBar()->ModeText(); }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(frame.get(), Qt::Key(key), mods); }

    // Without a button held, a test's mouse move only places the cursor,
    // and the window hears of it only when the cursor really moves.
    void Hover(QPoint p) {
        QTest::mouseMove(Port(), p + QPoint(1, 1));
        QTest::mouseMove(Port(), p);
    }

    // Presses at `from`, moves in a few steps to `to` and releases there.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Hover(from);
        QTest::mousePress(Port(), Qt::LeftButton, mods, from);
        for (int i = 1; i <= 4; ++i) QTest::mouseMove(Port(), from + (to - from) * i / 4);
        QTest::mouseRelease(Port(), Qt::LeftButton, mods, to);
    }

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void init() {
        frame = std::make_unique<CMainFrame>();
        FillFlowModel(frame->Document());
        view = qobject_cast<CVarnelView*>(frame->centralWidget());
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        view->RepaintView();
    }

    void cleanup() {
        CScriptedBoxes boxes;  // closing a modified model: answer No
        frame.reset();
    }

    void modePaneAndTheCheckedTool() {
        QCOMPARE(Mode(), QString("Изменение"));
        frame->OnCommand(ID_DRAWING_MODE);
        QCOMPARE(Mode(), QString("Выберите инструмент или «Изменить»"));
        frame->OnCommand(ID_TOOL_LEVEL);
        QCOMPARE(Mode(), QString("Черчение: Уровень"));
        QMenu* tools = Submenu(*frame, 3);
        QVERIFY(FindAction(tools->actions(), ID_TOOL_LEVEL)->isChecked());
        QVERIFY(!FindAction(tools->actions(), ID_MODIFY)->isChecked());
        FindAction(tools->actions(), ID_TOOL_MOVE)->trigger();
        QCOMPARE(Mode(), QString("Перемещение"));
        QVERIFY(FindAction(tools->actions(), ID_TOOL_MOVE)->isChecked());
        QVERIFY(!FindAction(tools->actions(), ID_TOOL_LEVEL)->isChecked());
        QVERIFY(FindAction(frame->ToolBar()->actions(), ID_TOOL_MOVE)->isChecked());
        frame->OnCommand(ID_MODIFY);
        QCOMPARE(Mode(), QString("Изменение"));
        QVERIFY(FindAction(tools->actions(), ID_MODIFY)->isChecked());
        QVERIFY(!FindAction(frame->ToolBar()->actions(), ID_TOOL_MOVE)->isChecked());
    }

    // The level follows the mouse while it is dragged, its flows with it;
    // the move is one step to undo and redo.
    void moveToolDragsTheLevelWithItsFlows() {
        frame->OnCommand(ID_DRAWING_MODE);
        frame->OnCommand(ID_TOOL_MOVE);
        QVERIFY(!Doc().IsModified());
        Hover(QPoint(120, 150));
        QCOMPARE(At(0).m_bHighlight, 1);  // what a press would move shows blue
        QTest::mousePress(Port(), Qt::LeftButton, {}, QPoint(120, 150));
        QTest::mouseMove(Port(), QPoint(140, 170));
        QCOMPARE(At(0).GetPoint(0), (CPoint{120, 120}));  // already while dragging
        QTest::mouseMove(Port(), QPoint(160, 180));
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(160, 180));
        QCOMPARE(At(0).GetPoint(0), (CPoint{140, 130}));
        QCOMPARE(At(1).GetPoint(3), (CPoint{190, 130}));  // the inflow's tip
        QCOMPARE(At(1).GetPoint(0), (CPoint{150, 20}));   // its tail stays
        QCOMPARE(At(2).GetPoint(0), (CPoint{240, 160}));  // the outflow's tail
        QVERIFY(Doc().IsModified());
        QVERIFY(frame->isWindowModified());
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_UNDO), QString("Отменить перемещение\tCtrl+Z"));

        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(At(0).GetPoint(0), (CPoint{100, 100}));
        QCOMPARE(At(1).GetPoint(3), (CPoint{150, 100}));
        QVERIFY(!Doc().IsModified());  // back at the state it was opened in
        QVERIFY(!frame->isWindowModified());
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_REDO), QString("Повторить перемещение\tCtrl+Y"));
        QVERIFY(!FindAction(Submenu(*frame, 1)->actions(), ID_EDIT_UNDO)->isEnabled());
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(At(2).GetPoint(0), (CPoint{240, 160}));
        QVERIFY(Doc().IsModified());

        // Far past the sheet's corner, it stops at the edges.
        Drag(QPoint(150, 150), QPoint(790, 790));
        QCOMPARE(At(0).GetPoint(1), (CPoint{640, 480}));
    }

    // Shift picks in modify mode instead of opening the dialog; the arrow
    // keys then step the highlighted level, all steps undoing as one.
    void shiftDragAndArrowKeysInModifyMode() {
        Drag(QPoint(120, 150), QPoint(130, 150), Qt::ShiftModifier);
        QCOMPARE(At(0).GetPoint(0), (CPoint{110, 100}));
        QCOMPARE(At(1).GetPoint(3), (CPoint{160, 100}));
        QTest::keyClick(view, Qt::Key_Right);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(At(0).GetPoint(0), (CPoint{111, 120}));
        QCOMPARE(At(1).GetPoint(3), (CPoint{161, 120}));
        QCOMPARE(view->UndoStack()->count(), 2);
        view->OnUndo();
        QCOMPARE(At(0).GetPoint(0), (CPoint{110, 100}));
        view->OnUndo();
        QCOMPARE(At(0).GetPoint(0), (CPoint{100, 100}));
    }

    // Delete takes the highlighted object out; undoing puts it back in its
    // place with its id, so the diagram and a run see the same order.
    void deleteKeyAndItsUndo() {
        const std::vector<uint8_t> before = Doc().Store();
        CVEntity* level = &At(0);
        Hover(QPoint(120, 150));
        Key(Qt::Key_Delete);
        QCOMPARE(Doc().m_pEntityList->GetCount(), size_t{5});
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_UNDO), QString("Отменить удаление\tCtrl+Z"));
        Key(Qt::Key_Delete);  // nothing is highlighted any more
        QCOMPARE(Doc().m_pEntityList->GetCount(), size_t{5});
        Key(Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(&At(0), level);
        QCOMPARE(Doc().Store(), before);
    }

    void dialogTableAndProgramEditsUndo() {
        AnswerElementDialog(2, "42");
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(120, 150));
        QCOMPARE(static_cast<CVLevel&>(At(0)).m_dValue, 42.0);
        QCOMPARE(view->UndoStack()->undoText(), QString("изменение параметров"));

        auto& table = static_cast<CVTableData&>(At(3));
        AnswerElementDialog(2, "4/5/6");
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(340, 275));
        QCOMPARE(table.m_data, (std::vector<double>{4, 5, 6}));

        OnNextModal([](QWidget* w) {
            if (auto* dlg = qobject_cast<CProgramDlg*>(w)) {
                dlg->Editor()->setPlainText("var x = 2");
                dlg->accept();
            }
        });
        frame->OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(Doc().m_strProgram, std::string("var x = 2"));
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_UNDO), QString("Отменить изменение программы\tCtrl+Z"));

        frame->OnCommand(ID_EDIT_UNDO);
        QCOMPARE(Doc().m_strProgram, std::string());
        frame->OnCommand(ID_EDIT_UNDO);
        QCOMPARE(table.m_data, (std::vector<double>{1, 2, 3}));
        frame->OnCommand(ID_EDIT_UNDO);
        QCOMPARE(static_cast<CVLevel&>(At(0)).m_dValue, 0.0);
        QVERIFY(!Doc().IsModified());
        frame->OnCommand(ID_EDIT_REDO);
        QCOMPARE(static_cast<CVLevel&>(At(0)).m_dValue, 42.0);
    }

    // While an object's dialog is open the history stays put: undoing the
    // placing of that very object would take it from under the dialog.
    void noUndoUnderAnOpenDialog() {
        frame->OnCommand(ID_DRAWING_MODE);
        frame->OnCommand(ID_TOOL_LEVEL);
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(450, 400));
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(550, 460));
        frame->OnCommand(ID_MODIFY);
        OnNextModal([this](QWidget* w) {
            auto* dlg = qobject_cast<CElementParamWindow*>(w);
            frame->OnCommand(ID_EDIT_UNDO);
            frame->OnCommand(ID_DELETE_OBJECT);
            dlg->Box(0)->end(false);
            QTest::keyClicks(dlg->Box(0), "2");
            dlg->accept();
        });
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(500, 430));
        QCOMPARE(Doc().m_pEntityList->GetCount(), size_t{7});
        QCOMPARE(static_cast<CVLevel&>(At(6)).m_strName, std::string("Level2"));
        view->OnUndo();
        view->OnUndo();
        QCOMPARE(Doc().m_pEntityList->GetCount(), size_t{6});
    }

    // Saved, changed and undone: the model is unmodified and saves to the
    // very bytes it had; undoing past the save marks it again.
    void theSavedStateIsTheUnmodifiedOne() {
        const QString path = QDir(m_dir.path()).filePath("flows.vrn");
        QVERIFY(frame->DoSave(path));
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray original = saved.readAll();
        saved.close();

        Drag(QPoint(120, 150), QPoint(130, 170), Qt::ShiftModifier);
        frame->OnCommand(ID_DRAWING_MODE);
        frame->OnCommand(ID_TOOL_MOVE);
        Drag(QPoint(100, 400), QPoint(100, 420));  // the line
        QVERIFY(frame->isWindowModified());
        frame->OnCommand(ID_EDIT_UNDO);
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(!Doc().IsModified());
        QVERIFY(!frame->isWindowModified());
        QVERIFY(frame->DoSave(path));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), original);
        saved.close();

        frame->OnCommand(ID_EDIT_REDO);
        QVERIFY(frame->DoSave(path));
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(Doc().IsModified());

        // Opening a model starts a new history, and its title still
        // follows its changes.
        QVERIFY(frame->OpenDocumentFile(path, false));
        QVERIFY(!view->UndoStack()->canUndo());
        Drag(QPoint(100, 400), QPoint(100, 440), Qt::ShiftModifier);
        QVERIFY(frame->isWindowModified());
    }

    // OK on untouched dialogs gives back every value to the bit, and is no
    // change of the model.
    void unchangedDialogsKeepEveryDigit() {
        static_cast<CVLevel&>(At(0)).m_dValue = 1234567.89;
        static_cast<CVExpert&>(At(4)).m_dValue = 0.1 + 0.2;
        QString shown;
        OnNextModal([&shown](QWidget* w) {
            auto* dlg = qobject_cast<CElementParamWindow*>(w);
            shown = dlg->Box(2)->text();
            dlg->accept();
        });
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(120, 150));
        QCOMPARE(shown, QString("1234567.89"));
        AnswerElementDialog(-1, {});
        QTest::mouseClick(Port(), Qt::LeftButton, {}, QPoint(450, 90));
        QVERIFY(SameBits(static_cast<CVLevel&>(At(0)).m_dValue, 1234567.89));
        QVERIFY(SameBits(static_cast<CVExpert&>(At(4)).m_dValue, 0.1 + 0.2));
        QVERIFY(!Doc().IsModified());
        QCOMPARE(view->UndoStack()->count(), 0);
    }
};

QTEST_MAIN(EditingTest)
#include "EditingTest.moc"
