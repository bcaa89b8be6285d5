// What the reader of the graphs window may ask of it beyond its usual
// look, where each series has its own scale and only the chosen one's is
// labelled: a legend, one scale for all, round ticks, larger labels.
#pragma once

struct GraphsChoices {
    bool bLegend = false;
    bool bCommonScale = false;
    bool bRoundTicks = false;
    bool bLargeFont = false;

    bool IsDefault() const { return !bLegend && !bCommonScale && !bRoundTicks && !bLargeFont; }
};
