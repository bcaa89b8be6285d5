// The one exception of the interpreter: it carries nothing but its message.
#pragma once
#include <stdexcept>
#include <string>

class CInterpreterError : public std::runtime_error {
public:
    explicit CInterpreterError(const std::string& message) : std::runtime_error(message) {}
    const std::string& Message() const { return m_message; }

private:
    std::string m_message = what();
};
