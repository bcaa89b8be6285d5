// varnel pack MODEL.json -o MODEL.vrn: writes the model file that a JSON of
// `varnel dump` describes. Exit 2, naming what is wrong, for unreadable or
// invalid JSON and for a file that cannot be written.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ModelJson.h"
#include "base/OptionReader.h"
#include "document/VarnelDoc.h"

namespace {

bool ParseArgs(const CommandArgs& args, std::string& input, std::string& output, std::ostream& err) {
    const COptionResult read = ReadOptions(args, {TextOption("-o", output)});
    if (!read.Ok()) err << "varnel pack: " << read.strError << '\n';
    if (!read.Ok() || read.positionals.size() != 1 || output.empty()) return false;
    input = read.positionals[0];
    return true;
}

}  // namespace

int PackCommand(const CommandArgs& args, std::ostream& /*out*/, std::ostream& err) {
    std::string input, output;
    if (!ParseArgs(args, input, output, err)) {
        err << "usage: varnel pack MODEL.json -o MODEL.vrn\n";
        return 2;
    }
    try {
        const std::vector<uint8_t> text = ReadFileBytes(input);
        const std::vector<uint8_t> model =
            JsonToModelFile(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()));
        WriteFileBytes(output, model);
        return 0;
    } catch (const CFileError& e) {
        err << "varnel pack: " << e.what() << '\n';
    } catch (const ModelJsonError& e) {
        err << "varnel pack: " << input << ": " << e.what() << '\n';
    }
    return 2;
}
