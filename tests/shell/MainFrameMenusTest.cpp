// The frame's menus, accelerators, toolbar and status bar as the user meets
// them, and the drawing-mode switch between the two menu bars.
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>

#include "diagram/CommandIds.h"
#include "ShellTestSupport.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/StatusBar.h"

namespace {

struct Item {
    QString text;
    int id;  // 0: separator
};

QList<QMenu*> Submenus(CMainFrame& frame) {
    QList<QMenu*> menus;
    for (QAction* a : frame.menuBar()->actions()) menus.append(a->menu());
    return menus;
}

void CompareItems(QMenu* menu, const std::vector<Item>& expected) {
    QList<QAction*> actions;
    for (QAction* a : menu->actions())
        if (a->isVisible() || a->data().toInt() != 0 || a->isSeparator()) actions.append(a);
    QCOMPARE(actions.size(), static_cast<qsizetype>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        if (expected[i].id == 0) {
            QVERIFY2(actions[i]->isSeparator(), qPrintable(menu->title() + QString::number(i)));
            continue;
        }
        QCOMPARE(actions[i]->text(), expected[i].text);
        QCOMPARE(actions[i]->data().toInt(), expected[i].id);
    }
}

const std::vector<Item> kFileMenu = {
    {"&Новая модель\tCtrl+N", 57600}, {"&Открыть модель...\tCtrl+O", 57601},
    {"&Сохранить модель\tCtrl+S", 57603}, {"Сохранить &как...", 57604}, {"", 0},
    {"Последние модели", 57616}, {"", 0}, {"В&ыход", 57665}};
const std::vector<Item> kHelpMenu = {{"Вызов справки", 57670}, {"", 0}, {"&About Varnel...", 57664}};

QAction* FindAction(QMenu* menu, int id) {
    for (QAction* a : menu->actions())
        if (a->data().toInt() == id) return a;
    return nullptr;
}

}  // namespace

class MainFrameMenusTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase() { IsolateSettings(m_dir); }

    void mainMenuHasExactItems() {
        CMainFrame frame;
        QVERIFY(frame.IsCreated());
        const auto menus = Submenus(frame);
        QCOMPARE(menus.size(), 4);
        QCOMPARE(menus[0]->title(), QString("&Файл"));
        QCOMPARE(menus[1]->title(), QString("Редактировать"));
        QCOMPARE(menus[2]->title(), QString("&Просмотр"));
        QCOMPARE(menus[3]->title(), QString("&Справка"));
        CompareItems(menus[0], kFileMenu);
        CompareItems(menus[1], {{"Отменить\tCtrl+Z", 57643}, {"Повторить\tCtrl+Y", 57644}, {"", 0},
                                {"Удалить\tDel", 32787}, {"", 0}, {"Чертеж\tCtrl+D", 32788},
                                {"Программа\tCtrl+P", 32789}, {"Эксперимент\tF5", 32796}});
        CompareItems(menus[2], {{"График\tCtrl+G", 32792}, {"", 0}, {"&Toolbar", 59392}, {"&Status Bar", 59393}});
        CompareItems(menus[3], kHelpMenu);
        QVERIFY(frame.windowTitle().endsWith(" - Варнель"));
        QVERIFY(!frame.windowIcon().isNull());
    }

    void drawingMenuHasExactItems() {
        CMainFrame frame;
        frame.SwitchMenu(IDR_DRAWMENU);
        const auto menus = Submenus(frame);
        QCOMPARE(menus.size(), 5);
        QCOMPARE(menus[3]->title(), QString("Инструменты"));
        CompareItems(menus[0], kFileMenu);
        CompareItems(menus[1], {{"Отменить\tCtrl+Z", 57643}, {"Повторить\tCtrl+Y", 57644}, {"", 0},
                                {"Удалить\tDel", 32787}, {"", 0}, {"Чертеж\tCtrl+D", 32788},
                                {"Программа\tCtrl+P", 32789}, {"Эксперимент\tF5", 32796},
                                {"Размер чертежа", 32793}});
        CompareItems(menus[2], {{"&Toolbar", 59392}, {"&Status Bar", 59393}});
        CompareItems(menus[3], {{"Изменить", 32794}, {"Переместить", 32795}, {"", 0}, {"Линия", 32773}, {"Прямоугольник", 32775},
                                {"Эллипс", 32776}, {"Сплайн", 32778}, {"Стрелка", 32785}, {"Текст", 32774},
                                {"", 0}, {"Уровень", 32780}, {"Переменная", 32779},
                                {"Табличные данные", 32782}, {"Темп", 32781}, {"Источники", 32783},
                                {"Эксперт", 32777}, {"Переключатель", 32784}, {"", 0}, {"Увеличить", 32771},
                                {"Уменьшить", 32772}, {"", 0}, {"Просмотр базы данных", 32786}});
        CompareItems(menus[4], kHelpMenu);
        QCOMPARE(frame.ContextSubmenu(), menus[3]);
    }

    void itemsWithoutHandlerAreDisabled() {
        CMainFrame frame;
        QMenu* help = Submenus(frame)[3];
        QVERIFY(!FindAction(help, 57670)->isEnabled());
        QVERIFY(FindAction(help, 57664)->isEnabled());
        QVERIFY(!FindAction(Submenus(frame)[0], 57616)->isEnabled());  // empty recent list
        QVERIFY(!frame.HasHandler(57634));
        QVERIFY(!frame.OnCommand(57634));
    }

    void switchMenuTogglesDrawingMode() {
        CMainFrame frame;
        QVERIFY(!frame.IsDrawingMode());
        QCOMPARE(frame.menuBar()->property("varnelMenuId").toInt(), 128);
        frame.OnCommand(ID_DRAWING_MODE);
        QVERIFY(frame.IsDrawingMode());
        QCOMPARE(frame.menuBar()->property("varnelMenuId").toInt(), 132);
        QAction* check = FindAction(Submenus(frame)[1], ID_DRAWING_MODE);
        QVERIFY(check->isChecked());
        // Clicking the checked item itself leaves drawing mode; the mark
        // stays with the menu, it is not toggled by the click.
        check->trigger();
        QVERIFY(!frame.IsDrawingMode());
        QCOMPARE(frame.menuBar()->property("varnelMenuId").toInt(), 128);
        QVERIFY(!FindAction(Submenus(frame)[1], ID_DRAWING_MODE)->isChecked());
        frame.OnCommand(ID_DRAWING_MODE);
        QVERIFY(frame.IsDrawingMode());
        QCOMPARE(frame.ContextSubmenu()->title(), QString("Инструменты"));
    }

    void acceleratorsSendTheirCommands() {
        CMainFrame frame;
        std::vector<std::pair<QString, int>> actual;
        for (QAction* a : frame.Accelerators())
            actual.emplace_back(a->shortcut().toString(QKeySequence::PortableText), a->data().toInt());
        const std::vector<std::pair<QString, int>> expected = {
            {"Ctrl+N", 57600}, {"Ctrl+O", 57601}, {"Ctrl+S", 57603}, {"Ctrl+D", 32788},
            {"Ctrl+P", 32789}, {"Ctrl+G", 32792}, {"F5", 32796}, {"Ctrl+C", 57634}, {"Ctrl+Ins", 57634},
            {"Ctrl+V", 57637}, {"Shift+Ins", 57637}, {"Ctrl+X", 57635}, {"Shift+Del", 57635},
            {"Ctrl+Z", 57643}, {"Alt+Backspace", 57643}, {"Ctrl+Y", 57644}, {"Ctrl+Shift+Z", 57644},
            {"Del", 32787}, {"F6", 57680}, {"Shift+F6", 57681}};
        QCOMPARE(actual, expected);
    }

    void ctrlDKeySwitchesMenus() {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QTest::keyClick(&frame, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(frame.IsDrawingMode());
        QTest::keyClick(&frame, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!frame.IsDrawingMode());
    }

    void toolbarButtonsAndTips() {
        CMainFrame frame;
        QList<int> ids;
        QStringList tips;
        for (QAction* a : frame.ToolBar()->actions()) {
            ids.append(a->isSeparator() ? 0 : a->data().toInt());
            if (!a->isSeparator()) tips.append(a->toolTip());
        }
        QCOMPARE(ids, (QList<int>{57601, 32789, 0, 57643, 57644, 0, 32795, 0, 32792, 32796, 0, 57664}));
        QCOMPARE(tips, (QStringList{"Открыть модель", "Программа", "Отменить", "Повторить", "Переместить",
                                    "Построить графики", "Эксперимент", "О программе"}));
        QCOMPARE(frame.ToolBar()->iconSize(), QSize(16, 15));
    }

    void statusBarShowsPromptsThenReady() {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CStatusBar* bar = frame.StatusBar();
        QCOMPARE(bar->MessageText(), QString("Готово"));
        QCOMPARE(bar->Indicator(0)->text(), QString("CAP"));
        QCOMPARE(bar->Indicator(1)->text(), QString("NUM"));
        QCOMPARE(bar->Indicator(2)->text(), QString("SCRL"));
        QAction* graphs = frame.ToolBar()->actions()[8];
        graphs->showStatusText(&frame);
        QCOMPARE(bar->MessageText(), QString("Просмотр графиков модели"));
        bar->clearMessage();
        QCOMPARE(bar->MessageText(), QString("Готово"));
        QCOMPARE(FindAction(Submenus(frame)[3], 57670)->statusTip(), QString("Вызов справочной системы"));
    }

    void barItemsHideAndCheck() {
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QMenu* view = Submenus(frame)[2];
        emit view->aboutToShow();
        QVERIFY(FindAction(view, 59392)->isChecked());
        FindAction(view, 59392)->trigger();
        QVERIFY(frame.ToolBar()->isHidden());
        emit view->aboutToShow();
        QVERIFY(!FindAction(view, 59392)->isChecked());
        frame.OnCommand(59393);
        QVERIFY(frame.StatusBar()->isHidden());
    }

};

QTEST_MAIN(MainFrameMenusTest)
#include "MainFrameMenusTest.moc"
