// varnel run: runs a model's program over its diagram as the build-graphs
// command does and prints the series, in graphs-window order, as CSV or
// JSON. Exit codes: 0 printed, 1 interpreter error, 2 unreadable model or
// bad arguments, 3 step bound exceeded.
#include <charconv>
#include <cmath>
#include <ostream>
#include <string>

#include "app/cli/Commands.h"
#include "app/cli/JsonText.h"
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "base/Numbers.h"
#include "document/VarnelDoc.h"
#include "graphs/Graphic.h"
#include "graphs/SeriesCsv.h"
#include "interpreter/BuildGraphs.h"

namespace {

enum { EXIT_OK = 0, EXIT_INTERPRETER = 1, EXIT_BAD_INPUT = 2, EXIT_STEP_LIMIT = 3 };

struct RunOptions {
    std::string strModel;
    bool bJson = false;
    uint64_t nMaxSteps = 0;
};

bool ParseCount(const std::string& text, uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Reads the arguments; on a mistake writes why to err and returns false.
bool ParseOptions(const CommandArgs& args, RunOptions& options, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        const bool bFormat = arg == "--format" || arg.rfind("--format=", 0) == 0;
        const bool bSteps = arg == "--max-steps" || arg.rfind("--max-steps=", 0) == 0;
        if (bFormat || bSteps) {
            const size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                err << "varnel run: " << arg << " needs a value\n";
                return false;
            }
        }
        if (bFormat) {
            if (value != "json" && value != "csv") {
                err << "varnel run: unknown format '" << value << "' (use json or csv)\n";
                return false;
            }
            options.bJson = value == "json";
        } else if (bSteps) {
            if (!ParseCount(value, options.nMaxSteps)) {
                err << "varnel run: --max-steps needs a whole number, not '" << value << "'\n";
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            err << "varnel run: unknown option '" << arg << "'\n";
            return false;
        } else if (options.strModel.empty()) {
            options.strModel = arg;
        } else {
            err << "varnel run: more than one model given\n";
            return false;
        }
    }
    if (options.strModel.empty()) {
        err << "usage: varnel run MODEL.vrn [--format json|csv] [--max-steps N]\n";
        return false;
    }
    return true;
}

std::string NumberText(double value, bool bJson) {
    const std::string text = FormatRoundTrip(value);
    return bJson && !std::isfinite(value) ? "\"" + text + "\"" : text;
}

void WriteJson(const BuildGraphsResult& result, std::ostream& out) {
    out << "{\"series\":[";
    for (size_t i = 0; i < result.series.size(); ++i) {
        const CVGraphic& g = *result.series[i];
        if (i) out << ',';
        out << "{\"caption\":" << JsonString(Cp1251ToUtf8(g.m_strText)) << ",\"color\":" << g.m_nColor
            << ",\"loX\":" << NumberText(g.m_dLoX, true) << ",\"hiX\":" << NumberText(g.m_dHiX, true)
            << ",\"loY\":" << NumberText(g.m_dLoY, true) << ",\"hiY\":" << NumberText(g.m_dHiY, true)
            << ",\"divY\":" << NumberText(g.m_dDivY, true) << ",\"samples\":[";
        for (size_t k = 0; k < g.m_samples.size(); ++k) {
            if (k) out << ',';
            out << '[' << NumberText(g.m_samples[k].x, true) << ',' << NumberText(g.m_samples[k].y, true) << ']';
        }
        out << "]}";
    }
    out << "]}\n";
}

}  // namespace

int RunModelCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    RunOptions options;
    if (!ParseOptions(args, options, err)) return EXIT_BAD_INPUT;

    CVarnelDoc doc;
    try {
        doc.Load(ReadFileBytes(options.strModel));
    } catch (const CFileError& e) {
        err << "varnel run: cannot read model '" << options.strModel << "': " << e.what() << '\n';
        return EXIT_BAD_INPUT;
    }

    RunControl control;
    control.nMaxSteps = options.nMaxSteps;
    const BuildGraphsResult result = BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control);
    // No poll is given, so a run ends with its result, an error or the bound.
    if (result.outcome == RunOutcome::Error) {
        err << Cp1251ToUtf8(result.strError) << '\n';
        if (result.nErrorLine > 0) err << "line " << result.nErrorLine << '\n';
        return EXIT_INTERPRETER;
    }
    if (result.outcome == RunOutcome::StepLimit) {
        err << "varnel run: stopped: the program executed more than " << options.nMaxSteps
            << " statements (--max-steps)\n";
        return EXIT_STEP_LIMIT;
    }
    if (options.bJson) {
        WriteJson(result, out);
    } else {
        std::vector<const CVGraphic*> series;
        for (const auto& pSeries : result.series) series.push_back(pSeries.get());
        WriteSeriesCsv(series, out);
    }
    out.flush();
    return EXIT_OK;
}
