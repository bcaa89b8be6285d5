// The undoable changes of the model and their conversion between the two
// scales.
#include "document/DocChanges.h"

#include <algorithm>

#include "base/Numbers.h"
#include "document/VarnelDoc.h"

namespace {

// What the zoom from the scale `from` to the scale `to` does to an object.
void Rescale(CVEntity& entity, int32_t from, int32_t to) {
    if (from == to) return;
    if (to == 1)
        entity.Scale(2.0, 2.0);
    else if (to == 0)
        entity.Scale(0.5, 0.5);
}

// ... and to a sheet length.
int32_t RescaleLength(int32_t value, int32_t from, int32_t to) {
    if (from == to) return value;
    if (to == 1) return SaturatingMul(value, 2);
    if (to == 0) return value / 2;  // truncates toward zero
    return value;
}

}  // namespace

bool CDocChange::Absorb(const CDocChange&) { return false; }

// ---- objects moved or edited ----

CObjectsChange::CObjectsChange(const CVarnelDoc& doc, const std::vector<CVEntity*>& objects)
    : m_bFullScale(doc.m_bFullScale) {
    for (CVEntity* pEntity : objects) m_before.emplace_back(*pEntity);
}

bool CObjectsChange::Finish() {
    m_after.clear();
    bool bChanged = false;
    for (const CEntitySnapshot& before : m_before) {
        m_after.emplace_back(*before.Entity());
        bChanged = bChanged || !m_after.back().SameState(before);
    }
    return bChanged;
}

void CObjectsChange::Restore(CVarnelDoc& doc, const std::vector<CEntitySnapshot>& states) const {
    for (const CEntitySnapshot& state : states) {
        state.Restore();
        Rescale(*state.Entity(), m_bFullScale, doc.m_bFullScale);
    }
}

void CObjectsChange::Apply(CVarnelDoc& doc) { Restore(doc, m_after); }

void CObjectsChange::Revert(CVarnelDoc& doc) { Restore(doc, m_before); }

bool CObjectsChange::Absorb(const CDocChange& later) {
    const auto* pLater = dynamic_cast<const CObjectsChange*>(&later);
    if (pLater == nullptr || pLater->m_bFullScale != m_bFullScale || m_before.empty() ||
        pLater->m_before.empty() || pLater->m_before.front().Entity() != m_before.front().Entity())
        return false;
    for (size_t i = 0; i < pLater->m_before.size(); ++i) {
        CVEntity* pEntity = pLater->m_before[i].Entity();
        auto mine = std::find_if(m_after.begin(), m_after.end(),
                                 [pEntity](const CEntitySnapshot& s) { return s.Entity() == pEntity; });
        if (mine != m_after.end()) {
            *mine = pLater->m_after[i];
        } else {
            m_before.push_back(pLater->m_before[i]);
            m_after.push_back(pLater->m_after[i]);
        }
    }
    return true;
}

// ---- objects leaving and joining the list ----

void CListChange::Detach(CVarnelDoc& doc) {
    m_pDetached = doc.m_pEntityList->RemoveAt(m_nIndex);
    m_bDetachedScale = doc.m_bFullScale;
}

void CListChange::Attach(CVarnelDoc& doc) {
    if (!m_pDetached) return;
    Rescale(*m_pDetached, m_bDetachedScale, doc.m_bFullScale);
    doc.m_pEntityList->InsertAt(m_nIndex, std::move(m_pDetached));
}

CPlaceChange::CPlaceChange(std::unique_ptr<CVEntity> pEntity) { m_pDetached = std::move(pEntity); }

void CPlaceChange::Apply(CVarnelDoc& doc) {
    EntityList& list = *doc.m_pEntityList;
    if (!m_bPlaced) {
        m_bPlaced = true;
        m_nNextIdBefore = list.m_nNextId;
        m_nIndex = list.GetCount();
        list.Add(std::move(m_pDetached));
        m_nNextIdAfter = list.m_nNextId;
        return;
    }
    Attach(doc);
    list.m_nNextId = m_nNextIdAfter;
}

void CPlaceChange::Revert(CVarnelDoc& doc) {
    Detach(doc);
    doc.m_pEntityList->m_nNextId = m_nNextIdBefore;
}

CRemoveChange::CRemoveChange(size_t index) { m_nIndex = index; }

void CRemoveChange::Apply(CVarnelDoc& doc) { Detach(doc); }

void CRemoveChange::Revert(CVarnelDoc& doc) { Attach(doc); }

// ---- program and sheet ----

CProgramChange::CProgramChange(const CVarnelDoc& doc, std::string strNew)
    : m_strOld(doc.m_strProgram), m_strNew(std::move(strNew)) {}

void CProgramChange::Apply(CVarnelDoc& doc) { doc.m_strProgram = m_strNew; }

void CProgramChange::Revert(CVarnelDoc& doc) { doc.m_strProgram = m_strOld; }

CSheetSizeChange::CSheetSizeChange(const CVarnelDoc& doc, int32_t nWidth, int32_t nHeight)
    : m_nOldWidth(doc.m_nWidth),
      m_nOldHeight(doc.m_nHeight),
      m_nNewWidth(nWidth),
      m_nNewHeight(nHeight),
      m_bFullScale(doc.m_bFullScale) {}

void CSheetSizeChange::SetSize(CVarnelDoc& doc, int32_t nWidth, int32_t nHeight) const {
    doc.m_nWidth = RescaleLength(nWidth, m_bFullScale, doc.m_bFullScale);
    doc.m_nHeight = RescaleLength(nHeight, m_bFullScale, doc.m_bFullScale);
}

void CSheetSizeChange::Apply(CVarnelDoc& doc) { SetSize(doc, m_nNewWidth, m_nNewHeight); }

void CSheetSizeChange::Revert(CVarnelDoc& doc) { SetSize(doc, m_nOldWidth, m_nOldHeight); }
