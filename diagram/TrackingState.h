// Placing state shared by every object class between mouse events; only one
// object is ever being placed at a time.
#pragma once
#include <cstdint>

extern bool g_bTwoClickFirstPlaced;  // two-click: the first point is down
extern int32_t g_nFourClickStage;    // four-click: 0, 3, 1 or 2

// Back to the state at program start (tests).
void ResetTrackingState();
