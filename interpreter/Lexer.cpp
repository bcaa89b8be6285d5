// The program language's character-level readers. Blanks are the space
// character only; words end at one of "+-/*=() "; numbers are measured by
// the language's own rule, which can consume less than the conversion reads.
#include "interpreter/Lexer.h"

#include <charconv>
#include <cstring>

#include "base/Numbers.h"
#include "interpreter/InterpreterError.h"

namespace {

bool IsDelimiter(char c) {
    switch (c) {
    case '+': case '-': case '/': case '*': case '=': case '(': case ')': case ' ':
        return true;
    default:
        return false;
    }
}

void SkipBlanks(const char*& cursor) { cursor += SkipSpaces(cursor); }

// Where the word at pos ends; inside a call a comma ends it too. The scan
// runs on a copy of the cursor, which the compiler keeps in a register.
const char* WordEnd(const char* pos, bool bInCall) {
    while (*pos != '\0' && !IsDelimiter(*pos) && !(bInCall && *pos == ',')) ++pos;
    return pos;
}

// The line from start to its CR or to the NUL at lineEnd, and the cursor
// moved past its CR and one LF after it.
std::string_view LineUpTo(const char*& cursor, const char* lineEnd) {
    const std::string_view line(cursor, static_cast<size_t>(lineEnd - cursor));
    cursor = lineEnd;
    if (*cursor == '\r') {
        ++cursor;
        if (*cursor == '\n') ++cursor;
    }
    return line;
}

}  // namespace

// The library's searches go many bytes at a time; lines are long.
std::string_view NextLine(const char*& cursor) { return LineUpTo(cursor, cursor + std::strcspn(cursor, "\r")); }

std::string_view NextLine(const char*& cursor, const char* end) {
    const void* cr = std::memchr(cursor, '\r', static_cast<size_t>(end - cursor));
    return LineUpTo(cursor, cr ? static_cast<const char*>(cr) : end);
}

std::string ReadLine(const char*& cursor) { return std::string(NextLine(cursor)); }

std::string_view LeadingWord(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && line[start] == ' ') ++start;
    size_t end = start;
    while (end < line.size() && !IsDelimiter(line[end])) ++end;
    return line.substr(start, end - start);
}

std::string ReadWord(const char*& cursor) { return ReadWord(cursor, false); }

std::string ReadWord(const char*& cursor, bool bInCall) {
    SkipBlanks(cursor);
    const char* start = cursor;
    cursor = WordEnd(start, bInCall);
    return std::string(start, cursor);
}

std::string ReadQuoted(const char*& cursor) {
    SkipBlanks(cursor);
    if (*cursor != '"') ThrowMessage(EMessage::OpenQuote);
    ++cursor;
    const char* start = cursor;
    while (*cursor != '\0' && *cursor != '"') ++cursor;
    if (*cursor == '\0') ThrowMessage(EMessage::CloseQuote);
    std::string text(start, cursor);
    ++cursor;
    return text;
}

char ReadChar(const char*& cursor) {
    SkipBlanks(cursor);
    if (*cursor == '\0') return '\0';
    return *cursor++;
}

bool HasMoreText(const char* pos) { return pos[SkipSpaces(pos)] != '\0'; }

bool ReadNumber(const char*& cursor, double& value) {
    SkipBlanks(cursor);
    const size_t length = NumberLength(cursor);
    if (length == 0) return false;
    value = DecimalToDouble(cursor);
    cursor += length;
    return true;
}

std::string IntToString(int32_t value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
