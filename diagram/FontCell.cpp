// The label font cell and the font made from it.
#include "diagram/FontCell.h"

#include "base/Numbers.h"

CFontSpec CFontCell::LabelFont(bool bUnderline) const {
    CFontSpec font;
    font.nHeight = nHeight;
    font.nWidth = nWidth;
    font.nWeight = 300;
    font.bUnderline = bUnderline;
    font.strFace = "Courier New";
    return font;
}

void CFontCell::Scale(double fx, double fy) {
    const double fyEff = fy == 0.0 ? fx : fy;
    nWidth = SaturatingTrunc(static_cast<double>(nWidth) * fx);
    nHeight = SaturatingTrunc(static_cast<double>(nHeight) * fyEff);
}
