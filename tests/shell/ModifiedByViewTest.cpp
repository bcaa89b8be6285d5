// The view's edits that must leave the model marked modified, seen from the
// frame: closing or replacing the model afterwards asks to save it. (An
// element edit's own flag is checked in DatabaseDlgTest.)
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "diagram/CommandIds.h"
#include "ShellTestSupport.h"
#include "diagram/Elements.h"
#include "diagram/TableElements.h"
#include "shell/frame/MainFrame.h"
#include "document/VarnelDoc.h"

namespace {

QPushButton* ButtonNamed(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// A line, a level named L1 and a rectangle, in this order.
void FillDiagram(CVarnelDoc& doc) {
    doc.m_pEntityList->Add(std::make_unique<CVLine>());
    auto level = std::make_unique<CVLevel>();
    level->m_strName = "L1";
    doc.m_pEntityList->Add(std::move(level));
    doc.m_pEntityList->Add(std::make_unique<CVRectangle>());
}

int QuestionsOnNew(CMainFrame& frame) {
    CScriptedBoxes boxes;
    boxes.Answer(QMessageBox::Cancel);
    frame.OnCommand(57600);
    return boxes.QuestionCount();
}

}  // namespace

class ModifiedByViewTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void databaseDeleteAsksToSave() {
        CMainFrame frame;
        FillDiagram(frame.Document());
        frame.OnCommand(ID_DRAWING_MODE);
        QStringList rows;
        OnNextModal([&rows](QWidget* w) {
            auto* list = w->findChild<QAbstractItemView*>();
            for (int r = 0; r < list->model()->rowCount(); ++r)
                rows << list->model()->index(r, 0).data().toString();
            list->setCurrentIndex(list->model()->index(1, 0));
            ButtonNamed(w, "Удалить")->click();
            static_cast<QDialog*>(w)->accept();
        });
        frame.OnCommand(ID_DATABASE);
        QCOMPARE(rows, (QStringList{"CVLine (0, 0)", "L1", "CVRectangle (0, 0)"}));
        QCOMPARE(frame.Document().m_pEntityList->GetCount(), size_t(2));
        QCOMPARE(QuestionsOnNew(frame), 1);
    }

    // A table edit whose values are refused still keeps the new name and
    // range, so the model must not close without the question.
    void refusedTableValuesStillAskToSave() {
        CMainFrame frame;
        auto table = std::make_unique<CVTableData>();
        table->m_dTo = 10.0;
        table->m_dStep = 5.0;
        table->m_data = {1.0, 2.0, 3.0};
        frame.Document().m_pEntityList->Add(std::move(table));
        frame.OnCommand(ID_DRAWING_MODE);
        QString message;
        OnNextModal([&message](QWidget* db) {
            OnNextModal([db, &message](QWidget* w) {
                if (w == db) return;
                OnNextModal([w, &message](QWidget* box) {
                    if (box == w) return;
                    if (auto* mb = qobject_cast<QMessageBox*>(box)) message = mb->text();
                    static_cast<QDialog*>(box)->accept();
                });
                auto edits = w->findChildren<QLineEdit*>();
                QLineEdit* name = edits.value(0);
                name->setFocus();
                QTest::keyClicks(name, "2");
                for (QLineEdit* e : edits)
                    if (e->text() == "1/2/3") {
                        e->setFocus();
                        e->selectAll();
                        QTest::keyClicks(e, "1;2");
                    }
                static_cast<QDialog*>(w)->accept();
            });
            auto* list = db->findChild<QAbstractItemView*>();
            list->setCurrentIndex(list->model()->index(0, 0));
            ButtonNamed(db, "Редактировать")->click();
            static_cast<QDialog*>(db)->accept();
        });
        frame.OnCommand(ID_DATABASE);
        QCOMPARE(message, QString("Incorrect data."));
        QCOMPARE(QuestionsOnNew(frame), 1);
    }
};

QTEST_MAIN(ModifiedByViewTest)
#include "ModifiedByViewTest.moc"
