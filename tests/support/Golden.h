// Golden tables: text files beside the tests, one case a line (or more, see GoldenTable),
// "input => expected" asking for the way back too, "input -> expected" only the way there;
// '#' starts a comment line.
#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "support/HexBytes.h"

// A line of a table: its number, input and expected parts, whether "=>", the whole text.
struct GoldenCase { int line; std::string input, expected; bool bothWays; std::string text; };

inline GoldenCase SplitCase(const std::string& text, int line = 0) {
    const size_t both = text.find(" => "), at = both != std::string::npos ? both : text.find(" -> ");
    return {line, text.substr(0, at), at == std::string::npos ? "" : text.substr(at + 4), both != std::string::npos, text};
}

// A line that starts with blanks goes on the case above, after a blank, or
// straight after it when the line above ends in '\\', so that no line need be
// long; the case keeps the number of its first line.
inline std::vector<GoldenCase> GoldenTable(const std::string& name) {
    std::ifstream in(std::string(VARNEL_TESTS_DIR) + "/" + name);
    EXPECT_TRUE(in.good()) << name;
    std::vector<GoldenCase> cases;
    int line = 0;
    for (std::string text; std::getline(in, text);) {
        ++line;
        if (text.empty() || text[0] == '#') continue;
        const size_t start = text.find_first_not_of(" \t");
        if (start == 0 || cases.empty()) {
            cases.push_back(SplitCase(text, line));
        } else if (start != std::string::npos) {
            std::string joined = cases.back().text;
            if (joined.back() == '\\') {
                joined.pop_back();
            } else {
                joined += " ";
            }
            cases.back() = SplitCase(joined + text.substr(start), cases.back().line);
        }
    }
    return cases;
}

// Hex with "ascii text" in quotes and groups repeated by *N: FFFF "CVLine" 0180*3.
inline std::vector<uint8_t> GoldenBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0, end = 0; i < text.size(); i = end + 1) {
        end = text[i] == '"' ? text.find('"', i + 1) + 1 : std::min(text.find(' ', i), text.size());
        const std::string word = text.substr(i, end - i);
        const size_t star = word.find('*');
        const std::vector<uint8_t> group =
            word[0] == '"' ? std::vector<uint8_t>(word.begin() + 1, word.end() - 1) : HexBytes(word.substr(0, star));
        for (long n = star == std::string::npos ? 1 : std::stol(word.substr(star + 1)); n > 0; --n)
            bytes.insert(bytes.end(), group.begin(), group.end());
    }
    return bytes;
}

inline std::string HexText(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (const uint8_t b : bytes) text += {"0123456789ABCDEF"[b >> 4], "0123456789ABCDEF"[b & 15]};
    return text;
}

// Bytes outside printable ASCII as \xNN, so code page 1251 fits a line, and
// runs of 32 or more as x{N}.
inline std::string Escaped(const std::string& s) {
    std::string out;
    for (size_t at = 0, run = 1; at < s.size(); at += run, run = 1) {
        while (at + run < s.size() && s[at + run] == s[at]) ++run;
        const unsigned char c = s[at];
        const std::string one = c >= 0x20 && c < 0x7F ? std::string(1, char(c)) : "\\x" + HexText({c});
        for (size_t n = run < 32 ? run : 0; n > 0; --n) out += one;
        if (run >= 32) out += one + "{" + std::to_string(run) + "}";
    }
    return out;
}

inline std::string Unescaped(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const bool escape = s.compare(i, 2, "\\x") == 0 && i + 3 < s.size();
        out += escape ? char(HexBytes(s.substr(i + 2, 2))[0]) : s[i];
        i += escape ? 3 : 0;
    }
    return out;
}
