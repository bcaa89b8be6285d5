// Moving objects on the sheet: which object a press picks, the connector
// ends that stick to a moved element and travel with it, and the limit that
// keeps a move on the sheet.
#pragma once
#include <cstdint>
#include <vector>

#include "diagram/EntityList.h"

// How close, in sheet units, a press must come to an object's strokes to
// pick it, and a connector end to an element's outline to stick to it.
constexpr int32_t kMoveTolerance = 3;

// A connector end that moves with an element, and the connector's points
// when the move began, from which its curve is mapped at every step.
struct CGluedEnd {
    CVEntity* pConnector = nullptr;
    CConnectorEnd end;
    std::vector<CPoint> start;
};

// The object a press at p would move: the last in list order (the one drawn
// on top) that p hits or that p lies on the outline of. Null when none.
CVEntity* PickAt(const EntityList& list, CPoint p);
// Highlights the picked object alone (redrawing what changes when pDC is
// given) and returns it.
CVEntity* HighlightPick(EntityList& list, CPoint p, CDrawContext* pDC);
// The highlighted object on top, or null.
CVEntity* HighlightedObject(const EntityList& list);

// The ends of the other objects' connectors that lie on the outline of
// moved; none when moved holds no connectors.
std::vector<CGluedEnd> FindGluedEnds(const EntityList& list, const CVEntity& moved);
// The objects a move of moved changes: moved first, then each connector
// with a glued end once.
std::vector<CVEntity*> ObjectsOfMove(CVEntity& moved, const std::vector<CGluedEnd>& glued);
// Offsets moved by delta and its glued ends by the same delta. A curve with
// a glued end keeps its shape: its control points follow the scaling,
// rotation and shift that take its ends from where the move began to where
// they are now, so a straight arrow stays straight.
void MoveWithGlue(CVEntity& moved, const std::vector<CGluedEnd>& glued, CPoint delta);

// The part of delta that keeps extent on the sheet (0, 0, width, height).
// An object already partly off the sheet may move back but not further off;
// one larger than the sheet does not move along that axis.
CPoint KeepOnSheet(const CRect& extent, int32_t nWidth, int32_t nHeight, CPoint delta);
