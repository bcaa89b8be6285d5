// The character-level readers of the model program language. Each reading
// function takes a cursor into a NUL-terminated single-byte text by
// reference and moves it past what it consumed; none keeps state.
#pragma once
#include <cstddef>
#include <string>

size_t SkipSpaces(const char* pos);
size_t NumberLength(const char* pos);
size_t ReadNumberAt(const char* pos, double& value);
std::string ReadLine(const char*& cursor);
std::string ReadWord(const char*& cursor);
std::string ReadQuoted(const char*& cursor);  // throws CInterpreterError
char ReadChar(const char*& cursor);
bool HasMoreText(const char* pos);
bool ReadNumber(const char*& cursor, double& value);
