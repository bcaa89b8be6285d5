// Value overrides for batch runs: "NAME=VALUE" replaces the value of a
// diagram element for one run only, so that trying a parameter needs no
// edit of the model file. They act on the symbol table the import filled,
// never on the diagram, so many runs can share one loaded model.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/OptionReader.h"
#include "diagram/SymbolRec.h"
#include "interpreter/SymbolTable.h"

struct CValueOverride {
    std::string strName;  // code page 1251, as the element names it
    double dValue = 0.0;
};

// Reads "NAME=VALUE" (VALUE a finite decimal number). False, with the
// reason in error, when the text is not of that form.
bool ParseValueOverride(const std::string& text, CValueOverride& out, std::string& error);

// A command-line option ("--set NAME=VALUE") that adds one override per
// occurrence; the command line is UTF-8, element names code page 1251.
COptionRule ValueOverrideOption(std::string name, std::vector<CValueOverride>& target);

// Sets each override in the symbol table: NAME of a level, rate, variable
// or expert estimate sets its value; NAME, NAME.value2 and NAME.threshold
// of a switch set its value below the threshold, its value from the
// threshold on and the threshold. Returns the first name that names none
// of these (tables cannot be set this way); nothing when every one was set.
std::optional<std::string> ApplyValueOverrides(CNameTable<SymbolRec>& symbols, const std::vector<CValueOverride>& overrides);
