// The element parameter dialog's Qt window: read-only boxes stay enabled
// and selectable, disabled boxes take no focus, only typing marks a box
// modified, switch captions replace the range captions, Cancel writes
// nothing back.
#include <QLabel>
#include <QMessageBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "base/Cp1251.h"
#include "diagram/ElementParamDlg.h"
#include "shell/dialogs/QtDialogHost.h"

namespace {

CElementDialogState LevelState() {
    CElementParamDlg dlg;
    dlg.m_strName = Utf8ToCp1251Lossy("Запас");
    dlg.m_strDescription = "stock";
    dlg.m_strValues = "2.5";
    dlg.m_nFlags = PF_VALUES;  // a level outside drawing mode
    return dlg.InitialState();
}

}  // namespace

class ElementParamDlgTest : public QObject {
    Q_OBJECT

private slots:
    void templateTextsAndReadOnlyAgainstDisabledBoxes() {
        CElementParamWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Установка параметров переменной"));
        QCOMPARE(window.findChild<QLabel*>("nameLabel")->text(), QStringLiteral("Имя:"));
        QCOMPARE(window.findChild<QLabel*>("descriptionLabel")->text(), QStringLiteral("Описание:"));
        QCOMPARE(window.findChild<QLabel*>("valuesLabel")->text(), QStringLiteral("Значение(я):"));
        QCOMPARE(window.findChild<QPushButton*>("cancelButton")->text(), QStringLiteral("Cancel"));

        window.Load(LevelState());
        window.show();
        QLineEdit* name = window.Box(0);
        QCOMPARE(name->text(), QStringLiteral("Запас"));
        QVERIFY(name->isReadOnly());
        QVERIFY(name->isEnabled());
        QVERIFY(!window.Box(2)->isReadOnly());
        QVERIFY(!window.Box(3)->isEnabled());  // first number box without PF_FROM
        QCOMPARE(window.Box(3)->text(), QStringLiteral("0"));
        QTest::keyClicks(name, "x");
        QCOMPARE(name->text(), QStringLiteral("Запас"));  // nothing typed into it
    }

    void onlyTypingMarksABoxModified() {
        CElementParamWindow window;
        CElementDialogState state = LevelState();
        window.Load(state);
        window.show();
        window.Store(state);
        QVERIFY(!state.values.bModified);
        // Typing and then restoring the old text still counts.
        QTest::keyClicks(window.Box(2), "7");
        QTest::keyClick(window.Box(2), Qt::Key_Backspace);
        window.Store(state);
        QVERIFY(state.values.bModified);
        QCOMPARE(state.values.strText, std::string("2.5"));
        QVERIFY(!state.name.bModified);
        QCOMPARE(state.name.strText, Utf8ToCp1251Lossy("Запас"));
    }

    void switchCaptionsReplaceTheRangeCaptions() {
        CElementParamDlg dlg;
        dlg.m_nFlags = PF_SWITCH_LABELS | 0x38;
        CElementParamWindow window;
        window.Load(dlg.InitialState());
        QCOMPARE(window.findChild<QLabel*>("fromLabel")->text(), QStringLiteral("1-е знач.:"));
        QCOMPARE(window.findChild<QLabel*>("toLabel")->text(), QStringLiteral("2-е знач.:"));
        QCOMPARE(window.findChild<QLabel*>("stepLabel")->text(), QStringLiteral("Перекл.:"));
        CElementParamDlg table;
        table.m_nFlags = 0x3C;
        window.Load(table.InitialState());
        QCOMPARE(window.findChild<QLabel*>("fromLabel")->text(), QStringLiteral("От:"));
        QCOMPARE(window.findChild<QLabel*>("stepLabel")->text(), QStringLiteral("Шаг:"));
    }

    void hostOkWritesBackAndCancelDoesNot() {
        QWidget parent;
        CQtDialogHost host(&parent);
        CElementDialogState state = LevelState();
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<CElementParamWindow*>(QApplication::activeModalWidget());
            QVERIFY(window != nullptr);
            window->Box(2)->selectAll();
            QTest::keyClicks(window->Box(2), "3e2");
            QTest::mouseClick(window->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        });
        QVERIFY(host.RunElementDialog(state));
        QCOMPARE(state.values.strText, std::string("3e2"));
        QVERIFY(state.values.bModified);

        CElementDialogState untouched = LevelState();
        QTimer::singleShot(0, [] {
            auto* window = qobject_cast<CElementParamWindow*>(QApplication::activeModalWidget());
            QVERIFY(window != nullptr);
            QTest::keyClicks(window->Box(2), "9");
            QTest::keyClick(window, Qt::Key_Escape);
        });
        QVERIFY(!host.RunElementDialog(untouched));
        QCOMPARE(untouched.values.strText, std::string("2.5"));
        QVERIFY(!untouched.values.bModified);
    }

    void messageBoxHasOnlyOkAndNoIcon() {
        QWidget parent;
        CQtDialogHost host(&parent);
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            QCOMPARE(box->text(), QStringLiteral("Incorrect range(или мусор после данных)."));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->buttons().size(), 1);
            checked = true;
            box->accept();
        });
        host.ShowMessage(Utf8ToCp1251Lossy("Incorrect range(или мусор после данных)."));
        QVERIFY(checked);
    }
};

QTEST_MAIN(ElementParamDlgTest)
#include "ElementParamDlgTest.moc"
