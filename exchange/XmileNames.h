// Names and captions of an imported model in code page 1251: element
// names the model language reads as one word, unique and never a function
// name; captions as written, with what 1251 lacks folded to ASCII or '?'.
#pragma once
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// UTF-8 to 1251; a character 1251 cannot hold becomes its closest ASCII
// letter (é to e) or '?'.
std::string ToCp1251Closest(std::string_view utf8);

// Element names of a model, each unique and readable by the language.
class CNameTable {
public:
    // The sanitized, unique form of an XMILE name (UTF-8).
    std::string AddXmileName(std::string_view name);
    // A unique name built on a 1251 base that is already a valid word.
    std::string AddHidden(const std::string& base);

private:
    std::unordered_set<std::string> m_used;  // compared without case, as XMILE would
    std::unordered_map<std::string, int> m_nextNumber;  // by base, without case
    std::string Unique(const std::string& base);
};
