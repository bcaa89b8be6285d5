// The CSV form of a run's series.
#include "graphs/SeriesCsv.h"

#include <ostream>
#include <string>

#include "base/Cp1251.h"
#include "base/Numbers.h"
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
    out << "series,caption,x,y\n";
    for (size_t i = 0; i < series.size(); ++i) {
        const CVGraphic& g = *series[i];
        const std::string caption = CsvField(Cp1251ToUtf8(g.m_strText));
        for (const CSample& s : g.m_samples)
            out << i << ',' << caption << ',' << FormatRoundTrip(s.x) << ',' << FormatRoundTrip(s.y) << '\n';
    }
}
