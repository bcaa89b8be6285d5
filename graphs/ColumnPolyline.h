// Drawing a long polyline by pixel columns. Where many consecutive points
// share one x, the segments between them are all vertical in that column
// and together cover exactly its lowest to its highest point; the first
// point, the lowest, the highest and the last (in their order) cover the
// same pixels, and the segments into and out of the column stay as they
// were. A series of a million samples thus draws a few points per column.
#pragma once
#include <vector>

#include "diagram/DrawContext.h"

// MoveTo the first point, then LineTo the rest, skipping the inner points
// of each run of more than four points with the same x.
void DrawColumnPolyline(CDrawContext& dc, const std::vector<CPoint>& points);
