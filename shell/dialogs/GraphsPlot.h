// CGraphsPlot: the plot area of the graphs window (control 1016), usable by
// any window that shows a run's series. It draws the white frame, the grid
// labelled by the chosen series, the previous run's series faded behind,
// and every series, the chosen one dashed. Over the plot it reads off the
// chosen series' nearest sample; its context menu and keys copy the
// picture, save it as PNG or SVG, save the data as CSV, switch the
// previous run on and off, and make the choices of GraphsChoices.h, which
// the pictures it saves follow.
#pragma once
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "diagram/Geometry.h"
#include "graphs/GraphsChoices.h"
#include "graphs/GraphsLegend.h"
#include "graphs/GraphsScale.h"

class CGraphsChoiceActions;
class CPreviousRun;
class CVGraphic;
class EntityList;
class QAction;
class QMenu;

class CGraphsPlot : public QWidget {
    Q_OBJECT
public:
    explicit CGraphsPlot(QWidget* parent = nullptr);
    ~CGraphsPlot() override;

    // The series shown (not owned), and the chosen one's index in that list
    // (-1 for none).
    void SetSeries(EntityList* pSeries) { m_pSeries = pSeries; }
    void SetSelectedIndex(int index);
    // Chooses the series at index as the selector does: it alone is
    // highlighted (drawn dashed) and labels the grid.
    void SelectSeries(int index);
    CVGraphic* SelectedGraphic() const;
    // The previous run to compare with (not owned; null for none); its
    // m_bShow is the state of "Показать прошлый расчёт".
    void SetPreviousRun(CPreviousRun* pPrevious) { m_pPrevious = pPrevious; }

    // Maps every series, and the previous run's matching ones on the
    // current series' scales, into the plot rectangle.
    void MapSeries();
    int GhostCount() const { return static_cast<int>(m_ghosts.size()); }
    bool ShowsPrevious() const;

    // How the series are drawn; setting them maps the series again.
    GraphsChoices Choices() const { return m_choices; }
    void SetChoices(const GraphsChoices& choices);
    // «Легенда», «Общая шкала», «Круглые деления», «Крупный шрифт».
    const QList<QAction*>& ChoiceActions() const;

    CRect FrameRect() const { return {0, 0, width(), height()}; }
    CRect PlotRect() const;
    // Draws the area as the window shows it, without the readout.
    void Render(QPainter& painter) const;

    // The readout for a point of the area: the chosen series' nearest
    // sample (-1 for none) and its text.
    void HoverAt(QPoint point);
    int HoverSample() const { return m_nHoverSample; }
    QString ReadoutText() const;

    // The commands, also reachable from the context menu and their keys.
    QAction* CopyAction() const { return m_pCopy; }
    QAction* ShowPreviousAction() const { return m_pShowPrevious; }
    void CopyPicture();
    // Writes PNG, or SVG when the name ends in .svg; false after a message.
    bool SavePicture(const QString& path);
    // Writes every series as `varnel run --format csv` prints them.
    bool SaveData(const QString& path);

    // How the save commands ask for a file name and report a failure; the
    // frame routes them through its own dialogs.
    std::function<QString(const QString& filter, const QString& proposed)> m_pfnAskSavePath;
    std::function<void(const QString& message)> m_pfnShowError;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A plot that can grow maps its series into its new size.
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateActions();
    void OnSavePicture();
    void OnSaveData();
    void OnShowPrevious(bool bShow);
    void DrawReadout(QPainter& painter) const;
    GraphsLegend Legend() const;
    QImage PictureImage() const;
    void ReportError(const QString& message) const;

    EntityList* m_pSeries = nullptr;
    int m_nSelected = -1;
    CPreviousRun* m_pPrevious = nullptr;
    std::vector<std::unique_ptr<CVGraphic>> m_ghosts;
    int m_nHoverSample = -1;
    QAction* m_pCopy = nullptr;
    QAction* m_pSavePicture = nullptr;
    QAction* m_pSaveData = nullptr;
    QAction* m_pShowPrevious = nullptr;
    GraphsChoices m_choices;
    CGraphsScale m_scale;
    std::unique_ptr<CGraphsChoiceActions> m_pChoices;
};
