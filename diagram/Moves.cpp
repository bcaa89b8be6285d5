// Picking, glue and the sheet limit of moves. Nothing here draws except
// through the highlight of the picked object.
#include "diagram/Moves.h"

#include <algorithm>
#include <cmath>
#include <complex>
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

namespace {

std::vector<CPoint> PointsOf(const CVEntity& entity) {
    std::vector<CPoint> points;
    for (int i = 0; i < entity.GetPointCount(); ++i) points.push_back(entity.GetPoint(i));
    return points;
}

}  // namespace

std::vector<CGluedEnd> FindGluedEnds(const EntityList& list, const CVEntity& moved) {
    std::vector<CGluedEnd> glued;
    if (!moved.HoldsConnectors()) return glued;
    for (const auto& pEntity : list) {
        if (pEntity.get() == &moved) continue;
        for (const CConnectorEnd& end : pEntity->ConnectorEnds())
            if (moved.IsOnOutline(std::as_const(*pEntity).GetPoint(end.nPoint), kMoveTolerance))
                glued.push_back(CGluedEnd{pEntity.get(), end, PointsOf(*pEntity)});
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

CPoint RoundedPoint(std::complex<double> z) {
    return {SaturatingTrunc(std::round(z.real())), SaturatingTrunc(std::round(z.imag()))};
}

// A four-point curve's control points, mapped by the similarity that takes
// its ends as they were at the start to where they are now. Ends that were
// one point have no such map: each control point shifts with its own end.
void FollowEnds(CVEntity& curve, const std::vector<CPoint>& start) {
    if (start.size() < 4 || curve.GetPointCount() < 4) return;  // an arrow's fifth point is its head
    auto z = [](CPoint p) { return std::complex<double>(p.x, p.y); };
    const std::complex<double> from0 = z(start[0]), from3 = z(start[3]);
    const std::complex<double> to0 = z(std::as_const(curve).GetPoint(0)), to3 = z(std::as_const(curve).GetPoint(3));
    const std::complex<double> p1 = z(start[1]), p2 = z(start[2]);
    if (from0 == from3) {
        curve.GetPoint(1) = RoundedPoint(p1 + (to0 - from0));
        curve.GetPoint(2) = RoundedPoint(p2 + (to3 - from3));
        return;
    }
    const std::complex<double> scaleTurn = (to3 - to0) / (from3 - from0);
    curve.GetPoint(1) = RoundedPoint(to0 + (p1 - from0) * scaleTurn);
    curve.GetPoint(2) = RoundedPoint(to0 + (p2 - from0) * scaleTurn);
}

}  // namespace

void MoveWithGlue(CVEntity& moved, const std::vector<CGluedEnd>& glued, CPoint delta) {
    moved.Offset(delta);
    for (const CGluedEnd& g : glued) ShiftPoint(g.pConnector->GetPoint(g.end.nPoint), delta);
    for (const CGluedEnd& g : glued)
        if (g.end.nCompanion >= 0) FollowEnds(*g.pConnector, g.start);
}

CPoint KeepOnSheet(const CRect& extent, int32_t nWidth, int32_t nHeight, CPoint delta) {
    return CPoint{KeepOnAxis(extent.left, extent.right, nWidth, delta.x),
                  KeepOnAxis(extent.top, extent.bottom, nHeight, delta.y)};
}
