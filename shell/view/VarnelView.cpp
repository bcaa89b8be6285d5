// The drawing view. The client area is painted into a backing image that
// the widget only copies to the screen: rubber bands and hover highlights
// draw straight into that image, so an inverted figure drawn twice restores
// the picture exactly and a mouse move never repaints the whole sheet.
#include "shell/view/VarnelView.h"

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include "base/Numbers.h"
#include "diagram/DialogHost.h"
#include "diagram/EntityList.h"
#include "diagram/ToolTable.h"
#include "document/VarnelDoc.h"
#include "shell/view/CommandIds.h"
#include "shell/view/QtDrawContext.h"
#include "shell/view/SheetPainter.h"
#include "shell/view/ViewHost.h"
#include "shell/view/ViewImpl.h"

namespace {

uint32_t KeyFlags(const QMouseEvent* event) {
    // The mouse message's key-state bits; the objects ignore them.
    uint32_t flags = 0;
    if (event->buttons() & Qt::LeftButton) flags |= 0x1;
    if (event->buttons() & Qt::RightButton) flags |= 0x2;
    if (event->modifiers() & Qt::ShiftModifier) flags |= 0x4;
    if (event->modifiers() & Qt::ControlModifier) flags |= 0x8;
    if (event->buttons() & Qt::MiddleButton) flags |= 0x10;
    return flags;
}

CPoint ClientPoint(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

// Names of the steps in the undo history ("Отменить добавление").
const QString kPlaceName = QStringLiteral("добавление");
const QString kSheetSizeName = QStringLiteral("изменение размера чертежа");

}  // namespace

CVarnelView::CVarnelView(QWidget* parent) : QAbstractScrollArea(parent), m_pImpl(std::make_unique<Impl>()) {
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_pImpl->undoStack, &QUndoStack::indexChanged, this, [this] { OnHistoryChanged(); });
    connect(&m_pImpl->undoStack, &QUndoStack::cleanChanged, this, [this](bool bClean) {
        if (m_pDoc != nullptr) m_pDoc->SetModifiedFlag(!bClean);
    });
}

CVarnelView::~CVarnelView() = default;

void CVarnelView::SetDocument(CVarnelDoc* pDoc) {
    m_pImpl->pDrag.reset();
    m_pImpl->undoStack.clear();
    m_pDoc = pDoc;
    RepaintView();
}

void CVarnelView::SetHost(CViewHost* pHost) {
    m_pHost = pHost;
}

void CVarnelView::SetDialogHost(CDialogHost* pHost) {
    m_pImpl->pDialogHost = pHost;
}

CDialogHost& CVarnelView::DialogHost() {
    if (m_pImpl->pDialogHost != nullptr) return *m_pImpl->pDialogHost;
    return m_pImpl->noDialogs;
}

void CVarnelView::OnInitialUpdate() {
    // The objects a drag or the history named belong to the model before.
    m_pImpl->pDrag.reset();
    m_pImpl->undoStack.clear();
    // A second view of the same model (printing) keeps the first one's cell.
    if (m_pDoc && m_pDoc->m_pEntityList && m_pDoc->m_pEntityList->UsesOwnFontCell())
        m_pDoc->m_pEntityList->UseFontCell(&m_pImpl->fontCell);
    UpdateScrollRange();
    m_nMode = MODE_MODIFY;
    RepaintView();
    emit ModeChanged();
    emit DocumentReset();
}

// ---- scrolling ------------------------------------------------------------

void CVarnelView::UpdateScrollRange() {
    const int32_t width = m_pDoc ? std::max(0, m_pDoc->m_nWidth) : 0;
    const int32_t height = m_pDoc ? std::max(0, m_pDoc->m_nHeight) : 0;
    // One sheet unit per pixel; a page is a tenth of the sheet, a line a
    // tenth of a page.
    auto setUp = [](QScrollBar* bar, int32_t total, int visible) {
        bar->setRange(0, std::max(0, total - visible));
        bar->setPageStep(std::max(1, total / 10));
        bar->setSingleStep(std::max(1, total / 100));
    };
    setUp(horizontalScrollBar(), width, viewport()->width());
    setUp(verticalScrollBar(), height, viewport()->height());
}

CPoint CVarnelView::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void CVarnelView::scrollContentsBy(int, int) {
    RepaintView();
}

void CVarnelView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    RepaintView();
}

// ---- painting -------------------------------------------------------------

void CVarnelView::DrawSheet(QPainter& painter) {
    if (m_pDoc == nullptr) return;
    const CRect client{0, 0, viewport()->width(), viewport()->height()};
    DrawDocumentSheet(*m_pDoc, painter, client);
}

void CVarnelView::EnsureClientImage() {
    const qreal ratio = devicePixelRatioF();
    const QSize size = viewport()->size() * ratio;
    if (!m_pImpl->bStale && m_pImpl->image.size() == size) return;
    if (m_pImpl->image.size() != size) {
        m_pImpl->image = QImage(size, QImage::Format_RGB32);
        m_pImpl->image.setDevicePixelRatio(ratio);
    }
    m_pImpl->image.fill(palette().color(QPalette::Window));
    QPainter painter(&m_pImpl->image);
    const CPoint scroll = ScrollPosition();
    painter.translate(-scroll.x, -scroll.y);
    DrawSheet(painter);
    m_pImpl->bStale = false;
}

const QImage& CVarnelView::ClientImage() const {
    return m_pImpl->image;
}

void CVarnelView::RepaintView() {
    m_pImpl->bStale = true;
    if (m_pImpl->bPainting) return;
    EnsureClientImage();
    viewport()->update();
}

void CVarnelView::DrawOnClient(const std::function<void(CDrawContext&)>& fn) {
    EnsureClientImage();
    {
        QPainter painter(&m_pImpl->image);
        CQtDrawContext dc(painter);
        fn(dc);
    }
    viewport()->update();
}

void CVarnelView::paintEvent(QPaintEvent*) {
    EnsureClientImage();
    QPainter painter(viewport());
    painter.drawImage(0, 0, m_pImpl->image);
}

// ---- tools and mouse ------------------------------------------------------

void CVarnelView::MarkNotClean() { m_pImpl->undoStack.resetClean(); }

bool CVarnelView::IsDrawingMode() const {
    return m_pHost != nullptr && m_pHost->IsDrawingMode();
}

const CTrackingState& CVarnelView::Placing() const { return m_pImpl->tracking; }

void CVarnelView::DispatchTrackEvent(TrackEvent event) {
    event.pState = &m_pImpl->tracking;
    if (event.nMode == MODE_DRAW) {
        if (m_bNeedNew != 0) {
            // Nothing for a command that places no object (the move tool).
            const std::optional<ETool> tool = ToolOfCommand(static_cast<int>(m_nTool));
            m_pPending = tool ? MakeToolEntity(*tool) : nullptr;
        }
        if (!m_pPending) return;
        m_bNeedNew = m_pPending->Track(event);
        if (event.nKind == TE_PRESS) emit ModeChanged();  // the next click's prompt
        if (m_bNeedNew == 1) {
            // Placed in client coordinates; the sheet is scrolled under them.
            m_pPending->Offset(ScrollPosition());
            if (List() != nullptr) PushChange(std::make_unique<CPlaceChange>(std::move(m_pPending)), kPlaceName);
            m_pPending.reset();
            RepaintView();
        }
    } else if (event.nMode == MODE_MODIFY) {
        if (m_pDoc == nullptr || !m_pDoc->m_pEntityList) return;
        EntityList& list = *m_pDoc->m_pEntityList;
        const CPoint scroll = ScrollPosition();
        const CPoint sheetPoint{SaturatingAdd(event.point.x, scroll.x), SaturatingAdd(event.point.y, scroll.y)};
        if (event.nKind == TE_MOVE) {
            EnsureClientImage();
            {
                QPainter painter(&m_pImpl->image);
                painter.translate(-scroll.x, -scroll.y);
                CQtDrawContext dc(painter);
                list.HighlightAt(sheetPoint, &dc);
            }
            viewport()->update();
        } else if (event.nKind == TE_PRESS) {
            CVEntity* pHit = list.HighlightAt(sheetPoint, nullptr);
            if (pHit == nullptr) return;
            EditEntity(*pHit, IsDrawingMode());
            RepaintView();
        }
    }
}

void CVarnelView::DispatchMouse(int kind, const QMouseEvent* event) {
    TrackEvent track;
    track.nKind = kind;
    track.nMode = m_nMode;
    track.point = ClientPoint(event);
    track.nFlags = KeyFlags(event);
    if (m_nMode != MODE_DRAW) {
        DispatchTrackEvent(track);  // modify mode makes its own context
        return;
    }
    // A client context for the object's rubber band, alive for this event.
    EnsureClientImage();
    {
        QPainter painter(&m_pImpl->image);
        CQtDrawContext dc(painter);
        track.pDC = &dc;
        m_pImpl->bPainting = true;
        DispatchTrackEvent(track);
        m_pImpl->bPainting = false;
    }
    if (m_pImpl->bStale)
        RepaintView();
    else
        viewport()->update();
}

void CVarnelView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (StartsMove(event)) {
            BeginDrag(ClientPoint(event));
        } else {
            const bool bWasPlacing = m_pImpl->tracking.bTwoClickFirstPlaced;
            DispatchMouse(TE_PRESS, event);
            m_pImpl->pressPoint = ClientPoint(event);
            m_pImpl->bReleasePlaces = m_nMode == MODE_DRAW && !bWasPlacing && m_pImpl->tracking.bTwoClickFirstPlaced;
        }
    } else if (event->button() == Qt::RightButton) {
        FinishDrag();
        ShowContextMenu(event->globalPosition().toPoint());
    }
    event->accept();
}

void CVarnelView::mouseMoveEvent(QMouseEvent* event) {
    if (m_pImpl->pDrag)
        ContinueDrag(ClientPoint(event));
    else if (m_nMode == MODE_MOVE)
        HoverPick(ClientPoint(event));
    else
        DispatchMouse(TE_MOVE, event);
    event->accept();
}

void CVarnelView::mouseReleaseEvent(QMouseEvent* event) {
    // A drag ends on release. Placing and editing act on presses, but a
    // two-click object pressed and dragged is placed as if clicked where
    // the button went down and where it came up; a release closer than the
    // drag distance leaves a click, for click, move, click.
    if (event->button() == Qt::LeftButton) {
        FinishDrag();
        const CPoint p = ClientPoint(event);
        const QPoint moved(p.x - m_pImpl->pressPoint.x, p.y - m_pImpl->pressPoint.y);
        if (std::exchange(m_pImpl->bReleasePlaces, false) && m_pImpl->tracking.bTwoClickFirstPlaced &&
            moved.manhattanLength() >= QApplication::startDragDistance())
            DispatchMouse(TE_PRESS, event);
    }
    event->accept();
}

void CVarnelView::LeaveTool() {
    FinishDrag();
    // Also an object left half placed when drawing mode was switched off.
    const bool bHalfPlaced =
        m_pPending && (m_pImpl->tracking.bTwoClickFirstPlaced || m_pImpl->tracking.nFourClickStage != 0);
    m_pImpl->bReleasePlaces = false;
    TrackEvent finish;
    finish.nKind = TE_FINISH;
    finish.nMode = m_nMode;
    DispatchTrackEvent(finish);
    m_pPending.reset();
    m_pImpl->tracking = {};  // the finish reaches no object outside drawing mode
    m_nTool = 0;
    m_nMode = MODE_IDLE;
    m_bNeedNew = 1;
    if (m_pDoc != nullptr && m_pDoc->m_pEntityList) m_pDoc->m_pEntityList->HighlightNone(nullptr);
    RepaintView();  // the rubber band goes with the object
    if (bHalfPlaced) emit PlacingCancelled();
    emit ModeChanged();
}

void CVarnelView::OnChooseTool(int commandId) {
    LeaveTool();
    m_nTool = static_cast<unsigned>(commandId);
    m_nMode = MODE_DRAW;
    TrackEvent start;
    start.nKind = TE_START;
    start.nMode = MODE_DRAW;
    DispatchTrackEvent(start);
    emit ModeChanged();
}

void CVarnelView::OnModify() {
    FinishDrag();
    m_nMode = MODE_MODIFY;
    emit ModeChanged();
}

void CVarnelView::OnToggleDrawingMode() {
    FinishDrag();
    if (IsDrawingMode()) {
        if (m_pHost != nullptr) m_pHost->SwitchMenu(IDR_MAINFRAME);
        m_nMode = MODE_MODIFY;
    } else {
        if (m_pHost != nullptr) m_pHost->SwitchMenu(IDR_DRAWMENU);
        m_nMode = MODE_IDLE;
    }
    emit ModeChanged();
}

void CVarnelView::ShowContextMenu(const QPoint& globalPos) {
    if (!IsDrawingMode()) return;
    LeaveTool();
    if (QMenu* pMenu = m_pHost->ContextSubmenu()) pMenu->popup(globalPos);
}

// ---- zoom and dialogs -----------------------------------------------------

void CVarnelView::OnZoomIn() {
    if (m_pDoc != nullptr) m_pDoc->ZoomIn();
    UpdateScrollRange();
    RepaintView();
}

void CVarnelView::OnZoomOut() {
    if (m_pDoc != nullptr) m_pDoc->ZoomOut();
    UpdateScrollRange();
    RepaintView();
}

void CVarnelView::OnDocSize() {
    if (m_pDoc == nullptr || m_pHost == nullptr) return;
    int32_t width = m_pDoc->m_nWidth;
    int32_t height = m_pDoc->m_nHeight;
    // The same size again is no change and leaves the model as it was.
    if (m_pHost->AskSheetSize(width, height) && (width != m_pDoc->m_nWidth || height != m_pDoc->m_nHeight))
        PushChange(std::make_unique<CSheetSizeChange>(*m_pDoc, width, height), kSheetSizeName);
    UpdateScrollRange();
    RepaintView();
}

void CVarnelView::OnDatabase() {
    if (m_pHost != nullptr) m_pHost->ShowDatabase();
}

// ---- printing -------------------------------------------------------------

void CVarnelView::PrintTo(QPrinter* printer) {
    QPainter painter(printer);
    // One sheet unit is one screen pixel at 96 dots per inch.
    const double scale = printer->resolution() / 96.0;
    painter.scale(scale, scale);
    DrawSheet(painter);
}
