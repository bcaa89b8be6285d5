// The frame's way from a failed run to the program line: the graphs
// command, and the program editor opened on the line the run failed on.
#include <utility>

#include "document/VarnelDoc.h"
#include "shell/dialogs/ProgramDlg.h"
#include "shell/frame/MainFrame.h"

void CMainFrame::OnBuildGraphs() {
    CShowLineRequest request;
    if (RunBuildGraphsCommand(this, *m_pDoc, &m_graphsSession.previousRun, &request) == BuildGraphsShown::ShowLine)
        ShowProgramLine(request.nLine, request.strMessage);
}

void CMainFrame::ShowProgramLine(int64_t nLine, const std::string& strMessage) {
    // The editor opens through the ordinary command, so its text is taken
    // back exactly as after Ctrl+P.
    m_graphsSession.pendingLine = {nLine, strMessage};
    OnEditProgram();
    m_graphsSession.pendingLine = {};
}

void CMainFrame::PrepareProgramDlg(CProgramDlg& dlg) {
    dlg.m_pDiagram = m_pDoc->m_pEntityList.get();
    const CShowLineRequest pending = std::exchange(m_graphsSession.pendingLine, {});
    if (pending.nLine > 0) dlg.ShowLine(pending.nLine, pending.strMessage);
}
