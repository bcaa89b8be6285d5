// Locale-independent number conversions. Reading scans the decimal form
// itself, so hexadecimal and written infinities never get through, and
// converts only what it scanned.
#include "base/Numbers.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <system_error>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Length of the decimal number at p (sign excluded), 0 when none.
size_t ScanDecimal(const char* p) {
    size_t n = 0;
    size_t digits = 0;
    while (IsDigit(p[n])) ++n, ++digits;
    if (p[n] == '.') {
        ++n;
        while (IsDigit(p[n])) ++n, ++digits;
    }
    if (digits == 0) return 0;
    if (p[n] == 'e' || p[n] == 'E') {
        size_t e = n + 1;
        if (p[e] == '+' || p[e] == '-') ++e;
        if (IsDigit(p[e])) {
            while (IsDigit(p[e])) ++e;
            n = e;
        }
    }
    return n;
}

// Out-of-range text: let the C library decide between infinity and the
// nearest tiny value, in the C locale whatever the process uses.
double ConvertOutOfRange(const std::string& text) {
    static locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, cLocale);
}

}  // namespace

double DecimalToDouble(const char* text) {
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    const size_t length = ScanDecimal(p);
    if (length == 0) return 0.0;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(p, p + length, value, std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) value = ConvertOutOfRange(std::string(p, length));
    return negative ? -value : value;
}

std::string FormatG(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    return std::string(buffer, result.ptr);
}

char* WriteRoundTrip(double value, char* out) {
    if (std::isnan(value)) {
        std::memcpy(out, "nan", 3);
        return out + 3;
    }
    return std::to_chars(out, out + kRoundTripChars, value).ptr;
}

std::string FormatRoundTrip(double value) {
    char buffer[kRoundTripChars];
    return std::string(buffer, WriteRoundTrip(value, buffer));
}

int32_t SaturatingTrunc(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);  // in range: truncates toward zero
}
