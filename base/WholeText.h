// Readers that accept a text only when all of it is the number: no blanks,
// no trailing characters, nothing silently dropped. Command-line options,
// dialog boxes and the experiment window use them; the program language
// and model files keep their own, more forgiving rule (Numbers.h).
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

// A whole decimal count: digits only, within uint64.
std::optional<uint64_t> ReadWholeCount(std::string_view text);

// Which decimal separators a typed number may use. The point is always
// taken; a box that a person types into takes the comma as well, whatever
// the locale, since that is what a Russian keyboard gives.
enum class EDecimalSeparator { Point, PointOrComma };

// A whole finite decimal number (an optional sign, digits, one separator,
// an optional exponent). Infinity, NaN, hexadecimal, thousands separators
// and numbers too large for a double are refused.
std::optional<double> ReadWholeFinite(std::string_view text, EDecimalSeparator separator = EDecimalSeparator::Point);
