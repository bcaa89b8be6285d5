// What the frame shows of the editor's state: undo and redo items named
// after the step they take back or again, the check mark of the active tool
// in the tools menu and on the toolbar, and the mode pane of the status bar.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUndoStack>

#include "diagram/TrackingState.h"
#include "shell/view/CommandIds.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/Resources.h"
#include "shell/frame/StatusBar.h"
#include "shell/view/VarnelView.h"

namespace {

bool IsToolCommand(int nId) {
    return (nId >= ID_TOOL_LINE && nId <= ID_TOOL_ARROW) || nId == ID_TOOL_MOVE || nId == ID_MODIFY;
}

// "Отменить\tCtrl+Z" with the step "перемещение" gives
// "Отменить перемещение\tCtrl+Z".
QString WithStep(const QString& resourceText, const QString& step) {
    if (step.isEmpty()) return resourceText;
    const qsizetype tab = resourceText.indexOf('\t');
    if (tab < 0) return resourceText + ' ' + step;
    return resourceText.left(tab) + ' ' + step + resourceText.mid(tab);
}

// A tool's name as its item in the drawing menu shows it.
QString ToolName(int nId) {
    for (const CMenuItemRes& submenu : LoadMenuResource(IDR_DRAWMENU))
        for (const CMenuItemRes& item : submenu.items)
            if (item.nId == nId) return QString(item.strText).remove('&').section('\t', 0, 0);
    return {};
}

// The tools of one menu are one choice, marked as such; none is chosen
// while the view is idle.
void JoinToolGroup(QAction* pAction) {
    auto* pMenu = qobject_cast<QMenu*>(pAction->parent());
    if (pMenu == nullptr || pAction->actionGroup() != nullptr) return;
    auto* pGroup = pMenu->findChild<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly);
    if (pGroup == nullptr) {
        pGroup = new QActionGroup(pMenu);
        pGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    }
    pGroup->addAction(pAction);
}

}  // namespace

int CMainFrame::ActiveToolCommand() const {
    switch (m_pView->Mode()) {
        case MODE_DRAW: return static_cast<int>(m_pView->Tool());
        case MODE_MODIFY: return ID_MODIFY;
        case MODE_MOVE: return ID_TOOL_MOVE;
        default: return 0;
    }
}

namespace {

// What the next click does while an object is half placed; empty when
// nothing is.
QString PlacingPrompt(const CTrackingState& placing, int nTool) {
    if (placing.bTwoClickFirstPlaced)
        return nTool == ID_TOOL_LINE ? QStringLiteral("Щелкните второй конец") : QStringLiteral("Щелкните второй угол");
    // The four clicks put down the start, the end, then the two controls.
    const int nClick = placing.nFourClickStage == 3 ? 2 : placing.nFourClickStage + 2;
    if (placing.nFourClickStage != 0) return QStringLiteral("%1: точка %2 из 4").arg(ToolName(nTool)).arg(nClick);
    return {};
}

}  // namespace

QString CMainFrame::ModeText() const {
    const int nTool = static_cast<int>(m_pView->Tool());
    const QString prompt = m_pView->Mode() == MODE_DRAW ? PlacingPrompt(m_pView->Placing(), nTool) : QString();
    if (!prompt.isEmpty()) return prompt;
    switch (m_pView->Mode()) {
        case MODE_DRAW: return LoadResString(IDS_MODE_DRAW).arg(ToolName(nTool));
        case MODE_MODIFY: return LoadResString(IDS_MODE_MODIFY);
        case MODE_MOVE: return LoadResString(IDS_MODE_MOVE);
        default: return LoadResString(IDS_MODE_IDLE);
    }
}

void CMainFrame::UpdateCommandAction(QAction* pAction) {
    const int nId = pAction->data().toInt();
    const QUndoStack* pStack = m_pView->UndoStack();
    const QString resourceText = pAction->property(kResourceText).toString();
    if (nId == ID_EDIT_UNDO || nId == ID_EDIT_REDO) {
        const bool bUndo = nId == ID_EDIT_UNDO;
        pAction->setEnabled(bUndo ? pStack->canUndo() : pStack->canRedo());
        const QString text = WithStep(resourceText, bUndo ? pStack->undoText() : pStack->redoText());
        if (pAction->parent() == m_wndToolBar)
            pAction->setToolTip(text);
        else
            pAction->setText(text);
    } else if (IsToolCommand(nId)) {
        JoinToolGroup(pAction);
        pAction->setCheckable(true);
        pAction->setChecked(nId == ActiveToolCommand());
    }
}

void CMainFrame::RefreshCommandStates() {
    if (m_pView == nullptr) return;
    for (QAction* pSubmenu : menuBar()->actions())
        if (pSubmenu->menu())
            for (QAction* pAction : pSubmenu->menu()->actions()) UpdateCommandAction(pAction);
    if (m_wndToolBar)
        for (QAction* pAction : m_wndToolBar->actions()) UpdateCommandAction(pAction);
    if (m_wndStatusBar) m_wndStatusBar->SetModeText(ModeText());
}
