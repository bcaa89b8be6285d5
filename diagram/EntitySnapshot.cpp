// Object states as their file records: exact to the bit for every class,
// with nothing to keep in step when a class gains a field.
#include "diagram/EntitySnapshot.h"

#include "archive/Archive.h"

CEntitySnapshot::CEntitySnapshot(CVEntity& entity) : m_pEntity(&entity) {
    CArchive ar;
    entity.Serialize(ar);
    m_bytes = ar.TakeBuffer();
}

void CEntitySnapshot::Restore() const {
    // A body names no classes, so no class may be created while reading it.
    static const CClassRegistry noClasses;
    CArchive ar(m_bytes, noClasses);
    m_pEntity->Serialize(ar);
}
