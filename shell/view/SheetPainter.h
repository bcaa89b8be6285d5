// The view's draw routine on its own, so that printing and the headless
// render command paint a document exactly as the view does.
#pragma once
#include "diagram/Geometry.h"

class CVarnelDoc;
class QPainter;

// Draws the sheet (a white area framed one pixel outside) and every object
// clipped to it, in sheet coordinates under the painter's transformation.
void DrawDocumentSheet(CVarnelDoc& doc, QPainter& painter, const CRect& client);
