// JSON text pieces of the command line: doubles written losslessly (shortest
// round-trip digits, non-finite values as "nan", "inf", "-inf") and read
// back exactly, strings escaped, bytes as hex.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

// A JSON number that reads back as the same double (always with a point or
// an exponent, so -0.0 keeps its sign); NaN as "nan" for the usual quiet NaN
// and "nan:" with the 16 hex digits of its bits for any other.
std::string JsonDouble(double value);
// The double a JSON value stands for; nothing when it is none.
std::optional<double> DoubleFromJson(const nlohmann::json& value);

// A quoted, escaped JSON string of UTF-8 text.
std::string JsonString(std::string_view utf8);

std::string HexText(std::span<const uint8_t> bytes);
// Nothing when the text is not pairs of hex digits.
std::optional<std::vector<uint8_t>> BytesFromHex(std::string_view hex);
