// The experiment window: its layout, the runs it asks for and shows, and
// the way back to the document. Results come from the run thread through
// the event loop; only the newest request's result is shown.
#include "shell/dialogs/ExperimentDlg.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "archive/FileError.h"
#include "base/WholeText.h"
#include "diagram/EntityList.h"
#include "document/ExperimentValues.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"
#include "shell/dialogs/ExperimentList.h"
#include "shell/dialogs/GraphsChoiceActions.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/QtText.h"
#include "shell/view/VarnelView.h"
#include "shell/view/WindowKeys.h"
#include "ui_ExperimentDlg.h"

namespace {

// The step of the undo history ("Отменить применение эксперимента").
const QString kApplyName = QStringLiteral("применение эксперимента");

// A run that takes this long gets a word that it is going on.
constexpr int kBusyDelayMs = 300;

const char* const kErrorColor = "#b00000";
const char* const kNoteColor = "#905000";

std::vector<const CVGraphic*> SeriesOf(const EntityList& list) {
    std::vector<const CVGraphic*> series;
    for (size_t i = 0; i < list.GetCount(); ++i)
        if (auto* pSeries = dynamic_cast<const CVGraphic*>(list.GetAt(i))) series.push_back(pSeries);
    return series;
}

QString CountText(uint64_t n) { return QLocale(QLocale::Russian).toString(static_cast<qulonglong>(n)); }

}  // namespace

CExperimentDlg::CExperimentDlg(CVarnelView& view, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_view(view),
      m_ui(std::make_unique<Ui::ExperimentDlg>()),
      m_pSeries(std::make_unique<EntityList>()) {
    BuildLayout();
    m_pRunner = std::make_unique<CBackgroundRun>([this](uint64_t nTicket, BuildGraphsResult result) {
        auto pResult = std::make_shared<BuildGraphsResult>(std::move(result));
        QMetaObject::invokeMethod(
            this, [this, nTicket, pResult] { OnRunFinished(nTicket, *pResult); }, Qt::QueuedConnection);
    });
    connect(m_view.UndoStack(), &QUndoStack::indexChanged, this, &CExperimentDlg::OnDocumentChanged);
    connect(&m_view, &CVarnelView::DocumentReset, this, &CExperimentDlg::OnDocumentChanged);
    Refresh();
}

CExperimentDlg::~CExperimentDlg() {
    // The thread may be about to report: stop it while everything it
    // reports to is still whole.
    m_pRunner.reset();
}

void CExperimentDlg::BuildLayout() {
    m_ui->setupUi(this);
    m_pList = m_ui->list;
    m_pNote = m_ui->note;
    m_pNote->hide();
    m_pStepBound = m_ui->stepBound;
    m_pStepBound->setText(QString::number(kDefaultStepBound));
    m_pApply = m_ui->apply;
    m_pReset = m_ui->reset;
    m_pPlot = m_ui->plot;
    m_pPlot->SetSeries(m_pSeries.get());
    m_pPlot->SetPreviousRun(&m_previous);
    m_pPlot->SetChoices(RememberedGraphsChoices());
    m_pSelector = m_ui->selector;
    m_pSwatch = m_ui->swatch;
    m_pStatus = m_ui->status;
    m_pShowLine = m_ui->showLine;
    m_pShowLine->hide();
    // Both halves grow alike and start equal.
    m_ui->splitter->setStretchFactor(0, 1);
    m_ui->splitter->setStretchFactor(1, 1);
    m_ui->splitter->setSizes({540, 540});
    QPushButton* pClose = m_ui->closeButton;

    m_pBusyTimer = new QTimer(this);
    m_pBusyTimer->setSingleShot(true);
    m_pBusyTimer->setInterval(kBusyDelayMs);
    connect(m_pBusyTimer, &QTimer::timeout, this, [this] {
        if (m_nShownTicket < m_nLatestTicket) SetStatus(QStringLiteral("Идёт расчёт…"), nullptr);
    });
    connect(m_pList, &CExperimentList::ValuesChanged, this, &CExperimentDlg::OnValuesChanged);
    connect(m_pList, &CExperimentList::GestureStarted, this, &CExperimentDlg::RememberShown);
    connect(m_pList, &CExperimentList::BoxesChecked, this, &CExperimentDlg::UpdateButtons);
    connect(m_pSelector, &QComboBox::currentIndexChanged, this, &CExperimentDlg::OnSelectorChanged);
    connect(m_pStepBound, &QLineEdit::textEdited, this, &CExperimentDlg::OnStepBoundEdited);
    connect(m_pApply, &QPushButton::clicked, this, &CExperimentDlg::OnApply);
    connect(m_pReset, &QPushButton::clicked, this, &CExperimentDlg::OnReset);
    connect(pClose, &QPushButton::clicked, this, &QWidget::close);
    connect(m_pShowLine, &QPushButton::clicked, this, [this] {
        if (m_pfnShowLine && m_nErrorLine > 0) m_pfnShowLine(m_nErrorLine, m_strError);
    });
    // The model's undo and redo reach it from here too, "Применить" included.
    auto addKey = [this](const char* action, auto slot) {
        auto* pAction = new QAction(this);
        pAction->setShortcuts(WindowKeys("experiment", action));
        pAction->setShortcutContext(Qt::WindowShortcut);
        connect(pAction, &QAction::triggered, &m_view, slot);
        addAction(pAction);
    };
    addKey("undo", &CVarnelView::OnUndo);
    addKey("redo", &CVarnelView::OnRedo);
    auto* pEscape = new QAction(this);
    pEscape->setShortcuts(WindowKeys("experiment", "close"));
    connect(pEscape, &QAction::triggered, this, &QWidget::close);
    addAction(pEscape);
    UpdateButtons();
}

// ---- the model ----------------------------------------------------------------

void CExperimentDlg::OnDocumentChanged() {
    // Several changes in a row (a New clears the history, then resets the
    // view) are read once.
    if (m_bRefreshPending) return;
    m_bRefreshPending = true;
    QTimer::singleShot(0, this, [this] {
        m_bRefreshPending = false;
        Refresh();
    });
}

void CExperimentDlg::changeEvent(QEvent* event) {
    // Whatever changed the model unannounced is seen when the user comes back.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) OnDocumentChanged();
    QWidget::changeEvent(event);
}

void CExperimentDlg::Refresh() {
    CVarnelDoc* pDoc = m_view.Document();
    EntityList* pList = pDoc ? pDoc->m_pEntityList.get() : nullptr;
    const QStringList gone = m_pList->SetDiagramValues(pList ? ListElementValues(*pList) : std::vector<CElementValue>{});
    if (!gone.isEmpty()) {
        m_pNote->setText(Message(EMessage::GoneFromDiagram, {gone.join(", ")}));
        m_pNote->show();
    }
    auto pModel = std::make_shared<const CModelSnapshot>(pList, pDoc ? pDoc->m_strProgram : std::string());
    const bool bSame = m_pModel && m_pModel->SameAs(*pModel);
    m_pModel = std::move(pModel);
    UpdateButtons();
    if (bSame && m_nLatestTicket != 0) return;
    RememberShown();
    RequestRun();
}

void CExperimentDlg::OnValuesChanged(bool bNewGesture) {
    if (bNewGesture) RememberShown();
    m_pNote->hide();
    UpdateButtons();
    RequestRun();
}

void CExperimentDlg::OnStepBoundEdited() {
    const uint64_t bound = ReadWholeCount(m_pStepBound->text().trimmed().toStdString()).value_or(0);
    const bool bValid = bound > 0;
    m_pStepBound->setStyleSheet(bValid ? QString() : QStringLiteral("QLineEdit { background: #ffd0d0; }"));
    if (!bValid || bound == m_nStepBound) return;
    m_nStepBound = bound;
    RequestRun();
}

void CExperimentDlg::RequestRun() {
    CRunRequest request;
    request.pModel = m_pModel;
    request.overrides = m_pList->ChangedValues();
    request.nMaxSteps = m_nStepBound;
    m_nLatestTicket = m_pRunner->Submit(std::move(request));
    m_pBusyTimer->start();
}

// ---- showing a run ------------------------------------------------------------

void CExperimentDlg::OnRunFinished(uint64_t nTicket, BuildGraphsResult& result) {
    if (nTicket != m_nLatestTicket) return;  // a newer request is on its way
    m_nShownTicket = nTicket;
    m_pBusyTimer->stop();
    m_nErrorLine = 0;
    m_strError.clear();
    m_pShowLine->hide();
    const QString kept = m_pSeries->IsEmpty() ? QString() : QStringLiteral(" Графики — последнего удачного расчёта.");
    switch (result.outcome) {
        case RunOutcome::Ok:
            ShowSeries(result);
            SetStatus(QStringLiteral("Готово: выполнено операторов %1.").arg(CountText(result.nSteps)), nullptr);
            break;
        case RunOutcome::Error:
            m_nErrorLine = result.nErrorLine;
            m_strError = result.strError;
            SetStatus(FromCp1251(result.strError).replace('\n', ' ') + kept, kErrorColor);
            if (m_nErrorLine > 0 && m_pfnShowLine) {
                m_pShowLine->setText(QStringLiteral("Показать строку %1").arg(m_nErrorLine));
                m_pShowLine->show();
            }
            break;
        case RunOutcome::StepLimit:
            SetStatus(Message(EMessage::StepBoundReached, {CountText(m_nStepBound)}) + kept,
                      kNoteColor);
            break;
        case RunOutcome::UnknownName:
            SetStatus(Message(EMessage::NotInDiagram, {FromCp1251(result.strUnknownName)}), kErrorColor);
            break;
        case RunOutcome::Cancelled:
            break;
    }
    emit RunShown();
}

void CExperimentDlg::ShowSeries(BuildGraphsResult& result) {
    m_pSeries->DeleteAll();
    for (auto& pSeries : result.series) m_pSeries->Add(std::move(pSeries));
    FillSelector();
    m_pPlot->SelectSeries(m_pSelector->currentIndex() < 0 ? -1 : m_pSelector->currentData().toInt());
    m_pPlot->MapSeries();
    m_pPlot->update();
    UpdateSwatch();
}

void CExperimentDlg::FillSelector() {
    QStringList captions;
    for (const CVGraphic* pSeries : SeriesOf(*m_pSeries)) captions << FromCp1251(pSeries->m_strText);
    QStringList current;
    for (int i = 0; i < m_pSelector->count(); ++i) current << m_pSelector->itemText(i);
    if (captions == current) return;  // the choice stays as the user left it
    const QString chosen = m_pSelector->currentText();
    const QSignalBlocker blocker(m_pSelector);
    m_pSelector->clear();
    for (size_t i = 0; i < m_pSeries->GetCount(); ++i)
        if (auto* pSeries = dynamic_cast<CVGraphic*>(m_pSeries->GetAt(i)))
            m_pSelector->addItem(FromCp1251(pSeries->m_strText), static_cast<int>(i));
    const int index = m_pSelector->findText(chosen);
    m_pSelector->setCurrentIndex(index >= 0 ? index : (m_pSelector->count() > 0 ? 0 : -1));
}

void CExperimentDlg::OnSelectorChanged() {
    m_pPlot->SelectSeries(m_pSelector->currentIndex() < 0 ? -1 : m_pSelector->currentData().toInt());
    UpdateSwatch();
}

void CExperimentDlg::UpdateSwatch() {
    QPixmap swatch(29, 10);
    swatch.fill(Qt::transparent);
    if (const CVGraphic* pChosen = m_pPlot->SelectedGraphic()) {
        QPainter painter(&swatch);
        CQtDrawContext dc(painter);
        dc.SetPen({PS_SOLID, 2, static_cast<COLORREF>(pChosen->m_nColor)});
        dc.Rectangle(CRect{2, 4, 27, 5});
    }
    m_pSwatch->setPixmap(swatch);
}

void CExperimentDlg::RememberShown() {
    if (!m_pSeries->IsEmpty()) m_previous.Remember(SeriesOf(*m_pSeries));
}

void CExperimentDlg::SetStatus(const QString& text, const char* color) {
    m_pStatus->setText(text);
    m_pStatus->setStyleSheet(color ? QStringLiteral("QLabel { color: %1; }").arg(color) : QString());
}

QString CExperimentDlg::StatusText() const { return m_pStatus->text(); }

QString CExperimentDlg::NoteText() const { return m_pNote->isHidden() ? QString() : m_pNote->text(); }

// ---- back to the document -----------------------------------------------------

void CExperimentDlg::UpdateButtons() {
    const bool bChanged = !m_pList->ChangedValues().empty();
    m_pApply->setEnabled(bChanged && !m_pList->HasInvalidBox());
    m_pReset->setEnabled(bChanged);
}

void CExperimentDlg::OnApply() {
    CVarnelDoc* pDoc = m_view.Document();
    if (pDoc == nullptr) return;
    std::unique_ptr<CObjectsChange> pChange;
    try {
        pChange = SetElementValues(*pDoc, m_pList->ChangedValues());
    } catch (const CFileError& error) {
        SetStatus(Message(EMessage::ValuesNotWritten, {QString::fromStdString(error.what())}), kErrorColor);
        return;
    }
    // The history's signal brings the diagram's new values back here.
    if (pChange) m_view.PushChange(std::move(pChange), kApplyName);
}

void CExperimentDlg::OnReset() {
    RememberShown();
    m_pList->ResetValues();
    m_pNote->hide();
    UpdateButtons();
    RequestRun();
}
