// The JSON and summary forms of a run, written through one buffer.
#include "app/cli/RunOutput.h"

#include <charconv>
#include <cmath>

#include "app/cli/JsonText.h"
#include "base/Cp1251.h"
#include "base/TextBuffer.h"
#include "graphs/Graphic.h"

namespace {

void AppendField(CTextBuffer& text, const char* key, double value) {
    text.Append(key);
    AppendJsonNumber(text, value);
}

void AppendSample(CTextBuffer& text, const char* label, const CSample& s) {
    text.Append(label);
    text.AppendRoundTrip(s.x);
    text.Append(", ");
    text.AppendRoundTrip(s.y);
    text.Append(')');
}

}  // namespace

// Non-finite numbers are JSON strings.
void AppendJsonNumber(CTextBuffer& text, double value) {
    const bool bQuoted = !std::isfinite(value);
    if (bQuoted) text.Append('"');
    text.AppendRoundTrip(value);
    if (bQuoted) text.Append('"');
}

void WriteRunJson(const BuildGraphsResult& result, std::ostream& out) {
    CTextBuffer text(out);
    text.Append('{');
    AppendSeriesJson(text, result);
    text.Append("}\n");
}

void AppendSeriesJson(CTextBuffer& text, const BuildGraphsResult& result) {
    text.Append("\"series\":[");
    for (size_t i = 0; i < result.series.size(); ++i) {
        const CVGraphic& g = *result.series[i];
        if (i) text.Append(',');
        text.Append("{\"caption\":");
        text.Append(JsonString(Cp1251ToUtf8(g.m_strText)));
        text.Append(",\"color\":");
        text.AppendInteger(g.m_nColor);
        AppendField(text, ",\"loX\":", g.m_dLoX);
        AppendField(text, ",\"hiX\":", g.m_dHiX);
        AppendField(text, ",\"loY\":", g.m_dLoY);
        AppendField(text, ",\"hiY\":", g.m_dHiY);
        AppendField(text, ",\"divY\":", g.m_dDivY);
        text.Append(",\"samples\":[");
        for (size_t k = 0; k < g.m_samples.size(); ++k) {
            text.Append(k ? ",[" : "[");
            AppendJsonNumber(text, g.m_samples[k].x);
            text.Append(',');
            AppendJsonNumber(text, g.m_samples[k].y);
            text.Append(']');
        }
        text.Append("]}");
    }
    text.Append(']');
}

void WriteRunSummary(const BuildGraphsResult& result, double dMilliseconds, std::ostream& out) {
    CTextBuffer text(out);
    for (size_t i = 0; i < result.series.size(); ++i) {
        const CVGraphic& g = *result.series[i];
        text.Append("series ");
        text.AppendInteger(static_cast<int64_t>(i));
        text.Append(" \"");
        text.Append(Cp1251ToUtf8(g.m_strText));
        text.Append("\": ");
        text.AppendInteger(g.GetSampleCount());
        text.Append(" samples");
        if (!g.m_samples.empty()) {
            AppendSample(text, ", first (", g.m_samples.front());
            AppendSample(text, ", last (", g.m_samples.back());
            // NaN has no place in a range; a series of nothing else has none.
            double lo = NAN, hi = NAN;
            for (const CSample& s : g.m_samples) {
                if (std::isnan(s.y)) continue;
                lo = std::isnan(lo) || s.y < lo ? s.y : lo;
                hi = std::isnan(hi) || s.y > hi ? s.y : hi;
            }
            text.Append(", y from ");
            text.AppendRoundTrip(lo);
            text.Append(" to ");
            text.AppendRoundTrip(hi);
        }
        text.Append('\n');
    }
    char time[64];
    const char* end = std::to_chars(time, time + sizeof time, dMilliseconds, std::chars_format::fixed, 3).ptr;
    text.Append("statements ");
    text.AppendInteger(static_cast<int64_t>(result.nSteps));
    text.Append(", run time ");
    text.Append(std::string_view(time, static_cast<size_t>(end - time)));
    text.Append(" ms\n");
}
