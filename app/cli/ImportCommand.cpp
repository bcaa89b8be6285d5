// varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]: writes the
// imported model as a model file, through a temporary file and a rename.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ModelLoad.h"
#include "archive/FileError.h"

namespace {
constexpr const char* kUsage = "usage: varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]\n";
}

int ImportCommand(const CommandArgs& args, std::ostream& err) {
    std::string input, output;
    EPlotChoice plot = EPlotChoice::Stocks;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if ((arg == "-o" || arg == "--plot") && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (arg == "-o") output = value;
            else if (!ParsePlotChoice(value, plot)) {
                err << "varnel import: --plot takes stocks or all, not '" << value << "'\n";
                return 2;
            }
        } else if (!arg.empty() && arg[0] != '-' && input.empty()) {
            input = arg;
        } else {
            err << kUsage;
            return 2;
        }
    }
    if (input.empty() || output.empty()) {
        err << kUsage;
        return 2;
    }
    CVarnelDoc doc;
    if (!LoadCommandLineModel(input, plot, doc, "import", err)) return 2;
    try {
        WriteFileBytes(output, doc.Store());
    } catch (const CFileError& e) {
        err << "varnel import: cannot write '" << output << "': " << e.what() << '\n';
        return 2;
    }
    return 0;
}
