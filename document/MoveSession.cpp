// A move from its start to its end. The glued ends are found once, at the
// start: an end the object passes over on its way does not stick to it.
#include "document/MoveSession.h"

#include "base/Numbers.h"
#include "document/VarnelDoc.h"

CMoveSession::CMoveSession(CVarnelDoc& doc, CVEntity& object)
    : m_doc(doc), m_pObject(&object), m_extent(object.GetExtent()) {
    m_glued = FindGluedEnds(*doc.m_pEntityList, object);
    m_pChange = std::make_unique<CObjectsChange>(doc, ObjectsOfMove(object, m_glued));
}

bool CMoveSession::MoveTo(CPoint offset) {
    const CPoint allowed = KeepOnSheet(m_extent, m_doc.m_nWidth, m_doc.m_nHeight, offset);
    const CPoint step{SaturatingSub(allowed.x, m_applied.x), SaturatingSub(allowed.y, m_applied.y)};
    if (step == CPoint{}) return false;
    MoveWithGlue(*m_pObject, m_glued, step);
    m_applied = allowed;
    return true;
}

std::unique_ptr<CObjectsChange> CMoveSession::Finish() {
    if (!m_pChange || !m_pChange->Finish()) return nullptr;
    return std::move(m_pChange);
}
