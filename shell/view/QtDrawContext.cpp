// The drawing context over QPainter. Coordinates are whole pixels drawn
// without antialiasing, so that figures land on the pixels the objects'
// integer geometry names and an inverted rubber band drawn twice restores
// the picture exactly.
#include "shell/view/QtDrawContext.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "base/Numbers.h"
#include "shell/view/QtText.h"

namespace {

constexpr double kDashLength = 18.0;
constexpr double kDashPeriod = 24.0;
constexpr int kSmoothTextMinPixels = 12;

QString InstalledFace(const std::string& face) {
    // The label faces are Courier variants; Liberation Mono has the same
    // metrics and the Cyrillic letters.
    if (face == "Courier New" || face == "Courier New Cyrr") return QStringLiteral("Liberation Mono");
    return QString::fromStdString(face);
}

// Pixel size whose ascent plus descent fills the cell height, as a
// character-cell height selects a font.
int PixelSizeForCell(QFont font, int cellHeight) {
    int size = std::clamp(cellHeight, 1, 2048);
    for (; size > 1; --size) {
        font.setPixelSize(size);
        const QFontMetricsF metrics(font);
        if (metrics.ascent() + metrics.descent() <= cellHeight + 0.5) break;
    }
    return size;
}

QFont BuildFont(const CFontSpec& wanted) {
    QFont font(InstalledFace(wanted.strFace));
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(wanted.nWeight, 1, 1000)));
    font.setUnderline(wanted.bUnderline);
    // A zero height asks for the face's default size, a negative one for the
    // character height without the internal leading.
    if (wanted.nHeight < 0)
        font.setPixelSize(std::clamp(-wanted.nHeight, 1, 2048));
    else
        font.setPixelSize(PixelSizeForCell(font, wanted.nHeight == 0 ? 16 : wanted.nHeight));
    // At a few pixels' height smoothing blurs the dotted zero of the face
    // into an eight, so the axis label 200 would read 288.
    if (font.pixelSize() < kSmoothTextMinPixels) font.setStyleStrategy(QFont::NoAntialias);
    if (wanted.nWidth > 0) {
        const double advance = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
        if (advance > 0.0) {
            const double stretch = 100.0 * wanted.nWidth / advance;
            font.setStretch(std::clamp(SaturatingTrunc(stretch + 0.5), 1, 4000));
        }
    }
    return font;
}

// A box's right and bottom edges are exclusive: its outline runs on the
// last pixels inside, from (left, top) to (right - 1, bottom - 1). Null
// when the box is empty.
struct COutline {
    double left, top, right, bottom;
};
bool OutlineOf(const CRect& r, COutline& outline) {
    const CRect n = NormalizedRect({r.left, r.top}, {r.right, r.bottom});
    if (n.right == n.left || n.bottom == n.top) return false;
    outline = {double(n.left), double(n.top), double(n.right) - 1, double(n.bottom) - 1};
    return true;
}

QString LayoutText(const std::string& bytes) {
    QString text = FromCp1251(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

QColor ColorFromRef(COLORREF color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QFont QtFontFor(const CFontSpec& wanted) {
    // Fonts are made per draw by every text-bearing object; measuring is the
    // slow part, so each distinct cell is measured once.
    using Key = std::tuple<int, int, int, bool, std::string>;
    static std::map<Key, QFont> cache;
    const Key key{wanted.nHeight, wanted.nWidth, wanted.nWeight, wanted.bUnderline, wanted.strFace};
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, BuildFont(wanted)).first;
    return it->second;
}

CQtDrawContext::CQtDrawContext(QPainter& painter) : m_painter(painter), m_boundary(painter) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBrush(Qt::white);
    m_painter.setBackground(Qt::white);
    m_painter.setBackgroundMode(Qt::OpaqueMode);
    m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    SetPen(CPen{});
}

void CQtDrawContext::MoveTo(CPoint p) {
    m_current = p;
    m_dDashPosition = 0.0;
}

void CQtDrawContext::LineTo(CPoint p) {
    const CPoint from = m_current;
    m_current = p;
    QLineF line;
    double skipped = 0.0;
    const double length = std::hypot(double(p.x) - from.x, double(p.y) - from.y);
    const bool bShown = m_boundary.Segment(from, p, line, skipped);
    if (m_bDashed) {
        // The dash pattern runs on along a polyline of short segments
        // instead of starting again at every vertex.
        if (bShown) {
            QPen pen = m_painter.pen();
            pen.setDashOffset(std::fmod(m_dDashPosition + skipped, kDashPeriod));
            m_painter.setPen(pen);
        }
        m_dDashPosition = std::fmod(m_dDashPosition + length, kDashPeriod);
    }
    if (bShown) m_painter.drawLine(line);
}

void CQtDrawContext::Rectangle(const CRect& r) {
    COutline o;
    QRectF outline;
    if (!OutlineOf(r, o) || !m_boundary.Clamp(o.left, o.top, o.right, o.bottom, outline)) return;
    if (outline.width() == 0 || outline.height() == 0) {
        // A box one pixel thin is a line; vector outputs drop empty rects.
        QPen pen = m_painter.pen();
        const QPen previous = pen;
        pen.setCapStyle(Qt::SquareCap);
        m_painter.setPen(pen);
        m_painter.drawLine(outline.topLeft(), outline.bottomRight());
        m_painter.setPen(previous);
    } else {
        m_painter.drawRect(outline);
    }
}

void CQtDrawContext::Ellipse(const CRect& r) {
    // Clamping would bend the curve, so a huge ellipse goes whole in
    // floating point and Qt's path code clips it.
    COutline o;
    if (!OutlineOf(r, o) || !m_boundary.Reaches(o.left, o.top, o.right, o.bottom)) return;
    m_painter.drawEllipse(QRectF(QPointF(o.left, o.top), QPointF(o.right, o.bottom)));
}

void CQtDrawContext::PolyBezier(const CPoint* points, int count) {
    if (points == nullptr || count < 4) return;
    // A curve stays inside the hull of its points.
    double left = points[0].x, right = left, top = points[0].y, bottom = top;
    for (int i = 1; i < count; ++i) {
        left = std::min(left, double(points[i].x));
        right = std::max(right, double(points[i].x));
        top = std::min(top, double(points[i].y));
        bottom = std::max(bottom, double(points[i].y));
    }
    if (!m_boundary.Reaches(left, top, right, bottom)) return;
    QPainterPath path(QPointF(points[0].x, points[0].y));
    for (int i = 1; i + 2 < count; i += 3) {
        path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                     QPointF(points[i + 2].x, points[i + 2].y));
    }
    const QBrush brush = m_painter.brush();
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(path);
    m_painter.setBrush(brush);
}

void CQtDrawContext::DrawText(const std::string& text, const CRect& box, uint32_t flags) {
    const bool noClip = (flags & DT_NOCLIP) != 0;
    // A box turned inside out clips everything away.
    if (!noClip && (box.right <= box.left || box.bottom <= box.top)) return;
    // Text hangs from the top of its box, at its left edge or its middle;
    // beyond the window from there it cannot reach into view. A box wider
    // or taller than the margin holds its text just the same when cut to it.
    const bool bCentred = (flags & DT_CENTER) != 0;
    const double width = std::clamp(double(box.right) - box.left, 0.0, CQtBoundary::kMargin);
    const double height = std::clamp(double(box.bottom) - box.top, 0.0, CQtBoundary::kMargin);
    const double anchor = bCentred ? (double(box.left) + box.right) / 2 : box.left;
    if (!m_boundary.Contains(anchor, box.top)) return;
    const QRectF rect(bCentred ? anchor - width / 2 : anchor, box.top, width, height);

    int qtFlags = Qt::AlignTop | (bCentred ? Qt::AlignHCenter : Qt::AlignLeft);
    if (flags & DT_SINGLELINE) qtFlags |= Qt::TextSingleLine;
    else if (flags & DT_WORDBREAK) qtFlags |= Qt::TextWordWrap;
    if (noClip) qtFlags |= Qt::TextDontClip;

    QFont font = QtFontFor(m_font);
    // Inverted text must cover the same pixels both times it is drawn.
    if (m_nRop == R2_NOTXORPEN) font.setStyleStrategy(QFont::NoAntialias);
    m_painter.setFont(font);
    const QPen pen = m_painter.pen();
    m_painter.setPen(ColorFromRef(m_textColor));
    m_painter.drawText(rect, qtFlags, LayoutText(text));
    m_painter.setPen(pen);
}

void CQtDrawContext::IntersectClip(const CRect& r) {
    const CRect n = NormalizedRect({r.left, r.top}, {r.right, r.bottom});
    QRectF box;
    if (!m_boundary.Clamp(n.left, n.top, n.right, n.bottom, box)) box = QRectF();
    m_painter.setClipRect(box, Qt::IntersectClip);
}

void CQtDrawContext::SetPen(const CPen& pen) {
    m_pen = pen;
    const int width = std::max(1, pen.nWidth);
    QPen qpen(ColorFromRef(pen.color), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    // Only a one-pixel pen can be dashed; wider ones draw solid.
    m_bDashed = pen.nStyle == PS_DASH && width == 1;
    if (m_bDashed) qpen.setDashPattern({kDashLength, kDashPeriod - kDashLength});
    m_painter.setPen(qpen);
}

void CQtDrawContext::SetFont(const CFontSpec& font) {
    m_font = font;
}

int32_t CQtDrawContext::SetROP2(int32_t mode) {
    const int32_t previous = m_nRop;
    m_nRop = mode;
    m_painter.setCompositionMode(mode == R2_NOTXORPEN ? QPainter::RasterOp_NotSourceXorDestination
                                                      : QPainter::CompositionMode_SourceOver);
    return previous;
}
