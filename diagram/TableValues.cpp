// Reading the table dialog's values text: numbers separated by '/', spaces
// allowed around each, an empty field meaning 0. The number rule is the
// program lexer's, so what the program cannot read the table refuses too.
#include "base/TextReaders.h"
#include "diagram/TableElements.h"

bool ReadTableValues(const std::string& text, std::vector<double>& values, bool& leftOver) {
    leftOver = false;
    const char* const t = text.c_str();
    if (*t == '\0') return true;
    const size_t count = values.size();
    size_t p = 0;
    for (size_t i = 0; i < count;) {
        double value = 0.0;
        const size_t len = ReadNumberAt(t + p, value);
        values[i] = value;
        if (len > 0) {
            p += len;
            p += SkipSpaces(t + p);
            if (t[p] != '/' && t[p] != '\0') return false;
        } else if (t[p] != '/') {
            return false;  // neither a number nor an empty field
        }
        ++i;
        if (i == count || t[p] == '\0') break;
        ++p;  // over the '/'
        if (t[p] == '\0') break;
    }
    leftOver = t[p] != '\0';
    return true;
}
