// The character-level readers of the model program language. Each reading
// function takes a cursor into a NUL-terminated single-byte text by
// reference and moves it past what it consumed; none keeps state.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "base/TextReaders.h"

// The one line splitter: a line ends at CR, with one LF after it.
std::string_view NextLine(const char*& cursor);
// The same for a text whose end (its NUL) is known, found faster.
std::string_view NextLine(const char*& cursor, const char* end);
std::string ReadLine(const char*& cursor);
// The command word of a line that NextLine gave, read in place: what
// ReadWord would read from the start of the line's copy.
std::string_view LeadingWord(std::string_view line);
std::string ReadWord(const char*& cursor);
// Inside a function's parentheses a comma ends a word too.
std::string ReadWord(const char*& cursor, bool bInCall);
std::string ReadQuoted(const char*& cursor);  // throws CInterpreterError
char ReadChar(const char*& cursor);
bool HasMoreText(const char* pos);
bool ReadNumber(const char*& cursor, double& value);
// "%i" text of a line number, as interpreter messages carry it.
std::string IntToString(int32_t value);
