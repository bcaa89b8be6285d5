// Undoable changes of the model. Each makes itself (Apply, also on redo) and
// takes itself back (Revert). The shell keeps them on its undo stack, so a
// change is applied and reverted only in stack order and always finds the
// objects it names where it left them.
//
// Zoom rescales the whole model without being a change: a change recorded at
// one scale and replayed at the other converts what it puts back exactly as
// the zoom would have.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "diagram/EntitySnapshot.h"

class CVarnelDoc;

class CDocChange {
public:
    virtual ~CDocChange() = default;
    virtual void Apply(CVarnelDoc& doc) = 0;
    virtual void Revert(CVarnelDoc& doc) = 0;
    // Takes a later change into this one, so that both undo as one step;
    // false when it cannot.
    virtual bool Absorb(const CDocChange& later);
};

// Objects of the diagram that were moved or edited: their states before and
// after. Apply and Revert put the recorded states back.
class CObjectsChange : public CDocChange {
public:
    // Records the objects as they are now, before they change. Throws
    // CFileError when an object cannot be recorded.
    CObjectsChange(const CVarnelDoc& doc, const std::vector<CVEntity*>& objects);
    // Records them again after the change. False when no object differs:
    // there is nothing to undo.
    bool Finish();

    void Apply(CVarnelDoc& doc) override;
    void Revert(CVarnelDoc& doc) override;
    // A later change whose first object is this one's first, recorded at the
    // same scale: this change keeps its own states before and takes the
    // later states after (an object only the later one touched included).
    bool Absorb(const CDocChange& later) override;

private:
    void Restore(CVarnelDoc& doc, const std::vector<CEntitySnapshot>& states) const;

    std::vector<CEntitySnapshot> m_before;
    std::vector<CEntitySnapshot> m_after;
    int32_t m_bFullScale;
};

// An object that leaves or joins the list at a fixed place, keeping its id.
class CListChange : public CDocChange {
protected:
    void Detach(CVarnelDoc& doc);
    void Attach(CVarnelDoc& doc);

    size_t m_nIndex = 0;
    std::unique_ptr<CVEntity> m_pDetached;
    int32_t m_bDetachedScale = 1;  // the scale the detached object is at
};

// A new object added to the diagram: the first Apply gives it the next id;
// undoing takes it out and gives the id counter back.
class CPlaceChange : public CListChange {
public:
    explicit CPlaceChange(std::unique_ptr<CVEntity> pEntity);
    void Apply(CVarnelDoc& doc) override;
    void Revert(CVarnelDoc& doc) override;

private:
    bool m_bPlaced = false;
    int32_t m_nNextIdBefore = 0;
    int32_t m_nNextIdAfter = 0;
};

// The object at an index removed from the diagram; undoing puts it back at
// the same place with the same id, so the plot order of a run is unchanged.
class CRemoveChange : public CListChange {
public:
    explicit CRemoveChange(size_t index);
    void Apply(CVarnelDoc& doc) override;
    void Revert(CVarnelDoc& doc) override;
};

class CProgramChange : public CDocChange {
public:
    CProgramChange(const CVarnelDoc& doc, std::string strNew);
    void Apply(CVarnelDoc& doc) override;
    void Revert(CVarnelDoc& doc) override;

private:
    std::string m_strOld;
    std::string m_strNew;
};

class CSheetSizeChange : public CDocChange {
public:
    CSheetSizeChange(const CVarnelDoc& doc, int32_t nWidth, int32_t nHeight);
    void Apply(CVarnelDoc& doc) override;
    void Revert(CVarnelDoc& doc) override;

private:
    void SetSize(CVarnelDoc& doc, int32_t nWidth, int32_t nHeight) const;

    int32_t m_nOldWidth, m_nOldHeight;
    int32_t m_nNewWidth, m_nNewHeight;
    int32_t m_bFullScale;
};
