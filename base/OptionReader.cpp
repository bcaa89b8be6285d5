#include "base/OptionReader.h"

#include <algorithm>

#include "base/WholeText.h"

namespace {

// "-" alone is a word (a file name by convention), not an option.
bool IsOption(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

const COptionRule* FindRule(const std::vector<COptionRule>& rules, const std::string& name) {
    const auto it = std::find_if(rules.begin(), rules.end(), [&](const COptionRule& s) { return s.strName == name; });
    return it == rules.end() ? nullptr : &*it;
}

}  // namespace

COptionResult ReadOptions(const std::vector<std::string>& args, const std::vector<COptionRule>& rules) {
    COptionResult result;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!IsOption(word)) {
            result.positionals.push_back(word);
            continue;
        }
        const size_t eq = word.find('=');
        const std::string name = word.substr(0, eq);
        const COptionRule* rule = FindRule(rules, name);
        if (rule == nullptr) {
            result.strError = "unknown option '" + name + "'";
            return result;
        }
        std::string value;
        if (!rule->bTakesValue) {
            if (eq != std::string::npos) {
                result.strError = name + " takes no value";
                return result;
            }
        } else if (eq != std::string::npos) {
            value = word.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            result.strError = name + " needs a value";
            return result;
        }
        result.strError = rule->take(value);
        if (!result.Ok()) return result;
    }
    return result;
}

COptionRule FlagOption(std::string name, bool& target) {
    return {std::move(name), false, [&target](const std::string&) {
                target = true;
                return std::string();
            }};
}

COptionRule TextOption(std::string name, std::string& target) {
    return {std::move(name), true, [&target](const std::string& value) {
                target = value;
                return std::string();
            }};
}

COptionRule CountOption(std::string name, uint64_t& target) {
    return {name, true, [name, &target](const std::string& value) {
                const std::optional<uint64_t> count = ReadWholeCount(value);
                if (!count) return name + " needs a whole number, not '" + value + "'";
                target = *count;
                return std::string();
            }};
}
