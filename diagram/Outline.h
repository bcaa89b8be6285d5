// Nearness tests against the strokes objects draw (segments, box borders,
// ellipses, Bezier curves) and the boxes around them. Picking an object to
// move and finding the connector ends that stick to an element use them.
#pragma once
#include <cstdint>

#include "diagram/Geometry.h"

// Whether p lies within tol of the segment from a to b.
bool NearSegment(CPoint p, CPoint a, CPoint b, int32_t tol);
// Within tol of the border of the box with corners a and b.
bool NearBoxBorder(CPoint p, CPoint a, CPoint b, int32_t tol);
// Within tol of the ellipse inscribed in the box with corners a and b,
// measured along the ray from its centre (exact for circles, a little
// generous for flat ellipses).
bool NearEllipse(CPoint p, CPoint a, CPoint b, int32_t tol);
// Within tol of the cubic Bezier curves through points[0..count): start,
// two control points and end, the end starting the next curve.
bool NearBezier(CPoint p, const CPoint* points, int count, int32_t tol);

// The smallest box holding the points; empty at (0, 0) for none.
CRect BoundingBox(const CPoint* points, int count);
CRect UnionRect(const CRect& a, const CRect& b);
// Bounds included; r must be normalised.
bool InBox(CPoint p, const CRect& r, int32_t tol = 0);
