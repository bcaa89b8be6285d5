// The program language's character-level readers. Blanks are the space
// character only; words end at one of "+-/*=() "; numbers are measured by
// the language's own rule, which can consume less than the conversion reads.
#include "interpreter/Lexer.h"

#include <cstring>

#include "interpreter/InterpreterError.h"
#include "interpreter/Numbers.h"

namespace {

bool IsDelimiter(char c) {
    switch (c) {
    case '+': case '-': case '/': case '*': case '=': case '(': case ')': case ' ':
        return true;
    default:
        return false;
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(const char*& cursor) { cursor += SkipSpaces(cursor); }

}  // namespace

size_t SkipSpaces(const char* pos) {
    size_t n = 0;
    while (pos[n] == ' ') ++n;
    return n;
}

size_t NumberLength(const char* pos) {
    size_t count = 0;
    bool pointSeen = false;
    bool exponentSeen = false;
    if (pos[0] == '-') count = 1;
    for (;;) {
        const char c = pos[count];
        if (IsDigit(c)) {
            ++count;
        } else if (c == '.') {
            if (pointSeen) return 0;
            pointSeen = true;
            ++count;
        } else if (c == 'e') {
            if (exponentSeen || count == 0) return 0;
            const char sign = pos[count + 1];
            if (sign != '+' && sign != '-') return count;
            count += 2;
            exponentSeen = true;
        } else {
            return count;
        }
    }
}

size_t ReadNumberAt(const char* pos, double& value) {
    const size_t spaces = SkipSpaces(pos);
    value = DecimalToDouble(pos + spaces);
    return spaces + NumberLength(pos + spaces);
}

std::string ReadLine(const char*& cursor) {
    const char* start = cursor;
    while (*cursor != '\0' && *cursor != '\r') ++cursor;
    std::string line(start, cursor);
    if (*cursor == '\r') {
        ++cursor;
        if (*cursor == '\n') ++cursor;
    }
    return line;
}

std::string ReadWord(const char*& cursor) {
    SkipBlanks(cursor);
    const char* start = cursor;
    while (*cursor != '\0' && !IsDelimiter(*cursor)) ++cursor;
    return std::string(start, cursor);
}

std::string ReadQuoted(const char*& cursor) {
    SkipBlanks(cursor);
    if (*cursor != '"') throw CInterpreterError("Interpretation error:\nOpen \" not found.");
    ++cursor;
    const char* start = cursor;
    while (*cursor != '\0' && *cursor != '"') ++cursor;
    if (*cursor == '\0') throw CInterpreterError("Interpretation error:\nClose \" not found.");
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
