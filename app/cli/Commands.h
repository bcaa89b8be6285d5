// The headless subcommands of the varnel executable. Each takes the
// arguments after its own name and returns the process exit code.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

using CommandArgs = std::vector<std::string>;

// varnel run MODEL.vrn [--format json|csv|summary] [--max-steps N] [--set NAME=VALUE]...
int RunModelCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
// varnel sweep MODEL.vrn --vary NAME=FROM:TO:COUNT... [--set NAME=VALUE]... [--jobs N] [--max-steps N]
int SweepCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
// varnel check MODEL.vrn
int CheckCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
// varnel dump MODEL.vrn
int DumpCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
// varnel pack MODEL.json -o MODEL.vrn
int PackCommand(const CommandArgs& args, std::ostream& out, std::ostream& err);
// varnel import MODEL.xmile -o MODEL.vrn [--plot stocks|all]
int ImportCommand(const CommandArgs& args, std::ostream& err);
