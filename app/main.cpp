// The varnel executable: the desktop application by default, headless
// subcommands for running, converting and rendering models.
#include <cstring>
#include <filesystem>
#include <iostream>

#include "app/cli/Commands.h"
#include "base/Messages.h"
#include "interpreter/Functions.h"
#ifdef VARNEL_WITH_GUI
#include "shell/frame/DesktopMain.h"
#endif

namespace {

// The desktop takes a model file and its own switches ("-p", "/p", Qt's
// options); any other first word is a mistyped command, which must not
// start a window that may never show when there is no display.
bool IsDesktopArgument(const std::string& word) {
    if (word.empty()) return false;
    if (word[0] == '-' || word == "/p" || word == "/pt" || word == "/P" || word == "/PT") return true;
    std::error_code error;
    return std::filesystem::is_regular_file(word, error);
}

void PrintUsage(std::ostream& out) {
    out << "usage: varnel [MODEL.vrn]\n"
           "       varnel --version | --help\n"
           "       varnel run MODEL.vrn [--format json|csv|summary] [--max-steps N]\n"
           "                  [--set NAME=VALUE]...   (NAME.value2, NAME.threshold for a switch)\n"
           "       varnel sweep MODEL.vrn --vary NAME=FROM:TO:COUNT... [--set NAME=VALUE]...\n"
           "                  [--jobs N] [--max-steps N]\n"
           "       varnel check MODEL.vrn\n"
           "       varnel dump MODEL.vrn\n"
           "       varnel pack MODEL.json -o MODEL.vrn\n"
           "       varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]\n"
           "       varnel render MODEL.vrn -o OUT.png|OUT.svg\n"
           "       varnel graphs MODEL.vrn -o OUT.png|OUT.svg [--set NAME=VALUE]...\n"
           "                  [--legend] [--common-scale] [--round-ticks]\n"
           "run, check, sweep, dump and graphs also take an XMILE model (.xmile, .xml, .stmx),\n"
           "imported in memory; run, sweep and graphs then take --plot stocks|all.\n"
           "functions of the model language: "
        << FunctionNamesText() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2) {
        const std::string command = argv[1];
        const CommandArgs args(argv + 2, argv + argc);
        if (command == "run") return RunModelCommand(args, std::cout, std::cerr);
        if (command == "sweep") return SweepCommand(args, std::cout, std::cerr);
        if (command == "check") return CheckCommand(args, std::cout, std::cerr);
        if (command == "dump") return DumpCommand(args, std::cout, std::cerr);
        if (command == "pack") return PackCommand(args, std::cout, std::cerr);
        if (command == "import") return ImportCommand(args, std::cerr);
        // Both answer before anything of the desktop starts, so they work
        // where there is no display.
        if (command == "--help" || command == "-h" || command == "help") {
            PrintUsage(std::cout);
            return 0;
        }
        if (command == "--version") {
            std::cout << "varnel " VARNEL_VERSION "\n";
            return 0;
        }
#ifdef VARNEL_WITH_GUI
        if (command == "render") return RenderCommand(args, std::cerr);
        if (command == "graphs") return GraphsCommand(args, std::cerr);
#else
        if (command == "render" || command == "graphs") {
            std::cerr << MessageText(EMessage::CliNeedsDesktop, {command}) << '\n';
            return 2;
        }
#endif
        if (!IsDesktopArgument(command)) {
            std::cerr << MessageText(EMessage::CliNotACommand, {command}) << '\n';
            PrintUsage(std::cerr);
            return 2;
        }
    }
#ifdef VARNEL_WITH_GUI
    return RunDesktop(argc, argv);
#else
    PrintUsage(std::cerr);
    return 2;
#endif
}
