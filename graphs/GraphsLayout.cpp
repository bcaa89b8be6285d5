// Grid positions are computed in double and truncated toward zero through
// the saturating conversion, so a huge or degenerate range never produces
// an undefined integer.
#include "graphs/GraphsLayout.h"

#include "base/Numbers.h"

CRect GraphsPlotRect(const CRect& frameClient) {
    return {SaturatingAdd(frameClient.left, kPlotInsetLeft), SaturatingAdd(frameClient.top, kPlotInsetTop),
            SaturatingAdd(frameClient.right, -kPlotInsetRight),
            SaturatingAdd(frameClient.bottom, -kPlotInsetBottom)};
}

GraphsGrid GraphsGridLayout(const CRect& fr, const CRect& r, double loX, double hiX, double loY, double hiY,
                            double divY) {
    const double dxPix = (static_cast<double>(r.right) - r.left) * 0.1;
    const double dyPix = (static_cast<double>(r.bottom) - r.top) * 0.1;
    const double dxVal = (hiX - loX) * 0.1;
    const double dyVal = (hiY - loY) * 0.1;
    GraphsGrid grid;
    for (int i = 0; i <= 10; ++i) {
        const int k = 10 - i;
        const double x = r.left + i * dxPix;
        const int32_t xi = SaturatingTrunc(x);
        grid.vertical[i] = {{xi, r.top}, {xi, r.bottom}};
        grid.xLabels[i] = {FormatG(loX + i * dxVal),
                           {xi, SaturatingAdd(r.bottom, 2), SaturatingTrunc(x + 1.0), fr.bottom},
                           kXLabelFlags};
        const double y = r.top + i * dyPix;
        const int32_t yi = SaturatingTrunc(y);
        grid.horizontal[i] = {{r.left, yi}, {r.right, yi}};
        grid.yLabels[i] = {FormatG((loY + k * dyVal) / divY),
                           {fr.left, SaturatingTrunc(y - 2.0), r.left, fr.bottom},
                           kYLabelFlags};
    }
    return grid;
}

CFontSpec GraphsLabelFont() {
    CFontSpec font;
    font.nHeight = 8;
    font.nWidth = 4;
    font.nWeight = 300;
    font.strFace = "Courier New Cyrr";
    return font;
}

CRect GraphsSwatchRect(const CRect& fr) {
    return {SaturatingAdd(fr.left, 225), SaturatingAdd(fr.bottom, 35), SaturatingAdd(fr.left, 250),
            SaturatingAdd(fr.bottom, 36)};
}

void DrawGraphsGrid(CDrawContext& dc, const GraphsGrid& grid) {
    for (size_t i = 0; i < grid.vertical.size(); ++i) {
        dc.MoveTo(grid.vertical[i].from);
        dc.LineTo(grid.vertical[i].to);
        dc.DrawText(grid.xLabels[i].strText, grid.xLabels[i].box, grid.xLabels[i].nFlags);
        dc.MoveTo(grid.horizontal[i].from);
        dc.LineTo(grid.horizontal[i].to);
        dc.DrawText(grid.yLabels[i].strText, grid.yLabels[i].box, grid.yLabels[i].nFlags);
    }
}
