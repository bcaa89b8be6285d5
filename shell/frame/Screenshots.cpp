// Grabs the main window, a move in progress, the help window, then the graphs window.
#include "shell/frame/Screenshots.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QHelpEngine>
#include <QHelpSearchEngine>
#include <QMouseEvent>
#include <QTimer>

#include "shell/view/CommandIds.h"
#include "diagram/Moves.h"
#include "document/VarnelDoc.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/HelpWindow.h"
#include "shell/frame/MainFrame.h"
#include "shell/view/VarnelView.h"

namespace {

void GrabGraphsWindowSoon(const QString& dir) {
    QTimer::singleShot(800, [dir] {
        for (QWidget* pWidget : QApplication::topLevelWidgets())
            if (auto* pGraphs = qobject_cast<CGraphsDlg*>(pWidget); pGraphs && pGraphs->isVisible()) {
                pGraphs->grab().save(QDir(dir).filePath("graphs-window.png"));
                pGraphs->accept();
                return;
            }
    });
}

void SendMouse(QWidget* pPort, QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
    QMouseEvent event(type, p, pPort->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(pPort, &event);
}

// The element with the most flows attached, dragged with the move tool by
// (100, 20) and grabbed before the button goes up; then the move is undone.
void GrabMoveInProgress(CMainFrame& frame, const QString& dir) {
    auto* pView = qobject_cast<CVarnelView*>(frame.centralWidget());
    const EntityList* pList = frame.Document().m_pEntityList.get();
    if (pView == nullptr || pList == nullptr) return;
    const CVEntity* pBest = nullptr;
    size_t nMostGlued = 0;
    for (const auto& pEntity : *pList) {
        const size_t nGlued = FindGluedEnds(*pList, *pEntity).size();
        if (nGlued > nMostGlued) pBest = pEntity.get(), nMostGlued = nGlued;
    }
    if (pBest == nullptr) return;
    const CRect box = pBest->GetExtent();
    const CPoint scroll = pView->ScrollPosition();
    const QPoint from((box.left + box.right) / 2 - scroll.x, (box.top + box.bottom) / 2 - scroll.y);
    QWidget* pPort = pView->viewport();
    frame.OnCommand(ID_TOOL_MOVE);
    SendMouse(pPort, QEvent::MouseMove, from, Qt::NoButton);
    SendMouse(pPort, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i) SendMouse(pPort, QEvent::MouseMove, from + QPoint(25, 5) * i, Qt::LeftButton);
    QApplication::processEvents();  // the status bar lays out its new mode text
    frame.grab().save(QDir(dir).filePath("editing-move.png"));
    SendMouse(pPort, QEvent::MouseButtonRelease, from + QPoint(100, 20), Qt::NoButton);
    frame.OnCommand(ID_EDIT_UNDO);
    frame.OnCommand(ID_MODIFY);
}

// The manual on the page of "if", its search having found "бесконечность".
void GrabHelpWindow(CMainFrame& frame, const QString& dir) {
    CHelpWindow* pHelp = ShowManual(&frame, "language.html#if");
    QEventLoop wait;
    QObject::connect(pHelp, &CHelpWindow::IndexReady, &wait, &QEventLoop::quit);
    QTimer::singleShot(5000, &wait, &QEventLoop::quit);
    wait.exec();
    QObject::connect(pHelp->Engine()->searchEngine(), &QHelpSearchEngine::searchingFinished, &wait, &QEventLoop::quit);
    QTimer::singleShot(5000, &wait, &QEventLoop::quit);
    pHelp->Search(QStringLiteral("бесконечность"));
    wait.exec();
    pHelp->grab().save(QDir(dir).filePath("help-window.png"));
    pHelp->close();
}

}  // namespace

void ScheduleScreenshotsIfAsked(CMainFrame& frame) {
    const QString dir = qEnvironmentVariable("VARNEL_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QTimer::singleShot(1000, &frame, [&frame, dir] {
        QDir().mkpath(dir);
        frame.grab().save(QDir(dir).filePath("main-window.png"));
        GrabMoveInProgress(frame, dir);
        GrabHelpWindow(frame, dir);
        GrabGraphsWindowSoon(dir);
        frame.OnBuildGraphs();
        QApplication::quit();
    });
}
