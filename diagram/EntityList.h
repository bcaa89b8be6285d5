// EntityList: the owning, numbered list of diagram objects (the document's
// diagram, the graphs window's series) with its whole-list operations.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "diagram/Entity.h"

class EntityList {
public:
    EntityList() = default;
    EntityList(const EntityList&) = delete;
    EntityList& operator=(const EntityList&) = delete;
    ~EntityList();

    // Gives the object the next id and appends it. Returns true.
    bool Add(std::unique_ptr<CVEntity> pEntity);
    // Appends keeping the object's id; the id counter does not move.
    void AppendLoaded(std::unique_ptr<CVEntity> pEntity);
    // Removes and returns the object at index (null when out of range).
    std::unique_ptr<CVEntity> RemoveAt(size_t index);
    // Puts an object back at index (at the tail when index is past it),
    // keeping its id; the id counter does not move.
    void InsertAt(size_t index, std::unique_ptr<CVEntity> pEntity);
    // The position of the object in the list, or GetCount() when absent.
    size_t IndexOf(const CVEntity* pEntity) const;
    void DeleteAll();

    void DrawAll(CDrawContext& dc, const CRect* pClient);
    bool ScaleAll(double fx, double fy);
    CVEntity* HighlightAt(CPoint p, CDrawContext* pDC);
    bool HighlightNone(CDrawContext* pDC);

    // Count, then every object with its class tag. Loading appends.
    void Serialize(CArchive& ar);

    size_t GetCount() const { return m_entities.size(); }
    bool IsEmpty() const { return m_entities.empty(); }
    CVEntity* GetAt(size_t index) const { return m_entities[index].get(); }
    auto begin() const { return m_entities.begin(); }
    auto end() const { return m_entities.end(); }

    // The cell the objects make their label font from: the list's own,
    // until an owner that outlives the list lends one. Null takes the own
    // back, with the lent cell's size.
    void UseFontCell(CFontCell* pCell);
    const CFontCell& FontCell() const { return *m_pFontCell; }
    bool UsesOwnFontCell() const { return m_pFontCell == &m_ownFontCell; }

    int32_t m_nNextId = 0;

private:
    void Adopt(CVEntity& entity) { entity.m_pFontCell = m_pFontCell; }

    std::vector<std::unique_ptr<CVEntity>> m_entities;
    CFontCell m_ownFontCell;
    CFontCell* m_pFontCell = &m_ownFontCell;
};
