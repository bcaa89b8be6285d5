// The one place where the diagram's int32 geometry becomes Qt geometry.
// Qt keeps device coordinates in int (QRect, the rasterizer's fixed point),
// so a sheet near the int32 limit, scrolled or zoomed, would overflow them.
// Everything handed to a painter is cut to a window around its device, far
// enough outside that nothing visible changes.
#pragma once
#include <QLineF>
#include <QRectF>
#include <QTransform>

#include "diagram/Geometry.h"

class QPainter;

class CQtBoundary {
public:
    // Device pixels kept around the device: beyond any pen, and beyond any
    // text line that starts outside it and could still reach into view.
    static constexpr double kMargin = 1 << 21;

    explicit CQtBoundary(const QPainter& painter) : m_painter(painter) {}

    // The segment from a to b cut to the window; false when none of it is
    // inside. skipped is how far along the segment the cut one starts.
    bool Segment(CPoint a, CPoint b, QLineF& line, double& skipped);
    // A box's corners clamped to the window: what shows of its outline and
    // fill stays the same. False when the box lies wholly outside.
    bool Clamp(double left, double top, double right, double bottom, QRectF& box);
    // Whether a figure within these bounds can reach the window; such a
    // figure goes to Qt in floating point, which its path code clips.
    bool Reaches(double left, double top, double right, double bottom);
    // Whether a point lies in the window.
    bool Contains(double x, double y);

private:
    const QRectF& Window();

    const QPainter& m_painter;
    QTransform m_transform;
    QRectF m_window;
    bool m_bKnown = false;
};
