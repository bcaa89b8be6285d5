// varnel run: runs a model's program over its diagram as the build-graphs
// command does and prints the series, in graphs-window order, as CSV, JSON
// or a summary. --set replaces element values for this run only. Exit
// codes: 0 printed, 1 interpreter error, 2 unreadable model, bad arguments
// or a --set name the model lacks, 3 step bound exceeded. --reference runs
// every line by the line-reading path, which the compiled one is checked
// against; it is for developers and not in the usage.
#include <chrono>
#include <ostream>
#include <string>

#include "app/cli/Commands.h"
#include "app/cli/RunOutput.h"
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "base/OptionReader.h"
#include "document/VarnelDoc.h"
#include "exchange/CommandLineModel.h"
#include "graphs/Graphic.h"
#include "graphs/SeriesCsv.h"
#include "interpreter/BuildGraphs.h"

namespace {

enum { EXIT_OK = 0, EXIT_INTERPRETER = 1, EXIT_BAD_INPUT = 2, EXIT_STEP_LIMIT = 3 };

enum class EFormat { Csv, Json, Summary };

struct RunOptions {
    std::string strModel;
    EFormat format = EFormat::Csv;
    uint64_t nMaxSteps = 0;
    bool bReference = false;
    std::vector<CValueOverride> overrides;
    EPlotChoice plot = EPlotChoice::Stocks;
};

constexpr const char* kUsage =
    "usage: varnel run MODEL.vrn|MODEL.xmile [--format json|csv|summary] [--max-steps N] [--set NAME=VALUE]...\n"
    "                  [--plot stocks|all]\n";

std::string TakeFormat(const std::string& value, EFormat& format) {
    if (value == "csv") format = EFormat::Csv;
    else if (value == "json") format = EFormat::Json;
    else if (value == "summary") format = EFormat::Summary;
    else return "unknown format '" + value + "' (use json, csv or summary)";
    return std::string();
}

// Reads the arguments; on a mistake writes why to err and returns false.
bool ParseOptions(const CommandArgs& args, RunOptions& options, std::ostream& err) {
    const std::vector<COptionRule> rules = {
        {"--format", true, [&](const std::string& value) { return TakeFormat(value, options.format); }},
        CountOption("--max-steps", options.nMaxSteps),
        ValueOverrideOption("--set", options.overrides),
        FlagOption("--reference", options.bReference),
        PlotOption(options.plot),
    };
    const COptionResult read = ReadOptions(args, rules);
    if (!read.Ok()) {
        err << "varnel run: " << read.strError << '\n';
        return false;
    }
    if (read.positionals.size() > 1) {
        err << "varnel run: more than one model given\n";
        return false;
    }
    if (read.positionals.empty()) {
        err << kUsage;
        return false;
    }
    options.strModel = read.positionals[0];
    return true;
}

void WriteResult(const BuildGraphsResult& result, const RunOptions& options, double dMilliseconds,
                 std::ostream& out) {
    if (options.format == EFormat::Json) {
        WriteRunJson(result, out);
    } else if (options.format == EFormat::Summary) {
        WriteRunSummary(result, dMilliseconds, out);
    } else {
        std::vector<const CVGraphic*> series;
        for (const auto& pSeries : result.series) series.push_back(pSeries.get());
        WriteSeriesCsv(series, out);
    }
    out.flush();
}

}  // namespace

int RunModelCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    RunOptions options;
    if (!ParseOptions(args, options, err)) return EXIT_BAD_INPUT;

    CVarnelDoc doc;
    if (!LoadCommandLineModel(options.strModel, options.plot, doc, "run", err)) return EXIT_BAD_INPUT;

    RunControl control;
    control.nMaxSteps = options.nMaxSteps;
    control.bReference = options.bReference;
    const auto start = std::chrono::steady_clock::now();
    const BuildGraphsResult result =
        BuildGraphs(doc.m_pEntityList.get(), doc.m_strProgram, control, options.overrides);
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    // No poll is given, so a run ends with its result, an error or the bound.
    switch (result.outcome) {
        case RunOutcome::Error:
            err << Cp1251ToUtf8(result.strError) << '\n';
            if (result.nErrorLine > 0) err << "line " << result.nErrorLine << '\n';
            return EXIT_INTERPRETER;
        case RunOutcome::StepLimit:
            err << "varnel run: stopped: the program executed more than " << options.nMaxSteps
                << " statements (--max-steps)\n";
            return EXIT_STEP_LIMIT;
        case RunOutcome::UnknownName:
            err << "varnel run: --set: '" << Cp1251ToUtf8(result.strUnknownName)
                << "' names no level, rate, variable, expert estimate or switch of the model\n";
            return EXIT_BAD_INPUT;
        default:
            break;
    }
    WriteResult(result, options, elapsed.count(), out);
    return EXIT_OK;
}
