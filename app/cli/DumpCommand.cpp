// varnel dump MODEL.vrn: prints the whole model as JSON. Exit 2, with the
// reason on stderr, when the file cannot be read or is not a valid model.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ModelJson.h"
#include "base/OptionReader.h"
#include "exchange/CommandLineModel.h"
#include "exchange/XmileImport.h"
#include "document/VarnelDoc.h"

int DumpCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    const COptionResult read = ReadOptions(args, {});
    if (!read.Ok()) err << "varnel dump: " << read.strError << '\n';
    if (!read.Ok() || read.positionals.size() != 1) {
        err << "usage: varnel dump MODEL.vrn\n";
        return 2;
    }
    const std::string& path = read.positionals[0];
    if (IsXmileFileName(path)) {
        // An imported model has no file of its own: the dump is its model file's.
        CVarnelDoc doc;
        if (!LoadCommandLineModel(path, EPlotChoice::Stocks, doc, "dump", err)) return 2;
        out << ModelFileToJson(doc.Store());
        out.flush();
        return 0;
    }
    try {
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        const std::string json = ModelFileToJson(bytes);
        out << json;
        out.flush();
        // A file that uses an encoding the JSON cannot describe still dumps;
        // say so, since pack will not give its bytes back.
        if (JsonToModelFile(json) != bytes)
            err << "varnel dump: note: " << path
                << " uses an encoding that pack does not reproduce byte for byte\n";
        return 0;
    } catch (const CFileError& e) {
        err << "varnel dump: " << path << ": " << e.what() << '\n';
    } catch (const ModelJsonError& e) {
        err << "varnel dump: " << path << ": " << e.what() << '\n';
    }
    return 2;
}
