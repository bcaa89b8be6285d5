// The plot area. Frame and grid are drawn as the window always drew them;
// the curves go through a context that strokes each curve as one path, so
// that a picture saved as SVG keeps one element per curve. Pictures are
// written through QSaveFile, so a failed save leaves an older file whole.
#include "shell/dialogs/GraphsPlot.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <sstream>

#include "archive/ClassRegistry.h"  // Graphic.h names the registry
#include "base/Numbers.h"
#include "diagram/EntityList.h"
#include "graphs/Graphic.h"
#include "graphs/GraphsAxes.h"
#include "graphs/PreviousRun.h"
#include "graphs/SampleReadout.h"
#include "graphs/SeriesCsv.h"
#include "shell/dialogs/GraphsChoiceActions.h"
#include "shell/dialogs/PolylineDrawContext.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/WindowKeys.h"
#include "shell/view/QtText.h"

namespace {

constexpr int kMarkerRadius = 3;

std::vector<CVGraphic*> SeriesOf(EntityList* pList) {
    std::vector<CVGraphic*> series;
    if (!pList) return series;
    for (size_t i = 0; i < pList->GetCount(); ++i)
        if (auto* pGraphic = dynamic_cast<CVGraphic*>(pList->GetAt(i))) series.push_back(pGraphic);
    return series;
}

std::vector<const CVGraphic*> ConstSeriesOf(EntityList* pList) {
    const std::vector<CVGraphic*> series = SeriesOf(pList);
    return {series.begin(), series.end()};
}

// A name typed without an extension gets the first one the filter offers.
QString WithExtension(const QString& path, const QStringList& extensions) {
    for (const QString& extension : extensions)
        if (path.endsWith(extension, Qt::CaseInsensitive)) return path;
    return path + extensions.front();
}

}  // namespace

CGraphsPlot::CGraphsPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    CreateActions();
}

CGraphsPlot::~CGraphsPlot() = default;

void CGraphsPlot::CreateActions() {
    auto add = [this](const QString& text, const char* action, auto slot) {
        auto* pAction = new QAction(text, this);
        pAction->setShortcuts(WindowKeys("graphs", action));
        pAction->setShortcutContext(Qt::WindowShortcut);
        connect(pAction, &QAction::triggered, this, slot);
        addAction(pAction);
        return pAction;
    };
    m_pCopy = add(QStringLiteral("Копировать рисунок"), "copyPicture", &CGraphsPlot::CopyPicture);
    m_pSavePicture = add(QStringLiteral("Сохранить рисунок…"), "savePicture",
                         &CGraphsPlot::OnSavePicture);
    m_pSaveData = add(QStringLiteral("Сохранить данные…"), "saveData",
                      &CGraphsPlot::OnSaveData);
    m_pShowPrevious = add(QStringLiteral("Показать прошлый расчёт"), "showPrevious",
                          &CGraphsPlot::OnShowPrevious);
    m_pShowPrevious->setCheckable(true);
    m_pShowPrevious->setChecked(true);
    m_pChoices = std::make_unique<CGraphsChoiceActions>(this, [this](const GraphsChoices& c) { SetChoices(c); });
}

const QList<QAction*>& CGraphsPlot::ChoiceActions() const { return m_pChoices->Actions(); }

void CGraphsPlot::SetChoices(const GraphsChoices& choices) {
    m_choices = choices;
    m_pChoices->Tick(choices);
    m_nHoverSample = -1;
    if (m_pSeries != nullptr) MapSeries();
    update();
}

void CGraphsPlot::SetSelectedIndex(int index) {
    m_nSelected = index;
    m_nHoverSample = -1;
    update();
}

void CGraphsPlot::SelectSeries(int index) {
    if (m_pSeries != nullptr)
        for (size_t i = 0; i < m_pSeries->GetCount(); ++i)
            m_pSeries->GetAt(i)->SetHighlight(static_cast<int>(i) == index, nullptr, nullptr);
    SetSelectedIndex(index);
}

CVGraphic* CGraphsPlot::SelectedGraphic() const {
    if (!m_pSeries || m_nSelected < 0 || static_cast<size_t>(m_nSelected) >= m_pSeries->GetCount()) return nullptr;
    return dynamic_cast<CVGraphic*>(m_pSeries->GetAt(static_cast<size_t>(m_nSelected)));
}

GraphsLegend CGraphsPlot::Legend() const {
    if (!m_choices.bLegend) return {};
    return GraphsLegendLayout(ConstSeriesOf(m_pSeries), FrameRect(), GraphsLabelFont(m_choices));
}

CRect CGraphsPlot::PlotRect() const { return GraphsPlotRect(FrameRect(), m_choices, Legend().nHeight); }

bool CGraphsPlot::ShowsPrevious() const { return m_pPrevious && m_pPrevious->m_bShow; }

void CGraphsPlot::MapSeries() {
    const CRect plot = PlotRect();
    const std::vector<CVGraphic*> current = SeriesOf(m_pSeries);
    m_scale = CGraphsScale(ConstSeriesOf(m_pSeries), m_choices.bCommonScale);
    std::vector<CPlotRange> ranges(current.size());
    for (size_t i = 0; i < current.size(); ++i)
        if (m_scale.RangeOf(*current[i], ranges[i])) current[i]->MapToRange(plot, ranges[i]);
    m_ghosts.clear();
    if (m_pPrevious) {
        const std::vector<const CVGraphic*> matched = m_pPrevious->Match(ConstSeriesOf(m_pSeries));
        for (size_t i = 0; i < matched.size(); ++i)
            if (matched[i]) m_ghosts.push_back(MakeGhost(*matched[i], *current[i], ranges[i], plot));
    }
    m_pShowPrevious->setChecked(ShowsPrevious());
}

void CGraphsPlot::Render(QPainter& painter) const {
    const CRect frame = FrameRect();
    CQtDrawContext dc(painter);
    dc.Rectangle(frame);  // a black outline around a white area

    const CVGraphic* pChosen = SelectedGraphic();
    CPlotRange range;
    if (pChosen == nullptr || !m_scale.RangeOf(*pChosen, range)) return;

    const CRect plot = PlotRect();
    GraphsChoices shown = m_choices;
    shown.bCommonScale = m_scale.IsCommon();
    DrawGraphsBackground(dc, frame, plot, range, m_scale.DivisorOf(*pChosen), shown);

    painter.save();
    painter.setClipRect(QRect(plot.left, plot.top, plot.right - plot.left, plot.bottom - plot.top),
                        Qt::IntersectClip);
    {
        CPolylineDrawContext curves(painter);
        if (ShowsPrevious())
            for (const auto& pGhost : m_ghosts) pGhost->Draw(curves, &plot);
        m_pSeries->DrawAll(curves, &plot);
    }
    painter.restore();
    DrawGraphsLegend(dc, Legend());
}

void CGraphsPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter);
    DrawReadout(painter);
}

void CGraphsPlot::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_pSeries != nullptr) MapSeries();
}

void CGraphsPlot::HoverAt(QPoint point) {
    const CRect plot = PlotRect();
    const CVGraphic* pChosen = SelectedGraphic();
    const bool bInside = point.x() >= plot.left && point.x() <= plot.right && point.y() >= plot.top &&
                         point.y() <= plot.bottom;
    CPlotRange range;
    const bool bRange = pChosen && m_scale.RangeOf(*pChosen, range);
    const int sample = bRange && bInside ? NearestSample(*pChosen, range, plot, point.x(), point.y()) : -1;
    if (sample == m_nHoverSample) return;
    m_nHoverSample = sample;
    update();
}

QString CGraphsPlot::ReadoutText() const {
    const CVGraphic* pChosen = SelectedGraphic();
    if (!pChosen || m_nHoverSample < 0 || m_nHoverSample >= pChosen->GetSampleCount()) return QString();
    const CSample& s = pChosen->GetSample(m_nHoverSample);
    return QString::fromStdString(::ReadoutText(s.x, s.y));
}

void CGraphsPlot::DrawReadout(QPainter& painter) const {
    const QString text = ReadoutText();
    if (text.isEmpty()) return;
    const CVGraphic* pChosen = SelectedGraphic();
    const CRect plot = PlotRect();
    // The marker sits where the curve's own mapping puts the sample.
    if (m_nHoverSample < pChosen->GetPointCount()) {
        const CPoint p = pChosen->GetPoint(m_nHoverSample);
        painter.save();
        painter.setClipRect(QRect(plot.left, plot.top, plot.right - plot.left + 1, plot.bottom - plot.top + 1));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(ColorFromRef(static_cast<COLORREF>(pChosen->m_nColor)), 2));
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(p.x, p.y), kMarkerRadius, kMarkerRadius);
        painter.restore();
    }
    // The text stands in the strip above the plot, clear of the curves.
    const int strip = GraphsPlotRect(FrameRect(), m_choices).top;
    QFont font = painter.font();
    font.setPixelSize(std::max(8, strip - 4));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(plot.left, plot.top - strip, plot.right - plot.left, strip), Qt::AlignRight | Qt::AlignVCenter, text);
}

void CGraphsPlot::mouseMoveEvent(QMouseEvent* event) {
    HoverAt(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

void CGraphsPlot::leaveEvent(QEvent* event) {
    m_nHoverSample = -1;
    update();
    QWidget::leaveEvent(event);
}

void CGraphsPlot::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(m_pCopy);
    menu.addAction(m_pSavePicture);
    menu.addAction(m_pSaveData);
    menu.addSeparator();
    menu.addAction(m_pShowPrevious);
    m_pShowPrevious->setEnabled(m_pPrevious != nullptr);
    menu.addSeparator();
    menu.addActions(ChoiceActions());
    menu.exec(event->globalPos());
}

QImage CGraphsPlot::PictureImage() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    Render(painter);
    return image;
}

void CGraphsPlot::CopyPicture() { QApplication::clipboard()->setImage(PictureImage()); }

bool CGraphsPlot::SavePicture(const QString& path) {
    QSaveFile file(path);
    bool bOk = file.open(QIODevice::WriteOnly);
    if (bOk && path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(size());
        generator.setViewBox(rect());
        generator.setResolution(96);
        generator.setTitle(QStringLiteral("Графики"));
        QPainter painter;
        bOk = painter.begin(&generator);
        if (bOk) {
            Render(painter);
            painter.end();
        }
    } else if (bOk) {
        bOk = PictureImage().save(&file, "PNG");
    }
    bOk = bOk && file.commit();
    if (!bOk) ReportError(Message(EMessage::PictureNotSaved, {path, file.errorString()}));
    return bOk;
}

bool CGraphsPlot::SaveData(const QString& path) {
    std::vector<const CVGraphic*> series;
    for (const CVGraphic* pSeries : SeriesOf(m_pSeries)) series.push_back(pSeries);
    std::ostringstream csv;
    WriteSeriesCsv(series, csv);
    const std::string bytes = csv.str();
    QSaveFile file(path);
    const bool bOk = file.open(QIODevice::WriteOnly) &&
                     file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()) &&
                     file.commit();
    if (!bOk) ReportError(Message(EMessage::DataNotSaved, {path, file.errorString()}));
    return bOk;
}

void CGraphsPlot::OnSavePicture() {
    const QString filter = QStringLiteral("Рисунок PNG (*.png);;Рисунок SVG (*.svg)");
    const QString path = m_pfnAskSavePath ? m_pfnAskSavePath(filter, QStringLiteral("Графики.png"))
                                          : QFileDialog::getSaveFileName(this, QString(), QStringLiteral("Графики.png"), filter);
    if (!path.isEmpty()) SavePicture(WithExtension(path, {QStringLiteral(".png"), QStringLiteral(".svg")}));
}

void CGraphsPlot::OnSaveData() {
    const QString filter = QStringLiteral("Данные CSV (*.csv)");
    const QString path = m_pfnAskSavePath ? m_pfnAskSavePath(filter, QStringLiteral("Графики.csv"))
                                          : QFileDialog::getSaveFileName(this, QString(), QStringLiteral("Графики.csv"), filter);
    if (!path.isEmpty()) SaveData(WithExtension(path, {QStringLiteral(".csv")}));
}

void CGraphsPlot::OnShowPrevious(bool bShow) {
    if (m_pPrevious) m_pPrevious->m_bShow = bShow;
    m_pShowPrevious->setChecked(ShowsPrevious());
    update();
}

void CGraphsPlot::ReportError(const QString& message) const {
    if (m_pfnShowError)
        m_pfnShowError(message);
    else
        QMessageBox::critical(const_cast<CGraphsPlot*>(this), QApplication::applicationDisplayName(), message);
}
