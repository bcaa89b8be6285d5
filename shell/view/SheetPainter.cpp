// Painting the sheet: frame and fill first, then the objects in list order
// so later ones cover earlier ones.
#include "shell/view/SheetPainter.h"

#include <QPainter>
#include <algorithm>

#include "base/Numbers.h"
#include "diagram/EntityList.h"
#include "document/VarnelDoc.h"
#include "shell/view/QtDrawContext.h"

void DrawDocumentSheet(CVarnelDoc& doc, QPainter& painter, const CRect& client) {
    CQtDrawContext dc(painter);
    const int32_t width = doc.m_nWidth;
    const int32_t height = doc.m_nHeight;
    dc.Rectangle({-1, -1, SaturatingAdd(width, 1), SaturatingAdd(height, 1)});
    // Objects outside the sheet stay hidden wherever the view is scrolled.
    painter.save();
    dc.IntersectClip({0, 0, std::max(0, width), std::max(0, height)});
    if (doc.m_pEntityList) doc.m_pEntityList->DrawAll(dc, &client);
    painter.restore();
}
