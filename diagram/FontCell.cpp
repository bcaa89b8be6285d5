// The process-wide label font cell and the font made from it.
#include "diagram/FontCell.h"

int32_t g_nFontHeight = 16;
int32_t g_nFontWidth = 8;

CFontSpec LabelFont(bool bUnderline) {
    CFontSpec font;
    font.nHeight = g_nFontHeight;
    font.nWidth = g_nFontWidth;
    font.nWeight = 300;
    font.bUnderline = bUnderline;
    font.strFace = "Courier New";
    return font;
}
