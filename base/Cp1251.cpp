#include "base/Cp1251.h"

#include <array>
#include <cstdint>
#include <unordered_map>

namespace {

// Code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are U+0410 to U+044F.
constexpr std::array<char32_t, 64> kHighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t ByteToCodePoint(unsigned char b) {
    if (b < 0x80) return b;
    if (b < 0xC0) return kHighTable[b - 0x80];
    return 0x0410 + (b - 0xC0);
}

const std::unordered_map<char32_t, char>& ReverseTable() {
    static const auto table = [] {
        std::unordered_map<char32_t, char> map;
        for (int b = 0x80; b <= 0xFF; ++b) map[ByteToCodePoint(static_cast<unsigned char>(b))] = static_cast<char>(b);
        return map;
    }();
    return table;
}

// Converts; unrepresentable characters become '?'. Returns whether all
// input was valid and representable.
bool Convert(std::string_view utf8, std::string& out) {
    out.clear();
    out.reserve(utf8.size());
    bool exact = true;
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t cp = 0;
        if (!DecodeUtf8(utf8, i, cp)) {
            out += '?';
            ++i;
            exact = false;
            continue;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        const auto& table = ReverseTable();
        const auto found = table.find(cp);
        if (found == table.end()) {
            out += '?';
            exact = false;
        } else {
            out += found->second;
        }
    }
    return exact;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool DecodeUtf8(std::string_view s, size_t& i, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (lead < 0x80) { cp = lead; ++i; return true; }
    if ((lead & 0xE0) == 0xC0) { cp = lead & 0x1F; extra = 1; }
    else if ((lead & 0xF0) == 0xE0) { cp = lead & 0x0F; extra = 2; }
    else if ((lead & 0xF8) == 0xF0) { cp = lead & 0x07; extra = 3; }
    else return false;
    if (s.size() - i <= static_cast<size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += extra + 1;
    return true;
}


std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) AppendUtf8(out, ByteToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

bool Utf8ToCp1251(std::string_view utf8, std::string& out) { return Convert(utf8, out); }

std::string Utf8ToCp1251Lossy(std::string_view utf8) {
    std::string out;
    Convert(utf8, out);
    return out;
}
