// The one exception of the interpreter: its message text, and the program
// line it was raised on as data, so that a caller can point at that line
// without reading the number back out of the text.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>

#include "base/Messages.h"

class CInterpreterError : public std::runtime_error {
public:
    explicit CInterpreterError(const std::string& message) : std::runtime_error(message) {}
    const std::string& Message() const { return m_message; }

    // The 1-based line being executed (or scanned for marks) when the
    // error was raised; 0 when it belongs to no line (the import).
    int64_t Line() const { return m_nLine; }
    // Keeps the first line given: the innermost statement knows best.
    void SetLine(int64_t nLine) {
        if (m_nLine == 0) m_nLine = nLine;
    }

private:
    std::string m_message = what();
    int64_t m_nLine = 0;
};

// A message of the table, placeholders filled, thrown as the interpreter's error.
[[noreturn]] void ThrowMessage(EMessage id, std::initializer_list<std::string_view> args = {});
