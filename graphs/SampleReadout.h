// The readout of the graphs window: which sample of the chosen series lies
// nearest to the mouse, measured on screen with the same mapping that
// places the curve, and its "x = ..., y = ..." text.
#pragma once
#include <string>

#include "diagram/Geometry.h"

class CVGraphic;
struct CPlotRange;

// Index of the sample nearest to (px, py) when the series is mapped into
// r; -1 when the series has none or its range cannot be taken. Samples are
// expected in ascending x, as a run leaves them.
int NearestSample(const CVGraphic& series, const CRect& r, double px, double py);
// The same with the series drawn on the given range.
int NearestSample(const CVGraphic& series, const CPlotRange& range, const CRect& r, double px, double py);

// "x = 1.5, y = 2" in the "%g" form of the axis labels.
std::string ReadoutText(double x, double y);
