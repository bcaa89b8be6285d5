// varnel pack MODEL.json -o MODEL.vrn: writes the model file that a JSON of
// `varnel dump` describes. Exit 2, naming what is wrong, for unreadable or
// invalid JSON and for a file that cannot be written.
#include <ostream>

#include "app/cli/Commands.h"
#include "app/cli/ModelJson.h"
#include "document/VarnelDoc.h"

namespace {

bool ParseArgs(const CommandArgs& args, std::string& input, std::string& output) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size() && output.empty())
            output = args[++i];
        else if (input.empty() && args[i] != "-o")
            input = args[i];
        else
            return false;
    }
    return !input.empty() && !output.empty();
}

}  // namespace

int PackCommand(const CommandArgs& args, std::ostream& /*out*/, std::ostream& err) {
    std::string input, output;
    if (!ParseArgs(args, input, output)) {
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
