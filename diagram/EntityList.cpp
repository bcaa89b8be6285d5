// EntityList: ownership, numbering, the whole-diagram operations and the
// list record (count, then each object with its class tag).
#include "diagram/EntityList.h"

#include <algorithm>
#include <string>

#include "archive/Archive.h"
#include "base/Numbers.h"

EntityList::~EntityList() { DeleteAll(); }

bool EntityList::Add(std::unique_ptr<CVEntity> pEntity) {
    pEntity->m_nId = m_nNextId++;
    Adopt(*pEntity);
    m_entities.push_back(std::move(pEntity));
    return true;
}

void EntityList::AppendLoaded(std::unique_ptr<CVEntity> pEntity) {
    Adopt(*pEntity);
    m_entities.push_back(std::move(pEntity));
}

std::unique_ptr<CVEntity> EntityList::RemoveAt(size_t index) {
    if (index >= m_entities.size()) return nullptr;
    std::unique_ptr<CVEntity> removed = std::move(m_entities[index]);
    m_entities.erase(m_entities.begin() + static_cast<std::ptrdiff_t>(index));
    removed->m_pFontCell = nullptr;  // the list's own cell may die before the object
    return removed;
}

void EntityList::InsertAt(size_t index, std::unique_ptr<CVEntity> pEntity) {
    index = std::min(index, m_entities.size());
    Adopt(*pEntity);
    m_entities.insert(m_entities.begin() + static_cast<std::ptrdiff_t>(index), std::move(pEntity));
}

size_t EntityList::IndexOf(const CVEntity* pEntity) const {
    for (size_t i = 0; i < m_entities.size(); ++i)
        if (m_entities[i].get() == pEntity) return i;
    return m_entities.size();
}

void EntityList::DeleteAll() {
    m_nNextId = 0;
    // Head first, as the objects were added.
    std::vector<std::unique_ptr<CVEntity>> doomed = std::move(m_entities);
    m_entities.clear();
    for (auto& pEntity : doomed) pEntity.reset();
}

void EntityList::DrawAll(CDrawContext& dc, const CRect* pClient) {
    for (auto& pEntity : m_entities) pEntity->Draw(dc, pClient);
}

bool EntityList::ScaleAll(double fx, double fy) {
    for (auto& pEntity : m_entities) pEntity->Scale(fx, fy);
    m_pFontCell->Scale(fx, fy);
    return true;
}

void EntityList::UseFontCell(CFontCell* pCell) {
    if (!pCell) m_ownFontCell = *m_pFontCell;
    m_pFontCell = pCell ? pCell : &m_ownFontCell;
    for (auto& pEntity : m_entities) Adopt(*pEntity);
}

CVEntity* EntityList::HighlightAt(CPoint p, CDrawContext* pDC) {
    CVEntity* pTop = nullptr;
    for (auto& pEntity : m_entities) {
        const bool hit = pEntity->HitTest(p);
        pEntity->SetHighlight(hit, pDC, nullptr);
        if (hit) pTop = pEntity.get();
    }
    return pTop;
}

bool EntityList::HighlightNone(CDrawContext* pDC) {
    for (auto& pEntity : m_entities) pEntity->SetHighlight(false, pDC, nullptr);
    return true;
}

void EntityList::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<uint32_t>(m_entities.size()));
        for (auto& pEntity : m_entities) ar.WriteObject(*pEntity);
        return;
    }
    // Read everything first, so a damaged file adds nothing to the list.
    const uint32_t count = ar.ReadCount();
    std::vector<std::unique_ptr<CVEntity>> loaded;
    for (uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CObject> pObject = ar.ReadObject();
        auto* pEntity = dynamic_cast<CVEntity*>(pObject.get());
        if (pEntity == nullptr) {
            const CRuntimeClass* pClass = pObject ? pObject->GetRuntimeClass() : nullptr;
            ar.Fail(std::string(pClass ? pClass->m_lpszClassName : "an empty object") +
                    " is not a diagram object");
        }
        pObject.release();
        loaded.emplace_back(pEntity);
    }
    for (auto& pEntity : loaded) AppendLoaded(std::move(pEntity));
}
