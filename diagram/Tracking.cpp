// The three ways an object is placed with the mouse: two clicks (line and
// everything drawn in a box), four clicks (spline and arrow) and one click
// (text and the elements anchored at one point). The rubber band is drawn
// in the inverting raster mode, so drawing it twice removes it.
#include "diagram/Primitives.h"
#include "diagram/TrackingState.h"

int CVLine::Track(const TrackEvent& event) {
    if (event.nMode != MODE_DRAW || event.pState == nullptr) return 0;
    bool& bFirstPlaced = event.pState->bTwoClickFirstPlaced;
    switch (event.nKind) {
    case TE_PRESS:
        if (!bFirstPlaced) {
            m_points[0] = event.point;
            bFirstPlaced = true;
            return 0;
        }
        m_points[1] = event.point;
        bFirstPlaced = false;
        return 1;
    case TE_MOVE:
        if (!bFirstPlaced) return 0;
        if (event.pDC == nullptr) {
            m_points[1] = event.point;
            return 0;
        }
        event.pDC->SetROP2(R2_NOTXORPEN);
        // A second point still at (0, 0) means nothing has been drawn yet.
        if (m_points[1] != CPoint{0, 0}) Draw(*event.pDC, nullptr);
        m_points[1] = event.point;
        Draw(*event.pDC, nullptr);
        return 0;
    case TE_FINISH:
        bFirstPlaced = false;
        return 0;
    default:
        return 0;
    }
}

namespace {

int PressSpline(CPoint* pts, CPoint point, int32_t& nStage) {
    switch (nStage) {
    case 0:
        pts[0] = pts[1] = pts[2] = pts[3] = point;
        nStage = 3;
        return 0;
    case 3:
        pts[3] = point;
        pts[1] = pts[0];
        pts[2] = pts[3];
        nStage = 1;
        return 0;
    case 1:
        pts[1] = point;
        nStage = 2;
        return 0;
    case 2:
        pts[2] = point;
        nStage = 0;
        return 1;
    default:
        return 0;
    }
}

// While the first control point is being placed both control points follow
// the mouse; otherwise only the point being placed does.
void MoveSplinePoint(CPoint* pts, CPoint point, int32_t nStage) {
    if (nStage == 1) pts[2] = point;
    if (nStage >= 1 && nStage <= 3) pts[nStage] = point;
}

}  // namespace

int CVBSpline::Track(const TrackEvent& event) {
    if (event.nMode != MODE_DRAW || event.pState == nullptr) return 0;
    int32_t& nStage = event.pState->nFourClickStage;
    switch (event.nKind) {
    case TE_PRESS:
        return PressSpline(m_points.data(), event.point, nStage);
    case TE_MOVE:
        if (nStage == 0) return 0;
        if (event.pDC == nullptr) {
            MoveSplinePoint(m_points.data(), event.point, nStage);
            return 0;
        }
        event.pDC->SetROP2(R2_NOTXORPEN);
        DrawCurve(*event.pDC);
        MoveSplinePoint(m_points.data(), event.point, nStage);
        DrawCurve(*event.pDC);
        return 0;
    case TE_FINISH:
        nStage = 0;
        return 0;
    default:
        return 0;
    }
}

int CVText::Track(const TrackEvent& event) {
    if (event.nMode != MODE_DRAW || event.nKind != TE_PRESS) return 0;
    m_points[0] = event.point;
    return 1;
}
