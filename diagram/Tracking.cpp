// The three ways an object is placed with the mouse: two clicks (line and
// everything drawn in a box), four clicks (spline and arrow) and one click
// (text and the elements anchored at one point). The rubber band is drawn
// in the inverting raster mode, so drawing it twice removes it.
#include "diagram/Primitives.h"
#include "diagram/TrackingState.h"

int CVLine::Track(const TrackEvent& event) {
    if (event.nMode != MODE_DRAW) return 0;
    switch (event.nKind) {
    case TE_PRESS:
        if (!g_bTwoClickFirstPlaced) {
            m_points[0] = event.point;
            g_bTwoClickFirstPlaced = true;
            return 0;
        }
        m_points[1] = event.point;
        g_bTwoClickFirstPlaced = false;
        return 1;
    case TE_MOVE:
        if (!g_bTwoClickFirstPlaced) return 0;
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
        g_bTwoClickFirstPlaced = false;
        return 0;
    default:
        return 0;
    }
}

namespace {

int PressSpline(CPoint* pts, CPoint point) {
    switch (g_nFourClickStage) {
    case 0:
        pts[0] = pts[1] = pts[2] = pts[3] = point;
        g_nFourClickStage = 3;
        return 0;
    case 3:
        pts[3] = point;
        pts[1] = pts[0];
        pts[2] = pts[3];
        g_nFourClickStage = 1;
        return 0;
    case 1:
        pts[1] = point;
        g_nFourClickStage = 2;
        return 0;
    case 2:
        pts[2] = point;
        g_nFourClickStage = 0;
        return 1;
    default:
        return 0;
    }
}

// While the first control point is being placed both control points follow
// the mouse; otherwise only the point being placed does.
void MoveSplinePoint(CPoint* pts, CPoint point) {
    if (g_nFourClickStage == 1) pts[2] = point;
    if (g_nFourClickStage >= 1 && g_nFourClickStage <= 3) pts[g_nFourClickStage] = point;
}

}  // namespace

int CVBSpline::Track(const TrackEvent& event) {
    if (event.nMode != MODE_DRAW) return 0;
    switch (event.nKind) {
    case TE_PRESS:
        return PressSpline(m_points.data(), event.point);
    case TE_MOVE:
        if (g_nFourClickStage == 0) return 0;
        if (event.pDC == nullptr) {
            MoveSplinePoint(m_points.data(), event.point);
            return 0;
        }
        event.pDC->SetROP2(R2_NOTXORPEN);
        DrawCurve(*event.pDC);
        MoveSplinePoint(m_points.data(), event.point);
        DrawCurve(*event.pDC);
        return 0;
    case TE_FINISH:
        g_nFourClickStage = 0;
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
