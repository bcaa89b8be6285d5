// Entry points of the Qt side of the varnel executable.
#pragma once
#include <iosfwd>
#include <string>
#include <vector>

// Opens the desktop application (optionally on a .vrn named in argv).
int RunDesktop(int argc, char** argv);
// varnel render MODEL.vrn -o OUT.png|OUT.svg: the sheet as the view shows it.
int RenderCommand(const std::vector<std::string>& args, std::ostream& err);
// varnel graphs MODEL.vrn -o OUT.png|OUT.svg [--legend] [--common-scale]
// [--round-ticks]: the graphs window, first series.
int GraphsCommand(const std::vector<std::string>& args, std::ostream& err);
