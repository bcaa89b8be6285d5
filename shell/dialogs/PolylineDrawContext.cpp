// Everything but lines goes straight to the Qt context; lines wait in a
// path that is stroked before anything else is drawn or the pen changes.
#include "shell/dialogs/PolylineDrawContext.h"

void CPolylineDrawContext::MoveTo(CPoint p) {
    m_current = p;
    m_inner.MoveTo(p);
}

void CPolylineDrawContext::LineTo(CPoint p) {
    const QPointF to(p.x, p.y);
    if (m_path.isEmpty() || m_path.currentPosition() != QPointF(m_current.x, m_current.y))
        m_path.moveTo(m_current.x, m_current.y);
    m_path.lineTo(to);
    m_current = p;
    m_inner.MoveTo(p);
}

void CPolylineDrawContext::Flush() {
    if (m_path.isEmpty()) return;
    const QBrush brush = m_painter.brush();
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(m_path);
    m_painter.setBrush(brush);
    m_path.clear();
}

void CPolylineDrawContext::Rectangle(const CRect& r) {
    Flush();
    m_inner.Rectangle(r);
}

void CPolylineDrawContext::Ellipse(const CRect& r) {
    Flush();
    m_inner.Ellipse(r);
}

void CPolylineDrawContext::PolyBezier(const CPoint* points, int count) {
    Flush();
    m_inner.PolyBezier(points, count);
}

void CPolylineDrawContext::DrawText(const std::string& text, const CRect& box, uint32_t flags) {
    Flush();
    m_inner.DrawText(text, box, flags);
}

void CPolylineDrawContext::SetPen(const CPen& pen) {
    Flush();
    m_inner.SetPen(pen);
}

int32_t CPolylineDrawContext::SetROP2(int32_t mode) {
    Flush();
    return m_inner.SetROP2(mode);
}
