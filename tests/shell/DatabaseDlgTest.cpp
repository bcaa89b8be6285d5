// The database dialog: rows in list order named by GetName or by class and
// position, selection highlighting in the view, edit with the drawing-mode
// flag, and deletion that keeps rows and objects in step, marks the document
// and can be undone.
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <QUndoStack>

#include "ShellFakes.h"
#include "diagram/Elements.h"
#include "diagram/EntityList.h"
#include "diagram/Primitives.h"
#include "shell/dialogs/DatabaseDlg.h"
#include "document/VarnelDoc.h"
#include "shell/view/VarnelView.h"

namespace {

template <class T>
T* AddObject(EntityList& list, CPoint a, CPoint b) {
    auto object = std::make_unique<T>();
    object->GetPoint(0) = a;
    object->GetPoint(1) = b;
    T* raw = object.get();
    list.Add(std::move(object));
    return raw;
}

QStringList RowTexts(const QListWidget* rows) {
    QStringList texts;
    for (int i = 0; i < rows->count(); ++i) texts << rows->item(i)->text();
    return texts;
}

}  // namespace

class DatabaseDlgTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CVarnelDoc> doc;
    std::unique_ptr<CVarnelView> view;
    FakeDialogHost dialogs;
    std::unique_ptr<CDatabaseDlg> dialog;

    EntityList& List() { return *doc->m_pEntityList; }
    QPushButton* Button(const char* name) { return dialog->findChild<QPushButton*>(name); }

private slots:
    void init() {
        doc = std::make_unique<CVarnelDoc>();
        doc->OnNewDocument();
        AddObject<CVLine>(List(), {10, 10}, {100, 10});
        AddObject<CVLevel>(List(), {20, 30}, {120, 90})->m_strName = "L1";
        AddObject<CVRectangle>(List(), {150, 30}, {250, 90});
        dialogs = FakeDialogHost();
        view = std::make_unique<CVarnelView>();
        view->resize(400, 300);
        view->SetDocument(doc.get());
        view->SetDialogHost(&dialogs);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        dialog = std::make_unique<CDatabaseDlg>(view.get());
        dialog->m_pList = &List();
        dialog->m_pView = view.get();
        dialog->show();
    }

    void cleanup() {
        dialog.reset();
        view.reset();
        doc.reset();
    }

    void templateTextsAndRowsInListOrder() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("База данных чертежа"));
        QCOMPARE(Button("editButton")->text(), QStringLiteral("Редактировать"));
        QCOMPARE(Button("deleteButton")->text(), QStringLiteral("Удалить"));
        // Elements by name; other objects by class and first point.
        QCOMPARE(RowTexts(dialog->Rows()), (QStringList{"CVLine (10, 10)", "L1", "CVRectangle (150, 30)"}));
        QCOMPARE(dialog->Rows()->item(2)->data(Qt::UserRole).toInt(), List().GetAt(2)->m_nId);
        QCOMPARE(dialog->Rows()->currentRow(), -1);
    }

    void selectingARowHighlightsExactlyThatObjectUntilClosing() {
        const QImage before = view->ClientImage().copy();
        dialog->Rows()->setCurrentRow(1);
        QCOMPARE(List().GetAt(0)->m_bHighlight, 0);
        QCOMPARE(List().GetAt(1)->m_bHighlight, 1);
        QCOMPARE(List().GetAt(2)->m_bHighlight, 0);
        QVERIFY(view->ClientImage() != before);  // redrawn in blue already
        dialog->Rows()->setCurrentRow(0);
        QCOMPARE(List().GetAt(0)->m_bHighlight, 1);
        QCOMPARE(List().GetAt(1)->m_bHighlight, 0);
        // Closing removes every highlight.
        dialog->Rows()->setCurrentRow(2);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        for (size_t i = 0; i < List().GetCount(); ++i) QCOMPARE(List().GetAt(i)->m_bHighlight, 0);
    }

    void deletingTheSecondRowRemovesTheSecondObject() {
        CVEntity* first = List().GetAt(0);
        CVEntity* third = List().GetAt(2);
        dialog->Rows()->setCurrentRow(1);
        QTest::mouseClick(Button("deleteButton"), Qt::LeftButton);
        QCOMPARE(List().GetCount(), size_t{2});
        QCOMPARE(List().GetAt(0), first);
        QCOMPARE(List().GetAt(1), third);
        QCOMPARE(RowTexts(dialog->Rows()), (QStringList{"CVLine (10, 10)", "CVRectangle (150, 30)"}));
        QCOMPARE(dialog->Rows()->currentRow(), -1);
        QVERIFY(doc->IsModified());  // a deletion must not be lost silently
        QCOMPARE(view->UndoStack()->undoText(), QStringLiteral("удаление"));
        // Rows and objects stay in step for a further deletion.
        dialog->Rows()->setCurrentRow(1);
        QCOMPARE(third->m_bHighlight, 1);
        QTest::mouseClick(Button("deleteButton"), Qt::LeftButton);
        QCOMPARE(List().GetCount(), size_t{1});
        QCOMPARE(List().GetAt(0), first);
        QCOMPARE(RowTexts(dialog->Rows()), (QStringList{"CVLine (10, 10)"}));
        // Undoing both puts the objects back where they stood, ids and all.
        dialog->accept();
        view->OnUndo();
        view->OnUndo();
        QCOMPARE(List().GetCount(), size_t{3});
        QCOMPARE(List().GetAt(1)->m_nId, 1);
        QCOMPARE(List().GetAt(2), third);
        QVERIFY(!doc->IsModified());
    }

    void withoutASelectionOrListTheButtonsOnlyRepaint() {
        QTest::mouseClick(Button("deleteButton"), Qt::LeftButton);
        QTest::mouseClick(Button("editButton"), Qt::LeftButton);
        QCOMPARE(List().GetCount(), size_t{3});
        QVERIFY(dialogs.shown.empty());
        QVERIFY(!doc->IsModified());

        CDatabaseDlg empty(view.get());  // without a list: no rows, no effect
        empty.m_pView = view.get();
        empty.show();
        QCOMPARE(empty.Rows()->count(), 0);
        QTest::mouseClick(empty.findChild<QPushButton*>("deleteButton"), Qt::LeftButton);
        QCOMPARE(List().GetCount(), size_t{3});
    }

    void aCurrentRowThatIsNotSelectedIsNoSelection() {
        // Focusing the list makes its first row current without selecting it;
        // the user sees no selection, so nothing may be highlighted or deleted.
        QItemSelectionModel* selection = dialog->Rows()->selectionModel();
        selection->setCurrentIndex(dialog->Rows()->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        QCOMPARE(dialog->Rows()->currentRow(), 0);
        QCOMPARE(List().GetAt(0)->m_bHighlight, 0);
        QTest::mouseClick(Button("deleteButton"), Qt::LeftButton);
        QTest::mouseClick(Button("editButton"), Qt::LeftButton);
        QCOMPARE(List().GetCount(), size_t{3});
        QVERIFY(dialogs.shown.empty());
        // Selecting a row and then clearing the selection clears the highlight.
        dialog->Rows()->setCurrentRow(1);
        QCOMPARE(List().GetAt(1)->m_bHighlight, 1);
        dialog->Rows()->clearSelection();
        QCOMPARE(List().GetAt(1)->m_bHighlight, 0);
    }

    void editOpensTheObjectInDrawingMode() {
        dialog->Rows()->setCurrentRow(1);
        QTest::mouseClick(Button("editButton"), Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), size_t{1});
        QCOMPARE(dialogs.shown[0].name.strText, std::string("L1"));
        QVERIFY(!dialogs.shown[0].name.bReadOnly);
        QVERIFY(!doc->IsModified());  // cancelled
        dialogs.Type(&CElementDialogState::name, "L2").Ok();
        QTest::mouseClick(Button("editButton"), Qt::LeftButton);
        QVERIFY(doc->IsModified());
        QCOMPARE(dialog->Rows()->item(1)->text(), QStringLiteral("L1"));  // the row is not refreshed
        view->OnUndo();
        QCOMPARE(static_cast<CVLevel*>(List().GetAt(1))->m_strName, std::string("L1"));
        QVERIFY(!doc->IsModified());
    }

};

QTEST_MAIN(DatabaseDlgTest)
#include "DatabaseDlgTest.moc"
