// varnel check: reads a model's program without running it and lists the
// lines the run would refuse, one "LINE: message" each, so that a model
// repository can check its models in its own build. Exit codes: 0 no
// findings, 1 findings, 2 unreadable model or bad arguments.
#include <ostream>

#include "app/cli/Commands.h"
#include "archive/FileError.h"
#include "base/Cp1251.h"
#include "base/OptionReader.h"
#include "exchange/CommandLineModel.h"
#include "document/VarnelDoc.h"
#include "interpreter/ProgramCheck.h"

namespace {
enum { EXIT_CLEAN = 0, EXIT_FINDINGS = 1, EXIT_BAD_INPUT = 2 };
}  // namespace

int CheckCommand(const CommandArgs& args, std::ostream& out, std::ostream& err) {
    const COptionResult read = ReadOptions(args, {});
    if (!read.Ok()) err << "varnel check: " << read.strError << '\n';
    if (!read.Ok() || read.positionals.size() != 1 || read.positionals[0].empty()) {
        err << "usage: varnel check MODEL.vrn\n";
        return EXIT_BAD_INPUT;
    }
    const std::string& path = read.positionals[0];
    CVarnelDoc doc;
    if (!LoadCommandLineModel(path, EPlotChoice::Stocks, doc, "check", err)) return EXIT_BAD_INPUT;
    const std::vector<CCheckFinding> findings = CheckProgram(doc.m_strProgram, doc.m_pEntityList.get());
    for (const CCheckFinding& finding : findings) {
        // One finding per output line: the message's own line break goes.
        std::string text = Cp1251ToUtf8(FindingText(finding));
        for (char& c : text)
            if (c == '\n' || c == '\r') c = ' ';
        out << finding.nLine << ": " << text << '\n';
    }
    out.flush();
    return findings.empty() ? EXIT_CLEAN : EXIT_FINDINGS;
}
