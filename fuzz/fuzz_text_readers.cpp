// Fuzz target: any text through the lexer's readers and the table values
// reader, the code that reads what the user types. The first byte picks the
// table's value count; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "diagram/TableElements.h"
#include "fuzz/FuzzSupport.h"
#include "interpreter/InterpreterError.h"
#include "interpreter/Lexer.h"

namespace {

// Every reader over every line, each checked to stay inside the text and
// to move forward (or report that nothing is there).
void ReadAllLines(const char* text) {
    const char* const end = text + std::strlen(text);
    const char* cursor = text;
    while (*cursor != '\0') {
        const char* before = cursor;
        const std::string line = ReadLine(cursor);
        FUZZ_CHECK(cursor > before && cursor <= end, "ReadLine did not move forward inside the text");
        const char* p = line.c_str();
        const char* const lineEnd = p + line.size();
        while (HasMoreText(p)) {
            const char* start = p;
            double value = 0.0;
            const size_t at = ReadNumberAt(p, value);
            FUZZ_CHECK(p + at <= lineEnd, "ReadNumberAt ran past the text");
            if (!ReadNumber(p, value)) {
                std::string word = ReadWord(p);
                if (word.empty()) {
                    if (*p == '"') {
                        try {
                            ReadQuoted(p);
                        } catch (const CInterpreterError&) {
                            p = lineEnd;
                        }
                    } else {
                        ReadChar(p);
                    }
                }
            }
            FUZZ_CHECK(p > start && p <= lineEnd, "a reader did not move forward inside the line");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    ReadAllLines(text.c_str());

    std::vector<double> values(data[0] % 32, 0.0);
    const size_t count = values.size();
    bool leftOver = false;
    ReadTableValues(text, values, leftOver);
    FUZZ_CHECK(values.size() == count, "ReadTableValues changed the value count");
    return 0;
}
