// Editing a diagram in the main window as a user does: placing with every
// tool (also scrolled), hover and press, the move tool and Shift+drag with
// glued flows, the arrow keys, Delete, undo and redo of every kind of change
// with named menu items, the modified flag following the saved state, the
// mode pane, the context menu, the database dialog, zoom and what the sheet
// shows, also at the int32 limit.
#include <QPrinter>
#include <cstring>

#include "ShellTest.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "shell/dialogs/DatabaseDlg.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "support/ModelSamples.h"

namespace {

// Level X (100,100)-(200,160) with a flow arrow ending on its top edge and
// one leaving its right edge, a table T, an expert E, then a line.
void FillFlowModel(EntityList& list) {
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

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Answers the next element dialog: types text into box `box` (unless -1),
// notes what its name box showed, and presses OK.
void AnswerElementDialog(int box, const QString& text, QString* pName = nullptr, bool* pNameReadOnly = nullptr) {
    OnNextModal<CElementParamWindow>([=](CElementParamWindow* dlg) {
        if (pName) *pName = dlg->Box(0)->text();
        if (pNameReadOnly) *pNameReadOnly = dlg->Box(0)->isReadOnly();
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
    EntityList& List() { return *Doc().m_pEntityList; }
    CVEntity& At(size_t i) { return *List().GetAt(i); }
    QWidget* Port() { return view->viewport(); }
    QString Mode() { return frame->StatusBar()->ModeText(); }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(frame.get(), Qt::Key(key), mods); }
    void Click(QPoint p, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(Port(), button, {}, p); }
    // Without a button held, a test's mouse move only places the cursor,
    // and the window hears of it only when the cursor really moves.
    void Hover(QPoint p) {
        QTest::mouseMove(Port(), p + QPoint(1, 1));
        QTest::mouseMove(Port(), p);
    }
    void Place(const std::vector<QPoint>& presses) {
        for (const QPoint& p : presses) Hover(p), Click(p);
    }
    // Presses at `from`, moves in a few steps to `to` and releases there.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Hover(from);
        QTest::mousePress(Port(), Qt::LeftButton, mods, from);
        for (int i = 1; i <= 4; ++i) QTest::mouseMove(Port(), from + (to - from) * i / 4);
        QTest::mouseRelease(Port(), Qt::LeftButton, mods, to);
    }
    void DrawingMode(int tool) {
        frame->OnCommand(ID_DRAWING_MODE);
        frame->OnCommand(tool);
    }

private slots:
    void init() {
        frame = std::make_unique<CMainFrame>();
        FillFlowModel(List());
        view = View(*frame);
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

    // Presses land in sheet coordinates, also scrolled: 2-click tools take
    // both corners, 4-click ones start, end and two controls.
    void everyToolPlacesItsObject() {
        struct Case { int tool; const char* cls; int points; std::vector<QPoint> presses; std::vector<CPoint> expected; };
        const std::vector<QPoint> two{{10, 20}, {100, 80}}, four{{10, 20}, {200, 120}, {50, 10}, {150, 140}};
        const std::vector<CPoint> corners{{10, 20}, {100, 80}}, curve{{10, 20}, {50, 10}, {150, 140}, {200, 120}};
        const Case cases[] = {
            {ID_TOOL_LINE, "CVLine", 2, two, corners}, {ID_TOOL_RECTANGLE, "CVRectangle", 2, two, corners},
            {ID_TOOL_ELLIPSE, "CVEllipse", 2, two, corners}, {ID_TOOL_VARIABLE, "CVVariable", 3, two, corners},
            {ID_TOOL_LEVEL, "CVLevel", 3, two, corners}, {ID_TOOL_RATE, "CVRate", 3, two, corners},
            {ID_TOOL_TABLEDATA, "CVTableData", 3, two, corners}, {ID_TOOL_SOURCES, "CVSources", 18, two, corners},
            {ID_TOOL_BSPLINE, "CVBSpline", 4, four, curve}, {ID_TOOL_ARROW, "CVArrow", 5, four, curve},
            {ID_TOOL_TEXT, "CVText", 1, {{30, 40}}, {{30, 40}}}, {ID_TOOL_EXPERT, "CVExpert", 3, {{30, 40}}, {{30, 40}}},
            {ID_TOOL_SWITCH, "CVSwitch", 3, {{30, 40}}, {{30, 40}}}};
        frame->OnCommand(ID_DRAWING_MODE);
        for (const Case& c : cases) {
            List().DeleteAll();
            frame->OnCommand(c.tool);
            Place(c.presses);
            QCOMPARE(List().GetCount(), size_t{1});
            QCOMPARE(At(0).GetRuntimeClass()->m_lpszClassName, c.cls);
            QCOMPARE(At(0).GetPointCount(), c.points);
            for (size_t k = 0; k < c.expected.size(); ++k) QCOMPARE(At(0).GetPoint(int(k)), c.expected[k]);
        }
        List().DeleteAll();
        Doc().m_nWidth = 3000;
        Doc().m_nHeight = 2000;
        view->OnInitialUpdate();
        view->horizontalScrollBar()->setValue(100);
        view->verticalScrollBar()->setValue(50);
        QCOMPARE(view->ScrollPosition(), (CPoint{100, 50}));
        frame->OnCommand(ID_TOOL_LEVEL);
        Place({{10, 20}, {110, 90}});
        QCOMPARE(At(0).GetPoint(0), (CPoint{110, 70}));
        QCOMPARE(At(0).GetPoint(1), (CPoint{210, 140}));
        frame->OnCommand(ID_MODIFY);
        Hover({60, 60});  // hovering hits in sheet coordinates too
        QCOMPARE(At(0).m_bHighlight, 1);
    }

    // In drawing mode a right click leaves the tool (the next object starts
    // from its first point again) and pops up the tools menu.
    void rightClickLeavesTheTool() {
        DrawingMode(ID_TOOL_LINE);
        Place({{10, 10}});
        QTest::mousePress(Port(), Qt::RightButton, {}, QPoint(40, 40));
        QVERIFY(frame->ContextSubmenu()->isVisible());
        QTest::mouseRelease(Port(), Qt::RightButton, {}, QPoint(40, 40));
        QCOMPARE(frame->ContextSubmenu()->pos(), Port()->mapToGlobal(QPoint(40, 40)));
        QCOMPARE(view->Tool(), 0u);
        QVERIFY(view->Pending() == nullptr);
        QCOMPARE(Mode(), QString("Выберите инструмент или «Изменить»"));
        frame->ContextSubmenu()->hide();
        Hover({120, 150});
        Click({120, 150});  // idle: no highlight, no dialog
        QCOMPARE(At(0).m_bHighlight, 0);
        frame->OnCommand(ID_TOOL_LINE);
        Place({{60, 60}, {90, 70}});
        QCOMPARE(At(6).GetPoint(0), (CPoint{60, 60}));
        frame->OnCommand(ID_DRAWING_MODE);
        QTest::mouseClick(Port(), Qt::RightButton, {}, QPoint(40, 40));  // outside drawing mode: nothing
        QVERIFY(!frame->ContextSubmenu()->isVisible());
    }

    // A press edits the topmost object: its name only in drawing mode.
    void pressEditsTheTopmostObject() {
        QString name;
        bool bReadOnly = false;
        AnswerElementDialog(-1, {}, &name, &bReadOnly);
        Click({350, 260});  // the table over nothing else
        QCOMPARE(name, QString("T"));
        QVERIFY(bReadOnly);
        QVERIFY(!Doc().IsModified());
        DrawingMode(ID_MODIFY);
        AnswerElementDialog(0, "Stock", nullptr, &bReadOnly);
        Click({120, 150});
        QVERIFY(!bReadOnly);
        QCOMPARE(static_cast<CVLevel&>(At(0)).m_strName, std::string("Stock"));
        QVERIFY(Doc().IsModified());
    }

    void modePaneAndTheCheckedTool() {
        QCOMPARE(Mode(), QString("Изменение"));
        frame->OnCommand(ID_DRAWING_MODE);
        QCOMPARE(Mode(), QString("Выберите инструмент или «Изменить»"));
        frame->OnCommand(ID_TOOL_LEVEL);
        QCOMPARE(Mode(), QString("Черчение: Уровень"));
        QMenu* tools = Submenu(*frame, 3);
        QVERIFY(FindAction(tools->actions(), ID_TOOL_LEVEL)->isChecked());
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
        DrawingMode(ID_TOOL_MOVE);
        Hover({120, 150});
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
        QVERIFY(Doc().IsModified() && frame->isWindowModified());
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_UNDO), QString("Отменить перемещение\tCtrl+Z"));
        Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(At(0).GetPoint(0), (CPoint{100, 100}));
        QCOMPARE(At(1).GetPoint(3), (CPoint{150, 100}));
        QVERIFY(!Doc().IsModified() && !frame->isWindowModified());  // back at the state it was opened in
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_REDO), QString("Повторить перемещение\tCtrl+Y"));
        QVERIFY(!FindAction(Submenu(*frame, 1)->actions(), ID_EDIT_UNDO)->isEnabled());
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(At(2).GetPoint(0), (CPoint{240, 160}));
        QVERIFY(Doc().IsModified());
        Drag({150, 150}, {790, 790});  // far past the sheet's corner, it stops at the edges
        QCOMPARE(At(0).GetPoint(1), (CPoint{640, 480}));
    }

    // Shift picks in modify mode instead of opening the dialog; the arrow
    // keys then step the highlighted level, all steps undoing as one.
    void shiftDragAndArrowKeysInModifyMode() {
        Drag({120, 150}, {130, 150}, Qt::ShiftModifier);
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
    }

    // Delete takes the highlighted object out; undoing puts it back in its
    // place with its id, so the diagram and a run see the same order.
    void deleteKeyAndItsUndo() {
        const std::vector<uint8_t> before = Doc().Store();
        CVEntity* level = &At(0);
        Hover({120, 150});
        Key(Qt::Key_Delete);
        QCOMPARE(List().GetCount(), size_t{5});
        QCOMPARE(ItemText(*frame, 1, ID_EDIT_UNDO), QString("Отменить удаление\tCtrl+Z"));
        Key(Qt::Key_Delete);  // nothing is highlighted any more
        QCOMPARE(List().GetCount(), size_t{5});
        Key(Qt::Key_Backspace, Qt::AltModifier);
        QCOMPARE(&At(0), level);
        QCOMPARE(Doc().Store(), before);
    }

    void dialogTableAndProgramEditsUndo() {
        AnswerElementDialog(2, "42");
        Click({120, 150});
        QCOMPARE(static_cast<CVLevel&>(At(0)).m_dValue, 42.0);
        QCOMPARE(view->UndoStack()->undoText(), QString("изменение параметров"));
        auto& table = static_cast<CVTableData&>(At(3));
        AnswerElementDialog(2, "4/5/6");
        Click({340, 275});
        QCOMPARE(table.m_data, (std::vector<double>{4, 5, 6}));
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) {
            dlg->Editor()->setPlainText("var x = 2");
            dlg->accept();
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
        DrawingMode(ID_TOOL_LEVEL);
        Click({450, 400});
        Click({550, 460});
        frame->OnCommand(ID_MODIFY);
        OnNextModal<CElementParamWindow>([this](CElementParamWindow* dlg) {
            frame->OnCommand(ID_EDIT_UNDO);
            frame->OnCommand(ID_DELETE_OBJECT);
            dlg->Box(0)->end(false);
            QTest::keyClicks(dlg->Box(0), "2");
            dlg->accept();
        });
        Click({500, 430});
        QCOMPARE(List().GetCount(), size_t{7});
        QCOMPARE(static_cast<CVLevel&>(At(6)).m_strName, std::string("Level2"));
        view->OnUndo();
        view->OnUndo();
        QCOMPARE(List().GetCount(), size_t{6});
    }

    // Saved, changed and undone: the model is unmodified and saves to the
    // very bytes it had; undoing past the save marks it again.
    void theSavedStateIsTheUnmodifiedOne() {
        const QString path = m_dir.filePath("flows.vrn");
        QVERIFY(frame->DoSave(path));
        const QByteArray original = ReadFile(path);
        Drag({120, 150}, {130, 170}, Qt::ShiftModifier);
        DrawingMode(ID_TOOL_MOVE);
        Drag({100, 400}, {100, 420});  // the line
        QVERIFY(frame->isWindowModified());
        frame->OnCommand(ID_EDIT_UNDO);
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(!Doc().IsModified() && !frame->isWindowModified());
        QVERIFY(frame->DoSave(path));
        QCOMPARE(ReadFile(path), original);
        frame->OnCommand(ID_EDIT_REDO);
        QVERIFY(frame->DoSave(path));
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(Doc().IsModified());
        // Opening a model starts a new history; its title follows its changes.
        QVERIFY(frame->OpenDocumentFile(path, false));
        QVERIFY(!view->UndoStack()->canUndo());
        Drag({100, 400}, {100, 440}, Qt::ShiftModifier);
        QVERIFY(frame->isWindowModified());
    }

    // OK on untouched dialogs gives back every value to the bit, and is no
    // change of the model.
    void unchangedDialogsKeepEveryDigit() {
        static_cast<CVLevel&>(At(0)).m_dValue = 1234567.89;
        static_cast<CVExpert&>(At(4)).m_dValue = 0.1 + 0.2;
        QString shown;
        OnNextModal<CElementParamWindow>([&shown](CElementParamWindow* dlg) {
            shown = dlg->Box(2)->text();
            dlg->accept();
        });
        Click({120, 150});
        QCOMPARE(shown, QString("1234567.89"));
        AnswerElementDialog(-1, {});
        Click({450, 90});
        QVERIFY(SameBits(static_cast<CVLevel&>(At(0)).m_dValue, 1234567.89));
        QVERIFY(SameBits(static_cast<CVExpert&>(At(4)).m_dValue, 0.1 + 0.2));
        QVERIFY(!Doc().IsModified());
        QCOMPARE(view->UndoStack()->count(), 0);
    }

    // Rows name elements by name, other objects by class and position; a
    // selected row is highlighted in the view; deleting keeps rows and
    // objects in step, marks the model and undoes; Edit opens the object's
    // dialog in drawing mode.
    void databaseDialog() {
        frame->OnCommand(ID_DRAWING_MODE);
        CDatabaseDlg dialog(view);
        dialog.m_pList = &List();
        dialog.m_pView = view;
        dialog.show();
        QListWidget* rows = dialog.Rows();
        auto texts = [rows] {
            QStringList t;
            for (int i = 0; i < rows->count(); ++i) t << rows->item(i)->text();
            return t.join(", ");
        };
        QCOMPARE(texts(), QString("X, CVArrow (150, 20), CVArrow (200, 130), T, E, CVLine (20, 400)"));
        // A row made current without being selected is no selection.
        rows->selectionModel()->setCurrentIndex(rows->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        dialog.findChild<QPushButton*>("deleteButton")->click();
        QCOMPARE(List().GetCount(), size_t{6});
        QCOMPARE(At(0).m_bHighlight, 0);
        const QImage before = view->ClientImage().copy();
        rows->setCurrentRow(3);
        QCOMPARE(At(3).m_bHighlight, 1);
        QVERIFY(view->ClientImage() != before);  // redrawn in blue already
        QString name;
        AnswerElementDialog(0, "T2", &name);
        dialog.findChild<QPushButton*>("editButton")->click();
        QCOMPARE(name, QString("T"));
        QCOMPARE(static_cast<CVTableData&>(At(3)).m_strName, std::string("T2"));
        CVEntity* pExpert = &At(4);
        rows->setCurrentRow(3);
        dialog.findChild<QPushButton*>("deleteButton")->click();
        QCOMPARE(texts(), QString("X, CVArrow (150, 20), CVArrow (200, 130), E, CVLine (20, 400)"));
        QCOMPARE(&At(3), pExpert);
        QCOMPARE(view->UndoStack()->undoText(), QStringLiteral("удаление"));
        rows->setCurrentRow(1);
        QTest::keyClick(&dialog, Qt::Key_Escape);  // closing removes every highlight
        for (size_t i = 0; i < List().GetCount(); ++i) QCOMPARE(At(i).m_bHighlight, 0);
        view->OnUndo();
        view->OnUndo();
        QCOMPARE(At(3).m_nId, 3);
        QVERIFY(!Doc().IsModified());
    }

    // Zoom halves and doubles the sheet and its scroll range, and is no change.
    void zoomScalesTheSheetAndItsScrollRange() {
        frame->OnCommand(ID_ZOOM_OUT);
        QCOMPARE(Doc().m_nWidth, 320);
        QCOMPARE(At(0).GetPoint(0), (CPoint{50, 50}));
        frame->OnCommand(ID_ZOOM_IN);
        QCOMPARE(Doc().m_nWidth, 640);
        QCOMPARE(Doc().m_nHeight, 480);
        QVERIFY(!Doc().IsModified());
        QCOMPARE(view->horizontalScrollBar()->maximum(), std::max(0, 640 - Port()->width()));
        QCOMPARE(view->horizontalScrollBar()->pageStep(), 64);
        QCOMPARE(view->horizontalScrollBar()->singleStep(), 6);
    }

    // A sheet at the int32 limit, scrolled to its far corner, shows that
    // corner: its frame and an object that runs into it.
    void aHugeSheetZoomedInShowsItsFarCorner() {
        List().DeleteAll();
        Doc().m_nWidth = 2000000000;
        Doc().m_nHeight = -2000000000;
        Doc().m_bFullScale = 0;
        auto line = std::make_unique<CVLine>();
        line->GetPoint(1) = {1100000000, 1100000000};  // saturates to the corner at 45 degrees
        List().Add(std::move(line));
        view->OnZoomIn();
        QCOMPARE(Doc().m_nWidth, INT32_MAX);
        QCOMPARE(Doc().m_nHeight, INT32_MIN);
        Doc().m_nHeight = INT32_MAX;
        view->OnInitialUpdate();
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
        const int right = Port()->width() - 1, bottom = Port()->height() - 1;
        QCOMPARE(view->ScrollPosition(), (CPoint{INT32_MAX - right - 1, INT32_MAX - bottom - 1}));
        const QImage& image = view->ClientImage();
        QCOMPARE(image.pixelColor(right, bottom / 2), QColor(Qt::black));  // the frame
        QCOMPARE(image.pixelColor(right - 1, 5), QColor(Qt::white));
        QCOMPARE(image.pixelColor(right - 20, bottom - 20), QColor(Qt::black));  // the line
        QCOMPARE(image.pixelColor(right - 20, bottom - 30), QColor(Qt::white));
        view->OnZoomOut();  // restores the process-wide label cell
    }

    // The sheet is white, framed one pixel outside, and clips its objects;
    // a rubber band drawn twice gives back the picture; printing paints it.
    void theSheetAsShownAndPrinted() {
        List().DeleteAll();
        Doc().m_nWidth = 200;
        Doc().m_nHeight = 100;
        auto line = std::make_unique<CVLine>();
        samples::SetPoints(*line, {{10, 50}, {300, 50}});
        List().Add(std::move(line));
        view->OnInitialUpdate();
        const QImage& image = view->ClientImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(image.pixelColor(199, 99), QColor(Qt::white));
        QCOMPARE(image.pixelColor(200, 70), QColor(Qt::black));
        QCOMPARE(image.pixelColor(50, 100), QColor(Qt::black));
        QVERIFY(image.pixelColor(201, 70) != QColor(Qt::black));
        QCOMPARE(image.pixelColor(150, 50), QColor(Qt::black));
        QVERIFY(image.pixelColor(250, 50) != QColor(Qt::black));

        const QImage clean = view->ClientImage().copy();
        DrawingMode(ID_TOOL_LEVEL);
        Hover({50, 40});
        Click({50, 40});
        QTest::mouseMove(Port(), {180, 90});
        QTest::mouseMove(Port(), {150, 80});
        QVERIFY(view->ClientImage() != clean);
        CVLevel band;  // erasing the last band by hand gives back the clean picture
        band.GetPoint(0) = {50, 40};
        band.GetPoint(1) = {150, 80};
        view->DrawOnClient([&](CDrawContext& dc) {
            dc.SetROP2(R2_NOTXORPEN);
            band.Draw(dc, nullptr);
        });
        QCOMPARE(view->ClientImage(), clean);

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_dir.filePath("sheet.pdf"));
        view->PrintTo(&printer);
        QVERIFY(ReadFile(m_dir.filePath("sheet.pdf")).startsWith("%PDF"));
    }
};
SHELL_TEST(EditingTest)
#include "EditingTest.moc"
