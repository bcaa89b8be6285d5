// CVEntity: the base of every diagram object and plot series. An ordered
// list of integer points plus the virtual operations the view, the
// document and the interpreter use without ever asking for an object's kind.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "archive/Object.h"
#include "diagram/DrawContext.h"
#include "diagram/FontCell.h"
#include "diagram/Geometry.h"
#include "diagram/SymbolRec.h"
#include "diagram/TrackEvent.h"

class CArchive;
class CDialogHost;

// Run-time class plumbing: every serializable class has schema 1 and can be
// created by its name while a file is read.
#define VARNEL_DECLARE_SERIAL(cls)                                           \
public:                                                                      \
    static const CRuntimeClass class##cls;                                   \
    const CRuntimeClass* GetRuntimeClass() const override { return &class##cls; }

#define VARNEL_IMPLEMENT_SERIAL(cls)                                         \
    const CRuntimeClass cls::class##cls{                                     \
        #cls, 1, []() -> std::unique_ptr<CObject> { return std::make_unique<cls>(); }};

// Results of Edit.
enum : int {
    EDIT_REJECTED = 0,   // a table edit ended with rejected or empty data
    EDIT_NO_DIALOG = 1,  // the object has no dialog
    EDIT_CHANGED = 2,    // the user changed something
    EDIT_UNCHANGED = -1, // nothing changed, or cancelled
};

// One end of a connector (line, spline, arrow) that sticks to an element's
// outline, and the control point beside it that travels with it so that the
// curve still leaves the end in the same direction (-1: none).
struct CConnectorEnd {
    int nPoint = 0;
    int nCompanion = -1;
    friend bool operator==(const CConnectorEnd&, const CConnectorEnd&) = default;
};

class CVEntity;
// Whether an Edit result means the document changed: EDIT_CHANGED, or a
// rejected table edit that wrote changes back before refusing the values.
bool EditChangedDocument(const CVEntity& entity, int editResult);

class CVEntity : public CObject {
    VARNEL_DECLARE_SERIAL(CVEntity)

public:
    CVEntity() = default;
    CVEntity(const CVEntity&) = delete;
    CVEntity& operator=(const CVEntity&) = delete;

    void Serialize(CArchive& ar) override;

    virtual void Draw(CDrawContext& dc, const CRect* pClient);
    virtual bool Scale(double fx, double fy);
    // No range check beyond a debug assertion: callers keep 0 <= i < count.
    virtual CPoint& GetPoint(int index);
    const CPoint& GetPoint(int index) const;
    virtual bool AddPoint(CPoint p);
    virtual void ClearPoints();
    virtual void Offset(CPoint delta);
    virtual int GetPointCount() const;
    virtual int Track(const TrackEvent& event);
    virtual int Edit(bool bDrawingMode, CDialogHost& host);
    virtual std::string GetName(SymbolRec* pRec);
    virtual bool HitTest(CPoint p) const;
    virtual void SetHighlight(bool bOn, CDrawContext* pDC, const CPoint* pScroll);
    // True when the last Edit returned EDIT_REJECTED although it had written
    // changes back (a table keeps its new name and range when its values are
    // refused), so the document still has to be saved.
    virtual bool LastEditLeftChanges() const { return false; }

    // Whether p lies within nTolerance of what the object draws (for a text,
    // of the box its line fills). Moving picks objects by it, and connector
    // ends that lie on an element's outline move with the element.
    virtual bool IsOnOutline(CPoint p, int32_t nTolerance) const;
    // True for the model elements: connector ends on their outline follow
    // them when they move.
    virtual bool HoldsConnectors() const { return false; }
    // The ends that can stick to an element; none for shapes and elements.
    virtual std::vector<CConnectorEnd> ConnectorEnds() const { return {}; }
    // The box around what the object draws; moves keep it on the sheet.
    virtual CRect GetExtent() const;
    // The text a text object shows as its label (an expert's is its name);
    // empty for objects without one.
    virtual std::string GetLabel() const { return ""; }

    // The label font cell of the list the object is in.
    const CFontCell& FontCell() const { return m_pFontCell ? *m_pFontCell : kStartFontCell; }

    int32_t m_nId = 0;
    int32_t m_bHighlight = 0;
    const CFontCell* m_pFontCell = nullptr;  // set by the list that holds the object

protected:
    // Points the class's drawing and hit testing rely on; a record with
    // fewer is a damaged file.
    virtual int RequiredPointCount() const { return 0; }
    // Moves the first `count` points only (position points; the rest are
    // shape parameters that keep their values).
    void OffsetFirst(int count, CPoint delta);

    std::vector<CPoint> m_points;
};
