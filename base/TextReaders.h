// The lowest text readers: counting blanks and measuring a number by the
// program language's rule. The lexer builds on them, and so does the table
// values text, so that what the program cannot read the table refuses too.
#pragma once
#include <cstddef>

size_t SkipSpaces(const char* pos);
size_t NumberLength(const char* pos);
// Blanks plus the number's length; value is the decimal conversion of the
// text after the blanks, which may read further than the length says.
size_t ReadNumberAt(const char* pos, double& value);
