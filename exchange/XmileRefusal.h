// The one failure of the import: the model cannot be carried over, for the
// listed reasons (each a line that names the feature and the variable, in
// UTF-8).
#pragma once
#include <stdexcept>
#include <string>
#include <vector>

class CXmileRefusal : public std::runtime_error {
public:
    explicit CXmileRefusal(std::vector<std::string> problems)
        : std::runtime_error(problems.empty() ? std::string("cannot import") : problems.front()),
          m_problems(std::move(problems)) {}
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    std::vector<std::string> m_problems;
};
