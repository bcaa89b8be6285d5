// varnel run: runs a model's program over its diagram as the build-graphs
// command does and prints the series, in graphs-window order, as CSV, JSON
// or a summary. --set replaces element values for this run only. Exit
// codes: 0 printed, 1 interpreter error, 2 unreadable model, bad arguments
// or a --set name the model lacks, 3 step bound exceeded. --reference runs
// every line by the line-reading path, which the compiled one is checked
// against; it is for developers and not in the usage.
#include <charconv>
#include <chrono>
#include <ostream>
#include <string>

#include "app/cli/Commands.h"
#include "app/cli/RunOutput.h"
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "document/VarnelDoc.h"
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
};

constexpr const char* kUsage =
    "usage: varnel run MODEL.vrn [--format json|csv|summary] [--max-steps N] [--set NAME=VALUE]...\n";

bool ParseCount(const std::string& text, uint64_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

bool ParseFormat(const std::string& value, EFormat& format) {
    if (value == "csv") format = EFormat::Csv;
    else if (value == "json") format = EFormat::Json;
    else if (value == "summary") format = EFormat::Summary;
    else return false;
    return true;
}

// The value of "--name value" or "--name=value"; false when it is missing.
bool OptionValue(const CommandArgs& args, size_t& i, std::string& value) {
    const size_t eq = args[i].find('=');
    if (eq != std::string::npos) {
        value = args[i].substr(eq + 1);
        return true;
    }
    if (i + 1 >= args.size()) return false;
    value = args[++i];
    return true;
}

bool ParseOption(const CommandArgs& args, size_t& i, RunOptions& options, std::ostream& err) {
    const std::string name = args[i].substr(0, args[i].find('='));
    std::string value;
    if (name != "--format" && name != "--max-steps" && name != "--set") {
        err << "varnel run: unknown option '" << args[i] << "'\n";
        return false;
    }
    if (!OptionValue(args, i, value)) {
        err << "varnel run: " << name << " needs a value\n";
        return false;
    }
    if (name == "--format" && !ParseFormat(value, options.format)) {
        err << "varnel run: unknown format '" << value << "' (use json, csv or summary)\n";
        return false;
    }
    if (name == "--max-steps" && !ParseCount(value, options.nMaxSteps)) {
        err << "varnel run: --max-steps needs a whole number, not '" << value << "'\n";
        return false;
    }
    if (name == "--set") {
        // Element names are code page 1251 in the model; the shell gives UTF-8.
        CValueOverride override;
        std::string error;
        if (!ParseValueOverride(Utf8ToCp1251Lossy(value), override, error)) {
            err << "varnel run: --set: " << Cp1251ToUtf8(error) << '\n';
            return false;
        }
        options.overrides.push_back(std::move(override));
    }
    return true;
}

// Reads the arguments; on a mistake writes why to err and returns false.
bool ParseOptions(const CommandArgs& args, RunOptions& options, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--reference") {
            options.bReference = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            if (!ParseOption(args, i, options, err)) return false;
        } else if (options.strModel.empty()) {
            options.strModel = arg;
        } else {
            err << "varnel run: more than one model given\n";
            return false;
        }
    }
    if (options.strModel.empty()) {
        err << kUsage;
        return false;
    }
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
    try {
        doc.Load(ReadFileBytes(options.strModel));
    } catch (const CFileError& e) {
        err << "varnel run: cannot read model '" << options.strModel << "': " << e.what() << '\n';
        return EXIT_BAD_INPUT;
    }

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
