// Lossless doubles, escaped strings and hex bytes in JSON text.
#include "app/cli/JsonText.h"

#include <bit>
#include <cmath>

#include "base/Numbers.h"

namespace {
constexpr uint64_t kPlainNan = 0x7FF8000000000000ull;
constexpr char kHexDigits[] = "0123456789abcdef";

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string JsonDouble(double value) {
    if (std::isnan(value)) {
        const uint64_t bits = std::bit_cast<uint64_t>(value);
        if (bits == kPlainNan)
            return "\"nan\"";
        std::string text = "\"nan:";
        for (int shift = 60; shift >= 0; shift -= 4) text += kHexDigits[(bits >> shift) & 0xF];
        return text + "\"";
    }
    if (std::isinf(value))
        return value > 0 ? "\"inf\"" : "\"-inf\"";
    std::string text = FormatRoundTrip(value);
    if (text.find_first_of(".eE") == std::string::npos)
        text += ".0";
    return text;
}

std::optional<double> DoubleFromJson(const nlohmann::json& value) {
    if (value.is_number())
        return value.get<double>();
    if (!value.is_string())
        return std::nullopt;
    const std::string& text = value.get_ref<const std::string&>();
    if (text == "nan") return std::bit_cast<double>(kPlainNan);
    if (text == "inf") return HUGE_VAL;
    if (text == "-inf") return -HUGE_VAL;
    if (text.size() != 20 || text.compare(0, 4, "nan:") != 0)
        return std::nullopt;
    uint64_t bits = 0;
    for (size_t i = 4; i < text.size(); ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) return std::nullopt;
        bits = bits << 4 | static_cast<uint64_t>(digit);
    }
    const double nan = std::bit_cast<double>(bits);
    if (!std::isnan(nan)) return std::nullopt;
    return nan;
}

std::string JsonString(std::string_view utf8) {
    return nlohmann::json(std::string(utf8)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string HexText(std::span<const uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text += kHexDigits[b >> 4];
        text += kHexDigits[b & 0xF];
    }
    return text;
}

std::optional<std::vector<uint8_t>> BytesFromHex(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexValue(hex[i]);
        const int low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}
