// One move of an object, as the user drags it or steps it with the arrow
// keys: the object, the connector ends that follow it, the sheet that holds
// it, and the record of everything the move changes, for undo.
#pragma once
#include <memory>
#include <vector>

#include "diagram/Moves.h"
#include "document/DocChanges.h"

class CVarnelDoc;

class CMoveSession {
public:
    // Starts moving an object of the document's diagram. Throws CFileError
    // when an object the move touches cannot be recorded.
    CMoveSession(CVarnelDoc& doc, CVEntity& object);

    // Puts the object at `offset` from where it started, as near as the
    // sheet allows, with its glued connector ends. True when anything moved.
    bool MoveTo(CPoint offset);
    CPoint Offset() const { return m_applied; }
    CVEntity* Object() const { return m_pObject; }
    // The change to keep for undo; null when nothing ended up moved.
    std::unique_ptr<CObjectsChange> Finish();

private:
    CVarnelDoc& m_doc;
    CVEntity* m_pObject;
    std::vector<CGluedEnd> m_glued;
    std::unique_ptr<CObjectsChange> m_pChange;
    CRect m_extent;  // at the start
    CPoint m_applied;
};
