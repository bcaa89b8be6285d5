// "A model for the command line": a .vrn file read as it is, or an XMILE
// file (.xmile, .xml, .stmx) imported in memory. Every verb that takes a
// model loads it here.
#pragma once
#include <iosfwd>
#include <string>

#include "base/OptionReader.h"
#include "document/VarnelDoc.h"

enum class EPlotChoice { Stocks, All };

// Reads "stocks" or "all"; false for anything else.
bool ParsePlotChoice(const std::string& text, EPlotChoice& choice);
// "--plot stocks|all" for the option reader.
COptionRule PlotOption(EPlotChoice& choice);

// Loads the model at path into doc. On failure writes the reasons to err,
// each line prefixed with "varnel VERB: ", and returns false (exit 2).
// The import's notes (values rounded to whole steps) go to err as well.
bool LoadCommandLineModel(const std::string& path, EPlotChoice plot, CVarnelDoc& doc, const char* verb,
                          std::ostream& err);
