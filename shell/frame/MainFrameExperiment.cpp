// The frame's experiment window: one at a time, beside the main window,
// with the frame's own file and message dialogs and its way to a program
// line.
#include "diagram/EntityList.h"
#include "shell/dialogs/ExperimentDlg.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"

CExperimentDlg* CMainFrame::Experiment() const { return m_pExperiment; }

void CMainFrame::OnExperiment() {
    if (m_pExperiment == nullptr) {
        auto* pWindow = new CExperimentDlg(*m_pView, this);
        pWindow->setAttribute(Qt::WA_DeleteOnClose);
        pWindow->m_pfnShowLine = [this](int64_t nLine, const std::string& strMessage) {
            ShowProgramLine(nLine, strMessage);
        };
        CGraphsPlot* pPlot = pWindow->Plot();
        pPlot->m_pfnAskSavePath = [pWindow](const QString& filter, const QString& proposed) {
            return AskFileName(pWindow, true, filter, proposed);
        };
        pPlot->m_pfnShowError = [pWindow](const QString& message) {
            VarnelMessageBox(pWindow, message, QMessageBox::Critical);
        };
        m_pExperiment = pWindow;
    }
    m_pExperiment->show();
    m_pExperiment->raise();
    m_pExperiment->activateWindow();
}
