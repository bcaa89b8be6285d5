// Editing a diagram in the main window with mouse and keys: tools, dialogs, moves with glued flows,
// Delete, undo and redo with named items, the modified flag, the mode pane, the sheet shown.
#include "ShellTest.h"
#include "diagram/Primitives.h"
#include "diagram/TableElements.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/dialogs/QtDialogHost.h"
#include "support/ModelSamples.h"

namespace {

template <class T>
T* Add(EntityList& list, std::initializer_list<CPoint> points, const char* name = "") {
    auto object = std::make_unique<T>();
    samples::SetPoints(*object, points);
    if constexpr (requires { object->m_strName; }) object->m_strName = name;
    list.Add(std::move(object));
    return static_cast<T*>(list.GetAt(list.GetCount() - 1));
}

// Answers the next element dialog: notes it, types into box `box` (unless -1), OK.
void AnswerElementDialog(int box, const QString& text, QString* pShown = nullptr) {
    OnNextModal<CElementParamWindow>([=](CElementParamWindow* dlg) {
        if (pShown) *pShown = dlg->Box(0)->text() + (dlg->Box(0)->isReadOnly() ? " read-only " : " ") + dlg->Box(2)->text();
        if (box >= 0) dlg->Box(box)->selectAll(), QTest::keyClicks(dlg->Box(box), text);
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
    double ValueOf(size_t i) { return static_cast<CVLevel&>(At(i)).m_dValue; }
    QWidget* Port() { return view->viewport(); }
    QString Mode() { return frame->StatusBar()->ModeText(); }
    QString UndoText() { return Item(*frame, 1, ID_EDIT_UNDO)->text(); }
    void Key(int key, Qt::KeyboardModifiers mods = {}) { QTest::keyClick(frame.get(), Qt::Key(key), mods); }
    // The window hears of a move without a button only when the cursor really moves.
    void Hover(QPoint p) { QTest::mouseMove(Port(), p + QPoint(1, 1)), QTest::mouseMove(Port(), p); }
    void Place(const std::vector<QPoint>& presses) { for (const QPoint& p : presses) Hover(p), QTest::mouseClick(Port(), Qt::LeftButton, {}, p); }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
        Hover(from);
        QTest::mousePress(Port(), Qt::LeftButton, mods, from);
        for (int i = 1; i <= 4; ++i) QTest::mouseMove(Port(), from + (to - from) * i / 4);
        QTest::mouseRelease(Port(), Qt::LeftButton, mods, to);
    }
    void Command(std::initializer_list<int> ids) { for (int id : ids) frame->OnCommand(id); }

private slots:
    // Level X (100,100)-(200,160), a flow into its top and one out of its right edge, table T, expert E, a line.
    void init() {
        frame = std::make_unique<CMainFrame>();
        Add<CVLevel>(List(), {{100, 100}, {200, 160}, {8, 8}}, "X");
        Add<CVArrow>(List(), {{150, 20}, {150, 40}, {150, 80}, {150, 100}, {10, 10}});
        Add<CVArrow>(List(), {{200, 130}, {230, 130}, {260, 130}, {300, 130}, {10, 10}});
        auto* table = Add<CVTableData>(List(), {{300, 250}, {380, 300}, {15, 15}}, "T");
        table->m_dTo = 2;
        table->m_dStep = 1;
        table->m_data = {1, 2, 3};
        Add<CVExpert>(List(), {{450, 100}, {20, 24}, {6, 6}})->m_strText = "E";
        Add<CVLine>(List(), {{20, 400}, {200, 400}});
        view = View(*frame);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        view->RepaintView();
    }

    void cleanup() {
        CScriptedBoxes boxes;  // closing a modified model: answer No
        frame.reset();
    }

    // Presses land in sheet coordinates, also scrolled; 4-click tools take start, end, then the controls.
    void everyToolPlacesItsObject() {
        const std::vector<QPoint> two{{10, 20}, {100, 80}}, four{{10, 20}, {200, 120}, {50, 10}, {150, 140}}, one{{30, 40}};
        const std::vector<CPoint> corners{{10, 20}, {100, 80}}, curve{{10, 20}, {50, 10}, {150, 140}, {200, 120}}, at{{30, 40}};
        const struct { int tool; const char* cls; int points; const std::vector<QPoint>& presses; const std::vector<CPoint>& expected; } cases[] = {
            {ID_TOOL_LINE, "CVLine", 2, two, corners}, {ID_TOOL_RECTANGLE, "CVRectangle", 2, two, corners},
            {ID_TOOL_ELLIPSE, "CVEllipse", 2, two, corners}, {ID_TOOL_VARIABLE, "CVVariable", 3, two, corners},
            {ID_TOOL_LEVEL, "CVLevel", 3, two, corners}, {ID_TOOL_RATE, "CVRate", 3, two, corners},
            {ID_TOOL_TABLEDATA, "CVTableData", 3, two, corners}, {ID_TOOL_SOURCES, "CVSources", 18, two, corners},
            {ID_TOOL_BSPLINE, "CVBSpline", 4, four, curve}, {ID_TOOL_ARROW, "CVArrow", 5, four, curve},
            {ID_TOOL_TEXT, "CVText", 1, one, at}, {ID_TOOL_EXPERT, "CVExpert", 3, one, at}, {ID_TOOL_SWITCH, "CVSwitch", 3, one, at}};
        frame->OnCommand(ID_DRAWING_MODE);
        for (const auto& c : cases) {
            List().DeleteAll();
            frame->OnCommand(c.tool);
            Place(c.presses);
            QVERIFY(List().GetCount() == 1 && At(0).GetPointCount() == c.points);
            QCOMPARE(At(0).GetRuntimeClass()->m_lpszClassName, c.cls);
            for (size_t k = 0; k < c.expected.size(); ++k) QCOMPARE(At(0).GetPoint(int(k)), c.expected[k]);
        }
        List().DeleteAll();
        Doc().m_nWidth = Doc().m_nHeight = 3000;
        view->OnInitialUpdate();
        view->horizontalScrollBar()->setValue(100);
        view->verticalScrollBar()->setValue(50);
        frame->OnCommand(ID_TOOL_LEVEL);
        Place({{10, 20}, {110, 90}});
        QVERIFY(At(0).GetPoint(0) == (CPoint{110, 70}) && At(0).GetPoint(1) == (CPoint{210, 140}));
    }

    // Press, drag, release places a two-click object as two clicks there would; a release within the drag distance
    // stays a click; the mode pane says what the next click does; another tool drops a half-placed object, saying so.
    void placingByDragging() {
        Command({ID_DRAWING_MODE, ID_TOOL_RECTANGLE});
        List().DeleteAll();
        Drag({300, 300}, {360, 340});
        QVERIFY(List().GetCount() == 1 && At(0).GetPoint(0) == (CPoint{300, 300}) && At(0).GetPoint(1) == (CPoint{360, 340}));
        QTest::mousePress(Port(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(Mode(), QString("Щелкните второй угол"));
        QTest::mouseRelease(Port(), Qt::LeftButton, {}, QPoint(11, 10));
        Place({{50, 60}});
        QVERIFY(List().GetCount() == 2 && At(1).GetPoint(0) == (CPoint{10, 10}) && At(1).GetPoint(1) == (CPoint{50, 60}));
        QCOMPARE(Mode(), QString("Черчение: Прямоугольник"));
        frame->OnCommand(ID_TOOL_ARROW);
        Place({{10, 20}});
        QCOMPARE(Mode(), QString("Стрелка: точка 2 из 4"));
        frame->OnCommand(ID_TOOL_LINE);
        QCOMPARE(List().GetCount(), size_t{2});
        QCOMPARE(frame->StatusBar()->MessageText(), QString("Недостроенный объект отменен"));
        Place({{10, 20}});
        Command({ID_DRAWING_MODE, ID_DRAWING_MODE, ID_TOOL_RECTANGLE});  // half placed as drawing mode went off
        QCOMPARE(Mode(), QString("Черчение: Прямоугольник"));
        Place({{10, 20}});
        QCOMPARE(Mode(), QString("Щелкните второй угол"));
    }

    // A press edits the topmost object, its name only in drawing mode; a value retyped as it was is no change;
    // each edit undoes as one step; values a table refuses still leave its new name.
    void dialogEditsAndTheirUndo() {
        static_cast<CVLevel&>(At(0)).m_dValue = 1234567.89;
        QString shown;
        AnswerElementDialog(-1, {}, &shown);
        Place({{120, 150}});
        QCOMPARE(shown, QString("X read-only 1234567.89"));
        AnswerElementDialog(2, "1234567.89");
        Place({{120, 150}});
        QVERIFY(!Doc().IsModified() && !frame->isWindowModified() && !view->UndoStack()->canUndo());
        AnswerElementDialog(2, "42");
        Place({{120, 150}});
        QCOMPARE(view->UndoStack()->undoText(), QString("изменение параметров"));
        Command({ID_DRAWING_MODE, ID_MODIFY});
        AnswerElementDialog(2, "4/5/6", &shown);
        Place({{340, 275}});
        QCOMPARE(shown, QString("T 1/2/3"));
        auto& table = static_cast<CVTableData&>(At(3));
        QCOMPARE(table.m_data, (std::vector<double>{4, 5, 6}));
        OnNextModal<CProgramDlg>([](CProgramDlg* dlg) { dlg->Editor()->setPlainText("var x = 2"), dlg->accept(); });
        frame->OnCommand(ID_EDIT_PROGRAM);
        QCOMPARE(UndoText(), QString("Отменить изменение программы\tCtrl+Z"));
        Command({ID_EDIT_UNDO, ID_EDIT_UNDO});
        QVERIFY(Doc().m_strProgram.empty() && table.m_data == (std::vector<double>{1, 2, 3}) && ValueOf(0) == 42.0);
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(ValueOf(0) == 1234567.89 && !Doc().IsModified());
        OnNextModal<CElementParamWindow>([&shown](CElementParamWindow* dlg) {
            dlg->Box(0)->end(false);
            QTest::keyClicks(dlg->Box(0), "2");
            dlg->Box(2)->selectAll();
            QTest::keyClicks(dlg->Box(2), "1;2");
            OnNextModal<QMessageBox>([&shown](QMessageBox* box) { shown = box->text(), box->accept(); });
            dlg->accept();
        });
        Place({{340, 275}});
        QCOMPARE(shown, QString("Incorrect data."));
        QVERIFY(Doc().IsModified() && table.m_strName == "T2");
    }

    // Move, checked in the menu and on the toolbar: the level follows the mouse with its flows, as one step
    // to undo and redo, and stops at the edges.
    void moveToolDragsTheLevelWithItsFlows() {
        Command({ID_DRAWING_MODE, ID_TOOL_MOVE});
        QVERIFY(Item(*frame, 3, ID_TOOL_MOVE)->isChecked() && FindAction(frame->ToolBar()->actions(), ID_TOOL_MOVE)->isChecked());
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
        QCOMPARE(UndoText(), QString("Отменить перемещение\tCtrl+Z"));
        Key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(At(0).GetPoint(0) == (CPoint{100, 100}) && At(1).GetPoint(3) == (CPoint{150, 100}));
        QVERIFY(!Doc().IsModified() && !frame->isWindowModified());  // back at the state it was opened in
        QCOMPARE(Item(*frame, 1, ID_EDIT_REDO)->text(), QString("Повторить перемещение\tCtrl+Y"));
        QVERIFY(!Item(*frame, 1, ID_EDIT_UNDO)->isEnabled());
        Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(At(2).GetPoint(0), (CPoint{240, 160}));
        Drag({150, 150}, {790, 790});
        QCOMPARE(At(0).GetPoint(1), (CPoint{640, 480}));
    }

    // Shift picks instead of opening the dialog; arrow keys step the pick, all undoing as one.
    void shiftDragAndArrowKeysInModifyMode() {
        Drag({120, 150}, {130, 150}, Qt::ShiftModifier);
        for (auto [key, mods] : {std::pair{Qt::Key_Right, Qt::NoModifier}, {Qt::Key_Down, Qt::ShiftModifier}, {Qt::Key_Down, Qt::ShiftModifier}})
            QTest::keyClick(view, key, mods);
        QVERIFY(At(0).GetPoint(0) == (CPoint{111, 120}) && At(1).GetPoint(3) == (CPoint{161, 120}));
        frame->OnCommand(ID_EDIT_UNDO);
        QCOMPARE(At(0).GetPoint(0), (CPoint{110, 100}));
    }

    // Undoing a deletion puts the object back in its place, so a run sees the same order.
    void deleteKeyAndItsUndo() {
        const std::vector<uint8_t> before = Doc().Store();
        CVEntity* level = &At(0);
        Hover({120, 150});
        Key(Qt::Key_Delete);
        QCOMPARE(UndoText(), QString("Отменить удаление\tCtrl+Z"));
        Key(Qt::Key_Delete);  // nothing is highlighted any more
        QCOMPARE(List().GetCount(), size_t{5});
        Key(Qt::Key_Backspace, Qt::AltModifier);
        QVERIFY(&At(0) == level && Doc().Store() == before);
    }

    // Undone to the saved state the model is clean and saves the same bytes; opening starts a new history.
    void theSavedStateIsTheUnmodifiedOne() {
        const QString path = m_dir.filePath("flows.vrn");
        QVERIFY(frame->DoSave(path));
        const QByteArray original = ReadFile(path);
        Drag({120, 150}, {130, 170}, Qt::ShiftModifier);
        Command({ID_DRAWING_MODE, ID_TOOL_MOVE});
        Drag({100, 400}, {100, 420});  // the line
        Command({ID_EDIT_UNDO, ID_EDIT_UNDO});
        QVERIFY(!Doc().IsModified() && !frame->isWindowModified());
        QVERIFY(frame->DoSave(path) && ReadFile(path) == original);
        frame->OnCommand(ID_EDIT_REDO);
        QVERIFY(frame->DoSave(path));
        frame->OnCommand(ID_EDIT_UNDO);
        QVERIFY(Doc().IsModified());
        QVERIFY(frame->OpenDocumentFile(path, false) && !view->UndoStack()->canUndo());
        Drag({100, 400}, {100, 440}, Qt::ShiftModifier);
        QVERIFY(frame->isWindowModified());
    }

    // The sheet is framed and clips (golden/sheet.png).
    void theSheetAsShownAndPrinted() {
        Doc().m_nWidth = 500;
        Doc().m_nHeight = 350;
        Add<CVLine>(List(), {{10, 300}, {700, 300}});
        view->OnInitialUpdate();
        CompareGolden(view->ClientImage().copy(0, 0, 520, 370), "sheet");
    }
};
SHELL_TEST(EditingTest)
#include "EditingTest.moc"
