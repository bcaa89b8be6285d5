// CVarnelView: the scrolling view of the drawing sheet. It shows the
// document's objects, feeds mouse events to the object being placed with
// the current tool, highlights and edits objects in modify mode, zooms, and
// opens the sheet-size and database dialogs.
#pragma once
#include <QAbstractScrollArea>
#include <functional>
#include <memory>

#include "diagram/Entity.h"

class CVarnelDoc;
class CViewHost;
class CDialogHost;
class QPainter;
class QPrinter;
class QImage;

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
    CDialogHost& DialogHost();

    CVarnelDoc* Document() const { return m_pDoc; }
    // The element dialogs that Edit opens; not owned. Without one, an
    // edit is cancelled at once.
    void SetDialogHost(CDialogHost* pHost);
    // The sheet point shown at the client area's top-left corner.
    CPoint ScrollPosition() const;
    // Invalidates the whole client area, erases it and redraws it now.
    void RepaintView();
    // Sets the document's modified flag (the document announces it).
    void SetModified();
    // Runs fn with a drawing context on the client area, in client
    // coordinates; what it draws shows at once without a repaint.
    void DrawOnClient(const std::function<void(CDrawContext&)>& fn);
    // The picture the client area shows.
    const QImage& ClientImage() const;
    void PrintTo(QPrinter* printer);

public slots:
    void OnChooseTool(int commandId);  // 32773 to 32785
    void OnModify();                   // 32794
    void OnToggleDrawingMode();        // 32788
    void OnZoomIn();                   // 32771
    void OnZoomOut();                  // 32772
    void OnDocSize();                  // 32793
    void OnDatabase();                 // 32786

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollRange();
    void EnsureClientImage();
    bool IsDrawingMode() const;
    void DispatchTrackEvent(TrackEvent event);
    void DispatchMouse(int kind, const QMouseEvent* event);
    void LeaveTool();
    void ShowContextMenu(const QPoint& globalPos);

    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
    CVarnelDoc* m_pDoc = nullptr;
    CViewHost* m_pHost = nullptr;
    unsigned m_nTool = 0;
    int m_nMode = MODE_IDLE;
    int m_bNeedNew = 1;
    std::unique_ptr<CVEntity> m_pPending;
};
