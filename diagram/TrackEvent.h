// One mouse event as the view hands it to an object being placed.
#pragma once
#include <cstdint>

#include "diagram/Geometry.h"

class CDrawContext;
struct CTrackingState;

enum TrackKind : int32_t { TE_START = 1, TE_FINISH = 2, TE_PRESS = 3, TE_MOVE = 4 };
// MODE_MOVE: presses pick objects and drag them; the objects never see its
// events.
enum ViewMode : int32_t { MODE_IDLE = 0, MODE_DRAW = 1, MODE_MODIFY = 2, MODE_MOVE = 3 };

struct TrackEvent {
    int32_t nKind = 0;
    int32_t nMode = 0;
    CPoint point;
    uint32_t nFlags = 0;
    CDrawContext* pDC = nullptr;  // null for TE_START and TE_FINISH
    // The placing state of the view that sends the event; objects placed
    // in more than one click keep their progress there.
    CTrackingState* pState = nullptr;
};
