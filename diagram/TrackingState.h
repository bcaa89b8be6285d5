// Where the placing of an object stands between mouse events. The view owns
// one and hands it to the object with every event; only one object is ever
// being placed at a time.
#pragma once
#include <cstdint>

struct CTrackingState {
    bool bTwoClickFirstPlaced = false;  // two-click: the first point is down
    int32_t nFourClickStage = 0;        // four-click: 0, 3, 1 or 2
};
