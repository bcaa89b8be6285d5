// varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]: writes the
// imported model as a model file, through a temporary file and a rename.
#include <ostream>

#include "app/cli/Commands.h"
#include "archive/FileError.h"
#include "base/OptionReader.h"
#include "exchange/CommandLineModel.h"
#include "exchange/XmileImport.h"

int ImportCommand(const CommandArgs& args, std::ostream& err) {
    std::string output;
    EPlotChoice plot = EPlotChoice::Stocks;
    const COptionResult read = ReadOptions(args, {TextOption("-o", output), PlotOption(plot)});
    if (!read.Ok()) err << "varnel import: " << read.strError << '\n';
    if (!read.Ok() || read.positionals.size() != 1 || output.empty()) {
        err << "usage: varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]\n";
        return 2;
    }
    const std::string& input = read.positionals[0];
    if (!IsXmileFileName(input)) {
        err << "varnel import: '" << input << "' is no XMILE file (.xmile, .xml or .stmx)\n";
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
