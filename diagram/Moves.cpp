// Picking, glue and the sheet limit of moves. Nothing here draws except
// through the highlight of the picked object.
#include "diagram/Moves.h"

#include <algorithm>
#include <utility>

#include "base/Numbers.h"

CVEntity* PickAt(const EntityList& list, CPoint p) {
    CVEntity* pTop = nullptr;
    for (const auto& pEntity : list)
        if (pEntity->HitTest(p) || pEntity->IsOnOutline(p, kMoveTolerance)) pTop = pEntity.get();
    return pTop;
}

CVEntity* HighlightPick(EntityList& list, CPoint p, CDrawContext* pDC) {
    CVEntity* pPicked = PickAt(list, p);
    for (const auto& pEntity : list) pEntity->SetHighlight(pEntity.get() == pPicked, pDC, nullptr);
    return pPicked;
}

CVEntity* HighlightedObject(const EntityList& list) {
    CVEntity* pTop = nullptr;
    for (const auto& pEntity : list)
        if (pEntity->m_bHighlight != 0) pTop = pEntity.get();
    return pTop;
}

std::vector<CGluedEnd> FindGluedEnds(const EntityList& list, const CVEntity& moved) {
    std::vector<CGluedEnd> glued;
    if (!moved.HoldsConnectors()) return glued;
    for (const auto& pEntity : list) {
        if (pEntity.get() == &moved) continue;
        for (const CConnectorEnd& end : pEntity->ConnectorEnds())
            if (moved.IsOnOutline(std::as_const(*pEntity).GetPoint(end.nPoint), kMoveTolerance))
                glued.push_back(CGluedEnd{pEntity.get(), end});
    }
    return glued;
}

std::vector<CVEntity*> ObjectsOfMove(CVEntity& moved, const std::vector<CGluedEnd>& glued) {
    std::vector<CVEntity*> objects{&moved};
    for (const CGluedEnd& g : glued)
        if (std::find(objects.begin(), objects.end(), g.pConnector) == objects.end())
            objects.push_back(g.pConnector);
    return objects;
}

namespace {

void ShiftPoint(CPoint& p, CPoint delta) {
    p.x = SaturatingAdd(p.x, delta.x);
    p.y = SaturatingAdd(p.y, delta.y);
}

// The allowed range of a move along one axis: never further off the sheet
// than the object already is.
int32_t KeepOnAxis(int32_t low, int32_t high, int32_t size, int32_t delta) {
    const int64_t least = std::min<int64_t>(0, 0 - int64_t{low});
    const int64_t most = std::max<int64_t>(0, int64_t{size} - high);
    return static_cast<int32_t>(std::clamp<int64_t>(delta, least, most));
}

}  // namespace

void MoveWithGlue(CVEntity& moved, const std::vector<CGluedEnd>& glued, CPoint delta) {
    moved.Offset(delta);
    for (const CGluedEnd& g : glued) {
        ShiftPoint(g.pConnector->GetPoint(g.end.nPoint), delta);
        if (g.end.nCompanion >= 0) ShiftPoint(g.pConnector->GetPoint(g.end.nCompanion), delta);
    }
}

CPoint KeepOnSheet(const CRect& extent, int32_t nWidth, int32_t nHeight, CPoint delta) {
    return CPoint{KeepOnAxis(extent.left, extent.right, nWidth, delta.x),
                  KeepOnAxis(extent.top, extent.bottom, nHeight, delta.y)};
}
