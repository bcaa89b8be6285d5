// The frame's menu bars: built from the menu resources, swapped by
// SwitchMenu, kept up to date (enabled items, bar check marks, the recent
// files) each time a submenu opens.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "shell/view/CommandIds.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/Resources.h"
#include "shell/frame/StatusBar.h"

namespace {

const char* const kRecentEntry = "varnelRecentEntry";

bool IsRecentPlaceholder(const QAction* pAction) {
    return pAction->data().toInt() == ID_FILE_MRU_FIRST && !pAction->property(kRecentEntry).toBool();
}

QString RecentEntryText(int index, const QString& path) {
    QString shown = QFileInfo(path).absoluteFilePath();
    if (shown.size() > 48) shown = shown.left(12) + "..." + shown.right(33);
    shown.replace("&", "&&");
    return QString("&%1 %2").arg(index + 1).arg(shown);
}

}  // namespace

QMenuBar* CMainFrame::BuildMenuBar(int menuId) {
    auto* pBar = new QMenuBar(this);
    pBar->setProperty("varnelMenuId", menuId);
    for (const CMenuItemRes& submenu : LoadMenuResource(menuId)) pBar->addMenu(BuildSubmenu(submenu, pBar));
    return pBar;
}

QMenu* CMainFrame::BuildSubmenu(const CMenuItemRes& res, QWidget* parent) {
    auto* pMenu = new QMenu(res.strText, parent);
    for (const CMenuItemRes& item : res.items) {
        if (item.bSeparator) {
            pMenu->addSeparator();
        } else if (!item.items.empty()) {
            pMenu->addMenu(BuildSubmenu(item, pMenu));
        } else {
            QAction* pAction = MakeCommandAction(item.nId, item.strText, pMenu);
            const bool bBarItem = item.nId == ID_VIEW_TOOLBAR || item.nId == ID_VIEW_STATUS_BAR;
            pAction->setCheckable(item.bChecked || bBarItem);
            pAction->setChecked(item.bChecked);
            if (item.bGrayed) pAction->setEnabled(false);
            pMenu->addAction(pAction);
        }
    }
    connect(pMenu, &QMenu::aboutToShow, this, [this, pMenu] { UpdateMenu(pMenu); });
    UpdateMenu(pMenu);
    return pMenu;
}

void CMainFrame::UpdateMenu(QMenu* pMenu) {
    for (QAction* pAction : pMenu->actions()) {
        const int nId = pAction->data().toInt();
        UpdateCommandAction(pAction);
        if (nId == ID_VIEW_TOOLBAR && m_wndToolBar) pAction->setChecked(!m_wndToolBar->isHidden());
        if (nId == ID_VIEW_STATUS_BAR && m_wndStatusBar) pAction->setChecked(!m_wndStatusBar->isHidden());
    }
    FillRecentFiles(pMenu);
}

void CMainFrame::FillRecentFiles(QMenu* pMenu) {
    QAction* pPlaceholder = nullptr;
    for (QAction* pAction : pMenu->actions()) {
        if (pAction->property(kRecentEntry).toBool())
            delete pAction;
        else if (IsRecentPlaceholder(pAction))
            pPlaceholder = pAction;
    }
    if (!pPlaceholder) return;
    const QStringList& files = m_recentFiles.Files();
    pPlaceholder->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        QAction* pEntry = MakeCommandAction(ID_FILE_MRU_FIRST + i, RecentEntryText(i, files[i]), pMenu);
        pEntry->setProperty(kRecentEntry, true);
        pMenu->insertAction(pPlaceholder, pEntry);
    }
}

void CMainFrame::SwitchMenu(int menuId) {
    // QMainWindow deletes the old bar later, so a switch from one of its own
    // items is safe.
    m_pMenu = BuildMenuBar(menuId);
    setMenuBar(m_pMenu);
    RefreshCommandStates();
}

bool CMainFrame::IsDrawingMode() const {
    const QList<QAction*> submenus = menuBar()->actions();
    if (submenus.size() < 2 || !submenus[1]->menu()) return false;
    for (const QAction* pAction : submenus[1]->menu()->actions())
        if (pAction->data().toInt() == ID_DRAWING_MODE) return pAction->isChecked();
    return false;
}

QMenu* CMainFrame::ContextSubmenu() const {
    const QList<QAction*> submenus = menuBar()->actions();
    return submenus.size() >= 4 ? submenus[3]->menu() : nullptr;
}

void CMainFrame::RefreshRecentMenus() {
    for (QAction* pSubmenu : menuBar()->actions())
        if (pSubmenu->menu()) FillRecentFiles(pSubmenu->menu());
}
