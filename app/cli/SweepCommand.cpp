// varnel sweep: runs a model over a grid of parameter values on several
// threads and prints one JSON object per run per line, in the order of the
// grid whatever the threads' timing: the run's index, the values varied,
// then its series or its error. A failing run fails only its own line.
// Exit codes: 0 every run was carried out, 2 bad arguments or an
// unreadable model or a name the model lacks.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>

#include "app/cli/Commands.h"
#include "app/cli/JsonText.h"
#include "app/cli/OrderedJobs.h"
#include "app/cli/RunOutput.h"
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "base/OptionReader.h"
#include "exchange/CommandLineModel.h"
#include "base/TextBuffer.h"
#include "base/WholeText.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"
#include "interpreter/BuildGraphs.h"

namespace {

enum { EXIT_OK = 0, EXIT_BAD_INPUT = 2 };

constexpr unsigned kMaxJobs = 1024;
constexpr uint64_t kMaxRuns = uint64_t{1} << 40;

constexpr const char* kUsage =
    "usage: varnel sweep MODEL.vrn --vary NAME=FROM:TO:COUNT... [--set NAME=VALUE]... [--jobs N] [--max-steps N]\n";

// COUNT values of NAME evenly spaced from FROM to TO, both ends exactly as
// given. The values between are rounded to 15 significant digits, so that
// 0.2:0.6:9 gives 0.45 and not 0.44999999999999996, and a range cut into
// pieces for several machines gives the same values as in one piece.
struct CVaryRange {
    std::string strName;  // code page 1251
    double dFrom = 0.0;
    double dTo = 0.0;
    uint64_t nCount = 1;

    double ValueAt(uint64_t i) const {
        if (i == 0 || nCount <= 1) return dFrom;
        if (i + 1 >= nCount) return dTo;
        const double exact = std::lerp(dFrom, dTo, static_cast<double>(i) / static_cast<double>(nCount - 1));
        char text[64];
        const auto written = std::to_chars(text, text + sizeof text, exact, std::chars_format::general, 15);
        double rounded = exact;
        std::from_chars(text, written.ptr, rounded);
        return rounded;
    }
};

struct SweepOptions {
    std::string strModel;
    std::vector<CVaryRange> vary;
    std::vector<CValueOverride> fixed;
    unsigned nJobs = 0;
    uint64_t nMaxSteps = 0;
    EPlotChoice plot = EPlotChoice::Stocks;
};

// NAME=FROM:TO:COUNT; the numbers hold no '=' or ':', the name may.
bool ParseVary(const std::string& text, CVaryRange& range, std::string& error) {
    const size_t eq = text.rfind('=');
    const size_t second = text.rfind(':');
    const size_t first = second == std::string::npos || second == 0 ? std::string::npos : text.rfind(':', second - 1);
    if (eq == std::string::npos || eq == 0 || first == std::string::npos || first < eq) {
        error = "expected NAME=FROM:TO:COUNT, not '" + text + "'";
        return false;
    }
    const std::string_view all(text);
    const std::optional<double> from = ReadWholeFinite(all.substr(eq + 1, first - eq - 1));
    const std::optional<double> to = ReadWholeFinite(all.substr(first + 1, second - first - 1));
    if (!from || !to) {
        error = "FROM and TO of '" + text + "' must be numbers";
        return false;
    }
    const std::optional<uint64_t> count = ReadWholeCount(all.substr(second + 1));
    if (!count || *count == 0) {
        error = "COUNT of '" + text + "' must be a whole number of at least 1";
        return false;
    }
    range.strName = text.substr(0, eq);
    range.dFrom = *from;
    range.dTo = *to;
    range.nCount = *count;
    return true;
}

std::string TakeVary(const std::string& value, std::vector<CVaryRange>& vary) {
    CVaryRange range;
    std::string error;
    if (!ParseVary(Utf8ToCp1251Lossy(value), range, error)) return "--vary: " + Cp1251ToUtf8(error);
    vary.push_back(std::move(range));
    return std::string();
}

std::string TakeJobs(const std::string& value, unsigned& nJobs) {
    const std::optional<uint64_t> number = ReadWholeCount(value);
    if (!number || *number == 0 || *number > kMaxJobs)
        return "--jobs takes a whole number from 1 to " + std::to_string(kMaxJobs) + ", not '" + value + "'";
    nJobs = static_cast<unsigned>(*number);
    return std::string();
}

// A name varied twice, or varied and fixed, would leave the line's values
// saying something the run did not use.
bool NamesAreDistinct(const SweepOptions& options, std::ostream& err) {
    std::vector<std::string> names;
    for (const CValueOverride& fixed : options.fixed) names.push_back(fixed.strName);
    for (const CVaryRange& range : options.vary) {
        if (std::find(names.begin(), names.end(), range.strName) != names.end()) {
            err << "varnel sweep: '" << Cp1251ToUtf8(range.strName) << "' is given more than once\n";
            return false;
        }
        names.push_back(range.strName);
    }
    return true;
}

bool ParseOptions(const CommandArgs& args, SweepOptions& options, std::ostream& err) {
    const std::vector<COptionRule> rules = {
        {"--vary", true, [&](const std::string& value) { return TakeVary(value, options.vary); }},
        ValueOverrideOption("--set", options.fixed),
        {"--jobs", true, [&](const std::string& value) { return TakeJobs(value, options.nJobs); }},
        CountOption("--max-steps", options.nMaxSteps),
        PlotOption(options.plot),
    };
    const COptionResult read = ReadOptions(args, rules);
    if (!read.Ok()) {
        err << "varnel sweep: " << read.strError << '\n';
        return false;
    }
    if (read.positionals.size() > 1) {
        err << "varnel sweep: more than one model given\n";
        return false;
    }
    if (read.positionals.empty() || options.vary.empty()) {
        err << kUsage;
        return false;
    }
    options.strModel = read.positionals[0];
    if (options.nJobs == 0) options.nJobs = std::max(1u, std::thread::hardware_concurrency());
    return NamesAreDistinct(options, err);
}

uint64_t RunCount(const std::vector<CVaryRange>& vary) {
    uint64_t total = 1;
    for (const CVaryRange& range : vary) {
        if (range.nCount > kMaxRuns / total) return kMaxRuns + 1;
        total *= range.nCount;
    }
    return total;
}

// The values of run i: the last --vary changes fastest.
std::vector<CValueOverride> GridPoint(const std::vector<CVaryRange>& vary, uint64_t i) {
    std::vector<CValueOverride> point(vary.size());
    for (size_t d = vary.size(); d-- > 0;) {
        point[d] = {vary[d].strName, vary[d].ValueAt(i % vary[d].nCount)};
        i /= vary[d].nCount;
    }
    return point;
}

void AppendOutcome(CTextBuffer& text, const BuildGraphsResult& result, uint64_t nMaxSteps) {
    switch (result.outcome) {
        case RunOutcome::Ok: AppendSeriesJson(text, result); return;
        case RunOutcome::Error:
            text.Append("\"error\":");
            text.Append(JsonString(Cp1251ToUtf8(result.strError)));
            if (result.nErrorLine > 0) {
                text.Append(",\"line\":");
                text.AppendInteger(result.nErrorLine);
            }
            return;
        case RunOutcome::StepLimit:
            text.Append("\"error\":");
            text.Append(JsonString("stopped: the program executed more than " + std::to_string(nMaxSteps) +
                                   " statements (--max-steps)"));
            return;
        default:
            text.Append("\"error\":");
            text.Append(JsonString("'" + Cp1251ToUtf8(result.strUnknownName) + "' names no settable value"));
    }
}

// The start of run i's line: its index and the values varied.
void AppendRunStart(CTextBuffer& text, uint64_t i, const std::vector<CValueOverride>& point) {
    text.Append("{\"run\":");
    text.AppendInteger(static_cast<int64_t>(i));
    text.Append(",\"values\":{");
    for (size_t d = 0; d < point.size(); ++d) {
        if (d) text.Append(',');
        text.Append(JsonString(Cp1251ToUtf8(point[d].strName)));
        text.Append(':');
        AppendJsonNumber(text, point[d].dValue);
    }
    text.Append("},");
}

std::string RunLine(const CVarnelDoc& doc, const SweepOptions& options, uint64_t i) {
    std::vector<CValueOverride> overrides = options.fixed;
    const std::vector<CValueOverride> point = GridPoint(options.vary, i);
    overrides.insert(overrides.end(), point.begin(), point.end());
    RunControl control;
    control.nMaxSteps = options.nMaxSteps;
    const BuildGraphsResult result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control, overrides);
    std::ostringstream line;
    {
        CTextBuffer text(line);
        AppendRunStart(text, i, point);
        AppendOutcome(text, result, options.nMaxSteps);
        text.Append("}\n");
    }
    return line.str();
}

// A run that failed other than by its program (memory, say) still has its line.
std::string FailedRunLine(const SweepOptions& options, uint64_t i, const std::string& reason) {
    std::ostringstream line;
    {
        CTextBuffer text(line);
        AppendRunStart(text, i, GridPoint(options.vary, i));
        text.Append("\"error\":");
        text.Append(JsonString("the run failed: " + reason));
        text.Append("}\n");
    }
    return line.str();
}

// A name the model lacks is a mistake on the command line, found before any
// run; a model whose import fails reports that in every line instead.
bool NamesExist(const CVarnelDoc& doc, const SweepOptions& options, std::ostream& err) {
    std::vector<CValueOverride> all = options.fixed;
    for (const CVaryRange& range : options.vary) all.push_back({range.strName, range.dFrom});
    const BuildGraphsResult probe = BuildGraphs(doc.m_pEntityList.get(), std::string(), {}, all);
    if (probe.outcome != RunOutcome::UnknownName) return true;
    err << "varnel sweep: '" << Cp1251ToUtf8(probe.strUnknownName)
        << "' names no level, rate, variable, expert estimate or switch of the model\n";
    return false;
}

}  // namespace

int SweepCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    SweepOptions options;
    if (!ParseOptions(args, options, err)) return EXIT_BAD_INPUT;
    const uint64_t nRuns = RunCount(options.vary);
    if (nRuns > kMaxRuns) {
        err << "varnel sweep: the grid has more than " << kMaxRuns << " runs\n";
        return EXIT_BAD_INPUT;
    }
    CVarnelDoc doc;
    if (!LoadCommandLineModel(options.strModel, options.plot, doc, "sweep", err)) return EXIT_BAD_INPUT;
    if (!NamesExist(doc, options, err)) return EXIT_BAD_INPUT;
    // The threads only read the model.
    COrderedJobs jobs;
    jobs.produce = [&](uint64_t i) { return RunLine(doc, options, i); };
    jobs.fail = [&](uint64_t i, const std::string& reason) { return FailedRunLine(options, i, reason); };
    jobs.consume = [&](std::string& line) { out.write(line.data(), static_cast<std::streamsize>(line.size())); };
    RunOrderedJobs(nRuns, options.nJobs, jobs);
    out.flush();
    return EXIT_OK;
}
