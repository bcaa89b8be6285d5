// CVarnelView: the scrolling view of the drawing sheet. It shows the
// document's objects, feeds mouse events to the object being placed with
// the current tool, highlights and edits objects in modify mode, moves and
// deletes them, zooms, opens the sheet-size and database dialogs, and keeps
// the undo history of the document's changes.
#pragma once
#include <QAbstractScrollArea>
#include <functional>
#include <memory>

#include "diagram/Entity.h"

class EntityList;

class CDocChange;
class CVarnelDoc;
class CViewHost;
class CDialogHost;
struct CTrackingState;
class QPainter;
class QPrinter;
class QImage;
class QUndoStack;

class CVarnelView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CVarnelView(QWidget* parent = nullptr);
    ~CVarnelView() override;

    // Not owned. The host may be null (no menus: drawing mode is off).
    void SetDocument(CVarnelDoc* pDoc);
    void SetHost(CViewHost* pHost);
    // After every New and Open: scroll range from the sheet, modify mode.
    void OnInitialUpdate();

    // Paints the sheet and its objects; also used for printing and render.
    void DrawSheet(QPainter& painter);

    int Mode() const { return m_nMode; }
    unsigned Tool() const { return m_nTool; }
    CVEntity* Pending() const { return m_pPending.get(); }
    // How far the pending object is placed (what the next click does).
    const CTrackingState& Placing() const;
    CDialogHost& DialogHost();

    CVarnelDoc* Document() const { return m_pDoc; }
    // The element dialogs that Edit opens; not owned. Without one, an
    // edit is cancelled at once.
    void SetDialogHost(CDialogHost* pHost);
    // The sheet point shown at the client area's top-left corner.
    CPoint ScrollPosition() const;
    // Invalidates the whole client area, erases it and redraws it now.
    void RepaintView();
    // Leaves the history not clean until the next save, which no undo can
    // reach: for a change that could not be recorded, and for a model that
    // differs from its file from the start (recovered, imported).
    void MarkNotClean();
    // Runs fn with a drawing context on the client area, in client
    // coordinates; what it draws shows at once without a repaint.
    void DrawOnClient(const std::function<void(CDrawContext&)>& fn);
    // The picture the client area shows.
    const QImage& ClientImage() const;
    void PrintTo(QPrinter* printer);

    // The undo history. Its clean state is the document's modified flag and
    // nothing else sets that flag; the initial update of every New and Open
    // clears it.
    QUndoStack* UndoStack() const;
    // Makes a change and keeps it for undo under its name ("перемещение").
    // A mergeable change joins the previous step when that is a mergeable
    // change of the same object.
    void PushChange(std::unique_ptr<CDocChange> pChange, const QString& strName, bool bMergeable = false);
    // Opens the object's dialog; what the dialog changes can be undone.
    void EditEntity(CVEntity& entity, bool bDrawingMode);
    // A press is dragging an object: the model is half moved.
    bool IsDragging() const;
    // Removes the object at the index from the diagram, undoably.
    void DeleteEntityAt(size_t index);

public slots:
    void OnChooseTool(int commandId);  // 32773 to 32785
    void OnModify();                   // 32794
    void OnToggleDrawingMode();        // 32788
    void OnZoomIn();                   // 32771
    void OnZoomOut();                  // 32772
    void OnDocSize();                  // 32793
    void OnDatabase();                 // 32786
    void OnChooseMoveTool();           // 32795
    void OnDeleteObject();             // 32787: the highlighted object
    void OnUndo();                     // 57643
    void OnRedo();                     // 57644

signals:
    // The mode or the tool changed.
    void ModeChanged();
    // The document holds another model (after New and Open): what was
    // known of its objects is void.
    void DocumentReset();
    // Another tool, or none, was chosen while an object was half placed:
    // the object was dropped.
    void PlacingCancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void UpdateScrollRange();
    void EnsureClientImage();
    bool IsDrawingMode() const;
    void DispatchTrackEvent(TrackEvent event);
    void DispatchMouse(int kind, const QMouseEvent* event);
    void LeaveTool();
    void ShowContextMenu(const QPoint& globalPos);
    CPoint SheetPoint(CPoint client) const;
    EntityList* List() const;
    void OnHistoryChanged();

    // Moving with the mouse and the arrow keys.
    bool StartsMove(const QMouseEvent* event) const;
    void BeginDrag(CPoint client);
    void ContinueDrag(CPoint client);
    // Ends a drag in progress and keeps what it moved for undo.
    void FinishDrag();
    void HoverPick(CPoint client);
    bool NudgeHighlighted(CPoint delta);

    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
    CVarnelDoc* m_pDoc = nullptr;
    CViewHost* m_pHost = nullptr;
    unsigned m_nTool = 0;
    int m_nMode = MODE_IDLE;
    int m_bNeedNew = 1;
    std::unique_ptr<CVEntity> m_pPending;
};
