// CGraphsDlg: the modal window that shows the plot series of a run: a grid
// with the chosen series' axis labels, a caption selector, a colour swatch
// and every series as a polyline, the chosen one dashed. The plot area is a
// CGraphsPlot, which also draws the previous run faded behind, reads off
// samples and copies or saves the picture and the data.
#pragma once
#include <QDialog>
#include <memory>

#include "diagram/EntityList.h"

class CGraphsPlot;
class CPreviousRun;
class CVGraphic;
class QComboBox;

class CGraphsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGraphsDlg(QWidget* parent = nullptr);
    ~CGraphsDlg() override;

    // Owns the series; fill with Add before showing the window.
    EntityList& Graphics() { return *m_pGraphics; }
    // The previous run to draw faded behind this one (not owned; optional),
    // set before showing the window.
    void SetPreviousRun(CPreviousRun* pPrevious);
    // Index (in Graphics()) of the series chosen in the selector, or -1.
    int SelectedIndex() const;
    // Paints the frame area as the window shows it (also for `varnel graphs`).
    void RenderFrame(QPainter& painter) const;

    // Fills the selector, maps every series into the plot rectangle and
    // chooses the first; runs once, when the window is first shown.
    void InitDialog();
    // The frame's client rectangle with the plot insets taken off.
    CRect GetPlotRect() const;
    CVGraphic* SelectedGraphic() const;
    QComboBox* Selector() const;
    CGraphsPlot* Plot() const;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private slots:
    void OnSelChangeGraph();

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
    std::unique_ptr<EntityList> m_pGraphics;
};
