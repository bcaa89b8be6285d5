// The graphs window. The series are mapped into the plot rectangle once,
// when the window opens (it cannot be resized); choosing a series only
// moves the highlight, relabels the grid and recolours the swatch.
#include "shell/dialogs/GraphsDlg.h"

#include <QPainter>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "graphs/GraphsLayout.h"
#include "shell/dialogs/GraphsPlot.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/QtText.h"
#include "ui_GraphsDlg.h"

struct CGraphsDlg::Impl {
    Ui::GraphsDlg ui;
    bool bInitialised = false;
};

CGraphsDlg::CGraphsDlg(QWidget* parent)
    : QDialog(parent), m_pImpl(std::make_unique<Impl>()), m_pGraphics(std::make_unique<EntityList>()) {
    m_pImpl->ui.setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    Plot()->SetSeries(m_pGraphics.get());
    connect(m_pImpl->ui.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pImpl->ui.graphList, &QComboBox::currentIndexChanged, this, &CGraphsDlg::OnSelChangeGraph);
}

CGraphsDlg::~CGraphsDlg() = default;

QComboBox* CGraphsDlg::Selector() const { return m_pImpl->ui.graphList; }

CGraphsPlot* CGraphsDlg::Plot() const { return m_pImpl->ui.graphFrame; }

void CGraphsDlg::SetPreviousRun(CPreviousRun* pPrevious) { Plot()->SetPreviousRun(pPrevious); }

CRect CGraphsDlg::GetPlotRect() const { return Plot()->PlotRect(); }

int CGraphsDlg::SelectedIndex() const {
    const QComboBox* selector = m_pImpl->ui.graphList;
    if (selector->currentIndex() < 0) return -1;
    return selector->currentData().toInt();
}

CVGraphic* CGraphsDlg::SelectedGraphic() const {
    const int index = SelectedIndex();
    if (index < 0 || static_cast<size_t>(index) >= m_pGraphics->GetCount()) return nullptr;
    return dynamic_cast<CVGraphic*>(m_pGraphics->GetAt(index));
}

void CGraphsDlg::InitDialog() {
    if (m_pImpl->bInitialised) return;
    m_pImpl->bInitialised = true;
    QComboBox* selector = m_pImpl->ui.graphList;
    {
        const QSignalBlocker blocker(selector);
        for (size_t i = 0; i < m_pGraphics->GetCount(); ++i) {
            auto* pGraphic = dynamic_cast<CVGraphic*>(m_pGraphics->GetAt(i));
            if (pGraphic == nullptr) continue;
            selector->addItem(FromCp1251(pGraphic->m_strText), static_cast<int>(i));
        }
        selector->setCurrentIndex(selector->count() > 0 ? 0 : -1);
    }
    Plot()->MapSeries();
    if (selector->count() > 0) OnSelChangeGraph();
}

void CGraphsDlg::OnSelChangeGraph() {
    Plot()->SelectSeries(SelectedIndex());
    update();
}

void CGraphsDlg::showEvent(QShowEvent* event) {
    InitDialog();
    QDialog::showEvent(event);
}

void CGraphsDlg::RenderFrame(QPainter& painter) const { Plot()->Render(painter); }

void CGraphsDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const CVGraphic* pChosen = SelectedGraphic();
    if (pChosen == nullptr) return;
    QPainter painter(this);
    CQtDrawContext dc(painter);
    dc.SetPen({PS_SOLID, 2, static_cast<COLORREF>(pChosen->m_nColor)});
    dc.Rectangle(GraphsSwatchRect(Plot()->FrameRect()));
}
