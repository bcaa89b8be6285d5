// The placing state shared by all object classes between mouse events.
#include "diagram/TrackingState.h"

bool g_bTwoClickFirstPlaced = false;
int32_t g_nFourClickStage = 0;

void ResetTrackingState() {
    g_bTwoClickFirstPlaced = false;
    g_nFourClickStage = 0;
}
