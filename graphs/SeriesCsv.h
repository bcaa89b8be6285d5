// A run's series as CSV: the header "series,caption,x,y", then one row per
// sample, series numbered from 0 in the order given. Doubles are written in
// shortest round-trip form, non-finite ones as nan, inf and -inf; captions
// in UTF-8, quoted only when they need it. The command line prints runs
// this way and the graphs window saves its data the same way.
#pragma once
#include <iosfwd>
#include <vector>

class CVGraphic;

void WriteSeriesCsv(const std::vector<const CVGraphic*>& series, std::ostream& out);
