// The build-graphs command: status texts, the run itself, its progress
// window, the error box (which can lead to the failing line) and the
// graphs window, after which the run shown becomes the previous one.
#include "shell/frame/BuildGraphsCommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <memory>

#include "shell/view/CommandIds.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"
#include "shell/dialogs/GraphsDlg.h"
#include "shell/dialogs/GraphsChoiceActions.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/dialogs/HelpWindow.h"
#include "shell/frame/MainFrame.h"
#include "shell/frame/MessageBoxes.h"
#include "shell/frame/Resources.h"
#include "shell/view/QtText.h"

namespace {

const char* const kBuildingText = "Подождите, идет построение графиков модели...";
const char* const kDoneText = "Готово";

void SetStatus(const QString& text) {
    if (g_pMainFrame) g_pMainFrame->SetMessageText(text);
}

// Shows a cancellable progress window once a run has gone on for a while.
// Events are processed only from the run's poll, so the run stays on the
// user-interface thread and the window is modal over everything else.
class CRunProgress {
public:
    explicit CRunProgress(QWidget* pParent) : m_pParent(pParent) { m_clock.start(); }

    bool Poll() {
        if (!m_pDialog && m_clock.elapsed() >= kProgressDelayMs) Show();
        if (m_pDialog) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return !m_pDialog || !m_pDialog->wasCanceled();
    }

private:
    void Show() {
        m_pDialog = std::make_unique<QProgressDialog>(QString::fromUtf8(kBuildingText),
                                                      QStringLiteral("Отмена"), 0, 0, m_pParent);
        m_pDialog->setWindowTitle(QStringLiteral("Построение графиков"));
        m_pDialog->setWindowModality(Qt::ApplicationModal);
        m_pDialog->setMinimumDuration(0);
        m_pDialog->setAutoClose(false);
        m_pDialog->setAutoReset(false);
        m_pDialog->show();
    }

    QWidget* m_pParent;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_pDialog;
};

// The error box, with "Показать строку N" when the message belongs to a
// line, and «Справка», which opens the message's entry in the manual.
BuildGraphsShown ShowRunError(QWidget* pParent, const BuildGraphsResult& result, CShowLineRequest* pShowLine) {
    const QString text = FromCp1251(result.strError);
    const bool bLine = pShowLine != nullptr && result.nErrorLine > 0;
    const QString button = bLine ? QStringLiteral("Показать строку %1").arg(result.nErrorLine) : QString();
    const QMessageBox::StandardButton answer = VarnelRunErrorBox(pParent, text, button);
    if (answer == QMessageBox::Help) ShowManualForMessage(pParent, text);
    if (answer != QMessageBox::Open || !bLine) return BuildGraphsShown::Error;
    *pShowLine = {result.nErrorLine, result.strError};
    return BuildGraphsShown::ShowLine;
}

void ShowGraphs(QWidget* pParent, BuildGraphsResult& result, CPreviousRun* pPrevious) {
    CGraphsDlg dlg(pParent);
    for (auto& pSeries : result.series) dlg.Graphics().Add(std::move(pSeries));
    dlg.SetPreviousRun(pPrevious);
    CGraphsPlot* pPlot = dlg.Plot();
    pPlot->SetChoices(RememberedGraphsChoices());
    pPlot->m_pfnAskSavePath = [&dlg](const QString& filter, const QString& proposed) {
        return AskFileName(&dlg, true, filter, proposed);
    };
    pPlot->m_pfnShowError = [&dlg](const QString& message) {
        VarnelMessageBox(&dlg, message, QMessageBox::Critical);
    };
    dlg.exec();
    if (pPrevious == nullptr) return;
    std::vector<const CVGraphic*> shown;
    for (size_t i = 0; i < dlg.Graphics().GetCount(); ++i)
        if (auto* pSeries = dynamic_cast<const CVGraphic*>(dlg.Graphics().GetAt(i))) shown.push_back(pSeries);
    pPrevious->Remember(shown);
}

}  // namespace

BuildGraphsShown RunBuildGraphsCommand(QWidget* pParent, const CVarnelDoc& doc, CPreviousRun* pPrevious,
                                       CShowLineRequest* pShowLine) {
    SetStatus(QString::fromUtf8(kBuildingText));
    BuildGraphsResult result;
    {
        CRunProgress progress(pParent);
        RunControl control;
        control.pfnPoll = [&progress](uint64_t) { return progress.Poll(); };
        result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control);
    }
    if (result.outcome == RunOutcome::Error) {
        // The box says what went wrong; the pane must not go on saying a
        // build is under way.
        SetStatus(LoadResString(IDS_IDLE_MESSAGE));
        return ShowRunError(pParent, result, pShowLine);
    }
    if (result.outcome != RunOutcome::Ok) {
        SetStatus(Message(EMessage::GraphsStopped));
        return BuildGraphsShown::Stopped;
    }
    SetStatus(QString::fromUtf8(kDoneText));
    ShowGraphs(pParent, result, pPrevious);
    return BuildGraphsShown::Graphs;
}
