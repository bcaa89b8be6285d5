// Number conversions shared by every layer: the decimal reading rule of the
// program language, "%g"/"%i" text, and the one safe double-to-int32 path.
// None of them depends on the process locale.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Decimal conversion with atof semantics restricted to decimal notation:
// leading blanks, an optional sign, digits with one optional point and an
// optional exponent. No hexadecimal, no written infinity or NaN; text with
// no decimal beginning gives 0.0; overflow gives +-infinity.
double DecimalToDouble(const char* text);
inline double DecimalToDouble(const std::string& text) { return DecimalToDouble(text.c_str()); }

// The C "%g" form: six significant digits, trailing zeros dropped, a point
// as the decimal separator whatever the locale.
std::string FormatG(double value);

// Shortest text that reads back to the same double (for JSON and CSV);
// NaN of either sign as "nan", infinities as "inf" and "-inf".
std::string FormatRoundTrip(double value);
// The same text written at out, which has room for kRoundTripChars; returns
// the end of what was written.
constexpr size_t kRoundTripChars = 32;
char* WriteRoundTrip(double value, char* out);

// Truncation toward zero saturating at the int32 limits; NaN gives 0.
int32_t SaturatingTrunc(double value);

// Int32 arithmetic that saturates instead of overflowing: a 64-bit
// intermediate narrowed to the int32 limits.
inline int32_t SaturatingNarrow(int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}
inline int32_t SaturatingAdd(int32_t a, int32_t b) { return SaturatingNarrow(int64_t{a} + b); }
inline int32_t SaturatingSub(int32_t a, int32_t b) { return SaturatingNarrow(int64_t{a} - b); }
inline int32_t SaturatingMul(int32_t a, int32_t b) { return SaturatingNarrow(int64_t{a} * b); }
