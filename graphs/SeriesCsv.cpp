// The CSV form of a run's series, written through one buffer: a million
// rows cost a million number conversions and little else.
#include "graphs/SeriesCsv.h"

#include <string>

#include "base/Cp1251.h"
#include "base/TextBuffer.h"
#include "graphs/Graphic.h"

namespace {

// Quoted only when the text needs it, with inner quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

void WriteSeriesCsv(const std::vector<const CVGraphic*>& series, std::ostream& out) {
    CTextBuffer text(out);
    text.Append("series,caption,x,y\n");
    for (size_t i = 0; i < series.size(); ++i) {
        const CVGraphic& g = *series[i];
        // What every row of the series begins with: its number and caption.
        const std::string prefix = std::to_string(i) + ',' + CsvField(Cp1251ToUtf8(g.m_strText)) + ',';
        for (const CSample& s : g.m_samples) {
            text.Append(prefix);
            text.AppendRoundTrip(s.x);
            text.Append(',');
            text.AppendRoundTrip(s.y);
            text.Append('\n');
        }
    }
}
