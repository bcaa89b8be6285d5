// The graphs window. The series are mapped into the plot rectangle once,
// when the window opens (it cannot be resized); choosing a series only
// moves the highlight, relabels the grid and recolours the swatch.
#include "shell/dialogs/GraphsDlg.h"

#include <QEvent>
#include <QPainter>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "graphs/Graphic.h"
#include "graphs/GraphsLayout.h"
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
    m_pImpl->ui.graphFrame->installEventFilter(this);
    connect(m_pImpl->ui.okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pImpl->ui.graphList, &QComboBox::currentIndexChanged, this, &CGraphsDlg::OnSelChangeGraph);
}

CGraphsDlg::~CGraphsDlg() = default;

QComboBox* CGraphsDlg::Selector() const {
    return m_pImpl->ui.graphList;
}

CRect CGraphsDlg::FrameClientRect() const {
    const QWidget* frame = m_pImpl->ui.graphFrame;
    return {0, 0, frame->width(), frame->height()};
}

CRect CGraphsDlg::GetPlotRect() const {
    return GraphsPlotRect(FrameClientRect());
}

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
    const CRect plot = GetPlotRect();
    QComboBox* selector = m_pImpl->ui.graphList;
    {
        const QSignalBlocker blocker(selector);
        for (size_t i = 0; i < m_pGraphics->GetCount(); ++i) {
            auto* pGraphic = dynamic_cast<CVGraphic*>(m_pGraphics->GetAt(i));
            if (pGraphic == nullptr) continue;
            selector->addItem(FromCp1251(pGraphic->m_strText), static_cast<int>(i));
            pGraphic->MapToRect(plot);
        }
        selector->setCurrentIndex(selector->count() > 0 ? 0 : -1);
    }
    if (selector->count() > 0) OnSelChangeGraph();
}

void CGraphsDlg::OnSelChangeGraph() {
    const int selected = SelectedIndex();
    for (size_t i = 0; i < m_pGraphics->GetCount(); ++i)
        m_pGraphics->GetAt(i)->SetHighlight(static_cast<int>(i) == selected, nullptr, nullptr);
    update();
    m_pImpl->ui.graphFrame->update();
}

void CGraphsDlg::showEvent(QShowEvent* event) {
    InitDialog();
    QDialog::showEvent(event);
}

bool CGraphsDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pImpl->ui.graphFrame && event->type() == QEvent::Paint) {
        QPainter painter(m_pImpl->ui.graphFrame);
        RenderFrame(painter);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CGraphsDlg::RenderFrame(QPainter& painter) const {
    const CRect frame = FrameClientRect();
    CQtDrawContext dc(painter);
    dc.Rectangle(frame);  // a black outline around a white area

    CVGraphic* pChosen = SelectedGraphic();
    double loX = 0.0, hiX = 0.0, loY = 0.0, hiY = 0.0;
    if (pChosen == nullptr || !pChosen->GetRange(loX, hiX, loY, hiY)) return;

    const CRect plot = GetPlotRect();
    dc.SetFont(GraphsLabelFont());
    const CPen previous = dc.GetPen();
    dc.SetPen(kGridPen);
    DrawGraphsGrid(dc, GraphsGridLayout(frame, plot, loX, hiX, loY, hiY, pChosen->m_dDivY));
    dc.SetPen(previous);

    painter.save();
    painter.setClipRect(QRect(plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top),
                        Qt::IntersectClip);
    m_pGraphics->DrawAll(dc, &plot);
    painter.restore();
}

void CGraphsDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const CVGraphic* pChosen = SelectedGraphic();
    if (pChosen == nullptr) return;
    QPainter painter(this);
    CQtDrawContext dc(painter);
    dc.SetPen({PS_SOLID, 2, static_cast<COLORREF>(pChosen->m_nColor)});
    dc.Rectangle(GraphsSwatchRect(FrameClientRect()));
}
