// The number scanner shared by the program lexer and the table values text:
// blanks are spaces only, and a number is measured by the language's own
// rule, which can consume less than the decimal conversion reads.
#include "base/TextReaders.h"

#include "base/Numbers.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
