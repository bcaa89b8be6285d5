// Captions are code page 1251, one byte a character, and the label face
// has a fixed pitch, so a caption's width is its length times the cell
// width.
#include "graphs/GraphsLegend.h"

#include <algorithm>

#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "graphs/Graphic.h"

namespace {

constexpr int32_t kMargin = 6, kStroke = 30, kGap = 5, kSpacing = 14, kMaxRows = 3;

std::string Shortened(const std::string& caption, size_t maxChars) {
    if (caption.size() <= maxChars) return caption;
    return caption.substr(0, maxChars - 1) + '\x85';  // an ellipsis in code page 1251
}

// Places entries left to right from x, wrapping at right; false when the
// rows are used up.
struct RowFlow {
    int32_t left, right, top, rowHeight;
    int32_t x = left, y = top, rows = 1;

    bool Place(int64_t width, CPoint& at) {
        if (x > left && x + width > right) {
            if (rows == kMaxRows) return false;
            x = left, y = SaturatingAdd(y, rowHeight), ++rows;
        }
        at = {x, y};
        x = SaturatingNarrow(x + width + kSpacing);
        return true;
    }
};

GraphsLegendEntry Entry(CPoint at, const std::string& caption, const CPen& pen, bool bStroke, const CFontSpec& font) {
    const int32_t strokeY = SaturatingAdd(at.y, font.nHeight / 2), textLeft = SaturatingAdd(at.x, kStroke + kGap);
    const int64_t textRight = textLeft + int64_t{font.nWidth} * int64_t(caption.size()) + 1;
    return {pen,
            {{at.x, strokeY}, {bStroke ? SaturatingAdd(at.x, kStroke) : at.x, strokeY}},
            {caption, {textLeft, at.y, SaturatingNarrow(textRight), SaturatingAdd(at.y, font.nHeight)}, DT_LEFT | DT_SINGLELINE}};
}

}  // namespace

GraphsLegend GraphsLegendLayout(const std::vector<const CVGraphic*>& series, const CRect& fr, const CFontSpec& font) {
    const int32_t cell = std::max(1, font.nWidth), rowHeight = SaturatingAdd(font.nHeight, 4);
    const size_t maxChars = static_cast<size_t>(std::max<int64_t>((int64_t{fr.right} - fr.left) / 2 / cell, 4));
    auto width = [cell](const std::string& caption) { return kStroke + kGap + int64_t{cell} * int64_t(caption.size()); };
    // The first `count` series, then the count of the rest if any; as many
    // as fit, so the search gives up early.
    for (size_t count = series.size(); count > 0; --count) {
        GraphsLegend legend;
        RowFlow flow{SaturatingAdd(fr.left, kMargin), SaturatingSub(fr.right, kMargin), SaturatingAdd(fr.top, 4),
                     rowHeight};
        CPoint at;
        size_t placed = 0;
        for (; placed < count; ++placed) {
            const CVGraphic& s = *series[placed];
            const std::string caption = Shortened(s.m_strText, maxChars);
            if (!flow.Place(width(caption), at)) break;
            const CPen pen{s.m_bHighlight ? PS_DASH : PS_SOLID, 1, static_cast<COLORREF>(s.m_nColor)};
            legend.entries.push_back(Entry(at, caption, pen, true, font));
        }
        const std::string rest = Utf8ToCp1251Lossy("и ещё " + std::to_string(series.size() - placed));
        if (placed < count || (count < series.size() && !flow.Place(width(rest) - kStroke - kGap, at))) {
            count = std::min(count, placed + 1);  // the next try drops the last that fitted
            continue;
        }
        if (count < series.size()) legend.entries.push_back(Entry(at, rest, {}, false, font));
        legend.nHeight = SaturatingNarrow(int64_t{flow.y} - fr.top + rowHeight);
        return legend;
    }
    return {};
}

void DrawGraphsLegend(CDrawContext& dc, const GraphsLegend& legend) {
    const CPen previous = dc.GetPen();
    for (const GraphsLegendEntry& entry : legend.entries) {
        dc.SetPen(entry.pen);
        if (entry.stroke.from != entry.stroke.to) {
            dc.MoveTo(entry.stroke.from);
            dc.LineTo(entry.stroke.to);
        }
        dc.DrawText(entry.caption.strText, entry.caption.box, entry.caption.nFlags);
    }
    dc.SetPen(previous);
}
