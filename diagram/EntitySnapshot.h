// The record of one object at one moment, kept to put the object back into
// that state later: undo and redo of moves and edits.
#pragma once
#include <cstdint>
#include <vector>

#include "diagram/Entity.h"

class CEntitySnapshot {
public:
    // Records the object as it is now, in the form a model file holds it.
    // Throws CFileError when the object cannot be written (a table whose
    // values are out of step with its range).
    explicit CEntitySnapshot(CVEntity& entity);

    CVEntity* Entity() const { return m_pEntity; }
    // Loads the recorded state back into the object; its highlight stays.
    void Restore() const;
    bool SameState(const CEntitySnapshot& other) const { return m_bytes == other.m_bytes; }

private:
    CVEntity* m_pEntity;
    std::vector<uint8_t> m_bytes;
};
