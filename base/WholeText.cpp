#include "base/WholeText.h"

#include <charconv>
#include <cmath>
#include <string>

std::optional<uint64_t> ReadWholeCount(std::string_view text) {
    uint64_t value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || end != last) return std::nullopt;
    return value;
}

std::optional<double> ReadWholeFinite(std::string_view text, EDecimalSeparator separator) {
    std::string bytes(text);
    if (separator == EDecimalSeparator::PointOrComma) {
        const size_t comma = bytes.find(',');
        // One separator only: "1,5" is a number, "1,5.2" and "1,000,5" are not.
        if (comma != std::string::npos && bytes.find_first_of(",.", comma + 1) == std::string::npos &&
            bytes.find('.') == std::string::npos)
            bytes[comma] = '.';
    }
    // from_chars takes no leading '+', which a person may type.
    const size_t start = !bytes.empty() && bytes[0] == '+' && bytes.size() > 1 && bytes[1] != '-' ? 1 : 0;
    const char* first = bytes.data() + start;
    const char* last = bytes.data() + bytes.size();
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (first == last || ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}
