// The process-wide label font cell. Every text-bearing object makes its
// font from it; only EntityList::ScaleAll changes it, and neither New nor
// Open resets it.
#pragma once
#include <cstdint>

#include "diagram/DrawContext.h"

extern int32_t g_nFontHeight;  // 16 at start
extern int32_t g_nFontWidth;   // 8 at start

// The label font at the current cell size.
CFontSpec LabelFont(bool bUnderline = false);
