// The window is the painter's device with a wide margin, mapped back into
// the logical units the diagram draws in. Its edges are whole units, so a
// clamped coordinate stays on the pixel grid and aliased figures keep the
// pixels they had.
#include "shell/view/QtBoundary.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

const QRectF& CQtBoundary::Window() {
    const QTransform& transform = m_painter.deviceTransform();
    if (m_bKnown && transform == m_transform) return m_window;
    m_transform = transform;
    m_bKnown = true;
    m_window = QRectF();
    const QPaintDevice* pDevice = m_painter.device();
    bool bInvertible = false;
    const QTransform back = transform.inverted(&bInvertible);
    if (pDevice == nullptr || !bInvertible) return m_window;
    const double ratio = std::max(1.0, pDevice->devicePixelRatioF());
    const QRectF around(-kMargin, -kMargin, pDevice->width() * ratio + 2 * kMargin,
                        pDevice->height() * ratio + 2 * kMargin);
    const QRectF mapped = back.mapRect(around);
    m_window = QRectF(QPointF(std::floor(mapped.left()), std::floor(mapped.top())),
                      QPointF(std::ceil(mapped.right()), std::ceil(mapped.bottom())));
    return m_window;
}

bool CQtBoundary::Reaches(double left, double top, double right, double bottom) {
    const QRectF& w = Window();
    return !w.isEmpty() && left <= w.right() && right >= w.left() && top <= w.bottom() && bottom >= w.top();
}

bool CQtBoundary::Contains(double x, double y) { return Reaches(x, y, x, y); }

bool CQtBoundary::Clamp(double left, double top, double right, double bottom, QRectF& box) {
    if (!Reaches(left, top, right, bottom)) return false;
    const QRectF& w = Window();
    box = QRectF(QPointF(std::max(left, w.left()), std::max(top, w.top())),
                 QPointF(std::min(right, w.right()), std::min(bottom, w.bottom())));
    return true;
}

bool CQtBoundary::Segment(CPoint a, CPoint b, QLineF& line, double& skipped) {
    const QRectF& w = Window();
    if (w.isEmpty()) return false;
    // Liang and Barsky: the part of a + t (b - a), 0 <= t <= 1, inside each
    // edge. A segment wholly inside keeps its exact end points.
    const double x0 = a.x, y0 = a.y, dx = double(b.x) - a.x, dy = double(b.y) - a.y;
    double t0 = 0.0, t1 = 1.0;
    auto inside = [&](double p, double q) {  // p t <= q
        if (p == 0.0) return q >= 0.0;
        const double r = q / p;
        if (p < 0.0) {
            if (r > t1) return false;
            t0 = std::max(t0, r);
        } else {
            if (r < t0) return false;
            t1 = std::min(t1, r);
        }
        return true;
    };
    if (!inside(-dx, x0 - w.left()) || !inside(dx, w.right() - x0) || !inside(-dy, y0 - w.top()) ||
        !inside(dy, w.bottom() - y0))
        return false;
    line = QLineF(t0 == 0.0 ? x0 : x0 + t0 * dx, t0 == 0.0 ? y0 : y0 + t0 * dy,
                  t1 == 1.0 ? double(b.x) : x0 + t1 * dx, t1 == 1.0 ? double(b.y) : y0 + t1 * dy);
    skipped = t0 * std::hypot(dx, dy);
    return true;
}
