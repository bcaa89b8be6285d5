// What `varnel run` prints of a finished run: every series as JSON, or a
// summary of each (caption, sample count, first and last sample, y range)
// with the statements executed and the run time. CSV is the graphs
// library's own form (graphs/SeriesCsv.h).
#pragma once
#include <iosfwd>

#include "interpreter/BuildGraphs.h"

class CTextBuffer;

// "series":[...], the member of the JSON object that holds every series.
void AppendSeriesJson(CTextBuffer& text, const BuildGraphsResult& result);
// A number as the series write it: finite in shortest round-trip form,
// others as the strings "nan", "inf" and "-inf".
void AppendJsonNumber(CTextBuffer& text, double value);
void WriteRunJson(const BuildGraphsResult& result, std::ostream& out);
void WriteRunSummary(const BuildGraphsResult& result, double dMilliseconds, std::ostream& out);
