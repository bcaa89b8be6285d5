// One reader for the options of every headless command: "--name value" and
// "--name=value" alike, words that are no option kept in order, and one
// message for an option the command does not know. A command describes its
// options as a table; each entry takes its value or says why not.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct COptionRule {
    std::string strName;  // with its dashes: "--format", "-o"
    bool bTakesValue = true;
    // Takes one occurrence's value (empty for a flag); returns why the value
    // is refused, or an empty text when it is taken.
    std::function<std::string(const std::string& value)> take;
};

struct COptionResult {
    std::vector<std::string> positionals;  // the words that are no option
    std::string strError;                  // the first mistake; empty when none

    bool Ok() const { return strError.empty(); }
};

COptionResult ReadOptions(const std::vector<std::string>& args, const std::vector<COptionRule>& rules);

// The common kinds of option.
COptionRule FlagOption(std::string name, bool& target);
COptionRule TextOption(std::string name, std::string& target);
// A whole decimal count (base/WholeText.h).
COptionRule CountOption(std::string name, uint64_t& target);
